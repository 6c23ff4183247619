#pragma once

#include "framework/messageservice.h"

#include <QTextStream>

// Messages of the tool go to the error stream; nobody is there to answer, so questions take
// their first answer and an error leaves the procedure.
class ConsoleMessageService : public MessageService
{
public:
    explicit ConsoleMessageService(QTextStream &err);

    int showMessage(const MessageRequest &request) override;
    InputResult inputBox(const QString &prompt, const QString &title, const QString &defaultText) override;
    int reportError(const ErrorReport &report) override;

    int errorCount() const { return m_errors; }

private:
    QTextStream &m_err;
    int m_errors = 0;
};
