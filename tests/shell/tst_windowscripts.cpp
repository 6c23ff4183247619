#include "support/casefile.h"
#include "support/hostrun.h"
#include "support/testdatabase.h"

#include <QTemporaryDir>
#include <QTest>

// The window under the user's hands, through the real host: each call of the script interface
// (tests/data/hostcalls.cases), the layout and exclusions tabs with rows clicked, fields removed
// and added, look-up fields typed, each with every answer the user can give
// (tests/data/layoutexclusiontabs.cases), and the examples users start from
// (tests/data/examples.cases). The script prints what the window shows and the database is read
// afterwards.
class tst_WindowScripts : public QObject
{
    Q_OBJECT

private slots:
    void tabDoesWhatTheUserAsks_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/hostcalls.cases"),
                     QStringLiteral(DUEBIL_TEST_DATA "/layoutexclusiontabs.cases"),
                     QStringLiteral(DUEBIL_TEST_DATA "/examples.cases")});
    }

    void tabDoesWhatTheUserAsks()
    {
        QFETCH(TextCase, c);
        TestDatabase db;
        if (!c.lines("setup").isEmpty())
            QVERIFY(!queryValue(db.path(), c.lines("setup")).startsWith(QLatin1String("ERRORE")));
        QTemporaryDir dir;
        QString script = QStringLiteral(DUEBIL_EXAMPLES "/") + c.text("example");
        if (c.parts.contains(QStringLiteral("documented"))) {
            QFile example(script), docs(QStringLiteral(DUEBIL_DOCS "/scripting.md"));
            QVERIFY(example.open(QIODevice::ReadOnly) && docs.open(QIODevice::ReadOnly));
            QVERIFY2(docs.readAll().contains(example.readAll()), "docs/scripting.md does not show the example as it is");
        }
        if (!c.parts.contains(QStringLiteral("example"))) {
            QFile helpers(QStringLiteral(DUEBIL_TEST_DATA "/tabhelpers.js"));
            QVERIFY(helpers.open(QIODevice::ReadOnly));
            script = dir.filePath(QStringLiteral("script.js"));
            QFile file(script);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(helpers.readAll());
            file.write(QStringLiteral("host.onOpen(function () {\n%1\nhost.quit(0);\n});\n").arg(c.text("script")).toUtf8());
        }
        const HostRun run = runHostScript(QStringLiteral(DUEBIL_HOST), db.path(), script);
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        const QStringList shown = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(!c.lines("shown").isEmpty());
        for (const QString &line : c.lines("shown"))
            QVERIFY2(shown.contains(line), qPrintable(QStringLiteral("missing \"%1\" in:\n%2%3").arg(line, run.out, run.err)));
        QVERIFY2(!run.err.contains(QLatin1String("deleted")), qPrintable(run.err));
        if (c.parts.contains(QStringLiteral("statement")))
            QCOMPARE(queryValue(db.path(), c.lines("statement")), c.text("stored"));
    }
};

QTEST_MAIN(tst_WindowScripts)
#include "tst_windowscripts.moc"
