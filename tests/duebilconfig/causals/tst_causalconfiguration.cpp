#include "ado/connection.h"
#include "causals/causalconfiguration.h"
#include "support/casefile.h"
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
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/causalchanges.cases")});
    }

    void changesAreFoundByRowKeyAndColumn()
    {
        QFETCH(TextCase, c);
        const CausalConfiguration before = CausalConfiguration::read(*m_c, "300");
        for (const QString &sql : c.lines("statements"))
            m_c->Execute(sql);
        QCOMPARE(changes(before, CausalConfiguration::read(*m_c, "300")), c.lines("changes"));
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
