#pragma once

#include "params/controlsurface.h"
#include "params/ledgerchecks.h"

#include "store/operationtype.h"

#include <QList>
#include <QVariant>
#include <functional>
#include <QStringList>

// Whether the causal on screen may be saved, decided on the screen the enabling rules left:
// the window asks it on every save, the command-line check on the stored rows, so that the
// two give one verdict from one rule set.
namespace SaveRules {

struct Refusal
{
    int textId;          // 0: the code names no record
    QString control;     // the field the refusal is about
    // A blocking refusal stops the save; the two reminders of compensation causals and
    // unpaid-bill accounts are shown and the causal row is saved all the same.
    bool blocking;
    QStringList params = {};
    bool operator==(const Refusal &) const = default;
};

// Where the codes on screen are looked up: the ledger of the company and its account group.
struct Ledger
{
    const LedgerChecks &checks;
    QString accountGroup;
    QString company;
};

// Whether the user can type into the field: enabled, shown, on an enabled tab and, for the
// advances, with the advances frame shown. What the rules take out of reach is not checked.
bool editable(const ControlSurface &screen, const QString &name);

// Blocking refusals first, each in the order of the screen: every mandatory field left empty,
// every code that names no record or one its field refuses, currency due dates with
// withholding; then the reminders of the compensation causals of type 6 and the accounts of
// type 4. A master account where the account may be changed when posting is no refusal: the
// window warns of it when the box is cleared and stores it.
QList<Refusal> check(const ControlSurface &screen, const Ledger &ledger);

// What a save writes whatever the rows held, for types that do not use those settings: the
// registration and per-company columns of suspensions and state management.
struct Forced
{
    const char *column;
    QVariant value;
};
QList<Forced> forcedValues(OperationType type);
// Closing and compensation causals are saved without the withholding check (30).
bool clearsWithholding(OperationType type);

} // namespace SaveRules
