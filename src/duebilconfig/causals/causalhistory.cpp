#include "causals/causalhistory.h"

#include "ado/adoerror.h"
#include "ado/command.h"
#include "ado/transactionguard.h"
#include "framework/instanceid.h"
#include "store/moduletables.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <array>
#include <utility>

namespace {

using Change = CausalConfiguration::Change;

// The history's key and value columns hold compact JSON objects. A duplication writes one
// for every row it adds, in every company, so they are written straight from the values
// rather than through a QJsonDocument; the text is the same, keys sorted as Qt sorts them.
void appendJson(QString &out, const QString &text)
{
    out += u'"';
    // Runs of characters that need no escape (nearly every value) are appended whole.
    const QChar *run = text.constData();
    const QChar *const end = run + text.size();
    for (const QChar *p = run; p != end; ++p) {
        const char16_t u = p->unicode();
        if (u >= 0x20 && u != u'"' && u != u'\\')
            continue;
        out.append(run, p - run);
        run = p + 1;
        const QChar c = *p;
        switch (c.unicode()) {
        case '"': out += QLatin1String("\\\""); break;
        case '\\': out += QLatin1String("\\\\"); break;
        case '\b': out += QLatin1String("\\b"); break;
        case '\f': out += QLatin1String("\\f"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        }
    }
    out.append(run, end - run);
    out += u'"';
}

void appendJson(QString &out, const QVariant &value)
{
    if (value.isNull()) {
        out += QLatin1String("null");
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
        out += QString::number(value.toLongLong());
        return;
    case QMetaType::QString:
        appendJson(out, value.toString());
        return;
    default: {
        // Anything else as Qt writes it, without the array around it.
        const QByteArray one = QJsonDocument(QJsonArray{QJsonValue::fromVariant(value)}).toJson(QJsonDocument::Compact);
        out += QString::fromUtf8(one.mid(1, one.size() - 2));
    }
    }
}

// A changed column's [old, new].
void appendJson(QString &out, const QPair<QVariant, QVariant> &change)
{
    out += u'[';
    appendJson(out, change.first);
    out += u',';
    appendJson(out, change.second);
    out += u']';
}

// column -> value, or column -> [old, new].
template <typename Value>
QString jsonObject(const QList<QPair<QString, Value>> &members)
{
    QList<const QPair<QString, Value> *> sorted;
    sorted.reserve(members.size());
    for (const auto &m : members)
        sorted.append(&m);
    std::sort(sorted.begin(), sorted.end(), [](const auto *a, const auto *b) { return a->first < b->first; });
    QString out = QStringLiteral("{");
    out.reserve(32 * members.size() + 2);
    for (const auto *m : std::as_const(sorted)) {
        if (out.size() > 1)
            out += u',';
        appendJson(out, m->first);
        out += u':';
        appendJson(out, m->second);
    }
    out += u'}';
    return out;
}

ado::AdoError failure(const QSqlQuery &q, const QString &sql)
{
    return ado::AdoError(ado::AdoError::Generic, q.lastError().text(), sql);
}

// The history's rows, of every causal or of one, since a moment or ever, newest first: the
// query is executed and positioned before its first row.
void runRead(QSqlQuery &q, const QString &code, const QString &since)
{
    const QString sql = DueBilStatements::historyRead(!code.isEmpty(), !since.isEmpty());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw failure(q, sql);
    if (!code.isEmpty())
        q.addBindValue(code.toInt());
    if (!since.isEmpty())
        q.addBindValue(since);
    if (!q.exec())
        throw failure(q, sql);
}

// The columns of a history row, in the order of the insert's columns.
constexpr int InsertColumns = 9;
using InsertRow = std::array<QVariant, InsertColumns>;

// A column a history row carries to another database, and its place among the columns the
// history's insert writes and its read gives: the table's columns in their order, but the row
// id the database numbers.
struct CarriedColumn
{
    QString name;
    int place = 0;
    bool whole = false;  // the drivers give numbers as they like: an indicator is read as a whole number
};

struct HistoryLayout
{
    QList<CarriedColumn> carried;  // every written column but the causal
    int causalPlace = 0;
};

const HistoryLayout &historyLayout()
{
    static const HistoryLayout layout = [] {
        const ModuleTables::Table *table = ModuleTables::find(DueBilStatements::HistoryTable);
        Q_ASSERT(table && table->causalColumn);
        HistoryLayout l;
        int place = 0;
        for (const ModuleTables::Column &c : table->columns) {
            if (c.generated)
                continue;
            if (QLatin1String(c.name) == QLatin1String(table->causalColumn))
                l.causalPlace = place;
            else
                l.carried.append({QLatin1String(c.name), place,
                                  c.type == ModuleTables::Type::Integer || c.type == ModuleTables::Type::Flag});
            ++place;
        }
        Q_ASSERT(place == InsertColumns);
        return l;
    }();
    return layout;
}

// Every row written to the history goes through here, as many rows a statement as the
// statement takes: a copy or a delete records dozens of rows, and each statement is a round
// trip on the server. A text is bound as text, anything else as a whole number.
void insertRows(ado::Connection &connection, const QList<InsertRow> &rows)
{
    for (qsizetype first = 0; first < rows.size(); first += DueBilStatements::HistoryRowsPerInsert) {
        const qsizetype count = std::min<qsizetype>(DueBilStatements::HistoryRowsPerInsert, rows.size() - first);
        const QString sql = DueBilStatements::historyInsert(int(count));
        try {
            ado::Command insert(connection, sql);
            for (qsizetype i = 0; i < count; ++i) {
                const InsertRow &row = rows.at(first + i);
                for (int c = 0; c < InsertColumns; ++c) {
                    const int at = int(i) * InsertColumns + c;
                    if (row.at(c).typeId() == QMetaType::QString)
                        insert.bind(at, row.at(c).toString());
                    else
                        insert.bind(at, qint64(row.at(c).toLongLong()));
                }
            }
            insert.Execute();
        } catch (const ado::AdoError &e) {
            throw ado::AdoError(ado::AdoError::Generic, e.message(), sql);
        }
    }
}

} // namespace

CausalHistory::CausalHistory(ado::Connection &connection, QString userName)
    : m_connection(connection), m_userName(std::move(userName))
{
}

bool CausalHistory::exists(ado::Connection &connection)
{
    return connection.hasTable(TableName);
}

bool CausalHistory::enabled()
{
    if (!m_enabled)
        m_enabled = exists(m_connection);
    return *m_enabled;
}

CausalConfiguration CausalHistory::snapshot(const QString &code, const CausalConfiguration::Scope &scope)
{
    return enabled() ? CausalConfiguration::read(m_connection, code, scope) : CausalConfiguration(scope);
}

void CausalHistory::begin(const QString &code, const CausalConfiguration::Scope &scope)
{
    if (!enabled() || code.isEmpty() || (m_begun && m_begun->first == code))
        return;
    m_begun.emplace(code, CausalConfiguration::read(m_connection, code, scope));
}

void CausalHistory::begin(const QString &code, const std::function<CausalConfiguration()> &held)
{
    if (!enabled() || code.isEmpty() || (m_begun && m_begun->first == code))
        return;
    m_begun.emplace(code, held());
}

int CausalHistory::finish(Operation operation, const CausalConfiguration &after)
{
    if (!m_begun)
        return 0;
    const int rows = record(operation, m_begun->first, CausalConfiguration::diff(m_begun->second, after));
    m_begun.reset();
    return rows;
}

int CausalHistory::finish(Operation operation)
{
    if (!m_begun)
        return 0;
    // Kept until it is written, so that a record the user asks to try again has its before.
    const int rows = record(operation, m_begun->first, m_begun->second);
    m_begun.reset();
    return rows;
}

void CausalHistory::discard()
{
    m_begun.reset();
}

int CausalHistory::record(Operation operation, const QString &code, const CausalConfiguration &before)
{
    if (!enabled())
        return 0;
    return record(operation, code,
                  CausalConfiguration::diff(before, CausalConfiguration::read(m_connection, code, before.scope())));
}

int CausalHistory::record(Operation operation, const QString &code, const QList<Change> &changes)
{
    if (!enabled() || changes.isEmpty())
        return 0;
    // The changed columns of one row come one after the other: they make one history row.
    struct Written
    {
        QString table;
        RowKind kind;
        QList<QPair<QString, QVariant>> key;
        QList<QPair<QString, QPair<QVariant, QVariant>>> values;  // column -> old, new
    };
    QList<Written> rows;
    for (const Change &c : changes) {
        if (c.kind == Change::ValueChanged) {
            if (rows.isEmpty() || rows.last().kind != RowKind::Changed || rows.last().table != c.table
                || rows.last().key != c.key)
                rows.append({c.table, RowKind::Changed, c.key, {}});
            rows.last().values.append({c.column, {c.before, c.after}});
            continue;
        }
        // A row added has no old values, a row removed no new ones.
        const bool added = c.kind == Change::RowAdded;
        Written row{c.table, added ? RowKind::Added : RowKind::Removed, c.key, {}};
        row.values.reserve(c.values.size());
        for (const auto &[column, value] : c.values)
            row.values.append({column, added ? qMakePair(QVariant(), value) : qMakePair(value, QVariant())});
        rows.append(row);
    }

    // An operation without a transaction of its own (the window's save) still has its record
    // written whole, and in one commit.
    std::optional<ado::TransactionGuard> transaction;
    if (!m_connection.inTransaction())
        transaction.emplace(m_connection);
    const QString id = InstanceId::GeneraGuid();
    const QString when = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    const QString user = m_userName.isNull() ? QStringLiteral("") : m_userName;  // an unknown user is no NULL
    QList<InsertRow> inserted;
    inserted.reserve(rows.size());
    for (const Written &row : std::as_const(rows))
        inserted.append({id, qint64(code.toInt()), when, user, qint64(operation), row.table, qint64(row.kind),
                         jsonObject(row.key), jsonObject(row.values)});
    insertRows(m_connection, inserted);
    if (transaction)
        transaction->commit();
    return int(rows.size());
}

int CausalHistory::recordCompletion(const QString &company, const QList<QPair<QString, int>> &added)
{
    QList<Change> changes;
    for (const auto &[table, count] : added) {
        if (count <= 0)
            continue;
        Change c;
        c.kind = Change::RowAdded;
        c.table = table;
        if (const ModuleTables::Table *t = ModuleTables::find(table); t && t->companyColumn)
            c.key = {{QLatin1String(t->companyColumn), company.toInt()}};
        c.values = {{QStringLiteral("righe"), count}};
        changes.append(c);
    }
    return record(Operation::Completion, QString::number(EveryCausal), changes);
}

QList<CausalHistory::Entry> CausalHistory::read(ado::Connection &connection, const QString &code, const QString &since)
{
    QList<Entry> entries;
    read(connection, code, since, 0, [&entries](const Entry &e) { entries.append(e); });
    return entries;
}

int CausalHistory::read(ado::Connection &connection, const QString &code, const QString &since, int limit,
                        const std::function<void(const Entry &)> &each)
{
    if (!exists(connection))
        return 0;
    QSqlQuery q(connection.database());
    runRead(q, code, since);
    // The rows come newest first: an operation is complete when the next one's first row comes.
    int given = 0;
    std::optional<Entry> entry;
    QString current;
    auto give = [&] {
        std::reverse(entry->rows.begin(), entry->rows.end());
        each(*entry);
        ++given;
        entry.reset();
    };
    while (q.next()) {
        const QString id = q.value(0).toString();
        if (!entry || id != current) {
            if (entry)
                give();
            if (limit > 0 && given == limit)
                return given;
            current = id;
            entry.emplace(Entry{q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                                Operation(q.value(4).toInt()), {}});
        }
        entry->rows.append({q.value(5).toString(), RowKind(q.value(6).toInt()),
                            QJsonDocument::fromJson(q.value(7).toString().toUtf8()).object(),
                            QJsonDocument::fromJson(q.value(8).toString().toUtf8()).object()});
    }
    // A read that fails half way is an error, never a record that looks shorter.
    if (q.lastError().isValid())
        throw failure(q, q.lastQuery());
    if (entry)
        give();
    return given;
}

const QStringList &CausalHistory::storedColumns()
{
    static const QStringList columns = [] {
        QStringList names;
        for (const CarriedColumn &c : historyLayout().carried)
            names << c.name;
        return names;
    }();
    return columns;
}

QList<QVariantList> CausalHistory::storedRows(ado::Connection &connection, const QString &code)
{
    QSqlQuery q(connection.database());
    runRead(q, code, {});
    QList<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (const CarriedColumn &c : historyLayout().carried)
            row << (c.whole ? QVariant(q.value(c.place).toLongLong()) : QVariant(q.value(c.place).toString()));
        rows.append(row);
    }
    std::reverse(rows.begin(), rows.end());
    return rows;
}

int CausalHistory::restore(ado::Connection &connection, const QString &code, const QList<QVariantList> &rows)
{
    const auto signature = [](const QVariantList &row) {
        QStringList texts;
        for (const QVariant &v : row)
            texts << v.toString();
        return texts.join(QChar(0x1f));
    };
    QSet<QString> stored;
    for (const QVariantList &row : storedRows(connection, code))
        stored.insert(signature(row));
    QList<InsertRow> inserted;
    for (const QVariantList &row : rows) {
        if (stored.contains(signature(row)))
            continue;
        stored.insert(signature(row));
        // The carried columns around the causal's, which is this causal.
        const HistoryLayout &layout = historyLayout();
        InsertRow values;
        values[layout.causalPlace] = qint64(code.toInt());
        for (int i = 0; i < row.size() && i < layout.carried.size(); ++i) {
            const QVariant &v = row.at(i);
            values[layout.carried.at(i).place] = v.typeId() == QMetaType::QString ? v : QVariant(v.toLongLong());
        }
        inserted.append(values);
    }
    insertRows(connection, inserted);
    return int(inserted.size());
}
