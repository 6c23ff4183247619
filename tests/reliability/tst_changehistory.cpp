#include "ado/connection.h"
#include "causals/causalhistory.h"
#include "cli/duebilcli.h"
#include "support/databasereads.h"
#include "support/hostrun.h"
#include "support/modulerows.h"
#include "support/testdatabase.h"
#include "support/toolrun.h"
#include "support/windowfixture.h"

#include <QJsonArray>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

using Operation = CausalHistory::Operation;

// A change and its history record land together or not at all, and a record names only what its user
// changed; a trigger stands for a history table that refuses rows.
class tst_ChangeHistory : public WindowFixture
{
    Q_OBJECT

    // The history of the window's database, or of another one.
    QList<CausalHistory::Entry> history(const QString &code = {}, const QString &connectionString = {})
    {
        ado::Connection c;
        c.Open(connectionString.isEmpty() ? m_db->connectionString() : connectionString);
        return CausalHistory::read(c, code);
    }
    // Every stored row of the causal, one line a row.
    QString stored(const QString &code) { return storedConfiguration(m_db->connectionString(), {code}); }

    static QStringList tablesOf(const CausalHistory::Entry &e)
    {
        QStringList tables;
        for (const CausalHistory::RowChange &r : e.rows)
            tables << r.table;
        tables.removeDuplicates();
        return tables;
    }

    // A free causal to delete (no other causal compensates with it), copied from 300 as 400.
    bool copyOf300(const QString &connectionString = {})
    {
        const QString db = connectionString.isEmpty() ? m_db->connectionString() : connectionString;
        return runTool({"--db", db, "--user", "VELTO", "duplicate", "300", "400"}) == int(DueBilCli::Done);
    }

    // The history table refuses its next `times` rows (RAISE(FAIL) keeps the count it lowered).
    void refuseHistoryRows(int times)
    {
        execute(QStringLiteral("CREATE TABLE RIFIUTI_STORICO (N INTEGER)"));
        execute(QStringLiteral("INSERT INTO RIFIUTI_STORICO VALUES (%1)").arg(times));
        execute(QStringLiteral("CREATE TRIGGER RIFIUTA_STORICO BEFORE INSERT ON CGPL_DUEBILSTORICO"
                               " WHEN (SELECT N FROM RIFIUTI_STORICO) > 0 BEGIN UPDATE RIFIUTI_STORICO SET N = N - 1;"
                               " SELECT RAISE(FAIL, 'storico rifiutato'); END"));
    }

private slots:
    void init() { QVERIFY(setUpWindow()); }
    void cleanup() { tearDownWindow(); }

    // A save refused by the window's checks writes nothing, the due-date selection included;
    // the save that follows records this user's changes only, not another user's in between.
    void refusedSaveLeavesNoTraceAndNoBefore()
    {
        const QString selection = QStringLiteral("SELECT GROUP_CONCAT(FW41_INDTIPOPAG || '=' || FW41_SELEZIONATO) FROM"
                                                 " FW41_SELEZIONEPARAMSCADENZE WHERE FW41_CODICE = 310 AND FW41_DITTA_CG18 = 1");
        const QString selectionBefore = scalar(selection).toString();
        QVERIFY(open(QStringLiteral("VELTO")));
        show(QStringLiteral("310"));
        const bool ticked = ui().KVS_SELSCADENZE->isTicked(5);
        ui().KVS_SELSCADENZE->setTicked(5, !ticked);
        ui().CBO_MODIMPMAX->setText(QStringLiteral("0"));
        ui().CHK_GESTVALUTE->setEnabled(true);
        ui().CHK_GESTVALUTE->setText(QStringLiteral("1"));
        ui().CHK_FILTER[30]->setEnabled(true);
        ui().CHK_FILTER[30]->setText(QStringLiteral("1"));
        emit ui().CHK_FILTER[30]->Click();
        QVERIFY(!ui().INTERNAV->press(QStringLiteral("Conferma")));
        QCOMPARE(scalar(selection).toString(), selectionBefore);
        QCOMPARE(scalar(QStringLiteral("SELECT CGP6_INDPAGVALUTA FROM CGP6_DUEBILPARAMDITTA"
                                      " WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1")).toString(),
                 QStringLiteral("0"));
        QVERIFY(history().isEmpty());

        execute(QStringLiteral("UPDATE CGP7_DUEBILPERSREG SET CGP7_TESTORIGA = 'Scritto da un altro'"
                               " WHERE CGP7_CAUSALE_CGP0 = 310 AND CGP7_DITTA_CG18 = 1"));
        ui().CHK_FILTER[30]->setText(QStringLiteral("0"));
        emit ui().CHK_FILTER[30]->Click();
        ui().TXT_DESCRIZIONE->setText(QStringLiteral("Bonifici fornitori"));
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Conferma")));

        QVERIFY(scalar(selection).toString() != selectionBefore);
        QCOMPARE(scalar(QStringLiteral("SELECT CGP7_TESTORIGA FROM CGP7_DUEBILPERSREG"
                                      " WHERE CGP7_CAUSALE_CGP0 = 310 AND CGP7_DITTA_CG18 = 1")).toString(),
                 QStringLiteral("Scritto da un altro"));
        const QList<CausalHistory::Entry> entries = history();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().user, QStringLiteral("VELTO"));
        QCOMPARE(tablesOf(entries.first()),
                 (QStringList{"CGP0_DUEBILCAUSALI", "CGP5_DUEBILPARAM", "CGP6_DUEBILPARAMDITTA", "FW41_SELEZIONEPARAMSCADENZE"}));
    }

    // Save, new causal, delete and the default checks a new operation type stores at once, meeting
    // a refused history row or cascade statement: the error report's answer decides, and the
    // change is kept only whole and with its record.
    void changeLandsOnlyWithItsRecord_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<int>("refusals");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("kept");
        const int abort = 3, retry = 4, ignore = 5;
        const char *const actions[][2] = {{"salvataggio", "300"}, {"nuova", "410"}, {"eliminazione", "400"}, {"tipo", "310"}};
        for (const auto &[action, code] : actions) {
            QTest::addRow("%s, abort", action) << action << code << "storico rifiutato" << 9 << abort << false;
            QTest::addRow("%s, ignore", action) << action << code << "storico rifiutato" << 9 << ignore << false;
            QTest::addRow("%s, retry", action) << action << code << "storico rifiutato" << 1 << retry << true;
        }
        QTest::newRow("eliminazione, layout refused, abort") << "eliminazione" << "400" << "griglia bloccata" << 0 << abort << false;
        QTest::newRow("eliminazione, layout refused, ignore") << "eliminazione" << "400" << "griglia bloccata" << 0 << ignore << false;
    }

    void changeLandsOnlyWithItsRecord()
    {
        QFETCH(QString, action);
        QFETCH(QString, code);
        QFETCH(QString, refused);
        QFETCH(int, refusals);
        QFETCH(int, answer);
        QFETCH(bool, kept);
        QVERIFY(copyOf300());
        const QString before = stored(code);
        const int entriesBefore = history(code).size();
        if (refusals)
            refuseHistoryRows(refusals);
        else
            execute(QStringLiteral("CREATE TRIGGER RIFIUTA_GRIGLIA BEFORE DELETE ON CGP3_DUEBILGRIGLIA"
                                   " BEGIN SELECT RAISE(FAIL, 'griglia bloccata'); END"));
        QVERIFY(open(QStringLiteral("MROSSI")));
        m_messages->enqueueErrorAnswer(answer);
        show(code);
        if (action == QLatin1String("salvataggio")) {
            ui().TXT_DESCRIZIONE->setText(QStringLiteral("Incasso RiBa rivisto"));
            QCOMPARE(ui().INTERNAV->press(QStringLiteral("Conferma")), kept);
            QCOMPARE(scalar("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300").toString(),
                     kept ? QStringLiteral("Incasso RiBa rivisto") : QStringLiteral("Incasso RiBa clienti"));
            // Refused, the edit stays on screen, to be confirmed again.
            QCOMPARE(ui().TXT_DESCRIZIONE->Text(), QStringLiteral("Incasso RiBa rivisto"));
        } else if (action == QLatin1String("nuova")) {
            QCOMPARE(scalar("SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 410").toString(),
                     kept ? QStringLiteral("1") : QStringLiteral("0"));
            QCOMPARE(ui().TXT_CAUSALE->isEnabled(), !kept);
            if (kept)
                QCOMPARE(scalar("SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 410").toString(),
                         scalar("SELECT COUNT(*) FROM CGP2_DUEBILCHECK").toString());
        } else if (action == QLatin1String("tipo")) {
            ui().CBO_TIPOOPERAZIONE->setText(QStringLiteral("1"));
            emit ui().CBO_TIPOOPERAZIONE->AfterChange();
            if (kept)
                QCOMPARE(tablesOf(history(code).first()), QStringList{QStringLiteral("CGP4_DUEBILFILTRI")});
        } else {
            m_messages->enqueueAnswer(MsgAnswer::Yes);  // "Eliminare la causale 400 - ...?"
            QCOMPARE(ui().INTERNAV->press(QStringLiteral("Elimina")), kept);
            if (!kept) {
                // Still on display, with its due-date selection as stored.
                QCOMPARE(ui().TXT_CAUSALE->Text(), code);
                QVERIFY(!ui().KVS_SELSCADENZE->tickedTypes().isEmpty());
            }
        }

        const QList<RecordingMessageService::Call> errors = m_messages->callsOf(RecordingMessageService::Kind::Error);
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().error.text.contains(refused), qPrintable(errors.first().error.text));
        QCOMPARE(history(code).size(), entriesBefore + (kept ? 1 : 0));
        if (!kept)
            QCOMPARE(stored(code), before);
        else if (action == QLatin1String("eliminazione"))
            QCOMPARE(stored(code), QString());
    }

    // The same rows stored or gone in every table, and one history record of the same rows.
    void windowAndToolCreateAndDeleteAlike_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("nuova") << QStringLiteral("create");
        QTest::newRow("eliminazione") << QStringLiteral("delete");
    }

    void windowAndToolCreateAndDeleteAlike()
    {
        QFETCH(QString, command);
        const bool create = command == QLatin1String("create");
        const QString code = create ? QStringLiteral("410") : QStringLiteral("400");
        TestDatabase toolDb;
        QVERIFY(toolDb.isValid());
        if (!create)
            QVERIFY(copyOf300() && copyOf300(toolDb.connectionString()));

        QVERIFY(open(QStringLiteral("MROSSI")));
        show(code);
        if (!create) {
            m_messages->enqueueAnswer(MsgAnswer::Yes);
            QVERIFY(ui().INTERNAV->press(QStringLiteral("Elimina")));
        }
        QCOMPARE(runTool({"--db", toolDb.path(), "--user", "MROSSI", command, code}), int(DueBilCli::Done));

        QCOMPARE(moduleRows(toolDb.connectionString()), moduleRows(m_db->connectionString()));
        for (const char *sibling : {"SELECT COUNT(*) FROM FW17_ORDERPRS", "SELECT COUNT(*) FROM FW18_SELEZIONEPRS"})
            QCOMPARE(::scalar(toolDb.connectionString(), QLatin1String(sibling)), scalar(QLatin1String(sibling)));
        const QList<CausalHistory::Entry> byWindow = history(code), byTool = history(code, toolDb.connectionString());
        QCOMPARE(byTool.size(), byWindow.size());
        QCOMPARE(byTool.first().operation, byWindow.first().operation);
        QCOMPARE(byTool.first().rows.size(), byWindow.first().rows.size());
    }

    // Window start-up and tool record a completion once, per table; nothing added records nothing,
    // and a refused record adds nothing.
    void completionIsRecordedWithItsCounts()
    {
        execute(QStringLiteral("DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_IDCHECK_CGP2 = 32"));
        execute(QStringLiteral("DELETE FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1"));
        QVERIFY(open(QStringLiteral("MROSSI")));
        QList<CausalHistory::Entry> entries = history();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().operation, Operation::Completion);
        QCOMPARE(entries.first().user, QStringLiteral("MROSSI"));
        QCOMPARE(entries.first().causal.toInt(), CausalHistory::EveryCausal);
        QCOMPARE(entries.first().rows.size(), 2);
        QCOMPARE(entries.first().rows.at(0).table, QStringLiteral("CGP4_DUEBILFILTRI"));
        QCOMPARE(entries.first().rows.at(0).values.value("righe").toArray().at(1).toInt(), 4);
        QCOMPARE(entries.first().rows.at(1).table, QStringLiteral("CGP6_DUEBILPARAMDITTA"));
        QCOMPARE(entries.first().rows.at(1).key.value("CGP6_DITTA_CG18").toInt(), 1);
        QCOMPARE(entries.first().rows.at(1).values.value("righe").toArray().at(1).toInt(), 1);
        tearDownWindow();
        QVERIFY(setUpWindow());

        // The tool, for a new company: its two tables, one row per causal each.
        execute(QStringLiteral("INSERT INTO CG18_DITTE (CG18_CODICE, CG18_RAGSOC, CG18_PARTITAIVA, CG18_GRUPPO_CG10)"
                               " VALUES (4, 'Neri S.r.l.', '09876540321', 1)"));
        auto complete = [this] { return runTool({"--db", m_db->path(), "--company", "4", "--user", "LBIANCHI", "complete"}); };
        QCOMPARE(complete(), int(DueBilCli::Done));
        QCOMPARE(complete(), int(DueBilCli::Done));
        entries = history();
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().user, QStringLiteral("LBIANCHI"));
        QCOMPARE(tablesOf(entries.first()), (QStringList{"CGP6_DUEBILPARAMDITTA", "CGP7_DUEBILPERSREG"}));
        for (const CausalHistory::RowChange &r : entries.first().rows)
            QCOMPARE(r.values.value("righe").toArray().at(1).toInt(), 4);
        QString o;
        QCOMPARE(runTool({"--db", m_db->path(), "history"}, &o), int(DueBilCli::Done));
        QVERIFY2(o.contains(QLatin1String("LBIANCHI  completamento righe  tutte le causali")), qPrintable(o));
        QVERIFY2(o.contains(QLatin1String("CGP7_DUEBILPERSREG")) && o.contains(QLatin1String("righe=4")), qPrintable(o));

        // Refused record: the rows stay missing, to be completed next time.
        refuseHistoryRows(9);
        execute(QStringLiteral("DELETE FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 300"));
        QCOMPARE(complete(), int(DueBilCli::Refused));
        QCOMPARE(scalar("SELECT COUNT(*) FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 300").toString(), QStringLiteral("0"));
        QCOMPARE(history().size(), 1);
    }

    // Started by a service, without USER and LOGNAME, the tool records the login's home folder as user.
    void toolWithoutUserVariablesRecordsTheLogin()
    {
        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("operatore")));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *variable : {"USER", "USERNAME", "LOGNAME"})
            env.remove(QLatin1String(variable));
        env.insert(QStringLiteral("HOME"), home.filePath(QStringLiteral("operatore")));
        const HostRun tool = runProgram(QStringLiteral(DUEBILCONFIG_TOOL), {"--db", m_db->path(), "create", "500"}, env);
        QVERIFY2(tool.status == 0, qPrintable(tool.err));
        const QList<CausalHistory::Entry> entries = history(QStringLiteral("500"));
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().user, QStringLiteral("operatore"));
    }
};

QTEST_MAIN(tst_ChangeHistory)
#include "tst_changehistory.moc"
