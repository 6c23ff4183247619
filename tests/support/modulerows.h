#pragma once

#include "ado/connection.h"

#include <QString>

// Every row of the module's configuration tables and of the due-date selection, table by table
// (each under its name) and sorted within each, as "COLUMN=value|..." lines with NULL written
// out: what an action that must change nothing, or two ways of writing the same thing, leave
// alike. The exclusion rows' own numbering (ID) is left out.
QString moduleRows(ado::Connection &connection);
QString moduleRows(const QString &connectionString);
