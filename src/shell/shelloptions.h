#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class TextStore;

// The command line of duebil-host.
struct ShellOptions
{
    QString connectionString;   // empty: the demo database
    QVariant company;           // invalid: the first company of the database
    QString user;               // the login name when not given
    QVariant causal;            // invalid: opened from the menu, not called
    bool modal = false;
    QString screenshotFile;
    QString scriptFile;
    QVariant tab;               // tab of the window shown first, for screenshots

    // Parses the arguments (the first is the program). On a bad value returns false with
    // the Italian message in *error; --help and --version are handled by the caller
    // through helpRequested.
    bool parse(const QStringList &arguments, const TextStore &texts, QString *error,
               bool *helpRequested = nullptr, QString *helpText = nullptr);

    static QString loginName();
};
