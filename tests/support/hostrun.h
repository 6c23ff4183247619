#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// A program run to its end, offscreen, as a user or a script starts it.
struct HostRun
{
    int status = -1;  // -1: crashed or did not end within the minute
    QString out;
    QString err;
    qint64 ms = 0;
};

HostRun runProgram(const QString &program, const QStringList &args,
                   const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// duebil-host on a database, as MROSSI, running a script, with any further options (--modal,
// "--company", "2") before the script.
HostRun runHostScript(const QString &hostProgram, const QString &db, const QString &script,
                      const QStringList &extraArgs = {});

// Runs statements on the database outside the window: the first value of the last one that
// returns a row, or "ERRORE " and the statement that failed.
QString queryValue(const QString &db, const QStringList &statements);
