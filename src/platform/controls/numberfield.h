#pragma once

#include "textfield.h"

// Number field: an optional sign, digits and one decimal separator (comma or point, shown as
// typed). The value stays text so the data frame writes what the user sees.
class NumberField : public TextField
{
    Q_OBJECT

public:
    explicit NumberField(QWidget *parent = nullptr);
    ~NumberField() override;

    double Value() const;

protected:
    QString normalised(const QString &text) const override;
};
