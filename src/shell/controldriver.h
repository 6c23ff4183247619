#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>

// A call a control cannot take: no control of that name, an action the control does not have,
// a column the grid does not hold. The text, from the shell's text store, names it.
struct ControlError
{
    QString text;
};

// The user's hands on the window: finds a control by its design name and acts on it as the
// keyboard and the mouse do (key events through the control's own rules, clicks on buttons,
// grid rows and tree nodes), and reads what the screen shows. The controls live in the
// plug-in, so they are reached through Qt's meta-object system and their standard Qt parts,
// never through their C++ types.
class ControlDriver
{
public:
    using TextOf = std::function<QString(int id, const QStringList &args)>;

    explicit ControlDriver(TextOf text);

    void setForm(QWidget *form);
    QWidget *form() const;

    QString value(const QString &name) const;
    bool setValue(const QString &name, const QString &value);
    bool isEnabled(const QString &name) const;
    bool isVisible(const QString &name) const;
    QString caption(const QString &name) const;
    QVariantList items(const QString &name) const;

    // A button of the window, or a grid navigator's button as "NAME.KEY"; true when it acted.
    bool press(const QString &name);

    bool select(const QString &tree, const QString &key);
    QVariantList rows(const QString &grid) const;
    bool clickRow(const QString &grid, int index);
    bool doubleClickRow(const QString &grid, int index, const QString &column);
    bool doubleClickNode(const QString &tree, const QString &key);

    QString focused() const;
    int tab() const;
    bool setTab(int index);

private:
    QWidget *control(const QString &name) const;   // throws ControlError when unknown
    [[noreturn]] void refuse(const QString &name, const QString &action) const;
    // Brings the tab page holding the control to the front, as the user clicks its tab; false
    // when a tab on the way is disabled.
    bool reveal(QWidget *w);
    bool reachable(QWidget *w);
    // Gives the focus to a part of the control as a click does; false when the window keeps it
    // in another control (a field that refuses to be left).
    bool takeFocus(QWidget *w, QWidget *part);
    bool typeInto(QWidget *w, QWidget *editor, const QString &text, bool multiLine);

    TextOf m_text;
    QPointer<QWidget> m_form;
};
