#pragma once

#include <QString>

namespace ado {

class Connection;

// The T-SQL texts the module sends to the database, each once a process, appended one a line
// (backslash, CR and LF escaped) to the file that DUEBIL_STATEMENT_LOG names; nothing when it is
// unset. The test suite collects them over all its runs, so the T-SQL check reads what really
// goes to the server and not only what the store composes. Only connections that the host, the
// window and the tool open are followed (Connection::setStatementsLogged), not a test's own.
namespace StatementLog {
void record(const QString &tsql);
void record(const Connection &connection, const QString &tsql);
// A logged line back to its statement.
QString decode(const QByteArray &line);
}

} // namespace ado
