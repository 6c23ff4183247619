#pragma once

#include <QString>
#include <QStringList>

// Styles and answers of the host's message boxes (the values the module passes and tests).
namespace MsgStyle {
enum : int {
    OkOnly = 0,
    OkCancel = 1,
    AbortRetryIgnore = 2,
    YesNoCancel = 3,
    YesNo = 4,
    RetryCancel = 5,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
    ButtonsMask = 0x0f,
    IconMask = 0x70
};
}

namespace MsgAnswer {
enum : int { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
}

struct MessageRequest
{
    int textId = 0;        // 0 when the text does not come from the text store
    QString text;          // resolved text, parameters substituted
    QStringList params;
    QString title;
    int style = MsgStyle::OkOnly;
};

struct InputResult
{
    QString text;
    bool accepted = false;
};

struct ErrorReport
{
    QString procedure;
    int number = 0;
    QString description;
    QString text;          // the message shown, built from the text store
};

// How the host talks to the user. Every message of the module reaches the user through
// one of these calls, so tests and scripts can substitute a service that never waits.
class MessageService
{
public:
    virtual ~MessageService();

    // Returns one of MsgAnswer.
    virtual int showMessage(const MessageRequest &request) = 0;
    virtual InputResult inputBox(const QString &prompt, const QString &title,
                                 const QString &defaultText) = 0;
    // Returns 3 (leave the procedure), 4 (repeat the failing step) or 5 (go on).
    virtual int reportError(const ErrorReport &report) = 0;
};
