#include "support/casefile.h"

#include <QFile>
#include <QTest>

QList<TextCase> readCases(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read the cases in %s", qPrintable(path));
    QList<TextCase> cases;
    QString part;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1String("=== "))) {
            cases.append({line.mid(4), {}});
            part.clear();
        } else if (line.startsWith(QLatin1String("--- ")) && !cases.isEmpty()) {
            part = line.mid(4);
            cases.last().parts[part];
        } else if (!part.isEmpty()) {
            cases.last().parts[part] << line;
        } else if (!line.isEmpty()) {
            qFatal("%s: a line outside any part: %s", qPrintable(path), qPrintable(line));
        }
    }
    // The blank lines that separate cases belong to none.
    for (TextCase &c : cases)
        for (QStringList &lines : c.parts)
            while (!lines.isEmpty() && lines.last().isEmpty())
                lines.removeLast();
    if (cases.isEmpty())
        qFatal("no case in %s", qPrintable(path));
    return cases;
}

void addCaseRows(const QStringList &paths)
{
    QTest::addColumn<TextCase>("c");
    for (const QString &path : paths)
        for (const TextCase &c : readCases(path))
            QTest::newRow(qPrintable(c.name)) << c;
}
