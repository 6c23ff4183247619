#include "controls/numberfield.h"

#include <QLineEdit>

NumberField::NumberField(QWidget *parent)
    : TextField(parent)
{
    lineEdit()->setAlignment(Qt::AlignRight);
}

NumberField::~NumberField() = default;

double NumberField::Value() const
{
    QString text = Text();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return text.toDouble();
}

bool NumberField::isWholeNumber() const { return m_whole; }
void NumberField::setWholeNumber(bool whole) { m_whole = whole; }

QString NumberField::normalised(const QString &text) const
{
    QString kept;
    bool separator = false;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            kept += c;
        } else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && !separator && !m_whole) {
            separator = true;
            kept += c;
        } else if (c == QLatin1Char('-') && kept.isEmpty()) {
            kept += c;
        }
    }
    return kept;
}
