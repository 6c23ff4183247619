#pragma once

#include <QString>

namespace ado {

// Turns the module's T-SQL statement texts into SQLite. Only the constructs the module's
// statements use are rewritten; text inside string literals, quoted identifiers and comments
// is never touched. A construct that SQLite would run differently or not at all, and that is
// not rewritten, raises AdoError(Unsupported) naming it, so nothing is ever changed silently.
//
// Rewritten: N'..' -> '..'; SELECT TOP n / TOP (n) -> LIMIT n at the end of that SELECT;
// WITH (NOLOCK) dropped; ISNULL( -> IFNULL(; GETDATE() -> CURRENT_TIMESTAMP;
// INSERT INTO t (...) (SELECT ...) -> INSERT INTO t (...) SELECT ...;
// '+' next to a string literal -> '||' (text concatenation: the module only concatenates
// texts when one operand is a literal; '+' between two columns stays arithmetic).
class SqlRewriter
{
public:
    static QString toSqlite(const QString &tsql);
    // For tests, which compare the two ways: whether a statement goes back as it came without
    // the rewriting passes, and those passes run whatever the answer.
    static bool passesAsIs(QStringView tsql);
    static QString toSqliteFull(const QString &tsql);
};

} // namespace ado
