#include "causaloperations.h"

#include "causalhistory.h"
#include "duebilstatements.h"
#include "messageids.h"
#include "moduletables.h"
#include "recordset.h"
#include "transactionguard.h"

#include <QRegularExpression>
#include <QSet>
#include <optional>
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
    CausalHistory history(*m_connection, userName);
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

namespace {

// The rows a copy adds, from the source's rows: each under the new code, the causal row with
// the description on display, and the parameter column the copy leaves to its default.
CausalConfiguration copyOf(const CausalConfiguration &source, const QString &newCode, const QString &description)
{
    CausalConfiguration copy(source.scope());
    const QVariant code = qlonglong(newCode.toInt());
    for (const CausalConfiguration::Table &t : CausalConfiguration::tables()) {
        const QString table = QLatin1String(t.table);
        QList<CausalConfiguration::Row> rows;
        if (&t == &CausalConfiguration::causalTable()) {
            CausalConfiguration::Row row;
            row.columns = QStringList{QLatin1String(t.causalColumn), QStringLiteral("CGP0_DESCRIZIONE")};
            row.values = {{row.columns.at(0), code}, {row.columns.at(1), description}};
            rows.append(row);
        } else {
            rows = source.rows(table);
            for (CausalConfiguration::Row &row : rows) {
                row.values.insert(QLatin1String(t.causalColumn), code);
                if (row.values.contains(S::UncopiedParameter))
                    row.values.insert(S::UncopiedParameter, S::UncopiedParameterDefault);
            }
        }
        copy.setRows(table, rows);
    }
    return copy;
}

} // namespace

CausalOperations::Outcome CausalOperations::duplicate(const QString &source, const QString &newCode,
                                                      const QString &description, const QString &userName,
                                                      const QString &company, const CausalConfiguration *held,
                                                      CausalHistory *history)
{
    if (const Outcome refused = checkNewCode(newCode, userName))
        return refused;
    if (exists(newCode))
        return Refusal{MessageId::Exists, {newCode}};
    std::vector<TrapStep> statements;
    // A source deleted by another user since it was shown copies no parameter row (every
    // causal has one): the copy of its causal row alone is then rolled back. Asked within the
    // transaction, so that the source cannot go between the test and the copy.
    bool sourceGone = false;
    for (const QString &sql : S::duplication(newCode, source, company, description)) {
        const bool parameters = sql.startsWith(QLatin1String("INSERT INTO CGP5_DUEBILPARAM"));
        statements.emplace_back([this, sql, parameters, &source, &sourceGone] {
            int rows = 0;
            m_connection->Execute(sql, 1, &rows);
            if (parameters && rows == 0 && !exists(source)) {
                sourceGone = true;
                return false;
            }
            return true;
        });
    }
    std::optional<CausalHistory> own;
    if (!history)
        history = &own.emplace(*m_connection, userName);
    // The copy takes the due-date selection of one company only.
    const CausalConfiguration::Scope scope{CausalConfiguration::Scope::SelectionOfOneCompany, company.toInt()};
    // Inside a caller's transaction the copy is part of the caller's work: the caller commits
    // or rolls back.
    const bool copied = m_trap->runWhole(QStringLiteral("DuplicaCausale"), *m_connection, statements, [&] {
        if (held)
            history->record(CausalHistory::Operation::Duplicate, newCode,
                            CausalConfiguration::diff(CausalConfiguration(scope), copyOf(*held, newCode, description)));
        else
            history->record(CausalHistory::Operation::Duplicate, newCode, CausalConfiguration(scope));
    });
    if (sourceGone)
        return Refusal{MessageId::CopyOfDeleted, {source}};
    if (!copied)
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

bool CausalOperations::cascadeDelete(const QString &code, const std::function<void()> &deleteSelection,
                                     const std::function<void()> &beforeCommit)
{
    return m_trap->runWhole(QStringLiteral("FME_CAUSALI_BeforeDelete"), *m_connection,
                            cascadeSteps(code, deleteSelection), beforeCommit);
}

CausalOperations::Outcome CausalOperations::remove(const QString &code, const QString &userName)
{
    if (!exists(code))
        return Refusal{0, {}};
    if (const Outcome refused = checkDelete(code, userName))
        return refused;
    // The causal row goes with the rest, in the same transaction.
    std::vector<TrapStep> steps = cascadeSteps(code, {});
    steps.emplace_back([this, code] { m_connection->Execute(S::deleteCausalRow(code), -1); });
    if (!m_trap->runWhole(QStringLiteral("FME_CAUSALI_BeforeDelete"), *m_connection, steps))
        return Refusal{0, {}};
    return std::nullopt;
}
