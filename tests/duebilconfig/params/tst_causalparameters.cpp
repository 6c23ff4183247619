#include "causals/causaloperations.h"
#include "controls/lookupdialog.h"
#include "params/parametercontrols.h"
#include "store/messageids.h"
#include "support/casefile.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// Fixed for every user but the reserved one on a code below 300.
const QStringList reservedFixed = {"TXT_DESCRIZIONE", "CBO_TIPOOPERAZIONE", "CBO_TIPOSCADENZA", "CBO_MODRECUPERO",
                                   "CBO_MODIMPMAX", "CBO_MODIMPSCAD", "CHK_INDGESTABBUONO", "CHK_STAMPAASSEGNI",
                                   "CMD_CHECKCAUSALEDEFAULT"};

} // namespace

// The parameters of a causal edited in the window as a user edits them: entries chosen in the
// lists, boxes ticked with the keyboard, codes typed, the causal confirmed; what the screen
// shows and what the database holds afterwards.
class tst_CausalParameters : public WindowFixture
{
    Q_OBJECT

    // H hidden, D shown but not editable (itself, its frame or its tab disabled), M editable and
    // mandatory, E editable.
    QString state(const QString &control) const
    {
        const QWidget *w = m_form->findChild<QWidget *>(control);
        if (!w)
            return QStringLiteral("?");
        if (w->isHidden())
            return QStringLiteral("H");
        if (!w->isEnabled())
            return QStringLiteral("D");
        const auto *field = qobject_cast<const FieldControl *>(w);
        return field && field->isRequired() ? QStringLiteral("M") : QStringLiteral("E");
    }

private slots:
    void init()
    {
        QVERIFY(setUpWindow());
    }

    void cleanup()
    {
        // A causal left with changes is not saved on the way out.
        if (m_cls)
            m_messages->enqueueAnswer(MsgAnswer::No);
        tearDownWindow();
    }

    void rulesAfterLoadingAndAfterChoosing_data()
    {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("chosen");   // false: the causal is stored with the type and loaded
        for (bool chosen : {false, true}) {
            for (int tipo = 1; tipo <= 8; ++tipo) {
                const char *how = chosen ? "chosen" : "loaded";
                QTest::addRow("type %d, ordinary code, %s", tipo, how) << tipo << "300" << "MROSSI" << chosen;
                QTest::addRow("type %d, reserved code, reserved user, %s", tipo, how) << tipo << "150" << "VELTO" << chosen;
                // An ordinary user cannot choose the type of a reserved causal.
                if (!chosen)
                    QTest::addRow("type %d, reserved code, ordinary user, loaded", tipo) << tipo << "150" << "MROSSI" << false;
            }
        }
    }

    void rulesAfterLoadingAndAfterChoosing()
    {
        QFETCH(int, tipo);
        QFETCH(QString, code);
        QFETCH(QString, user);
        QFETCH(bool, chosen);
        const QString where = QStringLiteral(" = %1").arg(code);
        execute("UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = 1, CGP5_TIPOSCADENZA = 0, CGP5_INDRECUPERO = 0,"
                " CGP5_INDIMPMASSIMO = 0, CGP5_INDIMPSCADENZA = 1 WHERE CGP5_CAUSALE_CGP0" + where);
        execute("UPDATE CGP6_DUEBILPARAMDITTA SET CGP6_INDPAGVALUTA = 0, CGP6_INDACCONTI = 0 WHERE CGP6_CAUSALE_CGP0" + where);
        execute("UPDATE CGP7_DUEBILPERSREG SET CGP7_INDDETTREGIST = 1, CGP7_INDDETTRIGACONT = 0 WHERE CGP7_CAUSALE_CGP0" + where);
        execute("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 0 WHERE CGP4_IDCHECK_CGP2 = 30 AND CGP4_CAUSALE_CGP0" + where);
        if (!chosen) {
            execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = %1 WHERE CGP5_CAUSALE_CGP0").arg(tipo) + where);
            if (const std::optional<QString> column = CausalOperations::defaultColumn(operationTypeOf(tipo)))
                execute(QStringLiteral("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = (SELECT %1 FROM CGP2_DUEBILCHECK"
                                       " WHERE CGP2_ID = CGP4_IDCHECK_CGP2) WHERE CGP4_CAUSALE_CGP0")
                            .arg(*column)
                        + where);
        }
        QVERIFY(openAt(code, user));
        FormUi &ui = m_form->context().ui;
        if (chosen)
            choose(ui.CBO_TIPOOPERAZIONE, QString::number(tipo));
        QCOMPARE(ui.CBO_TIPOOPERAZIONE->Text(), QString::number(tipo));

        const bool restricted = CausalOperations::isRestricted(user, code);
        QStringList wrong;
        // Each control, a tab, its state for operation types 1 to 8.
        const QStringList screen = readCases(QStringLiteral(DUEBIL_TEST_DATA "/screenbytype.cases")).first().lines("controls");
        QVERIFY(screen.size() > 30);
        for (const QString &row : screen) {
            const QString control = row.section(u'\t', 0, 0);
            QString expected = row.section(u'\t', -1).mid(tipo - 1, 1);
            if (restricted && expected == QLatin1String("E") && reservedFixed.contains(control))
                expected = QStringLiteral("D");
            const QString shown = state(control);
            if (shown != expected)
                wrong << QStringLiteral("%1 %2 (expected %3)").arg(control, shown, expected);
        }
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(QStringLiteral(", "))));
    }

    void withholdingCheckAppliesItsRuleAtOnce()
    {
        execute("UPDATE CGP7_DUEBILPERSREG SET CGP7_INDDETTREGIST = 0 WHERE CGP7_CAUSALE_CGP0 = 310 AND CGP7_DITTA_CG18 = 1");
        QVERIFY(openAt(QStringLiteral("310")));   // payments, registration detail 0
        FormUi &ui = m_form->context().ui;
        QCOMPARE(ui.CBO_DETTREG->Text(), QStringLiteral("0"));
        QCOMPARE(state("CBO_GESTIONERITENUTE"), QStringLiteral("D"));
        ui.TAB_CONFIG->setTab(2);
        tick(ui.CHK_FILTER[30]);
        QCOMPARE(ui.CHK_FILTER[30]->Text(), QStringLiteral("1"));
        // The rules run at once: the detail list loses 0 (tst_OptionLists), the payment mode opens.
        QCOMPARE(ui.CBO_DETTREG->Text(), QStringLiteral("1"));
        QCOMPARE(state("CBO_GESTIONERITENUTE"), QStringLiteral("E"));
        // Cleared again: the payment mode closes.
        tick(ui.CHK_FILTER[30]);
        QCOMPARE(state("CBO_GESTIONERITENUTE"), QStringLiteral("D"));
    }

    void emptyMandatoryFieldRefusesTheSave_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/mandatoryfields.cases")});
    }

    void emptyMandatoryFieldRefusesTheSave()
    {
        QFETCH(TextCase, c);
        const QString tipo = c.text("type");
        const QString field = c.text("field");
        const QString column = c.text("column");
        const QString value = c.text("value");
        const QString row = rowOf(column, QStringLiteral("300"));
        QVERIFY(openAt(QStringLiteral("300")));
        FormUi &ui = m_form->context().ui;
        choose(ui.CBO_TIPOOPERAZIONE, tipo);
        auto *control = m_form->findChild<TextField *>(field);
        QVERIFY(control);
        QCOMPARE(state(field), QStringLiteral("M"));
        if (!control->toolTip().isEmpty())
            QCOMPARE(control->toolTip(), c.text("named"));
        for (const QString &typed : c.text("typed").split(' ', Qt::SkipEmptyParts))
            type(m_form->findChild<TextField *>(typed.section('=', 0, 0)), typed.section('=', 1));
        type(control, QString());
        const QVariant before = scalar("SELECT " + column + row);

        m_messages->clear();
        // Refused from another tab: the field's own comes to the front.
        const int tab = tabOf(control);
        ui.TAB_CONFIG->setTab(tab == 0 ? 1 : 0);
        QVERIFY(!confirm());
        QCOMPARE(messageIds(), QList<int>{MessageId::Mandatory});
        // The field as its label reads on screen for the operation type.
        QCOMPARE(m_messages->calls().first().message.params.value(0), c.text("named"));
        QCOMPARE(ui.TAB_CONFIG->currentIndex(), tab);
        QCOMPARE(QApplication::focusWidget(), control->lineEdit());
        QCOMPARE(scalar("SELECT CGP5_TIPOCAUSALE FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 300").toInt(), 1);
        QCOMPARE(scalar("SELECT " + column + row), before);

        // Filled in, the same causal is saved.
        type(control, value);
        m_messages->clear();
        QVERIFY(confirm());
        QCOMPARE(messageIds(), c.parts.contains("elsewhere") ? QList<int>{MessageId::OtherCompanyIncomplete} : QList<int>{});
        QCOMPARE(scalar("SELECT CGP5_TIPOCAUSALE FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 300").toString(), tipo);
        QCOMPARE(scalar("SELECT " + column + row).toString(), value);
    }

    void recoveryListRebuiltStartsFromItsFirstEntry_data()
    {
        QTest::addColumn<int>("stored");
        QTest::newRow("mode 2, not offered for compensation") << 2;
        QTest::newRow("mode 1, another meaning for compensation") << 1;
    }

    void recoveryListRebuiltStartsFromItsFirstEntry()
    {
        QFETCH(int, stored);
        execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_INDRECUPERO = %1 WHERE CGP5_CAUSALE_CGP0 = 300").arg(stored));
        QVERIFY(open());
        // A compensation causal shown keeps the mode it has stored.
        show(QStringLiteral("320"));
        FormUi &ui = m_form->context().ui;
        QCOMPARE(ui.CBO_MODRECUPERO->ListCount(), 2);
        QCOMPARE(ui.CBO_MODRECUPERO->Text(), QStringLiteral("1"));
        m_messages->enqueueAnswer(MsgAnswer::No);
        QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
        show(QStringLiteral("300"));
        QCOMPARE(ui.CBO_MODRECUPERO->Text(), QString::number(stored));
        choose(ui.CBO_TIPOOPERAZIONE, QStringLiteral("6"));
        QCOMPARE(ui.CBO_MODRECUPERO->ListIndex(), 0);
        type(ui.TXT_CAUSALECOMPCLI, QStringLiteral("300"));
        type(ui.TXT_CAUSALECOMPFOR, QStringLiteral("310"));
        QVERIFY(confirm());
        QCOMPARE(scalar("SELECT CGP5_INDRECUPERO FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 300").toInt(), 0);
    }

    void branchMessageFollowsTheLedgerSettings()
    {
        m_global->setLedgerSetting(QStringLiteral("GestioneSedi"), 1);
        m_global->setLedgerSetting(QStringLiteral("RegistrazioneSedeUnica"), 0);
        QVERIFY(openAt(QStringLiteral("300")));   // collections, registration detail 1
        FormUi &ui = m_form->context().ui;
        QVERIFY(!ui.LBL_MSGSEDE->isHidden());
        choose(ui.CBO_DETTREG, QStringLiteral("2"));
        QVERIFY(ui.LBL_MSGSEDE->isHidden());
        choose(ui.CBO_DETTREG, QStringLiteral("0"));
        QVERIFY(!ui.LBL_MSGSEDE->isHidden());
        // A company posting all branches as one registration shows no message.
        m_global->setLedgerSetting(QStringLiteral("RegistrazioneSedeUnica"), 1);
        choose(ui.CBO_DETTREG, QStringLiteral("1"));
        QVERIFY(ui.LBL_MSGSEDE->isHidden());
    }

    void boxWithoutRowIsLeftUntouched()
    {
        QVERIFY(openAt(QStringLiteral("300")));
        FormUi &ui = m_form->context().ui;
        ui.TAB_CONFIG->setTab(2);
        tick(ui.CHK_FILTER[5]);
        const QString shown = ui.CHK_FILTER[5]->Text();
        QVERIFY(confirm());
        execute("DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 5");
        QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
        show(QStringLiteral("310"));
        QCOMPARE(ui.CHK_FILTER[5]->Text(), shown);
        QVERIFY(ui.CHK_FILTER[5]->isEnabled());
        // Its state is written nowhere: 310 has no row for it, 300 keeps its own.
        QCOMPARE(scalar("SELECT COUNT(*) FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 5").toInt(), 0);
        QCOMPARE(scalar("SELECT CGP4_CHECKED FROM CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300 AND CGP4_IDCHECK_CGP2 = 5")
                     .toString(),
                 shown);
    }

    void controlsAreBoundToTheColumnsTheToolReads()
    {
        QVERIFY(open());
        for (const QList<ParameterControls::Control> *list :
             {&ParameterControls::generalParameters(), &ParameterControls::companyParameters(), &ParameterControls::postingParameters()}) {
            for (const ParameterControls::Control &c : *list) {
                auto *field = m_form->findChild<FieldControl *>(QLatin1String(c.name));
                QVERIFY2(field, c.name);
                QCOMPARE(field->dataField(), QLatin1String(c.column));
                if (c.captionId)
                    QCOMPARE(field->caption(), m_global->text(c.captionId));
            }
        }
    }

    void lookupOffersTheLedgerAndTheChosenCodeIsDecoded_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/lookups.cases")});
    }

    void lookupOffersTheLedgerAndTheChosenCodeIsDecoded()
    {
        QFETCH(TextCase, c);
        const QString causal = c.text("causal");
        QVERIFY(openAt(causal));
        auto *code = m_form->findChild<TextField *>(c.text("field"));
        QVERIFY(code && code->isEnabled());
        QString shownTitle;
        QStringList codes;
        answerList([&](LookupDialog *list) {
            shownTitle = list->windowTitle();
            for (int row = 0; row < list->rowCount(); ++row) {
                list->chooseRow(row);
                codes.append(list->chosenCode());
            }
            return list->chooseRow(0);
        });
        code->lookup();
        QCOMPARE(shownTitle, c.text("title"));
        QCOMPARE(codes.join(QLatin1Char(',')), scalar(c.text("offered")).toString());
        QCOMPARE(code->Text(), codes.value(0));
        QVERIFY(code->isFound());
        if (c.text("read out").isEmpty())
            return;
        const auto *label = m_form->findChild<QLabel *>(c.text("read out"));
        QVERIFY(label);
        QCOMPARE(label->text(), scalar(c.text("description")).toString());
    }
};

QTEST_MAIN(tst_CausalParameters)
#include "tst_causalparameters.moc"
