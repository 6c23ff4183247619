#pragma once

#include "window/iselectionchecks.h"

#include <QObject>

struct FormContext;

// The 32 selection checks of the causal on display: the boxes built from the causal's rows,
// their defaults by operation type, their locking, and the writing of their states.
class SelectionChecks : public QObject, public ISelectionChecks
{
    Q_OBJECT

public:
    static constexpr int Count = CheckFacts::Count;

    explicit SelectionChecks(FormContext &ctx);
    ~SelectionChecks() override;

    void connectEvents();

    void CreaStrutturaCheck() override;
    void CHK_FILTER_Click(int index);
    void UpdateFiltri() override;
    void FME_FILTRI_UpdateBatchAll();
    void KVS_SELSCADENZE_AfterChange();
    void CaricaValoriPredefinitiFiltri(OperationType type, const QString &causale, bool requery, bool tutti) override;
    void AbilitaDisabilitaCheck(bool enable);
    void CMD_CHECKCAUSALEDEFAULT_ButtonClick();
    void CMD_MODIFICACHECKCAUSALE_ButtonClick();
    bool IsCausalePerRitenute(const QString &causale) override;

private:
    FormContext &ctx;
};
