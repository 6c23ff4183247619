#include "causalrows.h"
#include "connection.h"
#include "frmcg_duebilconfig.h"
#include "messageids.h"
#include "recordingmessageservice.h"
#include "recordset.h"
#include "windowfixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

using Kind = RecordingMessageService::Kind;

// Every way the window saves a causal (Conferma, a move or a close answered Sì, the save that
// Duplica asks for) applies the same checks: what Conferma refuses is never written by another.
class tst_SavePaths : public WindowFixture
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(setUpWindow()); }
    void cleanup() { tearDownWindow(); }

    void exclusionRowWithoutGroupOrUserIsNeverStored_data();
    void exclusionRowWithoutGroupOrUserIsNeverStored();

private:
    void show(const QString &code)
    {
        FormUi &ui = m_form->context().ui;
        ui.TXT_CAUSALE->lineEdit()->setText(code);
        ui.TXT_CAUSALE->commit();
    }

    QString rows(const QString &sql) const
    {
        ado::Connection c;
        c.Open(m_db->connectionString());
        const ado::RecordsetPtr rs = c.Execute(sql);
        QStringList all;
        for (; !rs->isEOF(); rs->MoveNext()) {
            QStringList values;
            for (const QString &f : rs->fieldNames())
                values << rs->value(f).toString();
            all << values.join('|');
        }
        return all.join(',');
    }

    QList<int> messageIds() const
    {
        QList<int> ids;
        for (const RecordingMessageService::Call &call : m_messages->calls()) {
            if (call.kind == Kind::Message)
                ids.append(call.message.textId);
        }
        return ids;
    }
};

void tst_SavePaths::exclusionRowWithoutGroupOrUserIsNeverStored_data()
{
    QTest::addColumn<QString>("row");    // what the user left in the new row
    QTest::addColumn<QString>("path");   // how the save was asked for
    for (const char *row : {"empty", "group refused", "user refused", "empty, other row clicked", "group chosen, then refused"}) {
        for (const char *path : {"Conferma", "Successivo", "Duplica", "close"})
            QTest::addRow("%s, %s", row, path) << row << path;
    }
}

void tst_SavePaths::exclusionRowWithoutGroupOrUserIsNeverStored()
{
    QFETCH(QString, row);
    QFETCH(QString, path);
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormContext &ctx = m_form->context();
    FormUi &ui = ctx.ui;
    const QString revoke = QStringLiteral("SELECT CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07 FROM CGP8_DUEBILREVOKE"
                                          " ORDER BY 1, 2, 3");
    const QString before = rows(revoke);
    ui.TXT_DESCRIZIONE->setText(QStringLiteral("Con esclusione"));
    ui.TAB_CONFIG->setTab(4);
    QVERIFY(ui.GRIDNAVREVOKE->press(QStringLiteral("Nuovo")));
    if (row == QLatin1String("group refused") || row == QLatin1String("user refused")) {
        IdLookupField *field = row.startsWith(QLatin1String("group")) ? ui.TXT_GRUPPO : ui.TXT_UTENTE;
        field->lineEdit()->setText(QStringLiteral("NESSUNO"));
        field->commit();
    } else if (row == QLatin1String("group chosen, then refused")) {
        ui.TXT_GRUPPO->lineEdit()->setText(QStringLiteral("CONTABILITA"));
        QVERIFY(ui.TXT_GRUPPO->commit());
        ui.TXT_GRUPPO->lineEdit()->setText(QStringLiteral("NESSUNO"));
        ui.TXT_GRUPPO->commit();
    } else if (row == QLatin1String("empty, other row clicked")) {
        ui.QGRID_GRUPPIUTENTI->findChild<QTableWidget *>()->setCurrentCell(0, 0);
    }
    m_messages->clear();
    m_messages->setDefaultAnswer(MsgAnswer::Yes);
    m_messages->enqueueInput(QStringLiteral("400"));
    if (path == QLatin1String("close"))
        QCOMPARE(m_cls->CloseForm(), QVariant(false));
    else
        QVERIFY(!ui.INTERNAV->press(path) || path == QLatin1String("Duplica"));

    // Refused whole: nothing written, nothing copied, the window on the row to correct.
    QCOMPARE(messageIds().constLast(), MessageId::NoGroupNorUser);
    const QString said = m_messages->calls().constLast().message.text;
    QVERIFY2(said.contains(QStringLiteral("\"Gruppo\"")) && said.contains(QStringLiteral("\"Utente\"")), qPrintable(said));
    QCOMPARE(rows(revoke), before);
    QCOMPARE(rows(QStringLiteral("SELECT CGP0_CAUSALE, CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI"
                                 " WHERE CGP0_CAUSALE IN (300, 400)")),
             QStringLiteral("300|Incasso RiBa clienti"));
    QCOMPARE(ctx.causalCode(), QStringLiteral("300"));
    QCOMPARE(ui.TAB_CONFIG->Tab(), 4);
    QCOMPARE(QApplication::focusWidget(), ui.TXT_GRUPPO->lineEdit());
    QVERIFY(ui.TXT_GRUPPO->isEnabled() && ui.TXT_UTENTE->isEnabled());
    QVERIFY(ctx.FME_UTENTI->recordset()->value(QStringLiteral("CGP8_ID_FW06")).isNull());
    QVERIFY(ctx.FME_UTENTI->recordset()->value(QStringLiteral("CGP8_ID_FW07")).isNull());

    // Naming a user in that row lets the same save through, with the one row the user made.
    ui.TXT_GRUPPO->lineEdit()->setText(QString());
    QVERIFY(ui.TXT_GRUPPO->commit());
    ui.TXT_UTENTE->lineEdit()->setText(QStringLiteral("LBIANCHI"));
    QVERIFY(ui.TXT_UTENTE->commit());
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Conferma")));
    QCOMPARE(rows(revoke), QStringLiteral("300||3,") + before);
}

QTEST_MAIN(tst_SavePaths)
#include "tst_savepaths.moc"
