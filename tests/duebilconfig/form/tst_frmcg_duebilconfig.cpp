#include "ado/connection.h"
#include "ado/recordset.h"
#include "causals/causaloperations.h"
#include "controls/lookupdialog.h"
#include "form/frmcg_duebilconfig.h"
#include "form/frmcg_duebilconfigfactory.h"
#include "framework/clsglobal.h"
#include "framework/messageservice.h"
#include "framework/recordingmessageservice.h"
#include "framework/simplenavigator.h"
#include "framework/testiparametrizzabili.h"
#include "host/clscg_duebilconfig.h"
#include "installer/databaseinstaller.h"
#include "layout_ui/layoutpersonalisation.h"
#include "params_ui/causalparameters.h"
#include "store/messageids.h"
#include "support/testdatabase.h"
#include "support/windowfixture.h"
#include "causalrows.h"

#include <QComboBox>
#include <QTreeWidgetItemIterator>
#include <QTableWidget>
#include <QTimer>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeWidget>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QSignalSpy>
#include <QToolButton>
#include <QTest>

using Kind = RecordingMessageService::Kind;

// The configuration window opened in an MDI area over a fresh demo database, as the host
// opens it, with every message answered from a queue.
class tst_FRMCG_DUEBILCONFIG : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstActivationLeavesTheWindowWaitingForACode();
    void missingRowsAreCompletedAtFirstActivation_data();
    void missingRowsAreCompletedAtFirstActivation();
    void noCausalDisablesEveryTab();
    void typedCodeShowsTheCausalWithItsRows();
    void defaultChecksFollowTheOperationType_data();
    void defaultChecksFollowTheOperationType();
    void reservedCausalsAreFixedForOrdinaryUsers_data();
    void reservedCausalsAreFixedForOrdinaryUsers();
    void editsInEveryTabSurviveSaveAndReload();
    void clearedAccountIsStoredAsNull();
    void refusedCodesKeepTheFieldAndTheRow_data();
    void refusedCodesKeepTheFieldAndTheRow();
    void lookupListGivesTheChosenItem();
    void legendValueIsInsertedAtTheCaret_data();
    void legendValueIsInsertedAtTheCaret();
    void framesAreSetUpAsTheHostExpects();
    void calledModeShowsTheGivenCausal_data();
    void calledModeShowsTheGivenCausal();
    void refusedCloseKeepsTheWindow();
    void unreachableDatabaseIsRetriedAtTheNextActivation();
    void missingTextShowsItsId();
    void causalLevelChecksUnlockOnlyOnRequest();
    void fieldDraggedOntoTheGridIsAddedAsSelAddsIt_data();
    void fieldDraggedOntoTheGridIsAddedAsSelAddsIt();
    void currencyWithWithholdingIsNotSaved();
    void closingTypesSaveWithoutWithholding_data();
    void closingTypesSaveWithoutWithholding();
    void catalogueOutOfStepNeverBreaksTheChecks();
    void undoKeepsTheCausalOnDisplay();
    void movingAfterTheSaveQuestionStartsFromTheCausalShown_data();
    void movingAfterTheSaveQuestionStartsFromTheCausalShown();
    void deleteActsOnlyOnTheCausalShownAndAsksFirst_data();
    void deleteActsOnlyOnTheCausalShownAndAsksFirst();
    void startUpErrorsLeaveAWindowThatCloses_data();
    void startUpErrorsLeaveAWindowThatCloses();
    void twoRefusedCodeFieldsKeepTheFocusWithoutLooping();
    void theHostIsToldOnceThatTheWindowCloses();
    void codeFieldTakesOnlyTheDigitsZeroToNine_data();
    void codeFieldTakesOnlyTheDigitsZeroToNine();
    void dueDateSelectionIsSavedForTheCausalShown();
    void closingWithAHalfTypedCodeValidatesNothing();

private:
    void show(const QString &code);

};

void tst_FRMCG_DUEBILCONFIG::init()
{
    QVERIFY(setUpWindow());
}

void tst_FRMCG_DUEBILCONFIG::cleanup()
{
    tearDownWindow();
}

void tst_FRMCG_DUEBILCONFIG::show(const QString &code)
{
    FormUi &ui = m_form->context().ui;
    ui.TXT_CAUSALE->lineEdit()->setText(code);
    ui.TXT_CAUSALE->commit();
}

// After the first activation the window waits for a code with everything the user needs at
// hand: the operation types, every catalogue field in the tree, the layout grid's columns. A
// later activation starts nothing again: rows missing then stay missing until the next start.
void tst_FRMCG_DUEBILCONFIG::firstActivationLeavesTheWindowWaitingForACode()
{
    QVERIFY(open());
    FormContext &ctx = m_form->context();
    QVERIFY2(m_messages->calls().isEmpty(), "the start-up reported an error");
    QCOMPARE(ctx.FME_CAUSALI->Status(), int(DataFrame::StatusQuery));
    QCOMPARE(ctx.ui.CBO_TIPOOPERAZIONE->ListCount(), 8);
    const int fields = scalar(QStringLiteral("SELECT COUNT(*) FROM CGP1_DUEBILFIELD")).toInt();
    QVERIFY(fields > 0);
    QVERIFY(ctx.ui.TVCAMPI->nodeCount() > fields);
    QVERIFY(ctx.ui.QGRID_LAYOUT->columns().contains(QStringLiteral("CGP3_SORTTYPE")));

    const int nodes = ctx.ui.TVCAMPI->nodeCount();
    {
        ado::Connection connection;
        connection.Open(m_db->connectionString());
        connection.Execute(QStringLiteral("DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 7"));
    }
    m_form->Form_Activate();
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310")).toInt(), 31);
    QCOMPARE(ctx.ui.TVCAMPI->nodeCount(), nodes);
    QVERIFY(m_messages->calls().isEmpty());
}

void tst_FRMCG_DUEBILCONFIG::missingRowsAreCompletedAtFirstActivation_data()
{
    QTest::addColumn<QString>("removal");
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("expected");
    QTest::newRow("check row") << "DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 7"
                               << "SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310" << 32;
    // A row left by a check since taken out of the catalogue does not stand in for a missing one.
    QTest::newRow("check row turned into one of no catalogue check")
        << "UPDATE CGP4_DUEBILFILTRI SET CGP4_IDCHECK_CGP2 = 99 WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 7"
        << "SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 7" << 1;
    QTest::newRow("parameter row") << "DELETE FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 310"
                                   << "SELECT COUNT(*) FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 310" << 1;
    QTest::newRow("company row")
        << "DELETE FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1"
        << "SELECT COUNT(*) FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1" << 1;
    QTest::newRow("posting row")
        << "DELETE FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 310 AND CGP7_DITTA_CG18 = 1"
        << "SELECT COUNT(*) FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 310 AND CGP7_DITTA_CG18 = 1" << 1;
    // Rows counted for the company do not stand in for a missing one: a row of a causal that
    // is gone, or a second account group of another causal.
    QTest::newRow("company row, with a row of a causal no longer there")
        << "DELETE FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1;"
           "INSERT INTO CGP6_DUEBILPARAMDITTA (CGP6_DITTA_CG18, CGP6_CAUSALE_CGP0) VALUES (1, 999)"
        << "SELECT COUNT(*) FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1" << 1;
    QTest::newRow("posting row, with another causal in two account groups")
        << "DELETE FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 310 AND CGP7_DITTA_CG18 = 1;"
           "INSERT INTO CGP7_DUEBILPERSREG (CGP7_DITTA_CG18, CGP7_CAUSALE_CGP0, CGP7_GRUPPO_CG10) VALUES (1, 300, 77)"
        << "SELECT COUNT(*) FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 310 AND CGP7_DITTA_CG18 = 1" << 1;
    QTest::newRow("new check in the catalogue")
        << "INSERT INTO CGP2_DUEBILCHECK (CGP2_ID, CGP2_TIPOFILTRO, CGP2_DESCRIZIONE) VALUES (40, 'TIPOMOVIMENTO', 'Nuovo')"
        << "SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_IDCHECK_CGP2 = 40" << -1;
}

// Start-up completes only where a row is missing, but whatever is missing is still added.
void tst_FRMCG_DUEBILCONFIG::missingRowsAreCompletedAtFirstActivation()
{
    QFETCH(QString, removal);
    QFETCH(QString, count);
    QFETCH(int, expected);
    // -1: one row per causal.
    const bool perCausal = expected < 0;
    if (perCausal)
        expected = scalar("SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI").toInt();
    {
        ado::Connection connection;
        connection.Open(m_db->connectionString());
        for (const QString &statement : removal.split(QLatin1Char(';')))
            connection.Execute(statement);
    }
    QCOMPARE(scalar(count).toInt(), perCausal ? 0 : expected - 1);
    QVERIFY(open());
    QCOMPARE(scalar(count).toInt(), expected);
    QVERIFY2(m_messages->calls().isEmpty(), "the start-up reported an error");
}

void tst_FRMCG_DUEBILCONFIG::noCausalDisablesEveryTab()
{
    QVERIFY(open());
    FormUi &ui = m_form->context().ui;
    for (int i = 0; i < 5; ++i)
        QVERIFY2(!ui.TAB_CONFIG->isTabEnabled(i), qPrintable(QString::number(i)));
    QCOMPARE(ui.TAB_CONFIG->currentIndex(), 0);  // the window opens on "Generale"
    // The operation-type list lacks the state-management type unless that management is off.
    QStringList values;
    for (int i = 0; i < ui.CBO_TIPOOPERAZIONE->ListCount(); ++i)
        values << ui.CBO_TIPOOPERAZIONE->itemValue(i);
    const bool disabled = m_form->GestioneStatiDisabilitata();
    QCOMPARE(values.contains(QStringLiteral("7")), !disabled);
}

void tst_FRMCG_DUEBILCONFIG::typedCodeShowsTheCausalWithItsRows()
{
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormContext &ctx = m_form->context();
    QCOMPARE(ctx.FME_CAUSALI->Status(), int(DataFrame::StatusRecord));
    QCOMPARE(ctx.ui.TXT_DESCRIZIONE->Text(),
             scalar(QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300")).toString());
    QCOMPARE(ctx.ui.CBO_TIPOOPERAZIONE->Text(), QStringLiteral("1"));
    QCOMPARE(ctx.ui.QGRID_LAYOUT->rowCount(),
             scalar(QStringLiteral("SELECT COUNT(*) FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300")).toInt());
    QCOMPARE(ctx.ui.TXT_CAUSALECOGE->Text(),
             scalar(QStringLiteral("SELECT CGP7_CAUSALECOGE_CG33 FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 300"
                                   " AND CGP7_DITTA_CG18 = 1"))
                 .toString());
    // The description of a ledger code is read as the record is shown.
    QVERIFY(!ctx.ui.TXT_DESCCAUINCPAG->text().isEmpty());
    for (int i = 0; i < 4; ++i)
        QVERIFY(ctx.ui.TAB_CONFIG->isTabEnabled(i));
    QVERIFY(!ctx.ui.CHK_FILTER[1]->isHidden());
}

void tst_FRMCG_DUEBILCONFIG::defaultChecksFollowTheOperationType_data()
{
    QTest::addColumn<int>("tipo");
    for (int tipo = 1; tipo <= 8; ++tipo)
        QTest::addRow("type %d", tipo) << tipo;
}

void tst_FRMCG_DUEBILCONFIG::defaultChecksFollowTheOperationType()
{
    QFETCH(int, tipo);
    QVERIFY(open(QStringLiteral("VELTO")));
    show(QStringLiteral("300"));
    FormContext &ctx = m_form->context();
    QStringList before;
    for (int i = 1; i <= 32; ++i)
        before << ctx.ui.CHK_FILTER[i]->Text();

    ctx.ui.CBO_TIPOOPERAZIONE->setText(QString::number(tipo));
    emit ctx.ui.CBO_TIPOOPERAZIONE->AfterChange();

    const std::optional<QString> column = CausalOperations::defaultColumn(operationTypeOf(tipo));
    for (int i = 1; i <= 32; ++i) {
        const QString shown = ctx.ui.CHK_FILTER[i]->Text();
        const QString expected = column
            ? scalar(QStringLiteral("SELECT %1 FROM CGP2_DUEBILCHECK WHERE CGP2_ID = %2").arg(*column).arg(i)).toString()
            : before.value(i - 1);
        QVERIFY2(shown == (expected.isEmpty() ? QStringLiteral("0") : expected),
                 qPrintable(QStringLiteral("check %1: %2, expected %3").arg(i).arg(shown, expected)));
    }
}

void tst_FRMCG_DUEBILCONFIG::reservedCausalsAreFixedForOrdinaryUsers_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("editable");
    QTest::newRow("reserved, ordinary user") << "MROSSI" << "150" << false;
    QTest::newRow("reserved, VELTO in lower case") << "velto" << "150" << true;
    QTest::newRow("free code, ordinary user") << "MROSSI" << "300" << true;
}

void tst_FRMCG_DUEBILCONFIG::reservedCausalsAreFixedForOrdinaryUsers()
{
    QFETCH(QString, user);
    QFETCH(QString, code);
    QFETCH(bool, editable);
    QVERIFY(open(user));
    show(code);
    FormUi &ui = m_form->context().ui;
    QCOMPARE(ui.CBO_TIPOOPERAZIONE->isEnabled(), editable);
    QCOMPARE(ui.TXT_DESCRIZIONE->isEnabled(), editable);
    QCOMPARE(ui.CMD_CHECKCAUSALEDEFAULT->isEnabled(), editable);
    // The layout and exclusions stay editable for everybody.
    QVERIFY(ui.TAB_CONFIG->isTabEnabled(3));
}

void tst_FRMCG_DUEBILCONFIG::editsInEveryTabSurviveSaveAndReload()
{
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormContext &ctx = m_form->context();
    FormUi &ui = ctx.ui;
    ui.TXT_DESCRIZIONE->setText(QStringLiteral("Incasso RiBa modificato"));
    ui.TXT_MESI->setText(QStringLiteral("7"));
    ui.CHK_DESCRAGGTEST->setText(ui.CHK_DESCRAGGTEST->Text() == QLatin1String("1") ? "0" : "1");
    const QString descrAgg = ui.CHK_DESCRAGGTEST->Text();
    ui.TXT_TESTOPARAMETRICO->setText(QStringLiteral("Incasso [NUMDOC]"));
    const QString filter5 = ui.CHK_FILTER[5]->Text() == QLatin1String("1") ? "0" : "1";
    ui.CHK_FILTER[5]->setText(filter5);
    emit ui.CHK_FILTER[5]->Click();
    ui.QGRID_LAYOUT->doubleClickCell(0, QStringLiteral("CGP3_SORTTYPE"));
    const int firstId = ctx.FME_LAYOUT->recordset()->value(QStringLiteral("CGP1_ID")).toInt();
    const int sort = ctx.FME_LAYOUT->recordset()->value(QStringLiteral("CGP3_SORTTYPE")).toInt();

    QVERIFY(ui.INTERNAV->press(QStringLiteral("Conferma")));
    for (DataFrame *frame : ctx.children())
        QVERIFY2(!frame->RecordChanged() && !frame->BatchPending(), qPrintable(frame->objectName()));

    QCOMPARE(scalar("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300").toString(),
             QStringLiteral("Incasso RiBa modificato"));
    QCOMPARE(scalar("SELECT CGP6_MESI FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300 AND CGP6_DITTA_CG18 = 1")
                 .toInt(),
             7);
    QCOMPARE(scalar("SELECT CGP6_DESCRAGGTESTATA FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 300"
                    " AND CGP6_DITTA_CG18 = 1")
                 .toString(),
             descrAgg);
    QCOMPARE(scalar("SELECT CGP7_TESTORIGA FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1")
                 .toString(),
             QStringLiteral("Incasso [NUMDOC]"));
    QCOMPARE(scalar("SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 5")
                 .toString(),
             filter5);
    QCOMPARE(scalar(QStringLiteral("SELECT CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300"
                                   " AND CGP3_IDFIELD_CGP1 = %1")
                        .arg(firstId))
                 .toInt(),
             sort);

    // Another causal and back: the window shows what was stored.
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
    show(QStringLiteral("310"));
    // Another operation type rebuilds the recovery modes, which the window then offers to save.
    for (DataFrame *frame : ctx.children()) {
        if (frame != ctx.FME_PARAMETRI.get())
            QVERIFY2(!frame->RecordChanged(), qPrintable(frame->objectName()));
    }
    m_messages->enqueueAnswer(MsgAnswer::No);
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
    show(QStringLiteral("300"));
    QCOMPARE(ui.TXT_MESI->Text(), QStringLiteral("7"));
    QCOMPARE(ui.CHK_FILTER[5]->Text(), filter5);
    QCOMPARE(ui.TXT_TESTOPARAMETRICO->Text(), QStringLiteral("Incasso [NUMDOC]"));
}

void tst_FRMCG_DUEBILCONFIG::clearedAccountIsStoredAsNull()
{
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormUi &ui = m_form->context().ui;
    ui.TXT_CONTODARE->lineEdit()->setText(QString());
    QVERIFY(ui.TXT_CONTODARE->commit());
    ui.TXT_TESTOPARAMETRICO->setText(QString());
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Conferma")));
    QCOMPARE(scalar("SELECT COUNT(*) FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1"
                    " AND CGP7_CONTODARE_CG24 IS NULL AND CGP7_TESTORIGA IS NULL")
                 .toInt(),
             1);
    QCOMPARE(scalar("SELECT CGP7_GRUPPO_CG10 FROM CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 300 AND CGP7_DITTA_CG18 = 1")
                 .toInt(),
             1);
}

void tst_FRMCG_DUEBILCONFIG::refusedCodesKeepTheFieldAndTheRow_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<int>>("messages");
    QTest::newRow("unknown account") << "TXT_CONTODARE" << "999999" << QList<int>{15793};
    QTest::newRow("ledger causal with a VAT register") << "TXT_CAUSALECOGE" << "FTV" << QList<int>{63441};
    QTest::newRow("ledger causal that closes no item") << "TXT_CAUSALECOGE" << "GIR" << QList<int>{85464};
    QTest::newRow("reserved section") << "TXT_SEZIONALEACCONTI" << "RP" << QList<int>{61665};
    QTest::newRow("missing section") << "TXT_SEZIONALEACCONTI" << "ZZ" << QList<int>{61656};
    QTest::newRow("withholding causal as extraction causal") << "TXT_CAUSALECOMPCLI" << "150" << QList<int>{};
}

void tst_FRMCG_DUEBILCONFIG::refusedCodesKeepTheFieldAndTheRow()
{
    QFETCH(QString, field);
    QFETCH(QString, value);
    QFETCH(QList<int>, messages);
    QVERIFY(open());
    show(field == QLatin1String("TXT_CAUSALECOMPCLI") ? QStringLiteral("320") : QStringLiteral("300"));
    m_messages->clear();
    auto *control = m_form->findChild<TextField *>(field);
    QVERIFY(control);
    const QString column = control->dataField();
    const ado::RecordsetPtr rs = m_form->context().FME_PARAMPERSREG->recordset();
    const ado::RecordsetPtr ditta = m_form->context().FME_PARAMETRIDITTA->recordset();
    const ado::RecordsetPtr owner = rs->hasField(column) ? rs : ditta;
    const QVariant stored = owner->value(column);
    control->lineEdit()->setText(value);
    QVERIFY2(!control->commit(), "the code was accepted");
    QCOMPARE(messageIds(), messages);
    QCOMPARE(owner->value(column).toString(), stored.toString());
}

// The list of users offers the active ones; the chosen one is shown by its user name and its
// id goes into the row, and the group field closes as for a typed user.
void tst_FRMCG_DUEBILCONFIG::lookupListGivesTheChosenItem()
{
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormContext &ctx = m_form->context();
    FormUi &ui = ctx.ui;
    QVERIFY(ui.GRIDNAVREVOKE->press(QStringLiteral("Nuovo")));
    int inactive = -1;
    bool chosen = false;
    // The list is modal: it is answered from inside its own loop, as the user's click would.
    std::function<void()> answer = [&] {
        auto *list = qobject_cast<LookupDialog *>(QApplication::activeModalWidget());
        if (!list) {
            QTimer::singleShot(10, answer);
            return;
        }
        list->setSearch(QStringLiteral("GVERDI"));
        inactive = list->rowCount();
        list->setSearch(QStringLiteral("LBIANCHI"));
        chosen = list->rowCount() == 1 && list->chooseRow(0);
        chosen ? list->accept() : list->reject();
    };
    QTimer::singleShot(0, answer);
    ui.TXT_UTENTE->lookup();
    QCOMPARE(inactive, 0);
    QVERIFY(chosen);
    QCOMPARE(ui.TXT_UTENTE->Text(), QStringLiteral("LBIANCHI"));
    QCOMPARE(ui.LBL_DESCRUTENTE->text(), QStringLiteral("Laura Bianchi"));
    QVERIFY(!ui.TXT_GRUPPO->isEnabled());
    QCOMPARE(ctx.FME_UTENTI->recordset()->value(QStringLiteral("CGP8_ID_FW07")).toInt(), 3);
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Conferma")));
    QCOMPARE(scalar("SELECT GROUP_CONCAT(CGP8_ID_FW07) FROM (SELECT CGP8_ID_FW07 FROM CGP8_DUEBILREVOKE"
                    " WHERE CGP8_CAUSALE_CGP0 = 300 ORDER BY CGP8_ID_FW07)").toString(),
             QStringLiteral("3,4"));
}

void tst_FRMCG_DUEBILCONFIG::legendValueIsInsertedAtTheCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("type");       // operation type chosen first, empty: as stored
    QTest::addColumn<QString>("expected");   // on screen, in the row and, after Conferma, in CGP7_TESTORIGA
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<int>("message");        // 0: inserted without a word
    const QString words = QString(235, QLatin1Char('x'));
    const QString fits = QString(229, QLatin1Char('y'));
    QTest::newRow("<T> appended without a blank") << "Incasso" << 0 << "<T>" << "" << "Incasso<T>" << 0 << 0;
    QTest::newRow("other value appended after a blank") << "Incasso" << 0 << "[NUMDOC]" << "" << "Incasso [NUMDOC]" << 0 << 0;
    QTest::newRow("empty field gets a leading blank") << "" << 0 << "[NUMDOC]" << "" << " [NUMDOC]" << 0 << 0;
    QTest::newRow("inserted at the caret") << "0123456789" << 4 << "abc" << "" << "0123abc456789" << 7 << 0;
    QTest::newRow("appended up to the last character") << fits << 0 << "[DATASCAD]" << "" << fits + " [DATASCAD]" << 0 << 0;
    QTest::newRow("append that does not fit is refused")
        << words << 0 << "[DATASCAD]" << "" << words << 0 << MessageId::LegendTooLong;
    QTest::newRow("insert that does not fit keeps the user's words")
        << words << 10 << "[DATASCAD]" << "" << words << 10 << MessageId::LegendTooLong;
    QTest::newRow("locked text of a causal without posting")
        << "Incasso" << 0 << "[NUMDOC]" << "8" << "" << 0 << MessageId::LegendFieldLocked;
}

// The legend puts its placeholder into the text where the caret stands, whole or not at all:
// what does not fit, or a text the causal's type locks, is left as it was and the user told.
void tst_FRMCG_DUEBILCONFIG::legendValueIsInsertedAtTheCaret()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(QString, value);
    QFETCH(QString, type);
    QFETCH(QString, expected);
    QFETCH(int, caretAfter);
    QFETCH(int, message);
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormContext &ctx = m_form->context();
    ctx.ui.TXT_TESTOPARAMETRICO->setText(text);
    if (!type.isEmpty()) {
        ctx.ui.CBO_TIPOOPERAZIONE->setText(type);
        emit ctx.ui.CBO_TIPOOPERAZIONE->AfterChange();
        QVERIFY(!ctx.ui.TXT_TESTOPARAMETRICO->isEnabled());
    }
    ctx.ui.TXT_TESTOPARAMETRICO->setSelStart(caret);
    short row = 0;
    QString description;
    QVERIFY(ctx.Gcls_TestiParametrizzabili);
    m_messages->clear();
    emit ctx.Gcls_TestiParametrizzabili->DoubleClick(&row, &value, &description);
    QCOMPARE(messageIds(), message ? QList<int>{message} : QList<int>{});
    if (message) {
        const QString shown = m_messages->calls().constFirst().message.text;
        QVERIFY2(shown.contains(QStringLiteral("\"Testo riga parametrizzabile\"")) && shown.contains(value), qPrintable(shown));
    }
    QCOMPARE(ctx.ui.TXT_TESTOPARAMETRICO->Text(), expected);
    QCOMPARE(ctx.ui.TXT_TESTOPARAMETRICO->SelStart(), caretAfter);
    if (message == MessageId::LegendTooLong)
        QCOMPARE(ctx.ui.TAB_CONFIG->Tab(), 1);
    // A text the type locks keeps its stored row until the next save: the legend never reaches it.
    const QString storedText = ctx.FME_PARAMPERSREG->recordset()->value(QStringLiteral("CGP7_TESTORIGA")).toString();
    if (!type.isEmpty()) {
        QVERIFY2(!storedText.contains(value), qPrintable(storedText));
        return;
    }
    QCOMPARE(storedText, expected);
    QVERIFY(ctx.ui.INTERNAV->press(QStringLiteral("Conferma")));
    QCOMPARE(scalar("SELECT IFNULL(CGP7_TESTORIGA, '') FROM CGP7_DUEBILPERSREG WHERE CGP7_DITTA_CG18 = 1"
                    " AND CGP7_CAUSALE_CGP0 = 300").toString(), expected);
}

void tst_FRMCG_DUEBILCONFIG::framesAreSetUpAsTheHostExpects()
{
    QVERIFY(open());
    FormContext &ctx = m_form->context();
    const QList<QPair<DataFrame *, QString>> keys = {
        {ctx.FME_CAUSALI.get(), "CGP0_CODICE"},         {ctx.FME_LAYOUT.get(), "CGP3_CAUSALE_CGP0"},
        {ctx.FME_FILTRI.get(), "CGP4_IDCHECK_CGP2"},    {ctx.FME_PARAMETRI.get(), "CGP5_CAUSALE_CGP0"},
        {ctx.FME_PARAMETRIDITTA.get(), " CGP6_CAUSALE_CGP0"}, {ctx.FME_PARAMPERSREG.get(), " CGP7_CAUSALE_CGP0"},
        {ctx.FME_UTENTI.get(), "ID"}};
    for (const auto &k : keys)
        QCOMPARE(k.first->keyColumn(), k.second);
    // Every other frame is a child of the causal's: saved, undone and deleted with it.
    for (const auto &k : keys.mid(1))
        QVERIFY2(ctx.FME_CAUSALI->children().contains(k.first), qPrintable(k.second));
    QVERIFY(ctx.ui.INTERNAV->hasCommand(QStringLiteral("Duplica")));
    QVERIFY(!ctx.ui.INTERNAV->isCommandEnabled(QStringLiteral("Duplica")));
    QCOMPARE(ctx.FME_CAUSALI->Status(), int(DataFrame::StatusQuery));
}

void tst_FRMCG_DUEBILCONFIG::calledModeShowsTheGivenCausal_data()
{
    QTest::addColumn<QString>("external");
    QTest::addColumn<QString>("shown");
    QTest::newRow("with a causal") << "310" << "310";
    QTest::newRow("without a causal") << "" << "";
    // The field's filter and length would make them 310: they open no causal.
    QTest::newRow("four digits") << "3100" << "";
    QTest::newRow("a letter among the digits") << "3x10" << "";
    QTest::newRow("other script's digits") << QStringLiteral("\u0663\u0661\u0660") << "";
}

void tst_FRMCG_DUEBILCONFIG::calledModeShowsTheGivenCausal()
{
    QFETCH(QString, external);
    QFETCH(QString, shown);
    m_global->setUserName(QStringLiteral("MROSSI"));
    m_cls = std::make_unique<CLSCG_DUEBILCONFIG>(std::make_shared<FRMCG_DUEBILCONFIGFactory>());
    m_cls->setClsGlobal(m_global.get());
    m_cls->setActiveNavigator(m_navigator.get());
    m_cls->setIsCalled(true);
    m_cls->setCausaleEsterna(external);
    m_cls->ShowForm();
    m_form = dynamic_cast<FRMCG_DUEBILCONFIG *>(m_cls->form());
    QVERIFY(m_form);
    QVERIFY(QTest::qWaitFor([this] { return m_form->isActivated(); }, 5000));
    FormContext &ctx = m_form->context();
    QCOMPARE(ctx.causalCode(), shown);
    QCOMPARE(ctx.FME_CAUSALI->Status(), int(shown.isEmpty() ? DataFrame::StatusQuery : DataFrame::StatusRecord));
    QCOMPARE(ctx.ui.INTERNAV->calledMode(), !external.isEmpty());
    QVERIFY(rowsOfAnotherCausal(ctx).isEmpty());
}

void tst_FRMCG_DUEBILCONFIG::refusedCloseKeepsTheWindow()
{
    QVERIFY(open());
    show(QStringLiteral("300"));
    m_form->context().ui.TXT_DESCRIZIONE->setText(QStringLiteral("Descrizione non salvata"));
    m_messages->enqueueAnswer(MsgAnswer::Cancel);
    QCOMPARE(m_cls->CloseForm(), QVariant(false));
    QVERIFY(m_cls->form());
    QCOMPARE(m_form->context().ui.TXT_DESCRIZIONE->Text(), QStringLiteral("Descrizione non salvata"));
    // Answering No closes without saving.
    m_messages->enqueueAnswer(MsgAnswer::No);
    QCOMPARE(m_cls->CloseForm(), QVariant(true));
    m_cls.reset();
    QVERIFY(scalar("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300").toString()
            != QLatin1String("Descrizione non salvata"));
}

void tst_FRMCG_DUEBILCONFIG::unreachableDatabaseIsRetriedAtTheNextActivation()
{
    const QString good = m_db->connectionString();
    m_global->setConnectionString(QStringLiteral("sqlite:/nonexistent-folder/missing.db"));
    QVERIFY(!open(QStringLiteral("MROSSI"), 300));
    QVERIFY(m_form);
    QVERIFY(!m_form->isActivated());
    bool reported = false;
    for (const RecordingMessageService::Call &call : m_messages->calls())
        reported = reported || call.kind == Kind::Error;
    QVERIFY2(reported, "no error was shown");
    m_global->setConnectionString(good);
    m_form->Form_Activate();
    QVERIFY(m_form->isActivated());
}

void tst_FRMCG_DUEBILCONFIG::missingTextShowsItsId()
{
    QVERIFY(open());
    FormContext &ctx = m_form->context();
    QCOMPARE(ctx.t(123456789), QStringLiteral("123456789"));
    QCOMPARE(ctx.t(FormText::TabGenerale), QStringLiteral("&Generale"));
    QCOMPARE(ctx.translator.Traduci_CGP2_DESCRIZIONE(999), QString());
}

// A node dragged from the tree and dropped on the grid: the drag starts with a press on the
// node, the events reach the grid as the platform delivers them, and the outcome is Sel's.
void tst_FRMCG_DUEBILCONFIG::fieldDraggedOntoTheGridIsAddedAsSelAddsIt_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("message");
    QTest::newRow("a field not in the layout is added last") << "CG44_SCADENZE.CG44_NUMPARTITA" << 0;
    QTest::newRow("a field stored in the layout is refused") << "CG44_SCADENZE.CG44_DATASCADENZA" << 63435;
    QTest::newRow("a heading is refused") << "Storico" << 63434;
}

void tst_FRMCG_DUEBILCONFIG::fieldDraggedOntoTheGridIsAddedAsSelAddsIt()
{
    QFETCH(QString, key);
    QFETCH(int, message);
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormContext &ctx = m_form->context();
    ctx.ui.TAB_CONFIG->setTab(3);
    const int rows = ctx.FME_LAYOUT->recordset()->RecordCount();
    QTreeWidget *tree = ctx.ui.TVCAMPI->tree();
    QTreeWidgetItem *node = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it && !node; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            node = *it;
    }
    QVERIFY(node);
    for (QTreeWidgetItem *p = node->parent(); p; p = p->parent())
        p->setExpanded(true);
    tree->scrollToItem(node);
    QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    QCOMPARE(ctx.ui.TVCAMPI->selectedKey(), key);
    std::unique_ptr<QMimeData> mime(tree->model()->mimeData(tree->selectionModel()->selectedIndexes()));
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
    QVERIFY(mime);

    QWidget *target = ctx.ui.QGRID_LAYOUT->findChild<QTableWidget *>()->viewport();
    const QPoint at = target->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDragMoveEvent move(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QDropEvent drop(at, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());

    const ado::RecordsetPtr layout = ctx.FME_LAYOUT->recordset();
    QCOMPARE(messageIds(), message ? QList<int>{message} : QList<int>{});
    QCOMPARE(layout->RecordCount(), message ? rows : rows + 1);
    QCOMPARE(ctx.ui.QGRID_LAYOUT->rowCount(), layout->RecordCount());
    if (!message)
        QCOMPARE(layout->value(QStringLiteral("CGP1_FIELD")).toString(), key);
}

void tst_FRMCG_DUEBILCONFIG::causalLevelChecksUnlockOnlyOnRequest()
{
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormUi &ui = m_form->context().ui;
    // The checks of the movement's state, the operation and the presentation are the causal's.
    const QList<int> causalLevel = {1, 2, 8, 9, 10, 11, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24};
    const auto enabled = [&] {
        QList<int> ids;
        for (int id : causalLevel)
            if (ui.CHK_FILTER[id]->isEnabled())
                ids << id;
        return ids;
    };
    QCOMPARE(enabled(), QList<int>());
    m_messages->enqueueAnswer(MsgAnswer::No);
    emit ui.CMD_MODIFICACHECKCAUSALE->ButtonClick();
    QCOMPARE(enabled(), QList<int>());
    m_messages->enqueueAnswer(MsgAnswer::Yes);
    emit ui.CMD_MODIFICACHECKCAUSALE->ButtonClick();
    QCOMPARE(enabled(), causalLevel);
    QVERIFY(!ui.CMD_MODIFICACHECKCAUSALE->isEnabled());
}

void tst_FRMCG_DUEBILCONFIG::currencyWithWithholdingIsNotSaved()
{
    QVERIFY(open(QStringLiteral("VELTO")));
    show(QStringLiteral("310"));
    FormUi &ui = m_form->context().ui;
    // Currency due dates are offered only with the maximum amount asked in mode 0.
    ui.CBO_MODIMPMAX->setText(QStringLiteral("0"));
    ui.CHK_GESTVALUTE->setEnabled(true);
    ui.CHK_GESTVALUTE->setText(QStringLiteral("1"));
    ui.CHK_FILTER[30]->setEnabled(true);
    ui.CHK_FILTER[30]->setText(QStringLiteral("1"));
    emit ui.CHK_FILTER[30]->Click();
    m_messages->clear();
    QVERIFY(!ui.INTERNAV->press(QStringLiteral("Conferma")));
    QVERIFY(messageIds().contains(85466));
    QCOMPARE(scalar("SELECT CGP6_INDPAGVALUTA FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 310 AND CGP6_DITTA_CG18 = 1")
                 .toInt(),
             0);
}

// Closing and compensating items withhold nothing: their save clears the withholding check,
// on screen and stored; the other types keep it.
void tst_FRMCG_DUEBILCONFIG::closingTypesSaveWithoutWithholding_data()
{
    QTest::addColumn<QString>("causal");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("stored");
    QTest::newRow("collections keep it") << QStringLiteral("300") << QStringLiteral("1") << QStringLiteral("1");
    QTest::newRow("closing clears it") << QStringLiteral("300") << QStringLiteral("3") << QStringLiteral("0");
    QTest::newRow("compensation clears it") << QStringLiteral("320") << QStringLiteral("6") << QStringLiteral("0");
}

void tst_FRMCG_DUEBILCONFIG::closingTypesSaveWithoutWithholding()
{
    QFETCH(QString, causal);
    QFETCH(QString, type);
    QFETCH(QString, stored);
    execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = %1 WHERE CGP5_CAUSALE_CGP0 = %2").arg(type, causal));
    const QString check30 = QStringLiteral(" WHERE CGP4_CAUSALE_CGP0 = %1 AND CGP4_IDCHECK_CGP2 = 30").arg(causal);
    execute(QStringLiteral("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1") + check30);
    QVERIFY(open(QStringLiteral("VELTO")));
    show(causal);
    FormUi &ui = m_form->context().ui;
    QCOMPARE(ui.CHK_FILTER[30]->Text(), QStringLiteral("1"));
    ui.TXT_DESCRIZIONE->setText(QStringLiteral("Rivista"));
    QVERIFY(confirm());
    QCOMPARE(scalar(QStringLiteral("SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI") + check30).toString(), stored);
    QCOMPARE(ui.CHK_FILTER[30]->Text(), stored);
}

void tst_FRMCG_DUEBILCONFIG::catalogueOutOfStepNeverBreaksTheChecks()
{
    {
        auto c = std::make_shared<ado::Connection>();
        c->Open(m_db->connectionString());
        c->Execute("DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 5");
        c->Execute("INSERT INTO CGP2_DUEBILCHECK (CGP2_ID, CGP2_TIPOFILTRO, CGP2_DESCRIZIONE) VALUES (33, 'TIPOMOVIMENTO', 'In piu')");
    }
    QVERIFY(open());
    // The start-up completed the missing row and the row of the new check.
    QCOMPARE(scalar("SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300").toInt(), 33);
    show(QStringLiteral("300"));
    FormUi &ui = m_form->context().ui;
    QCOMPARE(ui.CHK_FILTER.size(), 33);  // elements 1 to 32: no box for check 33
    QVERIFY(!ui.CHK_FILTER[5]->isHidden());
    QVERIFY2(m_messages->calls().isEmpty(), "an error was shown");
}

void tst_FRMCG_DUEBILCONFIG::undoKeepsTheCausalOnDisplay()
{
    QVERIFY(open());
    show(QStringLiteral("310"));
    FormContext &ctx = m_form->context();
    FormUi &ui = ctx.ui;
    CausalRows rows(m_db->connectionString());
    const QMap<int, QStringList> before = rows.read();

    ui.TXT_DESCRIZIONE->setText(QStringLiteral("Da annullare"));
    ui.QGRID_LAYOUT->doubleClickCell(0, QStringLiteral("CGP3_SORTTYPE"));
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Annulla")));
    QCOMPARE(ctx.causalCode(), QStringLiteral("310"));
    QCOMPARE(ui.TXT_DESCRIZIONE->Text(),
             scalar("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 310").toString());
    QCOMPARE(rowsOfAnotherCausal(ctx), QStringList());

    // The next change is saved under the causal on display, and only there.
    ui.TXT_DESCRIZIONE->setText(QStringLiteral("Bonifici fornitori"));
    ui.QGRID_LAYOUT->doubleClickCell(0, QStringLiteral("CGP3_SORTTYPE"));
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Conferma")));
    QCOMPARE(CausalRows::changed(before, rows.read()), QSet<int>{310});
    QCOMPARE(scalar("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 310").toString(),
             QStringLiteral("Bonifici fornitori"));
}

void tst_FRMCG_DUEBILCONFIG::movingAfterTheSaveQuestionStartsFromTheCausalShown_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("shown");
    QTest::newRow("No, next") << "Successivo" << int(MsgAnswer::No) << "320";
    QTest::newRow("No, previous") << "Precedente" << int(MsgAnswer::No) << "300";
    QTest::newRow("Annulla, next") << "Successivo" << int(MsgAnswer::Cancel) << "310";
    QTest::newRow("Annulla, previous") << "Precedente" << int(MsgAnswer::Cancel) << "310";
}

void tst_FRMCG_DUEBILCONFIG::movingAfterTheSaveQuestionStartsFromTheCausalShown()
{
    QFETCH(QString, button);
    QFETCH(int, answer);
    QFETCH(QString, shown);
    QVERIFY(open());
    show(QStringLiteral("310"));
    FormContext &ctx = m_form->context();
    CausalRows rows(m_db->connectionString());
    const QMap<int, QStringList> before = rows.read();
    ctx.ui.TXT_DESCRIZIONE->setText(QStringLiteral("Non salvata"));
    m_messages->clear();
    m_messages->enqueueAnswer(answer);
    QTest::mouseClick(ctx.ui.INTERNAV->button(button), Qt::LeftButton);
    QCOMPARE(messageIds(), QList<int>{FormText::AskSave});
    QCOMPARE(ctx.causalCode(), shown);
    QCOMPARE(ctx.ui.TXT_DESCRIZIONE->Text() == QLatin1String("Non salvata"), answer == MsgAnswer::Cancel);
    QCOMPARE(rowsOfAnotherCausal(ctx), QStringList());
    QCOMPARE(CausalRows::changed(before, rows.read()), QSet<int>());
}

void tst_FRMCG_DUEBILCONFIG::deleteActsOnlyOnTheCausalShownAndAsksFirst_data()
{
    QTest::addColumn<QString>("before");  // what the user did first: open, show a causal, Nuovo
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("just opened") << "open" << int(MsgAnswer::Yes) << false;
    QTest::newRow("after Nuovo") << "nuovo" << int(MsgAnswer::Yes) << false;
    QTest::newRow("causal shown, No") << "show" << int(MsgAnswer::No) << false;
    QTest::newRow("causal shown, Sì") << "show" << int(MsgAnswer::Yes) << true;
}

void tst_FRMCG_DUEBILCONFIG::deleteActsOnlyOnTheCausalShownAndAsksFirst()
{
    QFETCH(QString, before);
    QFETCH(int, answer);
    QFETCH(bool, deleted);
    QVERIFY(open());
    FormContext &ctx = m_form->context();
    if (before != QLatin1String("open"))
        show(QStringLiteral("320"));
    if (before == QLatin1String("nuovo")) {
        m_messages->enqueueAnswer(MsgAnswer::No);  // the save question, when showing it changed a row
        QVERIFY(ctx.ui.INTERNAV->press(QStringLiteral("Nuovo")));
    }
    CausalRows rows(m_db->connectionString());
    const QMap<int, QStringList> stored = rows.read();
    m_messages->clear();
    // 320 is no compensation causal: only the question can keep it.
    m_messages->enqueueAnswer(answer);
    QTest::mouseClick(ctx.ui.INTERNAV->button(QStringLiteral("Elimina")), Qt::LeftButton);
    const QMap<int, QStringList> after = rows.read();
    QCOMPARE(CausalRows::changed(stored, after), deleted ? QSet<int>{320} : QSet<int>());
    QVERIFY(!deleted || !after.contains(320));
    QCOMPARE(rows.incomplete(1), QStringList());
    if (before == QLatin1String("show")) {
        QCOMPARE(m_messages->calls().size(), 1);
        const MessageRequest question = m_messages->calls().first().message;
        QCOMPARE(question.textId, int(FormText::AskDelete));
        QCOMPARE(question.params, (QStringList{"320", "Compensazione clienti/fornitori"}));
    } else {
        QCOMPARE(m_messages->calls().size(), 0);
    }
}

void tst_FRMCG_DUEBILCONFIG::startUpErrorsLeaveAWindowThatCloses_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("answer");
    QTest::newRow("unreachable database, Ignora") << "connection" << int(ErrorTrap::Resume);
    QTest::newRow("unreachable database, Abbandona") << "connection" << int(ErrorTrap::Leave);
    QTest::newRow("causal table missing, Ignora") << "table" << int(ErrorTrap::Resume);
    QTest::newRow("causal table missing, Abbandona") << "table" << int(ErrorTrap::Leave);
}

void tst_FRMCG_DUEBILCONFIG::startUpErrorsLeaveAWindowThatCloses()
{
    QFETCH(QString, fault);
    QFETCH(int, answer);
    if (fault == QLatin1String("connection")) {
        m_global->setConnectionString(QStringLiteral("sqlite:/nonexistent-folder/missing.db"));
    } else {
        auto c = std::make_shared<ado::Connection>();
        c->Open(m_db->connectionString());
        c->Execute("DROP TABLE CGP0_DUEBILCAUSALI");
    }
    m_messages->setDefaultErrorAnswer(answer);
    open(QStringLiteral("MROSSI"), 1500);
    QVERIFY(m_form);
    QVERIFY2(!m_messages->callsOf(Kind::Error).isEmpty(), "the fault was not reported");
    // The window takes a user's hands without crashing and closes.
    FormUi &ui = m_form->context().ui;
    ui.TXT_CAUSALE->lineEdit()->setText(QStringLiteral("300"));
    ui.TXT_CAUSALE->commit();
    for (const char *key : {"Successivo", "Elimina", "Annulla", "Conferma", "Nuovo", "Duplica"})
        ui.INTERNAV->press(QLatin1String(key));
    m_form->Form_Activate();
    QCOMPARE(m_cls->CloseForm(), QVariant(true));
    m_cls.reset();
}

void tst_FRMCG_DUEBILCONFIG::twoRefusedCodeFieldsKeepTheFocusWithoutLooping()
{
    QVERIFY(open());
    show(QStringLiteral("300"));
    QVERIFY(QTest::qWaitForWindowActive(m_area.get()));
    FormUi &ui = m_form->context().ui;
    ui.TAB_CONFIG->setTab(1);
    const ado::RecordsetPtr rs = m_form->context().FME_PARAMPERSREG->recordset();
    const QString causale = rs->value(QStringLiteral("CGP7_CAUSALECOGE_CG33")).toString();
    const QString dare = rs->value(QStringLiteral("CGP7_CONTODARE_CG24")).toString();

    QTest::mouseClick(ui.TXT_CAUSALECOGE->lineEdit(), Qt::LeftButton);
    QTest::keyClick(ui.TXT_CAUSALECOGE->lineEdit(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(ui.TXT_CAUSALECOGE->lineEdit(), QStringLiteral("ZZ"));
    // The second field gets a refused code too, put in while the first keeps its own.
    ui.TXT_CONTODARE->lineEdit()->setText(QStringLiteral("99"));
    m_messages->clear();
    QTest::mouseClick(ui.TXT_CONTODARE->lineEdit(), Qt::LeftButton);
    QTest::keyClick(ui.TXT_CONTODARE->lineEdit(), Qt::Key_Tab);
    QVERIFY(ui.TXT_CAUSALECOGE->lineEdit()->hasFocus());
    QCOMPARE(rs->value(QStringLiteral("CGP7_CAUSALECOGE_CG33")).toString(), causale);
    QCOMPARE(rs->value(QStringLiteral("CGP7_CONTODARE_CG24")).toString(), dare);
    QVERIFY2(m_messages->calls().size() < 10, "the fields took the focus from each other");
    // The refused code stays shown for the user to correct.
    QCOMPARE(ui.TXT_CAUSALECOGE->Text(), QStringLiteral("ZZ"));
}

void tst_FRMCG_DUEBILCONFIG::theHostIsToldOnceThatTheWindowCloses()
{
    QVERIFY(open());
    QSignalSpy closing(m_global.get(), &ClsGlobal::windowClosing);
    Cinterface *contract = m_cls.get();
    QCOMPARE(m_cls->CloseForm(), QVariant(true));
    QCOMPARE(closing.size(), 1);
    QCOMPARE(closing.first().first().value<Cinterface *>(), contract);
    QCOMPARE(m_global->activeWindow(), nullptr);
}

void tst_FRMCG_DUEBILCONFIG::codeFieldTakesOnlyTheDigitsZeroToNine_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("ASCII digits") << "310" << "310";
    QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0663\u0661\u0660") << "";
    QTest::newRow("full-width digits") << QStringLiteral("\uFF13\uFF11\uFF10") << "";
    QTest::newRow("mixed") << QStringLiteral("3\u0661\uFF100") << "30";
    QTest::newRow("letters and signs") << "3a-1" << "31";
}

void tst_FRMCG_DUEBILCONFIG::codeFieldTakesOnlyTheDigitsZeroToNine()
{
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QVERIFY(open());
    FormUi &ui = m_form->context().ui;
    // Key by key, as a keyboard of another script sends them.
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, ui.TXT_CAUSALE->lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(ui.TXT_CAUSALE->Text(), kept);
    QTest::keyClick(ui.TXT_CAUSALE->lineEdit(), Qt::Key_Return);
    QCOMPARE(m_form->context().FME_CAUSALI->Status(),
             int(kept == QLatin1String("310") ? DataFrame::StatusRecord : DataFrame::StatusQuery));
    QVERIFY(m_messages->callsOf(Kind::Error).isEmpty());
}

void tst_FRMCG_DUEBILCONFIG::dueDateSelectionIsSavedForTheCausalShown()
{
    QVERIFY(open());
    show(QStringLiteral("300"));
    FormContext &ctx = m_form->context();
    CausalRows rows(m_db->connectionString());
    const QMap<int, QStringList> before = rows.read();
    // Reached by the navigator, not typed: the selection ticked is the one of 310.
    m_messages->enqueueAnswer(MsgAnswer::No);
    ctx.ui.INTERNAV->button(QStringLiteral("Successivo"))->click();
    QCOMPARE(ctx.causalCode(), QStringLiteral("310"));
    QListWidget *list = ctx.ui.KVS_SELSCADENZE->findChild<QListWidget *>();
    QVERIFY(list);
    QListWidgetItem *item = list->item(2);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    m_messages->setDefaultAnswer(MsgAnswer::Yes);
    ctx.ui.INTERNAV->button(QStringLiteral("Conferma"))->click();
    QCOMPARE(CausalRows::changed(before, rows.read()), QSet<int>{310});
}

void tst_FRMCG_DUEBILCONFIG::closingWithAHalfTypedCodeValidatesNothing()
{
    QVERIFY(open());
    show(QStringLiteral("300"));
    QVERIFY(QTest::qWaitForWindowActive(m_area.get()));
    FormUi &ui = m_form->context().ui;
    ui.TAB_CONFIG->setTab(1);
    QTest::mouseClick(ui.TXT_CAUABBUONI->lineEdit(), Qt::LeftButton);
    QTest::keyClicks(ui.TXT_CAUABBUONI->lineEdit(), QStringLiteral("ZZ"));
    QVERIFY(ui.TXT_CAUABBUONI->lineEdit()->hasFocus());
    m_messages->clear();
    m_messages->setDefaultAnswer(MsgAnswer::No);
    QCOMPARE(m_cls->CloseForm(), QVariant(true));
    m_cls.reset();
    QVERIFY(m_messages->callsOf(Kind::Error).isEmpty());
    QVERIFY(!messageIds().contains(63441));
}

QTEST_MAIN(tst_FRMCG_DUEBILCONFIG)
#include "tst_frmcg_duebilconfig.moc"
