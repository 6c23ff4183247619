#include "framework/clsglobal.h"
#include "shell/shelloptions.h"
#include "shell/shelltexts.h"
#include "support/casefile.h"

#include <QTest>

class tst_ShellOptions : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void parse_data();
    void parse();

private:
    ClsGlobal m_global;
};

void tst_ShellOptions::initTestCase()
{
    QString error;
    QVERIFY2(m_global.loadTexts({ShellText::file()}, &error), qPrintable(error));
}

// tests/data/shelloptions.cases.
void tst_ShellOptions::parse_data()
{
    addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/shelloptions.cases")});
}

void tst_ShellOptions::parse()
{
    QFETCH(TextCase, c);
    ShellOptions options;
    QString error;
    const bool parsed = options.parse(QStringList{"duebil-host"} + c.text("args").split('\t', Qt::SkipEmptyParts),
                                      m_global.textStore(), &error);
    if (c.parts.contains("refused")) {
        QVERIFY(!parsed);
        QVERIFY(!error.isEmpty());
        if (!c.text("refused").isEmpty())
            QCOMPARE(error, c.text("refused"));
        return;
    }
    QVERIFY2(parsed, qPrintable(error));
    // A number given is a number; one not given is no value at all, not 0.
    for (const QVariant &number : {options.company, options.causal})
        QVERIFY(number.isNull() || number.typeId() == QMetaType::Int);
    QCOMPARE((QStringList{options.connectionString, options.company.toString(), options.user, options.causal.toString(),
                          options.modal ? "true" : "false", options.screenshotFile, options.scriptFile}.join('\t')),
             c.text("given").replace("LOGIN", ShellOptions::loginName()));
}

QTEST_GUILESS_MAIN(tst_ShellOptions)
#include "tst_shelloptions.moc"
