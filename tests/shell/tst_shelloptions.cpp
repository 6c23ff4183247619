#include "framework/clsglobal.h"
#include "shell/shelloptions.h"
#include "shell/shelltexts.h"

#include <QTest>

class tst_ShellOptions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();

private:
    ClsGlobal m_global;
};

void tst_ShellOptions::initTestCase()
{
    QString error;
    QVERIFY2(m_global.loadTexts({ShellText::file()}, &error), qPrintable(error));
}

void tst_ShellOptions::accepted_data()
{
    QTest::addColumn<QStringList>("args");
    // The database, company, user, causal, modal, screenshot and script the options give.
    QTest::addColumn<QStringList>("expected");
    const QString login = ShellOptions::loginName();
    QTest::newRow("nothing given: demo database, first company, login name, from the menu")
        << QStringList{} << QStringList{"", "", login, "", "false", "", ""};
    QTest::newRow("everything given")
        << QStringList{"--db", "sqlite:/tmp/x.db", "--company", "2", "--user", "VELTO", "--causale", "301",
                       "--modal", "--screenshot", "out.png", "--script", "prova.js"}
        << QStringList{"sqlite:/tmp/x.db", "2", "VELTO", "301", "true", "out.png", "prova.js"};
    QTest::newRow("ODBC string kept whole") << QStringList{"--db=Driver=FreeTDS;Server=srv;UID=sa;PWD=x;TDS_Version=7.4"}
        << QStringList{"Driver=FreeTDS;Server=srv;UID=sa;PWD=x;TDS_Version=7.4", "", login, "", "false", "", ""};
    QTest::newRow("causal zero is a causal") << QStringList{"--causale", "0"}
                                             << QStringList{"", "", login, "0", "false", "", ""};
}

void tst_ShellOptions::accepted()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, expected);
    ShellOptions options;
    QString error;
    QVERIFY2(options.parse(QStringList{"duebil-host"} + args, m_global.textStore(), &error), qPrintable(error));
    // A number given is a number; one not given is no value at all, not 0.
    for (const QVariant &number : {options.company, options.causal})
        QVERIFY(number.isNull() || number.typeId() == QMetaType::Int);
    QCOMPARE((QStringList{options.connectionString, options.company.toString(), options.user, options.causal.toString(),
                          options.modal ? "true" : "false", options.screenshotFile, options.scriptFile}),
             expected);
}

void tst_ShellOptions::refused_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("expectedError");

    QTest::newRow("company not a number") << QStringList{"--company", "uno"}
                                          << "Il valore di --company non è valido: uno";
    QTest::newRow("negative causal") << QStringList{"--causale", "-3"} << "Il valore di --causale non è valido: -3";
    QTest::newRow("unknown option") << QStringList{"--colore"} << "";
    QTest::newRow("missing value") << QStringList{"--db"} << "";
}

void tst_ShellOptions::refused()
{
    QFETCH(QStringList, args);
    QFETCH(QString, expectedError);

    ShellOptions options;
    QString error;
    QVERIFY(!options.parse(QStringList{"duebil-host"} + args, m_global.textStore(), &error));
    QVERIFY(!error.isEmpty());
    if (!expectedError.isEmpty())
        QCOMPARE(error, expectedError);
}

QTEST_GUILESS_MAIN(tst_ShellOptions)
#include "tst_shelloptions.moc"
