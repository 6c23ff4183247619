#include "ado/connection.h"
#include "ado/recordset.h"
#include "causals/causaloperations.h"
#include "framework/errortrap.h"
#include "framework/recordingmessageservice.h"
#include "framework/textstore.h"
#include "support/databasereads.h"
#include "support/hostrun.h"
#include "support/modulerows.h"
#include "support/testdatabase.h"
#include "support/toolrun.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

// Starts a program, kills it after `micros` (counted from its first output when it must be ready)
// and waits for its end. A process killed while appending to the shared statement log can leave
// half a line that the next process completes with its own: the killed ones do not log.
static bool killedAfter(const QString &program, const QStringList &args, quint32 micros, bool ready = false)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DUEBIL_STATEMENT_LOG"));
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForStarted(5000) || (ready && !process.waitForReadyRead(5000)))
        return false;
    ::usleep(useconds_t(micros));
    ::kill(pid_t(process.processId()), SIGKILL);
    return process.waitForFinished(5000);
}

// Killed processes, a read-only database, tools started together and generated input leave every causal whole.
class tst_Reliability : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_template = std::make_unique<TestDatabase>(TestDatabase::Demo);
        QVERIFY(m_template->isValid());
        m_demoLayout = layoutOf300(m_template->path());
    }

    // Killed at a random moment, the layout editor leaves one of the layouts it wrote, or the one before.
    void killedLayoutRewriteLeavesAWholeLayout_data()
    {
        QTest::addColumn<int>("run");
        for (int run = 0; run < 20; ++run)
            QTest::addRow("layout rewrite %d", run) << run;
    }

    void killedLayoutRewriteLeavesAWholeLayout()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kill.db"));
        QVERIFY(QFile::copy(m_template->path(), path));
        QVERIFY(killedAfter(QStringLiteral(RELIABILITY_WORKER), {path}, QRandomGenerator::global()->bounded(20000, 250000), true));
        QStringList faults = wholenessFaults(path);
        const QString layout = layoutOf300(path);
        if (!QStringList{m_demoLayout, QStringLiteral("10,20,30,40,50,60,70,80"), QStringLiteral("90,100,110")}.contains(layout))
            faults << QStringLiteral("layout of 300 half written: ") + layout;
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral(", "))));
    }

    void generatedInputNeverBreaksAStatement()
    {
        TestDatabase db;
        const ado::ConnectionPtr c = connect(db.path());
        // What is tested is the text of the statements, not their durability: no wait for the disk.
        c->Execute(QStringLiteral("PRAGMA synchronous = OFF"));
        RecordingMessageService messages;
        TextStore texts;
        ErrorTrap trap(&messages, &texts);
        CausalOperations ops(c, &trap);
        QRandomGenerator random(20261206);
        const QStringList pieces = {"'", "''", "N'", "--", ";", "\"", "\\", "%", "_", "/*", "*/", " ", "0", "9", "-", "+",
                                    "é", "€", "日本", "\t", "DROP TABLE CGP0_DUEBILCAUSALI", "300", "1e3", "0x1F", "  "};
        auto generate = [&](int maxPieces) {
            QString s;
            const int n = int(random.bounded(0, maxPieces + 1));
            for (int i = 0; i < n; ++i)
                s += pieces.at(int(random.bounded(qsizetype(pieces.size()))));
            return s;
        };
        // Codes: refused or accepted by the window's rule, never a statement error.
        for (int i = 0; i < 8000; ++i) {
            const QString code = generate(3);
            if (CausalOperations::checkNewCode(code, QStringLiteral("MROSSI")).done()) {
                bool ok = false;
                const int n = code.toInt(&ok);
                QVERIFY2(ok && n >= 300 && n <= 999, qPrintable(code));
                ops.exists(code);  // the look-up of an accepted code must run without a statement error
            }
        }
        // Descriptions: stored through the duplication and read back byte for byte.
        for (int i = 0; i < 2000; ++i) {
            const QString description = generate(6).left(100);
            const QString code = QString::number(400 + i % 500);
            if (ops.exists(code))
                ops.remove(code, QStringLiteral("MROSSI"));
            QVERIFY2(ops.duplicate(QStringLiteral("300"), code, description, QStringLiteral("MROSSI"), QStringLiteral("1")).done(),
                     qPrintable(description));
            QCOMPARE(scalar(*c, "SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = " + code).toString(),
                     description);
        }
        QVERIFY2(messages.calls().isEmpty(), qPrintable(messages.calls().value(0).error.text));
        QCOMPARE(wholenessFaults(db.path()), QStringList());
    }

    void killedToolLeavesCausalsWholeOrAbsent_data()
    {
        QTest::addColumn<QStringList>("args");     // IMPORT stands for the file to import
        QTest::addColumn<QStringList>("causals");  // the causals the command writes
        QTest::newRow("create") << QStringList{"create", "390", "--description", "Nuova"} << QStringList{"390"};
        QTest::newRow("delete") << QStringList{"delete", "320"} << QStringList{"320"};
        QTest::newRow("duplicate") << QStringList{"duplicate", "300", "401"} << QStringList{"401"};
        QTest::newRow("import") << QStringList{"--user", "VELTO", "import", "IMPORT", "--replace"}
                                << QStringList{"310", "500", "501", "502"};
    }

    // Killed at seeded random moments, the tool leaves its causals all as before or all as after.
    void killedToolLeavesCausalsWholeOrAbsent()
    {
        QFETCH(QStringList, args);
        QFETCH(QStringList, causals);
        constexpr int Kills = 50;
        QTemporaryDir dir;
        const QString importFile = dir.filePath(QStringLiteral("causali.json"));
        {
            // Three copies of 300 and a changed 310: one transaction for four causals.
            QString out;
            QCOMPARE(runTool({QStringLiteral("--db"), m_template->path(), QStringLiteral("export"), QStringLiteral("300"),
                          QStringLiteral("310")}, &out), 0);
            QJsonObject doc = QJsonDocument::fromJson(out.toUtf8()).object();
            QJsonArray list = doc.value(QStringLiteral("causali")).toArray();
            QJsonObject changed = list.at(1).toObject();
            changed.insert(QStringLiteral("CGP0_DESCRIZIONE"), QStringLiteral("Sostituita"));
            QJsonArray written{changed};
            for (int code : {500, 501, 502}) {
                QJsonObject copy = list.at(0).toObject();
                copy.insert(QStringLiteral("CGP0_CAUSALE"), code);
                written.append(copy);
            }
            doc.insert(QStringLiteral("causali"), written);
            QFile file(importFile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QJsonDocument(doc).toJson());
        }
        args.replaceInStrings(QStringLiteral("IMPORT"), importFile);

        // The states a kill may leave: the one before and the one after a whole run.
        const QString path = dir.filePath(QStringLiteral("kill.db"));
        QVERIFY(QFile::copy(m_template->path(), path));
        const QString before = storedConfiguration(QStringLiteral("sqlite:") + path, causals);
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(runProgram(QStringLiteral(DUEBILCONFIG_TOOL), QStringList{QStringLiteral("--db"), path} + args).status, 0);
        const qint64 runMicroseconds = timer.nsecsElapsed() / 1000;
        const QString after = storedConfiguration(QStringLiteral("sqlite:") + path, causals);
        QVERIFY(after != before);

        QRandomGenerator random(20261206u + uint(qHash(QString::fromLatin1(QTest::currentDataTag()))));
        int untouched = 0, done = 0;
        for (int kill = 0; kill < Kills; ++kill) {
            QFile::remove(path);
            QVERIFY(QFile::copy(m_template->path(), path));
            QVERIFY(killedAfter(QStringLiteral(DUEBILCONFIG_TOOL), QStringList{QStringLiteral("--db"), path} + args,
                                random.bounded(quint32(runMicroseconds))));
            const QString state = storedConfiguration(QStringLiteral("sqlite:") + path, causals);
            QVERIFY2(state == before || state == after, qPrintable(QStringLiteral("kill %1 left a causal half written").arg(kill)));
            (state == before ? untouched : done)++;
            QCOMPARE(wholenessFaults(path), QStringList());
        }
        qInfo("%s: %d kills, %d before the commit, %d after it", QTest::currentDataTag(), Kills, untouched, done);
    }

    void readOnlyDatabaseIsReadNotWritten()
    {
        // The superuser writes any file: the tool then runs as an ordinary user.
        QStringList prefix;
        if (::geteuid() == 0) {
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("running as root without setpriv: a read-only file cannot be made");
            prefix = {setpriv, QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")};
        }
        QTemporaryDir dir;
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        const QString path = dir.filePath(QStringLiteral("sola-lettura.db"));
        QVERIFY(QFile::copy(m_template->path(), path));
        connect(path)->Execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        auto tool = [&](const QStringList &args) {
            const QStringList all = prefix + QStringList{QStringLiteral(DUEBILCONFIG_TOOL), QStringLiteral("--db"), path} + args;
            return runProgram(all.first(), all.mid(1));
        };
        const HostRun list = tool({QStringLiteral("list")});
        QCOMPARE(list.status, 0);
        QVERIFY2(list.out.contains(QStringLiteral("300\t")), qPrintable(list.err));
        QCOMPARE(tool({QStringLiteral("show"), QStringLiteral("300")}).status, 0);
        QCOMPARE(tool({QStringLiteral("export")}).status, 0);
        for (const QStringList &args : {QStringList{"create", "401"}, QStringList{"delete", "320"}, QStringList{"complete"}}) {
            const HostRun refused = tool(args);
            QCOMPARE(refused.status, 1);
            QVERIFY2(refused.err.startsWith(QStringLiteral("Il database è aperto in sola lettura")), qPrintable(refused.err));
            QVERIFY(refused.out.isEmpty());
        }
        QVERIFY(!QFile::exists(path + QStringLiteral("-wal")));
    }

    // On a new database or one in rollback mode, tools started together wait instead of "database is locked".
    void toolsStartingTogetherOnANewDatabase()
    {
        QTemporaryDir dir;
        for (int round = 0; round < 6; ++round) {
            const QString path = dir.filePath(QStringLiteral("nuovo%1.db").arg(round));
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            QStringList first{QStringLiteral("list")}, second{QStringLiteral("list")};
            if (round % 3 == 0) {
                // The demo database is created by whichever starts first.
                env.insert(QStringLiteral("DUEBIL_DEMO_DB"), path);
            } else {
                QCOMPARE(runTool({QStringLiteral("--db"), QStringLiteral("sqlite:") + path, QStringLiteral("init"), QStringLiteral("--demo")}), 0);
                if (round % 3 == 2)
                    connect(path)->Execute(QStringLiteral("PRAGMA journal_mode=DELETE"));
                first = QStringList{QStringLiteral("--db"), path, QStringLiteral("create"), QStringLiteral("390")};
                second = QStringList{QStringLiteral("--db"), path, QStringLiteral("duplicate"), QStringLiteral("300"), QStringLiteral("402")};
            }
            QProcess tools[2];
            for (int i : {0, 1}) {
                tools[i].setProcessEnvironment(env);
                tools[i].start(QStringLiteral(DUEBILCONFIG_TOOL), i ? second : first);
            }
            for (QProcess &tool : tools) {
                QVERIFY(tool.waitForFinished(30000));
                QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
            }
            QCOMPARE(wholenessFaults(path), QStringList());
        }
    }

private:
    ado::ConnectionPtr connect(const QString &path) const
    {
        auto c = std::make_shared<ado::Connection>();
        c->setConnectionString(QStringLiteral("sqlite:") + path);
        c->setBusyTimeout(5000);
        c->Open(QString(), QString(), QString(), -1);
        return c;
    }

    // Every causal whole for the company, no row left of a causal that is gone, and a copy with
    // its source's whole layout.
    QStringList wholenessFaults(const QString &path) const
    {
        QStringList faults = CausalRows(QStringLiteral("sqlite:") + path).incomplete(1);
        const ado::ConnectionPtr c = connect(path);
        if (scalar(*c, QStringLiteral("PRAGMA integrity_check")).toString() != QLatin1String("ok"))
            faults << QStringLiteral("integrity_check");
        for (const QString &code : column(*c, QStringLiteral("SELECT CGP0_CAUSALE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE >= 400"
                                                             " AND (SELECT COUNT(*) FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = CGP0_CAUSALE)"
                                                             " <> (SELECT COUNT(*) FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300)")))
            faults << code + QStringLiteral(": layout");
        return faults;
    }

    QString layoutOf300(const QString &path) const
    {
        return column(*connect(path), QStringLiteral("SELECT CGP3_IDFIELD_CGP1 FROM CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300 ORDER BY 1")).join(u',');
    }

    std::unique_ptr<TestDatabase> m_template;
    QString m_demoLayout;
};

QTEST_MAIN(tst_Reliability)
#include "tst_reliability.moc"
