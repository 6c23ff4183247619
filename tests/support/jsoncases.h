#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

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

// A data function's rows from a table of a JSON file under tests/data: one column "row", the
// whole array, named by its first element; the test reads the other elements by their place.
inline void addJsonRows(const char *file, const char *table)
{
    QTest::addColumn<QJsonArray>("row");
    for (const QJsonValue &row : jsonCases(file, table))
        QTest::newRow(qPrintable(row[0].toString())) << row.toArray();
}
