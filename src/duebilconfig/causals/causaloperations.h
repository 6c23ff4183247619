#pragma once

#include "causalconfiguration.h"
#include "connection.h"
#include "errortrap.h"
#include "operationtype.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// The work on whole causals that does not need the window: completion of every causal's
// rows, creation, duplication and cascaded delete. The form's handlers and the command-line
// tool call the same code. Every procedure runs under the error trap with its own name.
class CausalHistory;

class CausalOperations
{
public:
    // A refusal: the message the user sees, by text id, with its parameters.
    struct Refusal
    {
        int textId = 0;
        QStringList params;
    };
    using Outcome = std::optional<Refusal>;  // empty: done

    static constexpr int FirstFreeCode = 300;
    static inline const QString ReservedUser = QStringLiteral("VELTO");

    CausalOperations(ado::ConnectionPtr connection, ErrorTrap *trap);

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

    // A new causal with an empty description and all its default rows.
    Outcome create(const QString &code, const QString &userName, const QString &company, const QString &group);
    // Copy of the source causal under a new code, whole or not at all. The description is the
    // text on display, escaped here. In a transaction the caller opened, the copy joins it.
    // held: the source's stored rows the caller already has (a window's frames, the copy's
    // scope), from which the copy's record is made instead of reading the copy back; history:
    // the caller's, so that its table is not looked for again.
    Outcome duplicate(const QString &source, const QString &newCode, const QString &description,
                      const QString &userName, const QString &company, const CausalConfiguration *held = nullptr,
                      CausalHistory *history = nullptr);
    // Refusals before a delete: reserved code, causal used as compensation causal anywhere.
    Outcome checkDelete(const QString &code, const QString &userName);
    // Every row of the causal except the causal row, which its frame deletes, in one
    // transaction (the caller's when one is open) that beforeCommit, the delete's record, ends.
    // The due-date selection rows are removed by deleteSelection, given here so that the window
    // can hand that step to its selection control. False when any of it failed: nothing stays
    // deleted (in a caller's transaction, the caller must roll back).
    bool cascadeDelete(const QString &code, const std::function<void()> &deleteSelection = {},
                       const std::function<void()> &beforeCommit = {});
    // checkDelete, cascadeDelete and the causal row, whole or not at all: the delete without
    // the window.
    Outcome remove(const QString &code, const QString &userName);

private:
    std::vector<TrapStep> cascadeSteps(const QString &code, const std::function<void()> &deleteSelection);
    // beforeFirstRow runs before the first statement that has rows to add.
    Completion complete(const QString &company, const QString &group, bool onlyWhenMissing,
                        const std::function<void()> &beforeFirstRow);

    ado::ConnectionPtr m_connection;
    ErrorTrap *m_trap;
};
