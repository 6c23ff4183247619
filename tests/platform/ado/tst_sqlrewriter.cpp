#include "adoerror.h"
#include "sqlrewriter.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

using ado::AdoError;
using ado::SqlRewriter;

namespace {

// The rewritten text, or the refusal's message: the shortcut must not change either.
QString outcome(QString (*rewrite)(const QString &), const QString &tsql)
{
    try {
        return rewrite(tsql);
    } catch (const AdoError &e) {
        return QStringLiteral("refused: ") + e.message() + QStringLiteral(" | ") + e.statement();
    }
}

} // namespace

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
        QCOMPARE(SqlRewriter::toSqliteFull(tsql), sqlite);
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
        QVERIFY(!SqlRewriter::passesAsIs(tsql));
        try {
            SqlRewriter::toSqlite(tsql);
            QFAIL("the statement was rewritten instead of refused");
        } catch (const AdoError &e) {
            QCOMPARE(e.kind(), AdoError::Unsupported);
            QVERIFY2(e.message().contains(named), qPrintable(e.message()));
            QCOMPARE(e.statement(), tsql);
        }
    }

    // Most statements go back as they came without the passes; the ones that do must be exactly
    // those the passes would give back unchanged, and a word a pass acts on must reach the passes
    // however it is written, but not from inside a literal or a longer name.
    void shortcutAgreesWithPasses_data()
    {
        QTest::addColumn<QString>("tsql");
        QTest::addColumn<bool>("asIs");
        const auto row = [](const char *name, const QString &tsql, bool asIs) {
            QTest::newRow(name) << tsql << asIs;
        };
        row("plain select", "SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI\r\nWHERE CGP0_CAUSALE = 300",
            true);
        row("names holding trigger words", "SELECT CGP0_TOPX, LENGTH_X, LEFT_COL, OUTPUT_FLAG, NOLOCKED, ISNULLX,"
            " INSERTED, XTOP, TOP_ FROM T WHERE A_TOP = 1", true);
        row("refused function names not called", "SELECT A.X FROM A LEFT OUTER JOIN B ON 1 = 1 RIGHT JOIN C ON 1 = 1",
            true);
        row("trigger words inside literals", "SELECT 'TOP 1 + @x [a] \"b\" -- c /* d N''e'' ISNULL( LEFT(' FROM T",
            true);
        row("doubled quotes then a word", "SELECT 'it''s' AS ISNULLX, '''' FROM T", true);
        row("name ending in N before a literal", "SELECT X FROM T WHERE CODN='x' OR IN'y' = 1", true);
        row("numbers glued to letters", "SELECT 1e5, .5, 2TOP FROM T", true);
        row("accented text in a literal", "SELECT 'Quest''anno è' FROM T", true);
        row("common table expression", "WITH C AS (SELECT 1 AS X) SELECT X FROM C", true);
        row("insert of values", "insert into T (A, B) values (1, 'x')", true);
        row("insert from a bare select", "INSERT INTO T (A) SELECT A FROM U", true);
        row("select in parentheses without insert", "SELECT X FROM T WHERE EXISTS ( select 1 FROM U)", true);

        row("top", "SELECT TOP 1 X FROM T", false);
        row("top lower case", "select top 1 x from t", false);
        row("top after a literal", "SELECT 'a''b', X FROM T WHERE 1 IN (SELECT Top(1) 1)", false);
        row("nolock mixed case", "SELECT X FROM T With (NoLock)", false);
        row("isnull", "SELECT isnull(X, 0) FROM T", false);
        row("getdate", "SELECT GetDate() FROM T", false);
        row("insert of a parenthesised select", "INSERT INTO T (A)\r\n(SELECT A FROM U)", false);
        row("insert lower case", "insert into t (a) ( select a from u)", false);
        row("national literal", "SELECT N'x' FROM T", false);
        row("national literal lower case", "SELECT n'x' FROM T", false);
        row("bracketed name", "SELECT [X] FROM T", false);
        row("double quoted name", "SELECT \"X\" FROM T", false);
        row("plus", "SELECT X + 1 FROM T", false);
        row("concatenation", "SELECT 'a' + X FROM T", false);
        row("variable", "SELECT @X", false);
        row("at inside a word", "SELECT A@B FROM T", false);
        row("line comment", "SELECT X -- TOP\nFROM T", false);
        row("block comment", "SELECT /* x */ X FROM T", false);
        row("refused keyword lower case", "select * from a cross apply b", false);
        row("refused keyword mixed case", "Exec P", false);
        row("longest refused keyword", "SET IDENTITY_INSERT T ON", false);
        row("refused function called", "SELECT Left(X, 2) FROM T", false);
        row("refused function, blank before the call", "SELECT DATEADD\t (d, 1, X) FROM T", false);
        row("refused function, comment before the call", "SELECT LEN /* n */ (X) FROM T", false);
        row("letter above ascii in a name", QStringLiteral("SELECT \u017Fpace(3)"), false);  // long s: SPACE()
        row("unterminated literal", "SELECT 'abc FROM T", false);
        row("unterminated literal after a doubled quote", "SELECT 'abc''", false);
        row("unterminated bracket", "SELECT [abc FROM T", false);
        row("unterminated comment", "SELECT 1 /* abc", false);
    }

    void shortcutAgreesWithPasses()
    {
        QFETCH(QString, tsql);
        QFETCH(bool, asIs);
        QCOMPARE(SqlRewriter::passesAsIs(tsql), asIs);
        QCOMPARE(outcome(SqlRewriter::toSqlite, tsql), outcome(SqlRewriter::toSqliteFull, tsql));
        if (asIs)
            QCOMPARE(outcome(SqlRewriter::toSqliteFull, tsql), tsql);
    }

    // Avoiding the copy is the point of the shortcut: the text comes back sharing the caller's data.
    void untouchedStatementIsShared()
    {
        const QString sql = QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = ")
            + QString::number(300);
        const QString out = SqlRewriter::toSqlite(sql);
        QVERIFY(out.isSharedWith(sql));
        QCOMPARE(out.constData(), sql.constData());
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
