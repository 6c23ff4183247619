#pragma once

#include "controls/fieldcontrol.h"

#include <QHash>

class QComboBox;

// Combo of a fixed list of (caption, stored value) entries. Text is the stored value of the
// chosen entry, as text; setting a value that is not in the list selects nothing, but a stored
// value the list does not offer is shown as an entry of its own (showStored), as it is.
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

    // Shows the value a row holds: its entry, or an entry added for it when the list does not
    // offer it (dropped again when another row is shown or the list is rebuilt).
    Q_INVOKABLE void showStored(const QString &value);
    // Captions of values the list may not offer, for the entry showStored adds; a value
    // without one is shown as it is.
    void setOutsideCaptions(const QHash<QString, QString> &captions);
    bool isOutside(int index) const;

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
    QHash<QString, QString> m_outsideCaptions;
};
