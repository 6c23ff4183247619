#include "codefield.h"

namespace {
QString digitsOnly(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c.isDigit())
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
