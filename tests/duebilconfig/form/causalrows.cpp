#include "causalrows.h"

#include "ado/recordset.h"
#include "window/formcontext.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QRegularExpression>
#include <QUuid>
#include <stdexcept>

namespace {

struct Source
{
    const char *table;
    const char *codeExpression;  // the causal code of a row, as a column of the statement
};

// FW17 and FW18 name the causal in the sibling screen's object name, FW41 in its own column.
const Source sources[] = {
    {"CGP0_DUEBILCAUSALI", "CGP0_CAUSALE"},
    {"CGP3_DUEBILGRIGLIA", "CGP3_CAUSALE_CGP0"},
    {"CGP4_DUEBILFILTRI", "CGP4_CAUSALE_CGP0"},
    {"CGP5_DUEBILPARAM", "CGP5_CAUSALE_CGP0"},
    {"CGP6_DUEBILPARAMDITTA", "CGP6_CAUSALE_CGP0"},
    {"CGP7_DUEBILPERSREG", "CGP7_CAUSALE_CGP0"},
    {"CGP8_DUEBILREVOKE", "CGP8_CAUSALE_CGP0"},
    {"FW41_SELEZIONEPARAMSCADENZE", "CASE WHEN FW41_UOBJECT = 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG' THEN FW41_CODICE END"},
    {"FW17_ORDERPRS", "CAST(SUBSTR(FW17_UOBJECT, 26) AS INTEGER)"},
    {"FW18_SELEZIONEPRS", "CAST(SUBSTR(FW18_UOBJECT, 26) AS INTEGER)"},
};

QSqlQuery run(const QString &connection, const QString &sql)
{
    QSqlQuery query(QSqlDatabase::database(connection));
    if (!query.exec(sql))
        throw std::runtime_error((query.lastError().text() + QStringLiteral(": ") + sql).toStdString());
    return query;
}

} // namespace

CausalRows::CausalRows(const QString &connectionString) : m_name(QUuid::createUuid().toString())
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    db.setDatabaseName(QString(connectionString).remove(QRegularExpression(QStringLiteral("^sqlite:"))));
    db.open();
}

CausalRows::~CausalRows()
{
    QSqlDatabase::database(m_name).close();
    QSqlDatabase::removeDatabase(m_name);
}

QMap<int, QStringList> CausalRows::read() const
{
    QMap<int, QStringList> rows;
    for (const Source &source : sources) {
        QSqlQuery query = run(m_name, QStringLiteral("SELECT %1 AS CAUSAL_CODE, * FROM %2")
                                          .arg(QLatin1String(source.codeExpression), QLatin1String(source.table)));
        while (query.next()) {
            const QVariant code = query.value(0);
            if (code.isNull())
                continue;
            QStringList values{QLatin1String(source.table)};
            for (int i = 1; i < query.record().count(); ++i) {
                const QVariant v = query.value(i);
                values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
            }
            rows[code.toInt()] << values.join(QLatin1Char('|'));
        }
    }
    for (QStringList &list : rows)
        list.sort();
    return rows;
}

QSet<int> CausalRows::changed(const QMap<int, QStringList> &before, const QMap<int, QStringList> &after)
{
    QSet<int> codes;
    for (auto it = before.begin(); it != before.end(); ++it) {
        if (after.value(it.key()) != it.value())
            codes << it.key();
    }
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (!before.contains(it.key()))
            codes << it.key();
    }
    return codes;
}

QStringList CausalRows::incomplete(int company) const
{
    QStringList faults;
    QSqlQuery catalogue = run(m_name, QStringLiteral("SELECT COUNT(*) FROM CGP2_DUEBILCHECK"));
    const int checks = catalogue.next() ? catalogue.value(0).toInt() : 0;
    QSqlQuery causals = run(m_name, QStringLiteral(
        "SELECT CGP0_CAUSALE,"
        " (SELECT COUNT(DISTINCT CGP4_IDCHECK_CGP2) FROM CGP4_DUEBILFILTRI INNER JOIN CGP2_DUEBILCHECK"
        "   ON CGP2_ID = CGP4_IDCHECK_CGP2 WHERE CGP4_CAUSALE_CGP0 = CGP0_CAUSALE) AS CHECKS,"
        " (SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = CGP0_CAUSALE) AS CHECKROWS,"
        " (SELECT COUNT(*) FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = CGP0_CAUSALE) AS PARAMS,"
        " (SELECT COUNT(*) FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = CGP0_CAUSALE"
        "   AND CGP6_DITTA_CG18 = %1) AS COMPANY,"
        " (SELECT COUNT(*) FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = CGP0_CAUSALE"
        "   AND CGP7_DITTA_CG18 = %1) AS POSTING"
        " FROM CGP0_DUEBILCAUSALI").arg(company));
    while (causals.next()) {
        const QString code = causals.value(QStringLiteral("CGP0_CAUSALE")).toString();
        const auto count = [&](const char *column) { return causals.value(QLatin1String(column)).toInt(); };
        if (count("CHECKS") != checks || count("CHECKROWS") != checks)
            faults << code + QStringLiteral(": %1 check rows for %2 checks").arg(count("CHECKROWS")).arg(checks);
        if (count("PARAMS") != 1)
            faults << code + QStringLiteral(": %1 parameter rows").arg(count("PARAMS"));
        if (count("COMPANY") != 1)
            faults << code + QStringLiteral(": %1 company rows").arg(count("COMPANY"));
        if (count("POSTING") < 1)
            faults << code + QStringLiteral(": no posting row");
    }
    // Rows of a causal that no longer exists are parts left behind.
    QSqlQuery orphans = run(m_name, QStringLiteral(
        "SELECT DISTINCT CGP4_CAUSALE_CGP0 AS CODE FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 NOT IN"
        " (SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI)"
        " UNION SELECT CGP5_CAUSALE_CGP0 FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 NOT IN"
        " (SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI)"
        " UNION SELECT CGP6_CAUSALE_CGP0 FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 NOT IN"
        " (SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI)"
        " UNION SELECT CGP7_CAUSALE_CGP0 FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 NOT IN"
        " (SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI)"
        " UNION SELECT CGP3_CAUSALE_CGP0 FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 NOT IN"
        " (SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI)"
        " UNION SELECT CGP8_CAUSALE_CGP0 FROM CGP8_DUEBILREVOKE WHERE CGP8_CAUSALE_CGP0 NOT IN"
        " (SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI)"));
    while (orphans.next())
        faults << orphans.value(0).toString() + QStringLiteral(": rows left without the causal");
    return faults;
}

QStringList rowsOfAnotherCausal(const FormContext &ctx)
{
    const QList<QPair<const DataFrame *, const char *>> frames = {
        {ctx.FME_LAYOUT.get(), "CGP3_CAUSALE_CGP0"},      {ctx.FME_FILTRI.get(), "CGP4_CAUSALE_CGP0"},
        {ctx.FME_PARAMETRI.get(), "CGP5_CAUSALE_CGP0"},   {ctx.FME_PARAMETRIDITTA.get(), "CGP6_CAUSALE_CGP0"},
        {ctx.FME_PARAMPERSREG.get(), "CGP7_CAUSALE_CGP0"}, {ctx.FME_UTENTI.get(), "CGP8_CAUSALE_CGP0"}};
    const QString header = ctx.causalCode();
    QStringList foreign;
    for (const auto &[frame, column] : frames) {
        const ado::RecordsetPtr source = frame ? frame->recordset() : ado::RecordsetPtr();
        if (!source || source->State() != ado::ObjectState::Open)
            continue;
        const ado::RecordsetPtr rs = source->Clone();
        for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext()) {
            const QVariant code = rs->value(QLatin1String(column));
            // A row being added carries no code until it is written.
            if (!code.isNull() && code.toString() != header)
                foreign << frame->objectName() + QStringLiteral(": ") + code.toString();
        }
    }
    return foreign;
}
