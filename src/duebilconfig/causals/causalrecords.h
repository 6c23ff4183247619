#pragma once

#include "causalconfiguration.h"
#include "causaloperations.h"

#include <QObject>
#include <memory>

class CausalHistory;
struct FormContext;

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

    // At start-up (onlyWhenMissing) a statement runs only when a row of its kind is missing.
    void AggiornaConfigurazioneCausali(bool onlyWhenMissing = false);
    bool EseguiQuery();
    void ShowChild();
    void ClearChild();
    void DuplicaCausale();

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

private:
    CausalHistory &history();
    CausalConfiguration::Scope savedRows() const;

    FormContext &ctx;
    std::unique_ptr<CausalOperations> m_ops;
    std::unique_ptr<CausalHistory> m_history;
    ado::ConnectionPtr m_opsConnection;
    QString m_deleting;   // the code of the causal whose delete is under way
};
