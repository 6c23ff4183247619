#pragma once

#include "ado/connection.h"

#include <QString>
#include <memory>

namespace ado {

// A statement prepared once and run many times with values bound by position ("?"), as an
// ADO Command with Prepared set. On the embedded database it binds straight into SQLite, for
// a writer of many rows of one shape (the change history) without Qt's bookkeeping per value.
// It holds the prepared statement: it ends before its connection closes.
class Command
{
public:
    // Prepares the T-SQL text on the connection. Throws AdoError.
    Command(Connection &connection, const QString &tsql);
    ~Command();
    Command(const Command &) = delete;
    Command &operator=(const Command &) = delete;

    // 0-based positions; a value stays bound until bound again.
    void bind(int position, const QString &text);
    void bind(int position, qint64 number);

    // Runs with the values bound; answers the rows it changed. Throws AdoError.
    int Execute();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace ado
