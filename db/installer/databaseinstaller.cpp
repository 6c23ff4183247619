#include "installer/databaseinstaller.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sqlite3.h>

#include <memory>

namespace {

constexpr int BusyTimeoutMs = 5000;

struct SqliteCloser
{
    void operator()(sqlite3 *db) const { sqlite3_close(db); }
};
using SqliteHandle = std::unique_ptr<sqlite3, SqliteCloser>;

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

SqliteHandle openDatabase(const QString &path, int flags, QString *error)
{
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    SqliteHandle db(raw);
    if (rc != SQLITE_OK) {
        setError(error, QStringLiteral("cannot open %1: %2")
                            .arg(path, raw ? QString::fromUtf8(sqlite3_errmsg(raw))
                                           : QString::fromUtf8(sqlite3_errstr(rc))));
        return {};
    }
    sqlite3_busy_timeout(db.get(), BusyTimeoutMs);
    return db;
}

// sqlite3_exec parses statement by statement with SQLite's own tokenizer, so
// semicolons inside literals and comments are never mistaken for separators.
bool execScript(sqlite3 *db, const QByteArray &sql, const QString &what, QString *error)
{
    char *message = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    setError(error, QStringLiteral("%1: %2").arg(what, message ? QString::fromUtf8(message)
                                                               : QString::fromUtf8(sqlite3_errmsg(db))));
    sqlite3_free(message);
    return false;
}

bool readResource(const QString &path, QByteArray *content, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setError(error, QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return false;
    }
    *content = file.readAll();
    return true;
}

QStringList tablesOf(sqlite3 *db)
{
    QStringList names;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table'", -1, &stmt, nullptr)
        != SQLITE_OK)
        return names;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        names << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))).toUpper();
    sqlite3_finalize(stmt);
    return names;
}

// The tables the schema creates, read by running it on a scratch in-memory
// database, so the refusal test can never drift from the script.
QStringList schemaTables(const QByteArray &schema, QString *error)
{
    SqliteHandle scratch = openDatabase(QStringLiteral(":memory:"),
                                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
    if (!scratch || !execScript(scratch.get(), schema, QStringLiteral("schema.sql"), error))
        return {};
    return tablesOf(scratch.get());
}

bool install(sqlite3 *db, bool withDemoData, QString *error)
{
    QByteArray schema;
    if (!readResource(QStringLiteral(":/db/sqlite/schema.sql"), &schema, error))
        return false;
    const QStringList wanted = schemaTables(schema, error);
    if (wanted.isEmpty()) {
        if (error && error->isEmpty())
            *error = QStringLiteral("schema.sql creates no table");
        return false;
    }
    // Born in WAL mode, so that the processes that open it later never have to switch the
    // mode while another one reads it. Best effort: a database left in rollback mode works too.
    sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    if (!execScript(db, "BEGIN IMMEDIATE", QStringLiteral("begin"), error))
        return false;
    QStringList present;
    const QStringList existing = tablesOf(db);
    for (const QString &table : wanted) {
        if (existing.contains(table))
            present << table;
    }
    bool ok = present.isEmpty();
    if (!ok)
        setError(error, QStringLiteral("the database already holds the tables %1").arg(present.join(u", ")));
    for (const QString &script : DatabaseInstaller::scriptFiles(withDemoData)) {
        if (!ok)
            break;
        QByteArray sql;
        ok = readResource(script, &sql, error)
             && execScript(db, sql, QFileInfo(script).fileName(), error);
    }
    if (ok)
        ok = execScript(db, "COMMIT", QStringLiteral("commit"), error);
    if (!ok)
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return ok;
}

} // namespace

bool DatabaseInstaller::create(const QString &sqlitePath, bool withDemoData, QString *error)
{
    if (sqlitePath.isEmpty()) {
        setError(error, QStringLiteral("no database file given"));
        return false;
    }
    const bool existed = QFileInfo::exists(sqlitePath);
    bool ok = false;
    {
        SqliteHandle db = openDatabase(sqlitePath, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error);
        ok = db && install(db.get(), withDemoData, error);
    }
    // A file made here for a failed installation would later look like a
    // database that exists; leave nothing behind (unless another process has
    // meanwhile installed into the same new file).
    if (!ok && !existed && !hasSchema(sqlitePath))
        QFile::remove(sqlitePath);
    return ok;
}

bool DatabaseInstaller::hasSchema(const QString &sqlitePath)
{
    if (sqlitePath.isEmpty() || !QFileInfo(sqlitePath).isFile())
        return false;
    SqliteHandle db = openDatabase(sqlitePath, SQLITE_OPEN_READONLY, nullptr);
    return db && tablesOf(db.get()).contains(QStringLiteral("CGP0_DUEBILCAUSALI"));
}

QString DatabaseInstaller::defaultDemoPath()
{
    const QString overridden = qEnvironmentVariable("DUEBIL_DEMO_DB");
    if (!overridden.isEmpty())
        return overridden;
    // One folder for every executable (host shell, command-line tool), whatever
    // application name each of them sets, so they all share the same demo data.
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dir.isEmpty())
        dir = QDir::homePath();
    return QDir(dir).filePath(QStringLiteral("duebilconfig/duebilconfig-demo.db"));
}

QString DatabaseInstaller::ensureDemoDatabase(QString *error)
{
    const QString path = defaultDemoPath();
    if (hasSchema(path))
        return path;
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) {
        setError(error, QStringLiteral("cannot create the folder %1").arg(dir));
        return {};
    }
    if (create(path, true, error))
        return path;
    // Another process may have built it meanwhile.
    return hasSchema(path) ? path : QString();
}

QStringList DatabaseInstaller::textFiles()
{
    return {QStringLiteral(":/db/sqlite/texts/host.tsv"), QStringLiteral(":/db/sqlite/texts/module.tsv")};
}

QStringList DatabaseInstaller::scriptFiles(bool withDemoData)
{
    QStringList scripts{QStringLiteral(":/db/sqlite/schema.sql"), QStringLiteral(":/db/sqlite/catalogue.sql")};
    if (withDemoData)
        scripts << QStringLiteral(":/db/sqlite/demo.sql");
    return scripts;
}
