#include "adoerror.h"
#include "clsservizi.h"
#include "connection.h"
#include "duebilstatements.h"
#include "recordset.h"
#include "testdatabase.h"

#include <QFile>
#include <QTest>

namespace S = DueBilStatements;

// The module's statements are SQL Server's own: on that dialect they go to the driver as
// written, and through ODBC they read and write what the embedded driver does.
class tst_StatementsDialects : public QObject
{
    Q_OBJECT

private slots:
    void statementsPassUnchangedOnSqlServer_data();
    void statementsPassUnchangedOnSqlServer();
    void odbcWritesWhatTheEmbeddedDriverWrites();

private:
    static QString dump(ado::Connection &c);
};

void tst_StatementsDialects::statementsPassUnchangedOnSqlServer_data()
{
    QTest::addColumn<QString>("statement");
    const QStringList singles = {S::frameCausali(), S::frameLayout(), S::frameFiltri(), S::frameParametri(),
                                 S::frameParametriDitta(), S::frameParamPersReg(), S::frameUtenti(),
                                 S::showLayout("300"), S::showFiltri("300"), S::showParametri("300"),
                                 S::showParametriDitta("1", "300"), S::showParamPersReg("1", "300"),
                                 S::showUtenti("300"), S::existsCausal("300"), S::compensationUse("300"),
                                 S::deleteSelection("300"), S::deleteCausalRow("300"), S::settingGestStatiDisable(),
                                 S::causalWithWithholding("300")};
    int i = 0;
    for (const QString &s : singles)
        QTest::addRow("statement %d", i++) << s;
    for (const QString &s : S::completion("1", "1"))
        QTest::addRow("completion %d", i++) << s;
    for (const QString &s : S::duplication("401", "300", "1", "Copia N'x'"))
        QTest::addRow("duplication %d", i++) << s;
    for (const QString &s : S::cascadeDeleteBeforeSelection("300") + S::cascadeDeleteAfterSelection("300"))
        QTest::addRow("delete %d", i++) << s;
}

void tst_StatementsDialects::statementsPassUnchangedOnSqlServer()
{
    QFETCH(QString, statement);
    TestDatabase db;
    auto server = std::make_shared<ado::Connection>();
    server->setConnectionString("Driver=SQLite3;Database=" + db.path() + ";Dialect=SqlServer");
    try {
        server->Open();
    } catch (const ado::AdoError &e) {
        QSKIP(qPrintable("SQLite ODBC driver not available: " + e.message()));
    }
    QCOMPARE(server->dialect(), ado::Dialect::SqlServer);
    QCOMPARE(server->nativeSql(statement), statement);
}

QString tst_StatementsDialects::dump(ado::Connection &c)
{
    QString all;
    for (const char *table : {"CGP0_DUEBILCAUSALI", "CGP3_DUEBILGRIGLIA", "CGP4_DUEBILFILTRI", "CGP5_DUEBILPARAM",
                              "CGP6_DUEBILPARAMDITTA", "CGP7_DUEBILPERSREG", "FW41_SELEZIONEPARAMSCADENZE"}) {
        const ado::RecordsetPtr rs = c.Execute(QStringLiteral("SELECT * FROM %1").arg(QLatin1String(table)));
        QStringList rows;
        for (; !rs->isEOF(); rs->MoveNext()) {
            QStringList cells;
            for (const QString &f : rs->fieldNames())
                cells << (rs->value(f).isNull() ? QStringLiteral("NULL") : rs->value(f).toString());
            rows << cells.join('|');
        }
        rows.sort();
        all += QLatin1String(table) + '\n' + rows.join('\n') + '\n';
    }
    return all;
}

void tst_StatementsDialects::odbcWritesWhatTheEmbeddedDriverWrites()
{
    TestDatabase embeddedDb, odbcDb;
    ado::Connection embedded;
    embedded.Open(embeddedDb.connectionString());
    ado::Connection odbc;
    try {
        odbc.Open("Driver=SQLite3;Database=" + odbcDb.path());
    } catch (const ado::AdoError &e) {
        QSKIP(qPrintable("SQLite ODBC driver not available: " + e.message()));
    }
    // A new company completed, a causal duplicated with a description that needs quoting,
    // and another deleted: the same statements on both.
    QStringList work = S::completion("2", "1");
    work << S::duplication("401", "300", "1", ClsServizi::escapeText("Copia dell'incasso è"));
    work << S::cascadeDeleteBeforeSelection("310") << S::deleteSelection("310") << S::cascadeDeleteAfterSelection("310")
         << S::deleteCausalRow("310");
    for (ado::Connection *c : {&embedded, &odbc}) {
        c->BeginTrans();
        for (const QString &sql : work)
            c->Execute(sql, 1);
        c->CommitTrans();
    }
    const QString written = dump(embedded);
    QVERIFY(written.contains(QStringLiteral("Copia dell'incasso è")));
    QCOMPARE(dump(odbc), written);
}

QTEST_GUILESS_MAIN(tst_StatementsDialects)
#include "tst_statements_dialects.moc"
