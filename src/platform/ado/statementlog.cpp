#include "ado/statementlog.h"

#include "ado/connection.h"

#include <QFile>
#include <QSet>

#include <fcntl.h>
#include <unistd.h>

namespace ado::StatementLog {

namespace {

struct Log
{
    int fd = -1;
    QSet<QString> written;

    Log()
    {
        const QByteArray path = qgetenv("DUEBIL_STATEMENT_LOG");
        if (!path.isEmpty())
            fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    }
    ~Log()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

Log &log()
{
    static Log instance;
    return instance;
}

} // namespace

void record(const QString &tsql)
{
    Log &l = log();
    if (l.fd < 0 || l.written.contains(tsql))
        return;
    l.written.insert(tsql);
    QByteArray line = tsql.toUtf8();
    line.replace('\\', "\\\\").replace('\r', "\\r").replace('\n', "\\n");
    line.append('\n');
    // One write a line: appends of several processes to one file do not interleave.
    [[maybe_unused]] const ssize_t written = ::write(l.fd, line.constData(), size_t(line.size()));
}

void record(const Connection &connection, const QString &tsql)
{
    if (!Connection::isRead(tsql))
        connection.forgetReads();
    if (connection.statementsLogged())
        record(tsql);
}

QString decode(const QByteArray &line)
{
    QByteArray out;
    out.reserve(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (c != '\\' || i + 1 == line.size()) {
            out.append(c);
            continue;
        }
        const char next = line.at(++i);
        out.append(next == 'n' ? '\n' : next == 'r' ? '\r' : next);
    }
    return QString::fromUtf8(out);
}

} // namespace ado::StatementLog
