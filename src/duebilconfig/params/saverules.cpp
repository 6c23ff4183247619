#include "saverules.h"

#include "messageids.h"
#include "operationtype.h"
#include "parametercontrols.h"

namespace SaveRules {

QList<Refusal> check(const ControlSurface &screen, const Found &found)
{
    QList<Refusal> refused;
    auto empty = [&](const QString &name) { return screen.value(name).trimmed().isEmpty(); };
    for (const char *n : {"TXT_CAUSALECOMPCLI", "TXT_CAUSALECOMPFOR", "TXT_DELTAIMPORTO", "TXT_CONTODARE", "TXT_CONTOAVERE"}) {
        const QString name = QLatin1String(n);
        if (screen.isMandatory(name) && empty(name))
            refused.append({MessageId::Mandatory, name, true});
    }
    const OperationType type = operationTypeOf(screen.value(QStringLiteral("CBO_TIPOOPERAZIONE")));
    auto missing = [&](const char *a, const char *b) {
        for (const char *n : {a, b}) {
            const QString name = QLatin1String(n);
            if (empty(name) || !found(name))
                return name;
        }
        return QString();
    };
    if (type == OperationType::Compensation) {
        const QString name = missing("TXT_CAUSALECOMPCLI", "TXT_CAUSALECOMPFOR");
        if (!name.isEmpty())
            refused.append({MessageId::CompensationMissing, name, false});
    } else if (type == OperationType::ClearedCollections) {
        const QString name = missing("TXT_CONTODARE", "TXT_CONTOAVERE");
        if (!name.isEmpty())
            refused.append({MessageId::AccountsMissing, name, false});
    }
    if (screen.value(QStringLiteral("CHK_GESTVALUTE")) == QLatin1String("1")
        && screen.value(QLatin1String(ParameterControls::WithholdingCheck)) == QLatin1String("1"))
        refused.append({MessageId::CurrencyWithholding, QStringLiteral("CHK_GESTVALUTE"), true});
    return refused;
}

} // namespace SaveRules
