#include "framework/debugtrace.h"
#include "framework/instanceid.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

class tst_DebugTrace : public QObject
{
    Q_OBJECT
private slots:
    void lineFormat_data();
    void lineFormat();
    void traceFileGetsOneLinePerWrite();
    void guidIs32UpperCaseHexDigits();
    void guidsAreUnique();
    void instanceIdIsStableForOneObject();
};

void tst_DebugTrace::lineFormat_data()
{
    QTest::addColumn<int>("phase");
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("expected");

    QTest::newRow("class created") << int(DebugTrace::Phase::Ini) << "CLSCG_DUEBILCONFIG"
                                   << "KVRX:|0123456789ABCDEF0123456789ABCDEF|INI|CGUO_DUEBILCONFIG|CLSCG_DUEBILCONFIG";
    QTest::newRow("form destroyed") << int(DebugTrace::Phase::Ter) << "FRMCG_DUEBILCONFIG"
                                    << "KVRX:|0123456789ABCDEF0123456789ABCDEF|TER|CGUO_DUEBILCONFIG|FRMCG_DUEBILCONFIG";
}

void tst_DebugTrace::lineFormat()
{
    QFETCH(int, phase);
    QFETCH(QString, objectName);
    QFETCH(QString, expected);
    QCOMPARE(DebugTrace::line(QStringLiteral("0123456789ABCDEF0123456789ABCDEF"),
                              DebugTrace::Phase(phase), QStringLiteral("CGUO_DUEBILCONFIG"), objectName),
             expected);
}

void tst_DebugTrace::traceFileGetsOneLinePerWrite()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("trace.log"));
    {
        QFile existing(path);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.write("earlier\n");
    }
    qputenv("KVRX_TRACE", path.toLocal8Bit());
    DebugTrace::write(QStringLiteral("AAA"), DebugTrace::Phase::Ini, QStringLiteral("M"), QStringLiteral("C"));
    DebugTrace::write(QStringLiteral("AAA"), DebugTrace::Phase::Ter, QStringLiteral("M"), QStringLiteral("C"));
    qunsetenv("KVRX_TRACE");
    DebugTrace::write(QStringLiteral("not in the file"));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("earlier\nKVRX:|AAA|INI|M|C\nKVRX:|AAA|TER|M|C\n"));
}

void tst_DebugTrace::guidIs32UpperCaseHexDigits()
{
    const QString guid = InstanceId::GeneraGuid();
    static const QRegularExpression format(QStringLiteral("^[0-9A-F]{32}$"));
    QVERIFY2(format.match(guid).hasMatch(), qPrintable(guid));
}

void tst_DebugTrace::guidsAreUnique()
{
    QSet<QString> seen;
    for (int i = 0; i < 1000; ++i)
        seen.insert(InstanceId::GeneraGuid());
    QCOMPARE(seen.size(), 1000);
}

void tst_DebugTrace::instanceIdIsStableForOneObject()
{
    InstanceId a, b;
    QVERIFY(!a.isGenerated());
    const QString first = a.value();
    QCOMPARE(a.value(), first);
    QVERIFY(a.isGenerated());
    QVERIFY(b.value() != first);
}

QTEST_GUILESS_MAIN(tst_DebugTrace)
#include "tst_debugtrace.moc"
