#include "connection.h"
#include "duebilcli.h"
#include "recordset.h"
#include "testdatabase.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// The tool answers scripts: its exit status and messages are what a caller relies on.
class TestDueBilCli : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    QString m_out, m_err;

    int run(QStringList args)
    {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out), err(&m_err);
        args.prepend(m_db->connectionString());
        args.prepend("--db");
        return DueBilCli(out, err).run(args);
    }

    int rows(const QString &where)
    {
        ado::Connection c;
        c.Open(m_db->connectionString());
        return c.Execute("SELECT COUNT(*) AS N FROM " + where)->value("N").toInt();
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Demo);
        QVERIFY(m_db->isValid());
    }

    void exitStatusAndMessage_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");  // start of stdout (status 0) or stderr
        QTest::newRow("create") << QStringList{"create", "400"} << 0 << "Causale 400 creata.";
        QTest::newRow("create existing") << QStringList{"create", "300"} << 1 << "La causale 300 esiste già!";
        QTest::newRow("create reserved") << QStringList{"--user", "mrossi", "create", "299"} << 1
                                         << "Impossibile creare causali con codice inferiore a 300!";
        QTest::newRow("create reserved by VELTO") << QStringList{"--user", "velto", "create", "299"} << 0
                                                  << "Causale 299 creata.";
        QTest::newRow("create four digits") << QStringList{"create", "1000"} << 1
                                            << "Codice non valido! Lunghezza max consentita = 3!";
        QTest::newRow("create negative") << QStringList{"create", "-1"} << 1 << "Inserire un valore numerico";
        QTest::newRow("create statement in code") << QStringList{"create", "1;"} << 1 << "Inserire un valore numerico";
        QTest::newRow("duplicate") << QStringList{"duplicate", "310", "311"} << 0
                                   << "Causale 310 duplicata nella causale 311.";
        QTest::newRow("duplicate onto existing") << QStringList{"duplicate", "310", "300"} << 1
                                                 << "La causale 300 esiste già!";
        QTest::newRow("duplicate missing") << QStringList{"duplicate", "399", "398"} << 1 << "La causale 399 non esiste.";
        QTest::newRow("delete compensation causal") << QStringList{"delete", "310"} << 1
                                                    << "La causale selezionata è utilizzata nella azienda 1";
        QTest::newRow("delete reserved") << QStringList{"--user", "mrossi", "delete", "150"} << 1
                                         << "Impossibile eliminare causali con codice inferiore a 300!";
        QTest::newRow("delete missing") << QStringList{"delete", "399"} << 1 << "La causale 399 non esiste.";
        QTest::newRow("delete") << QStringList{"delete", "320"} << 0 << "Causale 320 eliminata.";
        QTest::newRow("complete") << QStringList{"--company", "3", "complete"} << 0
                                  << "Completamento eseguito: 0 righe aggiunte.";
        QTest::newRow("unknown company") << QStringList{"--company", "9", "complete"} << 1 << "Ditta 9 inesistente.";
        QTest::newRow("unknown command") << QStringList{"frob"} << 2 << "Comando sconosciuto: frob";
        QTest::newRow("missing argument") << QStringList{"delete"} << 2 << "Argomenti mancanti";
        QTest::newRow("unknown option") << QStringList{"--colour", "list"} << 2 << "Comando sconosciuto: --colour";
        QTest::newRow("init on existing") << QStringList{"init"} << 1 << "Il database contiene già le tabelle";
    }

    void exitStatusAndMessage()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, message);
        QCOMPARE(run(args), status);
        const QString shown = status == 0 ? m_out : m_err;
        QVERIFY2(shown.startsWith(message), qPrintable(shown));
    }

    void refusedDeleteChangesNothing()
    {
        const int before = rows("CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310");
        QCOMPARE(run({"delete", "310"}), 1);
        QCOMPARE(rows("CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310"), before);
        QCOMPARE(rows("CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 310"), 1);
    }

    void descriptionIsStoredAsTyped()
    {
        const QString text = "Incasso d'acconto N'x' -- ; «società»";
        QCOMPARE(run({"create", "405", "--description", text}), 0);
        QCOMPARE(run({"show", "405", "--json"}), 0);
        const QJsonObject doc = QJsonDocument::fromJson(m_out.toUtf8()).object();
        QCOMPARE(doc.value("CGP0_DUEBILCAUSALI").toObject().value("CGP0_DESCRIZIONE").toString(), text);
        QCOMPARE(doc.value("CGP5_DUEBILPARAM").toArray().size(), 1);
        QCOMPARE(doc.value("CGP4_DUEBILFILTRI").toArray().size(), rows("CGP2_DUEBILCHECK"));
    }

    // A ledger causal deleted after it was configured is reported with the field's message.
    void validateReportsWhatTheWindowWouldRefuse()
    {
        QCOMPARE(run({"validate"}), 0);
        {
            ado::Connection c;
            c.Open(m_db->connectionString());
            c.Execute("DELETE FROM CG33_TABCAU WHERE CG33_CODICE = 'RIB'");
            c.Execute("DELETE FROM CG68_NUMERDESC WHERE CG68_SEZIONALE = 'A2'");
        }
        QCOMPARE(run({"validate", "300"}), 1);
        QCOMPARE(m_out.count('\n'), 2);
        QVERIFY(m_out.startsWith("Causale 300, ditta 1, CGP7_CAUSALECOGE_CG33 = 'RIB': La causale deve contenere"));
        QCOMPARE(run({"validate"}), 1);
        QVERIFY2(m_out.contains("Causale 310, ditta 1, CGP7_SEZIONALEACCONTI_CG68 = 'A2': Sezionale inesistente."),
                 qPrintable(m_out));
        QCOMPARE(run({"validate", "399"}), 1);
    }

    void initCreatesANewDatabase()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("nuovo.db");
        QString out, err;
        QTextStream o(&out), e(&err);
        QCOMPARE(DueBilCli(o, e).run({"--db", "sqlite:" + path, "init"}), 0);
        QCOMPARE(DueBilCli(o, e).run({"--db", "sqlite:" + path, "list"}), 0);
        QVERIFY(out.startsWith("Database creato"));
        QVERIFY(!out.contains("300\t"));  // no demo causals without --demo
    }
};

QTEST_GUILESS_MAIN(TestDueBilCli)
#include "tst_duebilcli.moc"
