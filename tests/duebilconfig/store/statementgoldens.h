#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Every statement function of the store, callable by name with its arguments as texts
// (numbers and flags written out: "1" is true), and the texts each must give.
namespace StatementGoldens {

struct Golden
{
    QString name;
    QStringList args;
    QStringList expected;  // one entry per statement the function returns
};

// The golden rows, read from tests/data/statementgoldens.txt: statement function, arguments, the
// exact T-SQL expected.
const QList<Golden> &rows();

// The names of the store's statement functions this table can call.
QStringList callable();

// The statements the store's function gives for these arguments.
QStringList call(const QString &name, const QStringList &args);

} // namespace StatementGoldens
