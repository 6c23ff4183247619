#include "framework/recordingmessageservice.h"

RecordingMessageService::RecordingMessageService() = default;
RecordingMessageService::~RecordingMessageService() = default;

int RecordingMessageService::showMessage(const MessageRequest &request)
{
    Call call;
    call.kind = Kind::Message;
    call.message = request;
    m_calls.append(call);
    return m_answers.isEmpty() ? m_defaultAnswer : m_answers.dequeue();
}

InputResult RecordingMessageService::inputBox(const QString &prompt, const QString &title,
                                              const QString &defaultText)
{
    Call call;
    call.kind = Kind::Input;
    call.prompt = prompt;
    call.message.title = title;
    call.defaultText = defaultText;
    m_calls.append(call);
    return m_inputs.isEmpty() ? InputResult{defaultText, false} : m_inputs.dequeue();
}

int RecordingMessageService::reportError(const ErrorReport &report)
{
    Call call;
    call.kind = Kind::Error;
    call.error = report;
    int answer = m_defaultErrorAnswer;
    if (!m_errorAnswers.isEmpty())
        answer = m_errorAnswers.dequeue();
    else if (m_sharedQueue && !m_answers.isEmpty())
        answer = m_answers.dequeue();
    else
        call.answered = false;
    m_calls.append(call);
    if (!call.answered && m_unanswered)
        m_unanswered(report);
    return answer;
}

void RecordingMessageService::setErrorsAnsweredFromMessageQueue(bool shared)
{
    m_sharedQueue = shared;
}

void RecordingMessageService::setUnansweredErrorHandler(std::function<void(const ErrorReport &)> handler)
{
    m_unanswered = std::move(handler);
}

void RecordingMessageService::enqueueAnswer(int answer)
{
    m_answers.enqueue(answer);
}

void RecordingMessageService::enqueueInput(const QString &text, bool accepted)
{
    m_inputs.enqueue(InputResult{text, accepted});
}

void RecordingMessageService::enqueueErrorAnswer(int answer)
{
    m_errorAnswers.enqueue(answer);
}

void RecordingMessageService::setDefaultAnswer(int answer)
{
    m_defaultAnswer = answer;
}

void RecordingMessageService::setDefaultErrorAnswer(int answer)
{
    m_defaultErrorAnswer = answer;
}

const QList<RecordingMessageService::Call> &RecordingMessageService::calls() const
{
    return m_calls;
}

QList<RecordingMessageService::Call> RecordingMessageService::callsOf(Kind kind) const
{
    QList<Call> out;
    for (const Call &call : m_calls) {
        if (call.kind == kind)
            out.append(call);
    }
    return out;
}

void RecordingMessageService::clear()
{
    m_calls.clear();
    m_answers.clear();
    m_inputs.clear();
    m_errorAnswers.clear();
}
