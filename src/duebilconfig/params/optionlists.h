#pragma once

#include "operationtype.h"

#include <QList>
#include <QString>

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
QList<List> fixedLists(bool gestioneStatiDisabilitata);

// Recovery modes: two for operation type 6 (compensation), three otherwise.
List modalitaRecupero(OperationType type);

// The three lists that depend on the operation type and, for types 1 and 2, on the
// foreign-currency box and the withholding check (30): CBO_DETTREG, CBO_DETTRIGACONT,
// CBO_DESCRCONTRAUTO in this order.
QList<List> dependentLists(OperationType type, bool gestioneValute, bool ritenute);

} // namespace OptionLists
