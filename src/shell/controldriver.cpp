#include "shell/controldriver.h"

#include "shell/shelltexts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

// The tab page a widget is, if it is one: its tab strip and its index there.
QTabWidget *tabOfPage(QWidget *page, int *index)
{
    QWidget *stack = page->parentWidget();
    if (!qobject_cast<QStackedWidget *>(stack) || !stack->parentWidget())
        return nullptr;
    auto *tabs = qobject_cast<QTabWidget *>(stack->parentWidget());
    if (tabs && index)
        *index = tabs->indexOf(page);
    return tabs;
}

// Shown by the window's rules: every widget up to the form is not hidden, except the tab pages
// that are hidden only because another tab is in front.
bool shownByWindow(QWidget *w, QWidget *form)
{
    for (QWidget *p = w; p && p != form; p = p->parentWidget()) {
        if (p->isHidden() && !tabOfPage(p, nullptr))
            return false;
    }
    return true;
}

// A caption as the user reads it: a single "&" marks the next letter as the access key and is
// not drawn; "&&" draws one "&".
QString withoutMnemonics(const QString &caption)
{
    QString shown;
    shown.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption.at(i) == QLatin1Char('&') && ++i == caption.size())
            break;
        shown.append(caption.at(i));
    }
    return shown;
}

int keyOf(QChar c)
{
    const QChar upper = c.toUpper();
    return upper.unicode() < 0x100 ? int(upper.unicode()) : int(Qt::Key_unknown);
}

void sendKey(QWidget *target, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(target, &release);
}

void sendMouse(QWidget *target, QEvent::Type type, const QPoint &at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(at), QPointF(target->mapToGlobal(at)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void click(QWidget *target, const QPoint &at, bool twice)
{
    sendMouse(target, QEvent::MouseButtonPress, at, Qt::LeftButton);
    sendMouse(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
    if (twice) {
        sendMouse(target, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
        sendMouse(target, QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
}

QTreeWidgetItem *nodeOf(QTreeWidget *tree, const QString &key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == key)
            return *it;
    }
    return nullptr;
}

bool ticked(const QString &value)
{
    bool number = false;
    const double n = value.trimmed().toDouble(&number);
    return (number && n != 0) || value.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

QStringList gridColumns(QWidget *grid)
{
    QStringList columns;
    QMetaObject::invokeMethod(grid, "columns", Qt::DirectConnection, Q_RETURN_ARG(QStringList, columns));
    return columns;
}

} // namespace

ControlDriver::ControlDriver(TextOf text) : m_text(std::move(text)) {}

void ControlDriver::setForm(QWidget *form) { m_form = form; }
QWidget *ControlDriver::form() const { return m_form; }

QWidget *ControlDriver::control(const QString &name) const
{
    QWidget *w = m_form && !name.isEmpty() ? m_form->findChild<QWidget *>(name) : nullptr;
    // A grid navigator's button goes by the navigator's name and the button's key.
    if (!w && m_form) {
        const int dot = int(name.indexOf(QLatin1Char('.')));
        if (dot > 0) {
            QWidget *owner = m_form->findChild<QWidget *>(name.left(dot));
            const QString key = name.mid(dot + 1);
            for (QToolButton *b : owner ? owner->findChildren<QToolButton *>() : QList<QToolButton *>()) {
                if (b->objectName().section(QLatin1Char('_'), -1).compare(key, Qt::CaseInsensitive) == 0)
                    w = b;
            }
        }
    }
    if (!w)
        throw ControlError{m_text(ShellText::ScriptUnknownControl, {name})};
    return w;
}

void ControlDriver::refuse(const QString &name, const QString &action) const
{
    throw ControlError{m_text(ShellText::ScriptNoAction, {name, action})};
}

bool ControlDriver::reveal(QWidget *w)
{
    QList<QWidget *> pages;
    for (QWidget *p = w; p && p != m_form; p = p->parentWidget()) {
        if (tabOfPage(p, nullptr))
            pages.prepend(p);
    }
    for (QWidget *page : std::as_const(pages)) {
        int index = -1;
        QTabWidget *tabs = tabOfPage(page, &index);
        if (tabs->currentIndex() == index)
            continue;
        if (!tabs->isTabEnabled(index))
            return false;
        tabs->setCurrentIndex(index);
    }
    return true;
}

bool ControlDriver::reachable(QWidget *w)
{
    return w->isEnabled() && shownByWindow(w, m_form) && reveal(w);
}

bool ControlDriver::takeFocus(QWidget *w, QWidget *part)
{
    if (!(part->focusPolicy() & Qt::ClickFocus))
        return true;
    // Offscreen there is no window manager to activate the window; focus events need it.
    QWidget *top = part->window();
    if (!top->isActiveWindow()) {
        top->activateWindow();
        QApplication::setActiveWindow(top);
    }
    part->setFocus(Qt::MouseFocusReason);
    // Leaving the previous field may have been refused: the window then keeps the focus there
    // and the user's keys and clicks do not reach this control.
    QWidget *focus = QApplication::focusWidget();
    return !focus || focus == part || !m_form->isAncestorOf(focus) || w->isAncestorOf(focus) || focus == w;
}

bool ControlDriver::typeInto(QWidget *w, QWidget *editor, const QString &text, bool multiLine)
{
    if ((!multiLine && (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))))
        || !takeFocus(w, editor))
        return false;
    if (auto *line = qobject_cast<QLineEdit *>(editor))
        line->selectAll();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(editor))
        plain->selectAll();
    if (text.isEmpty())
        sendKey(editor, Qt::Key_Delete, QString());
    for (const QChar c : text) {
        if (c == QLatin1Char('\n'))
            sendKey(editor, Qt::Key_Return, QStringLiteral("\r"));
        else if (c != QLatin1Char('\r'))
            sendKey(editor, keyOf(c), QString(c));
    }
    return true;
}

QString ControlDriver::value(const QString &name) const
{
    QWidget *w = control(name);
    if (w->metaObject()->indexOfProperty("Text") >= 0)
        return w->property("Text").toString();
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->buddy() ? withoutMnemonics(label->text()) : label->text();
    if (auto *tabs = qobject_cast<QTabWidget *>(w))
        return QString::number(tabs->currentIndex());
    if (auto *tree = w->findChild<QTreeWidget *>(); tree && w->inherits("TreeViewControl"))
        return tree->currentItem() ? tree->currentItem()->data(0, Qt::UserRole).toString() : QString();
    if (auto *table = w->findChild<QTableWidget *>(); table && w->inherits("GridControl"))
        return QString::number(table->currentRow());
    if (auto *list = w->findChild<QListWidget *>(); list && w->inherits("DueDateSelector")) {
        QStringList codes;
        for (int i = 0; i < list->count(); ++i) {
            if (list->item(i)->checkState() == Qt::Checked && list->item(i)->data(Qt::UserRole).toInt() != 0)
                codes << list->item(i)->data(Qt::UserRole).toString();
        }
        return codes.join(QLatin1Char(','));
    }
    refuse(name, QStringLiteral("host.value"));
}

bool ControlDriver::setValue(const QString &name, const QString &value)
{
    QWidget *w = control(name);
    const bool typed = w->inherits("TextField") || w->inherits("RichTextField");
    const bool clicked = w->inherits("ComboField") || w->inherits("CheckField") || w->inherits("DueDateSelector");
    if (!typed && !clicked)
        refuse(name, QStringLiteral("host.setValue"));
    if (!reachable(w))
        return false;

    if (w->inherits("TextField")) {
        auto *edit = w->findChild<QLineEdit *>();
        const QString before = edit->text();
        if (!typeInto(w, edit, value, false))
            return false;
        // The upper-case rule is the field's; any other difference is a key the field refused.
        const QString wanted = w->property("upperCase").toBool() ? value.toUpper() : value;
        if (edit->text() != wanted) {
            edit->setText(before);
            return false;
        }
        // Enter commits the entry: the window's checks accept or refuse it.
        bool accepted = false;
        QMetaObject::invokeMethod(w, "commit", Qt::DirectConnection, Q_RETURN_ARG(bool, accepted));
        return accepted;
    }
    if (w->inherits("RichTextField")) {
        auto *edit = w->findChild<QPlainTextEdit *>();
        const QString before = w->property("Text").toString();
        if (!typeInto(w, edit, value, true))
            return false;
        // Keys past the field's limit were refused: the text goes back to what it was.
        const bool accepted = edit->toPlainText() == value;
        if (!accepted)
            w->setProperty("Text", before);
        // The multi-line text takes Enter as a new line: the user leaves it to commit.
        edit->clearFocus();
        return accepted;
    }
    if (auto *combo = w->findChild<QComboBox *>(); combo && w->inherits("ComboField")) {
        int index = combo->findData(value.trimmed());
        if (index < 0)
            index = combo->findText(value.trimmed());
        if (index < 0 || !takeFocus(w, combo))
            return false;
        combo->setCurrentIndex(index);
        // The click on an entry, as QComboBox reports it.
        QMetaObject::invokeMethod(combo, "activated", Qt::DirectConnection, Q_ARG(int, index));
        return combo->currentIndex() == index;
    }
    if (auto *box = w->findChild<QCheckBox *>(); box && w->inherits("CheckField")) {
        const bool wanted = ticked(value);
        if (!takeFocus(w, box))
            return false;
        if (box->isChecked() != wanted)
            box->click();
        return box->isChecked() == wanted;
    }
    auto *list = w->findChild<QListWidget *>();
    if (!list)
        refuse(name, QStringLiteral("host.setValue"));
    if (!takeFocus(w, list))
        return false;
    // The due-date types: the codes to tick, separated by commas; 0 ticks them all.
    QList<int> wanted;
    for (const QString &part : value.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int code = part.trimmed().toInt(&ok);
        if (!ok)
            return false;
        wanted << code;
    }
    const auto clickItem = [list](QListWidgetItem *item, bool on) {
        if ((item->checkState() == Qt::Checked) != on)
            item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    };
    const bool all = wanted.contains(0);
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->data(Qt::UserRole).toInt() == 0)
            clickItem(list->item(i), all);
    }
    bool matches = true;
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem *item = list->item(i);
        const int code = item->data(Qt::UserRole).toInt();
        if (code == 0)
            continue;
        const bool on = all || wanted.contains(code);
        if (!all && !item->isHidden())
            clickItem(item, on);
        matches = matches && (item->checkState() == Qt::Checked) == on;
    }
    return matches;
}

bool ControlDriver::isEnabled(const QString &name) const
{
    return control(name)->isEnabled();
}

bool ControlDriver::isVisible(const QString &name) const
{
    return shownByWindow(control(name), m_form);
}

QString ControlDriver::caption(const QString &name) const
{
    QWidget *w = control(name);
    // Tabs, buttons and frame titles always draw "&" as an access-key mark; a label only when it
    // has a buddy to hand the key to.
    if (auto *tabs = qobject_cast<QTabWidget *>(w))
        return withoutMnemonics(tabs->tabText(tabs->currentIndex()));
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text().isEmpty() ? button->toolTip() : withoutMnemonics(button->text());
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->buddy() ? withoutMnemonics(label->text()) : label->text();
    if (auto *frame = qobject_cast<QGroupBox *>(w))
        return withoutMnemonics(frame->title());
    if (w->metaObject()->indexOfProperty("caption") >= 0)
        return w->property("caption").toString();
    refuse(name, QStringLiteral("host.caption"));
}

QVariantList ControlDriver::items(const QString &name) const
{
    QWidget *w = control(name);
    QVariantList entries;
    const auto entry = [&entries](const QString &value, const QString &caption) {
        entries.append(QVariantMap{{QStringLiteral("value"), value}, {QStringLiteral("caption"), caption}});
    };
    if (auto *combo = w->findChild<QComboBox *>(); combo && w->inherits("ComboField")) {
        for (int i = 0; i < combo->count(); ++i)
            entry(combo->itemData(i).toString(), combo->itemText(i));
    } else if (auto *list = w->findChild<QListWidget *>(); list && w->inherits("DueDateSelector")) {
        for (int i = 0; i < list->count(); ++i) {
            if (!list->item(i)->isHidden())
                entry(list->item(i)->data(Qt::UserRole).toString(), list->item(i)->text());
        }
    } else if (auto *tree = w->findChild<QTreeWidget *>(); tree && w->inherits("TreeViewControl")) {
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            entry((*it)->data(0, Qt::UserRole).toString(), (*it)->text(0));
    } else {
        refuse(name, QStringLiteral("host.items"));
    }
    return entries;
}

bool ControlDriver::press(const QString &name)
{
    auto *button = qobject_cast<QAbstractButton *>(control(name));
    if (!button)
        refuse(name, QStringLiteral("host.press"));
    if (!reachable(button))
        return false;
    // The click takes the focus first: a field that refuses to be left keeps it, and the
    // button is not pressed.
    if (!takeFocus(button, button))
        return false;
    // A grid navigator's button answers whether its frame acted on the press.
    QWidget *owner = button->parentWidget();
    if (owner && owner->inherits("GridNavigator")) {
        bool done = false;
        QMetaObject::invokeMethod(owner, "press", Qt::DirectConnection, Q_RETURN_ARG(bool, done),
                                  Q_ARG(QString, button->objectName().section(QLatin1Char('_'), -1)));
        return done;
    }
    button->click();
    return true;
}

bool ControlDriver::select(const QString &treeName, const QString &key)
{
    QWidget *w = control(treeName);
    auto *tree = w->findChild<QTreeWidget *>();
    if (!tree || !w->inherits("TreeViewControl"))
        refuse(treeName, QStringLiteral("host.select"));
    QTreeWidgetItem *node = nodeOf(tree, key);
    if (!node || !reachable(w))
        return false;
    // The user opens the heading to reach the node, then clicks it.
    for (QTreeWidgetItem *p = node->parent(); p; p = p->parent())
        p->setExpanded(true);
    tree->scrollToItem(node);
    click(tree->viewport(), tree->visualItemRect(node).center(), false);
    return tree->currentItem() == node;
}

bool ControlDriver::doubleClickNode(const QString &treeName, const QString &key)
{
    if (!select(treeName, key))
        return false;
    auto *tree = control(treeName)->findChild<QTreeWidget *>();
    QTreeWidgetItem *node = tree->currentItem();
    // The first click is done: the double click's own press and release follow it.
    const QPoint at = tree->visualItemRect(node).center();
    sendMouse(tree->viewport(), QEvent::MouseButtonDblClick, at, Qt::LeftButton);
    sendMouse(tree->viewport(), QEvent::MouseButtonRelease, at, Qt::NoButton);
    return true;
}

QVariantList ControlDriver::rows(const QString &gridName) const
{
    QWidget *w = control(gridName);
    if (!w->inherits("GridControl"))
        refuse(gridName, QStringLiteral("host.rows"));
    const QStringList columns = gridColumns(w);
    int count = 0;
    QMetaObject::invokeMethod(w, "rowCount", Qt::DirectConnection, Q_RETURN_ARG(int, count));
    QVariantList result;
    for (int row = 0; row < count; ++row) {
        QVariantMap cells;
        for (const QString &column : columns) {
            QString text;
            QMetaObject::invokeMethod(w, "cellText", Qt::DirectConnection, Q_RETURN_ARG(QString, text),
                                      Q_ARG(int, row), Q_ARG(QString, column));
            cells.insert(column, text);
        }
        result.append(cells);
    }
    return result;
}

bool ControlDriver::clickRow(const QString &gridName, int index)
{
    QWidget *w = control(gridName);
    auto *table = w->findChild<QTableWidget *>();
    if (!table || !w->inherits("GridControl"))
        refuse(gridName, QStringLiteral("host.clickRow"));
    if (index < 0 || index >= table->rowCount() || !reachable(w))
        return false;
    int column = 0;
    while (column < table->columnCount() && table->isColumnHidden(column))
        ++column;
    if (column >= table->columnCount())
        return false;
    const QModelIndex cell = table->model()->index(index, column);
    table->scrollTo(cell);
    click(table->viewport(), table->visualRect(cell).center(), false);
    return table->currentRow() == index;
}

bool ControlDriver::doubleClickRow(const QString &gridName, int index, const QString &columnName)
{
    QWidget *w = control(gridName);
    auto *table = w->findChild<QTableWidget *>();
    if (!table || !w->inherits("GridControl"))
        refuse(gridName, QStringLiteral("host.doubleClick"));
    const int column = int(gridColumns(w).indexOf(columnName));
    if (column < 0)
        throw ControlError{m_text(ShellText::ScriptUnknownColumn, {gridName, columnName})};
    if (index < 0 || index >= table->rowCount() || table->isColumnHidden(column) || !reachable(w))
        return false;
    const QModelIndex cell = table->model()->index(index, column);
    table->scrollTo(cell);
    click(table->viewport(), table->visualRect(cell).center(), true);
    return table->currentRow() == index;
}

QString ControlDriver::focused() const
{
    if (!m_form)
        return {};
    for (QWidget *p = QApplication::focusWidget(); p && p != m_form; p = p->parentWidget()) {
        const QString name = p->objectName();
        if (!name.isEmpty() && !name.startsWith(QLatin1String("qt_")) && m_form->findChild<QWidget *>(name) == p)
            return name;
    }
    return {};
}

int ControlDriver::tab() const
{
    const QTabWidget *tabs = m_form ? m_form->findChild<QTabWidget *>() : nullptr;
    return tabs ? tabs->currentIndex() : -1;
}

bool ControlDriver::setTab(int index)
{
    QTabWidget *tabs = m_form ? m_form->findChild<QTabWidget *>() : nullptr;
    if (!tabs)
        throw ControlError{m_text(ShellText::ScriptUnknownControl, {QStringLiteral("TAB")})};
    if (index < 0 || index >= tabs->count() || !tabs->isTabEnabled(index) || !tabs->isEnabled())
        return false;
    tabs->setCurrentIndex(index);
    return tabs->currentIndex() == index;
}
