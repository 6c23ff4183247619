#pragma once

#include "support/jsoncases.h"

#include <QTest>

// A data function's rows from a table of a JSON file under tests/data: one column "row", the
// whole array, named by its first element; the test reads the other elements by their place.
inline void addJsonRows(const char *file, const char *table)
{
    QTest::addColumn<QJsonArray>("row");
    for (const QJsonValue &row : jsonCases(file, table))
        QTest::newRow(qPrintable(row[0].toString())) << row.toArray();
}
