#pragma once

#include <QStringList>

// The start-up of duebil-host: options, texts, database, main window, and the optional
// screenshot run. Returns the process exit code.
class ShellApplication
{
public:
    static int run(int argc, char **argv);
    // Plug-in directories searched for module ProgIDs: beside the executable and plugins/.
    static QStringList pluginDirectories();
};
