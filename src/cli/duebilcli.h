#pragma once

#include <QStringList>
#include <QTextStream>

// The causal operations of the configuration window, from the command line:
//   duebilconfig [--db CONNSTRING] [--company N] [--user NAME] COMMAND
// Exit status 0 done, 1 refused (the window's message on the error stream), 2 usage error.
class DueBilCli
{
public:
    enum ExitCode { Done = 0, Refused = 1, UsageError = 2 };

    DueBilCli(QTextStream &out, QTextStream &err);
    ~DueBilCli();

    // arguments without the program name
    int run(const QStringList &arguments);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
