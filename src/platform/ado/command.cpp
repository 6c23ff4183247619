#include "ado/command.h"

#include "ado/adoerror.h"
#include "ado/sqlitestatement.h"
#include "ado/statementlog.h"

#include <QSqlError>
#include <QSqlQuery>
#include <optional>

namespace ado {

AdoError errorFrom(const QSqlError &error, const QString &statement);

struct Command::Private
{
    QString tsql;
    std::optional<SqliteStatement> sqlite;
    std::optional<QSqlQuery> query;  // other drivers
};

Command::Command(Connection &connection, const QString &tsql) : d(std::make_unique<Private>())
{
    d->tsql = tsql;
    if (connection.State() != ObjectState::Open)
        throw AdoError(AdoError::Usage, QStringLiteral("The connection is closed"), tsql);
    StatementLog::record(connection, tsql);
    const QString native = connection.nativeSql(tsql);
    if (sqlite3 *handle = sqliteHandleOf(connection.database())) {
        d->sqlite.emplace(handle, native, tsql);
        return;
    }
    d->query.emplace(connection.database());
    if (!d->query->prepare(native))
        throw errorFrom(d->query->lastError(), tsql);
}

Command::~Command() = default;

void Command::bind(int position, const QString &text)
{
    if (d->sqlite)
        d->sqlite->bindText(position, text);
    else
        d->query->bindValue(position, text);
}

void Command::bind(int position, qint64 number)
{
    if (d->sqlite)
        d->sqlite->bindInteger(position, number);
    else
        d->query->bindValue(position, number);
}

int Command::Execute()
{
    if (d->sqlite) {
        while (d->sqlite->step()) {
        }
        // Ready for the next values: SQLite takes none while a run has not been reset.
        d->sqlite->reset();
        return d->sqlite->changes();
    }
    if (!d->query->exec())
        throw errorFrom(d->query->lastError(), d->tsql);
    return d->query->numRowsAffected();
}

} // namespace ado
