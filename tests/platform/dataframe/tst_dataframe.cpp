#include "ado/adoerror.h"
#include "dataframe/dataframe.h"
#include "support/databasereads.h"
#include "fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace ado;

class TestDataFrame : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    ConnectionPtr m_connection;
    std::unique_ptr<QWidget> m_window;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_description = nullptr;
    std::unique_ptr<DataFrame> m_causali;
    QStringList m_errors;

    std::unique_ptr<DataFrame> frame(const QString &sql)
    {
        auto rs = std::make_shared<Recordset>();
        rs->setActiveConnection(m_connection);
        rs->setSource(sql);
        rs->Open();
        rs->setMarshalOptions(1);
        auto f = std::make_unique<DataFrame>();
        f->Initialize(nullptr, m_connection, rs, sql, "CGP0_CODICE", nullptr, nullptr);
        f->setErrorHandler([this](const QString &op, const QString &msg) { m_errors.append(op + ": " + msg); });
        return f;
    }

    // The layout of causal 300, a child frame as the window's grid has it.
    std::unique_ptr<DataFrame> layoutFrame()
    {
        auto layout = frame(" SELECT * FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300 ORDER BY CGP3_VISIBLEORDER");
        layout->setChildOption(0);
        return layout;
    }

    // What the form does when a code is typed: write it into the row, then query.
    bool queryCode(const QString &code)
    {
        m_code->setText(code);
        RecordsetPtr rs = m_causali->recordset();
        if (!rs->isBOF() && !rs->isEOF())
            rs->setValue("CGP0_CAUSALE", code);
        return m_causali->Query(true, true);
    }

private slots:
    void init()
    {
        m_causali.reset();
        m_window.reset();
        m_connection.reset();
        m_errors.clear();
        m_connection = openFixture(m_dir);
        m_window = std::make_unique<QWidget>();
        m_code = new QLineEdit(m_window.get());
        m_description = new QLineEdit(m_window.get());
        m_causali = frame(" SELECT *\r\n FROM CGP0_DUEBILCAUSALI");
        m_causali->Bind(m_code, "CGP0_CAUSALE");
        m_causali->Bind(m_description, "CGP0_DESCRIZIONE");
        m_causali->setKeyControl(m_code);
        m_causali->setStatus(DataFrame::StatusQuery);
    }

    void queryShowsTheCausal_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("description");
        QTest::newRow("stored causal") << "310" << true << "Pagamento bonifici fornitori";
        QTest::newRow("added after the frame opened") << "400" << true << "Nuova causale";
        QTest::newRow("unknown code") << "999" << false << "";
    }

    void queryShowsTheCausal()
    {
        QFETCH(QString, code);
        QFETCH(bool, found);
        QFETCH(QString, description);
        m_connection->Execute("INSERT INTO CGP0_DUEBILCAUSALI VALUES (400, 'Nuova causale')");
        QSignalSpy status(m_causali.get(), &DataFrame::ChangeStatus);
        QCOMPARE(queryCode(code), found);
        QCOMPARE(m_causali->Status(), found ? 0 : 2);
        QCOMPARE(m_description->text(), description);
        QCOMPARE(status.size(), found ? 1 : 0);
        // The code written into the row as a criterion is never saved over another causal.
        QCOMPARE(scalar(*m_connection, "SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE IN (300, 310, 320, 400)").toString(),
                 QString("4"));
    }

    void queryStatusClearsControlsAndIgnoresTyping()
    {
        QVERIFY(queryCode("300"));
        m_causali->setStatus(DataFrame::StatusQuery);
        QCOMPARE(m_description->text(), QString());
        m_description->setText("digitata in ricerca");
        QVERIFY(!m_causali->RecordChanged());
        QVERIFY(!m_causali->BatchPending());
    }

    // The master's save reaches a child as UpdateBatchAll; the handler writes the rows.
    void childBatch()
    {
        auto layout = layoutFrame();
        m_causali->AddChild(layout.get());
        QCOMPARE(m_causali->children().size(), 1);
        QSignalSpy batch(layout.get(), &DataFrame::UpdateBatchAll);
        bool written = false;
        connect(layout.get(), &DataFrame::UpdateBatchAll, this,
                [&] { written = layout->UpdateBatchRecordset(); }, Qt::DirectConnection);
        RecordsetPtr rs = layout->recordset();
        rs->MoveLast();
        rs->setValue("CGP3_SORTTYPE", 2);
        layout->RowChanged();
        QVERIFY(layout->RecordChanged());
        QVERIFY(layout->BatchPending());
        layout->UpdateBatch();
        QVERIFY(written);
        QCOMPARE(batch.size(), 1);
        QVERIFY(!layout->BatchPending());
        QCOMPARE(scalar(*m_connection, "SELECT SUM(CGP3_SORTTYPE) FROM CGP3_DUEBILGRIGLIA").toString(), QString("2"));
    }

    // A click on a child's grid row shows it and raises AfterMove; the edit left stays pending, unwritten.
    void childMovesToAClickedRowWithoutWriting()
    {
        auto layout = layoutFrame();
        auto *sort = new QLineEdit(m_window.get());
        layout->Bind(sort, "CGP3_SORTTYPE");
        layout->setStatus(DataFrame::StatusRecord);
        QSignalSpy moved(layout.get(), &DataFrame::AfterMove);
        RecordsetPtr rs = layout->recordset();
        rs->MoveFirst();
        const QVariant first = rs->Bookmark();
        rs->MoveLast();
        const QVariant last = rs->Bookmark();
        QVERIFY(layout->MoveTo(first));
        sort->setText("2");
        QVERIFY(layout->RecordChanged());
        QVERIFY(layout->MoveTo(last));
        QCOMPARE(moved.size(), 2);
        QCOMPARE(sort->text(), QString("1"));
        QVERIFY(layout->RecordChanged());
        QCOMPARE(scalar(*m_connection, "SELECT SUM(CGP3_SORTTYPE) FROM CGP3_DUEBILGRIGLIA").toString(), QString("1"));
        QVERIFY(!layout->MoveTo(QVariant()));
        QCOMPARE(moved.size(), 2);
    }

    // Child rows that AfterUpdate could not write fail the whole save; they stay pending.
    void saveWithUnwrittenChildRowsFails()
    {
        auto layout = layoutFrame();
        m_causali->AddChild(layout.get());
        connect(m_causali.get(), &DataFrame::AfterUpdate, layout.get(), [&] { layout->UpdateBatchRecordset(); },
                Qt::DirectConnection);
        connect(m_causali.get(), &DataFrame::IsRecordChanged, layout.get(),
                [&](bool *changed) { *changed = *changed || layout->BatchPending(); }, Qt::DirectConnection);
        QVERIFY(queryCode("300"));
        m_description->setText("Rivista");
        QVERIFY(m_causali->RecordChanged());
        QVERIFY(m_causali->Save(true, true, true));
        QVERIFY(!m_causali->RecordChanged());

        RecordsetPtr rs = layout->recordset();
        QVERIFY(layout->AddNew());
        rs->setValue("CGP3_CAUSALE_CGP0", 300);
        rs->setValue("CGP3_IDFIELD_CGP1", 1);  // already in the layout: refused
        m_description->setText("Rivista due");
        QVERIFY(!m_causali->Save(true, true, true));
        QVERIFY(layout->BatchPending());
        QCOMPARE(m_errors.size(), 1);
        QCOMPARE(scalar(*m_connection, "SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300").toString(),
                 QString("Rivista"));
        QCOMPARE(scalar(*m_connection, "SELECT COUNT(*) FROM CGP3_DUEBILGRIGLIA").toString(), QString("3"));
    }

    void checkBoxesCarryZeroOrOne()
    {
        auto layout = layoutFrame();
        auto *grouped = new QCheckBox(m_window.get());
        layout->Bind(grouped, "CGP3_GROUPED");
        layout->setStatus(DataFrame::StatusRecord);
        QVERIFY(!grouped->isChecked());
        grouped->setChecked(true);
        QCOMPARE(layout->recordset()->value("CGP3_GROUPED").toInt(), 1);
        layout->Unbind(grouped);
        grouped->setChecked(false);
        QCOMPARE(layout->recordset()->value("CGP3_GROUPED").toInt(), 1);
        QVERIFY(layout->Undo());
        layout->Rebind(grouped);
        QVERIFY(!grouped->isChecked());
    }
};

QTEST_MAIN(TestDataFrame)
#include "tst_dataframe.moc"
