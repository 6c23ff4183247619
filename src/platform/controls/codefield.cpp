#include "controls/codefield.h"

namespace {
QString digitsOnly(const QString &text)
{
    // Only 0-9: other scripts' digits are digits to Unicode but no code to the database.
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += c;
    }
    return digits;
}
} // namespace

CodeField::CodeField(QWidget *parent)
    : TextField(parent)
{
}

CodeField::~CodeField() = default;

void CodeField::setText(const QString &text)
{
    TextField::setText(digitsOnly(text));
}

QString CodeField::normalised(const QString &text) const
{
    return digitsOnly(text);
}
