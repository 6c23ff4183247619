#pragma once

#include "ado/connection.h"

#include <QStringList>
#include <QVariant>

// What a case reads straight from the database to compare with what the code under test
// wrote or shows.

// The first column of the first row a statement gives; invalid when it gives no row.
QVariant scalar(ado::Connection &connection, const QString &sql);
// The same on a connection of its own ("sqlite:PATH", as the test databases give it).
QVariant scalar(const QString &connectionString, const QString &sql);
// The first column of every row, as text, in the statement's order.
QStringList column(ado::Connection &connection, const QString &sql);
// Runs the statements in turn on a connection of its own (a case's set-up or sabotage).
void execute(const QString &connectionString, const QStringList &statements);
// Every column of the first row, as text; empty texts when it gives no row.
QStringList firstRow(ado::Connection &connection, const QString &sql);
