#pragma once

#include "ado/connection.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

// A small database file with the tables these tests write to, independent of the demo data;
// made afresh on each call, so that a test never meets what the one before wrote.
inline QString makeFixture(const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("t.db"));
    QFile::remove(path);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fixture"));
        db.setDatabaseName(path);
        if (!db.open())
            return {};
        QSqlQuery q(db);
        const QStringList setup = {
            "CREATE TABLE CGP0_DUEBILCAUSALI (CGP0_CAUSALE INTEGER PRIMARY KEY, CGP0_DESCRIZIONE TEXT NOT NULL DEFAULT '')",
            "CREATE TABLE CGP3_DUEBILGRIGLIA (CGP3_CAUSALE_CGP0 INTEGER, CGP3_IDFIELD_CGP1 INTEGER,"
            " CGP3_VISIBLEORDER INTEGER, CGP3_SORTTYPE INTEGER DEFAULT 0, CGP3_GROUPED INTEGER DEFAULT 0,"
            " PRIMARY KEY (CGP3_CAUSALE_CGP0, CGP3_IDFIELD_CGP1))",
            "CREATE TABLE CGP1_DUEBILFIELD (CGP1_ID INTEGER PRIMARY KEY, CGP1_FIELD TEXT)",
            "CREATE TABLE CGP4_DUEBILFILTRI (CGP4_CAUSALE_CGP0 INTEGER, CGP4_IDCHECK_CGP2 INTEGER,"
            " CGP4_CHECKED INTEGER, PRIMARY KEY (CGP4_CAUSALE_CGP0, CGP4_IDCHECK_CGP2))",
            "CREATE TABLE CG68_NUMERDESC (CG68_DITTA_CG18 INTEGER, CG68_SEZIONALE TEXT, CG68_DESCSEZ TEXT,"
            " PRIMARY KEY (CG68_DITTA_CG18, CG68_SEZIONALE))",
            "CREATE TABLE FW95_SETTINGS (FW95_CODICE TEXT PRIMARY KEY, FW95_VALORE TEXT)",
            "INSERT INTO CGP0_DUEBILCAUSALI VALUES (300, 'Incasso RiBa clienti'), (310, 'Pagamento bonifici fornitori'),"
            " (320, 'Incasso RID')",
            "INSERT INTO CGP1_DUEBILFIELD VALUES (1, 'Data scadenza'), (2, 'Importo'), (3, 'Cliente')",
            "INSERT INTO CGP3_DUEBILGRIGLIA VALUES (300, 1, 1, 0, 0), (300, 2, 2, 0, 0), (300, 3, 3, 1, 0)",
            "INSERT INTO CGP4_DUEBILFILTRI VALUES (300, 1, 1), (300, 2, 0), (310, 1, 0)",
            "INSERT INTO CG68_NUMERDESC VALUES (1, 'RP', 'Reg. pagamenti'), (1, '00', 'Generale'),"
            " (2, 'RP', 'Pagamenti ditta 2'), (1, 'R ', 'Sezionale R')",
            "INSERT INTO FW95_SETTINGS VALUES ('GEST_STATI_DISABLE', 'S')",
        };
        for (const QString &s : setup) {
            if (!q.exec(s))
                return {};
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
    return path;
}

// A connection to a fresh fixture; a connection to the one before must be closed first, or its
// log would outlive the file.
inline ado::ConnectionPtr openFixture(const QTemporaryDir &dir)
{
    auto connection = std::make_shared<ado::Connection>();
    connection->Open(QStringLiteral("sqlite:") + makeFixture(dir));
    return connection;
}
