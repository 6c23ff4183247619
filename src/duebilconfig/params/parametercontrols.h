#pragma once

#include <QList>
#include <QString>

// The editing controls of the parameter rows and the column each is bound to, so that code
// without a window (the command-line checks) can put a stored row on a screen of the rules
// the way the window shows it.
namespace ParameterControls {

struct Control
{
    const char *name;      // design name
    const char *column;    // bound column
    int tab;               // tab of TAB_CONFIG that holds it
    int captionId;         // text id naming the field in messages, 0 when none is needed
};

// The controls of CGP5_DUEBILPARAM, CGP6_DUEBILPARAMDITTA and CGP7_DUEBILPERSREG.
const QList<Control> &parametri();
const QList<Control> &parametriDitta();
const QList<Control> &persReg();

// The entry of a control, nullptr when it is none of the above.
const Control *find(const QString &name);

// The withholding check on screen (CHK_FILTER(30)) as the rules name it.
inline constexpr const char *WithholdingCheck = "CHK_FILTER_30";

} // namespace ParameterControls
