#pragma once

#include <QObject>

class FormUi;
class QKeyEvent;
class QWidget;

// The window's keys that no single control owns. Ctrl+Tab, Ctrl+PgDown and their reverse show
// the next or previous tab wherever the focus is, before a control or the host's MDI area can
// read them as its own keys; an Alt combination that nothing on screen takes types nothing;
// Tab from the record navigator goes back to the header.
class FormKeyboard : public QObject
{
    Q_OBJECT
public:
    FormKeyboard(QWidget *form, FormUi &ui);
    ~FormKeyboard() override;

    // Gives the focus to the first field of the tab in front that takes it, else to the
    // header: after a causal is shown the user types straight into it.
    void focusFirstField();

    // 1 for a key that shows the next tab, -1 for the previous, 0 for any other key.
    static int tabStep(const QKeyEvent *key);
    // A combination with Alt (and not AltGr, which arrives with Ctrl) that would type its letter.
    static bool typesWithAlt(const QKeyEvent *key);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool inForm(const QWidget *widget) const;
    // The first widget after `from` in the focus chain that Tab stops at.
    static QWidget *nextStop(QWidget *from);
    void focusHeader();

    QWidget *m_form;
    FormUi &m_ui;
};
