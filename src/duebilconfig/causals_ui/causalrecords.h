#pragma once

#include "causals/causalconfiguration.h"
#include "causals/causaloperations.h"

#include <QObject>
#include <memory>

class CausalHistory;
struct FormContext;

namespace ado {
class TransactionGuard;
}

// The causal on display: finding it by its code, loading and emptying the child frames,
// navigation, creation and duplication, and the save, undo and delete of the causal frame.
class CausalRecords : public QObject
{
    Q_OBJECT

public:
    explicit CausalRecords(FormContext &ctx);
    ~CausalRecords() override;

    void connectEvents();
    CausalOperations &operations();

    void AggiornaConfigurazioneCausali();
    // The completion at start-up and for a causal shown without its rows of this company: a
    // statement runs only when a row of its kind is missing, and the rows it adds are recorded
    // in the change history with them.
    void completeMissingRows();
    bool EseguiQuery();
    void ShowChild();
    void ClearChild();
    // True when the copy was made.
    bool DuplicaCausale();

    void FME_CAUSALI_ChangeStatus(int fenm_status, int fenm_reason);
    void INTERNAV_ButtonClick(bool *cancel, const QString &key);
    void INTERNAV_AfterButtonClick(int result, const QString &key);
    void TXT_CAUSALE_StartDecode(short *handled, QString *statement, QVariant *targets, QString *connection);
    void TXT_CAUSALE_StartLookup(short *handled, QString *statement, QVariant *columns, QString *title,
                                 QString *connection);
    void TXT_CAUSALE_AfterItem();
    void FME_CAUSALI_BeforeUpdate(bool *fbol_Cancel);
    void FME_CAUSALI_AfterUpdate(int fenm_operationresult);
    void FME_CAUSALI_AfterUndo(int fenm_operationresult);
    void FME_CAUSALI_BeforeDelete(bool *fbol_Cancel);
    void FME_CAUSALI_IsRecordChanged(bool *fbol_isRecordChanged);
    // The save met rows another user changed since the causal was read, and wrote nothing.
    void FME_CAUSALI_SaveConflict(const QString &description);
    // Reads the causal on display again from the database, dropping its pending changes.
    void reloadCausal();
    // Leaves the causal on display, which another user deleted, dropping its pending changes.
    void leaveCausal();

private:
    CausalHistory &history();
    void discardHistory();
    CausalConfiguration::Scope savedRows() const;
    // The rows of the causal on display as its frames and its due-date selection hold them,
    // within savedRows(), with no statement: asRead, as they were read or last written; else
    // as the save writes them, the edits included.
    CausalConfiguration heldRows(bool asRead) const;
    // A frame that holds one row of the causal on display (checks, parameters, company rows)
    // holds none.
    bool rowsMissing() const;
    void FME_CAUSALI_AfterDelete(int fenm_operationresult);

    FormContext &ctx;
    std::unique_ptr<CausalOperations> m_ops;
    // A delete's transaction, open from the cascade to the frame's delete of the causal row.
    std::unique_ptr<ado::TransactionGuard> m_deleteTransaction;
    ado::ConnectionPtr m_opsConnection;
    QString m_deleting;   // the code of the causal whose delete is under way
};
