#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVarLengthArray>

class QSqlDatabase;
struct sqlite3;
struct sqlite3_stmt;

namespace ado {

class AdoError;

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
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    // A statement that returns columns (a SELECT, a PRAGMA that answers).
    bool returnsRows() const;
    QStringList columnNames() const;
    int columnCount() const { return m_columns; }

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

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    QString m_tsql;
    int m_columns = 0;
    QVarLengthArray<QByteArray, 12> m_texts;
};

// The handle of the embedded database behind a Qt connection, or nullptr (ODBC, closed).
sqlite3 *sqliteHandleOf(const QSqlDatabase &db);

} // namespace ado
