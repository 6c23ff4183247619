#pragma once

#include "store/checkfacts.h"

#include <QList>
#include <QString>
#include <QVariant>

// The editing controls of the parameter rows and the column each is bound to, so that code
// without a window (the command-line checks) can put a stored row on a screen of the rules
// the way the window shows it.
namespace ParameterControls {

// What a column holds, and so what the value on screen becomes when it is written.
enum class Kind {
    Integer,   // a whole number: combos' stored values, numeric codes, counts
    Decimal,   // a number typed with a decimal comma or point
    Code,      // a code of another table, as typed
    Text,      // free text, kept as typed
    Flag,      // a check box: 0 or 1
};

struct Control
{
    const char *name;      // design name
    const char *column;    // bound column
    int tab;               // tab of TAB_CONFIG that holds it
    int captionId;         // text id naming the field in messages, 0 when none is needed
    Kind kind;
    int maxChar = 0;       // characters the field takes, 0 for a combo, a check box or an account
};

// The value a column receives for what a control of that kind shows: a number for the number
// kinds, the text for codes and texts, NULL for an empty field (and for a number field holding
// only a sign or a separator).
QVariant columnValue(Kind kind, const QVariant &shown);

// The controls of CGP5_DUEBILPARAM, CGP6_DUEBILPARAMDITTA and CGP7_DUEBILPERSREG.
const QList<Control> &generalParameters();
const QList<Control> &companyParameters();
const QList<Control> &postingParameters();
// The causal's own row (FME_CAUSALI) and an exclusion row (FME_UTENTI); their tab is -1 for
// the header, which is on no tab.
const QList<Control> &causalHeader();
const QList<Control> &exclusionRows();

// The entry of a control, nullptr when it is none of the above.
const Control *find(const QString &name);
// The control bound to a column, nullptr when no control above is.
const Control *findColumn(const QString &column);

// The box of the withholding check on screen, as the rules name it.
inline constexpr const char *WithholdingCheck = "CHK_FILTER_30";
static_assert(CheckFacts::idOfBox(WithholdingCheck) == CheckFacts::WithholdingCheckId);

} // namespace ParameterControls
