#include "store/messageids.h"
#include "support/casefile.h"
#include "support/databasereads.h"
#include "support/windowfixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

using Kind = RecordingMessageService::Kind;

namespace {
const QString Descrizione = QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300");
const QString Mesi = QStringLiteral("SELECT CGP6_MESI FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300"
                                    " AND CGP6_DITTA_CG18 = 1");
const QString WindowText = QStringLiteral("Scritta dalla finestra");
} // namespace

// The window shows 300 while another connection changes it: the window's save is refused whole
// when it would overwrite the other user's values, accepted when the two changed different ones.
class tst_ConcurrentSave : public WindowFixture
{
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(setUpWindow());
        m_other = std::make_shared<ado::Connection>();
        m_other->Open(m_db->connectionString());
        QVERIFY(openAt(QStringLiteral("300")));
        QCOMPARE(m_form->context().ui.TXT_MESI->Text(), QStringLiteral("3"));
    }

    void cleanup()
    {
        tearDownWindow();
        m_other.reset();
    }

    void saveAfterAnotherUser_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/concurrentsaves.cases")});
    }

    void saveAfterAnotherUser()
    {
        QFETCH(TextCase, c);
        const bool refused = c.text(QStringLiteral("refused")) == QLatin1String("yes");
        const QString probe = c.text(QStringLiteral("probe"));
        FormContext &ctx = m_form->context();
        edit(c.text(QStringLiteral("change")));
        otherUser(c.text(QStringLiteral("other")));
        const QString descrizione = scalar(Descrizione);
        const QString expected = c.parts.contains(QStringLiteral("expected")) ? c.text(QStringLiteral("expected")) : scalar(probe);

        m_messages->enqueueAnswer(MsgAnswer::No);  // keep editing, should the save be refused
        const bool saved = ctx.ui.INTERNAV->press(QStringLiteral("Conferma"));

        QCOMPARE(messageIds(), refused ? QList<int>{MessageId::ChangedByAnotherUser} : QList<int>());
        QVERIFY(!refused || m_messages->calls().constLast().message.params == QStringList{QStringLiteral("300")});
        QCOMPARE(saved, !refused);
        QCOMPARE(scalar(probe), expected);
        // All or nothing: the causal row is written only with the rest.
        QCOMPARE(scalar(Descrizione), refused ? descrizione : WindowText);
        QVERIFY(!ctx.Gcnn_Connessione->inTransaction());
        // Every box shows the stored check, another user's ticks included: the next save keeps them.
        if (!refused) {
            QStringList shown;
            for (int i = 1; i <= 32; ++i)
                shown << ctx.ui.CHK_FILTER[i]->Text();
            QCOMPARE(shown.join(u','), scalar("SELECT GROUP_CONCAT(CGP4_CHECKED) FROM (SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI"
                                              " WHERE CGP4_CAUSALE_CGP0 = 300 ORDER BY CGP4_IDCHECK_CGP2)"));
        }
        for (const RecordingMessageService::Call &call : m_messages->calls())
            QVERIFY2(call.kind != Kind::Error, qPrintable(call.error.text));
    }

    void refusedSaveOffersReload_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Sì: reload, the edits are dropped") << int(MsgAnswer::Yes);
        QTest::newRow("No: keep editing") << int(MsgAnswer::No);
    }

    void refusedSaveOffersReload()
    {
        QFETCH(int, answer);
        FormContext &ctx = m_form->context();
        edit(QStringLiteral("mesi"));
        otherUser("UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_MESI = 7 WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1");
        m_messages->enqueueAnswer(answer);
        QVERIFY(!ctx.ui.INTERNAV->press(QStringLiteral("Conferma")));
        // The conflict (saveAfterAnotherUser names it) asks whether to reload.
        QCOMPARE(messageIds(), QList<int>{MessageId::ChangedByAnotherUser});
        QCOMPARE(m_messages->calls().constFirst().message.style & MsgStyle::ButtonsMask, int(MsgStyle::YesNo));

        if (answer == MsgAnswer::Yes) {
            // The window shows what is stored and holds nothing left to save.
            QCOMPARE(ctx.ui.TXT_MESI->Text(), QStringLiteral("7"));
            QCOMPARE(ctx.ui.TXT_DESCRIZIONE->Text(), scalar(Descrizione));
            bool changed = ctx.FME_CAUSALI->RecordChanged() || ctx.FME_CAUSALI->BatchPending();
            emit ctx.FME_CAUSALI->IsRecordChanged(&changed);
            QVERIFY(!changed);
            // Changed again on what was reloaded, the causal saves.
            type(ctx.ui.TXT_MESI, QStringLiteral("9"));
            QVERIFY(ctx.ui.INTERNAV->press(QStringLiteral("Conferma")));
            QCOMPARE(scalar(Mesi), QStringLiteral("9"));
        } else {
            // The edits stay on screen and pending; saving them again meets the same conflict.
            QCOMPARE(ctx.ui.TXT_MESI->Text(), QStringLiteral("9"));
            QCOMPARE(ctx.ui.TXT_DESCRIZIONE->Text(), WindowText);
            QVERIFY(ctx.FME_PARAMETRIDITTA->BatchPending());
            m_messages->enqueueAnswer(MsgAnswer::No);
            QVERIFY(!ctx.ui.INTERNAV->press(QStringLiteral("Conferma")));
            QCOMPARE(messageIds(), QList<int>(2, MessageId::ChangedByAnotherUser));
            QCOMPARE(scalar(Mesi), QStringLiteral("7"));
            QVERIFY(scalar(Descrizione) != WindowText);
        }
    }

    // A save compares with what the window itself wrote last: saving again is no conflict.
    void sameCausalSavedTwiceInASession()
    {
        FormContext &ctx = m_form->context();
        for (const QString &months : {QStringLiteral("9"), QStringLiteral("11")}) {
            for (const QString &what : {QStringLiteral("check"), QStringLiteral("layout")})
                edit(what);
            type(ctx.ui.TXT_MESI, months);
            type(ctx.ui.TXT_DESCRIZIONE, WindowText + months);
            QVERIFY(ctx.ui.INTERNAV->press(QStringLiteral("Conferma")));
            QCOMPARE(scalar(Mesi), months);
            QCOMPARE(scalar(Descrizione), WindowText + months);
        }
        // Check 5 was ticked, then cleared; the first field's sort went from ascending to descending to none.
        QCOMPARE(scalar("SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 5"),
                 QStringLiteral("0"));
        QCOMPARE(scalar("SELECT CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300 AND CGP3_IDFIELD_CGP1 = 30"),
                 QStringLiteral("0"));
        QVERIFY2(m_messages->calls().isEmpty(), qPrintable(m_messages->calls().value(0).message.text));
    }

private:
    // The window's own change besides the description (tests/data/concurrentsaves.cases).
    void edit(const QString &what)
    {
        FormUi &ui = m_form->context().ui;
        type(ui.TXT_DESCRIZIONE, WindowText);
        if (what == QLatin1String("mesi"))
            type(ui.TXT_MESI, QStringLiteral("9"));
        else if (what == QLatin1String("testo"))
            ui.TXT_TESTOPARAMETRICO->setText(QStringLiteral("Incasso [NUMDOC]"));
        else if (what == QLatin1String("check"))
            QTest::mouseClick(ui.CHK_FILTER[5]->checkBox(), Qt::LeftButton);
        else if (what == QLatin1String("layout"))
            ui.QGRID_LAYOUT->doubleClickCell(0, QStringLiteral("CGP3_SORTTYPE"));
        else if (what == QLatin1String("selection"))
            ui.KVS_SELSCADENZE->setTicked(14, true);
    }

    void otherUser(const QString &sql)
    {
        int affected = 0;
        m_other->Execute(sql, -1, &affected);
        QVERIFY2(affected > 0, qPrintable(sql));
    }

    // The first row's values, joined by ":" when there are several.
    QString scalar(const QString &sql) const
    {
        return firstRow(*m_other, sql).join(u':');
    }

    ado::ConnectionPtr m_other;
};

QTEST_MAIN(tst_ConcurrentSave)
#include "tst_concurrentsave.moc"
