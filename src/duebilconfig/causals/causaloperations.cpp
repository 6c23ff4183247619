#include "causaloperations.h"

#include "causalhistory.h"
#include "duebilstatements.h"
#include "messageids.h"
#include "recordset.h"
#include "transactionguard.h"

#include <QRegularExpression>
#include <vector>

namespace S = DueBilStatements;

CausalOperations::CausalOperations(ado::ConnectionPtr connection, ErrorTrap *trap)
    : m_connection(std::move(connection)), m_trap(trap)
{
}

bool CausalOperations::isReservedUser(const QString &userName)
{
    return userName.trimmed().toUpper() == ReservedUser;
}

bool CausalOperations::isReservedCode(const QString &code)
{
    // A code that is no number (the empty one included) counts as 0, as the host reads it.
    return code.trimmed().toInt() < FirstFreeCode;
}

bool CausalOperations::isRestricted(const QString &userName, const QString &code)
{
    return !isReservedUser(userName) && isReservedCode(code);
}

CausalOperations::Outcome CausalOperations::checkNewCode(const QString &code, const QString &userName)
{
    if (code.size() > 3)
        return Refusal{MessageId::TooLong, {}};
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(code).hasMatch())
        return Refusal{MessageId::NotNumeric, {}};
    if (isRestricted(userName, code))
        return Refusal{MessageId::ReservedCreate, {}};
    return std::nullopt;
}

bool CausalOperations::exists(const QString &code)
{
    return m_connection->Execute(S::existsCausal(code), 1)->RecordCount() >= 1;
}

void CausalOperations::AggiornaConfigurazioneCausali(const QString &company, const QString &group,
                                                     bool onlyWhenMissing)
{
    // Independent statements: after a failure the user may go on with the next one.
    const QStringList statements = S::completion(company, group);
    const QStringList probes = onlyWhenMissing ? S::completionProbes(company) : QStringList();
    std::vector<TrapStep> steps;
    for (qsizetype i = 0; i < statements.size(); ++i) {
        steps.emplace_back([this, sql = statements.at(i), probe = probes.value(i)] {
            if (probe.isEmpty() || m_connection->Execute(probe, 1)->RecordCount() >= 1)
                m_connection->Execute(sql, 1);
        });
    }
    m_trap->run(QStringLiteral("AggiornaConfigurazioneCausali"), steps);
}

std::optional<QString> CausalOperations::defaultColumn(OperationType type)
{
    switch (type) {
    case OperationType::Collections: return QStringLiteral("CGP2_DEFAULTINCASSI");
    case OperationType::Payments: return QStringLiteral("CGP2_DEFAULTPAGAMENTI");
    case OperationType::Closing: return QStringLiteral("CGP2_DEFAULTCHIUSPART");
    case OperationType::ClearedCollections: return QStringLiteral("CGP2_DEFAULTINCASSIBF");
    case OperationType::Suspension: return QStringLiteral("CGP2_DEFAULTSOSPENSIONE");
    case OperationType::Compensation:
    case OperationType::Advances: return std::nullopt;
    case OperationType::StateManagement: return QStringLiteral("CGP2_DEFAULTGESTIONESTATI");
    case OperationType::None: break;
    }
    return QString();  // no column: the statement fails into the error trap
}

void CausalOperations::CaricaValoriPredefinitiFiltri(OperationType type, const QString &causale, bool tutti)
{
    const std::optional<QString> column = defaultColumn(type);
    if (!column)
        return;
    m_trap->run(QStringLiteral("CaricaValoriPredefinitiFiltri"),
                {[&] { m_connection->Execute(S::defaultChecks(*column, causale, tutti), -1); }});
}

CausalOperations::Outcome CausalOperations::create(const QString &code, const QString &userName,
                                                   const QString &company, const QString &group)
{
    if (const Outcome refused = checkNewCode(code, userName))
        return refused;
    if (exists(code))
        return Refusal{MessageId::Exists, {code}};
    const ErrorTrap::Outcome inserted = m_trap->run(
        QStringLiteral("TXT_CAUSALE_AfterItem"), {[&] { m_connection->Execute(S::insertNewCausal(code), 1); }});
    if (inserted != ErrorTrap::Outcome::Completed || !exists(code))
        return Refusal{0, {}};
    AggiornaConfigurazioneCausali(company, group);
    CaricaValoriPredefinitiFiltri(OperationType::Collections, code, true);
    return std::nullopt;
}

CausalOperations::Outcome CausalOperations::duplicate(const QString &source, const QString &newCode,
                                                      const QString &description, const QString &userName,
                                                      const QString &company)
{
    if (const Outcome refused = checkNewCode(newCode, userName))
        return refused;
    if (exists(newCode))
        return Refusal{MessageId::Exists, {newCode}};
    // A code typed but never stored (refused, or its causal deleted meanwhile) has no rows to
    // copy: the copy would be a causal of a description alone.
    if (!exists(source))
        return Refusal{0, {}};
    const QStringList statements = S::duplication(newCode, source, company, description);
    // Inside a caller's transaction the copy is part of the caller's work: the caller commits
    // or rolls back.
    const bool ownTransaction = !m_connection->inTransaction();
    // Left after an error, the guard takes every row of the copy back.
    std::optional<ado::TransactionGuard> transaction;
    bool committed = false;
    std::vector<TrapStep> steps;
    if (ownTransaction)
        steps.emplace_back([this, &transaction] { transaction.emplace(*m_connection); });
    // A statement that failed leaves the copy incomplete even when the user chose to go on:
    // such a copy is never committed.
    bool failed = false;
    for (const QString &sql : statements) {
        steps.emplace_back([this, sql, &failed] {
            try {
                m_connection->Execute(sql, 1);
            } catch (...) {
                failed = true;
                throw;
            }
        });
    }
    steps.emplace_back([&, this] {
        if (failed)
            return false;
        // The copy takes the due-date selection of one company only.
        CausalHistory(*m_connection, userName)
            .record(CausalHistory::Operation::Duplicate, newCode,
                    CausalConfiguration({CausalConfiguration::Scope::SelectionOfOneCompany, company.toInt()}));
        commitOwn(*m_connection, ownTransaction, transaction);
        committed = true;
        return true;
    });
    m_trap->run(QStringLiteral("DuplicaCausale"), steps);
    if (!committed)
        return Refusal{0, {}};
    return std::nullopt;
}

CausalOperations::Outcome CausalOperations::checkDelete(const QString &code, const QString &userName)
{
    if (isRestricted(userName, code))
        return Refusal{MessageId::ReservedDelete, {}};
    const ado::RecordsetPtr rs = m_connection->Execute(S::compensationUse(code), 1);
    if (rs->RecordCount() >= 1)
        return Refusal{MessageId::UsedAsCompensation,
                       {rs->value(QStringLiteral("CGP6_DITTA_CG18")).toString(),
                        rs->value(QStringLiteral("CGP6_CAUSALE_CGP0")).toString()}};
    return std::nullopt;
}

void CausalOperations::cascadeDelete(const QString &code, const std::function<void()> &deleteSelection)
{
    // No transaction: what was deleted before a failure stays deleted, and the user may go on.
    std::vector<TrapStep> steps;
    for (const QString &sql : S::cascadeDeleteBeforeSelection(code))
        steps.emplace_back([this, sql] { m_connection->Execute(sql, -1); });
    if (deleteSelection)
        steps.emplace_back(deleteSelection);
    else
        steps.emplace_back([this, code] { m_connection->Execute(S::deleteSelection(code), -1); });
    for (const QString &sql : S::cascadeDeleteAfterSelection(code))
        steps.emplace_back([this, sql] { m_connection->Execute(sql, -1); });
    m_trap->run(QStringLiteral("FME_CAUSALI_BeforeDelete"), steps);
}

CausalOperations::Outcome CausalOperations::remove(const QString &code, const QString &userName)
{
    if (!exists(code))
        return Refusal{0, {}};
    if (const Outcome refused = checkDelete(code, userName))
        return refused;
    cascadeDelete(code);
    const ErrorTrap::Outcome deleted = m_trap->run(
        QStringLiteral("FME_CAUSALI_Delete"), {[&] { m_connection->Execute(S::deleteCausalRow(code), -1); }});
    if (deleted != ErrorTrap::Outcome::Completed)
        return Refusal{0, {}};
    return std::nullopt;
}
