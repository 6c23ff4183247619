#include "ado/adoerror.h"
#include "ado/connection.h"
#include "ado/recordset.h"
#include "fixture.h"
#include "support/jsoncases.h"
#include "support/databasereads.h"

using namespace ado;

// The window's frames keep their rows in client-side recordsets and write them back in one batch.
class TestRecordset : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ConnectionPtr m_connection;

    // The layout of causal 300 as the window's frame reads it, by default on the test's connection.
    RecordsetPtr openLayout(const ConnectionPtr &connection = {})
    {
        auto rs = std::make_shared<Recordset>();
        rs->setMarshalOptions(1);
        rs->Open(" SELECT CGP1_DUEBILFIELD.*, CGP3_DUEBILGRIGLIA.* \r\n FROM CGP3_DUEBILGRIGLIA\r\n"
                 " INNER JOIN CGP1_DUEBILFIELD ON CGP1_ID = CGP3_IDFIELD_CGP1\r\n WHERE CGP3_CAUSALE_CGP0 = 300\r\n"
                 " ORDER BY CGP3_CAUSALE_CGP0, CGP3_VISIBLEORDER",
                 connection ? connection : m_connection);
        return rs;
    }

    QString column(const QString &sql) { return ::column(*m_connection, sql).join(','); }

private slots:
    void init()
    {
        m_connection.reset();
        m_connection = openFixture(m_dir);
    }

    void navigation()
    {
        RecordsetPtr rs = openLayout();
        QCOMPARE(rs->RecordCount(), 3);
        QCOMPARE(rs->AbsolutePosition(), 1);
        rs->MoveLast();
        QCOMPARE(rs->value("CGP1_FIELD").toString(), QString("Cliente"));
        rs->MoveNext();
        QVERIFY(rs->isEOF());
        QCOMPARE(rs->AbsolutePosition(), -3);
        QVERIFY_THROWS_EXCEPTION(AdoError, rs->value("CGP1_FIELD"));
        rs->MoveFirst();
        rs->MovePrevious();
        QVERIFY(rs->isBOF());
        rs->setAbsolutePosition(2);
        QVERIFY_THROWS_EXCEPTION(AdoError, rs->value("NESSUNA_COLONNA"));
        QCOMPARE(rs->value("cgp3_idfield_cgp1").toInt(), 2);
    }

    void filterAndSort_data() { addJsonRows("recordset.json", "filterAndSort"); }

    void filterAndSort()
    {
        QFETCH(QJsonArray, row);
        m_connection->Execute("UPDATE CGP3_DUEBILGRIGLIA SET CGP3_GROUPED = NULL WHERE CGP3_IDFIELD_CGP1 = 2");
        RecordsetPtr rs = openLayout();
        const QStringList sorts = row[2].toString().split(';');
        rs->setSort(sorts.first());
        rs->setFilter(row[1].toString());
        for (const QString &then : sorts.mid(1))
            rs->setSort(then);
        QStringList seen;
        for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext())
            seen.append(rs->value("CGP1_FIELD").toString());
        QCOMPARE(seen.join(','), row[3].toString());
        QCOMPARE(rs->RecordCount(), int(seen.size()));
    }

    void badCriteriaAreRefused()
    {
        RecordsetPtr rs = openLayout();
        QVERIFY_THROWS_EXCEPTION(AdoError, rs->setFilter("NESSUNA = 1"));
        QVERIFY_THROWS_EXCEPTION(AdoError, rs->setFilter("CGP1_FIELD LIKE 'x'"));
        QVERIFY_THROWS_EXCEPTION(AdoError, rs->setSort("NESSUNA"));
        QCOMPARE(rs->RecordCount(), 3);
    }

    void cloneSharesRows()
    {
        RecordsetPtr rs = openLayout();
        RecordsetPtr copy = rs->Clone();
        copy->setFilter("CGP3_IDFIELD_CGP1 = 3");
        copy->setValue("CGP3_GROUPED", 1);
        rs->MoveLast();
        QCOMPARE(rs->value("CGP3_GROUPED").toInt(), 1);
        const QVariant mark = rs->Bookmark();
        rs->MoveFirst();
        rs->setBookmark(mark);
        QCOMPARE(rs->value("CGP1_FIELD").toString(), QString("Cliente"));
        rs->Delete();
        QCOMPARE(rs->RecordCount(), 2);
        QCOMPARE(copy->RecordCount(), 0);
    }

    // Only what the user changed is written, never another causal's rows or the joined table.
    void batchWritesChangesOnly()
    {
        m_connection->Execute("UPDATE CGP1_DUEBILFIELD SET CGP1_FIELD = 'Importo' WHERE CGP1_ID = 2");
        RecordsetPtr rs = openLayout();
        rs->setAbsolutePosition(2);
        rs->setValue("CGP3_SORTTYPE", 2);
        rs->setValue("CGP1_FIELD", "non scritto");
        rs->MoveFirst();
        rs->Delete();
        rs->AddNew();
        rs->setValue("CGP3_CAUSALE_CGP0", 300);
        rs->setValue("CGP3_IDFIELD_CGP1", 1);
        rs->setValue("CGP3_VISIBLEORDER", 9);
        rs->Update();
        QVERIFY(rs->hasPendingChanges());
        QCOMPARE(rs->UpdateBatch(), 3);
        QVERIFY(!rs->hasPendingChanges());
        QCOMPARE(column("SELECT CGP3_VISIBLEORDER || ':' || CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA ORDER BY CGP3_IDFIELD_CGP1"),
                 QString("9:0,2:2,3:1"));
        QCOMPARE(column("SELECT CGP1_FIELD FROM CGP1_DUEBILFIELD WHERE CGP1_ID = 2"), QString("Importo"));
        QCOMPARE(rs->UpdateBatch(), 0);
    }

    // A refused row leaves the table as it was and the edits still pending, so nothing typed is lost.
    void failedBatchWritesNothing()
    {
        RecordsetPtr rs = openLayout();
        rs->setValue("CGP3_VISIBLEORDER", 7);
        rs->AddNew();
        rs->setValue("CGP3_CAUSALE_CGP0", 300);
        rs->setValue("CGP3_IDFIELD_CGP1", 2);  // already there: key violation
        rs->Update();
        try {
            rs->UpdateBatch();
            QFAIL("the duplicate row was written");
        } catch (const AdoError &e) {
            QCOMPARE(e.kind(), AdoError::Constraint);
        }
        QCOMPARE(rs->lastBatchFailures().size(), 1);
        QVERIFY(rs->hasPendingChanges());
        QCOMPARE(column("SELECT CGP3_VISIBLEORDER FROM CGP3_DUEBILGRIGLIA ORDER BY 1"), QString("1,2,3"));
        QVERIFY(!m_connection->inTransaction());
        rs->MoveLast();
        rs->setValue("CGP3_IDFIELD_CGP1", 4);
        QCOMPARE(rs->UpdateBatch(), 2);
        QCOMPARE(column("SELECT CGP3_VISIBLEORDER FROM CGP3_DUEBILGRIGLIA ORDER BY 1"), QString(",2,3,7"));  // the new row has no order yet
    }

    void cancelRestoresRows()
    {
        RecordsetPtr rs = openLayout();
        rs->setValue("CGP3_VISIBLEORDER", 5);
        rs->CancelUpdate();
        QCOMPARE(rs->value("CGP3_VISIBLEORDER").toInt(), 1);
        rs->AddNew();
        rs->CancelUpdate();
        QCOMPARE(rs->RecordCount(), 3);
        rs->MoveFirst();
        rs->setValue("CGP3_VISIBLEORDER", 5);
        rs->MoveNext();
        rs->Delete();
        rs->CancelBatch();
        QCOMPARE(rs->RecordCount(), 3);
        QVERIFY(!rs->hasPendingChanges());
        QCOMPARE(rs->value("CGP3_VISIBLEORDER").toInt(), 1);
    }

    void requeryDropsPendingAndReads()
    {
        RecordsetPtr rs = openLayout();
        rs->setValue("CGP3_VISIBLEORDER", 5);
        m_connection->Execute("DELETE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_IDFIELD_CGP1 = 3");
        rs->Requery();
        QCOMPARE(rs->RecordCount(), 2);
        QVERIFY(!rs->hasPendingChanges());
    }

    // Two users write the same layout, each change "COLUMN=value" on field 1 or DELETE: the second
    // is refused, whole and with its edits kept, when it finds the row gone or a column it changes changed.
    void secondWriterMeetsTheFirst_data() { addJsonRows("recordset.json", "secondWriter"); }

    void secondWriterMeetsTheFirst()
    {
        QFETCH(QJsonArray, row);
        const bool refused = row[3].toBool();
        m_connection->Execute("UPDATE CGP3_DUEBILGRIGLIA SET CGP3_GROUPED = NULL WHERE CGP3_IDFIELD_CGP1 = 1");
        auto other = std::make_shared<Connection>();
        other->Open(m_connection->ConnectionString());
        RecordsetPtr mine = openLayout();
        RecordsetPtr theirs = openLayout(other);
        auto apply = [](Recordset &rs, const QString &change) {
            rs.MoveFirst();
            if (change == QLatin1String("DELETE"))
                rs.Delete();
            else
                rs.setValue(change.section('=', 0, 0), change.section('=', 1).toInt());
        };
        apply(*theirs, row[1].toString());
        QCOMPARE(theirs->UpdateBatch(), 1);

        apply(*mine, row[2].toString());
        mine->setAbsolutePosition(mine->RecordCount() == 3 ? 2 : 1);
        mine->setValue("CGP3_VISIBLEORDER", 8);
        bool conflict = false;
        try {
            mine->UpdateBatch();
        } catch (const AdoError &e) {
            conflict = e.kind() == AdoError::Conflict;
            QVERIFY2(e.message().contains("CGP3_DUEBILGRIGLIA") && e.message().contains("CGP3_IDFIELD_CGP1 = 1"),
                     qPrintable(e.message()));
        }
        QCOMPARE(conflict, refused);
        QCOMPARE(mine->hasPendingChanges(), refused);
        QCOMPARE(mine->lastBatchFailures().size(), refused ? 1 : 0);
        QVERIFY(!m_connection->inTransaction());
        QCOMPARE(column("SELECT CGP3_SORTTYPE || ':' || IFNULL(CGP3_GROUPED, 0) FROM CGP3_DUEBILGRIGLIA"
                        " WHERE CGP3_IDFIELD_CGP1 = 1")
                     + ',' + column("SELECT CGP3_VISIBLEORDER FROM CGP3_DUEBILGRIGLIA WHERE CGP3_IDFIELD_CGP1 = 2"),
                 row[4].toString());  // sort:grouped of field 1, then visible order of field 2
    }

    // Rows written in a transaction rolled back are pending again; once committed, their new values
    // are what the next write compares with.
    void writeFollowsTheCallersTransaction()
    {
        RecordsetPtr rs = openLayout();
        rs->setValue("CGP3_SORTTYPE", 2);
        m_connection->BeginTrans();
        QCOMPARE(rs->UpdateBatch(), 1);
        QVERIFY(!rs->hasPendingChanges());
        m_connection->RollbackTrans();
        QVERIFY(rs->hasPendingChanges());
        QCOMPARE(rs->value("CGP3_SORTTYPE").toInt(), 2);
        QCOMPARE(rs->originalValue("CGP3_SORTTYPE").toInt(), 0);
        QCOMPARE(column("SELECT CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_IDFIELD_CGP1 = 1"), QString("0"));

        m_connection->BeginTrans();
        QCOMPARE(rs->UpdateBatch(), 1);
        m_connection->CommitTrans();
        rs->setValue("CGP3_SORTTYPE", 1);
        QCOMPARE(rs->UpdateBatch(), 1);
        QCOMPARE(column("SELECT CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_IDFIELD_CGP1 = 1"), QString("1"));
        const QVariantList read = rs->originalRows({"CGP3_IDFIELD_CGP1", "CGP3_SORTTYPE"}).first();
        QCOMPARE(read.at(0).toInt(), 1);
        QCOMPARE(read.at(1).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestRecordset)
#include "tst_recordset.moc"
