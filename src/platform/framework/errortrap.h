#pragma once

#include <QString>

#include <exception>
#include <functional>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <type_traits>
#include <utility>
#include <vector>

class MessageService;
class TextStore;

namespace ado {
class Connection;
}

// An error with a number of the host's own, for code that raises errors outside the
// database layer.
class NumberedError : public std::runtime_error
{
public:
    NumberedError(int number, const QString &description);
    int number() const { return m_number; }
    QString description() const { return m_description; }

private:
    int m_number;
    QString m_description;
};

// One step of a trapped procedure: any callable; one that returns bool ends the procedure
// normally (without an error) when it returns false.
class TrapStep
{
public:
    template <typename F, typename = std::enable_if_t<std::is_invocable_v<F &>
                                                      && !std::is_same_v<std::decay_t<F>, TrapStep>>>
    TrapStep(F f)  // NOLINT: implicit, so a procedure is written as a list of lambdas
    {
        if constexpr (std::is_same_v<std::invoke_result_t<F &>, bool>)
            m_run = std::move(f);
        else
            m_run = [g = std::move(f)]() mutable { g(); return true; };
    }
    bool operator()() const { return m_run(); }

private:
    std::function<bool()> m_run;
};

// The error trap every named procedure runs under. A step that throws is reported through
// the message service with the procedure's name, the error number and its description;
// the answer decides: 3 leave the procedure, 4 run the same step again, 5 go on with the
// next step.
class ErrorTrap
{
public:
    enum Answer { Leave = 3, Repeat = 4, Resume = 5 };
    enum class Outcome {
        Completed,  // every step ran (some may have failed and been skipped with 5)
        Exited,     // a step ended the procedure normally
        Left        // the user left the procedure after an error
    };
    struct Error
    {
        int number = 0;
        QString description;
    };
    // Turns an exception into the number and description shown; returns nothing for
    // exceptions it does not know, which then get the generic number.
    using Classifier = std::function<std::optional<Error>(const std::exception &)>;

    // Number of an error that carries no number of its own (the runtime's automation error).
    static constexpr int GenericErrorNumber = 440;

    ErrorTrap(MessageService *messages, const TextStore *texts);
    ~ErrorTrap();

    void setMessageService(MessageService *messages);
    void setTextStore(const TextStore *texts);
    void setClassifier(Classifier classifier);

    Outcome run(const QString &procedure, std::initializer_list<TrapStep> steps);
    Outcome run(const QString &procedure, const std::vector<TrapStep> &steps);

    // A procedure whose statements land together or not at all: they run inside a transaction
    // (the caller's when one is open, joined), beforeCommit (the change's record) after the
    // last of them, then the commit. The answers work inside it: 3 leaves and rolls back, 4
    // runs the failing step again, 5 goes on with the next step; a step passed over leaves the
    // work incomplete, so it is never committed, and a transaction that could not be opened
    // runs no statement. A statement that returns false ends the work unfinished. True when
    // the work was done whole (committed, or left whole in the caller's transaction).
    bool runWhole(const QString &procedure, ado::Connection &connection, const std::vector<TrapStep> &statements,
                  const std::function<void()> &beforeCommit = {});

    // For the procedures that ignore every error: a failing step is skipped silently.
    static Outcome runIgnoringErrors(std::initializer_list<TrapStep> steps);
    static Outcome runIgnoringErrors(const std::vector<TrapStep> &steps);

    // The error service: reports one error and returns the answer (3, 4 or 5). Without a
    // message service the answer is 3.
    int report(const QString &procedure, int number, const QString &description);
    // Number and description of the exception being handled; outside a catch block, the
    // generic error.
    Error describeCurrent() const;

private:
    struct Run
    {
        Outcome outcome = Outcome::Completed;
        int passedOver = 0;  // steps that failed and were gone on from (5)
    };
    template <typename Steps>
    Run runSteps(const QString &procedure, const Steps &steps);

    MessageService *m_messages;
    const TextStore *m_texts;
    Classifier m_classifier;
};
