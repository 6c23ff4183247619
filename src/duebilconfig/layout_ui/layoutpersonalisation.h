#pragma once

#include "controls/gridcontrol.h"
#include "layout/layouteditor.h"
#include "window/ilayoutpersonalisation.h"

#include <QObject>
#include <memory>

struct FormContext;

// The layout tab: the tree of the catalogue fields, the layout grid of the causal on display
// and its buttons, and the rewrite of the causal's layout when the causal is saved.
class LayoutPersonalisation : public QObject, public ILayoutPersonalisation
{
    Q_OBJECT

public:
    explicit LayoutPersonalisation(FormContext &ctx);
    ~LayoutPersonalisation() override;

    void connectEvents();

    void CaricaTreeViewCampi();
    void InitGrid();
    void UpdateLayOut() override;

    void BUT_SEL_ButtonClick();
    void BUT_DESEL_ButtonClick();
    void BUT_UP_ButtonClick();
    void BUT_DOWN_ButtonClick();
    void TVCAMPI_DblClick();
    void QGRID_LAYOUT_CellDblClick(const QString &column);
    void QGRID_LAYOUT_DataFormatEXT(QString *text, const QString &column, const FieldReader &fields);
    void QGRID_LAYOUT_SelectAllClickEXT();
    void QGRID_LAYOUT_SelectionBoxClick();
    void FME_LAYOUT_UpdateBatchAll();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LayoutEditor &editor();
    void rowsChanged();
    void addSelectedField();

    FormContext &ctx;
    std::unique_ptr<LayoutEditor> m_editor;
    ado::ConnectionPtr m_editorConnection;
};
