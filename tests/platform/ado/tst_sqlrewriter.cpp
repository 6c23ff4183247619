#include "ado/adoerror.h"
#include "ado/sqlrewriter.h"
#include "fixture.h"
#include "support/jsoncases.h"

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

    QTemporaryDir m_dir;
    ado::ConnectionPtr m_connection;

private slots:
    void initTestCase() { m_connection = openFixture(m_dir); }

    void rewrites_data() { addJsonRows("sqlrewriter.json", "rewrites"); }

    void rewrites()
    {
        QFETCH(QJsonArray, row);
        const QString tsql = row[1].toString();
        const QString sqlite = row[2].toString();
        const QString out = SqlRewriter::toSqlite(tsql);
        QCOMPARE(out, sqlite);
        QCOMPARE(SqlRewriter::toSqliteFull(tsql), sqlite);
        // The text runs on the embedded database as it is, and reads what the T-SQL meant.
        QSqlQuery q(m_connection->database());
        QVERIFY2(q.exec(out), qPrintable(q.lastError().text()));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toString(), row[3].toString());
    }

    void refuses_data() { addJsonRows("sqlrewriter.json", "refuses"); }

    void refuses()
    {
        QFETCH(QJsonArray, row);
        const QString tsql = row[1].toString();
        const QString named = row[2].toString();
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
    void shortcutAgreesWithPasses_data() { addJsonRows("sqlrewriter.json", "shortcut"); }

    void shortcutAgreesWithPasses()
    {
        QFETCH(QJsonArray, row);
        const QString tsql = row[1].toString();
        const bool asIs = row[2].toBool();
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
