#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The texts each statement function of the store must give for its arguments.
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

} // namespace StatementGoldens
