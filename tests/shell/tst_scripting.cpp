#include "framework/recordingmessageservice.h"
#include "shell/controldriver.h"
#include "shell/scriptrunner.h"
#include "support/hostrun.h"
#include "support/testdatabase.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QHostAddress>
#include <QTcpServer>
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
    void captionIsTheTextAsShown_data();
    void captionIsTheTextAsShown();
    void wrongNameOrCallIsAnErrorNamingIt();
    void scriptRunEndsWithAnHonestStatus_data();
    void scriptRunEndsWithAnHonestStatus();
    void unopenableDatabaseEndsTheRun_data();
    void unopenableDatabaseEndsTheRun();
    void tabExampleDoesWhatItSays_data();
    void tabExampleDoesWhatItSays();
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

HostRun runHost(const QString &db, const QString &script)
{
    return runHostScript(QStringLiteral(DUEBIL_HOST), db, script);
}

int runHost(const QString &db, const QString &script, QString *output)
{
    const HostRun run = runHost(db, script);
    *output = run.out + run.err;
    return run.status;
}

QString writeScript(const QTemporaryDir &dir, const QString &text)
{
    const QString path = dir.filePath(QStringLiteral("script.js"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(text.toUtf8());
    return path;
}

// First value of the first row, as text; empty when there is none.
QString firstValue(const QString &db, const QString &statement)
{
    return queryValue(db, {statement});
}

QString description(const QString &db, int code)
{
    return firstValue(db, QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = %1").arg(code));
}

QStringList lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
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

void tst_Scripting::captionIsTheTextAsShown_data()
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
void tst_Scripting::captionIsTheTextAsShown()
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
void tst_Scripting::wrongNameOrCallIsAnErrorNamingIt()
{
    // tests/data/scripterrors.tsv: the call, a tab, the error.
    QList<QPair<QString, QString>> cases;
    QFile list(QStringLiteral(DUEBIL_TEST_DATA "/scripterrors.tsv"));
    QVERIFY(list.open(QIODevice::ReadOnly | QIODevice::Text));
    for (const QString &line : QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1Char('#')))
            cases.append({line.section(QLatin1Char('\t'), 0, 0), line.section(QLatin1Char('\t'), 1)});
    QVERIFY(cases.size() > 20);
    // One handler a line, so each error carries the line of its own call; each is caught and
    // printed as the host prints an error nobody catches.
    QString program = QStringLiteral("host.onOpen(function () { host.setValue('TXT_CAUSALE', '300'); });\n");
    for (int i = 0; i < cases.size(); ++i)
        program += QStringLiteral("host.onOpen(function () { try { %1; host.log('raggiunto %2'); }"
                                  " catch (e) { host.log(e + ' (riga ' + e.lineNumber + ')'); } });\n")
                       .arg(cases.at(i).first)
                       .arg(i);
    program += QStringLiteral("host.onOpen(function () { host.log('fine'); host.quit(0); });\n");
    TestDatabase db;
    QTemporaryDir dir;
    const HostRun run = runHost(db.path(), writeScript(dir, program));
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    const QStringList shown = lines(run.out);
    QVERIFY2(shown.contains(QStringLiteral("fine")), qPrintable(run.out));
    for (int i = 0; i < cases.size(); ++i) {
        const QString error = QStringLiteral("Error: %1 (riga %2)").arg(cases.at(i).second).arg(i + 2);
        QVERIFY2(shown.contains(error), qPrintable(QStringLiteral("missing \"%1\" in:\n%2").arg(error, run.out)));
        QVERIFY2(!shown.contains(QStringLiteral("raggiunto %1").arg(i)), qPrintable(cases.at(i).first));
    }
    QCOMPARE(firstValue(db.path(), QStringLiteral("SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI")), QStringLiteral("4"));
    QCOMPARE(description(db.path(), 300), QStringLiteral("Incasso RiBa clienti"));
}

// A run never waits for an answer nobody gives: a start-up that fails, an error the script does
// not catch and an error report it does not answer all end in a printed message, within the
// time limit, with a status that says what happened; an error report it answers goes as answered.
void tst_Scripting::scriptRunEndsWithAnHonestStatus_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<QString>("notPrinted");
    const QString opened = QStringLiteral("host.onOpen(function () { host.log('APERTO'); host.quit(0); });\n");
    // The history table refuses its next N rows: the duplication's record fails and reports it.
    auto refusals = [](int n) {
        return QStringList{QStringLiteral("CREATE TABLE RIFIUTI (N INTEGER)"),
                           QStringLiteral("INSERT INTO RIFIUTI VALUES (%1)").arg(n),
                           QStringLiteral("CREATE TRIGGER RIFIUTA BEFORE INSERT ON CGPL_DUEBILSTORICO"
                                          " WHEN (SELECT N FROM RIFIUTI) > 0 BEGIN UPDATE RIFIUTI SET N = N - 1;"
                                          " SELECT RAISE(FAIL, 'storico rifiutato'); END")};
    };
    const QString duplicate = QStringLiteral(
        "host.onOpen(function () {\n"
        "  host.setValue('TXT_CAUSALE', '300');\n"
        "  host.input('401');\n"
        "  %1\n"
        "  host.press('Duplica');\n"
        "  host.log('COPIE=' + host.query('SELECT COUNT(*) AS N FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 401')[0].N);\n"
        "  host.quit(0);\n"
        "});\n");
    const QStringList missingTable{"ALTER TABLE CGP0_DUEBILCAUSALI RENAME TO CGP0_ALTRA"};
    const QStringList modal{"--modal"};
    QTest::newRow("table missing at start-up") << missingTable << QStringList{} << opened << 1
        << "La finestra non ha completato l'avvio" << "APERTO";
    QTest::newRow("table missing at start-up, modal window") << missingTable << modal << opened << 1
        << "La finestra non ha completato l'avvio" << "APERTO";
    QTest::newRow("script quits a modal window") << QStringList{} << modal << opened << 0 << "APERTO" << "avvio";
    QTest::newRow("error thrown in a handler")
        << QStringList{} << QStringList{}
        << "host.onOpen(function () {\n  host.setValue('TXT_CAUSALE', '300');\n  nonEsiste();\n});\n" + opened << 3
        << "ReferenceError: nonEsiste is not defined (riga 3)" << "APERTO";
    QTest::newRow("error report answered retry")
        << refusals(1) << QStringList{} << duplicate.arg("host.answer(4);") << 0 << "COPIE=1" << "senza risposta";
    QTest::newRow("error report unanswered") << refusals(9) << QStringList{} << duplicate.arg("") << 0
        << "Segnalazione di errore senza risposta dallo script: risposta 3 (Interrompi).\n"
           "Si è verificato un errore nella procedura DuplicaCausale." << "COPIE=1";
}

void tst_Scripting::scriptRunEndsWithAnHonestStatus()
{
    QFETCH(QStringList, setup);
    QFETCH(QStringList, options);
    QFETCH(QString, program);
    QFETCH(int, status);
    QFETCH(QString, printed);
    QFETCH(QString, notPrinted);
    TestDatabase db;
    if (!setup.isEmpty())
        QCOMPARE(queryValue(db.path(), setup), QString());
    QTemporaryDir dir;
    const HostRun run = runHostScript(QStringLiteral(DUEBIL_HOST), db.path(), writeScript(dir, program), options);
    const QString all = run.out + run.err;
    QVERIFY2(run.status == status, qPrintable(QString::number(run.status) + '\n' + all));
    QVERIFY2(run.ms < 20000, qPrintable(QString::number(run.ms)));
    QVERIFY2(all.contains(printed), qPrintable(all));
    QVERIFY2(!all.contains(notPrinted), qPrintable(all));
}

void tst_Scripting::unopenableDatabaseEndsTheRun_data()
{
    QTest::addColumn<QString>("connection");
    QTest::newRow("missing folder") << "missing/folder/demo.db";
    QTest::newRow("file that is not a database") << "not-a-database.db";
    QTest::newRow("ODBC server that does not answer")
        << "Driver=FreeTDS;Server=127.0.0.1;Port=%1;Database=DUEBIL;UID=sa;PWD=segreta;TDS_Version=7.4";
}

void tst_Scripting::unopenableDatabaseEndsTheRun()
{
    QFETCH(QString, connection);
    QTemporaryDir dir;
    QFile junk(dir.filePath(QStringLiteral("not-a-database.db")));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    // A server that takes the connection and never answers the login.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    const QString target = connection.contains(QLatin1String("Driver="))
        ? connection.arg(silent.serverPort()) : dir.filePath(connection);
    const QString script = writeScript(dir, QStringLiteral("host.onOpen(function () { host.log('APERTO'); host.quit(0); });\n"));

    const HostRun run = runHost(target, script);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.ms < 15000, qPrintable(QString::number(run.ms)));
    QVERIFY2(run.err.contains(QLatin1String("Impossibile aprire il database")), qPrintable(run.err));
    QVERIFY2(!run.out.contains(QLatin1String("APERTO")), qPrintable(run.out));
    QVERIFY2(!run.err.contains(QLatin1String("segreta")), qPrintable(run.err));
}

// The example of each tab, as docs/scripting.md shows it, run on a fresh demo database.
void tst_Scripting::tabExampleDoesWhatItSays_data()
{
    QTest::addColumn<QString>("example");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("stored");
    QTest::newRow("Generale") << "scheda-generale.js"
        << QStringList{"Mesi '4x' accettato: false", "Mesi '4' accettato: true", "Mesi riletti: 4"}
        << "SELECT CGP6_MESI FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1" << "4";
    QTest::newRow("Impostazione registrazione") << "scheda-registrazione.js"
        << QStringList{"Causale contabile: INC - Incasso da cliente", "Riletta: INC - Incasso da cliente, testo 'Incasso effetti'"}
        << "SELECT CGP7_CAUSALECOGE_CG33 || ' ' || CGP7_TESTORIGA FROM CGP7_DUEBILPERSREG"
           " WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1"
        << "INC Incasso effetti";
    QTest::newRow("Selezione scadenze") << "scheda-selezione.js"
        << QStringList{"Tipi effetto spuntati: true -> 3,5", "Riletta: check 1,3,4,10,15,17,20,21,25,27,29,31, tipi 3,5"}
        << "SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 4" << "1";
    QTest::newRow("Personalizzazione layout") << "scheda-layout.js"
        << QStringList{"IBAN di nuovo: Campo già presente.", "Tolto: true",
                       "Riletta: 1 Data scadenza (Crescente); 2 Ragione sociale; 3 Importo scadenza (Decrescente); "
                       "4 Numero partita (Crescente); 5 IBAN"}
        << "SELECT CGP3_VISIBLEORDER || ' ' || CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA"
           " WHERE CGP3_CAUSALE_CGP0 = 310 AND CGP3_IDFIELD_CGP1 = 10"
        << "4 1";
    QTest::newRow("Utenti") << "scheda-utenti.js"
        << QStringList{"Utente LBIANCHI: true - LBIANCHI Laura Bianchi", "Gruppo modificabile: false",
                       "Prima riga: gruppo 'COMMERCIALE', utente '', modificabili false false",
                       "Riletta, revocata a: utente LBIANCHI, gruppo COMMERCIALE"}
        << "SELECT GROUP_CONCAT(IFNULL(CGP8_ID_FW06, '') || '/' || IFNULL(CGP8_ID_FW07, '')) FROM"
           " (SELECT * FROM CGP8_DUEBILREVOKE WHERE CGP8_CAUSALE_CGP0 = 310 ORDER BY CGP8_ID_FW07)"
        << "4/,/3";
}

void tst_Scripting::tabExampleDoesWhatItSays()
{
    QFETCH(QString, example);
    QFETCH(QStringList, expected);
    QFETCH(QString, statement);
    QFETCH(QString, stored);
    const QString path = QStringLiteral(DUEBIL_EXAMPLES "/") + example;
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QFile docs(QStringLiteral(DUEBIL_DOCS "/scripting.md"));
    QVERIFY(docs.open(QIODevice::ReadOnly));
    QVERIFY2(docs.readAll().contains(file.readAll()), "docs/scripting.md does not show the example as it is");

    TestDatabase db;
    const HostRun run = runHost(db.path(), path);
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    const QStringList shown = lines(run.out);
    for (const QString &line : std::as_const(expected))
        QVERIFY2(shown.contains(line), qPrintable(QStringLiteral("missing \"%1\" in:\n%2").arg(line, run.out)));
    QCOMPARE(firstValue(db.path(), statement), stored);
}

QTEST_MAIN(tst_Scripting)
#include "tst_scripting.moc"
