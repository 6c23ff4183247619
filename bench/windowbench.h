#pragma once

#include <QString>
#include <memory>

// The configuration window opened offscreen in an MDI area over a benchmark database, as the
// host opens it, with every message answered from a queue.
class WindowBench
{
public:
    WindowBench();
    ~WindowBench();

    // Shows the window and waits until its first activation is done.
    bool open(const QString &databasePath);
    void close();
    // Shows causal code in the window (query status first, as the navigator's "Nuovo" does).
    bool show(int code);
    // One change in every tab, then "Conferma".
    bool saveWithOneChangePerTab(int round);

    static double residentMegabytes();

private:
    struct Private;
    std::unique_ptr<Private> d;
};
