#include "causals/causalhistory.h"
#include "store/duebilstatements.h"
#include "support/casefile.h"
#include "support/testdatabase.h"

#include <QJsonArray>
#include <QTest>

using Change = CausalConfiguration::Change;

// The changes between two readings of a causal, row by row and column by column, which a trial
// import shows and the change history records; and the history itself, which writes many rows
// at a time, a statement holding at most a fixed number of them.
class TestCausalHistory : public QObject
{
    Q_OBJECT

    std::unique_ptr<ConnectedDatabase> m_db;
    ado::ConnectionPtr m_c;

    static QString describe(const Change &c)
    {
        QStringList key;
        for (const auto &[column, value] : c.key)
            key << column + '=' + value.toString();
        const QString where = c.table + ' ' + key.join(',');
        switch (c.kind) {
        case Change::RowAdded: return where + " +";
        case Change::RowRemoved: return where + " -";
        case Change::ValueChanged:
            return where + ' ' + c.column + ": " + (c.before.isNull() ? "NULL" : c.before.toString()) + " -> "
                + (c.after.isNull() ? "NULL" : c.after.toString());
        }
        return {};
    }

private slots:
    void init()
    {
        m_db = std::make_unique<ConnectedDatabase>();
        m_c = m_db->connection;
    }

    void changesAreFoundByRowKeyAndColumn_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/causalchanges.cases")});
    }

    void changesAreFoundByRowKeyAndColumn()
    {
        QFETCH(TextCase, c);
        const CausalConfiguration before = CausalConfiguration::read(*m_c, "300");
        for (const QString &sql : c.lines("statements"))
            m_c->Execute(sql);
        QStringList changes;
        for (const Change &change : CausalConfiguration::diff(before, CausalConfiguration::read(*m_c, "300")))
            changes << describe(change);
        QCOMPARE(changes, c.lines("changes"));
    }

    void recordKeepsEveryRowInOrder_data()
    {
        QTest::addColumn<int>("rows");
        for (int n : {1, DueBilStatements::HistoryRowsPerInsert, 2 * DueBilStatements::HistoryRowsPerInsert + 1})
            QTest::addRow("%d rows", n) << n;
    }

    // One operation's rows come back as one entry, each row with its key and values, in order,
    // whatever the count.
    void recordKeepsEveryRowInOrder()
    {
        QFETCH(int, rows);
        QList<Change> changes;
        for (int i = 0; i < rows; ++i)
            changes.append({.table = QStringLiteral("CGP4_DUEBILFILTRI"), .key = {{QStringLiteral("CGP4_IDCHECK_CGP2"), i}},
                            .column = QStringLiteral("CGP4_CHECKED"), .before = 0, .after = i, .values = {}});
        CausalHistory history(*m_c, QStringLiteral("MROSSI"));
        QCOMPARE(history.record(CausalHistory::Operation::Save, QStringLiteral("777"), changes), rows);
        const QList<CausalHistory::Entry> entries = CausalHistory::read(*m_c, QStringLiteral("777"));
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries.first().rows.size(), rows);
        for (int i = 0; i < rows; ++i) {
            const CausalHistory::RowChange &r = entries.first().rows.at(i);
            QCOMPARE(r.key.value(QStringLiteral("CGP4_IDCHECK_CGP2")).toInt(), i);
            QCOMPARE(r.values.value(QStringLiteral("CGP4_CHECKED")).toArray().at(1).toInt(), i);
        }
    }

    void carriedRowsAreStoredOnce_data()
    {
        recordKeepsEveryRowInOrder_data();
    }

    // Rows carried from another database are stored under this causal as they came; carried
    // again, none is doubled, and a row not yet there is still stored.
    void carriedRowsAreStoredOnce()
    {
        QFETCH(int, rows);
        QList<QVariantList> carried;
        for (int i = 0; i < rows; ++i)
            carried.append({QStringLiteral("OP%1").arg(i / 3), QStringLiteral("2026-03-01 10:00:00.%1").arg(i, 3, 10, QLatin1Char('0')),
                            QStringLiteral("MROSSI"), qlonglong(1), QStringLiteral("CGP5_DUEBILPARAM"), qlonglong(0),
                            QStringLiteral("{\"N\":%1}").arg(i), QStringLiteral("{}")});
        QCOMPARE(CausalHistory::restore(*m_c, QStringLiteral("777"), carried), rows);
        QCOMPARE(CausalHistory::storedRows(*m_c, QStringLiteral("777")), carried);
        QVERIFY(CausalHistory::storedRows(*m_c, QStringLiteral("778")).isEmpty());

        QList<QVariantList> again = carried;
        again.append({QStringLiteral("NEW"), QStringLiteral("2026-03-02 09:00:00.000"), QStringLiteral("MROSSI"),
                      qlonglong(1), QStringLiteral("CGP5_DUEBILPARAM"), qlonglong(0), QStringLiteral("{}"), QStringLiteral("{}")});
        QCOMPARE(CausalHistory::restore(*m_c, QStringLiteral("777"), again), 1);
        QCOMPARE(CausalHistory::storedRows(*m_c, QStringLiteral("777")), again);
    }
};

QTEST_GUILESS_MAIN(TestCausalHistory)
#include "tst_causalhistory.moc"
