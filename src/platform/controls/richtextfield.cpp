#include "controls/richtextfield.h"

#include "controls/framestyle.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QTextCursor>

RichTextField::RichTextField(QWidget *parent)
    : FieldControl(parent)
    , m_edit(new QPlainTextEdit(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit);
    m_edit->setStyle(FrameStyle::instance());
    setFocusProxy(m_edit);
    m_edit->setTabChangesFocus(true);
    m_edit->installEventFilter(this);
    connect(m_edit, &QPlainTextEdit::textChanged, this, &RichTextField::enforceLimit);
}

RichTextField::~RichTextField() = default;

QString RichTextField::Text() const { return m_edit->toPlainText(); }

void RichTextField::setText(const QString &text)
{
    m_settingText = true;
    m_accepted = m_maxChar > 0 ? text.left(m_maxChar) : text;
    m_edit->setPlainText(m_accepted);
    m_settingText = false;
    emit TextChanged(m_accepted);
}

int RichTextField::maxChar() const { return m_maxChar; }
void RichTextField::setMaxChar(int maxChar) { m_maxChar = maxChar; }
int RichTextField::maxWidth() const { return m_maxWidth; }

void RichTextField::setMaxWidth(int characters)
{
    m_maxWidth = characters;
    const QFontMetrics metrics(m_edit->font());
    m_edit->setMinimumWidth(metrics.averageCharWidth() * characters / 2);
    m_edit->setMinimumHeight(metrics.lineSpacing() * 3 + 8);
}

int RichTextField::SelStart() const { return m_edit->textCursor().position(); }

void RichTextField::setSelStart(int position)
{
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(qBound(0, position, int(Text().size())));
    m_edit->setTextCursor(cursor);
}

bool RichTextField::insertText(const QString &text)
{
    if (m_maxChar > 0 && Text().size() + text.size() > m_maxChar)
        return false;
    m_edit->textCursor().insertText(text);
    return true;
}

QPlainTextEdit *RichTextField::editor() const { return m_edit; }

void RichTextField::enforceLimit()
{
    if (m_settingText)
        return;
    const QString text = m_edit->toPlainText();
    if (m_maxChar > 0 && text.size() > m_maxChar) {
        // Undo the typing or pasting that went past the limit, keeping the cursor near it.
        const int cursor = qMin(SelStart() - int(text.size() - m_accepted.size()),
                                int(m_accepted.size()));
        m_settingText = true;
        m_edit->setPlainText(m_accepted);
        m_settingText = false;
        setSelStart(qMax(0, cursor));
        return;
    }
    m_accepted = text;
    emit TextChanged(text);
    emit Change();
}

bool RichTextField::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit) {
        if (event->type() == QEvent::FocusIn)
            emit GotFocus();
        else if (event->type() == QEvent::FocusOut)
            emit LostFocus();
    }
    return FieldControl::eventFilter(watched, event);
}
