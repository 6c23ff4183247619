#include "controls/lookupdialog.h"
#include "support/windowfixture.h"
#include "support/modulerows.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

// The window driven by real key presses, as a user without a mouse drives it: no key changes a
// value the user did not mean to change, and the focus is always where the user can go on.
class tst_Keyboard : public WindowFixture
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(setUpWindow()); }
    void cleanup() { tearDownWindow(); }

    void altKeysTypeNothing_data();
    void altKeysTypeNothing();
    void tabKeysSwitchTabsWherever_data();
    void tabKeysSwitchTabsWherever();
    void focusGoesToTheTabAfterACausalIsShown_data();
    void focusGoesToTheTabAfterACausalIsShown();
    void layoutGridWorksFromTheKeyboard();
    void exclusionGridInsertsAndDeletesWithTheKeys();
    void exclusionCodesTakeTheirColumnsLength_data();
    void exclusionCodesTakeTheirColumnsLength();

private:
    // Every value the window shows, by control.
    QMap<QString, QString> screen() const;
};

QMap<QString, QString> tst_Keyboard::screen() const
{
    QMap<QString, QString> values;
    for (const FieldControl *field : m_form->findChildren<FieldControl *>())
        values.insert(field->objectName(), field->Text());
    for (const GridControl *grid : m_form->findChildren<GridControl *>()) {
        for (int row = 0; row < grid->rowCount(); ++row) {
            for (const QString &column : grid->columns())
                values.insert(QStringLiteral("%1[%2].%3").arg(grid->objectName()).arg(row).arg(column),
                              grid->cellText(row, column));
        }
    }
    return values;
}

void tst_Keyboard::altKeysTypeNothing_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("type");
    for (int type = 1; type <= 8; ++type)
        QTest::addRow("causal 300 as type %d", type) << QStringLiteral("300") << type;
    QTest::newRow("reserved causal 150, type 7") << QStringLiteral("150") << 0;
}

// Alt with every letter but the buttons' on every tab: a key moves the focus or the tab or does
// nothing; none types its letter, and nothing on screen or in the database changes.
void tst_Keyboard::altKeysTypeNothing()
{
    QFETCH(QString, code);
    QFETCH(int, type);
    if (type > 0)
        execute(QStringLiteral("UPDATE CGP5_DUEBILPARAM SET CGP5_TIPOCAUSALE = %1 WHERE CGP5_CAUSALE_CGP0 = %2").arg(type).arg(code));
    QVERIFY(openAt(code));
    CausalRows rows(m_db->connectionString());
    const QMap<int, QStringList> stored = rows.read();
    const QMap<QString, QString> before = screen();
    QLineEdit *description = ui().TXT_DESCRIZIONE->lineEdit();
    int withTarget = 0;
    int withoutTarget = 0;
    for (int tab = 0; tab < 5; ++tab) {
        if (!ui().TAB_CONFIG->isTabEnabled(tab) || !ui().TAB_CONFIG->isTabVisible(tab))
            continue;
        QString buttonKeys;
        for (const ButtonControl *button : ui().tabPages[tab]->findChildren<ButtonControl *>()) {
            const qsizetype at = button->text().indexOf(QLatin1Char('&'));
            if (at >= 0)
                buttonKeys += button->text().at(at + 1).toLower();
        }
        for (char letter = 'a'; letter <= 'z'; ++letter) {
            if (buttonKeys.contains(QLatin1Char(letter)))
                continue;
            ui().TAB_CONFIG->setTab(tab);
            description->setFocus(Qt::TabFocusReason);
            description->selectAll();
            QWidget *focusBefore = QApplication::focusWidget();
            QTest::keyClick(description, Qt::Key(Qt::Key_A + (letter - 'a')), Qt::AltModifier);
            const bool moved = QApplication::focusWidget() != focusBefore || ui().TAB_CONFIG->currentIndex() != tab;
            ++(moved ? withTarget : withoutTarget);
            const QString where = QStringLiteral("Alt+%1 on tab %2").arg(QLatin1Char(letter)).arg(tab);
            QVERIFY2(screen() == before, qPrintable(where));
            if (!moved)
                QVERIFY2(description->hasSelectedText(), qPrintable(where));
        }
    }
    QVERIFY(withTarget > 0);
    QVERIFY(withoutTarget > 0);
    QVERIFY(!m_form->context().FME_CAUSALI->RecordChanged());
    QVERIFY(CausalRows::changed(stored, rows.read()).isEmpty());
}

void tst_Keyboard::tabKeysSwitchTabsWherever_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("step");
    const QList<QPair<const char *, QString>> places = {{"operation type combo", "CBO_TIPOOPERAZIONE"},
                                                        {"description", "TXT_DESCRIZIONE"},
                                                        {"check box", "CHK_GESTVALUTE"}};
    for (const auto &[name, control] : places) {
        QTest::addRow("Ctrl+PgDown in %s", name) << control << int(Qt::Key_PageDown) << int(Qt::ControlModifier) << 1;
        QTest::addRow("Ctrl+PgUp in %s", name) << control << int(Qt::Key_PageUp) << int(Qt::ControlModifier) << -1;
        QTest::addRow("Ctrl+Tab in %s", name) << control << int(Qt::Key_Tab) << int(Qt::ControlModifier) << 1;
        QTest::addRow("Ctrl+Shift+Tab in %s", name)
            << control << int(Qt::Key_Backtab) << int(Qt::ControlModifier | Qt::ShiftModifier) << -1;
    }
}

// The tab keys switch the form's tabs from any control, a combo included, and go round; the
// value under the focus stays, and the host's area does not take Ctrl+Tab for its windows.
void tst_Keyboard::tabKeysSwitchTabsWherever()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, step);
    QVERIFY(openAt(QStringLiteral("300")));
    auto *other = m_area->addSubWindow(new QWidget);
    other->show();
    QMdiSubWindow *own = m_form->subWindow();
    m_area->setActiveSubWindow(own);
    const QMap<QString, QString> before = screen();
    const int tabs = ui().TAB_CONFIG->count();
    ui().TAB_CONFIG->setTab(0);
    auto *control = m_form->findChild<QWidget *>(focus);
    QVERIFY(control);
    control->setFocus(Qt::TabFocusReason);
    for (int press = 1; press <= tabs; ++press) {
        QWidget *target = QApplication::focusWidget();
        QVERIFY(target);
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(ui().TAB_CONFIG->currentIndex(), ((press * step) % tabs + tabs) % tabs);
        QCOMPARE(m_area->activeSubWindow(), own);
        QVERIFY(ui().tabPages[ui().TAB_CONFIG->currentIndex()]->isAncestorOf(QApplication::focusWidget()));
    }
    QCOMPARE(screen(), before);
    QVERIFY(!m_form->context().FME_CAUSALI->RecordChanged());
}

void tst_Keyboard::focusGoesToTheTabAfterACausalIsShown_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("expected");
    QTest::newRow("code and Enter") << "enter" << 0 << "CBO_TIPOOPERAZIONE";
    QTest::newRow("code and Tab") << "tab" << 0 << "CBO_TIPOOPERAZIONE";
    QTest::newRow("F3 list") << "list" << 0 << "CBO_TIPOOPERAZIONE";
    QTest::newRow("navigator, tab 1 in front") << "next" << 1 << "CBO_TIPOREGISTRAZIONE";
    QTest::newRow("navigator, tab 3 in front") << "next" << 3 << "TVCAMPI";
}

// However a causal comes on screen, the focus is on the first field of the tab in front.
void tst_Keyboard::focusGoesToTheTabAfterACausalIsShown()
{
    QFETCH(QString, how);
    QFETCH(int, tab);
    QFETCH(QString, expected);
    QVERIFY(open());
    m_area->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_area.get()));
    if (how == QLatin1String("enter") || how == QLatin1String("tab")) {
        show(QStringLiteral("300"), how == QLatin1String("tab") ? Qt::Key_Tab : Qt::Key_Return);
    } else if (how == QLatin1String("list")) {
        answerList([](LookupDialog *list) {
            list->setSearch(QStringLiteral("300"));
            return list->chooseRow(0);
        });
        ui().TXT_CAUSALE->lineEdit()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(ui().TXT_CAUSALE->lineEdit(), Qt::Key_F3);
        // The window comes back to the front when the list closes.
        m_area->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_area.get()));
    } else {
        show(QStringLiteral("300"));
        QTRY_VERIFY(!ui().TXT_CAUSALE->lineEdit()->hasFocus());
        ui().TAB_CONFIG->setTab(tab);
        ui().TXT_DESCRIZIONE->lineEdit()->setFocus(Qt::TabFocusReason);
        // As the host's tool bar moves it.
        const QString shown = m_form->context().causalCode();
        m_navigator->trigger(ActiveNavigator::Next);
        QVERIFY(m_form->context().causalCode() != shown);
        // Nothing was changed: moving on asks nothing.
        QCOMPARE(m_messages->calls().size(), 0);
    }
    QCOMPARE(ui().TAB_CONFIG->currentIndex(), tab);
    auto *field = m_form->findChild<QWidget *>(expected);
    QVERIFY(field);
    QWidget *editor = field->focusProxy() ? field->focusProxy() : field;
    QTRY_COMPARE(QApplication::focusWidget(), editor);
}

// The layout grid, reached with Tab, shows its current row; the arrows move the row and the
// frame with it, Space ticks the grouping, Enter on the sort column turns its direction.
void tst_Keyboard::layoutGridWorksFromTheKeyboard()
{
    QVERIFY(openAt(QStringLiteral("300")));
    const FormContext &ctx = m_form->context();
    QVERIFY(ctx.FME_LAYOUT->recordset()->RecordCount() >= 2);
    ui().TAB_CONFIG->setTab(3);
    auto *table = ui().QGRID_LAYOUT->findChild<QTableWidget *>();
    ui().BUT_DESEL->setFocus(Qt::TabFocusReason);
    QTest::keyClick(ui().BUT_DESEL, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), table);
    QVERIFY(table->currentIndex().isValid());
    QVERIFY(!table->isColumnHidden(table->currentColumn()));

    const int first = table->currentRow();
    QTest::keyClick(table, Qt::Key_Down);
    QCOMPARE(table->currentRow(), first + 1);
    const ado::RecordsetPtr rs = ctx.FME_LAYOUT->recordset();
    const QString field = ui().QGRID_LAYOUT->cellText(first + 1, QStringLiteral("CGP1_ID"));
    QCOMPARE(rs->value(QStringLiteral("CGP1_ID")).toString(), field);

    const QString grouped = ui().QGRID_LAYOUT->cellText(first + 1, QStringLiteral("CGP3_GROUPED"));
    QTest::keyClick(table, Qt::Key_Space);
    const QString flipped = grouped == QLatin1String("1") ? QStringLiteral("0") : QStringLiteral("1");
    QCOMPARE(ui().QGRID_LAYOUT->cellText(first + 1, QStringLiteral("CGP3_GROUPED")), flipped);
    QCOMPARE(rs->value(QStringLiteral("CGP3_GROUPED")).toString(), flipped);

    const int sortColumn = int(ui().QGRID_LAYOUT->columns().indexOf(QStringLiteral("CGP3_SORTTYPE")));
    while (table->currentColumn() < sortColumn)
        QTest::keyClick(table, Qt::Key_Right);
    const int sort = rs->value(QStringLiteral("CGP3_SORTTYPE")).toInt();
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(rs->value(QStringLiteral("CGP3_SORTTYPE")).toInt(), (sort + 1) % 3);
    QCOMPARE(rs->value(QStringLiteral("CGP1_ID")).toString(), field);
    // The save stores what the keys did.
    QVERIFY(confirm());
    QCOMPARE(scalar(QStringLiteral("SELECT CGP3_GROUPED || '/' || CGP3_SORTTYPE FROM CGP3_DUEBILGRIGLIA "
                                   "WHERE CGP3_CAUSALE_CGP0 = 300 AND CGP3_IDFIELD_CGP1 = %1").arg(field)).toString(),
             flipped + QLatin1Char('/') + QString::number((sort + 1) % 3));
}

// Ins and Del on the exclusion grid act as the grid navigator's buttons; Del asks nothing
// of another causal and removes only the row the arrows chose.
void tst_Keyboard::exclusionGridInsertsAndDeletesWithTheKeys()
{
    QVERIFY(openAt(QStringLiteral("300")));
    ui().TAB_CONFIG->setTab(4);
    auto *table = ui().QGRID_GRUPPIUTENTI->findChild<QTableWidget *>();
    const int rowsBefore = ui().QGRID_GRUPPIUTENTI->rowCount();
    QVERIFY(rowsBefore >= 1);
    table->setFocus(Qt::TabFocusReason);
    QVERIFY(table->currentIndex().isValid());
    QVERIFY(!table->isColumnHidden(table->currentColumn()));
    QTest::keyClick(table, Qt::Key_Insert);
    QVERIFY(ui().TXT_GRUPPO->isEnabled());
    QVERIFY(ui().TXT_UTENTE->isEnabled());
    QVERIFY(ui().INTERNAV->press(QStringLiteral("Annulla")));

    ui().TAB_CONFIG->setTab(4);
    table->setFocus(Qt::TabFocusReason);
    QTest::keyClick(table, Qt::Key_Delete);
    QCOMPARE(ui().QGRID_GRUPPIUTENTI->rowCount(), rowsBefore - 1);
    QVERIFY(confirm());
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM CGP8_DUEBILREVOKE WHERE CGP8_CAUSALE_CGP0 = 300")).toInt(),
             rowsBefore - 1);
}

void tst_Keyboard::exclusionCodesTakeTheirColumnsLength_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("group") << "TXT_GRUPPO";
    QTest::newRow("user") << "TXT_UTENTE";
}

// A group or user code as long as its column (FW06_CODICE, FW07_USERNAME: 30), typed key by
// key into a new exclusion row, is taken as typed, in upper case, and shown whole.
void tst_Keyboard::exclusionCodesTakeTheirColumnsLength()
{
    QFETCH(QString, field);
    const QString code = QStringLiteral("amministrazione contabilita 01");
    QCOMPARE(code.size(), 30);
    QVERIFY(openAt(QStringLiteral("300")));
    ui().TAB_CONFIG->setTab(4);
    QVERIFY(ui().GRIDNAVREVOKE->press(QStringLiteral("NUOVO")));
    auto *control = m_form->findChild<TextField *>(field);
    QVERIFY(control && control->isEnabled());
    QLineEdit *edit = control->lineEdit();
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(edit, code);
    QCOMPARE(edit->text(), code.toUpper());
    // The text, the line edit's own margins (2 a side) and its frame.
    const int needed = edit->fontMetrics().horizontalAdvance(edit->text()) + 4
        + 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
    QVERIFY2(edit->width() >= needed, qPrintable(QStringLiteral("%1 wide, the code needs %2").arg(edit->width()).arg(needed)));
}

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
