#include "recordingmessageservice.h"
#include "scriptrunner.h"
#include "testdatabase.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// Scripts drive the window as a user would: the edit-save-reload cycle through the host,
// and the close a script may refuse.
class tst_Scripting : public QObject
{
    Q_OBJECT

private slots:
    void closeHandlersDecideTheClose_data();
    void closeHandlersDecideTheClose();
    void brokenScriptIsRefusedWithItsLine();
    void runawayScriptIsStopped();
    void scriptEditsSavesAndReloadsACausal();
    void scriptSeesARefusedCode();
};

void tst_Scripting::closeHandlersDecideTheClose_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<bool>("refused");
    QTest::newRow("no handler") << "" << false;
    QTest::newRow("handler allows") << "host.onClose(function () { return true; });" << false;
    QTest::newRow("handler returns nothing") << "host.onClose(function () { });" << false;
    QTest::newRow("handler refuses") << "host.onClose(function () { return false; });" << true;
    QTest::newRow("one of two refuses")
        << "host.onClose(function () { return true; }); host.onClose(function () { return false; });" << true;
}

void tst_Scripting::closeHandlersDecideTheClose()
{
    QFETCH(QString, program);
    QFETCH(bool, refused);
    RecordingMessageService messages;
    ScriptRunner runner(nullptr, &messages);
    QString error;
    QVERIFY2(runner.evaluate(program, &error), qPrintable(error));
    runner.FormEvent(QStringLiteral("FRMCG_DUEBILCONFIG"), 0, 0, QString());
    QCOMPARE(runner.QueryCloseForm(), refused);
}

void tst_Scripting::brokenScriptIsRefusedWithItsLine()
{
    ScriptRunner runner(nullptr, nullptr);
    QString error;
    QVERIFY(!runner.evaluate(QStringLiteral("var a = 1;\nhost.onOpen(function ( {"), &error));
    QVERIFY2(error.contains(QLatin1String("2")), qPrintable(error));
}

void tst_Scripting::runawayScriptIsStopped()
{
    ScriptRunner runner(nullptr, nullptr);
    QString error;
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!runner.evaluate(QStringLiteral("host.setTimeLimit(200); while (true) {}"), &error));
    QVERIFY2(error.contains(QLatin1String("interrotto")), qPrintable(error));
    QVERIFY(timer.elapsed() < 5000);
    // The engine is usable again afterwards, and a looping handler ends the session.
    QVERIFY(runner.evaluate(QStringLiteral("host.onOpen(function () { for (;;) {} });"), &error));
    runner.FormEvent(QStringLiteral("FRMCG_DUEBILCONFIG"), 0, 1, QString());
    QTRY_COMPARE(runner.exitCode(), 2);
}

namespace {

int runHost(const QString &db, const QString &script, QString *output)
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    host.setProcessEnvironment(env);
    host.start(QStringLiteral(DUEBIL_HOST), {QStringLiteral("--db"), db, QStringLiteral("--user"), QStringLiteral("MROSSI"),
                                             QStringLiteral("--script"), script});
    if (!host.waitForFinished(60000)) {
        host.kill();
        return -1;
    }
    *output = QString::fromUtf8(host.readAllStandardOutput() + host.readAllStandardError());
    return host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1;
}

QString description(const QString &db, int code)
{
    QString value;
    {
        QSqlDatabase c = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        c.setDatabaseName(db);
        c.open();
        QSqlQuery q(c);
        q.exec(QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = %1").arg(code));
        if (q.next())
            value = q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return value;
}

} // namespace

void tst_Scripting::scriptEditsSavesAndReloadsACausal()
{
    TestDatabase db;
    QString output;
    const int rc = runHost(db.path(), QStringLiteral(DUEBIL_EXAMPLES "/rinomina-causale.js"), &output);
    QVERIFY2(rc == 0, qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("Descrizione nel database: Incasso RiBa clienti (rivista)")), qPrintable(output));
    QCOMPARE(description(db.path(), 300), QStringLiteral("Incasso RiBa clienti (rivista)"));
}

void tst_Scripting::scriptSeesARefusedCode()
{
    TestDatabase db;
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("refused.js"));
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("host.onOpen(function () {\n"
               "  var accepted = host.setValue('TXT_CAUSALE', '200');\n"   // a new reserved code
               "  host.log('accettato=' + accepted + ' messaggi=' + host.messages().length);\n"
               "  host.quit(host.value('TXT_DESCRIZIONE') === '' && host.messages().length === 1 ? 0 : 1);\n"
               "});\n");
    file.close();
    QString output;
    const int rc = runHost(db.path(), script, &output);
    QVERIFY2(rc == 0, qPrintable(output));
    QVERIFY2(output.contains(QLatin1String("300")), qPrintable(output));  // the refusal names the limit
    QCOMPARE(description(db.path(), 200), QString());
}

QTEST_MAIN(tst_Scripting)
#include "tst_scripting.moc"
