#include "hostrun.h"
#include "testdatabase.h"

#include <QTemporaryDir>
#include <QTest>

// The layout tab and the exclusions tab under the user's hands, through the real host: rows
// clicked, fields removed and added, look-up fields typed, each with every answer the user can
// give; the script prints what the window shows and the database is read afterwards.
class tst_LayoutExclusionTabs : public QObject
{
    Q_OBJECT

private slots:
    void tabDoesWhatTheUserAsks_data();
    void tabDoesWhatTheUserAsks();
};

namespace {

// The grid helpers every script shares: the layout as "position id" pairs, the exclusions as
// "group id/user id code", the two fields as "group|user enabled enabled".
const char *helpers =
    "function layout() { return host.rows('QGRID_LAYOUT').map(function (r) { return r.CGP3_VISIBLEORDER + ':' + r.CGP1_ID; }).join(' '); }\n"
    "function esclusi() { return host.rows('QGRID_GRUPPIUTENTI').map(function (r) {\n"
    "    return r.CGP8_ID_FW06 + '/' + r.CGP8_ID_FW07 + ' ' + r.FW06_CODICE + r.FW07_USERNAME; }).join(', '); }\n"
    "function campi() { return host.value('TXT_GRUPPO') + '|' + host.value('TXT_UTENTE') + ' '\n"
    "    + host.isEnabled('TXT_GRUPPO') + ' ' + host.isEnabled('TXT_UTENTE'); }\n";

const QString layoutOf310 = QStringLiteral(
    "SELECT GROUP_CONCAT(CGP3_VISIBLEORDER || ':' || CGP3_IDFIELD_CGP1, ' ') FROM (SELECT * FROM CGP3_DUEBILGRIGLIA"
    " WHERE CGP3_CAUSALE_CGP0 = 310 ORDER BY CGP3_VISIBLEORDER, CGP3_IDFIELD_CGP1)");
const QString exclusionsOf300 = QStringLiteral(
    "SELECT GROUP_CONCAT(IFNULL(CGP8_ID_FW06, '') || '/' || IFNULL(CGP8_ID_FW07, ''), ',') FROM (SELECT * FROM"
    " CGP8_DUEBILREVOKE WHERE CGP8_CAUSALE_CGP0 = 300 ORDER BY CGP8_ID_FW06, CGP8_ID_FW07)");

} // namespace

void tst_LayoutExclusionTabs::tabDoesWhatTheUserAsks_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("body");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QString>("statement");
    QTest::addColumn<QString>("stored");

    // Demo layout of 310: 1:30 2:2010 3:40 4:220 5:300. A row moved down takes the next position
    // and the next row its own; a new field's position is the count of rows.
    QTest::newRow("a field removed with Sì: the grid shows the rest, the next button works")
        << QStringList{} << "host.setValue('TXT_CAUSALE', '310');\n"
           "host.log('riga ' + host.clickRow('QGRID_LAYOUT', 1));\n"
           "host.answer(6);\n"
           "host.log('tolto ' + host.press('BUT_DESEL') + ' ' + layout() + ' corrente ' + host.value('QGRID_LAYOUT'));\n"
           "host.log('giu ' + host.press('BUT_DOWN') + ' ' + layout());\n"
           "host.select('TVCAMPI', 'CG44_SCADENZE.CG44_NUMPARTITA');\n"
           "host.log('aggiunto ' + host.press('BUT_SEL') + ' ' + layout());\n"
           "host.log('messaggi ' + host.messages().length);\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"riga true", "tolto true 1:30 3:40 4:220 5:300 corrente 0", "giu true 1:40 2:30 4:220 5:300",
                       "aggiunto true 1:40 2:30 4:220 5:300 5:10", "messaggi 1", "salvata true"}
        << layoutOf310 << "1:40 2:30 4:220 5:10 5:300";
    QTest::newRow("every field removed: an empty layout is saved as no rows")
        << QStringList{} << "host.setValue('TXT_CAUSALE', '310');\n"
           "for (var i = 0; i < 5; i++) { host.clickRow('QGRID_LAYOUT', 0); host.answer(6); host.press('BUT_DESEL'); }\n"
           "host.log('righe ' + host.rows('QGRID_LAYOUT').length + ' messaggi ' + host.messages().length);\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"righe 0 messaggi 5", "salvata true"} << "SELECT COUNT(*) FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 310"
        << "0";
    QTest::newRow("a removal answered No keeps the field")
        << QStringList{} << "host.setValue('TXT_CAUSALE', '310');\n"
           "host.clickRow('QGRID_LAYOUT', 4);\n"
           "host.answer(7);\n"
           "host.log('no ' + host.press('BUT_DESEL') + ' ' + layout());\n"
        << QStringList{"no true 1:30 2:2010 3:40 4:220 5:300"} << layoutOf310 << "1:30 2:2010 3:40 4:220 5:300";
    QTest::newRow("a stored field is refused by the button and by a double click on its node")
        << QStringList{} << "host.setValue('TXT_CAUSALE', '310');\n"
           "host.select('TVCAMPI', 'CG44_SCADENZE.CG44_DATASCADENZA');\n"
           "host.press('BUT_SEL');\n"
           "host.doubleClick('TVCAMPI', 'CG16_CLIFOR.CG16_RAGSOC');\n"
           "host.log('rifiutati ' + host.messages().join('|') + ' ' + layout());\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"rifiutati Campo già presente.|Campo già presente. 1:30 2:2010 3:40 4:220 5:300", "salvata true"}
        << layoutOf310 << "1:30 2:2010 3:40 4:220 5:300";
    QTest::newRow("a field added twice is refused the second time")
        << QStringList{} << "host.setValue('TXT_CAUSALE', '310');\n"
           "host.select('TVCAMPI', 'CG44_SCADENZE.CG44_NUMPARTITA');\n"
           "host.press('BUT_SEL'); host.press('BUT_SEL');\n"
           "host.log('doppio ' + host.messages().join('|') + ' ' + layout());\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"doppio Campo già presente. 1:30 2:2010 3:40 4:220 5:300 6:10", "salvata true"}
        << layoutOf310 << "1:30 2:2010 3:40 4:220 5:300 6:10";
    QTest::newRow("a layout the database refuses is reported, not saved, and stays pending")
        << QStringList{"CREATE TRIGGER blocca10 BEFORE INSERT ON CGP3_DUEBILGRIGLIA WHEN NEW.CGP3_IDFIELD_CGP1 = 10"
                       " BEGIN SELECT RAISE(ABORT, 'campo bloccato'); END"}
        << "host.setValue('TXT_CAUSALE', '310');\n"
           "host.select('TVCAMPI', 'CG44_SCADENZE.CG44_NUMPARTITA');\n"
           "host.press('BUT_SEL');\n"
           "host.log('salvata ' + host.press('Conferma') + ' ' + layout());\n"
           "host.log('segnalato ' + /UpdateLayOut[\\s\\S]*campo bloccato/.test(host.messages().join('|')));\n"
           "host.answer(2);\n"      // Annulla to the question whether to save before leaving
           "host.log('nuovo ' + host.press('Nuovo') + ' ' + host.value('TXT_CAUSALE') + ' ' + layout());\n"
        << QStringList{"salvata false 1:30 2:2010 3:40 4:220 5:300 6:10", "segnalato true", "nuovo false 310 1:30 2:2010 3:40 4:220 5:300 6:10"}
        << layoutOf310 << "1:30 2:2010 3:40 4:220 5:300";

    // Demo exclusions of 300: user 4 (GVERDI, inactive).
    QTest::newRow("codes are shown and typed; the row stores the id")
        << QStringList{} << "host.setValue('TXT_CAUSALE', '300');\n"
           "host.log('utente ' + campi() + ' ' + host.value('LBL_DESCRUTENTE'));\n"
           "host.press('GRIDNAVREVOKE.NUOVO');\n"
           "host.log('ignoto ' + host.setValue('TXT_GRUPPO', 'NESSUNO') + \" '\" + host.value('LBL_DESCRGRUPPO') + \"' \" + campi() + ' ' + host.focused());\n"
           "host.log('gruppo ' + host.setValue('TXT_GRUPPO', 'contabilita') + ' ' + host.value('LBL_DESCRGRUPPO') + ' ' + campi());\n"
           "host.log('griglia ' + esclusi());\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"utente |GVERDI false false Giuseppe Verdi", "ignoto true '' NESSUNO| true true TXT_GRUPPO",
                       "gruppo true Contabilità generale CONTABILITA| true false", "griglia /4 GVERDI, 2/ CONTABILITA",
                       "salvata true"}
        << exclusionsOf300 << "/4,2/";
    QTest::newRow("an inactive user typed by name is taken, a cleared group opens the user field")
        << QStringList{} << "host.setValue('TXT_CAUSALE', '300');\n"
           "host.press('GRIDNAVREVOKE.NUOVO');\n"
           "host.log('gruppo ' + host.setValue('TXT_GRUPPO', 'TESORERIA') + ' ' + campi());\n"
           "host.log('vuoto ' + host.setValue('TXT_GRUPPO', '') + ' ' + campi());\n"
           "host.log('utente ' + host.setValue('TXT_UTENTE', 'PNERI') + ' ' + host.value('LBL_DESCRUTENTE') + ' ' + campi());\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"gruppo true TESORERIA| true false", "vuoto true | true true", "utente true Paolo Neri |PNERI false true",
                       "salvata true"}
        << exclusionsOf300 << "/4,/6";
    QTest::newRow("a click on a row shows it with both fields closed; typing can no longer reach it")
        << QStringList{"INSERT INTO CGP8_DUEBILREVOKE (CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07) VALUES (300, 3, NULL)"}
        << "host.setValue('TXT_CAUSALE', '300');\n"
           "host.log('righe ' + esclusi());\n"
           "host.press('GRIDNAVREVOKE.NUOVO');\n"
           "host.log('nuova ' + campi());\n"
           "host.log('prima ' + host.clickRow('QGRID_GRUPPIUTENTI', 0) + ' ' + campi());\n"
           "host.log('seconda ' + host.clickRow('QGRID_GRUPPIUTENTI', 1) + ' ' + campi());\n"
           "host.log('scrive ' + host.setValue('TXT_GRUPPO', 'CONTABILITA') + ' ' + campi());\n"
           "host.log('nuova riga ' + host.clickRow('QGRID_GRUPPIUTENTI', 2) + ' ' + campi());\n"
           "host.log('elimina ' + host.press('GRIDNAVREVOKE.ELIMINA') + ' ' + esclusi() + ' ' + campi());\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"righe /4 GVERDI, 3/ TESORERIA", "nuova | true true", "prima true |GVERDI false false",
                       "seconda true TESORERIA| false false", "scrive false TESORERIA| false false",
                       "nuova riga true | false false", "elimina true /4 GVERDI, 3/ TESORERIA TESORERIA| false false",
                       "salvata true"}
        << exclusionsOf300 << "/4,3/";
    QTest::newRow("Elimina on a stored row closes both fields and removes only that row")
        << QStringList{} << "host.setValue('TXT_CAUSALE', '300');\n"
           "host.press('GRIDNAVREVOKE.NUOVO');\n"
           "host.setValue('TXT_UTENTE', 'AFERRARI');\n"
           "host.log('riga ' + host.clickRow('QGRID_GRUPPIUTENTI', 0) + ' elimina ' + host.press('GRIDNAVREVOKE.ELIMINA')"
           " + ' ' + esclusi() + ' ' + campi());\n"
           "host.log('salvata ' + host.press('Conferma'));\n"
        << QStringList{"riga true elimina true /5 AFERRARI |AFERRARI false false", "salvata true"}
        << exclusionsOf300 << "/5";
}

void tst_LayoutExclusionTabs::tabDoesWhatTheUserAsks()
{
    QFETCH(QStringList, setup);
    QFETCH(QString, body);
    QFETCH(QStringList, expected);
    QFETCH(QString, statement);
    QFETCH(QString, stored);
    TestDatabase db;
    if (!setup.isEmpty())
        QVERIFY(!queryValue(db.path(), setup).startsWith(QLatin1String("ERRORE")));
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("script.js"));
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(helpers);
    file.write(QStringLiteral("host.onOpen(function () {\n%1host.quit(0);\n});\n").arg(body).toUtf8());
    file.close();
    const HostRun run = runHostScript(QStringLiteral(DUEBIL_HOST), db.path(), script);
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    const QStringList shown = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : std::as_const(expected))
        QVERIFY2(shown.contains(line), qPrintable(QStringLiteral("missing \"%1\" in:\n%2%3").arg(line, run.out, run.err)));
    QVERIFY2(!run.err.contains(QLatin1String("deleted")), qPrintable(run.err));
    QCOMPARE(queryValue(db.path(), {statement}), stored);
}

QTEST_MAIN(tst_LayoutExclusionTabs)
#include "tst_layoutexclusiontabs.moc"
