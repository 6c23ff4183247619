#include "ado/connection.h"
#include "ado/recordset.h"
#include "framework/testiparametrizzabili.h"
#include "support/casefile.h"
#include "support/windowfixture.h"

#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

// What the window tells the user about his work: the status bar after each record action, the
// title's mark while there is something to save, and where a refusal leaves the focus.
class tst_FormFeedback : public WindowFixture
{
    Q_OBJECT


    // A command by the window's own button where it has one, else by the host's tool bar.
    void click(const QString &key)
    {
        QToolButton *button = ui().INTERNAV->button(key);
        if (button && button->isVisible()) {
            QVERIFY2(button->isEnabled(), qPrintable(key));
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            static const QHash<QString, ActiveNavigator::Command> bar = {
                {"Conferma", ActiveNavigator::Confirm}, {"Annulla", ActiveNavigator::Undo},
                {"Elimina", ActiveNavigator::Delete}};
            QVERIFY2(bar.contains(key), qPrintable(key));
            m_navigator->trigger(bar.value(key));
        }
        QTest::qWait(10);
    }

    // The title as the sub-window shows it: Qt puts "*" for "[*]" while the form is modified.
    QString shownTitle() const
    {
        QString title = m_form->subWindow()->windowTitle();
        return title.replace(QStringLiteral("[*]"), m_form->subWindow()->isWindowModified() ? QStringLiteral("*") : QString());
    }

    QStatusBar m_status;

private slots:
    void init()
    {
        QVERIFY(setUpWindow());
        QVERIFY(open());
        m_cls->setStatusBar(&m_status);
        m_status.showMessage(QStringLiteral("Pronto"));
    }

    void cleanup()
    {
        tearDownWindow();
    }

    void everyRecordActionSaysWhatItDid_data()
    {
        QTest::addColumn<QString>("code");         // the causal shown first
        QTest::addColumn<QString>("typed");        // typed into the description, "" for nothing
        QTest::addColumn<QString>("command");      // navigator button, "" for none
        QTest::addColumn<QString>("status");       // the status bar afterwards
        QTest::addColumn<QString>("description");  // stored afterwards, "-" for no row

        QTest::newRow("looking at a causal")
            << "300" << "" << "" << "Pronto" << "Incasso RiBa clienti";
        QTest::newRow("saved") << "300" << " bis" << "Conferma" << "Causale 300 salvata."
                               << "Incasso RiBa clienti bis";
        QTest::newRow("undone") << "300" << " bis" << "Annulla" << "Modifiche alla causale 300 annullate."
                                << "Incasso RiBa clienti";
        QTest::newRow("created") << "450" << "" << "" << "Causale 450 creata." << "";
        QTest::newRow("deleted") << "450" << "" << "Elimina" << "Causale 450 eliminata." << "-";
    }

    void everyRecordActionSaysWhatItDid()
    {
        QFETCH(QString, code);
        QFETCH(QString, typed);
        QFETCH(QString, command);
        QFETCH(QString, status);
        QFETCH(QString, description);

        const QString caption = m_form->context().caption();
        m_messages->setDefaultAnswer(MsgAnswer::Yes);
        show(code);
        QCOMPARE(ui().TXT_CAUSALE->Text(), code);
        QTRY_COMPARE(shownTitle(), caption);
        if (!typed.isEmpty()) {
            QLineEdit *edit = ui().TXT_DESCRIZIONE->lineEdit();
            edit->setFocus();
            edit->end(false);
            QTest::keyClicks(edit, typed);
            // Something to save: the title says so at once, before any action.
            QTRY_COMPARE(shownTitle(), caption + QLatin1Char('*'));
            QCOMPARE(m_form->context().caption(), caption);
        }
        if (!command.isEmpty())
            click(command);
        QTRY_COMPARE(m_status.currentMessage(), status);
        QTRY_COMPARE(shownTitle(), caption);
        const QString row = scalar("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code).toString();
        const QString count = scalar("SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code).toString();
        QCOMPARE(count == QLatin1String("0") ? QStringLiteral("-") : row, description);
    }

    // The group and user lists show the code and the name the user knows, not the internal id
    // the field stores.
    void groupAndUserListsHideTheirIds_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("groups") << "TXT_GRUPPO";
        QTest::newRow("users") << "TXT_UTENTE";
    }

    void groupAndUserListsHideTheirIds()
    {
        QFETCH(QString, field);
        auto *control = m_form->findChild<TextField *>(field);
        QVERIFY(control);
        short handled = 0;
        QString statement, title, connection;
        QVariant columns;
        emit control->StartLookup(&handled, &statement, &columns, &title, &connection);
        QStringList titles;
        for (const QVariant &c : columns.toList())
            titles << c.toMap().value(QStringLiteral("title")).toString();
        QCOMPARE(titles, QStringList({QStringLiteral("Codice"), QStringLiteral("Descrizione")}));
        QVERIFY(!statement.isEmpty());
    }

    // The windows of the module speak the form's font: the grids' headers, the legend.
    void oneFontForTheWholeWindow()
    {
        show(QStringLiteral("300"));
        const QString family = m_form->font().family();
        QCOMPARE(family, QStringLiteral("Tahoma"));
        for (GridControl *grid : {ui().QGRID_LAYOUT, ui().QGRID_GRUPPIUTENTI}) {
            for (QHeaderView *header : grid->findChildren<QHeaderView *>())
                QCOMPARE(header->font().family(), family);
        }
        ui().TAB_CONFIG->setTab(1);
        QTest::mouseClick(ui().BUT_LEGENDA, Qt::LeftButton);
        QDialog *legend = m_form->context().Gcls_TestiParametrizzabili->legend();
        QVERIFY(legend && legend->isVisible());
        QCOMPARE(legend->font().family(), family);
        for (QWidget *w : legend->findChildren<QWidget *>())
            QCOMPARE(w->font().family(), family);
    }

    // A code refused as the user leaves it (by Tab, an Alt key, a click on another tab) or at
    // the save keeps its tab in front, the focus and the row's value; the message names the field
    // by what the screen shows; nothing is stored, and a refused save keeps the mark. F3 on a
    // code just refused opens the list, without the refusal over it. (A mandatory field left
    // empty is tst_CausalParameters::emptyMandatoryFieldRefusesTheSave.)
    void aRefusalKeepsTheTabTheFocusAndTheStoredRow_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/refusedcodes.cases")});
    }

    void aRefusalKeepsTheTabTheFocusAndTheStoredRow()
    {
        QFETCH(TextCase, c);
        const QString typed = c.text(QStringLiteral("value")), how = c.text(QStringLiteral("how"));
        const QString named = c.text(QStringLiteral("named")), message = c.text(QStringLiteral("message"));
        show(c.parts.contains(QStringLiteral("causal")) ? c.text(QStringLiteral("causal")) : QStringLiteral("300"));
        const QString caption = m_form->context().caption();
        auto *control = m_form->findChild<TextField *>(c.text(QStringLiteral("field")));
        QVERIFY(control);
        if (!control->toolTip().isEmpty())
            QCOMPARE(control->toolTip(), named);
        const QString column = control->dataField();
        const ado::RecordsetPtr posting = m_form->context().FME_PARAMPERSREG->recordset();
        const ado::RecordsetPtr owner = posting->hasField(column) ? posting : m_form->context().FME_PARAMETRIDITTA->recordset();
        const QString stored = owner->value(column).toString();
        const int tab = tabOf(control);
        QLineEdit *edit = control->lineEdit();
        m_messages->clear();
        ui().TAB_CONFIG->setTab(tab);
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        if (how.isEmpty() || how == QLatin1String("tab")) {
            QTest::keyClick(edit, Qt::Key_Tab);
        } else if (how == QLatin1String("alt")) {
            QTest::keyClick(edit, Qt::Key_G, Qt::AltModifier);
        } else if (how == QLatin1String("list")) {
            bool listSeen = false;
            answerList([&](LookupDialog *) {
                listSeen = m_messages->calls().isEmpty();
                return false;
            });
            QTest::keyClick(edit, Qt::Key_F3);
            QTRY_VERIFY(listSeen);
        } else if (how == QLatin1String("click")) {
            QTabBar *bar = ui().TAB_CONFIG->tabBar();
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
        } else {
            // From the host's tool bar, whose buttons take no focus.
            m_navigator->trigger(ActiveNavigator::Confirm);
        }
        QTest::qWait(20);
        QList<int> shown;
        QString text;
        for (const auto &call : m_messages->callsOf(RecordingMessageService::Kind::Message)) {
            shown << call.message.textId;
            text += call.message.text + call.message.params.join(QLatin1Char('|'));
        }
        QCOMPARE(shown, message.isEmpty() ? QList<int>{} : QList<int>{message.toInt()});
        QVERIFY2(message.isEmpty() || text.contains(named), qPrintable(text));
        QCOMPARE(ui().TAB_CONFIG->Tab(), tab);
        if (how != QLatin1String("list"))  // F3 refuses nothing: the list decides where the focus goes
            QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(edit->text(), typed);
        QCOMPARE(owner->value(column).toString(), stored);
        if (how == QLatin1String("save")) {
            QCOMPARE(scalar("SELECT " + column + rowOf(column, QStringLiteral("300"))).toString(), stored);
            QVERIFY2(!m_status.currentMessage().endsWith(QStringLiteral(" salvata.")), qPrintable(m_status.currentMessage()));
            QCOMPARE(shownTitle(), caption + QLatin1Char('*'));
        }
    }

    // Duplica after the causal on display was deleted, a reserved code refused in the field
    // since, copies nothing.
    void duplicatingWithoutACausalOnDisplayWritesNothing()
    {
        m_messages->setDefaultAnswer(MsgAnswer::Yes);
        show(QStringLiteral("450"));
        click(QStringLiteral("Elimina"));
        show(QStringLiteral("288"));
        QCOMPARE(m_form->context().FME_CAUSALI->Status(), int(DataFrame::StatusQuery));
        m_messages->enqueueInput(QStringLiteral("321"));
        ui().INTERNAV->press(QStringLiteral("Duplica"));
        QCOMPARE(scalar("SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE IN (288, 321)").toString(), QStringLiteral("0"));
        QCOMPARE(scalar("SELECT COUNT(*) FROM CGP5_DUEBILPARAM WHERE CGP5_CAUSALE_CGP0 IN (288, 321)").toString(), QStringLiteral("0"));
    }
};

QTEST_MAIN(tst_FormFeedback)
#include "tst_formfeedback.moc"
