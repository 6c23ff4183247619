#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/sqlitestatement.h"
#include "causals/causalhistory.h"
#include "form/frmcg_duebilconfig.h"
#include "form/frmcg_duebilconfigfactory.h"
#include "framework/clsglobal.h"
#include "framework/recordingmessageservice.h"
#include "framework/simplenavigator.h"
#include "host/clscg_duebilconfig.h"
#include "installer/databaseinstaller.h"
#include "support/testdatabase.h"
#include "support/windowfixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>
#include <sqlite3.h>

using Operation = CausalHistory::Operation;

// What the window records of the changes a user makes to a causal: each confirmed save,
// new causal, duplication and delete, exactly its changes; nothing for what is undone or refused.
class tst_WindowHistory : public WindowFixture
{
    Q_OBJECT


    void show(const QString &code)
    {
        FormUi &ui = m_form->context().ui;
        ui.TXT_CAUSALE->lineEdit()->setText(code);
        ui.TXT_CAUSALE->commit();
    }

    FormUi &ui() { return m_form->context().ui; }

    QList<CausalHistory::Entry> history(const QString &code)
    {
        ado::Connection c;
        c.Open(m_db->connectionString());
        return CausalHistory::read(c, code);
    }

    // "TABLE column: old -> new" for every value a recorded save changed.
    static QStringList changedValues(const CausalHistory::Entry &e)
    {
        QStringList shown;
        for (const CausalHistory::RowChange &r : e.rows) {
            for (auto it = r.values.begin(); it != r.values.end(); ++it) {
                const QJsonArray pair = it.value().toArray();
                shown << r.table + ' ' + it.key() + ": " + pair.at(0).toVariant().toString() + " -> "
                        + pair.at(1).toVariant().toString();
            }
        }
        return shown;
    }

    // The statements the window's connection sends between start and stop, as SQLite runs them:
    // on SQL Server each is a round trip.
    struct StatementTrace
    {
        sqlite3 *handle;
        QStringList sent;
        explicit StatementTrace(const ado::Connection &c) : handle(ado::sqliteHandleOf(c.database()))
        {
            sqlite3_trace_v2(handle, SQLITE_TRACE_STMT, &StatementTrace::traced, this);
        }
        ~StatementTrace() { sqlite3_trace_v2(handle, 0, nullptr, nullptr); }
        static int traced(unsigned, void *self, void *statement, void *)
        {
            const char *sql = sqlite3_sql(static_cast<sqlite3_stmt *>(statement));
            // A trigger's statements come as comments: only the window's own count.
            if (sql && qstrncmp(sql, "--", 2) != 0)
                static_cast<StatementTrace *>(self)->sent.append(QString::fromUtf8(sql));
            return 0;
        }
    };

private slots:
    void init()
    {
        QVERIFY(setUpWindow());
    }

    void cleanup()
    {
        tearDownWindow();
    }

    void saveRecordsItsChangesAndUndoNothing()
    {
        QVERIFY(open(QStringLiteral("MROSSI")));
        show(QStringLiteral("300"));
        // The first confirm stores what the window's rules put on screen for the demo causal
        // (today one flag of its posting row), and that is recorded as a save of its own.
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Conferma")));
        const int before = history(QStringLiteral("300")).size();
        QVERIFY(before <= 1);
        const QString months = ui().TXT_MESI->Text();
        ui().TXT_MESI->setText(QStringLiteral("7"));
        ui().TXT_DESCRIZIONE->setText(QStringLiteral("Incasso RiBa modificato"));
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Conferma")));
        QList<CausalHistory::Entry> entries = history(QStringLiteral("300"));
        QCOMPARE(entries.size(), before + 1);
        QCOMPARE(entries.first().operation, Operation::Save);
        QCOMPARE(entries.first().user, QStringLiteral("MROSSI"));
        QCOMPARE(changedValues(entries.first()),
                 (QStringList{"CGP0_DUEBILCAUSALI CGP0_DESCRIZIONE: Incasso RiBa clienti -> Incasso RiBa modificato",
                              "CGP6_DUEBILPARAMDITTA CGP6_MESI: " + months + " -> 7"}));
        QCOMPARE(entries.first().rows.last().key.value("CGP6_DITTA_CG18").toInt(), 1);

        // A second confirm with nothing changed records nothing more, and an edit undone
        // leaves no trace.
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Conferma")));
        ui().TXT_MESI->setText(QStringLiteral("9"));
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Annulla")));
        QCOMPARE(history(QStringLiteral("300")).size(), before + 1);
        QCOMPARE(history({}).size(), before + 1);
    }

    // A history row holds the values as compact JSON that any JSON reader takes back as they
    // were stored: the text Qt itself writes, whatever the value holds.
    void recordedValuesAreStoredAsJson_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QJsonValue>("json");
        QTest::newRow("text") << QVariant(QStringLiteral("Incasso RiBa")) << QJsonValue(QStringLiteral("Incasso RiBa"));
        QTest::newRow("quotes and backslash") << QVariant(QStringLiteral("Riga \"A\" \\ B"))
                                              << QJsonValue(QStringLiteral("Riga \"A\" \\ B"));
        QTest::newRow("control characters") << QVariant(QStringLiteral("a\r\nb\tc\x01d"))
                                            << QJsonValue(QStringLiteral("a\r\nb\tc\x01d"));
        QTest::newRow("accented") << QVariant(QStringLiteral("Pagamento però già")) << QJsonValue(QStringLiteral("Pagamento però già"));
        QTest::newRow("empty") << QVariant(QStringLiteral("")) << QJsonValue(QStringLiteral(""));
        QTest::newRow("null") << QVariant() << QJsonValue(QJsonValue::Null);
        QTest::newRow("integer") << QVariant(qlonglong(1234567890123)) << QJsonValue(qint64(1234567890123));
        QTest::newRow("real") << QVariant(12.75) << QJsonValue(12.75);
    }

    void recordedValuesAreStoredAsJson()
    {
        QFETCH(QVariant, value);
        QFETCH(QJsonValue, json);
        ado::Connection c;
        c.Open(m_db->connectionString());
        CausalConfiguration::Change change;
        change.table = QStringLiteral("CGP0_DUEBILCAUSALI");
        change.key = {{QStringLiteral("CGP0_CAUSALE"), 300}};
        change.column = QStringLiteral("CGP0_DESCRIZIONE");
        change.before = QStringLiteral("Incasso RiBa clienti");
        change.after = value;
        QCOMPARE(CausalHistory(c, QStringLiteral("MROSSI")).record(Operation::Save, QStringLiteral("300"), {change}), 1);
        const ado::RecordsetPtr rs = c.Execute(QStringLiteral("SELECT CGPL_CHIAVE, CGPL_VALORI FROM CGPL_DUEBILSTORICO"));
        QCOMPARE(rs->value(QStringLiteral("CGPL_CHIAVE")).toString(), QStringLiteral("{\"CGP0_CAUSALE\":300}"));
        const QJsonObject expected{{change.column, QJsonArray{QJsonValue(QStringLiteral("Incasso RiBa clienti")), json}}};
        QCOMPARE(rs->value(QStringLiteral("CGPL_VALORI")).toString(),
                 QString::fromUtf8(QJsonDocument(expected).toJson(QJsonDocument::Compact)));
        QCOMPARE(history(QStringLiteral("300")).first().rows.first().values, expected);
    }

    // Each save and copy stores and records exactly the change. A copy costs a round trip per
    // statement on the server: its existence test, its copy statements and one history
    // statement (the saves' counts are among the round trips, whose database has no free code).
    void savesRecordWhatIsStored_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("table");
        QTest::newRow("description") << "description" << "CGP0_DUEBILCAUSALI";
        QTest::newRow("company months") << "months" << "CGP6_DUEBILPARAMDITTA";
        QTest::newRow("posting text") << "text" << "CGP7_DUEBILPERSREG";
        QTest::newRow("check") << "check" << "CGP4_DUEBILFILTRI";
        QTest::newRow("Duplica") << "copy" << "";
    }

    void savesRecordWhatIsStored()
    {
        QFETCH(QString, action);
        QFETCH(QString, table);
        QVERIFY(open(QStringLiteral("MROSSI")));
        show(QStringLiteral("300"));
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Conferma")));
        QStringList sent;
        {
            StatementTrace trace(*m_form->context().Gcnn_Connessione);
            if (action == QLatin1String("description"))
                ui().TXT_DESCRIZIONE->setText(QStringLiteral("Incasso RiBa modificato"));
            else if (action == QLatin1String("months"))
                ui().TXT_MESI->setText(QStringLiteral("7"));
            else if (action == QLatin1String("text"))
                ui().TXT_TESTOPARAMETRICO->setText(QStringLiteral("Riga [NUMDOC]"));
            else if (action == QLatin1String("check"))
                tick(ui().CHK_FILTER[5]);
            if (action == QLatin1String("copy")) {
                m_messages->enqueueInput(QStringLiteral("400"));
                QVERIFY(ui().INTERNAV->press(QStringLiteral("Duplica")));
            } else {
                QVERIFY(ui().INTERNAV->press(QStringLiteral("Conferma")));
            }
            sent = trace.sent;
        }
        if (action == QLatin1String("copy")) {
            QVERIFY2(sent.size() <= 12, qPrintable(QString::number(sent.size()) + u'\n' + sent.join(u'\n')));
            const qsizetype begin = sent.indexOf(QStringLiteral("BEGIN IMMEDIATE"));
            const qsizetype commit = sent.lastIndexOf(QStringLiteral("COMMIT"));
            QVERIFY(begin >= 0 && commit > begin);
            QVERIFY2(commit + 1 - begin <= 11, qPrintable(sent.mid(begin, commit + 1 - begin).join(u'\n')));
        }

        // The record, made from the rows in hand, is what a reading of the tables finds changed.
        const QString code = action == QLatin1String("copy") ? QStringLiteral("400") : QStringLiteral("300");
        const CausalHistory::Entry last = history(code).first();
        QCOMPARE(last.operation, action == QLatin1String("copy") ? Operation::Duplicate : Operation::Save);
        ado::Connection c;
        c.Open(m_db->connectionString());
        const CausalConfiguration stored = CausalConfiguration::read(c, code, {CausalScope::SelectionOfOneCompany, 1});
        QHash<QString, QVariant> expected;  // "table key column" -> value stored now
        for (const CausalConfiguration::Table &t : CausalConfiguration::tables()) {
            for (const CausalConfiguration::Row &row : stored.rows(QLatin1String(t.table))) {
                QStringList key;
                for (const QString &k : t.keyColumns)
                    key << row.values.value(k).toString();
                for (const QString &column : row.columns)
                    expected.insert(QLatin1String(t.table) + u' ' + key.join(u',') + u' ' + column, row.values.value(column));
            }
        }
        int values = 0;
        for (const CausalHistory::RowChange &r : last.rows) {
            QVERIFY(table.isEmpty() || r.table == table);
            QStringList key;
            for (const CausalConfiguration::Table &t : CausalConfiguration::tables()) {
                if (r.table == QLatin1String(t.table))
                    for (const QString &k : t.keyColumns)
                        key << r.key.value(k).toVariant().toString();
            }
            for (auto it = r.values.begin(); it != r.values.end(); ++it, ++values) {
                const QString at = r.table + u' ' + key.join(u',') + u' ' + it.key();
                QVERIFY2(expected.contains(at), qPrintable(at));
                QCOMPARE(it.value().toArray().at(1).toVariant().toString(), expected.value(at).toString());
            }
        }
        // A copy records every value of every row it added; a save at least the one changed.
        if (action == QLatin1String("copy"))
            QCOMPARE(values, int(expected.size()));
        else
            QVERIFY(values >= 1);
    }

    void newDuplicateAndDeleteAreRecorded()
    {
        QVERIFY(open(QStringLiteral("MROSSI")));
        show(QStringLiteral("300"));
        m_messages->enqueueInput(QStringLiteral("400"));
        ui().INTERNAV->press(QStringLiteral("Duplica"));
        QTRY_COMPARE(history(QStringLiteral("400")).size(), 1);
        const CausalHistory::Entry copy = history(QStringLiteral("400")).first();
        QCOMPARE(copy.operation, Operation::Duplicate);
        QCOMPARE(copy.user, QStringLiteral("MROSSI"));
        for (const CausalHistory::RowChange &r : copy.rows)
            QCOMPARE(r.kind, CausalHistory::RowKind::Added);
        // The source is saved before it is copied, and never changed by the copy.
        for (const CausalHistory::Entry &e : history(QStringLiteral("300")))
            QCOMPARE(e.operation, Operation::Save);

        QVERIFY(ui().INTERNAV->press(QStringLiteral("Nuovo")));
        show(QStringLiteral("400"));
        m_messages->enqueueAnswer(MsgAnswer::Yes);  // "Eliminare la causale 400 - ...?"
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Elimina")));
        QCOMPARE(scalar("SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 400").toInt(), 0);
        const QList<CausalHistory::Entry> entries = history(QStringLiteral("400"));
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).operation, Operation::Delete);
        QCOMPARE(entries.at(1).operation, Operation::Duplicate);
        // The delete takes away every row the duplication brought.
        QCOMPARE(entries.at(0).rows.size(), entries.at(1).rows.size());
        for (const CausalHistory::RowChange &r : entries.at(0).rows)
            QCOMPARE(r.kind, CausalHistory::RowKind::Removed);

        // A code typed that names no causal creates it.
        show(QStringLiteral("410"));
        const QList<CausalHistory::Entry> created = history(QStringLiteral("410"));
        QCOMPARE(created.size(), 1);
        QCOMPARE(created.first().operation, Operation::Create);
        QCOMPARE(created.first().rows.first().table, QStringLiteral("CGP0_DUEBILCAUSALI"));
        QCOMPARE(created.first().rows.first().kind, CausalHistory::RowKind::Added);
    }
};

QTEST_MAIN(tst_WindowHistory)
#include "tst_windowhistory.moc"
