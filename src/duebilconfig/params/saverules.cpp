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

QList<Forced> forcedValues(OperationType type)
{
    if (type != OperationType::Suspension && type != OperationType::StateManagement)
        return {};
    return {{"CGP6_TIPOREGISTRAZIONE", 1}, {"CGP6_DESCRAGGTESTATA", 0}, {"CGP6_MODIFICACONTI", 0},
            {"CGP6_INDNUMDATADOC", 0}, {"CGP6_INDACCONTI", 0}, {"CGP6_INDNETTOPREVISIONALI", 1},
            {"CGP6_CAUSALECOMPCLI_CGP0", QVariant()}, {"CGP6_CAUSALECOMPFOR_CGP0", QVariant()},
            {"CGP6_INDVISANTEPRIMA", 0},
            {"CGP7_CAUSALECOGE_CG33", QVariant()}, {"CGP7_CONTODARE_CG24", QVariant()},
            {"CGP7_CONTOAVERE_CG24", QVariant()}, {"CGP7_INDDETTREGIST", 0},
            {"CGP7_INDDETTRIGACONT", 0}, {"CGP7_CAUSALEABB_CG33", QVariant()},
            {"CGP7_CONTOABBATTIVI_CG24", QVariant()}, {"CGP7_CONTOABBPASSIVI_CG24", QVariant()},
            {"CGP7_TESTORIGA", QVariant()}, {"CGP7_INDPAGRITENUTE", 0},
            {"CGP7_CONDPAGACCONTI_CG62", QVariant()}, {"CGP7_SEZIONALEACCONTI_CG68", QVariant()},
            {"CGP7_INDDESCRCP", 0}};
}

bool clearsWithholding(OperationType type)
{
    return type == OperationType::Closing || type == OperationType::Compensation;
}

} // namespace SaveRules
