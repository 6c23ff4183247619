#include "connection.h"
#include "messageids.h"
#include "recordset.h"
#include "testiparametrizzabili.h"
#include "windowfixture.h"

#include <QDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

// What the window tells the user about his work: the status bar after each record action, the
// title's mark while there is something to save, and where a refusal leaves the focus.
class tst_FormFeedback : public WindowFixture
{
    Q_OBJECT

    FormUi &ui() { return m_form->context().ui; }

    QString stored(const QString &sql)
    {
        ado::Connection c;
        c.Open(m_db->connectionString());
        const ado::RecordsetPtr rs = c.Execute(sql);
        return rs->RecordCount() > 0 ? rs->value(rs->fieldNames().value(0)).toString() : QString();
    }

    // Types a code into the causal field and leaves it with Enter, as a user does.
    void typeCausal(const QString &code)
    {
        QLineEdit *edit = ui().TXT_CAUSALE->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, code);
        QTest::keyClick(edit, Qt::Key_Return);
        QTest::qWait(10);
    }

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
        typeCausal(code);
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
        const QString row = stored("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code);
        const QString count = stored("SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code);
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
        typeCausal(QStringLiteral("300"));
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

    // A refused save keeps the mark and says nothing was saved.
    void aRefusedSaveKeepsTheMark()
    {
        typeCausal(QStringLiteral("300"));
        const QString caption = m_form->context().caption();
        ui().CBO_TIPOOPERAZIONE->setText(QStringLiteral("4"));
        ui().TXT_CONTODARE->setText(QString());
        QTRY_COMPARE(shownTitle(), caption + QLatin1Char('*'));
        m_messages->clear();
        click(QStringLiteral("Conferma"));
        QVERIFY(!m_messages->calls().isEmpty());
        QCOMPARE(m_status.currentMessage(), QStringLiteral("Pronto"));
        QCOMPARE(shownTitle(), caption + QLatin1Char('*'));
    }
};

QTEST_MAIN(tst_FormFeedback)
#include "tst_formfeedback.moc"
