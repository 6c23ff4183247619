#include "controls/labelcontrol.h"

#include "controls/framestyle.h"

#include <QHash>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>

#include <functional>

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
    if (border) {
        setMinimumHeight(fontMetrics().height() + 6);
        setStyle(FrameStyle::instance());
    }
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

void LabelControl::setAccessKeyGroup(const KeyGroup &group, QChar preferred)
{
    m_caption = caption();
    m_group = group;
    m_key = QChar();
    // Kept by chooseAccessKey() when the caption holds it; otherwise chosen again.
    if (!preferred.isNull() && !m_group->contains(preferred)) {
        m_key = preferred;
        m_group->append(preferred);
    }
    chooseAccessKey();
}

QList<QChar> LabelControl::matchAccessKeys(const QStringList &captions, const QString &taken)
{
    QList<QString> candidates;
    for (const QString &caption : captions)
        candidates.append(keyCandidates(caption));
    QHash<QChar, int> owner;  // letter -> label
    // Gives label i a free letter, or else moves an earlier label to another of its letters
    // where that frees one; a free letter first, so labels keep their initials where they can.
    std::function<bool(int, QString &)> place = [&](int i, QString &tried) {
        for (QChar key : std::as_const(candidates[i])) {
            if (!taken.contains(key) && !owner.contains(key)) {
                owner.insert(key, i);
                return true;
            }
        }
        for (QChar key : std::as_const(candidates[i])) {
            if (taken.contains(key) || tried.contains(key))
                continue;
            tried.append(key);
            const auto it = owner.constFind(key);
            if (it == owner.constEnd() || place(it.value(), tried)) {
                owner.insert(key, i);
                return true;
            }
        }
        return false;
    };
    for (int i = 0; i < captions.size(); ++i) {
        QString tried;
        place(i, tried);
    }
    QList<QChar> keys(captions.size());
    for (auto it = owner.constBegin(); it != owner.constEnd(); ++it)
        keys[it.value()] = it.key();
    return keys;
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

bool LabelControl::Measured::operator==(const Measured &other) const
{
    return text == other.text && font == other.font && alignment == other.alignment && indent == other.indent
        && margin == other.margin && frameWidth == other.frameWidth && contents == other.contents
        && minimum == other.minimum && mnemonic == other.mnemonic && style == other.style;
}

std::optional<QSize> LabelControl::plainTextHint() const
{
    const QString shown = text();
    const Qt::TextInteractionFlags selectable = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
    const bool rich = textFormat() == Qt::RichText || (textFormat() == Qt::AutoText && Qt::mightBeRichText(shown));
    if (shown.isEmpty() || wordWrap() || rich || (textInteractionFlags() & selectable))
        return std::nullopt;
    Measured now;
    now.text = shown;
    now.font = font();
    now.alignment = alignment();
    now.indent = indent();
    now.margin = margin();
    now.frameWidth = frameWidth();
    now.contents = contentsMargins();
    now.minimum = minimumSize();
    now.mnemonic = buddy() && shown.contains(u'&');
    now.style = style();
    if (m_measured && *m_measured == now)
        return m_measured->size;

    // Unwrapped, the text's extent does not depend on the width offered, so the one measurement
    // stands for the preferred size and for the minimum one.
    const QFontMetrics metrics = fontMetrics();
    const Qt::LayoutDirection direction = shown.isRightToLeft() ? Qt::RightToLeft : Qt::LeftToRight;
    const int align = int(QStyle::visualAlignment(direction, now.alignment));
    int hextra = 2 * now.margin;
    int vextra = hextra;
    int extraIndent = now.indent;
    if (extraIndent < 0 && now.frameWidth)
        extraIndent = metrics.horizontalAdvance(u'x') - now.margin * 2;
    if (extraIndent > 0) {
        if (align & (Qt::AlignLeft | Qt::AlignRight))
            hextra += extraIndent;
        if (align & (Qt::AlignTop | Qt::AlignBottom))
            vextra += extraIndent;
    }
    int flags = align & ~(Qt::AlignVCenter | Qt::AlignHCenter);
    if (now.mnemonic) {
        flags |= Qt::TextShowMnemonic;
        QStyleOption option;
        option.initFrom(this);
        if (!style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this))
            flags |= Qt::TextHideMnemonic;
    }
    const int width = (now.minimum.width() > 0 ? now.minimum.width() : 2000) - hextra - now.contents.left()
        - now.contents.right();
    const QRect bounds = metrics.boundingRect(0, 0, width, 2000, flags, shown);
    now.size = QSize(bounds.width() + hextra + now.contents.left() + now.contents.right(),
                     bounds.height() + vextra + now.contents.top() + now.contents.bottom())
                   .expandedTo(now.minimum);
    m_measured = now;
    return now.size;
}

QSize LabelControl::sizeHint() const
{
    ensurePolished();
    const std::optional<QSize> plain = plainTextHint();
    return plain ? *plain : QLabel::sizeHint();
}

QSize LabelControl::minimumSizeHint() const
{
    ensurePolished();
    const std::optional<QSize> plain = plainTextHint();
    return plain ? *plain : QLabel::minimumSizeHint();
}
