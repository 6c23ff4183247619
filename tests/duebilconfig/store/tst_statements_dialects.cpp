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

#include <functional>
#include <type_traits>
#include <utility>

namespace S = DueBilStatements;

namespace {

using Call = std::function<QStringList(const QStringList &)>;

// An argument as the function takes it: numbers and flags are written out ("1" is true), and a
// list takes the remaining arguments.
template <typename T>
T argument(const QStringList &a, qsizetype i)
{
    if constexpr (std::is_same_v<T, int>)
        return a.value(i).toInt();
    else if constexpr (std::is_same_v<T, bool>)
        return a.value(i) == QLatin1String("1");
    else if constexpr (std::is_same_v<T, QStringList>)
        return a.mid(i);
    else
        return a.value(i);
}

template <typename R, typename... P>
Call callOf(R (*f)(P...))
{
    return [f](const QStringList &a) {
        return [&]<std::size_t... I>(std::index_sequence<I...>) {
            return QStringList(f(argument<std::decay_t<P>>(a, qsizetype(I))...));
        }(std::index_sequence_for<P...>{});
    };
}

#define STATEMENT(name) {QStringLiteral(#name), callOf(&S::name)}

// Every statement function of the store, by name.
const QMap<QString, Call> &calls()
{
    static const QMap<QString, Call> all = {
        STATEMENT(frameCausali), STATEMENT(frameLayout), STATEMENT(frameFiltri), STATEMENT(frameParametri),
        STATEMENT(frameParametriDitta), STATEMENT(frameParamPersReg), STATEMENT(frameUtenti), STATEMENT(showLayout),
        STATEMENT(showFiltri), STATEMENT(showParametri), STATEMENT(showParametriDitta), STATEMENT(showParamPersReg),
        STATEMENT(showUtenti), STATEMENT(clearLayout), STATEMENT(clearFiltri), STATEMENT(clearParametri),
        STATEMENT(clearParametriDitta), STATEMENT(clearParamPersReg), STATEMENT(clearUtenti), STATEMENT(completion),
        STATEMENT(completionOf), STATEMENT(completionProbes), STATEMENT(completionProbe), STATEMENT(insertNewCausal),
        STATEMENT(existsCausal), STATEMENT(duplication), STATEMENT(compensationUse),
        STATEMENT(cascadeDeleteBeforeSelection), STATEMENT(deleteSelection), STATEMENT(cascadeDeleteAfterSelection),
        STATEMENT(deleteCausalRow), STATEMENT(settingGestStatiDisable), STATEMENT(defaultChecks),
        STATEMENT(causalWithWithholding), STATEMENT(updateCheck), STATEMENT(causalList), STATEMENT(causalDecode),
        STATEMENT(ledgerCausalList), STATEMENT(ledgerCausalDecode), STATEMENT(onlyUnpaidLedgerCausals),
        STATEMENT(extractionCausalList), STATEMENT(extractionCausalDecode), STATEMENT(paymentTermsList),
        STATEMENT(paymentTermsDecode), STATEMENT(numberingSectionList), STATEMENT(accountList),
        STATEMENT(accountDecode), STATEMENT(groupList), STATEMENT(groupDecode), STATEMENT(userList),
        STATEMENT(userDecode), STATEMENT(groupColumn), STATEMENT(userColumn), STATEMENT(ledgerCausalAttributes),
        STATEMENT(paymentTermsWithBills), STATEMENT(sectionExists), STATEMENT(extractionCausalOfKind),
        STATEMENT(accountPostable), STATEMENT(causalCodes), STATEMENT(parametersOf), STATEMENT(companyParametersOf),
        STATEMENT(postingPersonalisationOf), STATEMENT(fieldCatalogue), STATEMENT(fieldId), STATEMENT(fieldTable),
        STATEMENT(deleteLayout), STATEMENT(insertLayoutRow), STATEMENT(layoutRows), STATEMENT(rowsOfCausal),
        STATEMENT(accessUsers), STATEMENT(accessGroups), STATEMENT(groupMemberships), STATEMENT(exclusionsOf),
        STATEMENT(causalDescription), STATEMENT(causalsInOrder), STATEMENT(showPostingRows),
        STATEMENT(showDueDateSelection), STATEMENT(rowCount), STATEMENT(companyGroup), STATEMENT(causalRow),
        STATEMENT(setCausalDescription), STATEMENT(catalogueKeys), STATEMENT(catalogueNames), STATEMENT(noRowsOf),
        STATEMENT(insertRow), STATEMENT(deleteRowsOfCausal), STATEMENT(historyInsert), STATEMENT(historyRead),
    };
    return all;
}

#undef STATEMENT

QStringList call(const QString &name, const QStringList &args)
{
    const Call statements = calls().value(name);
    return statements ? statements(args) : QStringList();
}

} // namespace

// The module's statements are SQL Server's own texts, and through ODBC they read and write
// what the embedded driver does.
class tst_StatementsDialects : public QObject
{
    Q_OBJECT

private slots:
    void statementsAreTheServersText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("expected");
        QHash<QString, int> seen;
        for (const StatementGoldens::Golden &g : StatementGoldens::rows())
            QTest::addRow("%s %d", qPrintable(g.name), ++seen[g.name]) << g.name << g.args << g.expected;
    }

    void statementsAreTheServersText()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, args);
        QFETCH(QStringList, expected);
        QCOMPARE(call(name, args), expected);
    }

    void everyStatementHasAGoldenRow()
    {
        // The statement functions the store declares, read from its header: a new one without a
        // golden row (and so without a parse by the T-SQL check) fails here. One missing from
        // calls() fails its golden row.
        QFile header(QStringLiteral(DUEBIL_STORE_HEADER));
        QVERIFY(header.open(QIODevice::ReadOnly | QIODevice::Text));
        static const QRegularExpression declaration(QStringLiteral("^QString(?:List)? (\\w+)\\("),
                                                    QRegularExpression::MultilineOption);
        static const QStringList helpers = {QStringLiteral("lines"), QStringLiteral("quoted"), QStringLiteral("bareNumber")};
        QStringList declared;
        for (const QRegularExpressionMatch &m : declaration.globalMatch(QString::fromUtf8(header.readAll())))
            if (!helpers.contains(m.captured(1)))
                declared << m.captured(1);
        declared.sort();
        QStringList withRow;
        for (const StatementGoldens::Golden &g : StatementGoldens::rows())
            withRow << g.name;
        withRow.removeDuplicates();
        withRow.sort();
        QCOMPARE(withRow, declared);
    }

    void embeddedRewritingShortcutChangesNothing_data()
    {
        statementsAreTheServersText_data();
    }

    // Every statement the module composes reaches the embedded database as the full rewriting
    // would give it, whether or not the rewriter's shortcut let it through untouched.
    void embeddedRewritingShortcutChangesNothing()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, args);
        for (const QString &sql : call(name, args)) {
            const QString full = ado::SqlRewriter::toSqliteFull(sql);
            QCOMPARE(ado::SqlRewriter::toSqlite(sql), full);
            if (ado::SqlRewriter::passesAsIs(sql))
                QCOMPARE(full, sql);
        }
    }

    void odbcWritesWhatTheEmbeddedDriverWrites()
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
};

QTEST_GUILESS_MAIN(tst_StatementsDialects)
#include "tst_statements_dialects.moc"
