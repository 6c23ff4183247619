#pragma once

#include "store/checkfacts.h"
#include "store/operationtype.h"

#include <QString>

// What the other subsystems ask of the selection checks of the causal on display.
class ISelectionChecks
{
public:
    // The check that marks a causal for withholding tax.
    static constexpr int WithholdingCheck = CheckFacts::WithholdingCheckId;

    virtual ~ISelectionChecks() = default;

    virtual void CreaStrutturaCheck() = 0;
    virtual void UpdateFiltri() = 0;
    virtual void CaricaValoriPredefinitiFiltri(OperationType type, const QString &causale, bool requery, bool tutti) = 0;
    virtual bool IsCausalePerRitenute(const QString &causale) = 0;
};
