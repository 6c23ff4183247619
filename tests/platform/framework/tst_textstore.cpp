#include "framework/textstore.h"

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

        QTest::newRow("plain") << QByteArray("30179\tImpossibile cambiare ditta\n") << 30179
                               << QStringLiteral("Impossibile cambiare ditta");
        QTest::newRow("utf-8 accents") << QByteArray("1\tPossibilit\xc3\xa0 di modifica\n") << 1
                                       << QStringLiteral("Possibilità di modifica");
        QTest::newRow("escaped newline and tab") << QByteArray("2\tRiga uno\\nRiga\\tdue\n") << 2
                                                 << QStringLiteral("Riga uno\nRiga\tdue");
        QTest::newRow("escaped backslash before n") << QByteArray("3\tC:\\\\nuovo\n") << 3
                                                    << QStringLiteral("C:\\nuovo");
        QTest::newRow("tab inside text kept") << QByteArray("4\ta\tb\n") << 4 << QStringLiteral("a\tb");
        QTest::newRow("comment and blank lines skipped")
            << QByteArray("# testi\n\n5\tCinque\r\n") << 5 << QStringLiteral("Cinque");
        QTest::newRow("no final newline") << QByteArray("6\tSei") << 6 << QStringLiteral("Sei");
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

        QTest::newRow("two in order") << "Procedura %1: %2" << QStringList{"EseguiQuery", "440 - x"}
                                      << "Procedura EseguiQuery: 440 - x";
        QTest::newRow("out of order and repeated") << "%2/%1/%2" << QStringList{"a", "b"} << "b/a/b";
        QTest::newRow("four") << "%1%2%3%4" << QStringList{"1", "2", "3", "4"} << "1234";
        QTest::newRow("missing parameter becomes empty") << "Causale %1 (%2)" << QStringList{"301"}
                                                         << "Causale 301 ()";
        QTest::newRow("parameter holding a placeholder is not substituted again")
            << "%1 e %2" << QStringList{"%2", "x"} << "%2 e x";
        QTest::newRow("fifth placeholder untouched") << "%5 %1" << QStringList{"a"} << "%5 a";
        QTest::newRow("percent sign alone") << "100% %1" << QStringList{"ok"} << "100% ok";
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
