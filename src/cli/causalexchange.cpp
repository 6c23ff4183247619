#include "causalexchange.h"

#include "adoerror.h"
#include "causaloperations.h"
#include "duebilstatements.h"
#include "recordset.h"
#include "storedparameterchecks.h"
#include "textstore.h"
#include "transactionguard.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QSet>

#include <cmath>

namespace S = DueBilStatements;

namespace {

namespace Text {
enum : int {
    NotJson = 992101, WrongFormat, MissingField, UnknownColumn, Duplicated, NotObject, DatabaseError, LedgerFinding,
    CodeMissing
};
}

// One configuration table of a causal as the document carries it.
struct Section
{
    const char *key;
    const char *table;
    const char *causalColumn;
    const char *companyColumn;   // nullptr: not per company
    const char *orderBy;
    bool single;                 // one row per causal, carried as an object (or null)
};

constexpr Section sections[] = {
    {"parametri", "CGP5_DUEBILPARAM", "CGP5_CAUSALE_CGP0", nullptr, "CGP5_CAUSALE_CGP0", true},
    {"ditte", "CGP6_DUEBILPARAMDITTA", "CGP6_CAUSALE_CGP0", "CGP6_DITTA_CG18", "CGP6_DITTA_CG18", false},
    {"registrazione", "CGP7_DUEBILPERSREG", "CGP7_CAUSALE_CGP0", "CGP7_DITTA_CG18", "CGP7_DITTA_CG18, CGP7_GRUPPO_CG10", false},
    {"griglia", "CGP3_DUEBILGRIGLIA", "CGP3_CAUSALE_CGP0", nullptr, "CGP3_VISIBLEORDER, CGP3_IDFIELD_CGP1", false},
    {"filtri", "CGP4_DUEBILFILTRI", "CGP4_CAUSALE_CGP0", nullptr, "CGP4_IDCHECK_CGP2", false},
    {"esclusioni", "CGP8_DUEBILREVOKE", "CGP8_CAUSALE_CGP0", nullptr, "CGP8_ID_FW06, CGP8_ID_FW07", false},
    {"selezioneScadenze", "FW41_SELEZIONEPARAMSCADENZE", "FW41_CODICE", "FW41_DITTA_CG18", "FW41_DITTA_CG18, FW41_INDTIPOPAG", false},
};

constexpr const char *CausalTable = "CGP0_DUEBILCAUSALI";

// The rows of a causal in one table; the due-date selection table holds other objects' rows too.
QString rowsOf(const Section &s, const QString &code)
{
    QString sql = QStringLiteral("SELECT * FROM %1 WHERE %2 = %3").arg(QLatin1String(s.table), QLatin1String(s.causalColumn), code);
    if (QLatin1String(s.table) == QLatin1String("FW41_SELEZIONEPARAMSCADENZE"))
        sql += " AND FW41_UOBJECT = '" + S::UObjectConfig + "'";
    return sql;
}

QJsonObject rowAsJson(const ado::Recordset &rs, const QStringList &fields)
{
    QJsonObject row;
    for (const QString &f : fields) {
        const QVariant v = rs.value(f);
        row.insert(f, v.isNull() ? QJsonValue(QJsonValue::Null) : QJsonValue::fromVariant(v));
    }
    return row;
}

// JSON knows only doubles: whole numbers go back as integers so that integer and text
// columns get the value they had.
QVariant bindable(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::Bool:
        return v.toBool() ? 1 : 0;
    case QJsonValue::Double: {
        const double d = v.toDouble();
        if (std::trunc(d) == d && std::fabs(d) < 9e15)
            return static_cast<qlonglong>(d);
        return d;
    }
    case QJsonValue::String:
        return v.toString();
    default:
        return QVariant();
    }
}

QString codeText(const QJsonValue &v)
{
    if (v.isDouble())
        return bindable(v).toString();
    return v.toString();
}

} // namespace

struct CausalExchange::Causal
{
    QString code;
    bool exists = false;
    QJsonObject row;
    QHash<QString, QJsonArray> rows;   // by section key
};

CausalExchange::CausalExchange(ado::ConnectionPtr connection, const TextStore &texts)
    : m_connection(std::move(connection)), m_texts(texts)
{
}

QJsonDocument CausalExchange::exportCausals(const QStringList &codes, const QString &company) const
{
    QStringList all = codes;
    if (all.isEmpty()) {
        const ado::RecordsetPtr rs =
            m_connection->Execute("SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI WITH (NOLOCK) ORDER BY CGP0_CAUSALE");
        for (; !rs->isEOF(); rs->MoveNext())
            all << rs->value("CGP0_CAUSALE").toString();
    }
    QJsonArray causals;
    for (const QString &code : std::as_const(all)) {
        const ado::RecordsetPtr head = m_connection->Execute("SELECT * FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code);
        if (head->RecordCount() == 0)
            continue;
        QJsonObject causal = rowAsJson(*head, head->fieldNames());
        for (const Section &s : sections) {
            QString sql = rowsOf(s, code);
            if (s.companyColumn && !company.isEmpty())
                sql += QStringLiteral(" AND %1 = %2").arg(QLatin1String(s.companyColumn), company);
            const ado::RecordsetPtr rs = m_connection->Execute(sql + " ORDER BY " + QLatin1String(s.orderBy));
            const QStringList fields = rs->fieldNames();
            if (s.single) {
                causal.insert(QLatin1String(s.key), rs->isEOF() ? QJsonValue(QJsonValue::Null) : QJsonValue(rowAsJson(*rs, fields)));
                continue;
            }
            QJsonArray rows;
            for (; !rs->isEOF(); rs->MoveNext())
                rows.append(rowAsJson(*rs, fields));
            causal.insert(QLatin1String(s.key), rows);
        }
        causals.append(causal);
    }
    QJsonObject doc;
    doc.insert(QStringLiteral("format"), Format);
    doc.insert(QStringLiteral("version"), Version);
    doc.insert(QStringLiteral("causali"), causals);
    return QJsonDocument(doc);
}

bool CausalExchange::readCausal(const QJsonObject &object, const QString &userName, bool replace, Causal *causal,
                                QString *reason) const
{
    auto columnsOf = [this](const char *table) {
        return m_connection->Execute(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(QLatin1String(table)))->fieldNames();
    };
    // Column names become part of the insert statements: only the target's own columns pass.
    auto unknownColumn = [&](const QJsonObject &row, const QStringList &columns, const char *table) {
        for (auto it = row.begin(); it != row.end(); ++it) {
            if (!columns.contains(it.key())) {
                *reason = m_texts.text(Text::UnknownColumn, {it.key(), QLatin1String(table)});
                return true;
            }
        }
        return false;
    };

    if (!object.contains(QLatin1String("CGP0_CAUSALE"))) {
        *reason = m_texts.text(Text::MissingField, {QStringLiteral("CGP0_CAUSALE")});
        return false;
    }
    causal->code = codeText(object.value(QLatin1String("CGP0_CAUSALE")));
    if (const auto refusal = CausalOperations::checkNewCode(causal->code, userName)) {
        *reason = m_texts.text(refusal->textId, refusal->params);
        return false;
    }
    const QStringList headColumns = columnsOf(CausalTable);
    for (const Section &s : sections) {
        const QString key = QLatin1String(s.key);
        if (!object.contains(key)) {
            *reason = m_texts.text(Text::MissingField, {key});
            return false;
        }
        const QJsonValue value = object.value(key);
        QJsonArray rows;
        if (s.single && value.isObject())
            rows.append(value);
        else if (value.isArray())
            rows = value.toArray();
        else if (!(s.single && value.isNull())) {
            *reason = m_texts.text(Text::NotObject, {key});
            return false;
        }
        const QStringList columns = columnsOf(s.table);
        for (const QJsonValue &row : std::as_const(rows)) {
            if (!row.isObject()) {
                *reason = m_texts.text(Text::NotObject, {key});
                return false;
            }
            if (unknownColumn(row.toObject(), columns, s.table))
                return false;
        }
        causal->rows.insert(key, rows);
    }
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!causal->rows.contains(it.key()))
            causal->row.insert(it.key(), it.value());
    }
    if (unknownColumn(causal->row, headColumns, CausalTable))
        return false;
    causal->exists = m_connection->Execute(S::existsCausal(causal->code), 1)->RecordCount() >= 1;
    if (causal->exists && !replace) {
        *reason = m_texts.text(CausalOperations::MsgExists, {causal->code});
        return false;
    }
    return true;
}

QString CausalExchange::write(const Causal &causal) const
{
    QSqlDatabase db = m_connection->database();
    // Answers the driver's message of a refused row, empty when written.
    auto insert = [&](const char *table, const QJsonObject &row) -> QString {
        QStringList columns, marks;
        for (auto it = row.begin(); it != row.end(); ++it) {
            columns << it.key();
            marks << QStringLiteral("?");
        }
        QSqlQuery q(db);
        const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                .arg(QLatin1String(table), columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        if (!q.prepare(sql))
            return q.lastError().text();
        for (auto it = row.begin(); it != row.end(); ++it)
            q.addBindValue(bindable(it.value()));
        return q.exec() ? QString() : q.lastError().text();
    };

    if (causal.exists) {
        for (const Section &s : sections)
            m_connection->Execute(QString(rowsOf(s, causal.code)).replace(QLatin1String("SELECT *"), QLatin1String("DELETE")), 1);
        m_connection->Execute("DELETE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + causal.code, 1);
    }
    QJsonObject head = causal.row;
    head.insert(QStringLiteral("CGP0_CAUSALE"), causal.code.toLongLong());
    if (const QString error = insert(CausalTable, head); !error.isEmpty())
        return error;
    // The rows belong to the causal under which they are imported, whatever their key says.
    for (const Section &s : sections) {
        for (const QJsonValue &value : causal.rows.value(QLatin1String(s.key))) {
            QJsonObject row = value.toObject();
            row.insert(QLatin1String(s.causalColumn), causal.code.toLongLong());
            if (QLatin1String(s.table) == QLatin1String("FW41_SELEZIONEPARAMSCADENZE"))
                row.insert(QStringLiteral("FW41_UOBJECT"), S::UObjectConfig);
            if (const QString error = insert(s.table, row); !error.isEmpty())
                return error;
        }
    }
    return {};
}

QString CausalExchange::ledgerRefusal(const QString &code) const
{
    QStringList reasons;
    for (const auto &f : StoredParameterChecks(m_connection).check(code)) {
        const QString why = f.textId == 0 ? m_texts.text(Text::CodeMissing) : m_texts.text(f.textId, f.params);
        reasons << m_texts.text(Text::LedgerFinding, {f.column, f.value, f.company, why});
    }
    return reasons.join(QStringLiteral("; "));
}

CausalExchange::ImportReport CausalExchange::importCausals(const QByteArray &json, bool replace, const QString &userName)
{
    ImportReport report;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError || !doc.isObject()) {
        report.error = m_texts.text(Text::NotJson, {parseError.errorString()});
        return report;
    }
    const QJsonObject root = doc.object();
    const QJsonValue version = root.value(QLatin1String("version"));
    if (root.value(QLatin1String("format")).toString() != Format || !version.isDouble() || version.toDouble() != Version
        || !root.value(QLatin1String("causali")).isArray()) {
        report.error = m_texts.text(Text::WrongFormat, {Format, QString::number(Version)});
        return report;
    }

    QList<Causal> causals;
    QSet<QString> seen;
    bool refused = false;
    for (const QJsonValue &value : root.value(QLatin1String("causali")).toArray()) {
        Causal causal;
        Outcome outcome;
        if (!value.isObject()) {
            outcome.reason = m_texts.text(Text::NotObject, {QStringLiteral("causali")});
        } else if (readCausal(value.toObject(), userName, replace, &causal, &outcome.reason)) {
            if (seen.contains(causal.code))
                outcome.reason = m_texts.text(Text::Duplicated, {causal.code});
            else
                outcome.result = causal.exists ? Result::Replaced : Result::Added;
        }
        outcome.code = causal.code;
        seen.insert(causal.code);
        refused = refused || outcome.result == Result::Refused;
        report.causals.append(outcome);
        causals.append(causal);
    }
    if (refused)
        return report;

    try {
        ado::TransactionGuard transaction(*m_connection);
        for (const Causal &causal : std::as_const(causals)) {
            if (const QString error = write(causal); !error.isEmpty()) {
                report.error = m_texts.text(Text::DatabaseError, {error});
                return report;
            }
        }
        // Checked after every causal is written, so that causals of the same file may name
        // each other as compensation causals.
        for (Outcome &outcome : report.causals) {
            outcome.reason = ledgerRefusal(outcome.code);
            if (!outcome.reason.isEmpty()) {
                outcome.result = Result::Refused;
                refused = true;
            }
        }
        if (refused)
            return report;
        transaction.commit();
        report.written = true;
    } catch (const ado::AdoError &e) {
        report.error = m_texts.text(Text::DatabaseError, {e.message()});
    }
    return report;
}
