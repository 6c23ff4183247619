#include "causals/causaloperations.h"

#include "ado/recordset.h"
#include "ado/transactionguard.h"
#include "causals/causalhistory.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "store/moduletables.h"

#include <QRegularExpression>
#include <QSet>
#include <memory>
#include <optional>
#include <vector>

namespace S = DueBilStatements;


CausalOperations::CausalOperations(ado::ConnectionPtr connection, ErrorTrap *trap)
    : m_connection(std::move(connection)), m_trap(trap)
{
}

CausalOperations::~CausalOperations() = default;

CausalHistory &CausalOperations::history(const QString &userName)
{
    if (!m_history || m_history->userName() != userName)
        m_history = std::make_unique<CausalHistory>(*m_connection, userName);
    return *m_history;
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
        return Outcome::refused(MessageId::TooLong);
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(code).hasMatch())
        return Outcome::refused(MessageId::NotNumeric);
    if (isRestricted(userName, code))
        return Outcome::refused(MessageId::ReservedCreate);
    return {};
}

bool CausalOperations::exists(const QString &code)
{
    return m_connection->Execute(S::existsCausal(code), 1)->RecordCount() >= 1;
}

CausalOperations::Completion CausalOperations::AggiornaConfigurazioneCausali(const QString &company,
                                                                           const QString &group, bool onlyWhenMissing)
{
    return complete(company, group, onlyWhenMissing, {});
}

CausalOperations::Completion CausalOperations::complete(const QString &company, const QString &group,
                                                        bool onlyWhenMissing, const std::function<void()> &beforeFirstRow)
{
    // Independent statements: after a failure the user may go on with the next one.
    const QStringList statements = S::completion(company, group);
    Completion added;
    std::vector<TrapStep> steps;
    // Which statements have rows to add; all of them when the test was not asked for or failed.
    std::optional<QSet<int>> missing;
    if (onlyWhenMissing) {
        steps.emplace_back([&] {
            const ado::RecordsetPtr rs = m_connection->Execute(S::completionProbe(company), 1);
            missing.emplace();
            for (; !rs->isEOF(); rs->MoveNext())
                missing->insert(rs->value(QStringLiteral("P")).toInt());
        });
    }
    // The table each statement adds rows to, in the statements' order.
    const QList<const ModuleTables::Table *> completed = ModuleTables::completionOrder();
    for (qsizetype i = 0; i < statements.size(); ++i) {
        const QString table = i < completed.size() ? QLatin1String(completed.at(i)->table) : QString();
        steps.emplace_back([&, i, sql = statements.at(i), table] {
            if (missing && !missing->contains(int(i)))
                return;
            if (beforeFirstRow)
                beforeFirstRow();
            int rows = 0;
            m_connection->Execute(sql, 1, &rows);
            if (rows > 0)
                added.append({table, rows});
        });
    }
    m_trap->run(QStringLiteral("AggiornaConfigurazioneCausali"), steps);
    return added;
}

CausalOperations::Completion CausalOperations::completeRecorded(const QString &company, const QString &group,
                                                                const QString &userName, bool onlyWhenMissing)
{
    CausalHistory &history = this->history(userName);
    // Opened only when there is a row to add: a complete database is not locked for writing.
    std::optional<ado::TransactionGuard> transaction;
    const bool own = !m_connection->inTransaction() && history.enabled();
    const Completion added = complete(company, group, onlyWhenMissing, [&] {
        if (own && !transaction)
            transaction.emplace(*m_connection);
    });
    if (!added.isEmpty()) {
        m_trap->run(QStringLiteral("AggiornaConfigurazioneCausali"), {[&] {
            history.recordCompletion(company, added);
            if (transaction)
                transaction->commit();
        }});
    }
    return added;
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
                                                   const QString &company, const QString &group,
                                                   const QString &description)
{
    if (const Outcome checked = checkNewCode(code, userName); !checked.done())
        return checked;
    if (exists(code))
        return Outcome::refused(MessageId::Exists, {code});
    std::vector<TrapStep> statements{[&] { m_connection->Execute(S::insertNewCausal(code), 1); }};
    if (!description.isEmpty())
        statements.emplace_back([&] { m_connection->Execute(S::setCausalDescription(code, description), 1); });
    statements.emplace_back([&] { AggiornaConfigurazioneCausali(company, group); });
    statements.emplace_back([&] { CaricaValoriPredefinitiFiltri(OperationType::Collections, code, true); });
    CausalHistory &record = history(userName);
    // The causal, its rows and the record of them land together or not at all.
    if (!m_trap->runWhole(QStringLiteral("TXT_CAUSALE_AfterItem"), *m_connection, statements,
                          [&] { record.record(CausalHistory::Operation::Create, code, CausalConfiguration()); }))
        return Outcome::failedReported();
    return {};
}

CausalOperations::Outcome CausalOperations::duplicate(const QString &source, const QString &newCode,
                                                      const QString &description, const QString &userName,
                                                      const QString &company, const CausalConfiguration *held)
{
    if (const Outcome checked = checkNewCode(newCode, userName); !checked.done())
        return checked;
    if (exists(newCode))
        return Outcome::refused(MessageId::Exists, {newCode});
    std::vector<TrapStep> statements;
    int added = 0;
    for (const QString &sql : S::duplication(newCode, source, company, description)) {
        statements.emplace_back([this, sql, &added] {
            int rows = 0;
            m_connection->Execute(sql, 1, &rows);
            added += rows;
        });
    }
    // Every causal has its parameter row: a copy that added no row but the causal row made
    // from the description found no source, deleted by another user since it was shown, and
    // is rolled back. Asked within the transaction, so that the source cannot go between the
    // test and the copy.
    bool sourceGone = false;
    statements.emplace_back([&] {
        sourceGone = added <= 1 && !exists(source);
        return !sourceGone;
    });
    CausalHistory &record = history(userName);
    // The copy takes the due-date selection of one company only.
    const CausalConfiguration::Scope scope{CausalConfiguration::Scope::SelectionOfOneCompany, company.toInt()};
    const bool copied = m_trap->runWhole(QStringLiteral("DuplicaCausale"), *m_connection, statements, [&] {
        if (held)
            record.record(CausalHistory::Operation::Duplicate, newCode,
                          CausalConfiguration::diff(CausalConfiguration(scope), held->copiedAs(newCode, description)));
        else
            record.record(CausalHistory::Operation::Duplicate, newCode, CausalConfiguration(scope));
    });
    if (sourceGone)
        return Outcome::refused(MessageId::CopyOfDeleted, {source});
    if (!copied)
        return Outcome::failedReported();
    return {};
}

CausalOperations::Outcome CausalOperations::checkDelete(const QString &code, const QString &userName)
{
    if (isRestricted(userName, code))
        return Outcome::refused(MessageId::ReservedDelete);
    const ado::RecordsetPtr rs = m_connection->Execute(S::compensationUse(code), 1);
    if (rs->RecordCount() >= 1)
        return Outcome::refused(MessageId::UsedAsCompensation,
                                {rs->value(QStringLiteral("CGP6_DITTA_CG18")).toString(),
                                 rs->value(QStringLiteral("CGP6_CAUSALE_CGP0")).toString()});
    return {};
}

std::vector<TrapStep> CausalOperations::cascadeSteps(const QString &code, const std::function<void()> &deleteSelection)
{
    std::vector<TrapStep> steps;
    for (const QString &sql : S::cascadeDeleteBeforeSelection(code))
        steps.emplace_back([this, sql] { m_connection->Execute(sql, -1); });
    if (deleteSelection)
        steps.emplace_back(deleteSelection);
    else
        steps.emplace_back([this, code] { m_connection->Execute(S::deleteSelection(code), -1); });
    for (const QString &sql : S::cascadeDeleteAfterSelection(code))
        steps.emplace_back([this, sql] { m_connection->Execute(sql, -1); });
    return steps;
}

CausalOperations::Outcome CausalOperations::remove(const QString &code, const QString &userName)
{
    return remove(code, userName, ScreenDelete());
}

CausalOperations::Outcome CausalOperations::remove(const QString &code, const QString &userName,
                                                   const ScreenDelete &screen)
{
    if (!exists(code))
        return Outcome::refused(MessageId::AlreadyDeleted, {code});
    if (const Outcome checked = checkDelete(code, userName); !checked.done())
        return checked;
    // Left to a window, the transaction stays open until its frame has deleted the causal row.
    std::unique_ptr<ado::TransactionGuard> transaction;
    if (screen.leftOpen && !m_connection->inTransaction())
        transaction = std::make_unique<ado::TransactionGuard>(*m_connection);
    CausalHistory &record = history(userName);
    CausalConfiguration before;
    std::vector<TrapStep> steps{[&] { before = record.snapshot(code); }};
    for (TrapStep &step : cascadeSteps(code, screen.deleteSelection))
        steps.push_back(std::move(step));
    if (!screen.leftOpen)
        steps.emplace_back([this, code] { m_connection->Execute(S::deleteCausalRow(code), -1); });
    // Every row of the causal goes: the record is the whole causal removed, the causal row
    // included when the window's frame deletes it next.
    if (!m_trap->runWhole(QStringLiteral("FME_CAUSALI_BeforeDelete"), *m_connection, steps, [&] {
            record.record(CausalHistory::Operation::Delete, code,
                          CausalConfiguration::diff(before, CausalConfiguration(before.scope())));
        }))
        return Outcome::failedReported();
    if (screen.leftOpen)
        *screen.leftOpen = std::move(transaction);
    return {};
}
