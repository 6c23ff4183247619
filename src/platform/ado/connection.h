#pragma once

#include <QSqlDatabase>
#include <QSqlIndex>
#include <QSqlRecord>
#include <QString>
#include <functional>
#include <memory>

namespace ado {

class Recordset;
using RecordsetPtr = std::shared_ptr<Recordset>;

enum class Dialect { SqlServer, Sqlite };
// The State of a connection or recordset, as ADO numbers it.
enum class ObjectState { Closed = 0, Open = 1 };

// A database connection in the manner of an ADO connection with a client-side cursor.
// "sqlite:PATH" or a bare path ending in .db opens the embedded driver; a string with
// "Driver=", "DSN=" or "FILEDSN=" opens ODBC. Statements are T-SQL: on a SQLite database they
// pass through the dialect rewriter, on SQL Server they are sent unchanged. Over ODBC the
// dialect is that of the engine the driver reports (SQLite, or else SQL Server); a
// "Dialect=SqlServer" or "Dialect=Sqlite" pair forces it and is not passed to the driver.
// Every connection waits at most busyTimeout() for another session's lock.
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    QString ConnectionString() const;
    void setConnectionString(const QString &connectionString);

    // An empty connectionString keeps the one already set. Throws AdoError(ConnectionFailed).
    void Open(const QString &connectionString = {}, const QString &user = {},
              const QString &password = {}, int options = -1);
    void Close();
    ObjectState State() const;

    Dialect dialect() const;

    // Runs one statement. A SELECT comes back fully read, with an exact RecordCount; other
    // statements return an empty, closed-for-rows recordset. Throws AdoError.
    RecordsetPtr Execute(const QString &sql, int options = -1, int *recordsAffected = nullptr);

    // Nested calls are refused; on SQLite the transaction starts as BEGIN IMMEDIATE so a
    // writer waits for the lock (busy timeout) before its first statement, not in the middle.
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    bool inTransaction() const;
    // Work that only holds if the open transaction commits: when it rolls back (or the
    // connection closes inside it), undo runs, latest first; a commit drops it. A recordset
    // that wrote its rows inside another's transaction makes them pending again this way.
    void onRollback(std::function<void()> undo);
    // Work that waits for the open transaction to commit (run in order after it did); dropped
    // when it rolls back. Outside a transaction it runs at once.
    void onCommit(std::function<void()> done);

    // True when the database can be read but not written (an embedded file opened read-only).
    bool isReadOnly() const;

    // The statement text as it is sent to the driver (rewritten for SQLite).
    QString nativeSql(const QString &tsql) const;
    // The embedded database keeps the statements it ran last prepared, for when the same text
    // runs again; this lets them go, so that the next run of each prepares it anew.
    void clearStatementCache();

    // The Qt connection behind this object, for prepared statements with bound values.
    QSqlDatabase database() const;

    // How long a statement waits for another session's lock, in milliseconds (default 5000):
    // SQLite's busy timeout, SQL Server's LOCK_TIMEOUT; the SQLite ODBC driver takes it when the
    // connection opens.
    void setBusyTimeout(int milliseconds);
    int busyTimeout() const;

    // Whether a connection string opens ODBC rather than an embedded database file.
    static bool isOdbc(const QString &connectionString);
    // The string handed to Qt's ODBC driver: without "Dialect=", and a data source name in the
    // form that driver expects.
    static QString odbcDriverString(const QString &connectionString);
    static Dialect dialectNamed(const QString &name);
    static Dialect dialectForDbms(const QString &dbmsName);

    // The statements of a connection the product opens go to the statement log (when a log is
    // set); a test's own connections stay out of it.
    void setStatementsLogged(bool logged);
    bool statementsLogged() const;

    // Drops the reads kept for the action under way: a statement other than a read was sent.
    void forgetReads() const;
    // Whether a statement only reads (a SELECT).
    static bool isRead(const QString &sql);

    // A table's columns and primary key, asked of the database once while the connection is
    // open: on the server each question is a round trip, and a window writes the same tables at
    // every save. A table not found is asked again next time: it may be created meanwhile.
    struct TableShape
    {
        QSqlRecord record;
        QSqlIndex primary;
    };
    TableShape tableShape(const QString &table) const;
    // The shapes of several tables, kept as tableShape() keeps them: a window asks those of the
    // tables it writes as it opens, instead of two catalogue questions per table at its first
    // save. The server is asked in one statement; the embedded database answers from the schema
    // it holds, without one. A table not found is left to be asked alone.
    void describeTables(const QStringList &tables) const;
    // The statement describeTables() sends: a row per column of the named tables (TABLE_NAME,
    // COLUMN_NAME, KEY_POSITION: its place in the primary key, 0 outside it), in table order.
    static QString tableShapesStatement(Dialect dialect, const QStringList &tables);
    // Whether the database has the table: one described or found before is not asked again
    // (tables are not dropped under an open window); one not found is asked again next time.
    bool hasTable(const QString &table) const;

    // The connection string with any password replaced by "****", for messages and traces.
    static QString maskPassword(const QString &connectionString);

private:
    RecordsetPtr run(const QString &sql, int options, int *recordsAffected);

    struct Private;
    std::unique_ptr<Private> d;
};

using ConnectionPtr = std::shared_ptr<Connection>;

// One user action (a button, a field left, a row chosen): while one is open, a read that a
// connection already ran in the same action is answered with the rows it gave then, not sent
// again. Any other statement on that connection (a write, a transaction) forgets them, and so
// does the end of the action: the next action reads the database afresh, another user's
// changes included. Scopes nest; the outermost one is the action.
class ReadScope
{
public:
    ReadScope();
    ~ReadScope();
    ReadScope(const ReadScope &) = delete;
    ReadScope &operator=(const ReadScope &) = delete;
    // The action open now, 0 when none.
    static quint64 current();
};

} // namespace ado
