#include "support/casefile.h"
#include "support/hostrun.h"
#include "support/testdatabase.h"

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
    void emptyCausalList_data();
    void emptyCausalList();
    void repeatedExclusions_data();
    void repeatedExclusions();
};

namespace {

QString writeFile(const QTemporaryDir &dir, const QString &name, const QString &text)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(text.toUtf8());
    return path;
}

QString script(const QTemporaryDir &dir, const QString &name, const QString &body)
{
    // Every first window's helpers: waitFor, ready, gone, there, last, shown.
    QFile helpers(QStringLiteral(DUEBIL_TEST_DATA "/twousers.js"));
    if (!helpers.open(QIODevice::ReadOnly))
        return {};
    return writeFile(dir, name, QString::fromUtf8(helpers.readAll())
                                    + QStringLiteral("host.onOpen(function () {\n%1\nhost.quit(0);\n});\n").arg(body));
}

struct Run
{
    int status = -1;
    QString out;
};

// The command-line tool, run to its end.
Run runTool(const QString &db, const QStringList &args)
{
    QProcess tool;
    tool.start(QStringLiteral(DUEBILCONFIG_TOOL), QStringList{QStringLiteral("--db"), db} + args);
    Run run;
    if (tool.waitForFinished(60000) && tool.exitStatus() == QProcess::NormalExit)
        run.status = tool.exitCode();
    run.out = QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
    return run;
}

// The first window: started, waited for until it says it is ready, then the other user acts
// (other), then the first window goes on to its end.
Run runFirstWindow(const QString &db, const QStringList &hostArgs, const QString &scriptPath,
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
    Run run;
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

void expectLines(const Run &run, const QStringList &expected)
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
    QTest::addColumn<TextCase>("c");
    for (const TextCase &c : readCases(QStringLiteral(DUEBIL_TEST_DATA "/twousers.cases")))
        QTest::newRow(qPrintable(c.name)) << c;
}

void tst_TwoUsers::otherUserMeanwhile()
{
    QFETCH(TextCase, c);
    TestDatabase db;
    QTemporaryDir dir;
    const QString first = script(dir, QStringLiteral("a.js"), c.text("script"));
    const QString second = c.parts.contains(QStringLiteral("other")) ? script(dir, QStringLiteral("b.js"), c.text("other"))
                                                                     : QString();
    const Run run = runFirstWindow(db.path(), {}, first, [&] {
        if (second.isEmpty()) {
            // The other user's commands, one after the other.
            QString failed;
            for (const QString &command : c.lines("tool")) {
                const Run t = runTool(db.path(), command.split(QLatin1Char('\t')));
                if (t.status != 0)
                    failed += QStringLiteral("strumento fallito: ") + t.out;
            }
            return failed;
        }
        const HostRun b = runHostScript(QStringLiteral(DUEBIL_HOST), db.path(), second,
                                        {QStringLiteral("--company"), QStringLiteral("2")});
        return b.status == 0 ? QString() : QStringLiteral("seconda finestra fallita: ") + b.out + b.err;
    });
    QVERIFY2(run.status == 0, qPrintable(run.out));
    QVERIFY(!c.lines("shown").isEmpty());
    expectLines(run, c.lines("shown"));
    QCOMPARE(queryValue(db.path(), c.lines("probe")), c.text("stored"));
}

// Every causal deleted by the tool (the reserved one by the reserved user).
const QList<QStringList> deleteAll{{"delete", "320"}, {"delete", "310"}, {"delete", "300"},
                                   {"--user", "VELTO", "delete", "150"}};

void tst_TwoUsers::emptyCausalList_data()
{
    QTest::addColumn<bool>("before");         // the causals went before the window opened
    QTest::addColumn<QStringList>("hostArgs");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("stored");      // code:description:checks:company rows of each causal

    // A code typed into an empty list shows the causal it creates, which then saves, moves and
    // deletes as any other; the next code does the same.
    const QString typed =
        "ready(); waitFor('SELECT 1 AS X WHERE NOT EXISTS (SELECT 1 FROM CGP0_DUEBILCAUSALI)');\n"
        "host.log('codice ' + host.setValue('TXT_CAUSALE', '400') + ' ' + shown());\n"
        "host.log('descrizione ' + host.setValue('TXT_DESCRIZIONE', 'Nuova da A') + ' salvata ' + host.press('Conferma'));\n"
        "host.log('primo ' + host.press('Primo') + ' ' + host.value('TXT_CAUSALE') + ' ' + host.value('TXT_DESCRIZIONE'));\n"
        "host.answer(6); host.log('elimina ' + host.press('Elimina') + ' ' + shown());\n"
        "host.log('codice ' + host.setValue('TXT_CAUSALE', '410') + ' ' + shown());\n"
        "host.log('conferma ' + host.press('Conferma') + ' ' + host.messages().length);\n";
    const QStringList shownAndSaved{"codice true 400 codice false mesi true utenti true true",
                                    "descrizione true salvata true", "primo true 400 Nuova da A",
                                    "elimina true  codice true mesi false utenti false false",
                                    "codice true 410 codice false mesi true utenti true true", "conferma true 1"};
    QTest::newRow("deleted before the window opened") << true << QStringList{} << typed << shownAndSaved << "410::32:1";
    QTest::newRow("deleted while the window is open") << false << QStringList{} << typed << shownAndSaved << "410::32:1";
    // Called for a causal that does not exist: told so, nothing to type, nothing created.
    QTest::newRow("called on a missing causal")
        << false << QStringList{"--causale", "999"}
        << "ready(); host.log('chiamata ' + shown() + ' ' + host.isEnabled('TXT_DESCRIZIONE') + ' ' + last());\n"
           "host.log('conferma ' + host.press('Conferma'));\n"
        << QStringList{"chiamata 999 codice false mesi false utenti false false false La causale 999 non esiste.",
                       "conferma false"}
        << "150:Gestione stati effetti:32:1,300:Incasso RiBa clienti:32:1,310:Pagamento bonifici fornitori:32:1,"
           "320:Compensazione clienti/fornitori:32:1";
}

void tst_TwoUsers::emptyCausalList()
{
    QFETCH(bool, before);
    QFETCH(QStringList, hostArgs);
    QFETCH(QString, body);
    QFETCH(QStringList, expected);
    QFETCH(QString, stored);
    TestDatabase db;
    QTemporaryDir dir;
    const bool emptied = stored.startsWith(QLatin1String("410"));
    auto emptyIt = [&] {
        QString failed;
        for (const QStringList &command : deleteAll) {
            const Run t = runTool(db.path(), command);
            if (t.status != 0)
                failed += t.out;
        }
        return failed;
    };
    if (before && emptied)
        QCOMPARE(emptyIt(), QString());
    const Run run = runFirstWindow(db.path(), hostArgs, script(dir, QStringLiteral("a.js"), body),
                                   [&] { return before || !emptied ? QString() : emptyIt(); });
    QVERIFY2(run.status == 0, qPrintable(run.out));
    expectLines(run, expected);
    QCOMPARE(queryValue(db.path(), {QStringLiteral(
                 "SELECT GROUP_CONCAT(CGP0_CAUSALE || ':' || CGP0_DESCRIZIONE || ':' ||"
                 " (SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = CGP0_CAUSALE) || ':' ||"
                 " (SELECT COUNT(*) FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = CGP0_CAUSALE"
                 " AND CGP6_DITTA_CG18 = 1)) FROM (SELECT * FROM CGP0_DUEBILCAUSALI ORDER BY CGP0_CAUSALE)")}),
             stored);
}

void tst_TwoUsers::repeatedExclusions_data()
{
    QTest::addColumn<QString>("setup");     // the rows of 310 another program stored, if any
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("stored");    // the exclusions of 310 afterwards

    const QString group = "host.setTab(4); host.press('GRIDNAVREVOKE.NUOVO');\n"
                          "host.log('gruppo ' + host.setValue('TXT_GRUPPO', 'commerciale') + ' [' + host.value('TXT_GRUPPO')"
                          " + '] ' + last());\n"
                          "host.log('salvata ' + host.press('Conferma') + ' ' + esclusi());\n"
                          "host.log('tolta ' + host.press('GRIDNAVREVOKE.ELIMINA') + ' salvata ' + host.press('Conferma') + ' ' + esclusi());\n";
    QTest::newRow("group already in the list")
        << "" << "host.setValue('TXT_CAUSALE', '310');\n" + group
        << QStringList{"gruppo true [] Riga ripetuta: il gruppo COMMERCIALE è già nell'elenco delle esclusioni della causale.",
                       "salvata false 4/, /", "tolta true salvata true 4/"}
        << "4/";
    QTest::newRow("user already in the list")
        << "INSERT INTO CGP8_DUEBILREVOKE (CGP8_CAUSALE_CGP0, CGP8_ID_FW07) VALUES (310, 3)"
        << "host.setValue('TXT_CAUSALE', '310'); host.setTab(4); host.press('GRIDNAVREVOKE.NUOVO');\n"
           "host.log('utente ' + host.setValue('TXT_UTENTE', 'lbianchi') + ' [' + host.value('TXT_UTENTE') + '] ' + last());\n"
        << QStringList{"utente true [] Riga ripetuta: l'utente LBIANCHI è già nell'elenco delle esclusioni della causale."}
        << "/3,4/";
    // Two equal rows stored by older versions: the one deleted goes, the other stays, as shown.
    QTest::newRow("one of two equal rows deleted")
        << "INSERT INTO CGP8_DUEBILREVOKE (CGP8_CAUSALE_CGP0, CGP8_ID_FW06) VALUES (310, 4)"
        << "host.setValue('TXT_CAUSALE', '310'); host.setTab(4);\n"
           "host.log('righe ' + esclusi()); host.clickRow('QGRID_GRUPPIUTENTI', 1);\n"
           "host.log('eliminata ' + host.press('GRIDNAVREVOKE.ELIMINA') + ' ' + esclusi());\n"
           "host.log('salvata ' + host.press('Conferma') + ' ' + esclusi());\n"
           "host.press('Nuovo'); host.setValue('TXT_CAUSALE', '310'); host.log('riletta ' + esclusi());\n"
        << QStringList{"righe 4/, 4/", "eliminata true 4/", "salvata true 4/", "riletta 4/"} << "4/";
}

void tst_TwoUsers::repeatedExclusions()
{
    QFETCH(QString, setup);
    QFETCH(QString, body);
    QFETCH(QStringList, expected);
    QFETCH(QString, stored);
    TestDatabase db;
    QTemporaryDir dir;
    const QString exclusions = QStringLiteral(
        "SELECT GROUP_CONCAT(IFNULL(CGP8_ID_FW06, '') || '/' || IFNULL(CGP8_ID_FW07, ''), ',') FROM (SELECT * FROM"
        " CGP8_DUEBILREVOKE WHERE CGP8_CAUSALE_CGP0 = 310 ORDER BY CGP8_ID_FW06, CGP8_ID_FW07)");
    const QString helper = QStringLiteral(
        "function esclusi() { return host.rows('QGRID_GRUPPIUTENTI').map(function (r) {"
        " return r.CGP8_ID_FW06 + '/' + r.CGP8_ID_FW07; }).join(', '); }\n");
    if (!setup.isEmpty())
        QVERIFY(!queryValue(db.path(), {setup}).startsWith(QLatin1String("ERRORE")));
    const QString path = script(dir, QStringLiteral("a.js"), helper + QStringLiteral("ready();\n") + body);
    const Run run = runFirstWindow(db.path(), {}, path, [] { return QString(); });
    QVERIFY2(run.status == 0, qPrintable(run.out));
    expectLines(run, expected);
    QCOMPARE(queryValue(db.path(), {exclusions}), stored);
}

QTEST_MAIN(tst_TwoUsers)
#include "tst_twousers.moc"
