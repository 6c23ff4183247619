#include "framework/recordingmessageservice.h"
#include "layout/layouteditor.h"
#include "store/adoerrorclassifier.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "support/casefile.h"
#include "support/databasereads.h"
#include "support/testdatabase.h"

#include <QTest>

// Editing the due-date grid layout of a causal and writing it back.
class TestLayoutEditor : public QObject
{
    Q_OBJECT

    std::unique_ptr<ConnectedDatabase> m_db;
    ado::ConnectionPtr m_connection;
    std::unique_ptr<LayoutEditor> m_editor;

    ado::RecordsetPtr layoutOf(const QString &causal)
    {
        auto rs = std::make_shared<ado::Recordset>();
        rs->Open(DueBilStatements::showLayout(causal), m_connection);
        return rs;
    }

    // "id:position" of every row in the recordset's order.
    static QString positions(ado::Recordset &rs)
    {
        QStringList out;
        for (rs.MoveFirst(); !rs.isEOF(); rs.MoveNext())
            out << rs.value("CGP3_IDFIELD_CGP1").toString() + ":" + rs.value("CGP3_VISIBLEORDER").toString();
        return out.join(' ');
    }

    QString stored(const QString &causal)
    {
        return column(*m_connection, "SELECT CGP3_IDFIELD_CGP1 || ':' || CGP3_VISIBLEORDER FROM CGP3_DUEBILGRIGLIA WHERE"
                                     " CGP3_CAUSALE_CGP0 = " + causal + " ORDER BY CGP3_VISIBLEORDER, CGP3_IDFIELD_CGP1").join(' ');
    }

    QString fieldKey(int id)
    {
        return scalar(*m_connection, QString("SELECT CGP1_TABLE || '.' || CGP1_FIELD FROM CGP1_DUEBILFIELD WHERE CGP1_ID = %1").arg(id))
            .toString();
    }

private slots:
    void init()
    {
        m_db = std::make_unique<ConnectedDatabase>();
        m_connection = m_db->connection;
        m_editor = std::make_unique<LayoutEditor>(m_connection);
    }

    void catalogueLookups()
    {
        const QString key = fieldKey(40);
        QCOMPARE(m_editor->GetIDField(key), 40);
        QCOMPARE(m_editor->GetIDField("NESSUNA.TABELLA"), 0);
        QCOMPARE(m_editor->GetIDField("X'Y.Z"), 0);
        QCOMPARE(m_editor->GetTableField("nessun campo"), QString());
    }

    void addingAppendsOrRefuses()
    {
        ado::RecordsetPtr empty = layoutOf("320");
        const QString key = fieldKey(50);
        QCOMPARE(m_editor->addField(*empty, key, "Importo", "Scadenze", false, "320"), 0);
        QCOMPARE(empty->value("CGP3_VISIBLEORDER").toInt(), 1);
        QCOMPARE(empty->value("CGP1_ID").toInt(), 50);
        QCOMPARE(m_editor->addField(*empty, key, "Importo", "Scadenze", false, "320"), MessageId::FieldPresent);
        QCOMPARE(m_editor->addField(*empty, "Scadenze", "Scadenze", "", true, "320"), MessageId::NoField);
        ado::RecordsetPtr five = layoutOf("300");
        // A row read back from the table holds the bare column name: it is still the same field.
        QCOMPARE(m_editor->addField(*five, fieldKey(30), "Data scadenza", "Scadenze", false, "300"),
                 MessageId::FieldPresent);
        QCOMPARE(five->RecordCount(), 5);
        QCOMPARE(m_editor->addField(*five, fieldKey(60), "x", "Scadenze", false, "300"), 0);
        QCOMPARE(five->value("CGP3_VISIBLEORDER").toInt(), 6);
        QCOMPARE(five->RecordCount(), 6);
    }

    // Rows of causal 300's layout (field id:position, 999 pinned at the end) after moving one.
    void moving_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/layoutmoves.cases")});
    }

    void moving()
    {
        QFETCH(TextCase, c);
        for (const QString &pair : c.text("pinned").split(',', Qt::SkipEmptyParts))
            m_connection->Execute("UPDATE CGP3_DUEBILGRIGLIA SET CGP3_VISIBLEORDER = " + pair.section('=', 1)
                                  + " WHERE CGP3_CAUSALE_CGP0 = 300 AND CGP3_IDFIELD_CGP1 = " + pair.section('=', 0, 0));
        ado::RecordsetPtr rs = layoutOf("300");
        rs->setAbsolutePosition(c.text("row").toInt());
        c.text("move") == "up" ? LayoutEditor::moveUp(*rs) : LayoutEditor::moveDown(*rs);
        rs->setSort("CGP3_VISIBLEORDER, CGP1_ID");
        QCOMPARE(positions(*rs), c.text("after"));
    }

    void sortDirectionCycles()
    {
        ado::RecordsetPtr rs = layoutOf("300");
        rs->MoveLast();  // field 110, descending
        QCOMPARE(LayoutEditor::sortTextId(rs->value("CGP3_SORTTYPE")), int(LayoutEditor::TextDescending));
        QVERIFY(LayoutEditor::cycleSort(*rs));
        QCOMPARE(rs->value("CGP3_SORTTYPE").toInt(), 0);
        QVERIFY(LayoutEditor::cycleSort(*rs));
        QCOMPARE(LayoutEditor::sortTextId(rs->value("CGP3_SORTTYPE")), int(LayoutEditor::TextAscending));
        QCOMPARE(LayoutEditor::sortTextId(QVariant()), 0);
    }

    // Saving replaces the rows of the causal whole, gaps and pinned positions as they stand.
    void saveReplacesTheRows()
    {
        RecordingMessageService messages;
        ErrorTrap trap(&messages, nullptr);
        ado::RecordsetPtr rs = layoutOf("300");
        rs->setAbsolutePosition(2);
        rs->Delete();
        rs->MoveFirst();
        rs->setValue("CGP3_VISIBLEORDER", 999);
        rs->setValue("CGP3_SORTTYPE", QVariant());
        QVERIFY(m_editor->UpdateLayOut(*rs, "300", trap));
        QCOMPARE(stored("300"), QString("40:3 80:4 110:5 30:999"));
        QCOMPARE(scalar(*m_connection, "SELECT CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300"
                                       " AND CGP3_IDFIELD_CGP1 = 30").toInt(), 0);
        QCOMPARE(stored("310"), QString("30:1 2010:2 40:3 220:4 300:5"));
        QVERIFY(messages.calls().isEmpty());
    }

    void failedSaveKeepsThePreviousRows_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("leave") << int(ErrorTrap::Leave);
        QTest::newRow("go on") << int(ErrorTrap::Resume);
    }

    // A row that cannot be written keeps the layout as it was stored, even when the user goes
    // on with the remaining rows.
    void failedSaveKeepsThePreviousRows()
    {
        QFETCH(int, answer);
        RecordingMessageService messages;
        messages.setDefaultErrorAnswer(answer);
        ErrorTrap trap(&messages, nullptr);
        trap.setClassifier(adoErrorClassifier());
        ado::RecordsetPtr rs = layoutOf("300");
        const QString before = stored("300");
        // A row the table refuses (duplicate field) makes the insert fail half-way.
        rs->MoveLast();
        rs->setValue("CGP1_ID", 30);
        QVERIFY(!m_editor->UpdateLayOut(*rs, "300", trap));
        QCOMPARE(messages.calls().size(), 1);
        QVERIFY(!m_connection->inTransaction());
        QCOMPARE(stored("300"), before);
    }
};

QTEST_GUILESS_MAIN(TestLayoutEditor)
#include "tst_layouteditor.moc"
