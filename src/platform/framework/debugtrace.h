#pragma once

#include <QString>

// The debug trace of the host: one line when a class or a form of a module is created ("INI")
// and destroyed ("TER"). Lines go to stderr and, when the environment variable KVRX_TRACE
// names a file, are appended to that file, one a line.
class DebugTrace
{
public:
    enum class Phase { Ini, Ter };

    // "KVRX:|<id>|INI|<module>|<object>" - the line itself carries no line end.
    static QString line(const QString &instanceId, Phase phase, const QString &moduleName,
                        const QString &objectName);
    static void write(const QString &line);
    static void write(const QString &instanceId, Phase phase, const QString &moduleName,
                      const QString &objectName);
};
