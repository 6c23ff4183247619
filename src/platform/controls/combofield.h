#pragma once

#include "fieldcontrol.h"

class QComboBox;

// Combo of a fixed list of (caption, stored value) entries. Text is the stored value of the
// chosen entry, as text; setting a value that is not in the list selects nothing.
class ComboField : public FieldControl
{
    Q_OBJECT
    Q_PROPERTY(int ListIndex READ ListIndex WRITE setListIndex)
    Q_PROPERTY(int ListCount READ ListCount)
    Q_PROPERTY(int maxchar READ maxChar WRITE setMaxChar)

public:
    explicit ComboField(QWidget *parent = nullptr);
    ~ComboField() override;

    QString Text() const override;
    void setText(const QString &value) override;

    void AddItem(const QString &caption, const QVariant &value);
    void Clear();
    int ListCount() const;
    // Position of the chosen entry, -1 for none; a position outside the list selects none.
    int ListIndex() const;
    void setListIndex(int index);
    QString itemCaption(int index) const;
    QString itemValue(int index) const;

    // Width of the list in characters.
    int maxChar() const;
    void setMaxChar(int characters);

    QComboBox *comboBox() const;

signals:
    // The user chose another entry (not raised by code).
    void AfterChange();
    // Any change of the chosen entry; the second argument is its position.
    void ChangeRow(short *previous, short *position);

private:
    QComboBox *m_combo;
    int m_maxChar = 0;
    int m_previous = -1;
};
