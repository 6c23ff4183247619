#include "window/formkeyboard.h"

#include "window/formui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>

namespace {

bool takesTabFocus(const QWidget *w)
{
    return w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

} // namespace

FormKeyboard::FormKeyboard(QWidget *form, FormUi &ui) : QObject(form), m_form(form), m_ui(ui)
{
    // On the application: the host's MDI area reads Ctrl+Tab before the form's controls do.
    qApp->installEventFilter(this);
}

FormKeyboard::~FormKeyboard()
{
    qApp->removeEventFilter(this);
}

int FormKeyboard::tabStep(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
    if (!(mods & Qt::ControlModifier) || (mods & (Qt::AltModifier | Qt::MetaModifier)))
        return 0;
    const bool shift = mods & Qt::ShiftModifier;
    switch (key->key()) {
    case Qt::Key_Tab: return shift ? -1 : 1;
    case Qt::Key_Backtab: return -1;
    case Qt::Key_PageDown: return shift ? 0 : 1;
    case Qt::Key_PageUp: return shift ? 0 : -1;
    default: return 0;
    }
}

bool FormKeyboard::typesWithAlt(const QKeyEvent *key)
{
    const Qt::KeyboardModifiers mods = key->modifiers();
    const QString text = key->text();
    return (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier) && !text.isEmpty() && text.at(0).isPrint();
}

bool FormKeyboard::inForm(const QWidget *widget) const
{
    return widget && (widget == m_form || m_form->isAncestorOf(widget));
}

bool FormKeyboard::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!inForm(widget))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (const int step = tabStep(key)) {
        // Claimed at the override, so no shortcut of the host takes it; acted on once, at the press.
        key->accept();
        if (type == QEvent::KeyPress && m_ui.TAB_CONFIG->stepTab(step))
            focusFirstField();
        return true;
    }
    if (type != QEvent::KeyPress)
        return false;
    if (typesWithAlt(key)) {
        // Reached here, no access key took it: no letter typed, nothing changed.
        QApplication::beep();
        return true;
    }
    if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::NoModifier && m_ui.INTERNAV->isAncestorOf(widget)) {
        QWidget *next = nextStop(widget);
        if (!next || !m_ui.INTERNAV->isAncestorOf(next)) {
            focusHeader();
            return true;
        }
    }
    return false;
}

QWidget *FormKeyboard::nextStop(QWidget *from)
{
    QWidget *w = from;
    // The chain is a ring over the whole window: once round at most.
    for (int guard = 0; guard < 10000; ++guard) {
        w = w->nextInFocusChain();
        if (!w || w == from)
            return nullptr;
        if (takesTabFocus(w))
            return w;
    }
    return nullptr;
}

void FormKeyboard::focusHeader()
{
    for (TextField *field : {static_cast<TextField *>(m_ui.TXT_CAUSALE), m_ui.TXT_DESCRIZIONE}) {
        QWidget *editor = field->lineEdit();
        if (editor->isEnabled() && editor->isVisible()) {
            editor->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    m_ui.TAB_CONFIG->tabBar()->setFocus(Qt::TabFocusReason);
}

void FormKeyboard::focusFirstField()
{
    QWidget *page = m_ui.TAB_CONFIG->currentWidget();
    QWidget *bar = m_ui.TAB_CONFIG->tabBar();
    QWidget *w = bar;
    QWidget *button = nullptr;
    for (int guard = 0; page && guard < 10000; ++guard) {
        w = w->nextInFocusChain();
        if (!w || w == bar)
            break;
        if (!page->isAncestorOf(w) || !takesTabFocus(w))
            continue;
        // A field first; a button only on a tab without one.
        if (qobject_cast<QAbstractButton *>(w) && !qobject_cast<QAbstractButton *>(w)->isCheckable()) {
            if (!button)
                button = w;
            continue;
        }
        w->setFocus(Qt::TabFocusReason);
        return;
    }
    if (button) {
        button->setFocus(Qt::TabFocusReason);
        return;
    }
    focusHeader();
}
