#include "ado/recordset.h"
#include "causals/causalhistory.h"
#include "store/moduletables.h"
#include "support/windowfixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

using Operation = CausalHistory::Operation;

// What the window records of a user's changes to a causal: exactly what each save and copy changed.
class tst_WindowHistory : public WindowFixture
{
    Q_OBJECT

    QList<CausalHistory::Entry> history(const QString &code)
    {
        ado::Connection c;
        c.Open(m_db->connectionString());
        return CausalHistory::read(c, code);
    }

    // "table key column" -> value, for every value of the causal's rows stored now (company 1).
    QHash<QString, QVariant> stored(const QString &code)
    {
        ado::Connection c;
        c.Open(m_db->connectionString());
        const CausalConfiguration rows = CausalConfiguration::read(c, code, {CausalScope::SelectionOfOneCompany, 1});
        QHash<QString, QVariant> values;
        for (const CausalConfiguration::Table &t : CausalConfiguration::tables()) {
            for (const CausalConfiguration::Row &row : rows.rows(QLatin1String(t.table))) {
                QStringList key;
                for (const QString &k : t.keyColumns)
                    key << row.values.value(k).toString();
                for (const QString &column : row.columns)
                    values.insert(QLatin1String(t.table) + u' ' + key.join(u',') + u' ' + column, row.values.value(column));
            }
        }
        return values;
    }

private slots:
    void init() { QVERIFY(setUpWindow()); }
    void cleanup() { tearDownWindow(); }

    // Values are kept as the compact JSON Qt writes, so any JSON reader takes them back as stored.
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
        const CausalConfiguration::Change change{.table = QStringLiteral("CGP0_DUEBILCAUSALI"),
                                                 .key = {{QStringLiteral("CGP0_CAUSALE"), 300}},
                                                 .column = QStringLiteral("CGP0_DESCRIZIONE"),
                                                 .before = QStringLiteral("Incasso RiBa clienti"),
                                                 .after = value,
                                                 .values = {}};
        QCOMPARE(CausalHistory(c, QStringLiteral("MROSSI")).record(Operation::Save, QStringLiteral("300"), {change}), 1);
        const ado::RecordsetPtr rs = c.Execute(QStringLiteral("SELECT CGPL_CHIAVE, CGPL_VALORI FROM CGPL_DUEBILSTORICO"));
        QCOMPARE(rs->value(QStringLiteral("CGPL_CHIAVE")).toString(), QStringLiteral("{\"CGP0_CAUSALE\":300}"));
        const QJsonObject expected{{change.column, QJsonArray{QJsonValue(QStringLiteral("Incasso RiBa clienti")), json}}};
        QCOMPARE(rs->value(QStringLiteral("CGPL_VALORI")).toString(),
                 QString::fromUtf8(QJsonDocument(expected).toJson(QJsonDocument::Compact)));
        QCOMPARE(history(QStringLiteral("300")).first().rows.first().values, expected);
    }

    // A save records the one change the tables show; an empty confirm or an undo records nothing.
    // A copy records every row it added and leaves its source alone.
    void savesRecordWhatIsStored_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("changed");  // "table key column" of the one value a save records
        QTest::newRow("description") << "description" << "CGP0_DUEBILCAUSALI 300 CGP0_DESCRIZIONE";
        QTest::newRow("company months") << "months" << "CGP6_DUEBILPARAMDITTA 1 CGP6_MESI";
        QTest::newRow("posting text") << "text" << "CGP7_DUEBILPERSREG 1,1 CGP7_TESTORIGA";
        QTest::newRow("check") << "check" << "CGP4_DUEBILFILTRI 5 CGP4_CHECKED";
        QTest::newRow("Duplica") << "copy" << "";
    }

    void savesRecordWhatIsStored()
    {
        QFETCH(QString, action);
        QFETCH(QString, changed);
        const bool copy = action == QLatin1String("copy");
        const QString code = copy ? QStringLiteral("400") : QStringLiteral("300");
        QVERIFY(openAt(QStringLiteral("300")));
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Conferma")));
        const QHash<QString, QVariant> before = stored(code);
        const int recorded = history({}).size();
        if (action == QLatin1String("description"))
            ui().TXT_DESCRIZIONE->setText(QStringLiteral("Incasso RiBa modificato"));
        else if (action == QLatin1String("months"))
            ui().TXT_MESI->setText(QStringLiteral("7"));
        else if (action == QLatin1String("text"))
            ui().TXT_TESTOPARAMETRICO->setText(QStringLiteral("Riga [NUMDOC]"));
        else if (action == QLatin1String("check"))
            tick(ui().CHK_FILTER[5]);
        if (copy)
            m_messages->enqueueInput(QStringLiteral("400"));
        QVERIFY(ui().INTERNAV->press(copy ? QStringLiteral("Duplica") : QStringLiteral("Conferma")));
        if (copy) {
            for (const CausalHistory::Entry &e : history(QStringLiteral("300")))
                QCOMPARE(e.operation, Operation::Save);
        }

        QCOMPARE(history({}).size(), recorded + 1);
        const CausalHistory::Entry last = history(code).first();
        QCOMPARE(last.operation, copy ? Operation::Duplicate : Operation::Save);
        QCOMPARE(last.user, QStringLiteral("MROSSI"));
        const QHash<QString, QVariant> after = stored(code);
        QStringList values;
        for (const CausalHistory::RowChange &r : last.rows) {
            QVERIFY(!copy || r.kind == CausalHistory::RowKind::Added);
            QStringList key;
            for (const QString &k : ModuleTables::find(r.table)->keyColumns)
                key << r.key.value(k).toVariant().toString();
            for (auto it = r.values.begin(); it != r.values.end(); ++it) {
                const QString at = r.table + u' ' + key.join(u',') + u' ' + it.key();
                values << at;
                QVERIFY2(after.contains(at), qPrintable(at));
                QCOMPARE(it.value().toArray().at(1).toVariant().toString(), after.value(at).toString());
                if (!copy)
                    QCOMPARE(it.value().toArray().at(0).toVariant().toString(), before.value(at).toString());
            }
        }
        QCOMPARE(values.size(), copy ? int(after.size()) : 1);  // a copy: every value it added
        if (copy)
            return;
        QCOMPARE(values, QStringList{changed});
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Conferma")));
        ui().TXT_MESI->setText(QStringLiteral("9"));
        QVERIFY(ui().INTERNAV->press(QStringLiteral("Annulla")));
        QCOMPARE(history({}).size(), recorded + 1);
    }
};

QTEST_MAIN(tst_WindowHistory)
#include "tst_windowhistory.moc"
