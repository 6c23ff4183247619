#pragma once

#include "ado/connection.h"
#include "causals/causalconfiguration.h"
#include "framework/errortrap.h"
#include "store/operationtype.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace ado {
class TransactionGuard;
}

// The work on whole causals that does not need the window: completion of every causal's
// rows, creation, duplication and cascaded delete, each with its record in the change history.
// The form's handlers and the command-line tool call the same code. Every procedure runs under
// the error trap with its own name.
class CausalHistory;

class CausalOperations
{
public:
    // What an operation came to. Refused: not attempted, for the reason the message textId
    // (with its parameters) gives the user; FailedReported: attempted and given up after the
    // error report told the user why, nothing of it kept.
    struct Outcome
    {
        enum class Result { Done, Refused, FailedReported };
        Result result = Result::Done;
        int textId = 0;
        QStringList params;

        static Outcome refused(int textId, QStringList params = {})
        {
            return {Result::Refused, textId, std::move(params)};
        }
        static Outcome failedReported() { return {Result::FailedReported, 0, {}}; }
        bool done() const { return result == Result::Done; }
    };

    static constexpr int FirstFreeCode = 300;
    static inline const QString ReservedUser = QStringLiteral("VELTO");

    CausalOperations(ado::ConnectionPtr connection, ErrorTrap *trap);
    ~CausalOperations();

    // The change history on this connection under userName, kept while the user is the same
    // (its table is looked for once): the window's save records through it too.
    CausalHistory &history(const QString &userName);

    // The user whose name, in any letter case, is the reserved one may use codes below 300.
    static bool isReservedUser(const QString &userName);
    static bool isReservedCode(const QString &code);
    // A reserved code handled by any user but the reserved one: fixed, neither created nor deleted.
    static bool isRestricted(const QString &userName, const QString &code);
    // Length, digits and reservation of a code typed for a new causal (empty: acceptable).
    static Outcome checkNewCode(const QString &code, const QString &userName);

    bool exists(const QString &code);

    // Rows a completion added, per table, in the order of its statements.
    using Completion = QList<QPair<QString, int>>;
    // With onlyWhenMissing, each statement runs only when its probe finds a row to add: at
    // start-up nearly every causal is complete, and the probes cost a fraction of the inserts.
    Completion AggiornaConfigurazioneCausali(const QString &company, const QString &group, bool onlyWhenMissing = false);
    // The completion on its own (start-up, the tool's command): when it adds rows, they and one
    // entry of the change history under userName are written together, in one transaction (the
    // caller's when one is open). A statement that fails and is passed over keeps the others'
    // rows; a record that cannot be written is reported and, in its own transaction, keeps
    // none. Answers the rows added.
    Completion completeRecorded(const QString &company, const QString &group, const QString &userName,
                          bool onlyWhenMissing = false);
    // Default check states of an operation type: nothing for the types without a column.
    void CaricaValoriPredefinitiFiltri(OperationType type, const QString &causale, bool tutti);
    static std::optional<QString> defaultColumn(OperationType type);

    // A new causal with all its default rows and the description given (empty when none),
    // recorded in the history, whole or not at all: in a transaction the caller opened, the
    // new causal joins it.
    Outcome create(const QString &code, const QString &userName, const QString &company, const QString &group,
                   const QString &description = {});
    // Copy of the source causal under a new code, whole or not at all. The description is the
    // text on display, escaped here. In a transaction the caller opened, the copy joins it.
    // held: the source's stored rows the caller already has (a window's frames), from which the
    // copy's record is made instead of reading the copy back.
    Outcome duplicate(const QString &source, const QString &newCode, const QString &description,
                      const QString &userName, const QString &company, const CausalConfiguration *held = nullptr);
    // Refusals before a delete: reserved code, causal used as compensation causal anywhere.
    Outcome checkDelete(const QString &code, const QString &userName);

    // How a window takes part in a delete: its due-date selection control removes the
    // selection rows; with leftOpen, its frame deletes the causal row after the rest, and the
    // transaction opened here (none when the caller had one open) is handed over through
    // leftOpen, for the window to commit once its frame's delete is done.
    struct ScreenDelete
    {
        std::function<void()> deleteSelection;
        std::unique_ptr<ado::TransactionGuard> *leftOpen = nullptr;
    };
    // A causal gone already, checkDelete, then every row of the causal and the record of them,
    // whole or not at all (in the caller's transaction when one is open).
    Outcome remove(const QString &code, const QString &userName);
    Outcome remove(const QString &code, const QString &userName, const ScreenDelete &screen);

private:
    std::vector<TrapStep> cascadeSteps(const QString &code, const std::function<void()> &deleteSelection);
    // beforeFirstRow runs before the first statement that has rows to add.
    Completion complete(const QString &company, const QString &group, bool onlyWhenMissing,
                        const std::function<void()> &beforeFirstRow);

    ado::ConnectionPtr m_connection;
    ErrorTrap *m_trap;
    std::unique_ptr<CausalHistory> m_history;
};
