#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVarLengthArray>
#include <list>

class QSqlDatabase;
struct sqlite3;
struct sqlite3_stmt;

namespace ado {

class AdoError;

// Statements of the embedded database kept prepared for the next time the same text runs:
// within one action the window runs some statements again (the causal's description, its
// due-date selection), and statements with no value in them at every action. Parsing is a
// third of what SQLite does for the module's short statements.
class SqliteStatementCache
{
public:
    explicit SqliteStatementCache(int capacity = 64) : m_capacity(capacity) {}
    ~SqliteStatementCache();
    SqliteStatementCache(const SqliteStatementCache &) = delete;
    SqliteStatementCache &operator=(const SqliteStatementCache &) = delete;

    // The statement kept for that text, now the caller's; nullptr when none is kept.
    sqlite3_stmt *take(const QByteArray &text);
    // Keeps a statement that ran to its end, reset; the one unused longest goes when full.
    void give(const QByteArray &text, sqlite3_stmt *statement);
    // Finalizes every statement kept: before the connection closes.
    void clear();

private:
    struct Kept
    {
        QByteArray text;
        sqlite3_stmt *statement;
    };
    // Most recently given back first; the index finds a text's place in it.
    std::list<Kept> m_order;
    QHash<QByteArray, std::list<Kept>::iterator> m_kept;
    int m_capacity;
};

// One statement of the embedded database run through SQLite's own interface. Qt's driver
// converts every statement and every value through UTF-16 and keeps a row cache of its own:
// for the module's short statements that costs as much as SQLite takes to run them. Values
// come back as Qt's driver gives them (integers as qlonglong, reals as double, texts as
// QString, blobs as QByteArray; NULL as an invalid QVariant), errors as it reports them.
class SqliteStatement
{
public:
    // Prepares the native text; tsql names the statement in errors. Throws AdoError.
    SqliteStatement(sqlite3 *db, const QString &native, const QString &tsql);
    // The same, taking the statement from the cache when it keeps one for that text, and
    // giving it back when it has run without error.
    SqliteStatement(sqlite3 *db, const QByteArray &native, const QString &tsql, SqliteStatementCache *cache);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // A statement that returns columns (a SELECT, a PRAGMA that answers).
    bool returnsRows() const;
    QStringList columnNames() const;
    int columnCount() const;

    // 0-based positions. A text is kept until the statement runs again.
    void bindText(int position, const QString &value);
    void bindInteger(int position, qint64 value);
    void bindNull(int position);

    // The next row: false when there is none. Throws AdoError.
    bool step();
    QVariant value(int column) const;
    // Ready to run again with the values bound next.
    void reset();
    // Rows the last INSERT, UPDATE or DELETE changed.
    int changes() const;

private:
    [[noreturn]] void fail(const char *description, int code) const;
    void prepare(const QByteArray &text);

    sqlite3 *m_db;
    SqliteStatementCache *m_cache = nullptr;
    QByteArray m_native;            // the cache's key
    mutable bool m_failed = false;  // never given back to the cache
    sqlite3_stmt *m_stmt = nullptr;
    QString m_tsql;
    int m_columns = 0;
    QVarLengthArray<QByteArray, 12> m_texts;
};

// The handle of the embedded database behind a Qt connection, or nullptr (ODBC, closed).
sqlite3 *sqliteHandleOf(const QSqlDatabase &db);

} // namespace ado
