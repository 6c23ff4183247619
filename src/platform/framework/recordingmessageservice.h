#pragma once

#include "framework/messageservice.h"

#include <QList>
#include <QQueue>

#include <functional>

// Message service for tests and scripts: records every call and answers from a queue, so
// nothing ever waits for a click. When the queue is empty the default answer is given.
class RecordingMessageService : public MessageService
{
public:
    enum class Kind { Message, Input, Error };

    struct Call
    {
        Kind kind = Kind::Message;
        MessageRequest message;          // Kind::Message; text id, text, params, title, style
        QString prompt, defaultText;     // Kind::Input (title in message.title)
        ErrorReport error;               // Kind::Error
        bool answered = true;            // Kind::Error: false when it got the default answer
    };

    RecordingMessageService();
    ~RecordingMessageService() override;

    int showMessage(const MessageRequest &request) override;
    InputResult inputBox(const QString &prompt, const QString &title,
                         const QString &defaultText) override;
    int reportError(const ErrorReport &report) override;

    void enqueueAnswer(int answer);
    void enqueueInput(const QString &text, bool accepted = true);
    void enqueueErrorAnswer(int answer);
    void setDefaultAnswer(int answer);        // initially MsgAnswer::Ok
    void setDefaultErrorAnswer(int answer);   // initially 3: leave, so a repeating step cannot loop
    // One queue for both, as a script gives its answers: an error report without an answer of
    // its own takes the next answer queued for the message boxes.
    void setErrorsAnsweredFromMessageQueue(bool shared);
    // Told of each error report that found no answer queued, as it happens.
    void setUnansweredErrorHandler(std::function<void(const ErrorReport &)> handler);

    const QList<Call> &calls() const;
    QList<Call> callsOf(Kind kind) const;
    void clear();

private:
    QList<Call> m_calls;
    QQueue<int> m_answers;
    QQueue<InputResult> m_inputs;
    QQueue<int> m_errorAnswers;
    int m_defaultAnswer = MsgAnswer::Ok;
    int m_defaultErrorAnswer = MsgAnswer::Abort;
    bool m_sharedQueue = false;
    std::function<void(const ErrorReport &)> m_unanswered;
};
