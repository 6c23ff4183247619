#include "controls/checkfield.h"

#include <QCheckBox>
#include <QHBoxLayout>

CheckField::CheckField(QWidget *parent)
    : FieldControl(parent)
    , m_box(new QCheckBox(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_box);
    setFocusProxy(m_box);
    connect(m_box, &QCheckBox::toggled, this, [this] { emit TextChanged(Text()); });
    connect(m_box, &QCheckBox::clicked, this, &CheckField::Click);
}

CheckField::~CheckField() = default;

QString CheckField::Text() const
{
    return m_box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

void CheckField::setText(const QString &text)
{
    const QString value = text.trimmed();
    bool number = false;
    const double n = value.toDouble(&number);
    setValue((number && n != 0) || value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
}

bool CheckField::Value() const { return m_box->isChecked(); }
void CheckField::setValue(bool ticked) { m_box->setChecked(ticked); }

bool CheckField::showCaption() const { return m_showCaption; }

void CheckField::setShowCaption(bool show)
{
    m_showCaption = show;
    captionChanged();
}

QCheckBox *CheckField::checkBox() const { return m_box; }

void CheckField::captionChanged()
{
    // The caption is shown as written: an "&" in a description is no access-key mark.
    m_box->setText(m_showCaption ? QString(caption()).replace(QLatin1Char('&'), QLatin1String("&&")) : QString());
    m_box->setToolTip(m_showCaption ? QString() : caption());
}
