#pragma once

#include "ado/connection.h"

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

// The transaction of work that may run inside a caller's: begin() opens one only when none is
// open, and commit() and the destructor (a rollback unless committed) act only on the one it
// opened, through a guard of its own; a caller's transaction stays the caller's to end.
class JoinedTransaction
{
public:
    explicit JoinedTransaction(Connection &connection) : m_connection(connection) {}
    JoinedTransaction(const JoinedTransaction &) = delete;
    JoinedTransaction &operator=(const JoinedTransaction &) = delete;

    void begin()
    {
        if (!m_connection.inTransaction())
            m_own.emplace(m_connection);
    }
    void commit()
    {
        if (!m_own)
            return;
        m_own->commit();
        m_own.reset();
    }

private:
    Connection &m_connection;
    std::optional<TransactionGuard> m_own;  // the transaction open now, when it was begun here
};

} // namespace ado
