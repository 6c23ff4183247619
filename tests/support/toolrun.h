#pragma once

#include "cli/duebilcli.h"

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
