#pragma once

#include "ado/recordset.h"

#include <QVariant>
#include <QWidget>
#include <functional>

class GridNavigator;
class QTableWidget;

// Reads a column of the row being formatted.
using FieldReader = std::function<QVariant(const QString &)>;

// A read-only grid over the rows of a recordset, with named columns. The current row of the
// grid is the current row of the recordset: a click moves the recordset. Cells may be
// formatted by the form (DataFormatEXT); a tick-box column writes "1"/"0" into its column.
class GridControl : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool dataformatenabled READ dataFormatEnabled WRITE setDataFormatEnabled)

public:
    enum Kind { KindText = 1, KindHidden = 12, KindTick = 100 };

    explicit GridControl(QWidget *parent = nullptr);
    ~GridControl() override;

    void ClearColumns();
    // Width in twips, as the design gives it.
    void AddColumn(const QString &column, const QString &title, int kind, int widthTwips, bool visible);
    // Column names (hidden ones included) and the cell texts as shown: what scripts read.
    Q_INVOKABLE QStringList columns() const;
    QString columnTitle(const QString &column) const;
    bool isColumnVisible(const QString &column) const;

    bool dataFormatEnabled() const;
    void setDataFormatEnabled(bool enabled);

    void setRecordset(const ado::RecordsetPtr &recordset);
    ado::RecordsetPtr recordset() const;
    // Who moves to a clicked row (the grid's data frame); without one the grid moves the
    // recordset itself. A mover answering false keeps the row that was current.
    void setRowMover(std::function<bool(const QVariant &bookmark)> mover);
    // Reads the rows again and shows the recordset's current row.
    void Refresh();
    // Shows the recordset's current row again, the other rows as they are; all of them when
    // that row is not among those shown.
    void refreshCurrentRow();

    Q_INVOKABLE int rowCount() const;
    Q_INVOKABLE QString cellText(int row, const QString &column) const;
    int currentRow() const;

    // The navigator whose buttons Ins ("Nuovo") and Del ("Elimina") press while the grid has
    // the focus; without one the two keys do nothing.
    void setNavigator(GridNavigator *navigator);

    // For tests and scripts: what a double click or a tick does.
    void doubleClickCell(int row, const QString &column);
    void tick(int row, const QString &column, bool ticked);

signals:
    // *text holds the stored value; the handler may replace it. fields reads the row's columns.
    void DataFormatEXT(QString *text, const QString &column, const FieldReader &fields);
    void CellDblClick(const QString &column);
    void SelectionBoxClick();
    void SelectAllClickEXT();
    void RowChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The first column on show: the current cell stands there, so the focus and the arrow keys
    // have a cell to start from (a hidden one takes neither).
    int firstVisibleColumn() const;
    // The cells of one row of the table, from the current row of rows.
    void fillRow(int row, const ado::Recordset &rows);
    bool keyPressed(int key, Qt::KeyboardModifiers modifiers);

    struct Private;
    std::unique_ptr<Private> d;
};
