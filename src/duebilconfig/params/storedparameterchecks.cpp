#include "storedparameterchecks.h"

#include "clsservizi.h"
#include "duebilstatements.h"
#include "enablingrules.h"
#include "messageids.h"
#include "parametercontrols.h"
#include "recordset.h"
#include "saverules.h"

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

// Each company's rows are put on a screen of the rules as the window shows them; what the
// rules disable, hide or empty for the operation type cannot be typed there, so it is not
// reported. The rest is what the window's fields and its save would refuse.
QList<StoredParameterChecks::Finding> StoredParameterChecks::check(const QString &causal) const
{
    QList<Finding> found;
    const ado::RecordsetPtr param = m_connection->Execute(DueBilStatements::parametersOf(causal));
    const bool ritenute = m_ledger.IsCausalePerRitenute(causal);

    const ado::RecordsetPtr ditta = m_connection->Execute(DueBilStatements::companyParametersOf(causal));
    for (; !ditta->isEOF(); ditta->MoveNext()) {
        const QString company = text(*ditta, "CGP6_DITTA_CG18");
        const ado::RecordsetPtr reg = m_connection->Execute(DueBilStatements::postingPersonalisationOf(causal, company));
        const QString group = reg->RecordCount() > 0 ? text(*reg, "CG18_GRUPPO_CG10") : QString();

        MapSurface screen;
        screen.setValue(QStringLiteral("TXT_CAUSALE"), causal);
        if (param->RecordCount() > 0)
            put(screen, *param, ParameterControls::parametri());
        if (screen.value(QStringLiteral("CBO_TIPOOPERAZIONE")).isEmpty())
            screen.setValue(QStringLiteral("CBO_TIPOOPERAZIONE"), QStringLiteral("1"));
        put(screen, *ditta, ParameterControls::parametriDitta());
        if (reg->RecordCount() > 0)
            put(screen, *reg, ParameterControls::persReg());
        screen.setValue(QLatin1String(ParameterControls::WithholdingCheck), ritenute ? "1" : "0");
        EnablingRules::applyUntilStable(screen, {causal, QString()}, [](int id) { return QString::number(id); });

        // Typed where the window lets the user type: enabled, shown, on an enabled tab and,
        // for the advances, with the advances frame shown.
        auto editable = [&](const QString &name) {
            const ParameterControls::Control *c = ParameterControls::find(name);
            if (!c || !screen.isTabEnabled(c->tab) || !screen.isEnabled(name) || !screen.isVisible(name))
                return false;
            if ((name == QLatin1String("TXT_CODPAGACCONTI") || name == QLatin1String("TXT_SEZIONALEACCONTI"))
                && !screen.isVisible(QStringLiteral("FRA_PERSREGISTRAZIONEACCONTI")))
                return false;
            return true;
        };
        auto add = [&](const QString &name, const QList<LedgerChecks::Message> &messages) {
            const ParameterControls::Control *c = ParameterControls::find(name);
            for (const LedgerChecks::Message &m : messages)
                found.append({causal, company, QLatin1String(c->column), screen.value(name), m.textId, m.params});
        };
        auto code = [&](const char *name) {
            const QString n = QLatin1String(name);
            return editable(n) ? screen.value(n) : QString();
        };

        const OperationType type = operationTypeOf(screen.value(QStringLiteral("CBO_TIPOOPERAZIONE")));
        add("TXT_CAUSALECOMPCLI", m_ledger.compensationCausalRefusals(code("TXT_CAUSALECOMPCLI"), 1));
        add("TXT_CAUSALECOMPFOR", m_ledger.compensationCausalRefusals(code("TXT_CAUSALECOMPFOR"), 2));
        add("TXT_CAUSALECOGE", m_ledger.postingCausalRefusals(code("TXT_CAUSALECOGE"), type));
        add("TXT_CAUABBUONI", m_ledger.discountCausalRefusals(code("TXT_CAUABBUONI")));
        const bool modificaConti = screen.value(QStringLiteral("CHK_MODIFICACONTI")) == QLatin1String("1");
        for (const char *name : {"TXT_CONTODARE", "TXT_CONTOAVERE", "TXT_CONTOABBUONIATTIVI", "TXT_CONTOABBUONIPASSIVI"}) {
            const QString value = code(name);
            if (value.isEmpty())
                continue;
            const bool allowance = QByteArray(name).contains("ABBUONI");
            const LedgerChecks::Account c = m_ledger.account(value, group);
            if (!c.found)
                add(name, {{MessageId::AccountMissing, {}}});
            else if (!c.postable && (allowance || !modificaConti))
                add(name, {{MessageId::NotPostable, {}}});
        }
        add("TXT_CODPAGACCONTI", m_ledger.paymentTermsRefusals(code("TXT_CODPAGACCONTI")));
        add("TXT_SEZIONALEACCONTI", m_ledger.sectionRefusals(code("TXT_SEZIONALEACCONTI"), company));

        const SaveRules::Found exists = [&](const QString &name) {
            const QString value = screen.value(name);
            if (name.startsWith(QLatin1String("TXT_CAUSALECOMP")))
                return m_ledger.compensationCausalFound(value, name.endsWith(QLatin1String("CLI")) ? 1 : 2);
            return m_ledger.account(value, group).found;
        };
        for (const SaveRules::Refusal &r : SaveRules::check(screen, exists)) {
            const ParameterControls::Control *c = ParameterControls::find(r.control);
            const QString column = c ? QLatin1String(c->column) : r.control;
            QStringList params;
            if (r.textId == MessageId::Mandatory)
                params << (m_caption && c && c->captionId ? m_caption(c->captionId) : column);
            found.append({causal, company, column, screen.value(r.control), r.textId, params});
        }
    }
    return found;
}
