#include "labelcontrol.h"

LabelControl::LabelControl(QWidget *parent)
    : QLabel(parent)
{
}

LabelControl::~LabelControl() = default;

bool LabelControl::hasBorder() const { return frameShape() != QFrame::NoFrame; }

void LabelControl::setBorder(bool border)
{
    setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
    setFrameShadow(border ? QFrame::Sunken : QFrame::Plain);
    if (border)
        setMinimumHeight(fontMetrics().height() + 6);
}

int LabelControl::labelStyle() const { return m_style; }

void LabelControl::setLabelStyle(int style)
{
    m_style = style;
    setWordWrap(style == 2);
    QFont f = font();
    f.setBold(style == 1);
    setFont(f);
}

namespace {

// The letters of a caption that can serve as its access key, the initials of its words first.
QString keyCandidates(const QString &caption)
{
    QString initials, others;
    bool wordStart = true;
    for (QChar ch : caption) {
        const QChar lower = ch.toLower();
        if (lower >= u'a' && lower <= u'z')
            (wordStart ? initials : others).append(lower);
        wordStart = !ch.isLetterOrNumber();
    }
    return initials + others;
}

} // namespace

QString LabelControl::caption() const { return m_group ? m_caption : text(); }

void LabelControl::setCaption(const QString &caption)
{
    if (!m_group) {
        setText(caption);
        return;
    }
    m_caption = caption;
    chooseAccessKey();
}

void LabelControl::setAccessKeyGroup(const KeyGroup &group)
{
    m_caption = caption();
    m_group = group;
    m_key = QChar();
    chooseAccessKey();
}

void LabelControl::chooseAccessKey()
{
    if (!m_group)
        return;
    if (!m_key.isNull()) {
        const bool shared = m_group->count(m_key) > 1;
        if (!shared && m_caption.contains(m_key, Qt::CaseInsensitive)) {
            showCaption();
            return;
        }
        m_group->remove(m_group->indexOf(m_key), 1);
        m_key = QChar();
    }
    for (QChar key : keyCandidates(m_caption)) {
        if (!m_group->contains(key)) {
            m_key = key;
            m_group->append(key);
            break;
        }
    }
    showCaption();
}

QChar LabelControl::accessKey() const { return m_key; }

void LabelControl::showCaption()
{
    QString shown = m_caption;
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    if (!m_key.isNull())
        shown.insert(int(shown.indexOf(m_key, 0, Qt::CaseInsensitive)), QLatin1Char('&'));
    setText(shown);
}
