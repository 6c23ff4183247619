#pragma once

#include "controls/gridcontrol.h"

#include <QObject>

struct FormContext;
class IdLookupField;

// The users and groups the causal on display is withdrawn from: the grid, its navigator,
// the two id fields of which a row fills exactly one, and the writing of the rows.
class UserExclusions : public QObject
{
    Q_OBJECT

public:
    explicit UserExclusions(FormContext &ctx);
    ~UserExclusions() override;

    void connectEvents();
    void InitGrid();

    void GRIDNAVREVOKE_ButtonClick(const QString &key);
    void FME_UTENTI_AfterAddNew(int fenm_operationresult);
    void FME_UTENTI_AfterMove(int fenm_operationresult, int fenm_reason);
    void FME_UTENTI_AfterUpdate(int fenm_operationresult);
    void FME_UTENTI_BeforeUpdate(bool *fbol_Cancel);
    void FME_UTENTI_UpdateBatchAll();
    void TXT_GRUPPO_AfterItem();
    void TXT_UTENTE_AfterItem();
    void QGRID_GRUPPIUTENTI_DataFormatEXT(QString *text, const QString &column, const FieldReader &fields);

private:
    void afterItem(IdLookupField *field, IdLookupField *other, const QString &procedure);
    void enableFields(bool enabled);
    // The row on display names the group (or user) of another row of the list: told, and true.
    bool refuseRepeatedRow(bool group);
    // The bookmark of the first row not yet written that names neither a group nor a user;
    // invalid when there is none.
    QVariant rowWithoutGroupOrUser() const;
    void refuseRow(const QVariant &bookmark);

    FormContext &ctx;
};
