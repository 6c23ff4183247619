#include "ado/connection.h"
#include "ado/recordset.h"
#include "framework/clsglobal.h"
#include "framework/clsservizi.h"
#include "framework/errortrap.h"
#include "framework/frameworktexts.h"
#include "framework/recordingmessageservice.h"
#include "support/jsoncases.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <stdexcept>

using Kind = RecordingMessageService::Kind;

class tst_ErrorTrap : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        m_messages = std::make_unique<RecordingMessageService>();
        m_global = std::make_unique<ClsGlobal>();
        QString error;
        QVERIFY2(m_global->loadTexts({}, &error), qPrintable(error));
        m_global->setMessageService(m_messages.get());
    }

    // Three steps; the second fails `failures` times. `answers` are the user's answers in order.
    void answers_data()
    {
        QTest::addColumn<int>("failures");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("secondRuns");
        QTest::addColumn<int>("thirdRuns");
        QTest::addColumn<int>("reports");
        QTest::addColumn<bool>("left");
        for (const QJsonValue &row : jsonCases("errortrap.json", "answers")) {
            QList<int> answers;
            for (const QJsonValue &answer : row[2].toArray())
                answers << answer.toInt();
            QTest::newRow(qPrintable(row[0].toString())) << row[1].toInt() << answers << row[3].toInt() << row[4].toInt()
                                                         << row[5].toInt() << row[6].toBool();
        }
    }

    void answers()
    {
        QFETCH(int, failures);
        QFETCH(QList<int>, answers);
        QFETCH(int, secondRuns);
        QFETCH(int, thirdRuns);
        QFETCH(int, reports);
        QFETCH(bool, left);
        for (int answer : answers)
            m_messages->enqueueErrorAnswer(answer);
        ClsServizi servizi(m_global.get());
        servizi.Prepara();
        int first = 0, second = 0, third = 0;
        const auto result = servizi.runTrapped(QStringLiteral("EseguiQuery"), {
            [&] { ++first; },
            [&] {
                ++second;
                if (second <= failures)
                    throw std::runtime_error("database is locked");
            },
            [&] { ++third; },
        });
        QCOMPARE(first, 1);
        QCOMPARE(second, secondRuns);
        QCOMPARE(third, thirdRuns);
        QCOMPARE(m_messages->callsOf(Kind::Error).size(), reports);
        QCOMPARE(result, left ? ErrorTrap::Outcome::Left : ErrorTrap::Outcome::Completed);
    }

    void reportCarriesProcedureNumberAndDescription_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");

        QTest::newRow("numbered error") << 0 << 3021 << QStringLiteral("Nessun record corrente");
        QTest::newRow("std::exception") << 1 << int(ErrorTrap::GenericErrorNumber)
                                        << QStringLiteral("disk full");
        QTest::newRow("classified exception") << 2 << -2147217900 << QStringLiteral("classified");
        QTest::newRow("not an exception") << 3 << int(ErrorTrap::GenericErrorNumber)
                                          << QStringLiteral("Errore non previsto");
    }

    void reportCarriesProcedureNumberAndDescription()
    {
        QFETCH(int, kind);
        QFETCH(int, number);
        QFETCH(QString, description);

        struct Classified : std::logic_error { using std::logic_error::logic_error; };
        ErrorTrap trap(m_messages.get(), &m_global->textStore());
        trap.setClassifier([](const std::exception &e) -> std::optional<ErrorTrap::Error> {
            if (dynamic_cast<const Classified *>(&e))
                return ErrorTrap::Error{-2147217900, QStringLiteral("classified")};
            return std::nullopt;
        });
        trap.run(QStringLiteral("DuplicaCausale"), {[&] {
            switch (kind) {
            case 0: throw NumberedError(3021, QStringLiteral("Nessun record corrente"));
            case 1: throw std::runtime_error("disk full");
            case 2: throw Classified("ignored");
            default: throw 42;
            }
        }});
        const auto calls = m_messages->callsOf(Kind::Error);
        QCOMPARE(calls.size(), 1);
        const ErrorReport &report = calls.first().error;
        QCOMPARE(report.procedure, QStringLiteral("DuplicaCausale"));
        QCOMPARE(report.number, number);
        QCOMPARE(report.description, description);
        QCOMPARE(report.text, m_global->text(FrameworkText::ErrorTrapReport,
                                             {QStringLiteral("DuplicaCausale"), QString::number(number), description}));
        QVERIFY(report.text.contains(QStringLiteral("DuplicaCausale")));
    }

    void stepReturningFalseEndsProcedureWithoutReport()
    {
        ErrorTrap trap(m_messages.get(), &m_global->textStore());
        int after = 0;
        const auto result = trap.run(QStringLiteral("P"), {[] { return false; }, [&] { ++after; }});
        QCOMPARE(result, ErrorTrap::Outcome::Exited);
        QCOMPARE(after, 0);
        QVERIFY(m_messages->calls().isEmpty());
    }

    void ignoringVariantRunsEveryStepSilently()
    {
        int ran = 0;
        const auto result = ClsServizi::runIgnoringErrors({
            [&] { ++ran; throw std::runtime_error("x"); },
            [&] { ++ran; throw 1; },
            [&] { ++ran; },
        });
        QCOMPARE(ran, 3);
        QCOMPARE(result, ErrorTrap::Outcome::Completed);
        QVERIFY(m_messages->calls().isEmpty());
    }

    void withoutMessageServiceTheProcedureIsLeft()
    {
        ErrorTrap trap(nullptr, nullptr);
        int after = 0;
        QCOMPARE(trap.run(QStringLiteral("P"), {[] { throw std::runtime_error("x"); }, [&] { ++after; }}),
                 ErrorTrap::Outcome::Left);
        QCOMPARE(after, 0);
    }

    // Two inserts and a record before the commit, the second insert or the record failing `failures`
    // times: the work lands only whole; in a caller's transaction the caller commits it.
    void wholeWorkLandsOnlyWhole_data()
    {
        QTest::addColumn<bool>("callers");
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("failures");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("done");
        QTest::addColumn<int>("records");  // times the record before the commit ran

        for (const bool callers : {false, true}) {
            const char *where = callers ? "caller's transaction" : "own transaction";
            QTest::addRow("%s, no error", where) << callers << "statement" << 0 << QList<int>{} << true << 1;
            QTest::addRow("%s, 3 leaves", where) << callers << "statement" << 1 << QList<int>{3} << false << 0;
            QTest::addRow("%s, 5 goes on but keeps nothing", where) << callers << "statement" << 1 << QList<int>{5} << false << 0;
            QTest::addRow("%s, 4 then the statement succeeds", where) << callers << "statement" << 1 << QList<int>{4} << true << 1;
            QTest::addRow("%s, record refused, 5", where) << callers << "record" << 1 << QList<int>{5} << false << 1;
            QTest::addRow("%s, record refused, 4", where) << callers << "record" << 1 << QList<int>{4} << true << 2;
        }
        // A transaction that cannot be opened (another writer holds the lock) runs no statement.
        QTest::newRow("no transaction, 5") << false << "begin" << 1 << QList<int>{5} << false << 0;
    }

    void wholeWorkLandsOnlyWhole()
    {
        QFETCH(bool, callers);
        QFETCH(QString, failing);
        QFETCH(int, failures);
        QFETCH(QList<int>, answers);
        QFETCH(bool, done);
        QFETCH(int, records);

        QTemporaryDir dir;
        // An empty file is an empty database: the connection opens only files that exist.
        QFile file(dir.filePath(QStringLiteral("t.db")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString db = QStringLiteral("sqlite:") + file.fileName();
        ado::Connection c;
        c.setBusyTimeout(50);
        c.Open(db);
        c.Execute(QStringLiteral("CREATE TABLE T (N INTEGER)"));
        ado::Connection other;
        other.Open(db);
        if (failing == QLatin1String("begin"))
            other.BeginTrans();
        for (int answer : answers)
            m_messages->enqueueErrorAnswer(answer);
        ErrorTrap trap(m_messages.get(), &m_global->textStore());
        if (callers)
            c.BeginTrans();
        int statementRuns = 0, recordRuns = 0;
        const bool whole = trap.runWhole(
            QStringLiteral("DuplicaCausale"), c,
            {[&] { c.Execute(QStringLiteral("INSERT INTO T VALUES (1)")); },
             [&] {
                 if (failing == QLatin1String("statement") && ++statementRuns <= failures)
                     throw std::runtime_error("database is locked");
                 c.Execute(QStringLiteral("INSERT INTO T VALUES (2)"));
             }},
            [&] {
                if (++recordRuns <= failures && failing == QLatin1String("record"))
                    throw std::runtime_error("record refused");
            });
        QCOMPARE(whole, done);
        QCOMPARE(recordRuns, records);
        QCOMPARE(c.inTransaction(), callers);
        if (failing == QLatin1String("begin"))
            other.RollbackTrans();
        const auto rows = [](ado::Connection &on) {
            return on.Execute(QStringLiteral("SELECT COUNT(*) AS N FROM T"))->value(QStringLiteral("N")).toInt();
        };
        QCOMPARE(rows(other), callers ? 0 : (done ? 2 : 0));
        if (callers && whole)
            c.CommitTrans();
        else if (callers)
            c.RollbackTrans();
        QCOMPARE(rows(c), done ? 2 : 0);
        QCOMPARE(m_messages->callsOf(Kind::Error).size(), failures);
    }

    void nullToDefault_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("defaultValue");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("missing") << QVariant() << QVariant(QString()) << QVariant(QString());
        QTest::newRow("null number") << QVariant(QMetaType::fromType<int>()) << QVariant(0) << QVariant(0);
        QTest::newRow("null text") << QVariant(QMetaType::fromType<QString>()) << QVariant(QStringLiteral("-"))
                                   << QVariant(QStringLiteral("-"));
        QTest::newRow("zero is a value") << QVariant(0) << QVariant(7) << QVariant(0);
        QTest::newRow("empty text is a value") << QVariant(QStringLiteral(""))
                                               << QVariant(QStringLiteral("x")) << QVariant(QStringLiteral(""));
        QTest::newRow("text") << QVariant(QStringLiteral("301")) << QVariant(QString())
                              << QVariant(QStringLiteral("301"));
    }

    void nullToDefault()
    {
        QFETCH(QVariant, value);
        QFETCH(QVariant, defaultValue);
        QFETCH(QVariant, expected);
        QCOMPARE(ClsServizi::nullToDefault(value, defaultValue), expected);
    }

    void msgBox_data()
    {
        QTest::addColumn<QString>("textId");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<int>("styleCode");
        QTest::addColumn<int>("expectedId");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<int>("expectedStyle");

        QTest::newRow("warning by id") << "63436" << "" << int(ClsServizi::StyleCode::Warning) << 63436
                                       << "Causale riservata " << (MsgStyle::OkOnly | MsgStyle::Exclamation);
        QTest::newRow("information with extra text") << "63436" << "Dettaglio" << int(ClsServizi::StyleCode::Information)
                                                     << 63436 << "Causale riservata \nDettaglio"
                                                     << (MsgStyle::OkOnly | MsgStyle::Information);
        QTest::newRow("text that is not an id") << "Testo libero" << "" << int(ClsServizi::StyleCode::Warning) << 0
                                                << "Testo libero" << (MsgStyle::OkOnly | MsgStyle::Exclamation);
    }

    void msgBox()
    {
        QFETCH(QString, textId);
        QFETCH(QString, extra);
        QFETCH(int, styleCode);
        QFETCH(int, expectedId);
        QFETCH(QString, expectedText);
        QFETCH(int, expectedStyle);

        m_global->textStore().insert(63436, QStringLiteral("Causale riservata %1"));
        ClsServizi servizi(m_global.get());
        servizi.Inizializza(nullptr, nullptr, QStringLiteral("Lumora"), 0, QStringLiteral("Configurazione"));
        servizi.MsgBox(QString(), textId, extra, {}, ClsServizi::StyleCode(styleCode));
        const auto calls = m_messages->callsOf(Kind::Message);
        QCOMPARE(calls.size(), 1);
        QCOMPARE(calls.first().message.textId, expectedId);
        QCOMPARE(calls.first().message.text, expectedText);
        QCOMPARE(calls.first().message.title, QStringLiteral("Configurazione"));
        QCOMPARE(calls.first().message.style, expectedStyle);
    }

private:
    std::unique_ptr<ClsGlobal> m_global;
    std::unique_ptr<RecordingMessageService> m_messages;
};

QTEST_GUILESS_MAIN(tst_ErrorTrap)
#include "tst_errortrap.moc"
