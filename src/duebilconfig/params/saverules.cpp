#include "saverules.h"

#include "parametercontrols.h"

namespace SaveRules {

QList<Refusal> check(const ControlSurface &screen, const Found &found)
{
    QList<Refusal> refused;
    auto empty = [&](const QString &name) { return screen.value(name).trimmed().isEmpty(); };
    for (const char *n : {"TXT_CAUSALECOMPCLI", "TXT_CAUSALECOMPFOR", "TXT_DELTAIMPORTO", "TXT_CONTODARE", "TXT_CONTOAVERE"}) {
        const QString name = QLatin1String(n);
        if (screen.isMandatory(name) && empty(name))
            refused.append({MsgMandatory, name, true});
    }
    const QString tipo = screen.value(QStringLiteral("CBO_TIPOOPERAZIONE"));
    auto missing = [&](const char *a, const char *b) {
        for (const char *n : {a, b}) {
            const QString name = QLatin1String(n);
            if (empty(name) || !found(name))
                return name;
        }
        return QString();
    };
    if (tipo == QLatin1String("6")) {
        const QString name = missing("TXT_CAUSALECOMPCLI", "TXT_CAUSALECOMPFOR");
        if (!name.isEmpty())
            refused.append({MsgCompensationMissing, name, false});
    } else if (tipo == QLatin1String("4")) {
        const QString name = missing("TXT_CONTODARE", "TXT_CONTOAVERE");
        if (!name.isEmpty())
            refused.append({MsgAccountsMissing, name, false});
    }
    if (screen.value(QStringLiteral("CHK_GESTVALUTE")) == QLatin1String("1")
        && screen.value(QLatin1String(ParameterControls::WithholdingCheck)) == QLatin1String("1"))
        refused.append({MsgCurrencyWithholding, QStringLiteral("CHK_GESTVALUTE"), true});
    return refused;
}

} // namespace SaveRules
