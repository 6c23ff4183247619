#include "ado/connection.h"
#include "params/parametercontrols.h"
#include "params/storedparameterchecks.h"
#include "store/messageids.h"
#include "support/casefile.h"
#include "support/modulerows.h"
#include "support/windowfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>

// What the window stores is what the user saw and chose, in each column's type; looking writes
// nothing, and every way of saving refuses what Conferma refuses.
class tst_StoredValues : public WindowFixture
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(setUpWindow()); }

    void cleanup()
    {
        if (m_cls)
            m_messages->enqueueAnswer(MsgAnswer::No);
        tearDownWindow();
    }

    void everyBoundControlStoresItsColumnsType_data() { addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/storedvalues.cases")}); }

    void everyBoundControlStoresItsColumnsType()
    {
        QFETCH(TextCase, c);
        const QStringList e = c.text(QStringLiteral("edit")).split(u'\t');
        QCOMPARE(e.size(), 5);
        const QString &causal = e[0], &control = e[1], &stored = e[3];
        for (const QString &statement : c.lines(QStringLiteral("setup")))
            execute(statement);
        QVERIFY(openAt(causal));
        edit(control, e[2]);
        const ParameterControls::Control *binding = ParameterControls::find(control);
        QVERIFY(binding);
        const QString column = QLatin1String(binding->column);
        if (const int refusal = c.text(QStringLiteral("refused")).toInt()) {
            // Refused from another tab: the message names the field, which gets the focus.
            m_form->context().ui.TAB_CONFIG->setTab(1);
            QVERIFY(!confirm());
            QCOMPARE(messageIds(), QList<int>{refusal});
            auto *field = m_form->findChild<FieldControl *>(control);
            QCOMPARE(m_messages->calls().first().message.params.value(0), field->caption());
            QCOMPARE(m_form->context().ui.TAB_CONFIG->currentIndex(), 0);
            QVERIFY(field->isAncestorOf(QApplication::focusWidget()) || field == QApplication::focusWidget());
        } else {
            QVERIFY(confirm());
            // Another company's rows that the change leaves incomplete are only named, for later.
            QList<int> said = messageIds();
            said.removeAll(MessageId::OtherCompanyIncomplete);
            QCOMPARE(said, QList<int>{});
        }
        QCOMPARE(scalar(QStringLiteral("SELECT typeof(") + column + QLatin1Char(')') + rowOf(column, causal)).toString(), e[4]);
        QCOMPARE(scalar(QStringLiteral("SELECT ") + column + rowOf(column, causal)).toString(), stored);
        // After the save the screen shows what the column holds, of the edited control and of
        // those the save should keep or correct ("after": control, value, type).
        if (c.text(QStringLiteral("refused")).isEmpty()) {
            const QString shown = FormContext::text(m_form->findChild<QWidget *>(control));
            QCOMPARE(ParameterControls::columnValue(binding->kind, shown).toString(), stored);
        }
        for (const QString &line : c.lines(QStringLiteral("after"))) {
            const QStringList a = line.split(u'\t');
            const ParameterControls::Control *other = ParameterControls::find(a.value(0));
            QVERIFY2(other, qPrintable(line));
            const QString otherColumn = QLatin1String(other->column), shown = FormContext::text(m_form->findChild<QWidget *>(a[0]));
            QCOMPARE(ParameterControls::columnValue(other->kind, shown).toString(), a.value(1));
            QCOMPARE(scalar(QStringLiteral("SELECT ") + otherColumn + rowOf(otherColumn, causal)).toString(), a.value(1));
            QCOMPARE(scalar(QStringLiteral("SELECT typeof(%1)").arg(otherColumn) + rowOf(otherColumn, causal)).toString(), a.value(2));
        }
    }

    // The edits above reach every control the parameter and causal frames bind (the key excepted).
    void everyBoundControlIsEdited()
    {
        QSet<QString> bound;
        for (const QList<ParameterControls::Control> *list : {&ParameterControls::causalHeader(), &ParameterControls::generalParameters(),
                                                               &ParameterControls::companyParameters(), &ParameterControls::postingParameters()})
            for (const ParameterControls::Control &c : *list)
                bound.insert(QLatin1String(c.name));
        bound.remove(QStringLiteral("TXT_CAUSALE"));
        QSet<QString> edited;
        for (const TextCase &c : readCases(QStringLiteral(DUEBIL_TEST_DATA "/storedvalues.cases")))
            edited.insert(c.text(QStringLiteral("edit")).section(u'\t', 1, 1));
        QCOMPARE(bound - edited, QSet<QString>{});
    }

    void storedTypeOutsideTheListIsShownAndKept_data()
    {
        QTest::addColumn<QString>("user");
        QTest::newRow("a user who may not change it") << QStringLiteral("MROSSI");
        QTest::newRow("the system user") << QStringLiteral("VELTO");
    }

    void storedTypeOutsideTheListIsShownAndKept()
    {
        QFETCH(QString, user);
        execute(QStringLiteral("UPDATE FW95_SETTINGS SET FW95_VALORE = '1' WHERE FW95_CODICE = 'GEST_STATI_DISABLE'"));
        QVERIFY(open(user));
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

    // An undo keeps the causal with its stored values and lists; the next save lands there only.
    void undoRestoresTheListsOfTheRestoredType()
    {
        execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_INDRECUPERO = 2 WHERE CGP5_CAUSALE_CGP0 = 310"));
        CausalRows rows(m_db->connectionString());
        const QMap<int, QStringList> before = rows.read();
        QVERIFY(openAt(QStringLiteral("310")));
        FormContext &ctx = m_form->context();
        FormUi &ui = ctx.ui;
        const QString description = ui.TXT_DESCRIZIONE->Text();
        ui.TXT_DESCRIZIONE->setText(QStringLiteral("Da annullare"));
        ui.QGRID_LAYOUT->doubleClickCell(0, QStringLiteral("CGP3_SORTTYPE"));
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
        QCOMPARE(ctx.causalCode(), QStringLiteral("310"));
        QCOMPARE(ui.TXT_DESCRIZIONE->Text(), description);
        QCOMPARE(rowsOfAnotherCausal(ctx.children(), ctx.causalCode()), QStringList());

        edit(QStringLiteral("TXT_MESI"), QStringLiteral("4"));
        ui.QGRID_LAYOUT->doubleClickCell(0, QStringLiteral("CGP3_SORTTYPE"));
        QVERIFY(confirm());
        QCOMPARE(CausalRows::changed(before, rows.read()), QSet<int>{310});
        QCOMPARE(scalar(QStringLiteral("SELECT CGP5_INDRECUPERO FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 310")).toInt(), 2);
        QCOMPARE(scalar(QStringLiteral("SELECT CGP5_TIPOCAUSALE FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 = 310")).toInt(), 2);
    }

    void detailListFollowsARuleThatClearsCurrency()
    {
        execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_INDIMPMASSIMO = 0 WHERE CGP5_CAUSALE_CGP0 = 300"));
        QVERIFY(openAt(QStringLiteral("300")));
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
        QCOMPARE(scalar(QStringLiteral("SELECT CGP6_INDPAGVALUTA") + rowOf(QStringLiteral("CGP6_INDPAGVALUTA"), QStringLiteral("300"))).toInt(), 0);
        QCOMPARE(scalar(QStringLiteral("SELECT CGP7_INDDETTREGIST") + rowOf(QStringLiteral("CGP7_INDDETTREGIST"), QStringLiteral("300"))).toInt(), 2);
    }

    void causalOnlyLookedAtAsksNothingAndWritesNothing_data()
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

    void causalOnlyLookedAtAsksNothingAndWritesNothing()
    {
        QFETCH(QString, user);
        QFETCH(QString, causal);
        QFETCH(QStringList, corrected);
        execute(QStringLiteral("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1 WHERE CGP4_CAUSALE_CGP0 = 320 AND CGP4_IDCHECK_CGP2 = 30"));
        CausalRows rows(m_db->connectionString());
        const QMap<int, QStringList> before = rows.read();
        QVERIFY(open(user));
        QStatusBar statusBar;  // the host's, where the corrections are named
        m_cls->setStatusBar(&statusBar);
        FormUi &ui = m_form->context().ui;
        // Shown after a causal of another type, and again after it.
        show(QStringLiteral("300"));
        QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
        show(causal);
        for (const QString &field : corrected)
            QVERIFY2(statusBar.currentMessage().contains(field), qPrintable(statusBar.currentMessage()));
        QCOMPARE(statusBar.currentMessage().isEmpty(), corrected.isEmpty());
        QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
        show(QStringLiteral("310"));
        QVERIFY(ui.INTERNAV->press(QStringLiteral("Precedente")));
        QVERIFY(ui.INTERNAV->press(QStringLiteral("Nuovo")));
        QCOMPARE(messageIds(), QList<int>{});
        QCOMPARE(CausalRows::changed(before, rows.read()), QSet<int>{});
    }

    void exclusionRowWithoutGroupOrUserIsNeverStored_data()
    {
        QTest::addColumn<QString>("row");    // what the user left in the new row
        QTest::addColumn<QString>("path");   // how the save was asked for
        for (const char *row : {"empty", "group refused", "user refused", "empty, other row clicked", "group chosen, then refused"}) {
            for (const char *path : {"Conferma", "Successivo", "Duplica", "close"})
                QTest::addRow("%s, %s", row, path) << row << path;
        }
    }

    void exclusionRowWithoutGroupOrUserIsNeverStored()
    {
        QFETCH(QString, row);
        QFETCH(QString, path);
        QVERIFY(openAt(QStringLiteral("300")));
        FormContext &ctx = m_form->context();
        FormUi &ui = ctx.ui;
        CausalRows rows(m_db->connectionString());
        const QMap<int, QStringList> before = rows.read();
        ui.TXT_DESCRIZIONE->setText(QStringLiteral("Con esclusione"));
        ui.TAB_CONFIG->setTab(4);
        QVERIFY(ui.GRIDNAVREVOKE->press(QStringLiteral("Nuovo")));
        IdLookupField *field = row.startsWith(QLatin1String("user")) ? ui.TXT_UTENTE : ui.TXT_GRUPPO;
        if (row.endsWith(QLatin1String("chosen, then refused"))) {
            field->lineEdit()->setText(QStringLiteral("CONTABILITA"));
            QVERIFY(field->commit());
        }
        if (row.endsWith(QLatin1String("refused"))) {
            field->lineEdit()->setText(QStringLiteral("NESSUNO"));
            field->commit();
        } else if (row.endsWith(QLatin1String("clicked"))) {
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
        QCOMPARE(rows.read(), before);
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
        QVERIFY(confirm());
        const QString revoke = QStringLiteral("SELECT COUNT(*) FROM CGP8_DUEBILREVOKE WHERE CGP8_CAUSALE_CGP0 = 300");
        QCOMPARE(scalar(revoke + QStringLiteral(" AND CGP8_ID_FW06 IS NULL AND CGP8_ID_FW07 = 3")).toInt(), 1);
        QCOMPARE(scalar(revoke).toInt(), before.value(300).filter(QStringLiteral("CGP8_DUEBILREVOKE")).size() + 1);
        QCOMPARE(CausalRows::changed(before, rows.read()), QSet<int>{300});
    }

    void windowAndValidateGiveOneVerdict_data() { addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/saveverdicts.cases")}); }

    // What the window saves validates clean; what it refuses, validate reports once stored.
    void windowAndValidateGiveOneVerdict()
    {
        QFETCH(TextCase, c);
        const QString causal = c.text(QStringLiteral("causal")), refused = c.text(QStringLiteral("refused"));
        const int message = c.text(QStringLiteral("message")).toInt();
        for (const QString &statement : c.lines(QStringLiteral("stored")))
            execute(statement);
        QVERIFY(openAt(causal));
        FormContext &ctx = m_form->context();
        const QStringList edits = c.lines(QStringLiteral("edits"));
        for (const QString &e : edits) {
            edit(e.section(u'=', 0, 0), e.section(u'=', 1));
            if (QTest::currentTestFailed())
                return;
        }
        auto connection = std::make_shared<ado::Connection>();
        connection->Open(m_db->connectionString());
        const auto validate = [&] { return StoredParameterChecks(connection).check(causal); };
        CausalRows rows(m_db->connectionString());
        const QMap<int, QStringList> before = rows.read();
        m_messages->clear();
        const bool saved = confirm();
        QCOMPARE(saved, refused.isEmpty());
        QCOMPARE(messageIds(), message ? QList<int>{message} : QList<int>{});
        if (saved) {
            QStringList elsewhere;
            for (const StoredParameterChecks::Finding &f : validate()) {
                if (f.company == QLatin1String("1"))
                    QFAIL(qPrintable(QStringLiteral("validate reports %1 = '%2': %3").arg(f.column, f.value).arg(f.textId)));
                elsewhere << f.column + u' ' + QString::number(f.textId);
            }
            QCOMPARE(elsewhere.value(0), c.text(QStringLiteral("finding")));
            return;
        }

        // Refused on the field, named as the screen names it, with nothing written.
        QWidget *field = ctx.control(refused);
        QVERIFY(field);
        QVERIFY2(m_messages->calls().constFirst().message.text.contains(u'"' + ctx.shownName(field) + u'"'),
                 qPrintable(m_messages->calls().constFirst().message.text));
        QVERIFY(field == QApplication::focusWidget() || field->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(rows.read(), before);

        // Stored behind the window's back (validate judges nothing of the causal's own row).
        for (const QString &e : edits) {
            const QString column = QLatin1String(ParameterControls::find(e.section(u'=', 0, 0))->column);
            const QString row = rowOf(column, causal);  // " FROM table WHERE ..."
            if (!column.startsWith(QLatin1String("CGP0")))
                execute(QStringLiteral("UPDATE %1 SET %2 = '%3'").arg(row.section(u' ', 2, 2), column, e.section(u'=', 1))
                        + row.mid(row.indexOf(QLatin1String(" WHERE"))));
        }
        QStringList reported;
        for (const StoredParameterChecks::Finding &f : validate())
            reported << f.column + u' ' + QString::number(f.textId);
        QVERIFY2(reported.contains(c.text(QStringLiteral("finding"))), qPrintable(reported.join(", ")));
    }

private:
    // Edits a control as its kind is edited: a list entry chosen, a box ticked (to the input's
    // state, or over when the input says nothing), a code or text typed.
    void edit(const QString &control, const QString &input)
    {
        QWidget *w = m_form->findChild<QWidget *>(control);
        QVERIFY2(w, qPrintable(control));
        if (const int tab = tabOf(w); tab >= 0)
            ui().TAB_CONFIG->setTab(tab);
        QVERIFY2(w->isEnabled() && w->isVisible(), qPrintable(control + QStringLiteral(" out of reach")));
        if (auto *combo = qobject_cast<ComboField *>(w)) {
            choose(combo, input);
        } else if (auto *box = qobject_cast<CheckField *>(w)) {
            if (input.isEmpty() || box->Text() != input)
                tick(box);
            QVERIFY(input.isEmpty() || box->Text() == input);
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
};

QTEST_MAIN(tst_StoredValues)
#include "tst_storedvalues.moc"
