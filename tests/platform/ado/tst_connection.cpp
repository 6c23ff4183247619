#include "ado/adoerror.h"
#include "ado/command.h"
#include "ado/connection.h"
#include "ado/recordset.h"
#include "ado/recordset_p.h"
#include "support/databasereads.h"
#include "support/privateodbc.h"
#include "fixture.h"
#include "support/jsoncases.h"

#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlIndex>
#include <QSqlRecord>
#include <QTest>

using namespace ado;

class TestConnection : public QObject
{
    Q_OBJECT

    // Before the first ODBC connection of the process: the driver manager reads it once.
    PrivateOdbc m_odbc;
    QTemporaryDir m_dir;
    QString m_path;

    ConnectionPtr open(const QString &cs = {})
    {
        auto c = std::make_shared<Connection>();
        c->Open(cs.isEmpty() ? QStringLiteral("sqlite:") + m_path : cs);
        return c;
    }

    static int count(Connection &c, const QString &sql) { return scalar(c, sql).toInt(); }

    QString odbcString() const { return QStringLiteral("Driver=SQLite3;Database=") + m_path; }

private slots:
    void init()
    {
        m_path = makeFixture(m_dir);
        QVERIFY(!m_path.isEmpty());
    }

    void failuresHaveTheirKind_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::addColumn<QString>("statement");
        QTest::addColumn<int>("kind");
        QTest::newRow("missing file") << "sqlite:/nonexistent/dir/x.db" << "" << int(AdoError::ConnectionFailed);
        QTest::newRow("missing table") << "" << "SELECT * FROM CGP9_NONESISTE" << int(AdoError::MissingObject);
        QTest::newRow("missing column") << "" << "SELECT CGP0_NONESISTE FROM CGP0_DUEBILCAUSALI"
                                        << int(AdoError::MissingObject);
        QTest::newRow("null description") << "" << "INSERT INTO CGP0_DUEBILCAUSALI VALUES (400, NULL)"
                                          << int(AdoError::Constraint);
        QTest::newRow("unsupported construct") << "" << "SELECT DATEADD(d, 1, 0)" << int(AdoError::Unsupported);
    }

    void failuresHaveTheirKind()
    {
        QFETCH(QString, connection);
        QFETCH(QString, statement);
        QFETCH(int, kind);
        try {
            auto c = open(connection);
            c->Execute(statement);
            QFAIL("no error raised");
        } catch (const AdoError &e) {
            QCOMPARE(int(e.kind()), kind);
            QVERIFY(!e.message().isEmpty());
        }
    }

    void passwordIsNeverShown()
    {
        QCOMPARE(Connection::maskPassword("Driver={ODBC Driver 18};Server=srv;UID=sa;PWD=S3gret0;Database=x"),
                 QString("Driver={ODBC Driver 18};Server=srv;UID=sa;PWD=****;Database=x"));
        // A braced password may hold ";" and "}}" (an escaped brace): all of it is hidden.
        QCOMPARE(Connection::maskPassword("Driver=FreeTDS;UID=sa;PWD={S3c}}ret;x};Database=x"),
                 QString("Driver=FreeTDS;UID=sa;PWD=****;Database=x"));
        QCOMPARE(Connection::maskPassword("PWD={S3c}}ret;x}"), QString("PWD=****"));
        QCOMPARE(Connection::maskPassword("Server=x;UID=sa;password = S3gret0"), QString("Server=x;UID=sa;password =****"));
    }

    // Values and column names read through SQLite's own interface are those Qt's driver gives.
    void valuesAsQtReadsThem_data() { addJsonRows("connection.json", "valuesAsQtReads"); }

    void valuesAsQtReadsThem()
    {
        QFETCH(QJsonArray, row);
        const QString select = row[1].toString();
        auto c = open();
        const RecordsetPtr rs = c->Execute(select);
        QSqlQuery qt(c->database());
        QVERIFY(qt.exec(c->nativeSql(select)) && qt.next());
        QCOMPARE(rs->RecordCount(), 1);
        QCOMPARE(rs->fieldNames(), QStringList{qt.record().fieldName(0)});
        const QVariant ours = rs->value(0);
        const QVariant theirs = qt.value(0);
        if (theirs.isNull()) {
            QVERIFY(!ours.isValid());  // NULL is an invalid QVariant, as the recordset always gave it
        } else {
            QCOMPARE(ours.typeId(), theirs.typeId());
            QCOMPARE(ours, theirs);
        }
    }

    // A text of several statements is refused whole, none of them run, as Qt's driver did.
    void severalStatementsAreRefused()
    {
        auto c = open();
        QVERIFY_THROWS_EXCEPTION(AdoError,
                                 c->Execute("DELETE FROM CGP3_DUEBILGRIGLIA; DELETE FROM CGP0_DUEBILCAUSALI"));
        QCOMPARE(count(*c, "SELECT COUNT(*) FROM CGP3_DUEBILGRIGLIA"), 3);
        QCOMPARE(count(*c, "SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI"), 3);
        // A trailing ";" is no second statement.
        QCOMPARE(count(*c, "SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI;  "), 3);
    }

    // Values bound once stay for every row, each row gets its own, a refused row leaves the command usable.
    void preparedCommandWritesEveryRow_data()
    {
        QTest::addColumn<bool>("odbc");
        QTest::newRow("embedded database") << false;
        QTest::newRow("ODBC") << true;
    }

    void preparedCommandWritesEveryRow()
    {
        QFETCH(bool, odbc);
        if (odbc && !m_odbc.isValid())
            QSKIP("SQLite ODBC driver not available");
        const ConnectionPtr c = open(odbc ? odbcString() : QString());
        c->Execute("CREATE TABLE T_RIGHE (R_GRUPPO TEXT NOT NULL, R_NUMERO INTEGER PRIMARY KEY, R_TESTO TEXT)");
        const QStringList texts = {"prima", "L'incasso dell''anno", "Società € ✓", QString(3000, QChar(u'à'))};
        {
            Command insert(*c, "INSERT INTO T_RIGHE (R_GRUPPO, R_NUMERO, R_TESTO) VALUES (?, ?, ?)");
            insert.bind(0, QStringLiteral("G1"));
            for (int i = 0; i < texts.size(); ++i) {
                insert.bind(1, qint64(i + 1));
                insert.bind(2, texts.at(i));
                QCOMPARE(insert.Execute(), 1);
            }
            insert.bind(1, qint64(1));  // a key already written
            try {
                insert.Execute();
                QFAIL("a repeated key was written");
            } catch (const AdoError &e) {
                QCOMPARE(e.kind(), AdoError::Constraint);
            }
            insert.bind(1, qint64(10));
            QCOMPARE(insert.Execute(), 1);
        }
        const RecordsetPtr rs = c->Execute("SELECT R_GRUPPO, R_NUMERO, R_TESTO FROM T_RIGHE ORDER BY R_NUMERO");
        QCOMPARE(rs->RecordCount(), texts.size() + 1);
        for (int i = 0; i < texts.size(); ++i, rs->MoveNext()) {
            QCOMPARE(rs->value("R_GRUPPO").toString(), QString("G1"));
            QCOMPARE(rs->value("R_NUMERO").toInt(), i + 1);
            QCOMPARE(rs->value("R_TESTO").toString(), texts.at(i));
        }
        QCOMPARE(rs->value("R_TESTO").toString(), texts.last());
        // A missing table fails when prepared or, where the driver prepares late, when run.
        QVERIFY_THROWS_EXCEPTION(AdoError, [&] {
            Command missing(*c, "INSERT INTO T_NONESISTE VALUES (?)");
            missing.bind(0, qint64(1));
            missing.Execute();
        }());
    }

    // A statement prepared once and kept answers as if prepared afresh, whatever changed between.
    void statementRunAgainAnswersAfresh_data()
    {
        QTest::addColumn<QString>("between");   // run through a second connection between the two runs
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("expected");  // second run: the first row, columns joined by '|', or the error kind
        QTest::newRow("row changed") << "UPDATE CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = 'Nuova' WHERE CGP0_CAUSALE = 300"
                                     << "SELECT * FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300" << "300|Nuova";
        QTest::newRow("row added") << "INSERT INTO CGP0_DUEBILCAUSALI VALUES (200, 'Prima')"
                                   << "SELECT * FROM CGP0_DUEBILCAUSALI ORDER BY CGP0_CAUSALE" << "200|Prima";
        QTest::newRow("column added") << "ALTER TABLE CGP0_DUEBILCAUSALI ADD COLUMN CGP0_NOTE TEXT DEFAULT 'n'"
                                      << "SELECT * FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300"
                                      << "300|Incasso RiBa clienti|n";
        QTest::newRow("table dropped") << "DROP TABLE CGP1_DUEBILFIELD" << "SELECT * FROM CGP1_DUEBILFIELD"
                                       << "error " + QString::number(int(AdoError::MissingObject));
        QTest::newRow("insert refused, then its row removed")
            << "DELETE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 330"
            << "INSERT INTO CGP0_DUEBILCAUSALI VALUES (330, 'Terza volta')" << "inserted";
    }

    void statementRunAgainAnswersAfresh()
    {
        QFETCH(QString, between);
        QFETCH(QString, statement);
        QFETCH(QString, expected);
        auto c = open();
        const auto run = [&]() -> QString {
            try {
                const RecordsetPtr rs = c->Execute(statement);
                if (rs->State() != ObjectState::Open)
                    return QStringLiteral("inserted");
                QStringList values;
                for (int i = 0; i < rs->fieldCount(); ++i)
                    values << rs->value(i).toString();
                return values.join(u'|');
            } catch (const AdoError &e) {
                return QStringLiteral("error %1").arg(int(e.kind()));
            }
        };
        const QString first = run();
        if (first == QLatin1String("inserted"))
            QCOMPARE(run(), QStringLiteral("error %1").arg(int(AdoError::Constraint)));
        auto other = open();
        other->Execute(between);
        QCOMPARE(run(), expected);
    }

    // A read is answered from its rows within one action, never once anything may have changed them.
    void readsAreKeptWithinOneAction_data()
    {
        QTest::addColumn<QString>("between");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing: the read is not sent again") << "" << "Incasso RiBa clienti";
        QTest::newRow("the next action sees another user's change") << "next action" << "Nuova";
        QTest::newRow("its own write") << "own write" << "Nuova";
        QTest::newRow("a transaction") << "transaction" << "Nuova";
        QTest::newRow("the caller edits the rows it got") << "caller edits" << "Incasso RiBa clienti";
    }

    void readsAreKeptWithinOneAction()
    {
        QFETCH(QString, between);
        QFETCH(QString, expected);
        const QString read = QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300");
        const QString change = QStringLiteral("UPDATE CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = 'Nuova' WHERE CGP0_CAUSALE = 300");
        auto c = open();
        auto other = open();
        auto action = std::make_unique<ReadScope>();
        const RecordsetPtr first = c->Execute(read);
        if (between != QLatin1String("own write"))
            other->Execute(change);
        if (between == QLatin1String("next action")) {
            action.reset();
            action = std::make_unique<ReadScope>();
        } else if (between == QLatin1String("own write")) {
            c->Execute(change);
        } else if (between == QLatin1String("transaction")) {
            c->BeginTrans();
            c->RollbackTrans();
        } else if (between == QLatin1String("caller edits")) {
            first->setValue(QStringLiteral("CGP0_DESCRIZIONE"), QStringLiteral("Modificata"));
        }
        QCOMPARE(c->Execute(read)->value(QStringLiteral("CGP0_DESCRIZIONE")).toString(), expected);
    }

    // The shapes described together at start-up are those the catalogue gives table by table.
    void describedShapesAreTheCatalogues_data()
    {
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("create");
        QTest::addColumn<QString>("table");
        for (const char *driver : {"embedded", "odbc"}) {
            for (const QJsonValue &row : jsonCases("connection.json", "describedShapes"))
                QTest::addRow("%s, %s", driver, qPrintable(row[0].toString())) << driver << row[1].toString() << row[2].toString();
        }
    }

    void describedShapesAreTheCatalogues()
    {
        QFETCH(QString, driver);
        QFETCH(QString, create);
        QFETCH(QString, table);
        if (driver == QLatin1String("odbc") && !m_odbc.isValid())
            QSKIP("SQLite ODBC driver not available");
        open()->Execute(create);
        const ConnectionPtr c = open(driver == QLatin1String("odbc") ? odbcString() : QString());
        c->describeTables({table, QStringLiteral("T_ASSENTE")});
        const Connection::TableShape described = c->tableShape(table);
        const ConnectionPtr asked = open();
        const QSqlDatabase catalogue = asked->database();
        const QSqlRecord record = catalogue.record(table);
        const QSqlIndex primary = catalogue.primaryIndex(table);
        QVERIFY(!record.isEmpty());
        // A row is found by its key whatever the order of its terms.
        const auto names = [](const QSqlRecord &r, bool sorted) {
            QStringList n;
            for (int i = 0; i < r.count(); ++i)
                n << r.fieldName(i);
            return sorted ? (n.sort(), n) : n;
        };
        QCOMPARE(names(described.record, false), names(record, false));
        QCOMPARE(names(described.primary, true), names(primary, true));
        QVERIFY(c->hasTable(table.toUpper()));
    }

    // A table the start-up did not find, created while the window is open, is found then.
    void tableNotFoundIsAskedAgain()
    {
        auto c = open();
        c->describeTables({QStringLiteral("CGPX_NUOVA")});
        QVERIFY(!c->hasTable(QStringLiteral("CGPX_NUOVA")));
        QVERIFY(c->tableShape(QStringLiteral("CGPX_NUOVA")).record.isEmpty());
        open()->Execute(QStringLiteral("CREATE TABLE CGPX_NUOVA (CGPX_ID INTEGER NOT NULL PRIMARY KEY, CGPX_TESTO TEXT)"));
        QVERIFY(c->hasTable(QStringLiteral("CGPX_NUOVA")));
        QCOMPARE(c->tableShape(QStringLiteral("CGPX_NUOVA")).primary.fieldName(0), QStringLiteral("CGPX_ID"));
    }

    void numberingSections_data() { addJsonRows("connection.json", "numberingSections"); }

    void numberingSections()
    {
        QFETCH(QJsonArray, row);
        const QString description = row[3].toString();  // empty: no section
        auto c = open();
        RecordsetPtr rs = c->Execute(QString("SELECT CG68_SEZIONALE, CG68_DESCSEZ FROM FNCG68_NUMERDESC(%1, %2) ")
                                         .arg(row[1].toString()).arg(row[2].toInt()));
        QCOMPARE(rs->RecordCount(), description.isEmpty() ? 0 : 1);
        if (!description.isEmpty())
            QCOMPARE(rs->value("CG68_DESCSEZ").toString(), description);
    }

    // Each string goes to the driver meant, without our "Dialect=", a DSN as Qt's driver expects it.
    void connectionStringsReachTheirDriver_data() { addJsonRows("connection.json", "driverStrings"); }

    void connectionStringsReachTheirDriver()
    {
        QFETCH(QJsonArray, row);
        const QString connection = row[1].toString();
        const bool odbc = row[2].toBool();
        QCOMPARE(Connection::isOdbc(connection), odbc);
        if (odbc)
            QCOMPARE(Connection::odbcDriverString(connection), row[3].toString());
    }

    // The dialect is the engine's the driver reports, never a word of the connection string.
    void dialectFollowsTheEngine_data()
    {
        QTest::addColumn<QString>("dbms");
        QTest::addColumn<int>("dialect");
        QTest::newRow("SQLite ODBC driver") << "SQLite" << int(Dialect::Sqlite);
        QTest::newRow("SQL Server") << "Microsoft SQL Server" << int(Dialect::SqlServer);
        QTest::newRow("engine not reported") << "" << int(Dialect::SqlServer);
    }

    void dialectFollowsTheEngine()
    {
        QFETCH(QString, dbms);
        QFETCH(int, dialect);
        QCOMPARE(int(Connection::dialectForDbms(dbms)), dialect);
    }

    // Another session's write lock makes a write give up after the lock wait as "busy", on every
    // driver (a data source name too); once the lock goes, the statement succeeds.
    void lockWaitIsBounded_data()
    {
        QTest::addColumn<QString>("connection");
        QTest::newRow("embedded database") << QString();
        QTest::newRow("ODBC driver string") << "Driver=SQLite3;Database=%1";
        QTest::newRow("ODBC data source name") << "DSN=bloccata";
    }

    void lockWaitIsBounded()
    {
        QFETCH(QString, connection);
        if (connection.isEmpty())
            connection = QStringLiteral("sqlite:") + m_path;
        else if (!m_odbc.isValid())
            QSKIP("SQLite ODBC driver not available");
        connection.replace("%1", m_path);
        QVERIFY(m_odbc.addDataSource("bloccata", m_path));
        ConnectionPtr holder = open();
        holder->BeginTrans();
        holder->Execute("UPDATE CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = 'altro utente' WHERE CGP0_CAUSALE = 310");
        auto c = std::make_shared<Connection>();
        c->setBusyTimeout(700);
        c->Open(connection);
        QCOMPARE(c->dialect(), Dialect::Sqlite);
        const QString update = "UPDATE CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = N'mia' WHERE CGP0_CAUSALE = 300";
        QElapsedTimer waited;
        waited.start();
        try {
            c->Execute(update);
            QFAIL("a write went through another session's lock");
        } catch (const AdoError &e) {
            QCOMPARE(e.kind(), AdoError::Busy);
        }
        QVERIFY2(waited.elapsed() >= 600 && waited.elapsed() < 4000, qPrintable(QString::number(waited.elapsed())));
        holder->RollbackTrans();
        c->Execute(update);
        QCOMPARE(c->Execute("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300")
                     ->value("CGP0_DESCRIZIONE").toString(), QString("mia"));
    }

    // SQL Server's lock time-out and deadlock victim are the embedded database's "locked".
    void serverLockFailuresAreBusy_data() { addJsonRows("connection.json", "serverLockFailures"); }

    void serverLockFailuresAreBusy()
    {
        QFETCH(QJsonArray, row);
        const QSqlError server(QString(), row[1].toString(), QSqlError::StatementError, row[2].toString());
        const AdoError e = errorFrom(server, "UPDATE X");
        QCOMPARE(e.kind(), AdoError::Busy);
    }

    // Production speaks ODBC: a transaction through the driver is undone whole, and "Dialect="
    // makes the statements pass as T-SQL.
    void odbcConnection()
    {
        if (!m_odbc.isValid())
            QSKIP("SQLite ODBC driver not available");
        const ConnectionPtr c = open(odbcString());
        c->BeginTrans();
        c->Execute("DELETE FROM CGP0_DUEBILCAUSALI");
        c->RollbackTrans();
        QCOMPARE(count(*c, "SELECT COUNT(*) FROM CGP0_DUEBILCAUSALI"), 3);
        auto server = std::make_shared<Connection>();
        server->setConnectionString(odbcString() + ";Dialect=SqlServer");
        server->Open();
        QCOMPARE(server->dialect(), Dialect::SqlServer);
        QCOMPARE(server->nativeSql("SELECT TOP 1 X FROM T WITH (NOLOCK)"), QString("SELECT TOP 1 X FROM T WITH (NOLOCK)"));
    }
};

QTEST_GUILESS_MAIN(TestConnection)
#include "tst_connection.moc"
