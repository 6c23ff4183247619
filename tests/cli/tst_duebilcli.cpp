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
        // 310 handles no advances: its section cannot be typed in the window and is not reported.
        QCOMPARE(run({"validate"}), 1);
        QVERIFY2(!m_out.contains("CGP7_SEZIONALEACCONTI_CG68 = 'A2'"), qPrintable(m_out));
        QCOMPARE(run({"validate", "399"}), 1);
    }

    // Each case changes one stored value; the window would refuse it only where the rules of
    // the operation type leave its field editable, and the tool reports exactly those.
    void validateFollowsTheRulesOfTheType_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("causal");
        QTest::addColumn<QString>("finding");   // what a report line holds
        QTest::addColumn<bool>("reported");
        const QString reg = "UPDATE CGP7_DUEBILPERSREG SET %1 WHERE CGP7_DITTA_CG18 = 1 AND CGP7_CAUSALE_CGP0 = %2";
        const QString ditta = "UPDATE CGP6_DUEBILPARAMDITTA SET %1 WHERE CGP6_DITTA_CG18 = 1 AND CGP6_CAUSALE_CGP0 = %2";
        const QString tipo = "UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = %1 WHERE CGP5_CAUSALE_CGP0 = %2";
        QTest::newRow("master account as credit account of a collection")
            << QStringList{reg.arg("CGP7_CONTOAVERE_CG24 = '1401'", "300")} << "300"
            << "CGP7_CONTOAVERE_CG24 = '1401'" << false;
        QTest::newRow("master account as debit account of a collection")
            << QStringList{reg.arg("CGP7_CONTODARE_CG24 = '1401'", "300")} << "300"
            << "CGP7_CONTODARE_CG24 = '1401': Conto non analitico." << true;
        QTest::newRow("debit account of a compensation")
            << QStringList{reg.arg("CGP7_CONTODARE_CG24 = '1401'", "320")} << "320"
            << "CGP7_CONTODARE_CG24 = '1401'" << false;
        QTest::newRow("allowance causal of a closing")
            << QStringList{tipo.arg("3", "300"), reg.arg("CGP7_CAUSALEABB_CG33 = 'GIR'", "300")} << "300"
            << "CGP7_CAUSALEABB_CG33 = 'GIR'" << false;
        QTest::newRow("allowance account of an advance")
            << QStringList{tipo.arg("8", "300"), reg.arg("CGP7_CONTOABBATTIVI_CG24 = '1401'", "300")} << "300"
            << "CGP7_CONTOABBATTIVI_CG24 = '1401'" << false;
        QTest::newRow("allowance causal of a collection")
            << QStringList{reg.arg("CGP7_CAUSALEABB_CG33 = 'GIR'", "300")} << "300"
            << "CGP7_CAUSALEABB_CG33 = 'GIR': La causale deve contenere" << true;
        QTest::newRow("compensation causal of a collection")
            << QStringList{ditta.arg("CGP6_CAUSALECOMPCLI_CGP0 = 999", "300")} << "300"
            << "CGP6_CAUSALECOMPCLI_CGP0 = '999'" << false;
        QTest::newRow("compensation causal of a state management")
            << QStringList{ditta.arg("CGP6_CAUSALECOMPCLI_CGP0 = 999", "150")} << "150"
            << "CGP6_CAUSALECOMPCLI_CGP0 = '999'" << false;
        QTest::newRow("compensation causal of a compensation")
            << QStringList{ditta.arg("CGP6_CAUSALECOMPCLI_CGP0 = 999", "320")} << "320"
            << "CGP6_CAUSALECOMPCLI_CGP0 = '999'" << true;
        QTest::newRow("closing without tolerance")
            << QStringList{tipo.arg("3", "300"), ditta.arg("CGP6_DELTAIMPORTO = NULL", "300")} << "300"
            << "CGP6_DELTAIMPORTO = '': Il campo \"Estrazione scadenze con importo al netto prev.: (+/-)\" è obbligatorio"
            << true;
        QTest::newRow("tolerance of a collection")
            << QStringList{ditta.arg("CGP6_DELTAIMPORTO = NULL", "300")} << "300" << "CGP6_DELTAIMPORTO" << false;
    }

    void validateFollowsTheRulesOfTheType()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, causal);
        QFETCH(QString, finding);
        QFETCH(bool, reported);
        {
            ado::Connection c;
            c.Open(m_db->connectionString());
            for (const QString &sql : setup)
                c.Execute(sql);
        }
        const int status = run({"validate", causal});
        const QString line = "Causale " + causal + ", ditta 1, " + finding;
        QVERIFY2(m_out.contains(line) == reported, qPrintable(m_out));
        if (reported)
            QCOMPARE(status, 1);
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

    // Every row of the module's tables, in a fixed order, as text: what a round trip must keep.
    QString moduleRows(const QString &connectionString)
    {
        ado::Connection c;
        c.Open(connectionString);
        QString all;
        for (const char *table : {"CGP0_DUEBILCAUSALI", "CGP3_DUEBILGRIGLIA", "CGP4_DUEBILFILTRI", "CGP5_DUEBILPARAM",
                                  "CGP6_DUEBILPARAMDITTA", "CGP7_DUEBILPERSREG", "CGP8_DUEBILREVOKE",
                                  "FW41_SELEZIONEPARAMSCADENZE"}) {
            const ado::RecordsetPtr rs = c.Execute(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)));
            QStringList lines;
            const QStringList fields = rs->fieldNames();
            for (; !rs->isEOF(); rs->MoveNext()) {
                QStringList cells;
                for (const QString &f : fields) {
                    if (f != QLatin1String("ID"))  // the exclusion rows' own numbering
                        cells << f + '=' + (rs->value(f).isNull() ? QStringLiteral("NULL") : rs->value(f).toString());
                }
                lines << cells.join('|');
            }
            lines.sort();
            all += QLatin1String(table) + '\n' + lines.join('\n') + '\n';
        }
        return all;
    }

    void emptyOfCausals()
    {
        ado::Connection c;
        c.Open(m_db->connectionString());
        for (const char *table : {"CGP0_DUEBILCAUSALI", "CGP3_DUEBILGRIGLIA", "CGP4_DUEBILFILTRI", "CGP5_DUEBILPARAM",
                                  "CGP6_DUEBILPARAMDITTA", "CGP7_DUEBILPERSREG", "CGP8_DUEBILREVOKE"})
            c.Execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(table)));
        c.Execute("DELETE FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_UOBJECT = 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG'");
    }

    void exportThenImportReproducesTheRows()
    {
        const QString before = moduleRows(m_db->connectionString());
        QCOMPARE(run({"export"}), 0);
        const QByteArray document = m_out.toUtf8();
        QCOMPARE(QJsonDocument::fromJson(document).object().value("version").toInt(), 1);
        QTemporaryDir dir;
        QFile file(dir.filePath("causali.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(document);
        file.close();
        emptyOfCausals();
        QCOMPARE(run({"--user", "VELTO", "import", file.fileName()}), 0);
        QVERIFY2(m_out.contains("Causale 300 aggiunta."), qPrintable(m_out));
        QCOMPARE(moduleRows(m_db->connectionString()), before);
        // Again without --replace: every causal refused, nothing written twice.
        QCOMPARE(run({"--user", "VELTO", "import", file.fileName()}), 1);
        QCOMPARE(moduleRows(m_db->connectionString()), before);
        QCOMPARE(run({"--user", "VELTO", "import", file.fileName(), "--replace"}), 0);
        QCOMPARE(moduleRows(m_db->connectionString()), before);
    }

    void refusedImportWritesNothing_data()
    {
        QTest::addColumn<QString>("change");   // what is done to the exported document of causal 300
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("reason");
        QTest::newRow("ledger causal unknown to the target") << "ledger" << "MROSSI" << "CGP7_CAUSALECOGE_CG33";
        QTest::newRow("reserved code for an ordinary user") << "reserved" << "MROSSI" << "inferiore a 300";
        QTest::newRow("column the table does not have") << "column" << "MROSSI" << "CGP5_INVENTATA";
        QTest::newRow("wrong version") << "version" << "MROSSI" << "versione 1";
        QTest::newRow("not JSON") << "garbage" << "MROSSI" << "JSON";
    }

    void refusedImportWritesNothing()
    {
        QFETCH(QString, change);
        QFETCH(QString, user);
        QFETCH(QString, reason);
        QCOMPARE(run({"export", "300"}), 0);
        QJsonObject doc = QJsonDocument::fromJson(m_out.toUtf8()).object();
        QJsonArray causals = doc.value("causali").toArray();
        QJsonObject causal = causals.at(0).toObject();
        causal.insert("CGP0_CAUSALE", change == "reserved" ? 250 : 401);
        if (change == "ledger") {
            QJsonArray reg = causal.value("registrazione").toArray();
            QJsonObject row = reg.at(0).toObject();
            row.insert("CGP7_CAUSALECOGE_CG33", "ZZZ");
            reg.replace(0, row);
            causal.insert("registrazione", reg);
        } else if (change == "column") {
            QJsonObject params = causal.value("parametri").toObject();
            params.insert("CGP5_INVENTATA", 1);
            causal.insert("parametri", params);
        } else if (change == "version") {
            doc.insert("version", 2);
        }
        causals.replace(0, causal);
        doc.insert("causali", causals);
        QTemporaryDir dir;
        QFile file(dir.filePath("causali.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(change == "garbage" ? QByteArray("{ non json") : QJsonDocument(doc).toJson());
        file.close();
        const QString before = moduleRows(m_db->connectionString());
        QCOMPARE(run({"--user", user, "import", file.fileName()}), 1);
        QVERIFY2((m_out + m_err).contains(reason), qPrintable(m_out + m_err));
        QCOMPARE(moduleRows(m_db->connectionString()), before);
    }
};

QTEST_GUILESS_MAIN(TestDueBilCli)
#include "tst_duebilcli.moc"
