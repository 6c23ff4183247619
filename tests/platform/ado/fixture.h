#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

// A small database file with the tables these tests write to, independent of the demo data.
inline QString makeFixture(const QTemporaryDir &dir, const QString &name = QStringLiteral("t.db"))
{
    const QString path = dir.filePath(name);
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
            "CREATE TABLE CG68_NUMERDESC (CG68_DITTA_CG18 INTEGER, CG68_SEZIONALE TEXT, CG68_DESCSEZ TEXT,"
            " PRIMARY KEY (CG68_DITTA_CG18, CG68_SEZIONALE))",
            "INSERT INTO CGP0_DUEBILCAUSALI VALUES (300, 'Incasso RiBa clienti'), (310, 'Pagamento bonifici fornitori'),"
            " (320, 'Incasso RID')",
            "INSERT INTO CGP1_DUEBILFIELD VALUES (1, 'Data scadenza'), (2, 'Importo'), (3, 'Cliente')",
            "INSERT INTO CGP3_DUEBILGRIGLIA VALUES (300, 1, 1, 0, 0), (300, 2, 2, 0, 0), (300, 3, 3, 1, 0)",
            "INSERT INTO CG68_NUMERDESC VALUES (1, 'RP', 'Reg. pagamenti'), (1, '00', 'Generale'),"
            " (2, 'RP', 'Pagamenti ditta 2'), (1, 'R ', 'Sezionale R')",
        };
        for (const QString &s : setup) {
            if (!q.exec(s))
                return {};
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fixture"));
    return path;
}
