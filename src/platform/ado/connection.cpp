#include "ado/connection.h"

#include <QUuid>

#include "ado/adoerror.h"
#include "ado/numerdesc.h"
#include "ado/recordset.h"
#include "ado/recordset_p.h"
#include "ado/sqlitestatement.h"
#include "ado/sqlrewriter.h"
#include "ado/statementlog.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSqlField>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <optional>
#include <vector>

#include <sqlite3.h>
#include <sql.h>
#include <sqlext.h>

namespace ado {

namespace {

QString nextConnectionName()
{
    // The host and each plug-in carry their own copy of this layer, while Qt keeps one list of
    // connections per process: the name must be unique across the copies, not only within one.
    static QAtomicInt counter;
    static const QString copy = QUuid::createUuid().toString(QUuid::Id128).left(8);
    return QStringLiteral("ado-%1-%2").arg(copy).arg(counter.fetchAndAddRelaxed(1));
}

// A "KEY=value" pair at the start of a connection string or after a ";".
QRegularExpression pairPattern(const char *key)
{
    return QRegularExpression(QStringLiteral("(^|;)\\s*%1\\s*=\\s*([^;]*)").arg(QLatin1String(key)),
                              QRegularExpression::CaseInsensitiveOption);
}

bool hasPair(const QString &cs, const char *key)
{
    return pairPattern(key).match(cs).hasMatch();
}

// The name the ODBC driver gives its database engine (SQLGetInfo SQL_DBMS_NAME), empty when
// the handle is not an ODBC connection.
QString odbcDbmsName(const QSqlDatabase &db)
{
    // Qt's ODBC driver hands its connection handle over as a plain pointer.
    const QVariant handle = db.driver()->handle();
    if (db.driverName() != QLatin1String("QODBC") || !handle.isValid()
        || (qstrcmp(handle.typeName(), "void*") != 0 && qstrcmp(handle.typeName(), "SQLHANDLE") != 0))
        return {};
    SQLHANDLE hdbc = *static_cast<SQLHANDLE const *>(handle.data());
    SQLCHAR name[256] = {};
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetInfo(hdbc, SQL_DBMS_NAME, name, SQLSMALLINT(sizeof name), &length)))
        return {};
    return QString::fromUtf8(reinterpret_cast<const char *>(name)).trimmed();
}

QString sqlitePath(const QString &cs)
{
    if (cs.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive))
        return cs.mid(7);
    return cs;
}

} // namespace

AdoError errorFrom(const QSqlError &error, const QString &statement)
{
    const QString text = error.text();
    const QString lower = text.toLower();
    const QString code = error.nativeErrorCode();
    AdoError::Kind kind = AdoError::Generic;
    // SQLite result codes 5/6 (busy, locked), 13 (full), 19 (constraint); ODBC SQLSTATEs
    // and SQL Server texts for the same conditions. SQL Server's lock time-out (1222) and
    // deadlock victim (1205) are the embedded database's "locked": the same message, and
    // repeating the statement may succeed.
    if (code == QLatin1String("5") || code == QLatin1String("6") || lower.contains(QLatin1String("locked"))
        || lower.contains(QLatin1String("busy")) || lower.contains(QLatin1String("timeout expired"))
        || lower.contains(QLatin1String("deadlock")) || lower.contains(QLatin1String("lock request time out"))
        || code.contains(QLatin1String("HYT00")) || code.contains(QLatin1String("40001"))
        || code.split(QLatin1Char(';')).contains(QLatin1String("1222"))
        || code.split(QLatin1Char(';')).contains(QLatin1String("1205")))
        kind = AdoError::Busy;
    else if (code == QLatin1String("8") || lower.contains(QLatin1String("readonly database")))
        kind = AdoError::ReadOnly;
    else if (code == QLatin1String("13") || lower.contains(QLatin1String("disk is full"))
             || lower.contains(QLatin1String("database or disk is full"))
             || lower.contains(QLatin1String("filegroup is full")))
        kind = AdoError::Full;
    else if (lower.contains(QLatin1String("no such table")) || lower.contains(QLatin1String("no such column"))
             || lower.contains(QLatin1String("no such function"))
             || lower.contains(QLatin1String("invalid object name"))
             || lower.contains(QLatin1String("invalid column name")))
        kind = AdoError::MissingObject;
    else if (code == QLatin1String("19") || lower.contains(QLatin1String("constraint"))
             || lower.contains(QLatin1String("duplicate key"))
             || lower.contains(QLatin1String("cannot insert the value null")))
        kind = AdoError::Constraint;
    QString message = error.databaseText().isEmpty() ? text : error.databaseText();
    if (message.trimmed().isEmpty())
        message = error.driverText();
    return AdoError(kind, message.trimmed(), statement);
}

struct Connection::Private
{
    QString connectionString;
    QString name = nextConnectionName();
    Dialect dialect = Dialect::Sqlite;
    Dialect engine = Dialect::Sqlite;
    bool open = false;
    bool inTransaction = false;
    bool statementsLogged = false;
    int busyTimeout = 5000;
    // The embedded database's own handle while it is open: its statements skip Qt's driver.
    sqlite3 *sqlite = nullptr;
    SqliteStatementCache statements;
    std::vector<std::function<void()>> rollbackUndo;
    std::vector<std::function<void()>> commitDone;
    // The reads of the action readsAction, by statement text, as they were read.
    quint64 readsAction = 0;
    QHash<QString, RecordsetPtr> reads;
    QHash<QString, Connection::TableShape> shapes;
    QSet<QString> tables;   // upper case: tables known to exist

    void undoInMemory()
    {
        commitDone.clear();
        auto undo = std::move(rollbackUndo);
        rollbackUndo.clear();
        for (auto it = undo.rbegin(); it != undo.rend(); ++it)
            (*it)();
    }

    QSqlDatabase db() const { return QSqlDatabase::database(name, false); }

    void run(const QString &sql)
    {
        if (sqlite) {
            SqliteStatement statement(sqlite, sql, sql);
            while (statement.step()) {
            }
            return;
        }
        QSqlQuery query(db());
        if (!query.exec(sql))
            throw errorFrom(query.lastError(), sql);
    }

    QString scalar(const QString &sql)
    {
        QSqlQuery query(db());
        if (!query.exec(sql))
            throw errorFrom(query.lastError(), sql);
        return query.next() ? query.value(0).toString() : QString();
    }

    // A save blocked by another session gives up after the same wait on every engine, and ends
    // in the same message: SQL Server would otherwise wait for a lock without limit. The engine
    // decides, not the dialect a connection string may force. The SQLite ODBC driver keeps a
    // lock wait of its own, given as its "Timeout" attribute when the connection opens.
    void boundLockWait()
    {
        if (sqlite)
            run(QStringLiteral("PRAGMA busy_timeout=%1").arg(busyTimeout));
        else if (engine == Dialect::SqlServer) {
            const QString wait = QStringLiteral("SET LOCK_TIMEOUT %1").arg(busyTimeout);
            if (statementsLogged)
                StatementLog::record(wait);
            run(wait);
        }
    }

    // WAL lets readers and a writer work at once, but switching to it writes to the file:
    // a database already in WAL mode, or one that may only be read, is left as it is, and a
    // database another process holds at this moment stays in its mode rather than fail.
    void preferWal()
    {
        if (scalar(QStringLiteral("PRAGMA journal_mode")).compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
            return;
        if (!sqlite || sqlite3_db_readonly(sqlite, "main") != 0)
            return;
        QSqlQuery query(db());
        query.exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    }

    // SQLite ends a transaction itself after some errors (a full disk, an I/O error): a
    // statement run after that would be committed on its own, outside the transaction that
    // the caller believes open.
    void ensureTransactionAlive(const QString &sql)
    {
        if (!inTransaction)
            return;
        if (sqlite && sqlite3_get_autocommit(sqlite) != 0)
            throw AdoError(AdoError::Generic, QStringLiteral("The transaction was rolled back by the database"), sql);
    }
};

Connection::Connection() : d(std::make_unique<Private>()) {}

Connection::~Connection()
{
    Close();
}

QString Connection::ConnectionString() const
{
    return d->connectionString;
}

void Connection::setConnectionString(const QString &connectionString)
{
    d->connectionString = connectionString;
}

void Connection::Open(const QString &connectionString, const QString &user, const QString &password, int)
{
    if (!connectionString.isEmpty())
        d->connectionString = connectionString;
    if (d->open)
        throw AdoError(AdoError::Usage, QStringLiteral("The connection is already open"));
    const QString cs = d->connectionString.trimmed();
    const QString masked = maskPassword(cs);
    if (cs.isEmpty())
        throw AdoError(AdoError::ConnectionFailed, QStringLiteral("No connection string"));

    if (isOdbc(cs)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), d->name);
        const QString driverString = odbcDriverString(cs);
        db.setDatabaseName(driverString);
        bool opened = db.open(user, password);
        d->engine = opened ? dialectForDbms(odbcDbmsName(db)) : Dialect::SqlServer;
        if (opened && d->engine == Dialect::Sqlite && !hasPair(driverString, "Timeout")) {
            db.close();
            db.setDatabaseName(driverString + QStringLiteral(";Timeout=%1").arg(d->busyTimeout));
            opened = db.open(user, password);
        }
        if (!opened) {
            const QString why = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(d->name);
            throw AdoError(AdoError::ConnectionFailed,
                           QStringLiteral("%1 (%2)").arg(why.trimmed(), masked));
        }
        const QRegularExpressionMatch forced = pairPattern("Dialect").match(cs);
        d->dialect = forced.hasMatch() ? dialectNamed(forced.captured(2)) : d->engine;
        d->open = true;
        try {
            d->boundLockWait();
        } catch (const AdoError &e) {
            Close();
            throw AdoError(AdoError::ConnectionFailed, QStringLiteral("%1 (%2)").arg(e.message(), masked));
        }
    } else {
        d->dialect = d->engine = Dialect::Sqlite;
        const QString path = sqlitePath(cs);
        // The embedded driver would create an empty file for a mistyped path.
        if (path != QLatin1String(":memory:") && !QFileInfo::exists(path))
            throw AdoError(AdoError::ConnectionFailed,
                           QStringLiteral("The database file does not exist (%1)").arg(masked));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), d->name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(d->busyTimeout));
        if (!db.open()) {
            const QString why = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(d->name);
            throw AdoError(AdoError::ConnectionFailed, QStringLiteral("%1 (%2)").arg(why.trimmed(), masked));
        }
        d->open = true;
        d->sqlite = sqliteHandleOf(d->db());
        try {
            d->boundLockWait();
            d->run(QStringLiteral("SELECT count(*) FROM sqlite_master"));
            d->preferWal();
        } catch (const AdoError &e) {
            Close();
            throw AdoError(AdoError::ConnectionFailed, QStringLiteral("%1 (%2)").arg(e.message(), masked));
        }
        registerNumerDesc(d->sqlite);
    }
    d->open = true;
}

void Connection::Close()
{
    if (!d->open)
        return;
    if (d->inTransaction) {
        QSqlDatabase::database(d->name, false).rollback();
        d->inTransaction = false;
        d->undoInMemory();
    }
    forgetReads();
    d->shapes.clear();
    d->tables.clear();
    // SQLite keeps a connection with statements still prepared open.
    d->statements.clear();
    {
        QSqlDatabase db = QSqlDatabase::database(d->name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(d->name);
    d->open = false;
    d->sqlite = nullptr;
}

ObjectState Connection::State() const
{
    return d->open ? ObjectState::Open : ObjectState::Closed;
}

Dialect Connection::dialect() const
{
    return d->dialect;
}

void Connection::clearStatementCache()
{
    d->statements.clear();
}

QString Connection::nativeSql(const QString &tsql) const
{
    return d->dialect == Dialect::Sqlite ? SqlRewriter::toSqlite(tsql) : tsql;
}

namespace {

RecordsetPtr executeOnSqlite(sqlite3 *db, SqliteStatementCache *cache, const QString &native, const QString &sql,
                             int *recordsAffected)
{
    SqliteStatement statement(db, native.toUtf8(), sql, cache);
    auto rs = std::make_shared<Recordset>();
    if (!statement.returnsRows()) {
        statement.step();
        if (recordsAffected)
            *recordsAffected = statement.changes();
        return rs;
    }
    auto shared = std::make_shared<SharedRows>();
    // The columns are known once the first step has run: a statement kept from an earlier run
    // is prepared again there if another connection changed a table meanwhile.
    bool row = statement.step();
    shared->setFields(statement.columnNames());
    const int columns = statement.columnCount();
    for (; row; row = statement.step()) {
        QVector<QVariant> values;
        values.reserve(columns);
        for (int i = 0; i < columns; ++i)
            values.append(statement.value(i));
        shared->appendRead(std::move(values));
    }
    shared->source = sql;
    RecordsetPrivate::adopt(*rs, std::move(shared));
    if (recordsAffected)
        *recordsAffected = -1;
    return rs;
}

} // namespace

namespace {

quint64 g_readAction = 0;
int g_readScopes = 0;

} // namespace

ReadScope::ReadScope()
{
    if (g_readScopes++ == 0)
        ++g_readAction;
}

ReadScope::~ReadScope()
{
    --g_readScopes;
}

quint64 ReadScope::current()
{
    return g_readScopes > 0 ? g_readAction : 0;
}

bool Connection::isRead(const QString &sql)
{
    const QStringView text = QStringView(sql).trimmed();
    return text.startsWith(QLatin1String("SELECT"), Qt::CaseInsensitive)
        && (text.size() == 6 || !text.at(6).isLetterOrNumber());
}

Connection::TableShape Connection::tableShape(const QString &table) const
{
    if (const auto kept = d->shapes.constFind(table); kept != d->shapes.cend())
        return kept.value();
    const QSqlDatabase db = database();
    TableShape shape{db.record(table), db.primaryIndex(table)};
    if (!shape.record.isEmpty())
        d->shapes.insert(table, shape);
    return shape;
}

QString Connection::tableShapesStatement(Dialect dialect, const QStringList &tables)
{
    QStringList names;
    for (const QString &table : tables)
        names.append(QLatin1Char('\'') + QString(table).toUpper().replace(QLatin1Char('\''), QLatin1String("''"))
                     + QLatin1Char('\''));
    if (dialect == Dialect::Sqlite)
        return QStringLiteral("SELECT m.name AS TABLE_NAME, p.name AS COLUMN_NAME, p.pk AS KEY_POSITION"
                              " FROM sqlite_master AS m, pragma_table_info(m.name) AS p"
                              " WHERE m.type = 'table' AND UPPER(m.name) IN (%1) ORDER BY m.name, p.cid")
            .arg(names.join(QLatin1String(", ")));
    return QStringLiteral("SELECT c.TABLE_NAME, c.COLUMN_NAME, ISNULL(k.ORDINAL_POSITION, 0) AS KEY_POSITION"
                          " FROM INFORMATION_SCHEMA.COLUMNS AS c"
                          " LEFT JOIN INFORMATION_SCHEMA.TABLE_CONSTRAINTS AS t ON t.TABLE_SCHEMA = c.TABLE_SCHEMA"
                          " AND t.TABLE_NAME = c.TABLE_NAME AND t.CONSTRAINT_TYPE = 'PRIMARY KEY'"
                          " LEFT JOIN INFORMATION_SCHEMA.KEY_COLUMN_USAGE AS k ON k.CONSTRAINT_SCHEMA = t.CONSTRAINT_SCHEMA"
                          " AND k.CONSTRAINT_NAME = t.CONSTRAINT_NAME AND k.COLUMN_NAME = c.COLUMN_NAME"
                          " WHERE c.TABLE_SCHEMA = SCHEMA_NAME() AND UPPER(c.TABLE_NAME) IN (%1)"
                          " ORDER BY c.TABLE_NAME, c.ORDINAL_POSITION")
        .arg(names.join(QLatin1String(", ")));
}

namespace {

// The embedded database holds its schema in memory: a table's columns come from a statement
// prepared and never run, its key from the column metadata, and nothing is sent anywhere.
std::optional<Connection::TableShape> embeddedShape(sqlite3 *db, const QString &table)
{
    const QByteArray name = table.toUtf8();
    sqlite3_stmt *statement = nullptr;
    const QByteArray sql = "SELECT * FROM \"" + QByteArray(name).replace('"', "\"\"") + '"';
    if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &statement, nullptr) != SQLITE_OK || !statement) {
        sqlite3_finalize(statement);
        return std::nullopt;
    }
    Connection::TableShape shape;
    shape.primary = QSqlIndex(QString(), table);
    for (int i = 0; i < sqlite3_column_count(statement); ++i) {
        const char *column = sqlite3_column_name(statement, i);
        shape.record.append(QSqlField(QString::fromUtf8(column)));
        int primaryKey = 0;
        if (sqlite3_table_column_metadata(db, nullptr, name.constData(), column, nullptr, nullptr, nullptr, &primaryKey,
                                          nullptr)
                == SQLITE_OK
            && primaryKey)
            shape.primary.append(QSqlField(QString::fromUtf8(column)));
    }
    sqlite3_finalize(statement);
    return shape;
}

} // namespace

void Connection::describeTables(const QStringList &tables) const
{
    if (!d->open || tables.isEmpty())
        return;
    if (d->sqlite) {
        for (const QString &table : tables) {
            if (const std::optional<TableShape> shape = embeddedShape(d->sqlite, table)) {
                d->shapes.insert(table, *shape);
                d->tables.insert(table.toUpper());
            }
        }
        return;
    }
    const QString sql = tableShapesStatement(d->dialect, tables);
    if (d->engine == Dialect::SqlServer && d->statementsLogged)
        StatementLog::record(sql);
    QSqlQuery query(d->db());
    query.setForwardOnly(true);
    if (!query.exec(sql))
        throw errorFrom(query.lastError(), sql);
    QHash<QString, QList<QPair<int, QString>>> keys;   // upper-case table -> (position, column)
    QHash<QString, QSqlRecord> records;
    while (query.next()) {
        const QString table = query.value(0).toString().toUpper();
        const QString column = query.value(1).toString();
        records[table].append(QSqlField(column));
        if (const int position = query.value(2).toInt(); position > 0)
            keys[table].append({position, column});
    }
    for (const QString &table : tables) {
        const QString upper = table.toUpper();
        if (!records.contains(upper))
            continue;
        QList<QPair<int, QString>> key = keys.value(upper);
        std::sort(key.begin(), key.end());
        QSqlIndex primary(QString(), table);
        for (const auto &[position, column] : std::as_const(key))
            primary.append(QSqlField(column));
        d->shapes.insert(table, TableShape{records.value(upper), primary});
        d->tables.insert(upper);
    }
}

bool Connection::hasTable(const QString &table) const
{
    const QString upper = table.toUpper();
    if (!d->tables.contains(upper)) {
        for (const QString &name : database().tables())
            d->tables.insert(name.toUpper());
    }
    return d->tables.contains(upper);
}

void Connection::forgetReads() const
{
    d->reads.clear();
    d->readsAction = 0;
}

RecordsetPtr Connection::Execute(const QString &sql, int options, int *recordsAffected)
{
    if (!d->open)
        throw AdoError(AdoError::Usage, QStringLiteral("The connection is closed"), sql);
    const quint64 action = ReadScope::current();
    if (!action || !isRead(sql))
        return run(sql, options, recordsAffected);
    if (d->readsAction != action) {
        d->reads.clear();
        d->readsAction = action;
    }
    if (const auto kept = d->reads.constFind(sql); kept != d->reads.constEnd()) {
        if (recordsAffected)
            *recordsAffected = -1;
        return RecordsetPrivate::copyOf(**kept);
    }
    RecordsetPtr rs = run(sql, options, recordsAffected);
    // Kept apart from the caller's, which may be changed or moved through.
    if (rs->State() == ObjectState::Open && d->readsAction == action)
        d->reads.insert(sql, RecordsetPrivate::copyOf(*rs));
    return rs;
}

RecordsetPtr Connection::run(const QString &sql, int, int *recordsAffected)
{
    d->ensureTransactionAlive(sql);
    StatementLog::record(*this, sql);
    const QString native = nativeSql(sql);
    if (d->sqlite)
        return executeOnSqlite(d->sqlite, &d->statements, native, sql, recordsAffected);
    QSqlQuery query(d->db());
    query.setForwardOnly(true);
    if (!query.exec(native))
        throw errorFrom(query.lastError(), sql);
    auto rs = std::make_shared<Recordset>();
    if (query.isSelect()) {
        RecordsetPrivate::fill(*rs, query);
        rs->d->shared->source = sql;
    }
    if (recordsAffected)
        *recordsAffected = query.isSelect() ? -1 : query.numRowsAffected();
    return rs;
}

int Connection::BeginTrans()
{
    if (!d->open)
        throw AdoError(AdoError::Usage, QStringLiteral("The connection is closed"));
    if (d->inTransaction)
        throw AdoError(AdoError::Usage, QStringLiteral("A transaction is already open"));
    forgetReads();
    if (d->dialect == Dialect::Sqlite && d->db().driverName() == QLatin1String("QSQLITE")) {
        // Take the write lock now, so a busy database fails before the first change.
        d->run(QStringLiteral("BEGIN IMMEDIATE"));
    } else if (!d->db().transaction()) {
        throw errorFrom(d->db().lastError(), QStringLiteral("BEGIN TRANSACTION"));
    }
    d->inTransaction = true;
    d->rollbackUndo.clear();
    d->commitDone.clear();
    return 1;
}

void Connection::CommitTrans()
{
    if (!d->inTransaction)
        throw AdoError(AdoError::Usage, QStringLiteral("No transaction is open"));
    forgetReads();
    if (d->db().driverName() == QLatin1String("QSQLITE")) {
        d->run(QStringLiteral("COMMIT"));
    } else if (!d->db().commit()) {
        throw errorFrom(d->db().lastError(), QStringLiteral("COMMIT"));
    }
    d->inTransaction = false;
    d->rollbackUndo.clear();
    auto done = std::move(d->commitDone);
    d->commitDone.clear();
    for (const auto &step : done) {
        try {
            step();
        } catch (const AdoError &) {
            // The commit stands; a follow-up that fails only leaves what it would refresh as it was.
        }
    }
}

void Connection::RollbackTrans()
{
    if (!d->inTransaction)
        throw AdoError(AdoError::Usage, QStringLiteral("No transaction is open"));
    d->inTransaction = false;
    forgetReads();
    if (d->db().driverName() == QLatin1String("QSQLITE")) {
        QSqlQuery query(d->db());
        // A failed COMMIT or an I/O error may already have ended it: nothing left to undo.
        query.exec(QStringLiteral("ROLLBACK"));
    } else {
        d->db().rollback();
    }
    d->undoInMemory();
}

void Connection::onRollback(std::function<void()> undo)
{
    if (d->inTransaction && undo)
        d->rollbackUndo.push_back(std::move(undo));
}

void Connection::onCommit(std::function<void()> done)
{
    if (!done)
        return;
    if (d->inTransaction)
        d->commitDone.push_back(std::move(done));
    else
        done();
}

bool Connection::isReadOnly() const
{
    return d->sqlite && sqlite3_db_readonly(d->sqlite, "main") == 1;
}

bool Connection::inTransaction() const
{
    return d->inTransaction;
}

QSqlDatabase Connection::database() const
{
    return d->db();
}

void Connection::setBusyTimeout(int milliseconds)
{
    d->busyTimeout = milliseconds;
    if (d->open)
        d->boundLockWait();
}

int Connection::busyTimeout() const
{
    return d->busyTimeout;
}

void Connection::setStatementsLogged(bool logged)
{
    d->statementsLogged = logged;
}

bool Connection::statementsLogged() const
{
    return d->statementsLogged;
}

bool Connection::isOdbc(const QString &connectionString)
{
    return hasPair(connectionString, "Driver") || hasPair(connectionString, "DSN")
        || hasPair(connectionString, "FILEDSN");
}

QString Connection::odbcDriverString(const QString &connectionString)
{
    QString driverString = connectionString.trimmed();
    // "Dialect=" is ours, not the driver's: it says how to read the statements.
    driverString.remove(pairPattern("Dialect"));
    if (driverString.startsWith(QLatin1Char(';')))
        driverString.remove(0, 1);
    // Qt's ODBC driver puts "DSN=" before any string that names neither a driver nor a server:
    // a data source name is handed over without its key, or it would arrive as "DSN=DSN=...".
    if (!hasPair(driverString, "Driver") && !hasPair(driverString, "Server")) {
        const QRegularExpressionMatch dsn = pairPattern("DSN").match(driverString);
        if (dsn.hasMatch()) {
            QString rest = driverString;
            rest.remove(dsn.capturedStart(0), dsn.capturedLength(0));
            if (rest.startsWith(QLatin1Char(';')))
                rest.remove(0, 1);
            driverString = dsn.captured(2).trimmed() + (rest.isEmpty() ? QString() : QLatin1Char(';') + rest);
        }
    }
    return driverString;
}

Dialect Connection::dialectNamed(const QString &name)
{
    return name.trimmed().compare(QLatin1String("Sqlite"), Qt::CaseInsensitive) == 0 ? Dialect::Sqlite
                                                                                     : Dialect::SqlServer;
}

Dialect Connection::dialectForDbms(const QString &dbmsName)
{
    // Every engine but SQLite is taken for SQL Server, the production database.
    return dbmsName.contains(QLatin1String("SQLite"), Qt::CaseInsensitive) ? Dialect::Sqlite : Dialect::SqlServer;
}

QString Connection::maskPassword(const QString &connectionString)
{
    // A braced value may hold ";" and "}}" (an escaped brace): it ends at the first single "}".
    static const QRegularExpression password(QStringLiteral("((?:^|;)\\s*(?:PWD|Password)\\s*=)\\s*(\\{(?:[^}]|\\}\\})*\\}|[^;]*)"),
                                             QRegularExpression::CaseInsensitiveOption);
    QString masked = connectionString;
    masked.replace(password, QStringLiteral("\\1****"));
    return masked;
}

} // namespace ado
