#include "ado/connection.h"
#include "causals/causalhistory.h"
#include "store/duebilstatements.h"
#include "support/testdatabase.h"

#include <QJsonArray>
#include <QTest>

using Change = CausalConfiguration::Change;

// The change history writes many rows at a time, a statement holding at most a fixed number of
// them: every row lands once, in its order, whatever the count.
class TestCausalHistory : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ado::Connection> m_c;

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Demo);
        QVERIFY2(m_db->isValid(), qPrintable(m_db->errorString()));
        m_c = std::make_unique<ado::Connection>();
        m_c->Open(m_db->connectionString());
    }

    void recordKeepsEveryRowInOrder_data()
    {
        QTest::addColumn<int>("rows");
        for (int n : {1, DueBilStatements::HistoryRowsPerInsert, 2 * DueBilStatements::HistoryRowsPerInsert + 1})
            QTest::addRow("%d rows", n) << n;
    }

    // One operation's rows come back as one entry, each row with its key and values.
    void recordKeepsEveryRowInOrder()
    {
        QFETCH(int, rows);
        QList<Change> changes;
        for (int i = 0; i < rows; ++i) {
            Change c;
            c.table = QStringLiteral("CGP4_DUEBILFILTRI");
            c.key = {{QStringLiteral("CGP4_IDCHECK_CGP2"), i}};
            c.column = QStringLiteral("CGP4_CHECKED");
            c.before = 0;
            c.after = i;
            changes.append(c);
        }
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
