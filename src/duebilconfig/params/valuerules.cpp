#include "params/valuerules.h"

#include "ado/connection.h"
#include "ado/recordset.h"
#include "params/enablingrules.h"
#include "params/optionlists.h"
#include "params/saverules.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "store/operationtype.h"

#include <QSet>

namespace ValueRules {

namespace {

// Every value the combo's list offers for the operation type, whatever the boxes on screen
// that narrow the detail lists: the window moves a detail the boxes rule out itself.
QSet<int> offered(const QString &combo, OperationType type, bool stateManagementDisabled)
{
    QList<OptionLists::List> lists;
    if (combo == QLatin1String("CBO_MODRECUPERO")) {
        lists.append(OptionLists::recoveryModes(type));
    } else {
        lists = OptionLists::fixedLists(stateManagementDisabled);
        for (const bool currency : {false, true}) {
            for (const bool withholding : {false, true})
                lists += OptionLists::dependentLists(type, currency, withholding);
        }
    }
    QSet<int> values;
    for (const OptionLists::List &list : std::as_const(lists)) {
        if (list.combo != combo)
            continue;
        for (const OptionLists::Entry &e : list.entries)
            values.insert(e.value);
    }
    return values;
}

QList<const ParameterControls::Control *> parameterControls()
{
    QList<const ParameterControls::Control *> all;
    for (const QList<ParameterControls::Control> *list :
         {&ParameterControls::generalParameters(), &ParameterControls::companyParameters(), &ParameterControls::postingParameters()}) {
        for (const ParameterControls::Control &c : *list)
            all.append(&c);
    }
    return all;
}

} // namespace

QList<Finding> check(const ControlSurface &screen, bool stateManagementDisabled)
{
    QList<Finding> found;
    const OperationType type = operationTypeOf(screen.value(QStringLiteral("CBO_TIPOOPERAZIONE")));
    for (const ParameterControls::Control *c : parameterControls()) {
        const QString name = QLatin1String(c->name);
        const QString value = screen.value(name).trimmed();
        if (value.isEmpty())
            continue;
        if (c->maxChar > 0 && value.size() > c->maxChar) {
            found.append({Finding::TooLong, c, value, c->maxChar});
            continue;
        }
        bool whole = false;
        const int number = value.toInt(&whole);
        if (c->kind == ParameterControls::Kind::Flag && (!whole || (number != 0 && number != 1)))
            found.append({Finding::NotOffered, c, value});
        else if (name.startsWith(QLatin1String("CBO_"))
                 && (!whole || !offered(name, type, stateManagementDisabled).contains(number))) {
            bool otherType = false;
            for (int t = 1; t <= int(LastOperationType) && whole; ++t)
                otherType = otherType || offered(name, operationTypeOf(t), false).contains(number);
            found.append({Finding::NotOffered, c, value, 0, !otherType});
        }
    }
    return found;
}

bool stateManagementDisabled(ado::Connection &connection)
{
    const ado::RecordsetPtr rs = connection.Execute(DueBilStatements::settingGestStatiDisable(), 1);
    if (rs->RecordCount() == 0)
        return false;
    const QVariant value = rs->value(QStringLiteral("FW95_VALORE"));
    return value.isValid() && value.toString().trimmed() == QLatin1String("1");
}

QList<Correction> corrections(const MapSurface &screen, const QString &causal, MapSurface *rulesApplied)
{
    MapSurface &shown = *rulesApplied;
    shown = screen;
    EnablingRules::applyUntilStable(shown, {causal, QString()}, [](int id) { return QString::number(id); });
    QList<Correction> changed;
    for (const ParameterControls::Control *c : parameterControls()) {
        const QString name = QLatin1String(c->name);
        if (shown.value(name) != screen.value(name))
            changed.append({c, screen.value(name), ParameterControls::columnValue(c->kind, shown.value(name))});
    }
    for (const SaveRules::Forced &f : SaveRules::forcedValues(operationTypeOf(shown.value(QStringLiteral("CBO_TIPOOPERAZIONE"))))) {
        const auto it = std::find_if(changed.begin(), changed.end(),
                                     [&](const Correction &k) { return qstrcmp(k.control->column, f.column) == 0; });
        if (it != changed.end()) {
            it->after = f.value;
            continue;
        }
        for (const ParameterControls::Control *c : parameterControls()) {
            const QString before = screen.value(QLatin1String(c->name)).trimmed();
            if (qstrcmp(c->column, f.column) == 0 && before != f.value.toString())
                changed.append({c, before, f.value});
        }
    }
    return changed;
}

Accepted accepted(const ModuleTables::Column &column)
{
    using Type = ModuleTables::Type;
    const ParameterControls::Control *c = ParameterControls::findColumn(QLatin1String(column.name));
    if (!c)
        return {column.type, column.size};
    const bool onScreen = parameterControls().contains(c);
    Type type = Type::Text;
    switch (c->kind) {
    case ParameterControls::Kind::Integer: type = Type::Integer; break;
    case ParameterControls::Kind::Flag: type = Type::Flag; break;
    case ParameterControls::Kind::Decimal: type = Type::Decimal; break;
    case ParameterControls::Kind::Code:
    case ParameterControls::Kind::Text: break;
    }
    return {type, c->maxChar > 0 && !onScreen ? c->maxChar : column.size};
}

int textId(const Finding &finding)
{
    return finding.problem == Finding::TooLong ? MessageId::ValueTooLong : MessageId::ValueNotOffered;
}

QStringList params(const Finding &finding)
{
    const QString column = QLatin1String(finding.control->column);
    if (finding.problem == Finding::TooLong)
        return {column, QString::number(finding.limit)};
    return {column};
}

} // namespace ValueRules
