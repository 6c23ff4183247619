#pragma once

#include <QString>

// The operation type of a causal, as CGP5_TIPOCAUSALE stores it and CBO_TIPOOPERAZIONE
// offers it. It picks the default checks, the option lists, the ledger checks and the
// enabling rules.
enum class OperationType {
    None = 0,             // no type chosen, or one this module does not know
    Collections = 1,      // "Incassi"
    Payments = 2,         // "Pagamenti"
    Closing = 3,          // "Chiusura partite"
    ClearedCollections = 4,  // "Incassi buon fine"
    Suspension = 5,       // "Sospensione"
    Compensation = 6,     // "Compensazione partite"
    StateManagement = 7,  // "Gestione stati"
    Advances = 8,         // "Acconti"
};

// The types run from 1 to the last one; a new type goes at the end, and everything that goes
// through all the types (the value checks of the tool) follows this bound.
constexpr OperationType LastOperationType = OperationType::Advances;

// The type of a stored or shown value ("1" to the last); anything else is None.
inline OperationType operationTypeOf(int value)
{
    return value >= 1 && value <= int(LastOperationType) ? OperationType(value) : OperationType::None;
}

inline OperationType operationTypeOf(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? operationTypeOf(value) : OperationType::None;
}
