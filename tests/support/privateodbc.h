#pragma once

#include <QString>
#include <QTemporaryDir>

// ODBC settings of a test's own: an odbcinst.ini that registers the SQLite ODBC driver and an
// odbc.ini with data source names, found by the driver manager through ODBCSYSINI and ODBCINI,
// so that the machine's files are neither read nor changed. Set up before the first ODBC
// connection of the process; child processes inherit it.
class PrivateOdbc
{
public:
    PrivateOdbc();

    // False when the SQLite ODBC driver is not installed.
    bool isValid() const;
    // Adds [name] pointing at the database file.
    bool addDataSource(const QString &name, const QString &databasePath);

private:
    QTemporaryDir m_dir;
    bool m_valid = false;
};
