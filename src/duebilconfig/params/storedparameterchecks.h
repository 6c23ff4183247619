#pragma once

#include "params/ledgerchecks.h"

#include <QHash>

#include <functional>

// The stored parameters of a causal checked again with the rules of the window: its fields'
// checks and its save, on what the enabling rules leave editable for the operation type, so
// that values which became invalid later (a ledger causal deleted, an account made a master
// account) are found without opening every causal, and nothing the window would accept.
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

    // caption gives the text of a field's caption id, for the message naming a mandatory
    // field; without it the message names the column.
    explicit StoredParameterChecks(ado::ConnectionPtr connection, std::function<QString(int)> caption = {});

    // causalValues puts the causal's own settings (CGP5 and the withholding check, by control
    // name) in place of the stored ones, as a save about to write them would leave the causal;
    // the rows of skipCompany are left out.
    QList<Finding> check(const QString &causal, const QHash<QString, QString> &causalValues = {},
                         const QString &skipCompany = {}) const;
    QList<Finding> checkAll() const;

    // Also report the values the window's controls cannot hold (ValueRules) and posting rows
    // of an account group that is not the company's.
    void setValueRules(bool on) { m_valueRules = on; }

private:
    ado::ConnectionPtr m_connection;
    LedgerChecks m_ledger;
    std::function<QString(int)> m_caption;
    bool m_valueRules = false;
};
