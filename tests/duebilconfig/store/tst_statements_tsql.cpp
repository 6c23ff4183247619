#include "ado/statementlog.h"
#include "statementgoldens.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace {

// Bound values reach the server as the ODBC driver's named parameters.
QString withServerParameters(const QString &sql)
{
    QString out;
    bool inText = false;
    int parameter = 0;
    for (const QChar c : sql) {
        if (c == QLatin1Char('\''))
            inText = !inText;
        if (c == QLatin1Char('?') && !inText)
            out += QStringLiteral("@P%1").arg(++parameter);
        else
            out += c;
    }
    return out;
}

// The shape of a statement, its texts and numbers made one: a test run's statements differ
// mostly in their codes, and each shape is parsed once.
QString shapeOf(const QString &sql)
{
    static const QRegularExpression literal(QStringLiteral("'(?:[^']|'')*'|(?<![\\w@.])\\d+(?:\\.\\d+)?(?![\\w.])"));
    QString shape;
    qsizetype from = 0;
    for (auto it = literal.globalMatch(sql); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        shape += sql.mid(from, m.capturedStart() - from);
        shape += m.captured().startsWith(QLatin1Char('\'')) ? QStringLiteral("'t'") : QStringLiteral("1");
        from = m.capturedEnd();
    }
    return shape + sql.mid(from);
}

} // namespace

// Every statement the module sends to SQL Server, and the server's schema, read by a T-SQL
// parser that is not ours (sqlfluff): the embedded database, which runs them rewritten, would not
// refuse them.
class tst_StatementsTsql : public QObject
{
    Q_OBJECT

    QString m_sqlfluff;

private slots:
    void initTestCase()
    {
        m_sqlfluff = QStandardPaths::findExecutable(QStringLiteral("sqlfluff"));
        if (m_sqlfluff.isEmpty())
            QFAIL("sqlfluff is not installed: the T-SQL of the statements cannot be checked "
                  "(scripts/test installs the Debian package sqlfluff)");
    }

    void everyStatementAndTheSchemaParseAsTsql()
    {
        // One file per statement of the golden rows, named after its row.
        QMap<QString, QString> textOfFile;
        const QList<StatementGoldens::Golden> &rows = StatementGoldens::rows();
        for (qsizetype row = 0; row < rows.size(); ++row) {
            const QStringList &statements = rows.at(row).expected;
            for (qsizetype i = 0; i < statements.size(); ++i) {
                const QString file = QStringLiteral("%1_%2_%3.sql").arg(rows.at(row).name).arg(row).arg(i);
                textOfFile.insert(file, withServerParameters(statements.at(i)));
            }
        }
        // The statements the other tests (which run before this one) sent, a file per shape.
        const QString log = qEnvironmentVariable("DUEBIL_STATEMENT_LOG");
        int wireShapes = 0;
        if (!log.isEmpty()) {
            QFile wire(log);
            QVERIFY2(wire.open(QIODevice::ReadOnly),
                     qPrintable("no statement was logged in " + log + " (this test reads what the others sent)"));
            QSet<QString> shapes;
            while (!wire.atEnd()) {
                const QByteArray line = wire.readLine().chopped(1);
                const QString shape = withServerParameters(shapeOf(ado::StatementLog::decode(line)));
                if (line.isEmpty() || shapes.contains(shape))
                    continue;
                shapes.insert(shape);
                textOfFile.insert(QStringLiteral("wire_%1.sql").arg(++wireShapes), shape);
            }
        }
        // Both server scripts: the module's own, which a customer runs, and the test stand-ins.
        for (const QString &path : {QStringLiteral(DUEBIL_SQLSERVER_MODULE), QStringLiteral(DUEBIL_SQLSERVER_STANDINS)}) {
            QFile schema(path);
            QVERIFY2(schema.open(QIODevice::ReadOnly), qPrintable(path));
            textOfFile.insert(QFileInfo(path).fileName(), QString::fromUtf8(schema.readAll()));
        }

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QDir files(dir.path());
        QVERIFY(files.mkdir(QStringLiteral("sql")));
        for (auto it = textOfFile.cbegin(); it != textOfFile.cend(); ++it) {
            QFile f(dir.filePath(QStringLiteral("sql/") + it.key()));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(it.value().toUtf8());
        }
        // No rule is on: a lint reports only what it cannot lex or parse. The schema is larger
        // than the size sqlfluff skips by default.
        QFile config(dir.filePath(QStringLiteral("sqlfluff.cfg")));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("[sqlfluff]\ndialect = tsql\nlarge_file_skip_byte_limit = 0\nrules = L001\nexclude_rules = L001\n");
        config.close();

        // This test, the last, has the machine's cores to itself.
        QProcess sqlfluff;
        sqlfluff.start(m_sqlfluff, {QStringLiteral("lint"), QStringLiteral("--ignore-local-config"), QStringLiteral("--config"),
                                    config.fileName(), QStringLiteral("--nocolor"), QStringLiteral("--format"), QStringLiteral("json"),
                                    QStringLiteral("--processes"), QString::number(qBound(1, QThread::idealThreadCount(), 4)),
                                    files.filePath(QStringLiteral("sql"))});
        QVERIFY2(sqlfluff.waitForFinished(580000), "sqlfluff did not finish");
        const QByteArray errors = sqlfluff.readAllStandardError();
        // 1: problems found (the answer names them); anything else: the run failed.
        QVERIFY2(sqlfluff.exitStatus() == QProcess::NormalExit && (sqlfluff.exitCode() == 0 || sqlfluff.exitCode() == 1),
                 errors.constData());
        QJsonParseError error;
        const QJsonDocument answer = QJsonDocument::fromJson(sqlfluff.readAllStandardOutput(), &error);
        QVERIFY2(answer.isArray(), qPrintable(error.errorString() + QLatin1Char('\n') + QString::fromUtf8(errors)));
        // A file it skipped is named on the error output only.
        QVERIFY2(!errors.toLower().contains("skipping"), errors.constData());

        QStringList problems;
        for (const QJsonValue &entry : answer.array()) {
            const QString file = QFileInfo(entry[QLatin1String("filepath")].toString()).fileName();
            for (const QJsonValue &v : entry[QLatin1String("violations")].toArray())
                problems << file + QStringLiteral(": ") + v[QLatin1String("description")].toString() + QStringLiteral(" in ")
                        + textOfFile.value(file).left(300);
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(tst_StatementsTsql)
#include "tst_statements_tsql.moc"
