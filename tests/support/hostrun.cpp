#include "support/hostrun.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

HostRun runProgram(const QString &program, const QStringList &args, const QProcessEnvironment &env)
{
    QProcess process;
    QProcessEnvironment offscreen = env;
    offscreen.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(offscreen);
    QElapsedTimer clock;
    clock.start();
    process.start(program, args);
    HostRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.status = process.exitCode();
    }
    run.ms = clock.elapsed();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

HostRun runHostScript(const QString &hostProgram, const QString &db, const QString &script,
                      const QStringList &extraArgs)
{
    return runProgram(hostProgram, QStringList{QStringLiteral("--db"), db, QStringLiteral("--user"), QStringLiteral("MROSSI")}
                                       + extraArgs + QStringList{QStringLiteral("--script"), script});
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
