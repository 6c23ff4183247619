#include "shell/companylist.h"

#include "ado/connection.h"
#include "ado/statementlog.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QHash>
#include <QUuid>

namespace {

// Opens a private connection for the connection-string forms the host accepts.
QSqlDatabase openDatabase(const QString &name, const QString &connectionString)
{
    const bool odbc = ado::Connection::isOdbc(connectionString);
    QSqlDatabase db = QSqlDatabase::addDatabase(odbc ? QStringLiteral("QODBC") : QStringLiteral("QSQLITE"), name);
    QString target = odbc ? ado::Connection::odbcDriverString(connectionString) : connectionString;
    if (!odbc && target.startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive))
        target = target.mid(7);
    db.setDatabaseName(target);
    // An unreachable server must not hold the host: the driver gives up after a few seconds.
    db.setConnectOptions(odbc ? QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=5;SQL_ATTR_CONNECTION_TIMEOUT=5")
                              : QStringLiteral("QSQLITE_OPEN_READONLY"));
    db.open();
    return db;
}

} // namespace

QStringList CompanyList::ledgerSettingNames()
{
    return {QStringLiteral("GestioneSedi"), QStringLiteral("RegistrazioneSedeUnica")};
}

bool CompanyList::read(const QString &connectionString, QList<Company> *companies, QString *error)
{
    const QString name = QStringLiteral("companies-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        QSqlDatabase db = openDatabase(name, connectionString);
        if (!db.isOpen()) {
            if (error)
                *error = db.lastError().text();
        } else {
            QSqlQuery query(db);
            const QString companyRows = QStringLiteral(
                "SELECT CG18_CODICE, CG18_RAGSOC, CG18_GRUPPO_CG10 FROM CG18_DITTE ORDER BY CG18_CODICE");
            ado::StatementLog::record(companyRows);
            ok = query.exec(companyRows);
            if (!ok && error)
                *error = query.lastError().text();
            while (ok && query.next())
                companies->append(Company{query.value(0).toInt(), query.value(1).toString(),
                                          qint16(query.value(2).toInt()), {}});
            // Settings are optional: a database without them leaves the modules' defaults.
            QSqlQuery settings(db);
            const QString settingRows = QStringLiteral("SELECT FW95_CODICE, FW95_VALORE FROM FW95_SETTINGS");
            ado::StatementLog::record(settingRows);
            if (ok && settings.exec(settingRows)) {
                QHash<QString, QVariant> byCode;
                while (settings.next())
                    byCode.insert(settings.value(0).toString().trimmed(), settings.value(1));
                for (Company &company : *companies) {
                    for (const QString &name : ledgerSettingNames()) {
                        const QString code = name + QLatin1Char('.') + QString::number(company.code);
                        if (byCode.contains(code))
                            company.ledgerSettings.insert(name, byCode.value(code));
                    }
                }
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}
