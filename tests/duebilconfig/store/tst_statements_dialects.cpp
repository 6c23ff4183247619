#include "ado/adoerror.h"
#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/sqlrewriter.h"
#include "store/duebilstatements.h"
#include "support/modulerows.h"
#include "support/testdatabase.h"
#include "statementgoldens.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTest>

namespace S = DueBilStatements;

// The module's statements are SQL Server's own texts, and through ODBC they read and write
// what the embedded driver does.
class tst_StatementsDialects : public QObject
{
    Q_OBJECT

private slots:
    void statementsAreTheServersText_data();
    void statementsAreTheServersText();
    void everyStatementHasAGoldenRow();
    void embeddedRewritingShortcutChangesNothing_data();
    void embeddedRewritingShortcutChangesNothing();
    void odbcWritesWhatTheEmbeddedDriverWrites();

private:
};

void tst_StatementsDialects::statementsAreTheServersText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("expected");
    QHash<QString, int> seen;
    for (const StatementGoldens::Golden &g : StatementGoldens::rows())
        QTest::addRow("%s %d", qPrintable(g.name), ++seen[g.name]) << g.name << g.args << g.expected;
}

void tst_StatementsDialects::statementsAreTheServersText()
{
    QFETCH(QString, name);
    QFETCH(QStringList, args);
    QFETCH(QStringList, expected);
    const QStringList actual = StatementGoldens::call(name, args);
    QCOMPARE(actual.size(), expected.size());
    for (qsizetype i = 0; i < actual.size(); ++i)
        QCOMPARE(actual.at(i), expected.at(i));
}

void tst_StatementsDialects::everyStatementHasAGoldenRow()
{
    // The statement functions the store declares, read from its header: a new one without a
    // golden row (and so without a parse by the T-SQL check) fails here.
    QFile header(QStringLiteral(DUEBIL_STORE_HEADER));
    QVERIFY(header.open(QIODevice::ReadOnly | QIODevice::Text));
    static const QRegularExpression declaration(QStringLiteral("^QString(?:List)? (\\w+)\\("),
                                                QRegularExpression::MultilineOption);
    static const QStringList helpers = {QStringLiteral("lines"), QStringLiteral("quoted"), QStringLiteral("bareNumber")};
    QStringList declared;
    for (const QRegularExpressionMatch &m : declaration.globalMatch(QString::fromUtf8(header.readAll()))) {
        if (!helpers.contains(m.captured(1)))
            declared << m.captured(1);
    }
    QVERIFY(declared.size() > 50);
    QStringList withRow;
    for (const StatementGoldens::Golden &g : StatementGoldens::rows())
        withRow << g.name;
    QStringList missing;
    for (const QString &name : std::as_const(declared)) {
        if (!withRow.contains(name))
            missing << name;
    }
    QCOMPARE(missing, QStringList());
    declared.sort();
    QCOMPARE(StatementGoldens::callable(), declared);
}

void tst_StatementsDialects::embeddedRewritingShortcutChangesNothing_data()
{
    statementsAreTheServersText_data();
}

// Every statement the module composes reaches the embedded database as the full rewriting
// would give it, whether or not the rewriter's shortcut let it through untouched.
void tst_StatementsDialects::embeddedRewritingShortcutChangesNothing()
{
    QFETCH(QString, name);
    QFETCH(QStringList, args);
    for (const QString &sql : StatementGoldens::call(name, args)) {
        const QString full = ado::SqlRewriter::toSqliteFull(sql);
        QCOMPARE(ado::SqlRewriter::toSqlite(sql), full);
        if (ado::SqlRewriter::passesAsIs(sql))
            QCOMPARE(full, sql);
    }
}

void tst_StatementsDialects::odbcWritesWhatTheEmbeddedDriverWrites()
{
    TestDatabase embeddedDb, odbcDb;
    ado::Connection embedded;
    embedded.Open(embeddedDb.connectionString());
    ado::Connection odbc;
    try {
        odbc.Open("Driver=SQLite3;Database=" + odbcDb.path());
    } catch (const ado::AdoError &e) {
        QSKIP(qPrintable("SQLite ODBC driver not available: " + e.message()));
    }
    // A new company completed, a causal duplicated with a description that needs quoting,
    // and another deleted: the same statements on both.
    QStringList work = S::completion("2", "1");
    work << S::duplication("401", "300", "1", QStringLiteral("Copia dell'incasso è"));
    work << S::cascadeDeleteBeforeSelection("310") << S::deleteSelection("310") << S::cascadeDeleteAfterSelection("310")
         << S::deleteCausalRow("310");
    for (ado::Connection *c : {&embedded, &odbc}) {
        c->BeginTrans();
        for (const QString &sql : work)
            c->Execute(sql, 1);
        c->CommitTrans();
    }
    const QString written = moduleRows(embedded);
    QVERIFY(written.contains(QStringLiteral("Copia dell'incasso è")));
    QCOMPARE(moduleRows(odbc), written);
}

QTEST_GUILESS_MAIN(tst_StatementsDialects)
#include "tst_statements_dialects.moc"
