#include "causalhistory.h"

#include "adoerror.h"
#include "instanceid.h"
#include "transactionguard.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <utility>

namespace {

using Change = CausalConfiguration::Change;

QJsonObject objectOf(const QList<QPair<QString, QVariant>> &pairs)
{
    QJsonObject o;
    for (const auto &[column, value] : pairs)
        o.insert(column, QJsonValue::fromVariant(value));
    return o;
}

QString compact(const QJsonObject &o)
{
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

ado::AdoError failure(const QSqlQuery &q, const QString &sql)
{
    return ado::AdoError(ado::AdoError::Generic, q.lastError().text(), sql);
}

} // namespace

CausalHistory::CausalHistory(ado::Connection &connection, QString userName)
    : m_connection(connection), m_userName(std::move(userName))
{
}

bool CausalHistory::exists(ado::Connection &connection)
{
    return connection.database().tables().contains(TableName, Qt::CaseInsensitive);
}

bool CausalHistory::enabled()
{
    if (!m_enabled)
        m_enabled = exists(m_connection);
    return *m_enabled;
}

CausalConfiguration CausalHistory::snapshot(const QString &code)
{
    return enabled() ? CausalConfiguration::read(m_connection, code) : CausalConfiguration();
}

void CausalHistory::begin(const QString &code)
{
    if (!enabled() || code.isEmpty() || (m_begun && m_begun->first == code))
        return;
    m_begun.emplace(code, CausalConfiguration::read(m_connection, code));
}

int CausalHistory::finish(Operation operation)
{
    if (!m_begun)
        return 0;
    const auto [code, before] = *std::exchange(m_begun, std::nullopt);
    return record(operation, code, before);
}

void CausalHistory::discard()
{
    m_begun.reset();
}

int CausalHistory::record(Operation operation, const QString &code, const CausalConfiguration &before)
{
    if (!enabled())
        return 0;
    return record(operation, code, CausalConfiguration::diff(before, CausalConfiguration::read(m_connection, code)));
}

int CausalHistory::record(Operation operation, const QString &code, const QList<Change> &changes)
{
    if (!enabled() || changes.isEmpty())
        return 0;
    // The changed columns of one row come one after the other: they make one history row.
    QList<RowChange> rows;
    for (const Change &c : changes) {
        const QJsonObject key = objectOf(c.key);
        if (c.kind == Change::ValueChanged) {
            if (rows.isEmpty() || rows.last().kind != RowKind::Changed || rows.last().table != c.table
                || rows.last().key != key)
                rows.append({c.table, RowKind::Changed, key, {}});
            rows.last().values.insert(
                c.column, QJsonArray{QJsonValue::fromVariant(c.before), QJsonValue::fromVariant(c.after)});
            continue;
        }
        const bool added = c.kind == Change::RowAdded;
        RowChange row{c.table, added ? RowKind::Added : RowKind::Removed, key, {}};
        for (const auto &[column, value] : c.values) {
            const QJsonValue v = QJsonValue::fromVariant(value);
            row.values.insert(column, added ? QJsonArray{QJsonValue(), v} : QJsonArray{v, QJsonValue()});
        }
        rows.append(row);
    }

    const QString sql = "INSERT INTO " + TableName
        + " (CGPL_IDOPERAZIONE, CGPL_CAUSALE_CGP0, CGPL_DATAORA, CGPL_UTENTE, CGPL_INDOPERAZIONE, CGPL_TABELLA,"
          " CGPL_INDMODIFICA, CGPL_CHIAVE, CGPL_VALORI) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)";
    // An operation without a transaction of its own (the window's save) still has its record
    // written whole, and in one commit rather than one per row.
    std::optional<ado::TransactionGuard> transaction;
    if (!m_connection.inTransaction())
        transaction.emplace(m_connection);
    QSqlQuery q(m_connection.database());
    if (!q.prepare(sql))
        throw failure(q, sql);
    const QString id = InstanceId::GeneraGuid();
    const QString when = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    for (const RowChange &row : rows) {
        q.addBindValue(id);
        q.addBindValue(code.toInt());
        q.addBindValue(when);
        q.addBindValue(m_userName.isNull() ? QStringLiteral("") : m_userName);  // an unknown user is no NULL
        q.addBindValue(int(operation));
        q.addBindValue(row.table);
        q.addBindValue(int(row.kind));
        q.addBindValue(compact(row.key));
        q.addBindValue(compact(row.values));
        if (!q.exec())
            throw failure(q, sql);
    }
    if (transaction)
        transaction->commit();
    return int(rows.size());
}

QList<CausalHistory::Entry> CausalHistory::read(ado::Connection &connection, const QString &code, const QString &since)
{
    if (!exists(connection))
        return {};
    QString sql = "SELECT CGPL_IDOPERAZIONE, CGPL_CAUSALE_CGP0, CGPL_DATAORA, CGPL_UTENTE, CGPL_INDOPERAZIONE,"
                  " CGPL_TABELLA, CGPL_INDMODIFICA, CGPL_CHIAVE, CGPL_VALORI FROM "
        + TableName + " WHERE 1 = 1";
    if (!code.isEmpty())
        sql += QStringLiteral(" AND CGPL_CAUSALE_CGP0 = ?");
    if (!since.isEmpty())
        sql += QStringLiteral(" AND CGPL_DATAORA >= ?");
    // Newest first; the rows of each operation are put back in the order they were recorded.
    sql += QStringLiteral(" ORDER BY CGPL_ID DESC");
    QSqlQuery q(connection.database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw failure(q, sql);
    if (!code.isEmpty())
        q.addBindValue(code.toInt());
    if (!since.isEmpty())
        q.addBindValue(since);
    if (!q.exec())
        throw failure(q, sql);
    QList<Entry> entries;
    QString current;
    while (q.next()) {
        const QString id = q.value(0).toString();
        if (entries.isEmpty() || id != current) {
            current = id;
            entries.append({q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                            Operation(q.value(4).toInt()), {}});
        }
        entries.last().rows.append({q.value(5).toString(), RowKind(q.value(6).toInt()),
                                    QJsonDocument::fromJson(q.value(7).toString().toUtf8()).object(),
                                    QJsonDocument::fromJson(q.value(8).toString().toUtf8()).object()});
    }
    for (Entry &e : entries)
        std::reverse(e.rows.begin(), e.rows.end());
    return entries;
}
