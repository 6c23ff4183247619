#include "support/casefile.h"
#include "support/hostrun.h"
#include "support/testdatabase.h"
#include "scriptfile.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// Two users on one database, each in a process of their own: a window of the real host, and
// another window or the command-line tool that changes the same causals while the first window
// shows them. The first window's script prints what its user sees; the database is read after.
class tst_TwoUsers : public QObject
{
    Q_OBJECT

private slots:
    void otherUserMeanwhile_data();
    void otherUserMeanwhile();
};

namespace {

// The first window: started, waited for until it says it is ready, then the other user acts
// (other), then the first window goes on to its end.
HostRun runFirstWindow(const QString &db, const QStringList &hostArgs, const QString &scriptPath,
                       const std::function<QString()> &other)
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    host.setProcessEnvironment(env);
    host.setProcessChannelMode(QProcess::MergedChannels);
    host.start(QStringLiteral(DUEBIL_HOST), QStringList{QStringLiteral("--db"), db, QStringLiteral("--user"),
                                                        QStringLiteral("MROSSI")}
                                                + hostArgs + QStringList{QStringLiteral("--script"), scriptPath});
    HostRun run;
    QElapsedTimer clock;
    clock.start();
    while (!run.out.contains(QLatin1String("pronto\n")) && host.state() != QProcess::NotRunning
           && clock.elapsed() < 60000) {
        host.waitForReadyRead(200);
        run.out += QString::fromUtf8(host.readAll());
    }
    if (run.out.contains(QLatin1String("pronto\n")))
        run.out += other();
    if (host.state() != QProcess::NotRunning && !host.waitForFinished(60000)) {
        host.kill();
        host.waitForFinished();
    } else if (host.exitStatus() == QProcess::NormalExit) {
        run.status = host.exitCode();
    }
    run.out += QString::fromUtf8(host.readAll());
    return run;
}

void expectLines(const HostRun &run, const QStringList &expected)
{
    const QStringList shown = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : expected)
        QVERIFY2(shown.contains(line), qPrintable(QStringLiteral("missing \"%1\" in:\n%2").arg(line, run.out)));
    QVERIFY2(!run.out.contains(QLatin1String("attesa scaduta")), qPrintable(run.out));
    // An error report in a script run is printed with the procedure's name: none is expected.
    QVERIFY2(!run.out.contains(QLatin1String("Errore")), qPrintable(run.out));
}

} // namespace

// The cases are in tests/data/twousers.cases.
void tst_TwoUsers::otherUserMeanwhile_data()
{
    addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/twousers.cases")});
}

void tst_TwoUsers::otherUserMeanwhile()
{
    QFETCH(TextCase, c);
    TestDatabase db;
    QTemporaryDir dir;
    // The other user's commands, one after the other.
    const auto tool = [&db](const QStringList &commands) {
        QString failed;
        for (const QString &command : commands) {
            const HostRun t = runProgram(QStringLiteral(DUEBILCONFIG_TOOL),
                                         QStringList{QStringLiteral("--db"), db.path()} + command.split(QLatin1Char('\t')));
            if (t.status != 0)
                failed += QStringLiteral("strumento fallito: ") + t.out + t.err;
        }
        return failed;
    };
    QCOMPARE(tool(c.lines(QStringLiteral("tool before"))), QString());
    // Every first window's helpers (waitFor, ready, gone, there, last, shown), then its case's body.
    const QString helpers = QStringLiteral(DUEBIL_TEST_DATA "/twousers.js");
    const QString first = writeScript(dir, QStringLiteral("a.js"), c.text("script"), helpers);
    const QString second = c.parts.contains(QStringLiteral("other"))
        ? writeScript(dir, QStringLiteral("b.js"), c.text("other"), helpers) : QString();
    const QStringList hostArgs = c.text(QStringLiteral("host")).split(QLatin1Char('\t'), Qt::SkipEmptyParts);
    const HostRun run = runFirstWindow(db.path(), hostArgs, first, [&] {
        if (second.isEmpty())
            return tool(c.lines("tool"));
        const HostRun b = runHostScript(QStringLiteral(DUEBIL_HOST), db.path(), second,
                                        {QStringLiteral("--company"), QStringLiteral("2")});
        return b.status == 0 ? QString() : QStringLiteral("seconda finestra fallita: ") + b.out + b.err;
    });
    QVERIFY2(run.status == 0, qPrintable(run.out));
    QVERIFY(!c.lines("shown").isEmpty());
    expectLines(run, c.lines("shown"));
    QCOMPARE(queryValue(db.path(), c.lines("probe")), c.text("stored"));
}

QTEST_MAIN(tst_TwoUsers)
#include "tst_twousers.moc"
