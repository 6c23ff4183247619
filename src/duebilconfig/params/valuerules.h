#pragma once

#include "params/controlsurface.h"
#include "params/parametercontrols.h"
#include "store/moduletables.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace ado {
class Connection;
}

// What the parameter controls of the window can hold, for values that reach the rows without
// the window (an import, a row written by hand): a combo only the entries its list offers for
// the operation type, a check box 0 or 1, a field no more characters than it takes. The lists
// and lengths are the window's own (OptionLists, ParameterControls).
namespace ValueRules {

struct Finding
{
    enum Problem { NotOffered, TooLong } problem;
    const ParameterControls::Control *control;
    QString value;
    int limit = 0;   // TooLong: the characters the field takes
    bool anyType = true;   // NotOffered: no operation type offers the value either
};

// The values of a screen holding stored rows, before the enabling rules run on it. Empty
// values are not judged: the binding leaves the field empty.
QList<Finding> check(const ControlSurface &screen, bool stateManagementDisabled);

// Whether this installation leaves the state-management operation type out of the window.
bool stateManagementDisabled(ado::Connection &connection);

// A value the window changes for the operation type: what its rules clear or force when the
// causal is shown, and what its save writes whatever the rows held. shown receives the screen
// as the rules leave it.
struct Correction
{
    const ParameterControls::Control *control;
    QString before;    // as the screen showed it
    QVariant after;    // as the column receives it
};
QList<Correction> corrections(const MapSurface &screen, const QString &causal, MapSurface *shown);

// What a column takes from outside the window (an import, a description given to the tool):
// the kind of the control bound to it, else the column's own type; and the characters that
// control takes, or the column's size where no control limits it or where check() judges the
// control's length on its screen.
struct Accepted
{
    ModuleTables::Type type;
    int characters;
};
Accepted accepted(const ModuleTables::Column &column);

// The message text id and parameters of a finding, naming the column.
int textId(const Finding &finding);
QStringList params(const Finding &finding);

} // namespace ValueRules
