#pragma once

#include "controls/textfield.h"

// Numeric code field (the causal codes): digits only, at most maxchar of them.
class CodeField : public TextField
{
    Q_OBJECT
    Q_PROPERTY(bool obbligatorio READ isRequired WRITE setRequired)

public:
    explicit CodeField(QWidget *parent = nullptr);
    ~CodeField() override;

    void setText(const QString &text) override;

protected:
    QString normalised(const QString &text) const override;
};
