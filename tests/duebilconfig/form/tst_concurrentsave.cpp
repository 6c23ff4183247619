#include "ado/connection.h"
#include "ado/recordset.h"
#include "causals_ui/causalrecords.h"
#include "form/frmcg_duebilconfig.h"
#include "form/frmcg_duebilconfigfactory.h"
#include "framework/clsglobal.h"
#include "framework/messageservice.h"
#include "framework/recordingmessageservice.h"
#include "framework/simplenavigator.h"
#include "host/clscg_duebilconfig.h"
#include "installer/databaseinstaller.h"
#include "store/messageids.h"
#include "support/databasereads.h"
#include "support/testdatabase.h"
#include "support/windowfixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QTest>

using Kind = RecordingMessageService::Kind;

// Two users on one causal: the window shows causal 300 while another connection to the same
// database changes it. The window's save then keeps what the other user saved: refused as a
// whole when it would overwrite it, accepted when the two changed different values.
class tst_ConcurrentSave : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveAfterAnotherUser_data();
    void saveAfterAnotherUser();
    void refusedSaveOffersReload_data();
    void refusedSaveOffersReload();
    void sameCausalSavedTwiceInASession();

private:
    void type(QLineEdit *edit, const QString &text);
    void edit(const QString &what);
    void otherUser(const QString &sql);
    QString scalar(const QString &sql) const;
    QList<QStringList> conflictMessages() const;

    ado::ConnectionPtr m_other;
};

namespace {
const QString Descrizione = QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300");
const QString Mesi = QStringLiteral("SELECT CGP6_MESI FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300"
                                    " AND CGP6_DITTA_CG18 = 1");
const QString WindowText = QStringLiteral("Scritta dalla finestra");
} // namespace

void tst_ConcurrentSave::init()
{
    QVERIFY(setUpWindow());
    m_other = std::make_shared<ado::Connection>();
    m_other->Open(m_db->connectionString());
    QVERIFY(open());
    FormUi &ui = m_form->context().ui;
    ui.TXT_CAUSALE->lineEdit()->setFocus();
    type(ui.TXT_CAUSALE->lineEdit(), QStringLiteral("300"));
    QTest::keyClick(ui.TXT_CAUSALE->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_form->context().FME_CAUSALI->Status(), int(DataFrame::StatusRecord));
    QCOMPARE(ui.TXT_MESI->Text(), QStringLiteral("3"));
}

void tst_ConcurrentSave::cleanup()
{
    tearDownWindow();
    m_other.reset();
}

// Replaces the field's text as a user does: select all, type.
void tst_ConcurrentSave::type(QLineEdit *edit, const QString &text)
{
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(edit, text);
}

// The window's own change besides the description: the months of the company row, the
// posting-line text of the registration row, check 5, the sort of the first layout row, or the
// bank transfers in the due-date type selection.
void tst_ConcurrentSave::edit(const QString &what)
{
    FormUi &ui = m_form->context().ui;
    type(ui.TXT_DESCRIZIONE->lineEdit(), WindowText);
    if (what == QLatin1String("mesi"))
        type(ui.TXT_MESI->lineEdit(), QStringLiteral("9"));
    else if (what == QLatin1String("testo"))
        ui.TXT_TESTOPARAMETRICO->setText(QStringLiteral("Incasso [NUMDOC]"));
    else if (what == QLatin1String("check"))
        QTest::mouseClick(ui.CHK_FILTER[5]->checkBox(), Qt::LeftButton);
    else if (what == QLatin1String("layout"))
        ui.QGRID_LAYOUT->doubleClickCell(0, QStringLiteral("CGP3_SORTTYPE"));
    else if (what == QLatin1String("selection"))
        ui.KVS_SELSCADENZE->setTicked(14, true);
}

void tst_ConcurrentSave::otherUser(const QString &sql)
{
    int affected = 0;
    m_other->Execute(sql, -1, &affected);
    QVERIFY2(affected > 0, qPrintable(sql));
}

// The first row's values, joined by ":" when there are several.
QString tst_ConcurrentSave::scalar(const QString &sql) const
{
    return firstRow(*m_other, sql).join(u':');
}

// The parameters of every conflict message shown so far.
QList<QStringList> tst_ConcurrentSave::conflictMessages() const
{
    QList<QStringList> shown;
    for (const RecordingMessageService::Call &call : m_messages->calls()) {
        if (call.kind == Kind::Message && call.message.textId == MessageId::ChangedByAnotherUser)
            shown.append(call.message.params);
    }
    return shown;
}

void tst_ConcurrentSave::saveAfterAnotherUser_data()
{
    QTest::addColumn<QString>("other");    // what the other user saves meanwhile
    QTest::addColumn<QString>("change");   // what the window changes besides the description
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("probe");    // a value the save must leave as expected
    QTest::addColumn<QString>("expected");

    QTest::newRow("company row, same column")
        << "UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_MESI = 7 WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1"
        << "mesi" << true << Mesi << "7";
    QTest::newRow("company row, different columns")
        << "UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_DELTAIMPORTO = 5 WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1"
        << "mesi" << false
        << "SELECT CGP6_MESI, CGP6_DELTAIMPORTO FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300"
           " AND CGP6_DITTA_CG18 = 1"
        << "9:5";
    QTest::newRow("causal row, same column")
        << "UPDATE CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = 'Altro utente' WHERE CGP0_CAUSALE = 300" << ""
        << true << Descrizione << "Altro utente";
    QTest::newRow("registration row deleted")
        << "DELETE FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1" << "testo" << true
        << "SELECT COUNT(*) FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1" << "0";
    QTest::newRow("same check")
        << "UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1 WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 5"
        << "check" << true << Mesi << "3";
    QTest::newRow("check ticked by the other, the window changes the months")
        << "UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1 WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 5"
        << "mesi" << false
        << "SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 5"
        << "1";
    QTest::newRow("layout changed by both")
        << "UPDATE CGP3_DUEBILGRIGLIA SET CGP3_GROUPED = 1 WHERE CGP3_CAUSALE_CGP0 = 300 AND CGP3_IDFIELD_CGP1 = 40"
        << "layout" << true
        << "SELECT CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300 AND CGP3_IDFIELD_CGP1 = 30"
        << "1";
    QTest::newRow("layout changed by the other, the window changes the months")
        << "UPDATE CGP3_DUEBILGRIGLIA SET CGP3_GROUPED = 1 WHERE CGP3_CAUSALE_CGP0 = 300 AND CGP3_IDFIELD_CGP1 = 40"
        << "mesi" << false
        << "SELECT COUNT(*) || ':' || SUM(CGP3_GROUPED) FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300"
        << "";  // filled in below: the other user's layout, unchanged
    const QString selection = "UPDATE FW41_SELEZIONEPARAMSCADENZE SET FW41_SELEZIONATO = 1, FW41_DATIPO = 1,"
                              " FW41_ALTIPO = 1 WHERE FW41_DITTA_CG18 = 1 AND FW41_CODICE = 300 AND FW41_INDTIPOPAG = 1";
    const QString stored = "SELECT GROUP_CONCAT(FW41_INDTIPOPAG || ':' || FW41_SELEZIONATO) FROM"
                           " (SELECT * FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_DITTA_CG18 = 1 AND FW41_CODICE = 300"
                           " ORDER BY FW41_INDTIPOPAG)";
    QTest::newRow("due-date selection changed by both") << selection << "selection" << true << stored << "1:1,3:1";
    QTest::newRow("due-date selection changed by the other, the window changes the months")
        << selection << "mesi" << false << stored << "1:1,3:1";
}

void tst_ConcurrentSave::saveAfterAnotherUser()
{
    QFETCH(QString, other);
    QFETCH(QString, change);
    QFETCH(bool, refused);
    QFETCH(QString, probe);
    QFETCH(QString, expected);
    FormContext &ctx = m_form->context();
    edit(change);
    otherUser(other);
    const QString descrizione = scalar(Descrizione);
    if (expected.isEmpty())
        expected = scalar(probe);

    m_messages->enqueueAnswer(MsgAnswer::No);  // keep editing, should the save be refused
    const bool saved = ctx.ui.INTERNAV->press(QStringLiteral("Conferma"));

    QCOMPARE(conflictMessages(), refused ? QList<QStringList>{{QStringLiteral("300")}} : QList<QStringList>());
    QCOMPARE(saved, !refused);
    QCOMPARE(scalar(probe), expected);
    // All or nothing: the causal row is written only with the rest.
    QCOMPARE(scalar(Descrizione), refused ? descrizione : WindowText);
    QVERIFY(!ctx.Gcnn_Connessione->inTransaction());
    // After a save the boxes show the stored checks, another user's tick included, so the next
    // save does not take it back.
    if (!refused)
        QCOMPARE(ctx.ui.CHK_FILTER[5]->Text(),
                 scalar("SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 5"));
    for (const RecordingMessageService::Call &call : m_messages->calls())
        QVERIFY2(call.kind != Kind::Error, qPrintable(call.error.text));
}

void tst_ConcurrentSave::refusedSaveOffersReload_data()
{
    QTest::addColumn<int>("answer");
    QTest::newRow("Sì: reload, the edits are dropped") << int(MsgAnswer::Yes);
    QTest::newRow("No: keep editing") << int(MsgAnswer::No);
}

void tst_ConcurrentSave::refusedSaveOffersReload()
{
    QFETCH(int, answer);
    FormContext &ctx = m_form->context();
    edit(QStringLiteral("mesi"));
    otherUser("UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_MESI = 7 WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1");
    m_messages->enqueueAnswer(answer);
    QVERIFY(!ctx.ui.INTERNAV->press(QStringLiteral("Conferma")));
    const QList<RecordingMessageService::Call> calls = m_messages->calls();
    QCOMPARE(calls.size(), 1);
    QCOMPARE(calls.first().message.style & 0x0f, int(MsgStyle::YesNo));
    QVERIFY2(calls.first().message.text.contains(QLatin1String("300"))
                 && calls.first().message.text.contains(QLatin1String("altro utente")),
             qPrintable(calls.first().message.text));

    if (answer == MsgAnswer::Yes) {
        // The window shows what is stored and holds nothing left to save.
        QCOMPARE(ctx.ui.TXT_MESI->Text(), QStringLiteral("7"));
        QCOMPARE(ctx.ui.TXT_DESCRIZIONE->Text(), scalar(Descrizione));
        bool changed = ctx.FME_CAUSALI->RecordChanged() || ctx.FME_CAUSALI->BatchPending();
        emit ctx.FME_CAUSALI->IsRecordChanged(&changed);
        QVERIFY(!changed);
        // Changed again on what was reloaded, the causal saves.
        type(ctx.ui.TXT_MESI->lineEdit(), QStringLiteral("9"));
        QVERIFY(ctx.ui.INTERNAV->press(QStringLiteral("Conferma")));
        QCOMPARE(scalar(Mesi), QStringLiteral("9"));
    } else {
        // The edits stay on screen and pending; saving them again meets the same conflict.
        QCOMPARE(ctx.ui.TXT_MESI->Text(), QStringLiteral("9"));
        QCOMPARE(ctx.ui.TXT_DESCRIZIONE->Text(), WindowText);
        QVERIFY(ctx.FME_PARAMETRIDITTA->BatchPending());
        m_messages->enqueueAnswer(MsgAnswer::No);
        QVERIFY(!ctx.ui.INTERNAV->press(QStringLiteral("Conferma")));
        QCOMPARE(conflictMessages().size(), 2);
        QCOMPARE(scalar(Mesi), QStringLiteral("7"));
        QVERIFY(scalar(Descrizione) != WindowText);
    }
}

// After a save the values written are the ones the next save compares with: the same row,
// check and layout saved again in the same session are no conflict.
void tst_ConcurrentSave::sameCausalSavedTwiceInASession()
{
    FormContext &ctx = m_form->context();
    for (const QString &months : {QStringLiteral("9"), QStringLiteral("11")}) {
        for (const QString &what : {QStringLiteral("check"), QStringLiteral("layout")})
            edit(what);
        type(ctx.ui.TXT_MESI->lineEdit(), months);
        type(ctx.ui.TXT_DESCRIZIONE->lineEdit(), WindowText + months);
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

QTEST_MAIN(tst_ConcurrentSave)
#include "tst_concurrentsave.moc"
