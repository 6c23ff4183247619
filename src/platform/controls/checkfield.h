#pragma once

#include "controls/fieldcontrol.h"

class QCheckBox;

// Check box carrying "0" or "1" as its text, as the columns store it. Narrow boxes after a
// label keep their caption as a description only (showCaption false).
class CheckField : public FieldControl
{
    Q_OBJECT
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(bool showCaption READ showCaption WRITE setShowCaption)

public:
    explicit CheckField(QWidget *parent = nullptr);
    ~CheckField() override;

    QString Text() const override;
    // "1" (or any non-zero number, or "True") ticks the box; anything else clears it.
    void setText(const QString &text) override;
    bool Value() const;
    void setValue(bool ticked);

    bool showCaption() const;
    void setShowCaption(bool show);

    QCheckBox *checkBox() const;

signals:
    // The user ticked or cleared the box (not raised by code).
    void Click();

protected:
    void captionChanged() override;

private:
    QCheckBox *m_box;
    bool m_showCaption = true;
};
