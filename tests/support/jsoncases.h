#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

// The rows of one table of a JSON file under tests/data; a file or a table without rows stops the test.
inline QJsonArray jsonCases(const char *file, const char *table)
{
    QFile in(QStringLiteral(DUEBIL_TEST_DATA "/") + QLatin1String(file));
    if (!in.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", file);
    const QJsonArray rows = QJsonDocument::fromJson(in.readAll()).object().value(QLatin1String(table)).toArray();
    if (rows.isEmpty())
        qFatal("no rows for %s in %s", table, file);
    return rows;
}
