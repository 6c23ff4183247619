#pragma once

#include <QString>
#include <QStringList>

// Builds the embedded SQLite database from the scripts carried as resources
// (":/db/sqlite/..."): tables, the field and check catalogues and, on request,
// the demo data of the host (companies, ledger, users) and a few causals.
class DatabaseInstaller
{
public:
    // Creates the tables and catalogues in sqlitePath (the file is created when
    // missing), plus the demo data when withDemoData is set, all in one
    // transaction. Refuses a file that already holds any of the tables.
    // On failure returns false, leaves the file as it was (a file created here
    // is removed) and puts a technical description into *error.
    static bool create(const QString &sqlitePath, bool withDemoData, QString *error);

    // True when the file exists and holds the configuration tables.
    static bool hasSchema(const QString &sqlitePath);

    // The per-user demo database (<generic data folder>/duebilconfig/duebilconfig-demo.db);
    // DUEBIL_DEMO_DB overrides the location.
    static QString defaultDemoPath();

    // Creates the demo database at defaultDemoPath() on first use; returns its
    // path, or an empty text with *error set when it cannot be created.
    static QString ensureDemoDatabase(QString *error);

    // Resource paths of the text files, host texts first, then the module's.
    static QStringList textFiles();

    // Resource paths of the scripts create() runs, in order.
    static QStringList scriptFiles(bool withDemoData);
};
