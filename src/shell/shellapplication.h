#pragma once

#include <QStringList>

class QCoreApplication;

// The start-up of duebil-host: options, texts, database, main window, and the optional
// screenshot run. Returns the process exit code.
class ShellApplication
{
public:
    static int run(int argc, char **argv);
    // Plug-in directories searched for module ProgIDs: beside the executable and plugins/.
    static QStringList pluginDirectories();
    // Qt's own texts (a field's right-click menu, standard buttons) in Italian, as the rest of
    // the window; false when Qt's Italian translation is not installed.
    static bool installQtTranslation(QCoreApplication &app);
};
