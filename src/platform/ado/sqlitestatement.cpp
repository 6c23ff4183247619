#include "ado/sqlitestatement.h"

#include "ado/adoerror.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>

#include <sqlite3.h>

namespace ado {

AdoError errorFrom(const QSqlError &error, const QString &statement);

sqlite3 *sqliteHandleOf(const QSqlDatabase &db)
{
    const QVariant handle = db.driver() ? db.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

SqliteStatementCache::~SqliteStatementCache()
{
    clear();
}

sqlite3_stmt *SqliteStatementCache::take(const QByteArray &text)
{
    const auto it = m_kept.constFind(text);
    if (it == m_kept.cend())
        return nullptr;
    sqlite3_stmt *statement = it.value()->statement;
    m_order.erase(it.value());
    m_kept.erase(it);
    return statement;
}

void SqliteStatementCache::give(const QByteArray &text, sqlite3_stmt *statement)
{
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    if (m_capacity <= 0 || m_kept.contains(text)) {
        sqlite3_finalize(statement);
        return;
    }
    if (int(m_order.size()) >= m_capacity) {
        sqlite3_finalize(m_order.back().statement);
        m_kept.remove(m_order.back().text);
        m_order.pop_back();
    }
    m_order.push_front({text, statement});
    m_kept.insert(text, m_order.begin());
}

void SqliteStatementCache::clear()
{
    for (const Kept &kept : m_order)
        sqlite3_finalize(kept.statement);
    m_order.clear();
    m_kept.clear();
}

SqliteStatement::SqliteStatement(sqlite3 *db, const QString &native, const QString &tsql) : m_db(db), m_tsql(tsql)
{
    prepare(native.toUtf8());
}

SqliteStatement::SqliteStatement(sqlite3 *db, const QByteArray &native, const QString &tsql, SqliteStatementCache *cache)
    : m_db(db), m_cache(cache), m_native(native), m_tsql(tsql)
{
    if (m_cache)
        m_stmt = m_cache->take(native);
    if (m_stmt) {
        m_columns = sqlite3_column_count(m_stmt);
        m_texts.resize(sqlite3_bind_parameter_count(m_stmt));
        return;
    }
    prepare(native);
}

void SqliteStatement::prepare(const QByteArray &text)
{
    const char *tail = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_stmt, &tail);
    if (rc != SQLITE_OK)
        fail("Unable to execute statement", rc);
    // Like Qt's driver, one statement a call: what follows the first would be dropped unseen.
    if (tail && !QByteArrayView(tail, text.constData() + text.size() - tail).trimmed().isEmpty()) {
        // Thrown from a constructor: no destructor will finalize it.
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        fail("Unable to execute multiple statements at a time", SQLITE_MISUSE);
    }
    if (!m_stmt)
        fail("Unable to execute statement", SQLITE_MISUSE);  // nothing but blanks and comments
    m_columns = sqlite3_column_count(m_stmt);
    m_texts.resize(sqlite3_bind_parameter_count(m_stmt));
}

SqliteStatement::~SqliteStatement()
{
    if (m_cache && m_stmt && !m_failed)
        m_cache->give(m_native, m_stmt);
    else
        sqlite3_finalize(m_stmt);
}

void SqliteStatement::fail(const char *description, int code) const
{
    m_failed = true;
    // The message SQLite gives for the connection's last error, as Qt's driver reports it.
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    const QSqlError error(QString::fromLatin1(description), message, QSqlError::StatementError, QString::number(code));
    throw errorFrom(error, m_tsql);
}

bool SqliteStatement::returnsRows() const
{
    return m_columns > 0;
}

int SqliteStatement::columnCount() const
{
    // Asked each time: a step may have prepared the statement again with other columns.
    return sqlite3_column_count(m_stmt);
}

QStringList SqliteStatement::columnNames() const
{
    const int columns = columnCount();
    QStringList names;
    names.reserve(columns);
    for (int i = 0; i < columns; ++i) {
        // Qt's driver drops the quotes SQLite keeps in the name of a quoted expression.
        QString name = QString::fromUtf8(sqlite3_column_name(m_stmt, i));
        names.append(name.contains(u'"') ? name.remove(u'"') : name);
    }
    return names;
}

void SqliteStatement::bindText(int position, const QString &value)
{
    if (position < 0 || position >= m_texts.size())
        fail("Parameter count mismatch", SQLITE_RANGE);
    // Kept in the statement, so SQLite reads it where it is instead of copying it.
    m_texts[position] = value.toUtf8();
    const QByteArray &text = m_texts.at(position);
    const int rc = sqlite3_bind_text(m_stmt, position + 1, text.constData(), int(text.size()), SQLITE_STATIC);
    if (rc != SQLITE_OK)
        fail("Unable to bind parameters", rc);
}

void SqliteStatement::bindInteger(int position, qint64 value)
{
    const int rc = sqlite3_bind_int64(m_stmt, position + 1, value);
    if (rc != SQLITE_OK)
        fail("Unable to bind parameters", rc);
}

void SqliteStatement::bindNull(int position)
{
    const int rc = sqlite3_bind_null(m_stmt, position + 1);
    if (rc != SQLITE_OK)
        fail("Unable to bind parameters", rc);
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    // A generic error tells its cause only once the statement is reset.
    const int code = rc == SQLITE_ERROR ? sqlite3_reset(m_stmt) : rc;
    if (rc != SQLITE_ERROR)
        sqlite3_reset(m_stmt);
    fail("Unable to fetch row", code);
}

QVariant SqliteStatement::value(int column) const
{
    switch (sqlite3_column_type(m_stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(qlonglong(sqlite3_column_int64(m_stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_stmt, column));
    case SQLITE_NULL:
        return QVariant();
    case SQLITE_BLOB: {
        const void *blob = sqlite3_column_blob(m_stmt, column);
        return QVariant(QByteArray(static_cast<const char *>(blob), sqlite3_column_bytes(m_stmt, column)));
    }
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
        return QVariant(QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column)));
    }
    }
}

void SqliteStatement::reset()
{
    sqlite3_reset(m_stmt);
}

int SqliteStatement::changes() const
{
    return sqlite3_changes(m_db);
}

} // namespace ado
