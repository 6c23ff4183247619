#include "controldriver.h"
#include "hostrun.h"
#include "recordingmessageservice.h"
#include "scriptrunner.h"
#include "testdatabase.h"

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
    void hostCallActsOnTheWindow_data();
    void hostCallActsOnTheWindow();
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

// Each call as the user's hands do it, through the real host: the script prints what the window
// shows, and the database holds what was saved.
void tst_Scripting::hostCallActsOnTheWindow_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("stored");

    QTest::newRow("setValue types and commits, in upper case where the field has it")
        << "host.log('causale ' + host.setValue('TXT_CAUSALE', '300') + ' ' + host.value('TXT_DESCRIZIONE'));\n"
           "host.log('minuscolo ' + host.setValue('TXT_CAUSALECOGE', 'inc') + ' ' + host.value('TXT_CAUSALECOGE')"
           " + ' ' + host.value('TXT_DESCCAUINCPAG'));\n"
           "host.log('scheda ' + host.tab() + ' fuoco ' + host.focused());\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"causale true Incasso RiBa clienti", "minuscolo true INC Incasso da cliente",
                       "scheda 1 fuoco TXT_CAUSALECOGE", "salvata true"}
        << "SELECT CGP7_CAUSALECOGE_CG33 FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1"
        << "INC";
    QTest::newRow("setValue: keys the field refuses leave it as it was")
        << "host.log('lettere ' + host.setValue('TXT_CAUSALE', '3a2x45') + \" '\" + host.value('TXT_CAUSALE') + \"'\");\n"
           "host.log('uguale ' + host.setValue('TXT_CAUSALE', '1=1') + \" '\" + host.value('TXT_CAUSALE') + \"'\");\n"
           "host.setValue('TXT_CAUSALE', '300');\n"
           "host.log('troppo lunga ' + host.setValue('TXT_CAUSALECOGE', 'RIBXX') + ' ' + host.value('TXT_CAUSALECOGE'));\n"
           "host.log('numero ' + host.setValue('TXT_MESI', '4x') + ' ' + host.value('TXT_MESI'));\n"
           "var testo = host.value('TXT_TESTOPARAMETRICO');\n"
           "host.log('testo lungo ' + host.setValue('TXT_TESTOPARAMETRICO', new Array(242).join('x'))"
           " + ' ' + (host.value('TXT_TESTOPARAMETRICO') === testo));\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"lettere false ''", "uguale false ''", "troppo lunga false RIB", "numero false 3",
                       "testo lungo false true", "salvata true"}
        << "SELECT GROUP_CONCAT(CGP0_CAUSALE) FROM CGP0_DUEBILCAUSALI" << "150,300,310,320";
    QTest::newRow("setValue: an entry the window refuses keeps the focus from the next field")
        << "host.setValue('TXT_CAUSALE', '300');\n"
           "host.log('inesistente ' + host.setValue('TXT_CAUSALECOGE', 'ZZZ') + ' ' + host.focused());\n"
           "host.log('mesi ' + host.setValue('TXT_MESI', '5') + ' ' + host.focused());\n"
           "host.log('corretta ' + host.setValue('TXT_CAUSALECOGE', 'RIB') + ' mesi ' + host.setValue('TXT_MESI', '5'));\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"inesistente false TXT_CAUSALECOGE", "mesi false TXT_CAUSALECOGE", "corretta true mesi true",
                       "salvata true"}
        << "SELECT CGP6_MESI FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1" << "5";
    QTest::newRow("setValue: combos and check boxes change as a click")
        << "host.setValue('TXT_CAUSALE', '310');\n"
           "var voci = host.items('CBO_DETTREG');\n"
           "host.log('combo ' + host.setValue('CBO_DETTREG', voci[1].value) + ' ' + (host.value('CBO_DETTREG') === voci[1].value));\n"
           "host.log('voce ignota ' + host.setValue('CBO_DETTREG', '99') + ' ' + (host.value('CBO_DETTREG') === voci[1].value));\n"
           "host.log('spunta ' + host.setValue('CHK_DESCRAGGTEST', '1') + ' ' + host.value('CHK_DESCRAGGTEST'));\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"combo true true", "voce ignota false true", "spunta true 1", "salvata true"}
        << "SELECT CGP6_DESCRAGGTESTATA FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1"
        << "1";
    QTest::newRow("setValue: a disabled or hidden control is not changed")
        << "host.setValue('TXT_CAUSALE', '300');\n"
           "host.log('disabilitato ' + host.isEnabled('TXT_GRUPPO') + ' ' + host.setValue('TXT_GRUPPO', '3')"
           " + \" '\" + host.value('TXT_GRUPPO') + \"'\");\n"
           "var spunta = host.value('CHK_FILTER_12');\n"
           "host.log('nascosto ' + host.isVisible('CHK_FILTER_12') + ' ' + host.setValue('CHK_FILTER_12', spunta === '1' ? '0' : '1')"
           " + ' ' + (host.value('CHK_FILTER_12') === spunta));\n"
           "host.log('scheda ' + host.tab());\n"
        << QStringList{"disabilitato false false ''", "nascosto false false true", "scheda 0"} << QString() << QString();
    QTest::newRow("query: one SELECT is read, semicolons in its texts included")
        << "var righe = host.query(\"SELECT COUNT(*) AS N FROM CGP0_DUEBILCAUSALI WHERE CGP0_DESCRIZIONE <> 'a;b'\");\n"
           "host.log('lette ' + righe.length + ' ' + righe[0].N);\n"
        << QStringList{"lette 1 4"} << QString() << QString();
    QTest::newRow("items: the entries of a combo, value and caption")
        << "var v = host.items('CBO_TIPOOPERAZIONE');\n"
           "host.log('voci ' + v.length + ' ' + v[0].value + '=' + v[0].caption + ' ' + v[7].value + '=' + v[7].caption);\n"
        << QStringList{"voci 8 1=Incassi 8=Acconti"} << QString() << QString();
    QTest::newRow("press: the two buttons of the check tab")
        << "host.setValue('TXT_CAUSALE', '300');\n"
           "host.log('spunta ' + host.setValue('CHK_FILTER_4', '1'));\n"
           "host.answer(6);\n"
           "host.log('predefinite ' + host.press('CMD_CHECKCAUSALEDEFAULT') + ' ' + host.value('CHK_FILTER_4'));\n"
           "host.answer(6);\n"
           "host.log('modifica ' + host.press('CMD_MODIFICACHECKCAUSALE') + ' ' + host.isEnabled('CHK_FILTER_6'));\n"
           "host.log(host.messages().join('|'));\n"
        << QStringList{"spunta true", "predefinite true 0", "modifica true true"} << QString() << QString();
    QTest::newRow("select, BUT_SEL, BUT_DESEL, BUT_UP, BUT_DOWN, clickRow on the layout")
        << "host.setValue('TXT_CAUSALE', '300');\n"
           "function ordine() { return host.rows('QGRID_LAYOUT').map(function (r) { return r.CGP1_ID; }).join(','); }\n"
           "host.log('nodo ' + host.select('TVCAMPI', 'CG44_SCADENZE.CG44_NUMPARTITA') + ' ' + host.value('TVCAMPI'));\n"
           "host.log('aggiunto ' + host.press('BUT_SEL') + ' ' + ordine());\n"
           "host.log('riga ' + host.clickRow('QGRID_LAYOUT', 0) + ' giu ' + host.press('BUT_DOWN') + ' ' + ordine());\n"
           "host.log('riga ' + host.clickRow('QGRID_LAYOUT', 5) + ' su ' + host.press('BUT_UP') + ' ' + ordine());\n"
           "host.answer(7);\n"
           "host.log('riga ' + host.clickRow('QGRID_LAYOUT', 0) + ' togliere ' + host.press('BUT_DESEL') + ' ' + ordine());\n"
           "host.log(host.messages().join('|'));\n"
           "host.log('nodo ignoto ' + host.select('TVCAMPI', 'CG44_SCADENZE.NESSUNO') + ' riga ignota ' + host.clickRow('QGRID_LAYOUT', 9));\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"nodo true CG44_SCADENZE.CG44_NUMPARTITA", "aggiunto true 30,2010,40,80,110,10",
                       "riga true giu true 2010,30,40,80,110,10", "riga true su true 2010,30,40,80,10,110",
                       "riga true togliere true 2010,30,40,80,10,110",
                       "Eliminare il campo 'Ragione sociale' dal layout?",
                       "nodo ignoto false riga ignota false", "salvata true"}
        << "SELECT GROUP_CONCAT(CGP3_IDFIELD_CGP1) FROM (SELECT CGP3_IDFIELD_CGP1 FROM CGP3_DUEBILGRIGLIA"
           " WHERE CGP3_CAUSALE_CGP0 = 300 ORDER BY CGP3_VISIBLEORDER)"
        << "2010,30,40,80,10,110";
    QTest::newRow("rows: the cells as shown, hidden columns included")
        << "host.setValue('TXT_CAUSALE', '300');\n"
           "var r = host.rows('QGRID_LAYOUT')[1];\n"
           "host.log('layout ' + [r.CGP1_ID, r.CGP1_FIELD, r.CGP3_VISIBLEORDER, r.CGP1_DESCRIZIONE, r.CGP3_SORTTYPE, r.CGP3_GROUPED].join('|'));\n"
           "var u = host.rows('QGRID_GRUPPIUTENTI');\n"
           "host.log('utenti ' + u.length + ' ' + u[0].CGP8_ID_FW07 + '|' + u[0].FW07_USERNAME + '|' + u[0].FW07_DESCR);\n"
        << QStringList{"layout 2010|CG16_RAGSOC|2|Ragione sociale|Crescente|1", "utenti 1 4|GVERDI|Giuseppe Verdi"}
        << QString() << QString();
    QTest::newRow("doubleClick: the sort cell cycles, other cells change nothing, a tree node is added")
        << "host.setValue('TXT_CAUSALE', '300');\n"
           "function ordinamento() { return host.rows('QGRID_LAYOUT')[0].CGP3_SORTTYPE; }\n"
           "host.log('ordinamento ' + host.doubleClick('QGRID_LAYOUT', 0, 'CGP3_SORTTYPE') + ' ' + ordinamento());\n"
           "host.log('descrizione ' + host.doubleClick('QGRID_LAYOUT', 0, 'CGP1_DESCRIZIONE') + ' ' + ordinamento());\n"
           "host.log('nascosta ' + host.doubleClick('QGRID_LAYOUT', 0, 'CGP1_ID'));\n"
           "host.log('nodo ' + host.doubleClick('TVCAMPI', 'CG44_SCADENZE.CG44_ANNOPARTITA') + ' ' + host.rows('QGRID_LAYOUT').length);\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"ordinamento true Decrescente", "descrizione true Decrescente", "nascosta false", "nodo true 6",
                       "salvata true"}
        << "SELECT CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300 AND CGP3_IDFIELD_CGP1 = 30" << "2";
    QTest::newRow("press: the grid navigator's NUOVO and ELIMINA")
        << "host.setValue('TXT_CAUSALE', '300');\n"
           "host.log('prima ' + host.isEnabled('TXT_GRUPPO') + ' ' + host.isEnabled('TXT_UTENTE'));\n"
           "host.log('nuovo ' + host.press('GRIDNAVREVOKE.NUOVO') + ' ' + host.isEnabled('TXT_GRUPPO') + ' ' + host.isEnabled('TXT_UTENTE'));\n"
           "host.log('gruppo ' + host.setValue('TXT_GRUPPO', 'TESORERIA') + ' ' + host.value('LBL_DESCRGRUPPO') + ' ' + host.isEnabled('TXT_UTENTE'));\n"
           "host.press('Conferma');\n"
           "host.log('riga ' + host.clickRow('QGRID_GRUPPIUTENTI', 0) + ' elimina ' + host.press('GRIDNAVREVOKE.ELIMINA')"
           " + ' ' + host.rows('QGRID_GRUPPIUTENTI').length);\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"prima false false", "nuovo true true true", "gruppo true Tesoreria false", "riga true elimina true 1",
                       "salvata true"}
        << "SELECT GROUP_CONCAT(IFNULL(CGP8_ID_FW06, '') || '/' || IFNULL(CGP8_ID_FW07, '')) FROM CGP8_DUEBILREVOKE"
           " WHERE CGP8_CAUSALE_CGP0 = 300"
        << "3/";
    QTest::newRow("isVisible, caption and the legend button")
        << "host.setValue('TXT_CAUSALE', '300');\n"
           "host.log('visibili ' + host.isVisible('CHK_FILTER_5') + ' ' + host.isVisible('CHK_FILTER_12') + ' ' + host.isVisible('TXT_GRUPPO'));\n"
           "host.log('didascalie ' + host.caption('LBL_MESI') + '|' + host.caption('BUT_SEL') + '|' + host.caption('CMD_CHECKCAUSALEDEFAULT'));\n"
           "host.log('legenda ' + host.isVisible('BUT_LEGENDA') + ' ' + host.press('BUT_LEGENDA') + ' ' + host.tab()"
           " + ' ' + host.isVisible('LegendaTestiParametrizzabili'));\n"
        << QStringList{"visibili true false true",
                       "didascalie Mesi retroattivi recupero scadenze:|Aggiungi campo|Impostazioni predefinite",
                       "legenda true true 1 true"}
        << QString() << QString();
    QTest::newRow("tab, setTab and the tab's caption")
        << "host.log('senza causale ' + host.setTab(3) + ' ' + host.tab() + ' ' + host.caption('TAB_CONFIG'));\n"
           "host.setValue('TXT_CAUSALE', '300');\n"
           "host.log('layout ' + host.setTab(3) + ' ' + host.tab() + ' ' + host.caption('TAB_CONFIG'));\n"
           "host.log('fuori ' + host.setTab(7) + ' ' + host.tab());\n"
        << QStringList{"senza causale false 0 Generale", "layout true 3 Personalizzazione layout", "fuori false 3"}
        << QString() << QString();
}

void tst_Scripting::hostCallActsOnTheWindow()
{
    QFETCH(QString, body);
    QFETCH(QStringList, expected);
    QFETCH(QString, statement);
    QFETCH(QString, stored);
    TestDatabase db;
    QTemporaryDir dir;
    const QString script = writeScript(dir, QStringLiteral("host.onOpen(function () {\n%1host.quit(0);\n});\n").arg(body));
    const HostRun run = runHost(db.path(), script);
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    const QStringList shown = lines(run.out);
    for (const QString &line : std::as_const(expected))
        QVERIFY2(shown.contains(line), qPrintable(QStringLiteral("missing \"%1\" in:\n%2%3").arg(line, run.out, run.err)));
    if (!statement.isEmpty())
        QCOMPARE(firstValue(db.path(), statement), stored);
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
    const QList<QPair<QString, QString>> cases = {
        {"host.value('NONESISTE')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.setValue('NONESISTE', '1')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.isEnabled('NONESISTE')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.isVisible('NONESISTE')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.caption('NONESISTE')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.items('NONESISTE')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.press('NONESISTE')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.press('GRIDNAVREVOKE.AVANTI')", "GRIDNAVREVOKE.AVANTI: la finestra non ha un controllo con questo nome"},
        {"host.select('NONESISTE', 'Scadenze')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.rows('NONESISTE')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.clickRow('NONESISTE', 0)", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.doubleClick('NONESISTE', 0, 'CGP3_SORTTYPE')", "NONESISTE: la finestra non ha un controllo con questo nome"},
        {"host.setValue('BUT_SEL', 'x')", "BUT_SEL: il controllo non consente host.setValue"},
        {"host.press('TXT_CAUSALE')", "TXT_CAUSALE: il controllo non consente host.press"},
        {"host.rows('CBO_TIPOOPERAZIONE')", "CBO_TIPOOPERAZIONE: il controllo non consente host.rows"},
        {"host.select('QGRID_LAYOUT', 'Scadenze')", "QGRID_LAYOUT: il controllo non consente host.select"},
        {"host.items('TXT_CAUSALE')", "TXT_CAUSALE: il controllo non consente host.items"},
        {"host.clickRow('TVCAMPI', 0)", "TVCAMPI: il controllo non consente host.clickRow"},
        {"host.doubleClick('QGRID_LAYOUT', 0, 'NESSUNA')", "QGRID_LAYOUT: la griglia non ha la colonna NESSUNA"},
        {"host.query('DELETE FROM CGP0_DUEBILCAUSALI')",
         "host.query legge soltanto: ammessa una sola istruzione SELECT (DELETE FROM CGP0_DUEBILCAUSALI)"},
        {"host.query('/* select */ update CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = 1')",
         "host.query legge soltanto: ammessa una sola istruzione SELECT (/* select */ update CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = 1)"},
        {"host.query(\"SELECT 1 AS a; DELETE FROM CGP0_DUEBILCAUSALI WHERE CGP0_DESCRIZIONE <> ';'\")",
         "host.query legge soltanto: ammessa una sola istruzione SELECT (SELECT 1 AS a; DELETE FROM CGP0_DUEBILCAUSALI WHERE CGP0_DESCRIZIONE <> ';')"},
    };
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
