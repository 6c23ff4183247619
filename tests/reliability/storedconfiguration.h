#pragma once

#include "ado/connection.h"
#include "causals/causalconfiguration.h"

#include <QStringList>

// Every stored row of the causals, as text, in a fixed order: what a case compares before and
// after an action that must leave them whole or take them away whole.
inline QString storedConfiguration(ado::Connection &connection, const QStringList &codes)
{
    QString all;
    for (const QString &code : codes) {
        const CausalConfiguration configuration = CausalConfiguration::read(connection, code);
        for (const CausalConfiguration::Table &t : CausalConfiguration::tables()) {
            for (const CausalConfiguration::Row &row : configuration.rows(QLatin1String(t.table))) {
                QStringList cells;
                for (const QString &column : row.columns)
                    cells << row.values.value(column).toString();
                all += QLatin1String(t.table) + QLatin1Char(':') + cells.join(QLatin1Char('|')) + QLatin1Char('\n');
            }
        }
    }
    return all;
}
