#pragma once

#include "controls/fieldcontrol.h"

class QPlainTextEdit;

// Multi-line text of limited length (the parametric posting-line text). Text beyond maxchar
// is refused as it is typed or pasted, never cut silently from what is stored.
class RichTextField : public FieldControl
{
    Q_OBJECT
    Q_PROPERTY(int maxchar READ maxChar WRITE setMaxChar)
    Q_PROPERTY(int maxwidth READ maxWidth WRITE setMaxWidth)
    Q_PROPERTY(int SelStart READ SelStart WRITE setSelStart)

public:
    explicit RichTextField(QWidget *parent = nullptr);
    ~RichTextField() override;

    QString Text() const override;
    void setText(const QString &text) override;

    int maxChar() const;
    void setMaxChar(int maxChar);
    int maxWidth() const;
    void setMaxWidth(int characters);

    // Cursor position, where an inserted placeholder goes.
    int SelStart() const;
    void setSelStart(int position);
    // Inserts at the cursor when the result stays within maxchar; false otherwise.
    bool insertText(const QString &text);

    QPlainTextEdit *editor() const;

signals:
    void GotFocus();
    void LostFocus();
    void Change();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void enforceLimit();

    QPlainTextEdit *m_edit;
    QString m_accepted;
    int m_maxChar = 0;
    int m_maxWidth = 0;
    bool m_settingText = false;
};
