#pragma once

#include "cli/duebilcli.h"
#include "support/modulerows.h"

#include <QStringList>
#include <QTextStream>

// The tool run in-process, as a script calls it: its exit status, what it writes in *out and *err.
inline int runTool(const QStringList &args, QString *out = nullptr, QString *err = nullptr)
{
    QString o, e;
    QTextStream os(&o), es(&e);
    const int status = DueBilCli(os, es).run(args);
    os.flush();
    es.flush();
    if (out)
        *out = o;
    if (err)
        *err = e;
    return status;
}

// Every stored row of the causals, the sibling screen's included: what a case compares before
// and after an action that must leave them whole or take them away whole.
inline QString storedConfiguration(const QString &connectionString, const QStringList &codes)
{
    const QMap<int, QStringList> rows = CausalRows(connectionString).read();
    QStringList all;
    for (const QString &code : codes)
        all += rows.value(code.toInt());
    return all.join(u'\n');
}
