#include "ado/recordset.h"
#include "installer/databaseinstaller.h"
#include "support/casefile.h"
#include "support/databasereads.h"
#include "support/testdatabase.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct TextFile
{
    QHash<int, QString> texts;
    QStringList problems;
};

TextFile readTexts(const QString &path)
{
    TextFile result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {{}, {QStringLiteral("cannot open %1").arg(path)}};
    static const QRegularExpression badEscape(QStringLiteral(R"(\\(?![nt\\]))"));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (int lineNo = 1; lineNo <= lines.size(); ++lineNo) {
        const QString &line = lines.at(lineNo - 1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        bool ok = false;
        const int id = line.section(u'\t', 0, 0).toInt(&ok);
        const QString text = line.section(u'\t', 1);
        const char *problem = !ok                         ? "has no numeric id"
            : result.texts.contains(id)                   ? "repeats its id"
            : text.trimmed().isEmpty()                    ? "has an empty text"
            : text.contains(badEscape)                    ? "has an unknown escape"
                                                          : nullptr;
        if (problem)
            result.problems << QStringLiteral("%1:%2 %3").arg(path).arg(lineNo).arg(QLatin1String(problem));
        else
            result.texts.insert(id, text);
    }
    return result;
}

QString resource(const QString &name)
{
    QFile file(QStringLiteral(":/db/sqlserver/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class TestDatabaseInstaller : public QObject
{
    Q_OBJECT

    // One database of each content for the cases that only read.
    ConnectedDatabase m_schema{TestDatabase::SchemaOnly};
    ConnectedDatabase m_demo;

private slots:
    void fieldCatalogueFitsTheTree()
    {
        ado::Connection *sql = m_schema.connection.get();
        // Every field the layouts and the code name by id. The checks' ids and groups are
        // compared with the code's facts in tst_moduletables.
        QStringList fields;
        for (int id = 10; id <= 760; id += 10)
            fields << QString::number(id) << (id == 580 || id == 590 ? QString::number(id + 1) : QString());
        for (int id = 1000; id <= 4010; id += 10)
            if (id <= 1050 || (id >= 2000 && id <= 2110) || (id >= 3000 && id <= 3080) || id == 4000 || id == 4010)
                fields << QString::number(id) << (id >= 2020 && id <= 2110 ? QString::number(id + 1) : QString());
        fields.removeAll(QString());
        fields.removeAll(QStringLiteral("160"));
        QCOMPARE(column(*sql, QStringLiteral("SELECT CGP1_ID FROM CGP1_DUEBILFIELD ORDER BY CGP1_ID")), fields);
        // The tree hangs every field under one of its four headings by CGP1_DESCRTABLE. Field names
        // are looked up without their table, so each names one table only (and table.field is unique).
        QCOMPARE(column(*sql, QStringLiteral("SELECT DISTINCT CGP1_DESCRTABLE FROM CGP1_DUEBILFIELD ORDER BY 1")),
                 (QStringList{"Anagrafiche", "Documenti", "Scadenze", "Storico"}));
        QCOMPARE(scalar(*sql, QStringLiteral("SELECT COUNT(*) - COUNT(DISTINCT CGP1_FIELD) FROM CGP1_DUEBILFIELD")).toInt(), 0);
    }

    void namedColumnsExist_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_SOURCE_DIR "/tests/data/namedcolumns.cases")});
    }

    void namedColumnsExist()
    {
        QFETCH(TextCase, c);
        const QSqlRecord record = m_schema.connection->database().record(c.name);
        QVERIFY2(!record.isEmpty(), qPrintable(c.name + QStringLiteral(" is missing")));
        for (const QString &column : c.text("columns").split(u' ', Qt::SkipEmptyParts))
            QVERIFY2(record.contains(column), qPrintable(c.name + u'.' + column + QStringLiteral(" is missing")));
    }

    // The module inserts rows by key only: the defaults are what a new causal shows.
    void keyOnlyRowsTakeTheDefaults_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_SOURCE_DIR "/tests/data/keyonlydefaults.cases")});
    }

    void keyOnlyRowsTakeTheDefaults()
    {
        QFETCH(TextCase, c);
        const ConnectedDatabase db(TestDatabase::SchemaOnly);
        db.connection->Execute(c.text("insert"));
        QCOMPARE(firstRow(*db.connection, QStringLiteral("SELECT IFNULL(%1, 'NULL'), COUNT(*) FROM %2")
                                              .arg(c.text("column"), c.text("insert").section(u' ', 2, 2))),
                 (QStringList{c.text("default"), QStringLiteral("1")}));
    }

    void demoCausalsAreComplete_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_SOURCE_DIR "/tests/data/democausals.cases")});
    }

    // Each query lists the causals that break its rule.
    void demoCausalsAreComplete()
    {
        QFETCH(TextCase, c);
        QCOMPARE(column(*m_demo.connection, c.text("query")).join(u','), QString());
    }

    void textIdsThatTheWindowShowsExist_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_SOURCE_DIR "/tests/data/windowtextids.cases")});
    }

    void textIdsThatTheWindowShowsExist()
    {
        QFETCH(TextCase, c);
        const TextFile texts = readTexts(DatabaseInstaller::textFiles().at(c.text("file").toInt()));
        QStringList missing;
        for (const QString &id : c.text("ids").split(u' ', Qt::SkipEmptyParts))
            if (!texts.texts.contains(id.toInt()))
                missing << id;
        QCOMPARE(missing.join(u' '), QString());
    }

    void everyTextIdOfTheSourcesExists_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_SOURCE_DIR "/tests/data/sourcetextids.cases")});
    }

    // A text id of the code (five or six digits, or an enum of them) missing from the files shows as a number.
    void everyTextIdOfTheSourcesExists()
    {
        QFETCH(TextCase, c);
        const QString folder = QStringLiteral(DUEBIL_SOURCE_DIR "/") + c.text("folder");
        // An id in two of the files the program loads shows one of two texts.
        QSet<int> known;
        QStringList twice;
        for (const QString &f : c.lines("texts")) {
            const TextFile texts = readTexts(QStringLiteral(DUEBIL_SOURCE_DIR "/") + f);
            QCOMPARE(texts.problems.join(u'\n'), QString());
            for (auto it = texts.texts.cbegin(); it != texts.texts.cend(); ++it)
                if (known.contains(it.key()))
                    twice << QString::number(it.key());
                else
                    known.insert(it.key());
        }
        QCOMPARE(twice.join(u' '), QString());
        // Numbers of that size that are no text: milliseconds and the largest 16-bit value.
        const QSet<int> notTexts = {10000, 12000, 32767};
        static const QRegularExpression noise(QStringLiteral("//[^\\n]*|/\\*.*?\\*/|\"(\\\\.|[^\"\\\\\\n])*\"|'(\\\\.|[^'\\\\\\n])*'"),
                                              QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression enumBlock(QStringLiteral(R"(\benum\b[^{;]*\{([^}]*)\})"));
        static const QRegularExpression number(QStringLiteral(R"((?<![\w.])(\d{5,6})(?![\w.]))"));
        QStringList missing;
        int found = 0;
        QDirIterator it(folder, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QString code = QString::fromUtf8(file.readAll()).replace(noise, QStringLiteral(" "));
            QList<int> ids;
            // An enum that starts at a text id numbers the texts that follow it.
            for (auto m = enumBlock.globalMatch(code); m.hasNext();) {
                int next = -1;
                for (const QString &member : m.next().captured(1).split(u',', Qt::SkipEmptyParts)) {
                    const QString value = member.section(u'=', 1).trimmed();
                    if (member.contains(u'='))
                        next = value.toInt();
                    else if (next >= 0 && !member.trimmed().isEmpty())
                        ++next;
                    if (next >= 10000 && !member.trimmed().isEmpty())
                        ids << next;
                }
            }
            code.replace(enumBlock, QStringLiteral(" "));
            for (auto m = number.globalMatch(code); m.hasNext();)
                ids << m.next().captured(1).toInt();
            for (int id : std::as_const(ids)) {
                if (notTexts.contains(id))
                    continue;
                ++found;
                if (!known.contains(id))
                    missing << QDir(folder).relativeFilePath(path) + u':' + QString::number(id);
            }
        }
        QVERIFY(found > 0);
        QCOMPARE(missing.join(u' '), QString());
    }

    void createRefusesExistingTables()
    {
        TestDatabase db;
        QVERIFY2(db.isValid(), qPrintable(db.errorString()));
        QString error;
        QVERIFY(!DatabaseInstaller::create(db.path(), true, &error));
        QVERIFY(error.contains(QStringLiteral("CGP0_DUEBILCAUSALI")));
        // Nothing of the refused run may have reached the file.
        QCOMPARE(scalar(db.connectionString(), QStringLiteral("SELECT COUNT(*) FROM CGP2_DUEBILCHECK")).toInt(), 32);
        QCOMPARE(scalar(db.connectionString(), QStringLiteral("SELECT COUNT(*) FROM CG18_DITTE")).toInt(), 3);
    }

    void createAcceptsAHostDatabaseWithoutTheTables()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("host.db"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        execute(QStringLiteral("sqlite:") + path, {QStringLiteral("CREATE TABLE HOST_ALTRO (ID INTEGER)")});
        QVERIFY(!DatabaseInstaller::hasSchema(path));
        QString error;
        QVERIFY2(DatabaseInstaller::create(path, false, &error), qPrintable(error));
        QVERIFY(DatabaseInstaller::hasSchema(path));
    }

    void failedCreateLeavesNoFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing-folder/x.db"));
        QString error;
        QVERIFY(!DatabaseInstaller::create(path, true, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!QFile::exists(path));
        QVERIFY(!DatabaseInstaller::hasSchema(path));
    }

    void demoDatabaseIsCreatedOnce()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sub/demo.db"));
        qputenv("DUEBIL_DEMO_DB", path.toLocal8Bit());
        QCOMPARE(DatabaseInstaller::defaultDemoPath(), path);
        QString error;
        QCOMPARE(DatabaseInstaller::ensureDemoDatabase(&error), path);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        execute(QStringLiteral("sqlite:") + path,
                {QStringLiteral("UPDATE CGP0_DUEBILCAUSALI SET CGP0_DESCRIZIONE = 'modificata' WHERE CGP0_CAUSALE = 300")});
        // A second start must keep what the user changed.
        QCOMPARE(DatabaseInstaller::ensureDemoDatabase(&error), path);
        QCOMPARE(scalar(QStringLiteral("sqlite:") + path, QStringLiteral("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 300"))
                     .toString(), QStringLiteral("modificata"));
        qunsetenv("DUEBIL_DEMO_DB");
    }

    void sqlServerScriptCreatesEveryTable()
    {
        // The customer runs only the module's script; the host's tables come from the stand-ins.
        const QString module = resource(QStringLiteral("module.sql"));
        const QString standins = resource(QStringLiteral("host-standins.sql"));
        QVERIFY(!module.isEmpty() && !standins.isEmpty());
        ado::Connection *sql = m_schema.connection.get();
        QStringList missing;
        for (const QString &table : column(*sql, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name"))) {
            const bool ours = table.startsWith(QLatin1String("CGP"));
            const QString &script = ours ? module : standins;
            const qsizetype start = script.indexOf(QStringLiteral("CREATE TABLE dbo.") + table + u' ');
            if (start < 0 || (ours ? standins : module).contains(QStringLiteral("CREATE TABLE dbo.") + table + u' ')) {
                missing << table;
                continue;
            }
            // Run again on a database that has some of the tables, the module's script creates only the others.
            if (ours && !script.contains(QStringLiteral("IF OBJECT_ID(N'dbo.%1', N'U') IS NULL\n    CREATE TABLE").arg(table)))
                missing << table + QStringLiteral(" (unguarded)");
            const QString block = script.mid(start, script.indexOf(QStringLiteral(");"), start) - start);
            const QSqlRecord record = sql->database().record(table);
            for (int i = 0; i < record.count(); ++i)
                if (!block.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(record.fieldName(i)))))
                    missing << table + u'.' + record.fieldName(i);
        }
        QCOMPARE(missing.join(u' '), QString());
        // Every index and catalogue row of the module's script is created only where missing.
        const QRegularExpression unguarded(QStringLiteral("(?<!\\n    )CREATE (UNIQUE )?INDEX|INSERT INTO(?![^;]*WHERE NOT EXISTS)"));
        QCOMPARE(unguarded.match(module).captured(), QString());
        QVERIFY(standins.contains(QStringLiteral("CREATE FUNCTION dbo.FNCG68_NUMERDESC")));
        QVERIFY(!module.contains(QStringLiteral("FNCG68_NUMERDESC")));
    }

    void catalogueRowsAreAlikeOnBothDatabases_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("fields") << QStringLiteral("CGP1_DUEBILFIELD");
        QTest::newRow("checks") << QStringLiteral("CGP2_DUEBILCHECK");
    }

    // Compared value by value, in the columns the server's script names.
    void catalogueRowsAreAlikeOnBothDatabases()
    {
        QFETCH(QString, table);
        const QString script = resource(QStringLiteral("module.sql"));
        const qsizetype insert = script.indexOf(QStringLiteral("INSERT INTO dbo.%1 (").arg(table));
        QVERIFY(insert >= 0);
        const qsizetype open = script.indexOf(u'(', insert) + 1;
        const QStringList columns = script.mid(open, script.indexOf(u')', open) - open).simplified().split(QStringLiteral(", "));
        const qsizetype values = script.indexOf(QStringLiteral("FROM (VALUES"), insert);
        const qsizetype end = script.indexOf(QStringLiteral(") AS c ("), values);
        QVERIFY(values > insert && end > values);

        static const QRegularExpression tuple(QStringLiteral(R"(^\s*\((.*)\),?\s*$)"), QRegularExpression::MultilineOption);
        static const QRegularExpression value(QStringLiteral(R"(N?'((?:[^']|'')*)'|(-?\d+(?:\.\d+)?)|NULL)"));
        QStringList server;
        for (auto t = tuple.globalMatch(script.mid(values + 12, end - values - 12)); t.hasNext();) {
            QStringList cells;
            for (auto v = value.globalMatch(t.next().captured(1)); v.hasNext();) {
                const QRegularExpressionMatch m = v.next();
                cells << (m.captured(0) == QLatin1String("NULL") ? QStringLiteral("NULL")
                          : m.hasCaptured(2)                     ? m.captured(2)
                                                                 : m.captured(1).replace(QStringLiteral("''"), QStringLiteral("'")));
            }
            server << cells.join(u'|');
        }
        std::sort(server.begin(), server.end(),
                  [](const QString &a, const QString &b) { return a.section(u'|', 0, 0).toInt() < b.section(u'|', 0, 0).toInt(); });

        // The embedded rows written the same way: values joined by "|", NULL as the word.
        const QString cells = QStringLiteral("IFNULL(%1, 'NULL')").arg(columns.join(QStringLiteral(", 'NULL') || '|' || IFNULL(")));
        const QStringList embedded =
            column(*m_schema.connection, QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(cells, table, columns.first()));
        QVERIFY(!embedded.isEmpty());
        QCOMPARE(server, embedded);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseInstaller)
#include "tst_databaseinstaller.moc"
