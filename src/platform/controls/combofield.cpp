#include "combofield.h"

#include <QComboBox>
#include <QHBoxLayout>

ComboField::ComboField(QWidget *parent)
    : FieldControl(parent)
    , m_combo(new QComboBox(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_combo);
    setFocusProxy(m_combo);
    // As wide as the longest entry, so no entry is cut, and at least maxchar characters wide.
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);

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
}

QComboBox *ComboField::comboBox() const { return m_combo; }
