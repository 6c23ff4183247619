#include "framework/errortrap.h"

#include "ado/transactionguard.h"
#include "framework/frameworktexts.h"
#include "framework/messageservice.h"
#include "framework/textstore.h"

NumberedError::NumberedError(int number, const QString &description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description)
{
}

ErrorTrap::ErrorTrap(MessageService *messages, const TextStore *texts)
    : m_messages(messages), m_texts(texts)
{
}

ErrorTrap::~ErrorTrap() = default;

void ErrorTrap::setMessageService(MessageService *messages)
{
    m_messages = messages;
}

void ErrorTrap::setTextStore(const TextStore *texts)
{
    m_texts = texts;
}

void ErrorTrap::setClassifier(Classifier classifier)
{
    m_classifier = std::move(classifier);
}

ErrorTrap::Outcome ErrorTrap::run(const QString &procedure, std::initializer_list<TrapStep> steps)
{
    return runSteps(procedure, steps).outcome;
}

ErrorTrap::Outcome ErrorTrap::run(const QString &procedure, const std::vector<TrapStep> &steps)
{
    return runSteps(procedure, steps).outcome;
}

template <typename Steps>
ErrorTrap::Run ErrorTrap::runSteps(const QString &procedure, const Steps &steps)
{
    Run result;
    for (auto step = steps.begin(); step != steps.end();) {
        int answer = Resume;
        try {
            if (!(*step)()) {
                result.outcome = Outcome::Exited;
                return result;
            }
            ++step;
            continue;
        } catch (...) {
            const Error error = describeCurrent();
            answer = report(procedure, error.number, error.description);
        }
        if (answer == Repeat)
            continue;
        if (answer == Resume) {
            ++result.passedOver;
            ++step;
            continue;
        }
        result.outcome = Outcome::Left;
        return result;
    }
    return result;
}

bool ErrorTrap::runWhole(const QString &procedure, ado::Connection &connection, const std::vector<TrapStep> &statements,
                         const std::function<void()> &beforeCommit)
{
    const auto whole = [](const Run &run) { return run.outcome == Outcome::Completed && run.passedOver == 0; };
    // Left after an error, or with a step passed over, the transaction takes every row back.
    ado::JoinedTransaction transaction(connection);
    if (!whole(runSteps(procedure, std::initializer_list<TrapStep>{[&] { transaction.begin(); }})))
        return false;
    if (!whole(runSteps(procedure, statements)))
        return false;
    return whole(runSteps(procedure, std::initializer_list<TrapStep>{[&] {
        if (beforeCommit)
            beforeCommit();
        transaction.commit();
    }}));
}

ErrorTrap::Outcome ErrorTrap::runIgnoringErrors(std::initializer_list<TrapStep> steps)
{
    return runIgnoringErrors(std::vector<TrapStep>(steps));
}

ErrorTrap::Outcome ErrorTrap::runIgnoringErrors(const std::vector<TrapStep> &steps)
{
    for (const TrapStep &step : steps) {
        try {
            if (!step())
                return Outcome::Exited;
        } catch (...) {
            // Errors are ignored here by design: the next step runs.
        }
    }
    return Outcome::Completed;
}

int ErrorTrap::report(const QString &procedure, int number, const QString &description)
{
    if (!m_messages)
        return Leave;
    ErrorReport report;
    report.procedure = procedure;
    report.number = number;
    report.description = description;
    const QStringList params{procedure, QString::number(number), description};
    report.text = m_texts ? m_texts->text(FrameworkText::ErrorTrapReport, params)
                          : TextStore::substitute(QStringLiteral("%1: %2 - %3"), params);
    const int answer = m_messages->reportError(report);
    return answer == Repeat || answer == Resume ? answer : Leave;
}

ErrorTrap::Error ErrorTrap::describeCurrent() const
{
    const Error unknown{GenericErrorNumber, m_texts ? m_texts->text(FrameworkText::UnknownError) : QString()};
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return unknown;
    try {
        std::rethrow_exception(current);
    } catch (const NumberedError &e) {
        return Error{e.number(), e.description()};
    } catch (const std::exception &e) {
        if (m_classifier) {
            if (const auto known = m_classifier(e))
                return *known;
        }
        return Error{GenericErrorNumber, QString::fromUtf8(e.what())};
    } catch (...) {
        return unknown;
    }
}
