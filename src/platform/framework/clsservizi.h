#pragma once

#include "framework/errortrap.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class Cinterface;
class ClsGlobal;
namespace ado { class Connection; }

// The services object of one form: error trap, null-to-default, text escaping and the
// form's message box.
class ClsServizi
{
public:
    // Kinds of the form's message box.
    enum class StyleCode { Plain = 0, Critical = 1, Warning = 2, Information = 3, Question = 4 };

    explicit ClsServizi(ClsGlobal *global);
    ~ClsServizi();

    void Prepara();
    void Inizializza(Cinterface *contract, std::shared_ptr<ado::Connection> connection,
                     const QString &applicationTitle, quintptr windowHandle, const QString &formCaption);
    void Termina();

    Cinterface *contract() const;
    std::shared_ptr<ado::Connection> connection() const;
    QString applicationTitle() const;
    QString formCaption() const;

    ErrorTrap &errorTrap();
    ErrorTrap::Outcome runTrapped(const QString &procedure, std::initializer_list<TrapStep> steps);
    static ErrorTrap::Outcome runIgnoringErrors(std::initializer_list<TrapStep> steps);

    // The value, or the default when the value is missing (an invalid variant) or null.
    static QVariant nullToDefault(const QVariant &value, const QVariant &defaultValue);
    // The text made safe to stand between single quotes in a statement.
    static QString escapeText(const QString &text);

    // The form's message box. textId is a text id written as text (a text that is not a
    // number is shown as it is); extraText, when given, follows on a line of its own; an
    // empty caption gives the form's caption. Returns the answer (MsgAnswer).
    int MsgBox(const QString &caption, const QString &textId, const QString &extraText = {},
               const QStringList &params = {}, StyleCode styleCode = StyleCode::Warning);
    // The message-service style of a style code.
    static int messageStyle(StyleCode styleCode);

private:
    QPointer<ClsGlobal> m_global;
    ErrorTrap m_trap;
    Cinterface *m_contract = nullptr;
    std::shared_ptr<ado::Connection> m_connection;
    QString m_applicationTitle;
    quintptr m_windowHandle = 0;
    QString m_formCaption;
};
