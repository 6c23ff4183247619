#pragma once

#include "connection.h"

#include <exception>
#include <optional>

namespace ado {

// Opens a transaction on construction and rolls it back on destruction unless commit() ran,
// so statements that change several tables land together or not at all, whatever way the
// procedure leaves.
class TransactionGuard
{
public:
    explicit TransactionGuard(Connection &connection) : m_connection(connection)
    {
        m_connection.BeginTrans();
    }
    ~TransactionGuard()
    {
        if (!m_done && m_connection.inTransaction()) {
            try {
                m_connection.RollbackTrans();
            } catch (...) {
                // Nothing more can be undone; the caller is already handling the first error.
            }
        }
    }
    TransactionGuard(const TransactionGuard &) = delete;
    TransactionGuard &operator=(const TransactionGuard &) = delete;

    void commit()
    {
        m_connection.CommitTrans();
        m_done = true;
    }

private:
    Connection &m_connection;
    bool m_done = false;
};

// The commit step of a procedure whose transaction an earlier step of an error trap opened into
// `transaction` (own: no caller's transaction was open). When that step failed and the user went
// on, there is nothing to commit: the commit fails as a plain one would.
inline void commitOwn(Connection &connection, bool own, std::optional<TransactionGuard> &transaction)
{
    if (transaction)
        transaction->commit();
    else if (own)
        connection.CommitTrans();
}

} // namespace ado
