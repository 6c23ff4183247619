#pragma once

#include "controlsurface.h"

#include "operationtype.h"

#include <QList>
#include <QVariant>
#include <functional>

// Whether the causal on screen may be saved, decided on the screen the enabling rules left:
// the window asks it on confirm, the command-line check on the stored rows.
namespace SaveRules {

struct Refusal
{
    int textId;
    QString control;     // the field the refusal is about
    // A blocking refusal stops the save; the two reminders of compensation causals and
    // unpaid-bill accounts are shown and the causal row is saved all the same.
    bool blocking;
    bool operator==(const Refusal &) const = default;
};

// Whether a code field names a record that exists (the window asks the field, the tool the database).
using Found = std::function<bool(const QString &control)>;

// Refusals in the order the window meets them: every mandatory field left empty, then the
// compensation causals of type 6, the accounts of type 4, currency due dates with withholding.
QList<Refusal> check(const ControlSurface &screen, const Found &found);

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
