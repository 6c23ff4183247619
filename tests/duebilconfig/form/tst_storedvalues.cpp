#include "params/parametercontrols.h"
#include "store/messageids.h"
#include "support/windowfixture.h"
#include "causalrows.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>

using Kind = RecordingMessageService::Kind;

// What the window stores is what the user saw and chose: every bound control writes its
// column's own type, a stored value the lists do not offer stays, corrections follow only the
// user's change of their input, an undo restores the lists with the values, and a causal only
// looked at asks nothing and writes nothing.
class tst_StoredValues : public WindowFixture
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void everyBoundControlStoresItsColumnsType_data();
    void everyBoundControlStoresItsColumnsType();
    void everyBoundControlIsEdited();
    void numberWithoutDigitsIsRefused_data();
    void numberWithoutDigitsIsRefused();
    void withholdingPaymentModeIsKept();
    void storedTypeOutsideTheListIsShownAndKept_data();
    void storedTypeOutsideTheListIsShownAndKept();
    void undoRestoresTheListsOfTheRestoredType();
    void detailListFollowsARuleThatClearsCurrency();
    void causalOnlyLookedAtAsksNothingAndWritesNothing_data();
    void causalOnlyLookedAtAsksNothingAndWritesNothing();
    void correctionsOfStoredValuesGoWithTheNextSave();

private:
    FRMCG_DUEBILCONFIG *openWindow(const QString &user = QStringLiteral("MROSSI"));
    void edit(const QString &control, const QString &input);

    QStatusBar m_statusBar;
};

void tst_StoredValues::init()
{
    QVERIFY(setUpWindow());
    m_statusBar.clearMessage();
}

// The window with the host's status bar.
FRMCG_DUEBILCONFIG *tst_StoredValues::openWindow(const QString &user)
{
    FRMCG_DUEBILCONFIG *form = open(user);
    if (m_cls)
        m_cls->setStatusBar(&m_statusBar);
    return form;
}

void tst_StoredValues::cleanup()
{
    if (m_cls)
        m_messages->enqueueAnswer(MsgAnswer::No);
    tearDownWindow();
}

// Edits a control as its kind is edited: a list entry chosen, a box ticked (the input says
// nothing then), a code or text typed.
void tst_StoredValues::edit(const QString &control, const QString &input)
{
    QWidget *w = m_form->findChild<QWidget *>(control);
    QVERIFY2(w, qPrintable(control));
    for (int tab = 0; tab < 5; ++tab) {
        if (m_form->context().ui.tabPages[tab] && m_form->context().ui.tabPages[tab]->isAncestorOf(w))
            m_form->context().ui.TAB_CONFIG->setTab(tab);
    }
    QVERIFY2(w->isEnabled() && w->isVisible(), qPrintable(control + QStringLiteral(" out of reach")));
    if (auto *combo = qobject_cast<ComboField *>(w)) {
        choose(combo, input);
    } else if (auto *box = qobject_cast<CheckField *>(w)) {
        tick(box);
    } else if (auto *rich = qobject_cast<RichTextField *>(w)) {
        rich->editor()->setFocus();
        rich->editor()->selectAll();
        QTest::keyClick(rich->editor(), Qt::Key_Delete);
        QTest::keyClicks(rich->editor(), input);
        m_form->context().ui.TXT_MESI->lineEdit()->setFocus();
    } else if (auto *field = qobject_cast<TextField *>(w)) {
        type(field, input);
    } else {
        QFAIL(qPrintable(control + QStringLiteral(": no way to edit it")));
    }
}

namespace {

// The row of each table that the tests of one causal read, company 1.
QString rowOf(const QString &column, const QString &causal)
{
    const QString table = column.left(4);
    if (table == QLatin1String("CGP0"))
        return QStringLiteral(" FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = ") + causal;
    if (table == QLatin1String("CGP5"))
        return QStringLiteral(" FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = ") + causal;
    if (table == QLatin1String("CGP6"))
        return QStringLiteral(" FROM CGP6_DUEBILPARAMDITTA WHERE CGP6_DITTA_CG18 = 1 AND CGP6_CAUSALE_CGP0 = ") + causal;
    return QStringLiteral(" FROM CGP7_DUEBILPERSREG WHERE CGP7_DITTA_CG18 = 1 AND CGP7_CAUSALE_CGP0 = ") + causal;
}

const char *const WithholdingOn =
    "UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1 WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 30";
const char *const AdvancesOn =
    "UPDATE CGP5_DUEBILPARAM SET CGP5_INDRECUPERO = 0 WHERE CGP5_CAUSALE_CGP0 = 300;"
    "UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_INDACCONTI = 1 WHERE CGP6_CAUSALE_CGP0 = 300";

} // namespace

namespace {

struct Edit
{
    const char *name;
    const char *setup;     // statements run before the window opens
    const char *causal;
    const char *control;
    const char *input;
    const char *stored;    // the value read back, as text
    const char *type;      // its SQLite type
};

const char *const Type3 = "UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = 3 WHERE CGP5_CAUSALE_CGP0 = 300";
const char *const MaxZero = "UPDATE CGP5_DUEBILPARAM SET CGP5_INDIMPMASSIMO = 0 WHERE CGP5_CAUSALE_CGP0 = 300";
const char *const NoCustomers = "UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_CAUSALECOMPCLI_CGP0 = NULL WHERE CGP6_CAUSALE_CGP0 = 320";
const char *const NoSuppliers = "UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_CAUSALECOMPFOR_CGP0 = NULL WHERE CGP6_CAUSALE_CGP0 = 320";
const char *const RecoveryZero = "UPDATE CGP5_DUEBILPARAM SET CGP5_INDRECUPERO = 0 WHERE CGP5_CAUSALE_CGP0 = 300";

const QList<Edit> &edits()
{
    static const QList<Edit> list = {
        {"description", "", "300", "TXT_DESCRIZIONE", "Incasso d'oggi", "Incasso d'oggi", "text"},
        {"operation type", "", "300", "CBO_TIPOOPERAZIONE", "2", "2", "integer"},
        {"due-date kind", Type3, "300", "CBO_TIPOSCADENZA", "1", "1", "integer"},
        {"recovery mode", "", "300", "CBO_MODRECUPERO", "2", "2", "integer"},
        {"maximum-amount mode", "", "300", "CBO_MODIMPMAX", "2", "2", "integer"},
        {"due-amount mode", "", "300", "CBO_MODIMPSCAD", "2", "2", "integer"},
        {"settle request", "", "300", "CHK_INDGESTABBUONO", "", "0", "integer"},
        {"cheque printing", "", "310", "CHK_STAMPAASSEGNI", "", "0", "integer"},
        {"months", "", "300", "TXT_MESI", "14", "14", "integer"},
        {"months emptied", "", "300", "TXT_MESI", "", "", "null"},
        {"months, a separator refused", "", "300", "TXT_MESI", "1,5", "15", "integer"},
        {"tolerance with comma", Type3, "300", "TXT_DELTAIMPORTO", "12,5", "12.5", "real"},
        {"tolerance with point", Type3, "300", "TXT_DELTAIMPORTO", "7.25", "7.25", "real"},
        {"tolerance whole", Type3, "300", "TXT_DELTAIMPORTO", "3", "3", "integer"},
        {"tolerance negative", Type3, "300", "TXT_DELTAIMPORTO", "-0,5", "-0.5", "real"},
        {"net of forecasts", Type3, "300", "CHK_NETTOPREVISIONALI", "", "1", "integer"},
        {"remittance list", "", "300", "CHK_CREADISTINTA", "", "0", "integer"},
        {"advances", RecoveryZero, "300", "CHK_GESTIONEACCONTI", "", "1", "integer"},
        {"currency", MaxZero, "300", "CHK_GESTVALUTE", "", "1", "integer"},
        {"registration kind", "", "300", "CBO_TIPOREGISTRAZIONE", "2", "2", "integer"},
        {"header description", "", "300", "CHK_DESCRAGGTEST", "", "0", "integer"},
        {"accounts changeable", "", "310", "CHK_MODIFICACONTI", "", "0", "integer"},
        {"document number", "", "300", "CHK_NUMDATAORI", "", "0", "integer"},
        {"customers' causal", NoCustomers, "320", "TXT_CAUSALECOMPCLI", "300", "300", "integer"},
        {"suppliers' causal", NoSuppliers, "320", "TXT_CAUSALECOMPFOR", "310", "310", "integer"},
        {"preview mode", "", "300", "CBO_MODVISANTEPRIMA", "0", "0", "integer"},
        {"ledger causal", "", "300", "TXT_CAUSALECOGE", "INC", "INC", "text"},
        {"debit account", "", "300", "TXT_CONTODARE", "180102", "180102", "text"},
        {"debit account emptied", "", "300", "TXT_CONTODARE", "", "", "null"},
        {"credit account", Type3, "300", "TXT_CONTOAVERE", "180101", "180101", "text"},
        {"registration detail", "", "300", "CBO_DETTREG", "0", "0", "integer"},
        {"posting-line detail", "", "300", "CBO_DETTRIGACONT", "0", "0", "integer"},
        {"allowances causal emptied", "", "300", "TXT_CAUABBUONI", "", "", "null"},
        {"allowances granted", "", "300", "TXT_CONTOABBUONIATTIVI", "700102", "700102", "text"},
        {"allowances received emptied", "", "300", "TXT_CONTOABBUONIPASSIVI", "", "", "null"},
        {"line text", "", "300", "TXT_TESTOPARAMETRICO", "Incasso [NUMDOC]", "Incasso [NUMDOC]", "text"},
        {"withholding payment", WithholdingOn, "300", "CBO_GESTIONERITENUTE", "1", "1", "integer"},
        {"advances' payment terms", AdvancesOn, "300", "TXT_CODPAGACCONTI", "BB30", "BB30", "text"},
        {"advances' section", AdvancesOn, "300", "TXT_SEZIONALEACCONTI", "A2", "A2", "text"},
        {"counter-entry description", "", "310", "CBO_DESCRCONTRAUTO", "1", "1", "integer"},
    };
    return list;
}

} // namespace

void tst_StoredValues::everyBoundControlStoresItsColumnsType_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("causal");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("type");
    for (const Edit &e : edits()) {
        QTest::newRow(e.name) << QString::fromLatin1(e.setup) << QString::fromLatin1(e.causal)
                              << QString::fromLatin1(e.control) << QString::fromUtf8(e.input)
                              << QString::fromUtf8(e.stored) << QString::fromLatin1(e.type);
    }
}

void tst_StoredValues::everyBoundControlStoresItsColumnsType()
{
    QFETCH(QString, setup);
    QFETCH(QString, causal);
    QFETCH(QString, control);
    QFETCH(QString, input);
    QFETCH(QString, stored);
    QFETCH(QString, type);
    for (const QString &statement : setup.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        execute(statement);
    QVERIFY(openWindow());
    show(causal);
    edit(control, input);
    QVERIFY(confirm());
    // Another company's rows that the change leaves incomplete are only named, for later.
    QList<int> said = messageIds();
    said.removeAll(MessageId::OtherCompanyIncomplete);
    QCOMPARE(said, QList<int>{});

    const ParameterControls::Control *binding = ParameterControls::find(control);
    QVERIFY(binding);
    const QString column = QLatin1String(binding->column);
    QCOMPARE(scalar(QStringLiteral("SELECT typeof(") + column + QLatin1Char(')') + rowOf(column, causal)).toString(), type);
    QCOMPARE(scalar(QStringLiteral("SELECT ") + column + rowOf(column, causal)).toString(), stored);
    // After the save the screen shows what the column holds.
    const QString shown = FormContext::text(m_form->findChild<QWidget *>(control));
    QCOMPARE(ParameterControls::columnValue(binding->kind, shown).toString(), stored);
}

// The edits above reach every control the parameter and causal frames bind (the key excepted).
void tst_StoredValues::everyBoundControlIsEdited()
{
    QSet<QString> bound;
    for (const QList<ParameterControls::Control> *list : {&ParameterControls::causalHeader(), &ParameterControls::generalParameters(),
                                                           &ParameterControls::companyParameters(), &ParameterControls::postingParameters()}) {
        for (const ParameterControls::Control &c : *list)
            bound.insert(QLatin1String(c.name));
    }
    bound.remove(QStringLiteral("TXT_CAUSALE"));
    QSet<QString> edited;
    for (const Edit &e : edits())
        edited.insert(QLatin1String(e.control));
    QCOMPARE(bound - edited, QSet<QString>{});
}

void tst_StoredValues::numberWithoutDigitsIsRefused_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("input");
    QTest::newRow("months, a sign") << QString() << QStringLiteral("TXT_MESI") << QStringLiteral("-");
    QTest::newRow("tolerance, a sign") << QString::fromLatin1(Type3) << QStringLiteral("TXT_DELTAIMPORTO") << QStringLiteral("-");
    QTest::newRow("tolerance, a comma") << QString::fromLatin1(Type3) << QStringLiteral("TXT_DELTAIMPORTO") << QStringLiteral(",");
}

void tst_StoredValues::numberWithoutDigitsIsRefused()
{
    QFETCH(QString, setup);
    QFETCH(QString, control);
    QFETCH(QString, input);
    if (!setup.isEmpty())
        execute(setup);
    const QString column = QLatin1String(ParameterControls::find(control)->column);
    const QString read = QStringLiteral("SELECT ") + column + rowOf(column, QStringLiteral("300"));
    const QVariant before = scalar(read);
    QVERIFY(openWindow());
    show(QStringLiteral("300"));
    edit(control, input);
    m_form->context().ui.TAB_CONFIG->setTab(1);
    QVERIFY(!confirm());
    QCOMPARE(messageIds(), QList<int>{995271});
    auto *field = m_form->findChild<FieldControl *>(control);
    QCOMPARE(m_messages->calls().first().message.params.value(0), field->caption());
    QCOMPARE(m_form->context().ui.TAB_CONFIG->currentIndex(), 0);
    QVERIFY(field->isAncestorOf(QApplication::focusWidget()) || field == QApplication::focusWidget());
    QCOMPARE(scalar(read), before);
}

void tst_StoredValues::withholdingPaymentModeIsKept()
{
    QVERIFY(openWindow());
    show(QStringLiteral("300"));
    FormUi &ui = m_form->context().ui;
    edit(QStringLiteral("CHK_FILTER_30"), {});
    edit(QStringLiteral("CBO_GESTIONERITENUTE"), QStringLiteral("1"));
    QVERIFY(confirm());
    const QString mode = QStringLiteral("SELECT CGP7_INDPAGRITENUTE") + rowOf(QStringLiteral("CGP7"), QStringLiteral("300"));
    QCOMPARE(scalar(mode).toInt(), 1);

    QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
    show(QStringLiteral("300"));
    QCOMPARE(ui.CBO_GESTIONERITENUTE->Text(), QStringLiteral("1"));
    edit(QStringLiteral("TXT_MESI"), QStringLiteral("9"));
    QVERIFY(confirm());
    QCOMPARE(scalar(mode).toInt(), 1);
    QCOMPARE(ui.CBO_GESTIONERITENUTE->Text(), QStringLiteral("1"));
    QCOMPARE(messageIds(), QList<int>{});
}

void tst_StoredValues::storedTypeOutsideTheListIsShownAndKept_data()
{
    QTest::addColumn<QString>("user");
    QTest::newRow("a user who may not change it") << QStringLiteral("MROSSI");
    QTest::newRow("the system user") << QStringLiteral("VELTO");
}

void tst_StoredValues::storedTypeOutsideTheListIsShownAndKept()
{
    QFETCH(QString, user);
    execute(QStringLiteral("UPDATE FW95_SETTINGS SET FW95_VALORE = '1' WHERE FW95_CODICE = 'GEST_STATI_DISABLE'"));
    QVERIFY(openWindow(user));
    FormUi &ui = m_form->context().ui;
    QCOMPARE(ui.CBO_TIPOOPERAZIONE->comboBox()->findData(QStringLiteral("7")), -1);
    show(QStringLiteral("150"));
    QCOMPARE(ui.CBO_TIPOOPERAZIONE->Text(), QStringLiteral("7"));
    QCOMPARE(ui.CBO_TIPOOPERAZIONE->itemCaption(ui.CBO_TIPOOPERAZIONE->ListIndex()),
             m_global->text(38234));
    edit(QStringLiteral("TXT_MESI"), QStringLiteral("5"));
    QVERIFY(confirm());
    QCOMPARE(scalar(QStringLiteral("SELECT CGP5_TIPOCAUSALE FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 150")).toInt(), 7);
    QCOMPARE(ui.CBO_TIPOOPERAZIONE->Text(), QStringLiteral("7"));

    // Another causal's list offers the type no more.
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
    show(QStringLiteral("300"));
    QCOMPARE(ui.CBO_TIPOOPERAZIONE->comboBox()->findData(QStringLiteral("7")), -1);
}

void tst_StoredValues::undoRestoresTheListsOfTheRestoredType()
{
    execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_INDRECUPERO = 2 WHERE CGP5_CAUSALE_CGP0 = 310"));
    QVERIFY(openWindow());
    show(QStringLiteral("310"));
    FormUi &ui = m_form->context().ui;
    const QString caption = ui.LBL_TIPOSCADENZA->text();
    edit(QStringLiteral("CBO_TIPOOPERAZIONE"), QStringLiteral("6"));
    QCOMPARE(ui.CBO_MODRECUPERO->ListCount(), 2);
    QVERIFY(ui.TXT_CAUSALECOMPCLI->isVisibleTo(m_form));

    m_messages->enqueueAnswer(MsgAnswer::Yes);
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Annulla")));
    QCOMPARE(ui.CBO_TIPOOPERAZIONE->Text(), QStringLiteral("2"));
    QCOMPARE(ui.CBO_MODRECUPERO->ListCount(), 3);
    QCOMPARE(ui.CBO_MODRECUPERO->Text(), QStringLiteral("2"));
    QVERIFY(!ui.TXT_CAUSALECOMPCLI->isVisibleTo(m_form));
    QVERIFY(ui.CBO_TIPOSCADENZA->isVisibleTo(m_form));
    QCOMPARE(ui.LBL_TIPOSCADENZA->text(), caption);

    edit(QStringLiteral("TXT_MESI"), QStringLiteral("4"));
    QVERIFY(confirm());
    QCOMPARE(scalar(QStringLiteral("SELECT CGP5_INDRECUPERO FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 310")).toInt(), 2);
    QCOMPARE(scalar(QStringLiteral("SELECT CGP5_TIPOCAUSALE FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 310")).toInt(), 2);
}

void tst_StoredValues::detailListFollowsARuleThatClearsCurrency()
{
    execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_INDIMPMASSIMO = 0 WHERE CGP5_CAUSALE_CGP0 = 300"));
    QVERIFY(openWindow());
    show(QStringLiteral("300"));
    FormUi &ui = m_form->context().ui;
    edit(QStringLiteral("CHK_GESTVALUTE"), {});
    QCOMPARE(ui.CBO_DETTREG->ListCount(), 1);
    QCOMPARE(ui.CBO_DETTREG->Text(), QStringLiteral("2"));
    edit(QStringLiteral("CBO_MODIMPMAX"), QStringLiteral("1"));
    QCOMPARE(ui.CHK_GESTVALUTE->Text(), QStringLiteral("0"));
    QCOMPARE(ui.CBO_DETTREG->ListCount(), 3);
    QCOMPARE(ui.CBO_DETTREG->Text(), QStringLiteral("2"));
    QVERIFY(confirm());
    QCOMPARE(ui.CBO_DETTREG->ListCount(), 3);
    QCOMPARE(scalar(QStringLiteral("SELECT CGP6_INDPAGVALUTA") + rowOf(QStringLiteral("CGP6"), QStringLiteral("300"))).toInt(), 0);
    QCOMPARE(scalar(QStringLiteral("SELECT CGP7_INDDETTREGIST") + rowOf(QStringLiteral("CGP7"), QStringLiteral("300"))).toInt(), 2);
}

void tst_StoredValues::causalOnlyLookedAtAsksNothingAndWritesNothing_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("causal");
    QTest::addColumn<QStringList>("corrected");   // fields the status bar names
    QTest::newRow("compensation with accounts and withholding")
        << QStringLiteral("MROSSI") << QStringLiteral("320") << QStringList{QStringLiteral("Codice conto dare")};
    QTest::newRow("state management with a ledger causal")
        << QStringLiteral("VELTO") << QStringLiteral("150")
        << QStringList{QStringLiteral("Codice causale per registrazione Co.Ge.")};
    QTest::newRow("a causal that keeps its type's rules") << QStringLiteral("MROSSI") << QStringLiteral("310") << QStringList{};
}

void tst_StoredValues::causalOnlyLookedAtAsksNothingAndWritesNothing()
{
    QFETCH(QString, user);
    QFETCH(QString, causal);
    QFETCH(QStringList, corrected);
    execute(QStringLiteral("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1 WHERE CGP4_CAUSALE_CGP0 = 320 AND CGP4_IDCHECK_CGP2 = 30"));
    CausalRows rows(m_db->connectionString());
    const QMap<int, QStringList> before = rows.read();
    QVERIFY(openWindow(user));
    FormUi &ui = m_form->context().ui;
    // Shown after a causal of another type, and again after it.
    show(QStringLiteral("300"));
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
    show(causal);
    for (const QString &field : corrected)
        QVERIFY2(m_statusBar.currentMessage().contains(field), qPrintable(m_statusBar.currentMessage()));
    QCOMPARE(m_statusBar.currentMessage().isEmpty(), corrected.isEmpty());
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
    show(QStringLiteral("310"));
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Precedente")));
    QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
    QCOMPARE(messageIds(), QList<int>{});
    QCOMPARE(CausalRows::changed(before, rows.read()), QSet<int>{});
}

void tst_StoredValues::correctionsOfStoredValuesGoWithTheNextSave()
{
    QVERIFY(openWindow());
    show(QStringLiteral("320"));
    FormUi &ui = m_form->context().ui;
    QCOMPARE(ui.TXT_CONTODARE->Text(), QString());
    const QString history = QStringLiteral("SELECT COUNT(*) FROM CGPL_DUEBILSTORICO WHERE CGPL_CAUSALE_CGP0 = 320");
    QCOMPARE(scalar(history).toInt(), 0);
    edit(QStringLiteral("TXT_MESI"), QStringLiteral("7"));
    QVERIFY(confirm());
    QCOMPARE(messageIds(), QList<int>{});
    const QString row = rowOf(QStringLiteral("CGP7"), QStringLiteral("320"));
    QCOMPARE(scalar(QStringLiteral("SELECT typeof(CGP7_CONTODARE_CG24)") + row).toString(), QStringLiteral("null"));
    QCOMPARE(scalar(QStringLiteral("SELECT typeof(CGP7_CONTOAVERE_CG24)") + row).toString(), QStringLiteral("null"));
    QVERIFY(scalar(history).toInt() > 0);
    QCOMPARE(m_statusBar.currentMessage(), QStringLiteral("Causale 320 salvata."));
}

QTEST_MAIN(tst_StoredValues)
#include "tst_storedvalues.moc"
