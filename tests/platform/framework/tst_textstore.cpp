#include "framework/textstore.h"
#include "support/jsoncases.h"

#include <QBuffer>
#include <QTest>

static bool loadText(TextStore &store, const QByteArray &content, QString *error = nullptr)
{
    QBuffer buffer;
    buffer.setData(content);
    return store.load(&buffer, error);
}

class tst_TextStore : public QObject
{
    Q_OBJECT
private slots:
    void parsesLines_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("expected");

        for (const QJsonValue &row : jsonCases("textstore.json", "parsesLines"))
            QTest::newRow(qPrintable(row[0].toString())) << row[1].toString().toUtf8() << row[2].toInt() << row[3].toString();
    }

    void parsesLines()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, id);
        QFETCH(QString, expected);

        TextStore store;
        QString error;
        QVERIFY2(loadText(store, content, &error), qPrintable(error));
        bool ok = false;
        QCOMPARE(store.text(id, &ok), expected);
        QVERIFY(ok);
        QCOMPARE(store.size(), 1);
    }

    void malformedLinesAreReportedButGoodOnesKept()
    {
        TextStore store;
        QString error;
        QVERIFY(!loadText(store, "10\tDieci\nsenza tab\nxx\tNon numero\n11\tUndici\n", &error));
        QVERIFY2(error.contains(QStringLiteral("line 2")), qPrintable(error));
        QVERIFY2(error.contains(QStringLiteral("line 3")), qPrintable(error));
        QCOMPARE(store.size(), 2);
        QCOMPARE(store.text(11), QStringLiteral("Undici"));
    }

    void laterFileReplacesEarlierText()
    {
        TextStore store;
        QVERIFY(loadText(store, "7\tTesto dell'host\n8\tAltro\n"));
        QVERIFY(loadText(store, "7\tTesto del modulo\n"));
        QCOMPARE(store.text(7), QStringLiteral("Testo del modulo"));
        QCOMPARE(store.text(8), QStringLiteral("Altro"));
    }

    void substitution_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("params");
        QTest::addColumn<QString>("expected");

        for (const QJsonValue &row : jsonCases("textstore.json", "substitution")) {
            QStringList params;
            for (const QJsonValue &param : row[2].toArray())
                params << param.toString();
            QTest::newRow(qPrintable(row[0].toString())) << row[1].toString() << params << row[3].toString();
        }
    }

    void substitution()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, params);
        QFETCH(QString, expected);
        QCOMPARE(TextStore::substitute(text, params), expected);

        TextStore store;
        store.insert(1, text);
        QCOMPARE(store.text(1, params), expected);
    }

    void missingIdIsAFailureShowingTheId()
    {
        TextStore store;
        store.insert(1, QStringLiteral("Uno"));
        bool ok = true;
        QCOMPARE(store.text(63436, &ok), QStringLiteral("63436"));
        QVERIFY(!ok);
        ok = true;
        QCOMPARE(store.text(63436, {QStringLiteral("p")}, &ok), QStringLiteral("63436"));
        QVERIFY(!ok);
        QVERIFY(!store.contains(63436));
    }
};

QTEST_GUILESS_MAIN(tst_TextStore)
#include "tst_textstore.moc"
