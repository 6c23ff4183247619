#include "controls/combofield.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QtMath>

namespace {

// As wide as its widest entry, following the entries as they change. Measured from the entries'
// texts: Qt's own adjusting to the contents builds the popup list to do it, in every combo of
// the window while it opens, though the user opens few of them.
class ContentsComboBox : public QComboBox
{
public:
    explicit ContentsComboBox(QWidget *parent) : QComboBox(parent)
    {
        QAbstractItemModel *entries = model();
        const auto changed = [this] {
            m_hint = QSize();
            updateGeometry();
        };
        connect(entries, &QAbstractItemModel::rowsInserted, this, changed);
        connect(entries, &QAbstractItemModel::rowsRemoved, this, changed);
        connect(entries, &QAbstractItemModel::dataChanged, this, changed);
        connect(entries, &QAbstractItemModel::modelReset, this, changed);
    }

    QSize sizeHint() const override
    {
        if (!m_hint.isValid() || m_hintLength != minimumContentsLength()) {
            m_hintLength = minimumContentsLength();
            const QFontMetrics metrics = fontMetrics();
            // An empty list keeps room for a few characters.
            int width = count() == 0 ? 7 * metrics.horizontalAdvance(u'x') : 0;
            for (int i = 0; i < count(); ++i)
                width = qMax(width, metrics.boundingRect(itemText(i)).width());
            width = qMax(width, minimumContentsLength() * metrics.horizontalAdvance(u'X'));
            const int height = qMax(qCeil(QFontMetricsF(metrics).height()), 14) + 2;
            QStyleOptionComboBox option;
            initStyleOption(&option);
            m_hint = style()->sizeFromContents(QStyle::CT_ComboBox, &option, QSize(width, height), this);
        }
        return m_hint;
    }

protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            m_hint = QSize();
        // A combo's font changes each time the form moves it into its frame: QComboBox would
        // build the list to pass the font on. The list, a window of the combo's own, takes
        // the font from the combo anyway.
        if (event->type() == QEvent::FontChange) {
            QWidget::changeEvent(event);
            return;
        }
        QComboBox::changeEvent(event);
    }

private:
    mutable QSize m_hint;
    mutable int m_hintLength = 0;
};

} // namespace

ComboField::ComboField(QWidget *parent)
    : FieldControl(parent)
    , m_combo(new ContentsComboBox(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_combo);
    setFocusProxy(m_combo);
    // As wide as the longest entry (ContentsComboBox), so no entry is cut, and at least maxchar
    // characters wide.

    connect(m_combo, &QComboBox::currentIndexChanged, this, [this](int index) {
        short previous = short(m_previous);
        short position = short(index);
        m_previous = index;
        emit TextChanged(Text());
        emit ChangeRow(&previous, &position);
    });
    connect(m_combo, &QComboBox::activated, this, [this](int) { emit AfterChange(); });
}

ComboField::~ComboField() = default;

QString ComboField::Text() const
{
    return itemValue(m_combo->currentIndex());
}

void ComboField::setText(const QString &value)
{
    m_combo->setCurrentIndex(m_combo->findData(value.trimmed()));
}

namespace {
constexpr int OutsideRole = Qt::UserRole + 1;
}

void ComboField::showStored(const QString &value)
{
    const QString wanted = value.trimmed();
    for (int i = m_combo->count() - 1; i >= 0; --i) {
        if (isOutside(i) && m_combo->itemData(i).toString() != wanted)
            m_combo->removeItem(i);
    }
    int index = m_combo->findData(wanted);
    if (index < 0 && !wanted.isEmpty()) {
        m_combo->addItem(m_outsideCaptions.value(wanted, wanted), wanted);
        index = m_combo->count() - 1;
        m_combo->setItemData(index, true, OutsideRole);
    }
    m_combo->setCurrentIndex(index);
}

void ComboField::setOutsideCaptions(const QHash<QString, QString> &captions) { m_outsideCaptions = captions; }

bool ComboField::isOutside(int index) const { return m_combo->itemData(index, OutsideRole).toBool(); }

void ComboField::AddItem(const QString &caption, const QVariant &value)
{
    m_combo->addItem(caption, value.toString());
}

void ComboField::Clear()
{
    m_combo->clear();
}

int ComboField::ListCount() const { return m_combo->count(); }
int ComboField::ListIndex() const { return m_combo->currentIndex(); }

void ComboField::setListIndex(int index)
{
    m_combo->setCurrentIndex(index >= 0 && index < m_combo->count() ? index : -1);
}

QString ComboField::itemCaption(int index) const { return m_combo->itemText(index); }

QString ComboField::itemValue(int index) const
{
    return index >= 0 ? m_combo->itemData(index).toString() : QString();
}

int ComboField::maxChar() const { return m_maxChar; }

void ComboField::setMaxChar(int characters)
{
    m_maxChar = characters;
    m_combo->setMinimumContentsLength(qMin(characters, 40));
    m_combo->updateGeometry();
}

QComboBox *ComboField::comboBox() const { return m_combo; }
