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
    // With KVRX_TRACE set, each write appends one line "KVRX:|id|phase|module|object" to the
    // file; without it, the file is left alone.
    void traceFileGetsOneLinePerWrite()
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
        DebugTrace::write(QStringLiteral("AAA"), DebugTrace::Phase::Ini, QStringLiteral("CGUO_DUEBILCONFIG"),
                          QStringLiteral("CLSCG_DUEBILCONFIG"));
        DebugTrace::write(QStringLiteral("AAA"), DebugTrace::Phase::Ter, QStringLiteral("M"), QStringLiteral("C"));
        qunsetenv("KVRX_TRACE");
        DebugTrace::write(QStringLiteral("not in the file"));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("earlier\nKVRX:|AAA|INI|CGUO_DUEBILCONFIG|CLSCG_DUEBILCONFIG\nKVRX:|AAA|TER|M|C\n"));
    }

    // An object's id is made when first asked for, then kept: 32 upper-case hex digits, never
    // the same for two objects.
    void instanceIdsAreStableAndUnique()
    {
        InstanceId a, b;
        QVERIFY(!a.isGenerated());
        const QString first = a.value();
        QCOMPARE(a.value(), first);
        QVERIFY(a.isGenerated());
        QVERIFY(b.value() != first);
        static const QRegularExpression format(QStringLiteral("^[0-9A-F]{32}$"));
        QSet<QString> seen;
        for (int i = 0; i < 1000; ++i) {
            const QString guid = InstanceId::GeneraGuid();
            QVERIFY2(format.match(guid).hasMatch(), qPrintable(guid));
            seen.insert(guid);
        }
        QCOMPARE(seen.size(), 1000);
    }
};

QTEST_GUILESS_MAIN(tst_DebugTrace)
#include "tst_debugtrace.moc"
