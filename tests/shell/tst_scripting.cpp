#include "framework/recordingmessageservice.h"
#include "shell/controldriver.h"
#include "shell/scriptrunner.h"
#include "support/casefile.h"
#include "support/hostrun.h"
#include "support/testdatabase.h"
#include "scriptfile.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QHostAddress>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

// Scripts drive the window as a user would: each call of the script interface, the tabs, the
// examples, the edit-save-reload cycle through the host, and the close a script may refuse.
class tst_Scripting : public QObject
{
    Q_OBJECT

private slots:
    void closeHandlersDecideTheClose_data()
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

    void closeHandlersDecideTheClose()
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

    void captionIsTheTextAsShown_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("label with a buddy: the Alt key's mark") << "buddy" << "M&esi:" << "Mesi:";
        QTest::newRow("label with a buddy: a doubled mark is one '&'") << "buddy" << "Conti && &banche" << "Conti & banche";
        QTest::newRow("label with a buddy: a mark at the end") << "buddy" << "Fine&" << "Fine";
        QTest::newRow("label without a buddy shows '&' as written") << "label" << "R&D && co" << "R&D && co";
        QTest::newRow("button") << "button" << "&&Salva &tutto" << "&Salva tutto";
        QTest::newRow("frame") << "frame" << "&Acconti && ritenute" << "Acconti & ritenute";
    }

    // host.caption and host.value read a caption as the user reads it, without the access-key marks
    // Qt does not draw.
    void captionIsTheTextAsShown()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QWidget form;
        auto *field = new QLineEdit(&form);
        QWidget *control = nullptr;
        if (kind == QLatin1String("button")) {
            control = new QPushButton(text, &form);
        } else if (kind == QLatin1String("frame")) {
            control = new QGroupBox(text, &form);
        } else {
            auto *label = new QLabel(text, &form);
            if (kind == QLatin1String("buddy"))
                label->setBuddy(field);
            control = label;
        }
        control->setObjectName(QStringLiteral("CONTROL"));
        ControlDriver driver([](int, const QStringList &) { return QString(); });
        driver.setForm(&form);
        QCOMPARE(driver.caption(QStringLiteral("CONTROL")), shown);
        if (qobject_cast<QLabel *>(control))
            QCOMPARE(driver.value(QStringLiteral("CONTROL")), shown);
    }

    // A name the window does not have, or a call the control does not take: the error names it and
    // the script's line, the script can catch it and go on, and nothing is written.
    void wrongNameOrCallIsAnErrorNamingIt()
    {
        // tests/data/scripterrors.cases: the call, a tab, the error.
        const QStringList cases = readCases(QStringLiteral(DUEBIL_TEST_DATA "/scripterrors.cases")).first().lines("rows");
        QVERIFY(cases.size() > 20);
        // One handler a line, so each error carries the line of its own call; each is caught and
        // printed as the host prints an error nobody catches.
        QString program = QStringLiteral("host.onOpen(function () { host.setValue('TXT_CAUSALE', '300'); });\n");
        for (int i = 0; i < cases.size(); ++i)
            program += QStringLiteral("host.onOpen(function () { try { %1; host.log('raggiunto %2'); }"
                                      " catch (e) { host.log(e + ' (riga ' + e.lineNumber + ')'); } });\n")
                           .arg(cases.at(i).section(QLatin1Char('\t'), 0, 0))
                           .arg(i);
        program += QStringLiteral("host.onOpen(function () { host.log('fine'); host.quit(0); });\n");
        TestDatabase db;
        QTemporaryDir dir;
        const HostRun run = runHostScript(QStringLiteral(DUEBIL_HOST), db.path(),
                                          writeScript(dir, QStringLiteral("script.js"), program));
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        const QStringList shown = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY2(shown.contains(QStringLiteral("fine")), qPrintable(run.out));
        for (int i = 0; i < cases.size(); ++i) {
            const QString error = QStringLiteral("Error: %1 (riga %2)").arg(cases.at(i).section(QLatin1Char('\t'), 1)).arg(i + 2);
            QVERIFY2(shown.contains(error), qPrintable(QStringLiteral("missing \"%1\" in:\n%2").arg(error, run.out)));
            QVERIFY2(!shown.contains(QStringLiteral("raggiunto %1").arg(i)), qPrintable(cases.at(i)));
        }
        QCOMPARE(queryValue(db.path(), {QStringLiteral("SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI")}), QStringLiteral("4"));
        QCOMPARE(queryValue(db.path(), {QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300")}),
                 QStringLiteral("Incasso RiBa clienti"));
    }

    // The real host runs a script on a fresh demo database: runs that must end by themselves with
    // an honest status (scriptruns.cases), each call of the script interface (hostcalls.cases), the
    // layout and exclusions tabs under every answer the user can give (layoutexclusiontabs.cases)
    // and the examples users start from (examples.cases); each file's head says what its parts hold.
    void scriptRunDoesWhatTheUserAsks_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/scriptruns.cases"), QStringLiteral(DUEBIL_TEST_DATA "/hostcalls.cases"),
                     QStringLiteral(DUEBIL_TEST_DATA "/layoutexclusiontabs.cases"),
                     QStringLiteral(DUEBIL_TEST_DATA "/examples.cases")});
    }

    void scriptRunDoesWhatTheUserAsks()
    {
        QFETCH(TextCase, c);
        TestDatabase db;
        if (!c.lines("setup").isEmpty())
            QCOMPARE(queryValue(db.path(), c.lines("setup")), QString());
        QTemporaryDir dir;
        // A "database" in place of the demo one: a path in the run's folder, where
        // not-a-database.db holds junk, or an ODBC string naming as %1 the port of a server that
        // takes the connection and never answers the login.
        QString database = db.path();
        QTcpServer silent;
        if (c.parts.contains(QStringLiteral("database"))) {
            QFile junk(dir.filePath(QStringLiteral("not-a-database.db")));
            QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(4096, 'x')) == 4096);
            junk.close();
            QVERIFY(silent.listen(QHostAddress::LocalHost));
            database = c.text("database").contains(QLatin1String("Driver=")) ? c.text("database").arg(silent.serverPort())
                                                                             : dir.filePath(c.text("database"));
        }
        QString script;
        if (c.parts.contains(QStringLiteral("example"))) {
            script = QStringLiteral(DUEBIL_EXAMPLES "/") + c.text("example");
            QFile example(script), docs(QStringLiteral(DUEBIL_DOCS "/scripting.md"));
            QVERIFY(example.open(QIODevice::ReadOnly) && docs.open(QIODevice::ReadOnly));
            QVERIFY2(!c.parts.contains(QStringLiteral("documented")) || docs.readAll().contains(example.readAll()),
                     "docs/scripting.md does not show the example as it is");
        } else if (c.parts.contains(QStringLiteral("program"))) {
            script = writeScript(dir, QStringLiteral("script.js"), c.text("program") + '\n');
        } else {
            // A case's script runs once the window is open, with the helpers that print the tabs.
            script = writeScript(dir, QStringLiteral("script.js"), c.text("script"),
                                 QStringLiteral(DUEBIL_TEST_DATA "/tabhelpers.js"));
        }
        const HostRun run = runHostScript(QStringLiteral(DUEBIL_HOST), database, script,
                                          c.text("options").split(QLatin1Char('\t'), Qt::SkipEmptyParts));
        const QString all = run.out + run.err;
        QVERIFY2(c.parts.contains(QStringLiteral("printed")) || !c.lines("shown").isEmpty(), "the case checks no output");
        QVERIFY2(run.status == c.text("status").toInt(), qPrintable(QString::number(run.status) + '\n' + all));
        QVERIFY2(run.ms < 15000, qPrintable(QString::number(run.ms)));
        QVERIFY2(all.contains(c.text("printed")), qPrintable(all));
        for (const QString &line : c.lines("absent"))
            QVERIFY2(!all.contains(line), qPrintable(all));
        const QStringList shown = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString &line : c.lines("shown"))
            QVERIFY2(shown.contains(line), qPrintable(QStringLiteral("missing \"%1\" in:\n%2").arg(line, all)));
        QVERIFY2(!run.err.contains(QLatin1String("deleted")), qPrintable(run.err));
        if (c.parts.contains(QStringLiteral("statement")))
            QCOMPARE(queryValue(db.path(), c.lines("statement")), c.text("stored"));
    }
};

QTEST_MAIN(tst_Scripting)
#include "tst_scripting.moc"
