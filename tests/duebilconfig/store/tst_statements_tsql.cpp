#include "ado/statementlog.h"
#include "statementgoldens.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>
#include <vector>

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

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly), qPrintable(path));
    f.write(bytes);
}

// The tokens of every segment the parser could not place, in no particular order.
void collectUnparsable(const QJsonValue &node, QStringList *found, bool inside = false)
{
    if (node.isString()) {
        if (inside && !node.toString().trimmed().isEmpty())
            found->last() += QLatin1Char(' ') + node.toString();
    } else if (node.isArray()) {
        for (const QJsonValue &v : node.toArray())
            collectUnparsable(v, found, inside);
    } else if (node.isObject()) {
        const QJsonObject o = node.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            const bool starts = !inside && it.key() == QLatin1String("unparsable");
            if (starts)
                found->append(QString());
            collectUnparsable(it.value(), found, inside || starts);
        }
    }
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

        // The schema is larger than the size sqlfluff skips by default.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString config = dir.filePath(QStringLiteral("sqlfluff.cfg"));
        write(config, "[sqlfluff]\ndialect = tsql\nlarge_file_skip_byte_limit = 0\n");

        // sqlfluff reads on one core: one run per core, which this test, the last, has to itself.
        const int runs = qBound(1, QThread::idealThreadCount(), 4);
        QDir all(dir.path());
        int file = 0;
        for (auto it = textOfFile.cbegin(); it != textOfFile.cend(); ++it, ++file) {
            const QString part = QStringLiteral("part%1").arg(file % runs);
            QVERIFY(all.mkpath(part));
            write(all.filePath(part + QLatin1Char('/') + it.key()), it.value().toUtf8());
        }
        QElapsedTimer timer;
        timer.start();
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int r = 0; r < runs && r < file; ++r) {
            auto p = std::make_unique<QProcess>();
            p->start(m_sqlfluff, {QStringLiteral("parse"), QStringLiteral("--ignore-local-config"), QStringLiteral("--config"),
                                  config, QStringLiteral("--nocolor"), QStringLiteral("--format"), QStringLiteral("json"),
                                  all.filePath(QStringLiteral("part%1").arg(r))});
            processes.push_back(std::move(p));
        }
        QJsonArray answers;
        for (const auto &p : processes) {
            QVERIFY2(p->waitForFinished(int(qMax<qint64>(1000, 580000 - timer.elapsed()))), "sqlfluff did not finish");
            const QByteArray errors = p->readAllStandardError();
            // 1: parse errors found (the answer names them); anything else: the run failed.
            QVERIFY2(p->exitStatus() == QProcess::NormalExit && (p->exitCode() == 0 || p->exitCode() == 1),
                     errors.constData());
            QJsonParseError error;
            const QJsonDocument result = QJsonDocument::fromJson(p->readAllStandardOutput(), &error);
            QVERIFY2(result.isArray(), qPrintable(error.errorString() + QLatin1Char('\n') + QString::fromUtf8(errors)));
            for (const QJsonValue &entry : result.array())
                answers.append(entry);
        }

        QStringList problems;
        QSet<QString> parsed;
        for (const QJsonValue &entry : std::as_const(answers)) {
            const QString file = QFileInfo(entry[QLatin1String("filepath")].toString()).fileName();
            parsed.insert(file);
            const QJsonValue segments = entry[QLatin1String("segments")];
            QStringList unparsable;
            collectUnparsable(segments, &unparsable);
            if (segments.isNull() || segments.isUndefined())
                problems << file + QStringLiteral(": not parsed");
            else if (!unparsable.isEmpty())
                problems << file + QStringLiteral(": cannot parse [") + unparsable.join(QStringLiteral(" ] ["))
                        + QStringLiteral(" ] in ") + textOfFile.value(file).left(300);
        }
        for (const QString &file : textOfFile.keys())
            if (!parsed.contains(file))
                problems << file + QStringLiteral(": missing from sqlfluff's answer");
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
    }
};

QTEST_GUILESS_MAIN(tst_StatementsTsql)
#include "tst_statements_tsql.moc"
