#pragma once

#include <QString>
#include <stdexcept>

namespace ado {

// The one error type of the database layer. It carries the driver's message and the
// statement that failed, so the error trap can report both to the user.
class AdoError : public std::runtime_error
{
public:
    enum Kind {
        Generic,
        ConnectionFailed,  // the connection string points nowhere or cannot be opened
        Busy,              // the database is locked by another connection (after the busy timeout)
        Full,              // the disk or the database is full
        MissingObject,     // a table or column does not exist
        Constraint,        // a key or NOT NULL constraint refused the row
        ReadOnly,          // the database may be read but not written
        Conflict,          // the row to write no longer holds the values read: another user changed or deleted it
        Unsupported,       // the dialect rewriter met a construct it does not know
        Usage              // the caller used the layer wrongly (no current row, unknown field, ...)
    };

    AdoError(Kind kind, const QString &message, const QString &statement = {});

    Kind kind() const { return m_kind; }
    // Error number shown by the error trap, in the style of the host's error numbers.
    int number() const;
    QString message() const { return m_message; }
    QString statement() const { return m_statement; }

private:
    Kind m_kind;
    QString m_message;
    QString m_statement;
};

} // namespace ado
