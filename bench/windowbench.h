#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

struct sqlite3;

// The statements SQLite runs on one connection between start() and stop(), as it ran them
// (bound values written in), for a raw baseline to replay.
class StatementCapture
{
public:
    explicit StatementCapture(const QSqlDatabase &database);
    ~StatementCapture();
    void start();
    QStringList stop();

private:
    static int traced(unsigned, void *self, void *statement, void *);
    sqlite3 *m_handle = nullptr;
    QStringList m_captured;
};

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
    // "Nuovo": the causal on display is left, the window waits for a code.
    bool newRecord();
    // One change in every tab, then "Conferma".
    bool saveWithOneChangePerTab(int round);
    // "Nuovo" of the exclusion list: a row whose group or user is then typed.
    bool newExclusion();
    // A code typed into a code field and accepted, as when the user leaves the field.
    bool decode(const QString &field, const QString &code);
    // The field's look-up list built as the look-up button builds it, without waiting for a
    // choice: the number of rows it holds when it opens, or with toTheEnd the number it offers
    // once the user has pressed Ctrl+End in it (then its last row is the current one).
    int lookup(const QString &field, bool toTheEnd = false);

    // Further user actions on the causal on display: "Successivo"; one description changed and
    // "Conferma"; one description changed and "Annulla"; "Duplica" to a code that must be free.
    bool next();
    bool saveOneChange(int round);
    bool undoOneChange(int round);
    bool duplicateTo(int code);

    // The statements the window's connection runs between the two calls, as SQLite ran them.
    void startCapture();
    QStringList stopCapture();

    static double residentMegabytes();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// A network between the window and its database, simulated in the benchmark's process: every
// statement any SQLite connection of the process runs from install() on waits the round trip
// first, and is counted. The product's code is not touched: each connection SQLite opens gets the
// delay as it opens, through SQLite's automatic extensions.
namespace RoundTrip {
void install();
void setDelayMicroseconds(int microseconds);
qint64 statements();
}
