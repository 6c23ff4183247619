#include "statementgoldens.h"

#include <QFile>

namespace StatementGoldens {

const QList<Golden> &rows()
{
    static const QList<Golden> all = [] {
        QFile file(QStringLiteral(DUEBIL_STATEMENT_GOLDENS));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            qFatal("cannot read the golden statements in %s", DUEBIL_STATEMENT_GOLDENS);
        QList<Golden> read;
        bool fresh = true;  // the statement being read has no line yet
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
                continue;
            } else if (line.startsWith(QLatin1Char('|')) && !read.isEmpty()) {
                read.last().expected.last() += (fresh ? QString() : QStringLiteral("\r\n")) + line.mid(1);
                fresh = false;
            } else if (line == QLatin1String("--") && !read.isEmpty()) {
                read.last().expected << QString();
                fresh = true;
            } else {
                QStringList fields = line.split(QLatin1Char('\t'));
                read.append({fields.takeFirst(), fields, {QString()}});
                fresh = true;
            }
        }
        if (read.size() < 100)
            qFatal("only %lld golden statements in %s", qlonglong(read.size()), DUEBIL_STATEMENT_GOLDENS);
        return read;
    }();
    return all;
}

} // namespace StatementGoldens
