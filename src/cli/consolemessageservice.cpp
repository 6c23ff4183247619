#include "cli/consolemessageservice.h"

ConsoleMessageService::ConsoleMessageService(QTextStream &err) : m_err(err) {}

int ConsoleMessageService::showMessage(const MessageRequest &request)
{
    m_err << request.text << Qt::endl;
    switch (request.style & MsgStyle::ButtonsMask) {
    case MsgStyle::YesNo:
    case MsgStyle::YesNoCancel: return MsgAnswer::Yes;
    case MsgStyle::AbortRetryIgnore: return MsgAnswer::Abort;
    case MsgStyle::RetryCancel: return MsgAnswer::Cancel;
    default: return MsgAnswer::Ok;
    }
}

InputResult ConsoleMessageService::inputBox(const QString &, const QString &, const QString &)
{
    return {};
}

int ConsoleMessageService::reportError(const ErrorReport &report)
{
    ++m_errors;
    m_err << report.text << Qt::endl;
    return MsgAnswer::Abort;
}
