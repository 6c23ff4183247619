#include "ado/adoerror.h"
#include "ado/sqlrewriter.h"
#include "support/jsoncases.h"

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
        for (const QJsonValue &row : jsonCases("sqlrewriter.json", "rewrites"))
            QTest::newRow(qPrintable(row[0].toString())) << row[1].toString() << row[2].toString() << row[3].toString();
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

    void refuses_data()
    {
        QTest::addColumn<QString>("tsql");
        QTest::addColumn<QString>("named");
        for (const QJsonValue &row : jsonCases("sqlrewriter.json", "refuses"))
            QTest::newRow(qPrintable(row[0].toString())) << row[1].toString() << row[2].toString();
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

    // The shortcut passes exactly what the passes would give back unchanged, wherever a word stands.
    void shortcutAgreesWithPasses_data()
    {
        QTest::addColumn<QString>("tsql");
        QTest::addColumn<bool>("asIs");
        for (const QJsonValue &row : jsonCases("sqlrewriter.json", "shortcut"))
            QTest::newRow(qPrintable(row[0].toString())) << row[1].toString() << row[2].toBool();
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
};

QTEST_GUILESS_MAIN(TestSqlRewriter)
#include "tst_sqlrewriter.moc"
