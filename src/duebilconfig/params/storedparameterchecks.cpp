#include "params/storedparameterchecks.h"

#include "ado/recordset.h"
#include "framework/clsservizi.h"
#include "params/enablingrules.h"
#include "params/parametercontrols.h"
#include "params/saverules.h"
#include "params/valuerules.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"

namespace {

QString text(const ado::Recordset &rs, const char *column)
{
    return ClsServizi::nullToDefault(rs.value(QLatin1String(column)), QString()).toString().trimmed();
}

void put(MapSurface &screen, const ado::Recordset &rs, const QList<ParameterControls::Control> &controls)
{
    for (const ParameterControls::Control &c : controls) {
        if (rs.hasField(QLatin1String(c.column)))
            screen.setValue(QLatin1String(c.name), text(rs, c.column));
    }
}

} // namespace

StoredParameterChecks::StoredParameterChecks(ado::ConnectionPtr connection, std::function<QString(int)> caption)
    : m_connection(connection), m_ledger(connection), m_caption(std::move(caption))
{
}

QList<StoredParameterChecks::Finding> StoredParameterChecks::checkAll() const
{
    QList<Finding> all;
    const ado::RecordsetPtr rs = m_connection->Execute(DueBilStatements::causalCodes());
    for (; !rs->isEOF(); rs->MoveNext())
        all += check(rs->value("CGP0_CAUSALE").toString());
    return all;
}

// Each company's rows are put on a screen of the rules as the window shows them, and judged by
// the rules of the window's save: what the rules disable, hide or empty for the operation type
// cannot be typed there, so it is not reported.
QList<StoredParameterChecks::Finding> StoredParameterChecks::check(const QString &causal,
                                                                   const QHash<QString, QString> &causalValues,
                                                                   const QString &skipCompany) const
{
    QList<Finding> found;
    const ado::RecordsetPtr param = m_connection->Execute(DueBilStatements::parametersOf(causal));
    const bool withholding = m_ledger.IsCausalePerRitenute(causal);
    const bool stateManagementDisabled = m_valueRules && ValueRules::stateManagementDisabled(*m_connection);

    const ado::RecordsetPtr companyRows = m_connection->Execute(DueBilStatements::companyParametersOf(causal));
    for (; !companyRows->isEOF(); companyRows->MoveNext()) {
        const QString company = text(*companyRows, "CGP6_DITTA_CG18");
        if (!skipCompany.isEmpty() && company == skipCompany)
            continue;
        const ado::RecordsetPtr reg = m_connection->Execute(DueBilStatements::postingPersonalisationOf(causal, company));
        const QString group = reg->RecordCount() > 0 ? text(*reg, "CG18_GRUPPO_CG10") : QString();

        MapSurface screen;
        screen.setValue(QStringLiteral("TXT_CAUSALE"), causal);
        if (param->RecordCount() > 0)
            put(screen, *param, ParameterControls::generalParameters());
        if (screen.value(QStringLiteral("CBO_TIPOOPERAZIONE")).isEmpty())
            screen.setValue(QStringLiteral("CBO_TIPOOPERAZIONE"), QStringLiteral("1"));
        put(screen, *companyRows, ParameterControls::companyParameters());
        if (reg->RecordCount() > 0)
            put(screen, *reg, ParameterControls::postingParameters());
        screen.setValue(QLatin1String(ParameterControls::WithholdingCheck), withholding ? "1" : "0");
        for (auto it = causalValues.cbegin(); it != causalValues.cend(); ++it)
            screen.setValue(it.key(), it.value());
        if (m_valueRules) {
            for (const ValueRules::Finding &f : ValueRules::check(screen, stateManagementDisabled))
                found.append({causal, company, QLatin1String(f.control->column), f.value, ValueRules::textId(f),
                              ValueRules::params(f)});
            for (reg->MoveFirst(); !reg->isEOF(); reg->MoveNext()) {
                if (text(*reg, "CGP7_GRUPPO_CG10") != group)
                    found.append({causal, company, QStringLiteral("CGP7_GRUPPO_CG10"), text(*reg, "CGP7_GRUPPO_CG10"),
                                  MessageId::GroupNotCompany, {group}});
            }
            if (reg->RecordCount() > 0)
                reg->MoveFirst();
        }
        EnablingRules::applyUntilStable(screen, {causal, QString()}, [](int id) { return QString::number(id); });

        // Only what the window refuses on its save is a finding: its reminders are not.
        for (const SaveRules::Refusal &r : SaveRules::check(screen, {m_ledger, group, company})) {
            if (!r.blocking)
                continue;
            const ParameterControls::Control *c = ParameterControls::find(r.control);
            const QString column = c ? QLatin1String(c->column) : r.control;
            QStringList params = r.params;
            if (r.textId == MessageId::Mandatory)
                params = {m_caption && c && c->captionId ? m_caption(c->captionId) : column};
            found.append({causal, company, column, screen.value(r.control), r.textId, params});
        }
    }
    return found;
}
