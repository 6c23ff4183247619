#pragma once

#include <QString>
#include <QStringList>

// duebil-host as a user starts it: offscreen, on a database, as MROSSI, running a script, with
// any further options (--modal).
struct HostRun
{
    int status = -1;  // -1: crashed or did not end within the minute
    QString out;
    QString err;
    qint64 ms = 0;
};

// extraArgs go before the script ("--company", "2").
HostRun runHostScript(const QString &hostProgram, const QString &db, const QString &script,
                      const QStringList &extraArgs = {});

// Runs statements on the database outside the window: the first value of the last one that
// returns a row, or "ERRORE " and the statement that failed.
QString queryValue(const QString &db, const QStringList &statements);
