#include "ado/connection.h"
#include "ado/recordset.h"
#include "cli/duebilcli.h"
#include "store/moduletables.h"
#include "support/casefile.h"
#include "support/databasereads.h"
#include "support/modulerows.h"
#include "support/privateodbc.h"
#include "support/testdatabase.h"
#include "support/toolrun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

#include <sqlite3.h>

namespace {

// Every connection opened while a limit is set may grow the database file only to that many
// pages: a disk that fills up in the middle of a command.
int g_maxPages = 0;

int limitPages(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    if (g_maxPages > 0)
        sqlite3_exec(db, QByteArray("PRAGMA max_page_count = " + QByteArray::number(g_maxPages)).constData(), nullptr,
                     nullptr, nullptr);
    return SQLITE_OK;
}

// Puts values into a section of an exported causal: "" the causal's own row, an object section
// whole, "+name" a row added to the section, any other section its first row.
void merge(QJsonObject &causal, const QString &section, const QJsonObject &values)
{
    const auto into = [&values](QJsonObject row) {
        for (auto it = values.begin(); it != values.end(); ++it)
            row.insert(it.key(), it.value());
        return row;
    };
    const QString name = section.startsWith(u'+') ? section.mid(1) : section;
    if (name.isEmpty()) {
        causal = into(causal);
    } else if (causal.value(name).isObject()) {
        causal.insert(name, into(causal.value(name).toObject()));
    } else {
        QJsonArray rows = causal.value(name).toArray();
        if (section.startsWith(u'+'))
            rows.append(into({}));
        else
            rows.replace(0, into(rows.at(0).toObject()));
        causal.insert(name, rows);
    }
}

} // namespace

// The tool answers scripts: its exit status and messages are what a caller relies on.
class TestDueBilCli : public QObject
{
    Q_OBJECT

    // Before the first ODBC connection of the process: the driver manager reads it once.
    PrivateOdbc m_odbc;
    std::unique_ptr<TestDatabase> m_db;
    QString m_out, m_err;
    QTemporaryDir m_files;
    int m_fileCount = 0;

    int run(QStringList args, const QString &db = {})
    {
        return runTool(QStringList{"--db", db.isEmpty() ? m_db->connectionString() : db} + args, &m_out, &m_err);
    }

    QJsonDocument json() const { return QJsonDocument::fromJson(m_out.toUtf8()); }
    QString stored() const { return moduleRows(m_db->connectionString()); }

    int rows(const QString &where) { return scalar(m_db->connectionString(), "SELECT COUNT(*) FROM " + where).toInt(); }

    // The document the export of args writes, its first causal under code (0: its own) and then
    // changed by edit.
    QJsonObject exported(int code, const std::function<void(QJsonObject &)> &edit = {},
                         const QStringList &args = {"export", "300"})
    {
        run(args);
        QJsonObject doc = json().object();
        QJsonArray causals = doc.value("causali").toArray();
        QJsonObject causal = causals.at(0).toObject();
        if (code)
            causal.insert("CGP0_CAUSALE", code);
        if (edit)
            edit(causal);
        causals.replace(0, causal);
        doc.insert("causali", causals);
        return doc;
    }

    QString written(const QByteArray &content)
    {
        QFile file(m_files.filePath(QString("f%1.json").arg(++m_fileCount)));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(content);
        return file.fileName();
    }
    QString written(const QJsonObject &doc) { return written(QJsonDocument(doc).toJson()); }

private slots:
    void initTestCase()
    {
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(limitPages));
    }

    void init()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Demo);
        QVERIFY(m_db->isValid());
    }

    // tests/data/cli-commands.cases: the exit status and the start of the message a script relies
    // on. tests/data/cli-answers.cases: listings and reports compared whole; the access listings
    // name the reason of each withdrawal, also where the host keeps the group membership in a
    // table of its own or nowhere the tool can read it; validate reports what the window would
    // refuse; without the history table the commands work and the history is refused.
    void exitStatusAndAnswer_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/cli-commands.cases"), QStringLiteral(DUEBIL_TEST_DATA "/cli-answers.cases")});
    }

    // A refused command writes nothing.
    void exitStatusAndAnswer()
    {
        QFETCH(TextCase, c);
        execute(m_db->connectionString(), c.lines("setup"));
        if (c.parts.contains("membership"))
            qputenv("DUEBIL_MEMBERSHIP", c.text("membership").toUtf8());
        const QString before = stored();
        const int status = run(c.text("args").split(u'\t'));
        qunsetenv("DUEBIL_MEMBERSHIP");
        QCOMPARE(status, c.text("status").toInt());
        if (c.parts.contains("message")) {
            const QString shown = status == 0 ? m_out : m_err;
            QVERIFY2(shown.startsWith(c.text("message")), qPrintable(shown));
        } else {
            const bool asJson = c.text("args").contains("--json");
            QCOMPARE(asJson ? QString::fromUtf8(json().toJson(QJsonDocument::Compact)) : m_out.trimmed(), c.text("shown"));
            QCOMPARE(m_err.trimmed(), c.text("error"));
        }
        if (status != 0)
            QCOMPARE(stored(), before);
    }

    // Production databases are usually named by a data source: the tool opens one, and a write
    // that meets another session's lock gives up after the lock wait with the Italian message
    // and exit 1, writing nothing; once the lock is gone the same command succeeds.
    void dataSourceNameAndLockWait()
    {
        if (!m_odbc.isValid())
            QSKIP("SQLite ODBC driver not available");
        QVERIFY(m_odbc.addDataSource("contabilita", m_db->path()));
        const QString dsn = "DSN=contabilita;UID=duebil;PWD=segreta";
        ado::Connection other;
        other.Open(m_db->connectionString());
        other.BeginTrans();
        other.Execute("UPDATE CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = 'altro utente' WHERE CGP0_CAUSALE = 300");
        QElapsedTimer waited;
        waited.start();
        QCOMPARE(run({"create", "500", "--description", "Nuova"}, dsn), 1);
        QVERIFY2(waited.elapsed() < 9000, qPrintable(QString::number(waited.elapsed())));
        QVERIFY2(m_err.contains("in uso da un'altra sessione"), qPrintable(m_err));
        QVERIFY(!m_err.contains("segreta"));
        other.RollbackTrans();
        QCOMPARE(rows("CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 500"), 0);
        QCOMPARE(run({"create", "500", "--description", "Nuova"}, dsn), 0);
        QCOMPARE(rows("CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 500"), 1);
    }

    // The host's database gets the module's tables from the tool; a run on a complete one, or
    // one that needs only a part back, creates nothing else and changes no row.
    void schemaOnlyInitCompletesTheHostDatabase()
    {
        if (!m_odbc.isValid())
            QSKIP("SQLite ODBC driver not available");
        TestDatabase host(TestDatabase::Demo);
        QVERIFY(host.isValid());
        QStringList drops;
        for (const ModuleTables::Table &t : ModuleTables::all()) {
            if (t.role != ModuleTables::Role::Selection)  // the selection belongs to the host
                drops << QStringLiteral("DROP TABLE ") + QLatin1String(t.table);
        }
        execute(host.connectionString(), drops);
        QVERIFY(m_odbc.addDataSource("ospite", host.path()));
        const QString dsn = "DSN=ospite";
        QCOMPARE(run({"init", "--schema-only"}, dsn), 0);
        QVERIFY2(m_out.contains("Creata la tabella CGP0_DUEBILCAUSALI.") && m_out.contains("Creata la tabella CGPL_DUEBILSTORICO."),
                 qPrintable(m_out));
        QCOMPARE(m_out.count("Creata la tabella"), 10);
        const int checks = rows("CGP2_DUEBILCHECK");
        QVERIFY2(m_out.contains(QString("Catalogo CGP2_DUEBILCHECK: %1 righe aggiunte.").arg(checks)), qPrintable(m_out));
        QCOMPARE(scalar(host.connectionString(), "SELECT COUNT(*) FROM CGP1_DUEBILFIELD").toInt(), rows("CGP1_DUEBILFIELD"));
        QCOMPARE(scalar(host.connectionString(), "SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name LIKE 'IX_CGP%'").toInt(),
                 7);

        QCOMPARE(run({"init", "--schema-only"}, dsn), 0);
        QCOMPARE(m_out.trimmed(), QString("Nulla da creare: le tabelle e i cataloghi del modulo ci sono già."));

        QCOMPARE(run({"create", "500", "--description", "Nuova"}, dsn), 0);
        execute(host.connectionString(), {"DELETE FROM CGP2_DUEBILCHECK WHERE CGP2_ID = 32",
                                          "UPDATE CGP2_DUEBILCHECK SET CGP2_DESCRIZIONE = 'scelta del cliente' WHERE CGP2_ID = 1",
                                          "DROP TABLE CGPL_DUEBILSTORICO"});
        QCOMPARE(run({"init", "--schema-only"}, dsn), 0);
        QCOMPARE(m_out.trimmed(), QString("Creata la tabella CGPL_DUEBILSTORICO.\nCatalogo CGP2_DUEBILCHECK: 1 righe aggiunte."));
        QCOMPARE(scalar(host.connectionString(), "SELECT CGP2_DESCRIZIONE FROM CGP2_DUEBILCHECK WHERE CGP2_ID = 1").toString(),
                 QString("scelta del cliente"));
        QCOMPARE(run({"list"}, dsn), 0);
        QCOMPARE(m_out, QString("500\tNuova\n"));
        QCOMPARE(run({"list", "--json"}, dsn), 0);
        QCOMPARE(json().array(), (QJsonArray{QJsonObject{{"causale", 500}, {"descrizione", "Nuova"}}}));
        // The embedded database is complete from its creation.
        QCOMPARE(run({"init", "--schema-only"}), 0);
        QVERIFY2(m_out.startsWith("Nulla da creare"), qPrintable(m_out));
    }

    // Each case changes one stored value; the window would refuse it only where the rules of
    // the operation type leave its field editable, and the tool reports exactly those.
    // The cases are in tests/data/cli-validate.cases.
    void validateFollowsTheRulesOfTheType_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/cli-validate.cases")});
    }

    void validateFollowsTheRulesOfTheType()
    {
        QFETCH(TextCase, c);
        const QStringList check = c.text("check").split(u'\t');  // causal, reported, what the report line holds
        const bool reported = check.value(1) == "1";
        execute(m_db->connectionString(), c.lines("setup"));
        const int status = run({"validate", check.value(0)});
        QVERIFY2(m_out.contains("Causale " + check.value(0) + ", ditta 1, " + check.value(2)) == reported, qPrintable(m_out));
        if (reported)
            QCOMPARE(status, 1);
    }

    void initCreatesANewDatabase()
    {
        QTemporaryDir dir;
        const QString db = "sqlite:" + dir.filePath("nuovo.db");
        QCOMPARE(run({"init"}, db), 0);
        QVERIFY(m_out.startsWith("Database creato"));
        QCOMPARE(run({"list"}, db), 0);
        QVERIFY(!m_out.contains("300\t"));  // no demo causals without --demo
    }

    void exportThenImportReproducesTheRows()
    {
        const QString before = stored();
        QCOMPARE(run({"export"}), 0);
        QCOMPARE(json().object().value("version").toInt(), 1);
        const QString file = written(m_out.toUtf8());
        QStringList empty;
        for (const ModuleTables::Table *t : ModuleTables::ofCausal()) {
            empty << QStringLiteral("DELETE FROM ") + QLatin1String(t->table)
                    + (t->objectColumn ? QStringLiteral(" WHERE %1 = 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG'")
                                             .arg(QLatin1String(t->objectColumn))
                                       : QString());
        }
        execute(m_db->connectionString(), empty);
        QCOMPARE(run({"--user", "VELTO", "import", file}), 0);
        QVERIFY2(m_out.contains("Causale 300 aggiunta."), qPrintable(m_out));
        QCOMPARE(stored(), before);
        // Again without --replace: every causal refused, nothing written twice.
        QCOMPARE(run({"--user", "VELTO", "import", file}), 1);
        QCOMPARE(stored(), before);
        QCOMPARE(run({"--user", "VELTO", "import", file, "--replace"}), 0);
        QCOMPARE(stored(), before);
    }

    // A statement that fails in the middle of a command: the command says so, exits 1, prints
    // no success line and leaves every table as it was. The cases are in tests/data/cli-failures.cases.
    void failedStatementLeavesNothing_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/cli-failures.cases")});
    }

    void failedStatementLeavesNothing()
    {
        QFETCH(TextCase, c);
        QStringList args = c.text("command").split(u'\t');
        const bool diskFull = c.parts.contains("disk-full");
        if (args.contains("IMPORT")) {
            const QJsonObject doc = exported(401, [](QJsonObject &causal) { causal.insert("parametri", QJsonValue::Null); });
            args.replace(args.indexOf("IMPORT"), written(doc));
        }
        const QString before = stored();
        execute(m_db->connectionString(), c.lines("sabotage") << "PRAGMA wal_checkpoint(TRUNCATE)");
        g_maxPages = diskFull ? scalar(m_db->connectionString(), "SELECT page_count FROM pragma_page_count").toInt() + 20 : 0;
        const int status = run(args);
        g_maxPages = 0;
        execute(m_db->connectionString(), c.lines("repair"));
        QCOMPARE(status, 1);
        // A listing may have shown what it read before the failing statement.
        QVERIFY2(m_out.isEmpty() || c.parts.contains("listing"), qPrintable(m_out));
        QVERIFY(!m_err.trimmed().isEmpty());
        if (diskFull)
            QVERIFY2(m_err.contains("full"), qPrintable(m_err));
        QCOMPARE(stored(), before);
    }

    // tests/data/cli-import-refusals.cases, and values too big for a text file.
    void importRefusesWhatTheWindowWouldNot_data()
    {
        QTest::addColumn<QString>("section");    // "" the causal row; "+name" a row added to the section
        QTest::addColumn<QByteArray>("values");  // merged into the first row of the section
        QTest::addColumn<QString>("reason");
        for (const TextCase &c : readCases(QStringLiteral(DUEBIL_TEST_DATA "/cli-import-refusals.cases")))
            QTest::newRow(qPrintable(c.name)) << c.text("section") << c.text("values").toUtf8() << c.text("reason");
        const QString big = QString(10'000'000, 'x');
        QTest::newRow("description of 10 MB") << "" << QJsonDocument(QJsonObject{{"CGP0_DESCRIZIONE", big}}).toJson()
                                              << "lunghezza massima di 100 caratteri";
        QTest::newRow("row text over 240") << "registrazione"
            << QJsonDocument(QJsonObject{{"CGP7_TESTORIGA", QString(241, 'y')}}).toJson() << "240";
        QTest::newRow("long unknown column") << "parametri"
            << QJsonDocument(QJsonObject{{QString(5000, 'x'), 1}}).toJson() << "non esiste nella tabella CGP5_DUEBILPARAM";
    }

    void importRefusesWhatTheWindowWouldNot()
    {
        QFETCH(QString, section);
        QFETCH(QByteArray, values);
        QFETCH(QString, reason);
        const QJsonObject change = QJsonDocument::fromJson(values).object();
        QJsonObject doc = exported(401, [&](QJsonObject &causal) {
            if (section != "ARRAY" && section != "TEXT" && section != "DOCUMENT")
                merge(causal, section, change);
        });
        if (section == "DOCUMENT")
            merge(doc, "", change);
        QByteArray content = section == "ARRAY" ? QJsonDocument(doc.value("causali").toArray()).toJson()
                                                : QJsonDocument(doc).toJson();
        if (section == "TEXT")
            content.replace("\"CGP0_DESCRIZIONE\": \"", "\"CGP0_DESCRIZIONE\": \"" + values);
        const QString before = stored();
        QCOMPARE(run({"import", written(content)}), 1);
        QVERIFY2(m_err.contains(reason), qPrintable(m_err.left(300)));
        // Why, and nothing else; no message repeats more than 80 characters of the file.
        QVERIFY2(m_out.isEmpty(), qPrintable(m_out.left(300)));
        QVERIFY(!m_err.contains(QString(81, 'x')));
        QVERIFY(!m_err.contains("no error occurred"));
        // What the file holds reaches the terminal escaped: one line per message.
        QCOMPARE(m_err.count('\n'), 1);
        for (const QChar c : std::as_const(m_err))
            QVERIFY(c == '\n' || (c.category() != QChar::Other_Control && c.unicode() != 0x202e));
        QCOMPARE(stored(), before);
    }

    // Sections left empty or out get the rows the completion gives a new causal, and the
    // report says which.
    void importCompletesAnIncompleteCausal()
    {
        const QJsonObject causal{{"CGP0_CAUSALE", 401}, {"CGP0_DESCRIZIONE", "Solo intestazione"},
                                 {"parametri", QJsonValue::Null}, {"filtri", QJsonArray()}};
        QCOMPARE(run({"import", written(QJsonObject{{"format", "duebilconfig-causali"}, {"version", 1},
                                                    {"causali", QJsonArray{causal}}})}),
                 0);
        QVERIFY2(m_out.startsWith("Causale 401 aggiunta.\nCausale 401: aggiunte le righe mancanti (CGP4_DUEBILFILTRI 32, "
                                  "CGP5_DUEBILPARAM 1, CGP6_DUEBILPARAMDITTA 1, CGP7_DUEBILPERSREG 1).\n"),
                 qPrintable(m_out));
        QCOMPARE(rows("CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 401"), rows("CGP2_DUEBILCHECK"));
        QCOMPARE(rows("CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 401"), 1);
        QCOMPARE(rows("CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 401 AND CGP7_DITTA_CG18 = 1"), 1);
        // The other causals are left as they were.
        QCOMPARE(rows("CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300"), 3);
    }

    // A code that names nothing, in a field the type takes out of reach and clears, is imported
    // as the window's save leaves that field, and the report says so.
    void importClearsWhatTheTypeLeavesOut_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("column");
        QTest::newRow("allowance causal of a closing") << 3 << "CGP7_CAUSALEABB_CG33";
        QTest::newRow("posting causal of a suspension") << 5 << "CGP7_CAUSALECOGE_CG33";
    }

    void importClearsWhatTheTypeLeavesOut()
    {
        QFETCH(int, type);
        QFETCH(QString, column);
        const QJsonObject doc = exported(401, [&](QJsonObject &causal) {
            merge(causal, "parametri", {{"CGP5_TIPOCAUSALE", type}});
            merge(causal, "registrazione", {{column, "NOPE"}});
        });
        QCOMPARE(run({"import", written(doc)}), 0);
        QVERIFY2(m_out.contains("Causale 401, ditta 1: " + column
                                + " = 'NOPE' non è valido e il tipo di operazione non usa il campo: importato come NULL"),
                 qPrintable(m_out));
        QCOMPARE(rows("CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 401 AND CGP7_DITTA_CG18 = 1 AND " + column + " IS NULL"), 1);
    }

    void dryRunShowsTheChangesAndWritesNothing()
    {
        int oldMode = 0, removedField = 0;
        QString oldText;
        QJsonObject doc = exported(0, [&](QJsonObject &causal) {
            oldMode = causal.value("parametri").toObject().value("CGP5_INDRECUPERO").toInt();
            merge(causal, "parametri", {{"CGP5_INDRECUPERO", oldMode + 1}});
            QJsonArray layout = causal.value("griglia").toArray();
            removedField = layout.takeAt(layout.size() - 1).toObject().value("CGP3_IDFIELD_CGP1").toInt();
            causal.insert("griglia", layout);
            oldText = causal.value("registrazione").toArray().at(0).toObject().value("CGP7_TESTORIGA").toString();
            merge(causal, "registrazione", {{"CGP7_TESTORIGA", "Riga\nnuova"}});
        });
        QJsonObject added = doc.value("causali").toArray().at(0).toObject();
        added.insert("CGP0_CAUSALE", 401);
        doc.insert("causali", QJsonArray{doc.value("causali").toArray().at(0), added});
        const QString file = written(doc);
        const QString before = stored();

        QCOMPARE(run({"--user", "VELTO", "import", file, "--replace", "--dry-run"}), 0);
        const QStringList lines = m_out.split('\n');
        QCOMPARE(lines.value(0), "Causale 300 da sostituire:");
        QStringList changes = lines.filter(QRegularExpression("^  "));
        changes.sort();
        QCOMPARE(changes,
                 (QStringList{QString("  CGP3_DUEBILGRIGLIA CGP3_IDFIELD_CGP1=%1: riga eliminata").arg(removedField),
                              QString("  CGP5_DUEBILPARAM CGP5_CAUSALE_CGP0=300 CGP5_INDRECUPERO: %1 -> %2").arg(oldMode).arg(oldMode + 1),
                              "  CGP7_DUEBILPERSREG CGP7_DITTA_CG18=1,CGP7_GRUPPO_CG10=1 CGP7_TESTORIGA: '" + oldText
                                  + "' -> 'Riga\\nnuova'"}));
        QVERIFY2(lines.contains("Causale 401 da aggiungere."), qPrintable(m_out));
        QVERIFY(m_out.endsWith("Prova eseguita, nulla è stato scritto: l'importazione di 2 causali riuscirebbe.\n"));
        QCOMPARE(stored(), before);

        // The real import does what the trial run showed; after it there is nothing to show.
        QCOMPARE(run({"--user", "VELTO", "import", file, "--replace"}), 0);
        QVERIFY(stored() != before);
        QCOMPARE(run({"--user", "VELTO", "import", file, "--replace", "--dry-run"}), 0);
        QVERIFY2(m_out.startsWith("Causale 300 da sostituire: nessuna differenza.\nCausale 401 da sostituire: nessuna differenza.\n"),
                 qPrintable(m_out));

        // A trial run of an import that would be refused says so and exits 1.
        QCOMPARE(run({"--user", "VELTO", "import", file, "--dry-run"}), 1);
        QVERIFY(m_out.contains("Causale 300 rifiutata: La causale 300 esiste già!"));
        QVERIFY(m_err.contains("l'importazione sarebbe rifiutata"));
    }

    // The host's databases number groups and users each their own way: a promotion withdraws
    // the causal from the group or user of the same code or name, and refuses the causal, writing
    // nothing, when the target has none.
    void promotionFindsGroupsAndUsersByName_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/cli-promotions.cases")});
    }

    // tests/data/cli-promotions.cases.
    void promotionFindsGroupsAndUsersByName()
    {
        QFETCH(TextCase, c);
        const QString code = c.text("code"), shown = c.text("shown");
        const int status = c.text("status").toInt();
        QCOMPARE(run({"export", code}), 0);
        const QString file = written(m_out.toUtf8());
        TestDatabase other(TestDatabase::Demo);
        const QString db = other.connectionString();
        execute(db, c.lines("target"));
        const QString before = moduleRows(db);

        QCOMPARE(run({"import", file, "--replace", "--dry-run"}, db), status);
        QVERIFY2(m_out.split('\n').contains(shown), qPrintable(m_out));
        QCOMPARE(run({"import", file, "--replace"}, db), status);
        if (status != 0) {
            QVERIFY2(m_err.contains(shown.section(": ", 1)), qPrintable(m_err));
            QCOMPARE(moduleRows(db), before);
            return;
        }
        QCOMPARE(scalar(db, "SELECT COUNT(*) FROM CGP8_DUEBILREVOKE WHERE CGP8_CAUSALE_CGP0 = " + code).toInt(), 1);
        QCOMPARE(scalar(db, "SELECT IFNULL(CGP8_ID_FW06, '') || '/' || IFNULL(CGP8_ID_FW07, '') FROM CGP8_DUEBILREVOKE "
                            "WHERE CGP8_CAUSALE_CGP0 = " + code).toString(), c.text("stored"));
    }

    // A file of one company replaces that company's rows of the causal; the other companies'
    // rows stay, and the trial run says so. A file naming an unknown company is refused.
    void oneCompanyImportKeepsTheOtherCompanies()
    {
        const auto otherCompanies = [this] { return stored().split('\n').filter(QRegularExpression("DITTA_CG18=[^1]")); };
        const QStringList others = otherCompanies();
        QVERIFY(others.filter("300").size() >= 4);
        int months = 0;
        QJsonObject doc = exported(0, [&](QJsonObject &causal) {
            months = causal.value("ditte").toArray().at(0).toObject().value("CGP6_MESI").toInt();
            merge(causal, "ditte", {{"CGP6_MESI", months + 1}});
        }, {"--company", "1", "export", "300"});
        QCOMPARE(doc.value("ditta").toInt(), 1);
        QCOMPARE(doc["causali"][0]["ditte"].toArray().size(), 1);
        const QString file = written(doc);

        QCOMPARE(run({"import", file, "--replace", "--dry-run"}), 0);
        QVERIFY2(m_out.startsWith("Il file riguarda solo la ditta 1: "), qPrintable(m_out));
        QCOMPARE(m_out.split('\n').filter(QRegularExpression("^  ")),
                 QStringList{QString("  CGP6_DUEBILPARAMDITTA CGP6_DITTA_CG18=1 CGP6_MESI: %1 -> %2").arg(months).arg(months + 1)});
        QCOMPARE(run({"import", file, "--replace"}), 0);
        QCOMPARE(otherCompanies(), others);
        QCOMPARE(rows(QString("CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1 AND CGP6_MESI = %1")
                          .arg(months + 1)), 1);

        // The file carries no row of another company, and names a company of the target.
        const QString before = stored();
        QJsonObject causal = doc.value("causali").toArray().at(0).toObject();
        merge(causal, "ditte", {{"CGP6_DITTA_CG18", 2}});
        doc.insert("causali", QJsonArray{causal});
        QCOMPARE(run({"import", written(doc), "--replace"}), 1);
        QVERIFY2(m_err.contains("della ditta 2, ma il file riguarda solo la ditta 1"), qPrintable(m_err));
        doc.insert("ditta", 99);
        QCOMPARE(run({"import", written(doc), "--replace"}), 1);
        QVERIFY2(m_err.contains("Ditta 99 inesistente."), qPrintable(m_err));
        QCOMPARE(stored(), before);
    }

    // The record of a causal's changes travels with it when asked: the target stores it as the
    // source has it, checks it like every other row, and a second import doubles nothing.
    void historyTravelsWithItsCausal_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/cli-history-rows.cases")});
    }

    // tests/data/cli-history-rows.cases.
    void historyTravelsWithItsCausal()
    {
        QFETCH(TextCase, c);
        const QString reason = c.text("reason");
        const auto recorded = [](const QString &db) {
            ado::Connection connection;
            connection.Open(db);
            const ado::RecordsetPtr rs = connection.Execute(
                "SELECT * FROM CGPL_DUEBILSTORICO WHERE CGPL_CAUSALE_CGP0 = 401 AND CGPL_INDOPERAZIONE <> 5 ORDER BY CGPL_ID");
            QStringList lines;
            for (; !rs->isEOF(); rs->MoveNext()) {
                QStringList cells;
                for (const QString &f : rs->fieldNames())
                    cells << (f == "CGPL_ID" ? QString() : rs->value(f).toString());
                lines << cells.join('|');
            }
            return lines;
        };
        QCOMPARE(run({"--user", "MROSSI", "duplicate", "300", "401"}), 0);
        qsizetype carriedRows = 0;
        const QJsonObject doc = exported(0, [&](QJsonObject &causal) {
            carriedRows = causal.value("storico").toArray().size();
            merge(causal, "storico", QJsonDocument::fromJson(c.text("change").toUtf8()).object());
        }, {"export", "401", "--with-history"});
        const QString file = written(doc);
        TestDatabase other(TestDatabase::Demo);
        const QString target = other.connectionString();

        if (!reason.isEmpty()) {
            const QString before = moduleRows(target);
            QCOMPARE(run({"import", file, "--with-history"}, target), 1);
            QVERIFY2(m_err.contains(reason), qPrintable(m_err));
            QCOMPARE(moduleRows(target), before);
            QCOMPARE(run({"history", "401"}, target), 0);
            QCOMPARE(m_out, "Nessuna modifica registrata.\n");
            return;
        }
        // Without being asked the history stays where it is.
        QCOMPARE(run({"import", file, "--dry-run"}, target), 0);
        QVERIFY(!m_out.contains("storico"));
        QCOMPARE(run({"import", file, "--with-history"}, target), 0);
        QVERIFY2(m_out.contains(QString("Causale 401: %1 righe dello storico delle modifiche riportate.").arg(carriedRows)),
                 qPrintable(m_out));
        const QStringList carried = recorded(target);
        QCOMPARE(carried, recorded(m_db->connectionString()));
        QCOMPARE(carried.size(), carriedRows);
        QCOMPARE(run({"import", file, "--with-history", "--replace"}, target), 0);
        QVERIFY2(!m_out.contains("storico"), qPrintable(m_out));
        QCOMPARE(recorded(target), carried);
    }

    // A description reaches the database as typed, quotes and all; on screen its control
    // characters come out escaped.
    void descriptionIsStoredAsTypedAndShownEscaped()
    {
        const QString text = QString("Incasso d'acconto N'x' -- ; «società» Rosso ") + QChar(27) + "[31m\na\\b" + QChar(0x202e);
        QCOMPARE(run({"create", "405", "--description", text}), 0);
        QCOMPARE(run({"show", "405", "--json"}), 0);
        const QJsonObject doc = json().object();
        QCOMPARE(doc.value("CGP0_DUEBILCAUSALI").toObject().value("CGP0_DESCRIZIONE").toString(), text);
        for (const QStringList &args : {QStringList{"show", "405"}, QStringList{"list"}}) {
            QCOMPARE(run(args), 0);
            QVERIFY2(m_out.contains("Rosso \\u001b[31m\\na\\\\b\\u202e"), qPrintable(m_out));
            for (const QChar c : std::as_const(m_out))
                QVERIFY(c == '\n' || c == '\t' || (c.category() != QChar::Other_Control && c.unicode() != 0x202e));
        }
    }

    // Every command that changes a causal records who did which operation and each row's old
    // and new values; a refused command and a trial run record nothing; the record of a causal
    // outlives it.
    void commandsAreRecorded()
    {
        // The records the history lists, newest first, each as "operation user: its rows counted
        // by change".
        const auto records = [this](const QStringList &args) {
            run(QStringList{"history"} + args + QStringList{"--json"});
            QStringList shown;
            for (const QJsonValue &record : json().array()) {
                QMap<QString, int> changes;
                for (const QJsonValue &row : record["righe"].toArray())
                    ++changes[row["modifica"].toString()];
                QStringList counted;
                for (auto it = changes.cbegin(); it != changes.cend(); ++it)
                    counted << QString("%1 %2").arg(it.value()).arg(it.key());
                shown << record["operazione"].toString() + ' ' + record["utente"].toString() + ": " + counted.join(", ");
            }
            return shown;
        };
        QCOMPARE(run({"--user", "MROSSI", "duplicate", "310", "311"}), 0);
        const qsizetype copied = CausalRows(m_db->connectionString()).read().value(311).size();
        QCOMPARE(run({"delete", "310"}), 1);
        QCOMPARE(run({"--user", "LBIANCHI", "delete", "311"}), 0);
        QCOMPARE(records({"311"}), (QStringList{QString("eliminazione LBIANCHI: %1 eliminata").arg(copied),
                                                QString("duplicazione MROSSI: %1 aggiunta").arg(copied)}));
        QCOMPARE(records({"310"}), QStringList());

        // A replacing import records the one value it changes; its trial run records nothing.
        const QString file = written(exported(0, [](QJsonObject &c) { c.insert("CGP0_DESCRIZIONE", "Incasso RiBa importato"); }));
        QCOMPARE(run({"import", file, "--replace", "--dry-run"}), 0);
        QCOMPARE(records({"300"}), QStringList());
        QCOMPARE(run({"--user", "VELTO", "import", file, "--replace"}), 0);
        QCOMPARE(records({"300"}), QStringList{"importazione VELTO: 1 modificata"});
        QCOMPARE(json()[0]["righe"][0]["tabella"].toString(), "CGP0_DUEBILCAUSALI");
        QCOMPARE(json()[0]["righe"][0]["valori"].toObject(),
                 (QJsonObject{{"CGP0_DESCRIZIONE", QJsonArray{"Incasso RiBa clienti", "Incasso RiBa importato"}}}));

        // A new causal: every row it starts with, its description included.
        QCOMPARE(run({"create", "405", "--description", "Nuova"}), 0);
        QCOMPARE(records({"405"}).size(), 1);
        QCOMPARE(json()[0]["righe"][0]["valori"]["CGP0_DESCRIZIONE"].toArray(), (QJsonArray{QJsonValue(), "Nuova"}));

        // Newest first, on screen too; the newest operations only, or those since a moment.
        QCOMPARE(run({"history"}), 0);
        QVERIFY2(m_out.section('\n', 0, 0).endsWith("nuova causale  causale 405"), qPrintable(m_out));
        QVERIFY(m_out.contains("  CGP0_DUEBILCAUSALI CGP0_CAUSALE=300 CGP0_DESCRIZIONE: 'Incasso RiBa clienti' -> "
                               "'Incasso RiBa importato'\n"));
        run({"history", "--json"});
        const QJsonArray all = json().array();
        QCOMPARE(all.size(), 4);
        run({"history", "--limit", "2", "--json"});
        QCOMPARE(json().array(), (QJsonArray{all.at(0), all.at(1)}));
        QCOMPARE(run({"history", "311", "--limit", "1"}), 0);
        QCOMPARE(m_out.count("  causale 311\n"), 1);
        QVERIFY(m_out.section('\n', 0, 0).endsWith("eliminazione  causale 311"));
        QCOMPARE(records({"--since", "2000-01-01"}).size(), 4);
        QCOMPARE(run({"history", "--since", "2999-01-01 10:00"}), 0);
        QCOMPARE(m_out, "Nessuna modifica registrata.\n");
    }
};

QTEST_GUILESS_MAIN(TestDueBilCli)
#include "tst_duebilcli.moc"
