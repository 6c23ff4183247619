#include "adoerror.h"
#include "sqlrewriter.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using ado::AdoError;
using ado::SqlRewriter;

// The module writes its statements in T-SQL; on the embedded database they must mean the same.
class TestSqlRewriter : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("rw"));
        db.setDatabaseName(QStringLiteral(":memory:"));
        QVERIFY(db.open());
        QSqlQuery q(db);
        const QStringList setup = {
            "CREATE TABLE CGP0_DUEBILCAUSALI (CGP0_CAUSALE INTEGER PRIMARY KEY, CGP0_DESCRIZIONE TEXT)",
            "CREATE TABLE CGP4_DUEBILFILTRI (CGP4_CAUSALE_CGP0 INTEGER, CGP4_IDCHECK_CGP2 INTEGER,"
            " CGP4_CHECKED INTEGER, PRIMARY KEY (CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2))",
            "CREATE TABLE FW95_SETTINGS (FW95_CODICE TEXT PRIMARY KEY, FW95_VALORE TEXT)",
            "INSERT INTO CGP0_DUEBILCAUSALI VALUES (300, 'Incasso RiBa'), (310, 'Pagamento bonifici')",
            "INSERT INTO CGP4_DUEBILFILTRI VALUES (300, 1, 1), (300, 2, 0), (310, 1, 0)",
            "INSERT INTO FW95_SETTINGS VALUES ('GEST_STATI_DISABLE', 'S')",
        };
        for (const QString &s : setup)
            QVERIFY2(q.exec(s), qPrintable(q.lastError().text()));
    }

    void rewrites_data()
    {
        QTest::addColumn<QString>("tsql");
        QTest::addColumn<QString>("sqlite");
        QTest::addColumn<QString>("firstValue");  // first column of the first row after running it

        QTest::newRow("top n moves to the end")
            << "SELECT TOP 1 FW95_VALORE FROM FW95_SETTINGS WITH (NOLOCK) WHERE FW95_CODICE = 'GEST_STATI_DISABLE'"
            << "SELECT FW95_VALORE FROM FW95_SETTINGS   WHERE FW95_CODICE = 'GEST_STATI_DISABLE' LIMIT 1"
            << "S";
        QTest::newRow("top in parentheses, no blank")
            << "SELECT TOP(1) CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI ORDER BY CGP0_CAUSALE DESC"
            << "SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI ORDER BY CGP0_CAUSALE DESC LIMIT 1" << "310";
        QTest::newRow("top inside a sub-select stays inside")
            << "SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI WHERE EXISTS (SELECT TOP (1) 1 FROM CGP4_DUEBILFILTRI"
               " WHERE CGP4_CAUSALE_CGP0 = CGP0_CAUSALE AND CGP4_CHECKED = 1)"
            << "SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI WHERE EXISTS (SELECT 1 FROM CGP4_DUEBILFILTRI"
               " WHERE CGP4_CAUSALE_CGP0 = CGP0_CAUSALE AND CGP4_CHECKED = 1 LIMIT 1)" << "1";
        QTest::newRow("national literal keeps its text")
            << "SELECT N'Quest''anno -- non è un commento; TOP 1' FROM FW95_SETTINGS"
            << "SELECT 'Quest''anno -- non è un commento; TOP 1' FROM FW95_SETTINGS"
            << "Quest'anno -- non è un commento; TOP 1";
        QTest::newRow("isnull outside literals only")
            << "SELECT ISNULL(NULL, 'ISNULL(x)') FROM FW95_SETTINGS"
            << "SELECT IFNULL(NULL, 'ISNULL(x)') FROM FW95_SETTINGS" << "ISNULL(x)";
        QTest::newRow("text concatenation")
            << "SELECT 'CGUO_DUEBIL.CLSCG_DUEBIL_' + CAST(CGP0_CAUSALE AS VARCHAR(10)) FROM CGP0_DUEBILCAUSALI"
               " ORDER BY CGP0_CAUSALE"
            << "SELECT 'CGUO_DUEBIL.CLSCG_DUEBIL_' || CAST(CGP0_CAUSALE AS VARCHAR(10)) FROM CGP0_DUEBILCAUSALI"
               " ORDER BY CGP0_CAUSALE" << "CGUO_DUEBIL.CLSCG_DUEBIL_300";
        QTest::newRow("numeric plus stays arithmetic")
            << "SELECT CGP0_CAUSALE + 1 FROM CGP0_DUEBILCAUSALI ORDER BY CGP0_CAUSALE"
            << "SELECT CGP0_CAUSALE + 1 FROM CGP0_DUEBILCAUSALI ORDER BY CGP0_CAUSALE" << "301";
        QTest::newRow("comments are left alone")
            << "SELECT /* TOP 5 */ CGP0_CAUSALE -- ISNULL(\nFROM CGP0_DUEBILCAUSALI ORDER BY 1"
            << "SELECT /* TOP 5 */ CGP0_CAUSALE -- ISNULL(\nFROM CGP0_DUEBILCAUSALI ORDER BY 1" << "300";
        QTest::newRow("row number window")
            << "SELECT ROW_NUMBER() OVER (ORDER BY CGP0_CAUSALE) AS ID FROM CGP0_DUEBILCAUSALI WITH (NOLOCK)"
            << "SELECT ROW_NUMBER() OVER (ORDER BY CGP0_CAUSALE) AS ID FROM CGP0_DUEBILCAUSALI  " << "1";
    }

    void rewrites()
    {
        QFETCH(QString, tsql);
        QFETCH(QString, sqlite);
        QFETCH(QString, firstValue);
        const QString out = SqlRewriter::toSqlite(tsql);
        QCOMPARE(out, sqlite);
        QSqlQuery q(QSqlDatabase::database(QStringLiteral("rw")));
        QVERIFY2(q.exec(out), qPrintable(q.lastError().text()));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), firstValue);
    }

    // Copies of a causal insert a parenthesised SELECT; the embedded database wants it bare.
    void insertSelectCopiesRows()
    {
        const QString tsql = "INSERT INTO CGP4_DUEBILFILTRI \r\n(CGP4_CAUSALE_CGP0,\r\n CGP4_IDCHECK_CGP2,\r\n"
                             " CGP4_CHECKED)\r\n(SELECT 320,\r\n        CGP4_IDCHECK_CGP2,\r\n        CGP4_CHECKED\r\n"
                             " FROM CGP4_DUEBILFILTRI\r\n WHERE CGP4_CAUSALE_CGP0 = 300)";
        QSqlDatabase db = QSqlDatabase::database(QStringLiteral("rw"));
        QSqlQuery q(db);
        QVERIFY2(q.exec(SqlRewriter::toSqlite(tsql)), qPrintable(q.lastError().text()));
        QVERIFY(q.exec("SELECT COUNT(*), SUM(CGP4_CHECKED) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 320"));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 2);
        QCOMPARE(q.value(1).toInt(), 1);
        QVERIFY(q.exec("DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 320"));
    }

    void refuses_data()
    {
        QTest::addColumn<QString>("tsql");
        QTest::addColumn<QString>("named");
        QTest::newRow("cross apply") << "SELECT * FROM A CROSS APPLY B" << "APPLY";
        QTest::newRow("output clause") << "DELETE FROM A OUTPUT deleted.X" << "OUTPUT";
        QTest::newRow("variable") << "SELECT @@ROWCOUNT" << "@@ROWCOUNT";
        QTest::newRow("date function") << "SELECT DATEADD(d, 1, X) FROM A" << "DATEADD";
        QTest::newRow("top percent") << "SELECT TOP 10 PERCENT X FROM A" << "PERCENT";
        QTest::newRow("top expression") << "SELECT TOP (X + 1) X FROM A" << "TOP";
        QTest::newRow("top with union") << "SELECT TOP 1 X FROM A UNION SELECT X FROM B" << "TOP";
        QTest::newRow("other hints") << "SELECT X FROM A WITH (NOLOCK, INDEX(IX))" << "hints";
        QTest::newRow("open literal") << "SELECT 'abc FROM A" << "Unterminated";
    }

    void refuses()
    {
        QFETCH(QString, tsql);
        QFETCH(QString, named);
        try {
            SqlRewriter::toSqlite(tsql);
            QFAIL("the statement was rewritten instead of refused");
        } catch (const AdoError &e) {
            QCOMPARE(e.kind(), AdoError::Unsupported);
            QVERIFY2(e.message().contains(named), qPrintable(e.message()));
            QCOMPARE(e.statement(), tsql);
        }
    }

    // Names that merely contain a refused word are ordinary columns.
    void wordsInsideNamesPass()
    {
        const QString sql = "SELECT CGP6_INDVISANTEPRIMA, LEFT_COL, OUTPUT_FLAG FROM CGP6_DUEBILPARAMDITTA"
                            " LEFT OUTER JOIN X ON 1 = 1";
        QCOMPARE(SqlRewriter::toSqlite(sql), sql);
    }
};

QTEST_GUILESS_MAIN(TestSqlRewriter)
#include "tst_sqlrewriter.moc"
