#pragma once

#include "ledgerchecks.h"

// The stored parameters of a causal checked again with the rules of the window's fields,
// so that values which became invalid later (a ledger causal deleted, an account made a
// master account) are found without opening every causal.
class StoredParameterChecks
{
public:
    struct Finding
    {
        QString causal;
        QString company;     // empty for the causal's own parameters
        QString column;
        QString value;
        int textId;          // 0: the code does not exist
        QStringList params;
    };

    explicit StoredParameterChecks(ado::ConnectionPtr connection);

    QList<Finding> check(const QString &causal) const;
    QList<Finding> checkAll() const;

private:
    ado::ConnectionPtr m_connection;
    LedgerChecks m_ledger;
};
