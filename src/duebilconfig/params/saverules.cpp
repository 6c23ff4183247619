#include "params/saverules.h"

#include "params/parametercontrols.h"
#include "store/messageids.h"
#include "store/operationtype.h"

namespace SaveRules {

bool editable(const ControlSurface &screen, const QString &name)
{
    const ParameterControls::Control *c = ParameterControls::find(name);
    if (!c || !screen.isTabEnabled(c->tab) || !screen.isEnabled(name) || !screen.isVisible(name))
        return false;
    if ((name == QLatin1String("TXT_CODPAGACCONTI") || name == QLatin1String("TXT_SEZIONALEACCONTI"))
        && !screen.isVisible(QStringLiteral("FRA_PERSREGISTRAZIONEACCONTI")))
        return false;
    return true;
}

namespace {

// The codes of the screen checked as their fields check them when typed.
QList<Refusal> codeRefusals(const ControlSurface &screen, const Ledger &ledger)
{
    QList<Refusal> refused;
    auto code = [&](const char *name) {
        const QString n = QLatin1String(name);
        return editable(screen, n) ? screen.value(n).trimmed() : QString();
    };
    auto add = [&](const char *name, const QList<LedgerChecks::Message> &messages) {
        for (const LedgerChecks::Message &m : messages)
            refused.append({m.textId, QLatin1String(name), true, m.params});
    };
    const OperationType type = operationTypeOf(screen.value(QStringLiteral("CBO_TIPOOPERAZIONE")));
    add("TXT_CAUSALECOMPCLI", ledger.checks.compensationCausalRefusals(code("TXT_CAUSALECOMPCLI"), 1));
    add("TXT_CAUSALECOMPFOR", ledger.checks.compensationCausalRefusals(code("TXT_CAUSALECOMPFOR"), 2));
    add("TXT_CAUSALECOGE", ledger.checks.postingCausalRefusals(code("TXT_CAUSALECOGE"), type));
    for (const char *name : {"TXT_CONTODARE", "TXT_CONTOAVERE", "TXT_CAUABBUONI", "TXT_CONTOABBUONIATTIVI",
                             "TXT_CONTOABBUONIPASSIVI"}) {
        const QString value = code(name);
        if (value.isEmpty())
            continue;
        if (QByteArray(name) == "TXT_CAUABBUONI") {
            add(name, ledger.checks.discountCausalRefusals(value));
            continue;
        }
        const LedgerChecks::Account account = ledger.checks.account(value, ledger.accountGroup);
        const bool allowance = QByteArray(name).contains("ABBUONI");
        if (!account.found)
            add(name, {{MessageId::AccountMissing, {}}});
        else if (!account.postable && allowance)
            add(name, {{MessageId::NotPostable, {}}});
    }
    add("TXT_CODPAGACCONTI", ledger.checks.paymentTermsRefusals(code("TXT_CODPAGACCONTI")));
    add("TXT_SEZIONALEACCONTI", ledger.checks.sectionRefusals(code("TXT_SEZIONALEACCONTI"), ledger.company));
    return refused;
}

} // namespace

QList<Refusal> check(const ControlSurface &screen, const Ledger &ledger)
{
    QList<Refusal> refused;
    auto empty = [&](const QString &name) { return screen.value(name).trimmed().isEmpty(); };
    for (const char *n : {"TXT_CAUSALECOMPCLI", "TXT_CAUSALECOMPFOR", "TXT_DELTAIMPORTO", "TXT_CONTODARE", "TXT_CONTOAVERE"}) {
        const QString name = QLatin1String(n);
        if (screen.isMandatory(name) && empty(name))
            refused.append({MessageId::Mandatory, name, true});
    }
    refused += codeRefusals(screen, ledger);
    if (screen.value(QStringLiteral("CHK_GESTVALUTE")) == QLatin1String("1")
        && screen.value(QLatin1String(ParameterControls::WithholdingCheck)) == QLatin1String("1"))
        refused.append({MessageId::CurrencyWithholding, QStringLiteral("CHK_GESTVALUTE"), true});

    const OperationType type = operationTypeOf(screen.value(QStringLiteral("CBO_TIPOOPERAZIONE")));
    auto missing = [&](const char *a, const char *b, auto found) {
        for (const char *n : {a, b}) {
            const QString name = QLatin1String(n);
            if (empty(name) || !found(name))
                return name;
        }
        return QString();
    };
    if (type == OperationType::Compensation) {
        const QString name = missing("TXT_CAUSALECOMPCLI", "TXT_CAUSALECOMPFOR", [&](const QString &n) {
            return ledger.checks.compensationCausalFound(screen.value(n), n.endsWith(QLatin1String("CLI")) ? 1 : 2);
        });
        if (!name.isEmpty())
            refused.append({MessageId::CompensationMissing, name, false});
    } else if (type == OperationType::ClearedCollections) {
        const QString name = missing("TXT_CONTODARE", "TXT_CONTOAVERE", [&](const QString &n) {
            return ledger.checks.account(screen.value(n).trimmed(), ledger.accountGroup).found;
        });
        if (!name.isEmpty())
            refused.append({MessageId::AccountsMissing, name, false});
    }
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
