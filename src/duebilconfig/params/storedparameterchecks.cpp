#include "storedparameterchecks.h"

#include "clsservizi.h"
#include "recordset.h"

namespace {

QString text(const ado::Recordset &rs, const char *column)
{
    return ClsServizi::nullToDefault(rs.value(QLatin1String(column)), QString()).toString().trimmed();
}

} // namespace

StoredParameterChecks::StoredParameterChecks(ado::ConnectionPtr connection)
    : m_connection(connection), m_ledger(connection)
{
}

QList<StoredParameterChecks::Finding> StoredParameterChecks::checkAll() const
{
    QList<Finding> all;
    const ado::RecordsetPtr rs =
        m_connection->Execute("SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) ORDER BY CGP0_CAUSALE");
    for (; !rs->isEOF(); rs->MoveNext())
        all += check(rs->value("CGP0_CAUSALE").toString());
    return all;
}

QList<StoredParameterChecks::Finding> StoredParameterChecks::check(const QString &causal) const
{
    QList<Finding> found;
    auto add = [&](const QString &company, const char *column, const QString &value,
                   const QList<LedgerChecks::Message> &messages) {
        for (const LedgerChecks::Message &m : messages)
            found.append({causal, company, QLatin1String(column), value, m.textId, m.params});
    };

    const ado::RecordsetPtr param =
        m_connection->Execute("SELECT CGP5_TIPOCAUSALE FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = " + causal);
    const int tipo = param->RecordCount() > 0 ? ClsServizi::nullToDefault(param->value("CGP5_TIPOCAUSALE"), 1).toInt() : 1;
    const bool ritenute = m_ledger.IsCausalePerRitenute(causal);

    const ado::RecordsetPtr ditta = m_connection->Execute(
        "SELECT * FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = " + causal + " ORDER BY CGP6_DITTA_CG18");
    QHash<QString, bool> modificaConti;
    for (; !ditta->isEOF(); ditta->MoveNext()) {
        const QString company = text(*ditta, "CGP6_DITTA_CG18");
        modificaConti.insert(company, text(*ditta, "CGP6_MODIFICACONTI") == QLatin1String("1"));
        const QString cli = text(*ditta, "CGP6_CAUSALECOMPCLI_CGP0");
        const QString forn = text(*ditta, "CGP6_CAUSALECOMPFOR_CGP0");
        if (tipo == 6 && (cli.isEmpty() || forn.isEmpty()))
            add(company, "CGP6_CAUSALECOMPCLI_CGP0", cli, {{63443, {}}});
        add(company, "CGP6_CAUSALECOMPCLI_CGP0", cli, m_ledger.causaleCompensazione(cli, 1));
        add(company, "CGP6_CAUSALECOMPFOR_CGP0", forn, m_ledger.causaleCompensazione(forn, 2));
        if (text(*ditta, "CGP6_INDPAGVALUTA") == QLatin1String("1") && ritenute)
            add(company, "CGP6_INDPAGVALUTA", QStringLiteral("1"), {{LedgerChecks::MsgCurrencyWithholding, {}}});
    }

    // Suspensions and state management post nothing: their posting columns are cleared on save.
    if (tipo == 5 || tipo == 7)
        return found;
    const ado::RecordsetPtr reg = m_connection->Execute(
        "SELECT CGP7_DUEBILPERSREG.*, CG18_GRUPPO_CG10 FROM CGP7_DUEBILPERSREG"
        " LEFT OUTER JOIN CG18_DITTE ON CG18_CODICE = CGP7_DITTA_CG18"
        " WHERE CGP7_CAUSALE_CGP0 = " + causal + " ORDER BY CGP7_DITTA_CG18, CGP7_GRUPPO_CG10");
    for (; !reg->isEOF(); reg->MoveNext()) {
        const QString company = text(*reg, "CGP7_DITTA_CG18");
        const QString group = text(*reg, "CG18_GRUPPO_CG10");
        auto account = [&](const char *column, bool postableAlways) {
            const QString code = text(*reg, column);
            if (code.isEmpty())
                return;
            const LedgerChecks::Conto c = m_ledger.conto(code, group);
            if (!c.found)
                add(company, column, code, {{LedgerChecks::MsgAccountMissing, {}}});
            else if (!c.postable && (postableAlways || !modificaConti.value(company)))
                add(company, column, code, {{LedgerChecks::MsgNotPostable, {}}});
        };
        const QString coge = text(*reg, "CGP7_CAUSALECOGE_CG33");
        add(company, "CGP7_CAUSALECOGE_CG33", coge, m_ledger.causaleRegistrazione(coge, tipo));
        const QString abb = text(*reg, "CGP7_CAUSALEABB_CG33");
        add(company, "CGP7_CAUSALEABB_CG33", abb, m_ledger.causaleAbbuoni(abb));
        if (tipo == 4 && (text(*reg, "CGP7_CONTODARE_CG24").isEmpty() || text(*reg, "CGP7_CONTOAVERE_CG24").isEmpty()))
            add(company, "CGP7_CONTODARE_CG24", text(*reg, "CGP7_CONTODARE_CG24"), {{63445, {}}});
        account("CGP7_CONTODARE_CG24", false);
        account("CGP7_CONTOAVERE_CG24", false);
        account("CGP7_CONTOABBATTIVI_CG24", true);
        account("CGP7_CONTOABBPASSIVI_CG24", true);
        const QString pag = text(*reg, "CGP7_CONDPAGACCONTI_CG62");
        add(company, "CGP7_CONDPAGACCONTI_CG62", pag, m_ledger.condizionePagamento(pag));
        const QString sez = text(*reg, "CGP7_SEZIONALEACCONTI_CG68");
        add(company, "CGP7_SEZIONALEACCONTI_CG68", sez, m_ledger.sezionale(sez, company));
    }
    return found;
}
