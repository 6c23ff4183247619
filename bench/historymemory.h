#pragma once

#include <QString>
#include <optional>

// Peak resident memory of the command-line tool writing "history --json" of a change history
// of a given number of operations, each run in a process of its own: not a timing, the figure
// that must stay flat as the history and its output grow.
namespace HistoryMemory {

struct Figure
{
    int operations = 0;
    double peakMegabytes = 0;
    qint64 bytesOut = 0;
    double seconds = 0;
};

// Builds, once in dir, a demo database whose history holds that many operations (saves of
// several tables' rows, about 4 KB of JSON each), then runs the tool on it.
std::optional<Figure> measure(const QString &dir, int operations, QString *error);

} // namespace HistoryMemory
