#pragma once

#include "controls/textfield.h"

// Number field: an optional sign, digits and one decimal separator (comma or point, shown as
// typed), none for a whole number. The value stays text; the binding of the field turns it
// into the number its column holds.
class NumberField : public TextField
{
    Q_OBJECT

public:
    explicit NumberField(QWidget *parent = nullptr);
    ~NumberField() override;

    double Value() const;
    bool isWholeNumber() const;
    void setWholeNumber(bool whole);

protected:
    QString normalised(const QString &text) const override;

private:
    bool m_whole = false;
};
