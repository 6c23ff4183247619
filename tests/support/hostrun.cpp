#include "support/hostrun.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

HostRun runHostScript(const QString &hostProgram, const QString &db, const QString &script,
                      const QStringList &extraArgs)
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    host.setProcessEnvironment(env);
    QElapsedTimer clock;
    clock.start();
    host.start(hostProgram, QStringList{QStringLiteral("--db"), db, QStringLiteral("--user"), QStringLiteral("MROSSI")}
                                + extraArgs + QStringList{QStringLiteral("--script"), script});
    HostRun run;
    if (!host.waitForFinished(60000)) {
        host.kill();
        host.waitForFinished();
    } else if (host.exitStatus() == QProcess::NormalExit) {
        run.status = host.exitCode();
    }
    run.ms = clock.elapsed();
    run.out = QString::fromUtf8(host.readAllStandardOutput());
    run.err = QString::fromUtf8(host.readAllStandardError());
    return run;
}

QString queryValue(const QString &db, const QStringList &statements)
{
    QString value;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        c.setDatabaseName(db);
        c.open();
        QSqlQuery q(c);
        for (const QString &statement : statements) {
            if (!q.exec(statement)) {
                value = QStringLiteral("ERRORE ") + statement;
                break;
            }
            if (q.next())
                value = q.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return value;
}
