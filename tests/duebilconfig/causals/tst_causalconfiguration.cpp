#include "ado/connection.h"
#include "causals/causalconfiguration.h"
#include "support/testdatabase.h"

#include <QTest>

using Change = CausalConfiguration::Change;

// The changes between two readings of a causal: what a trial import shows and what a history
// of changes records, row by row and column by column.
class TestCausalConfiguration : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::shared_ptr<ado::Connection> m_c;

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

    QStringList changes(const CausalConfiguration &before, const CausalConfiguration &after)
    {
        QStringList all;
        for (const Change &c : CausalConfiguration::diff(before, after))
            all << describe(c);
        return all;
    }

private slots:
    void init()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Demo);
        QVERIFY(m_db->isValid());
        m_c = std::make_shared<ado::Connection>();
        m_c->Open(m_db->connectionString());
    }

    void readingTwiceShowsNothing()
    {
        const CausalConfiguration a = CausalConfiguration::read(*m_c, "300");
        QVERIFY(a.exists());
        QVERIFY(CausalConfiguration::diff(a, CausalConfiguration::read(*m_c, "300")).isEmpty());
    }

    void changesAreFoundByRowKeyAndColumn_data()
    {
        QTest::addColumn<QStringList>("statements");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("a column of the single parameter row")
            << QStringList{"UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = 4 WHERE CGP5_CAUSALE_CGP0 = 300"}
            << QStringList{"CGP5_DUEBILPARAM CGP5_CAUSALE_CGP0=300 CGP5_TIPOCAUSALE: 1 -> 4"};
        QTest::newRow("a text cleared in one company's posting row")
            << QStringList{"UPDATE CGP7_DUEBILPERSREG SET CGP7_TESTORIGA = NULL WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1"}
            << QStringList{"CGP7_DUEBILPERSREG CGP7_DITTA_CG18=1,CGP7_GRUPPO_CG10=1 CGP7_TESTORIGA: "
                           "Incasso RiBa n. [NUMDOC] del [DATADOC] -> NULL"};
        QTest::newRow("a layout row gone, an exclusion come")
            << QStringList{"DELETE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300 AND CGP3_IDFIELD_CGP1 = 30",
                           "INSERT INTO CGP8_DUEBILREVOKE (CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07) VALUES (300, NULL, 3)"}
            << QStringList{"CGP3_DUEBILGRIGLIA CGP3_IDFIELD_CGP1=30 -", "CGP8_DUEBILREVOKE CGP8_ID_FW06=,CGP8_ID_FW07=3 +"};
        QTest::newRow("another causal changed") << QStringList{"UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = 4 WHERE CGP5_CAUSALE_CGP0 = 310"}
                                                << QStringList{};
    }

    void changesAreFoundByRowKeyAndColumn()
    {
        QFETCH(QStringList, statements);
        QFETCH(QStringList, expected);
        const CausalConfiguration before = CausalConfiguration::read(*m_c, "300");
        for (const QString &sql : statements)
            m_c->Execute(sql);
        QCOMPARE(changes(before, CausalConfiguration::read(*m_c, "300")), expected);
    }

    // A causal that did not exist comes whole: every row of it is an added row.
    void aNewCausalIsAllAddedRows()
    {
        const CausalConfiguration none = CausalConfiguration::read(*m_c, "401");
        QVERIFY(!none.exists());
        const CausalConfiguration source = CausalConfiguration::read(*m_c, "300");
        const QList<Change> all = CausalConfiguration::diff(none, source);
        int rows = 0;
        for (const CausalConfiguration::Table &t : CausalConfiguration::tables())
            rows += source.rows(QLatin1String(t.table)).size();
        QCOMPARE(all.size(), rows);
        for (const Change &c : all)
            QCOMPARE(c.kind, Change::RowAdded);
        QCOMPARE(CausalConfiguration::diff(source, none).size(), rows);
    }
};

QTEST_GUILESS_MAIN(TestCausalConfiguration)
#include "tst_causalconfiguration.moc"
