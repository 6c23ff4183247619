#pragma once

#include "store/operationtype.h"

#include <QList>
#include <QString>

#include <optional>

// The entries of the parameter combos: a stored value and the text id of its caption.
// Nothing of this is stored in the database; the lists are built in code.
namespace OptionLists {

struct Entry
{
    int value;
    int textId;
    bool operator==(const Entry &) const = default;
};

struct List
{
    QString combo;              // design name of the combo
    QList<Entry> entries;
    int initialPosition = 0;    // -1: no position selected after the build
};

// The eight fixed lists in build order; the state-management type (7) only when that
// management is not disabled on this installation.
QList<List> fixedLists(bool stateManagementDisabled);

// Recovery modes: two for operation type 6 (compensation), three otherwise.
List recoveryModes(OperationType type);

// The three lists that depend on the operation type and, for types 1 and 2, on the
// foreign-currency box and the withholding check (30): CBO_DETTREG, CBO_DETTRIGACONT,
// CBO_DESCRCONTRAUTO in this order.
QList<List> dependentLists(OperationType type, bool foreignCurrency, bool withholding);

// The three details the registration row holds.
struct StoredDetails
{
    int registration = 0;   // CGP7_INDDETTREGIST
    int postingLine = 0;    // CGP7_INDDETTRIGACONT
    int description = 0;    // CGP7_INDDESCRCP
};

// The positions the three dependent lists (as dependentLists built them for the same type and
// boxes) show once rebuilt: the stored detail where the list offers it, otherwise the first
// entry; -1 only for an empty list. Without a row every detail starts from 0. For types 1 and
// 2 with withholding, a stored registration detail 0 shows as 1, and with currency too the
// detail is 2.
QList<int> dependentPositions(const QList<List> &lists, OperationType type, bool foreignCurrency, bool withholding,
                              const std::optional<StoredDetails> &stored);

} // namespace OptionLists
