#include "ado/recordset.h"
#include "params/parametercontrols.h"
#include "params/valuerules.h"
#include "store/checkfacts.h"
#include "store/duebilstatements.h"
#include "store/moduletables.h"
#include "support/casefile.h"
#include "support/databasereads.h"
#include "support/testdatabase.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>

using ModuleTables::Column;
using ModuleTables::Table;
using ModuleTables::Type;

namespace {

// A column as "NAME TYPE[ NOT NULL][ IDENTITY]", the server's SMALLINT read as INT and its
// NVARCHAR(MAX) as a million characters.
QString described(const QString &name, const QString &type, bool notNull, bool identity)
{
    return QStringLiteral("%1 %2%3%4").arg(name, type, notNull ? " NOT NULL" : "", identity ? " IDENTITY" : "");
}

QString described(const Column &c)
{
    const QString type = c.type == Type::Text ? QStringLiteral("NVARCHAR(%1)").arg(c.size)
        : c.type == Type::Decimal             ? QStringLiteral("DECIMAL")
                                              : QStringLiteral("INT");
    return described(QLatin1String(c.name), type, c.notNull, c.generated);
}

// The columns of every CREATE TABLE of the two server scripts, by table, in their order.
QHash<QString, QStringList> serverTables()
{
    static const QRegularExpression create(QStringLiteral("CREATE TABLE dbo\\.(\\w+) \\((.*?)\\n\\s*\\);?\\n"),
                                           QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression column(
        QStringLiteral("^\\s*(\\w+)\\s+(INT|SMALLINT|DECIMAL|NVARCHAR)(?:\\((\\w+)(?:,\\s*\\d+)?\\))?(.*)$"));
    QHash<QString, QStringList> tables;
    for (const char *path : {DUEBIL_SQLSERVER_MODULE, DUEBIL_SQLSERVER_STANDINS}) {
        QFile file(QString::fromUtf8(path));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QString text = QString::fromUtf8(file.readAll()).remove(QLatin1Char('\r'));
        for (auto it = create.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch table = it.next();
            QStringList columns;
            for (const QString &line : table.captured(2).split(QLatin1Char('\n'))) {
                const QRegularExpressionMatch m = column.match(line);
                QString type = m.captured(2) == QLatin1String("SMALLINT") ? QStringLiteral("INT") : m.captured(2);
                if (type == QLatin1String("NVARCHAR"))
                    type += QStringLiteral("(%1)").arg(m.captured(3) == QLatin1String("MAX") ? 1'000'000 : m.captured(3).toInt());
                if (m.hasMatch())
                    columns << described(m.captured(1), type, m.captured(4).contains(QLatin1String("NOT NULL")),
                                         m.captured(4).contains(QLatin1String("IDENTITY")));
            }
            tables.insert(table.captured(1), columns);
        }
    }
    return tables;
}

} // namespace

// The module's tables and selection checks as the code defines them, against both databases'
// scripts and the window's binding table.
class TestModuleTables : public QObject
{
    Q_OBJECT

    ConnectedDatabase m_schema{TestDatabase::SchemaOnly};

private slots:
    void tablesAreTheDatabases_data()
    {
        QTest::addColumn<QString>("table");
        for (const Table &t : ModuleTables::all())
            QTest::newRow(t.table) << QString::fromLatin1(t.table);
    }

    // Copy, delete, import and export take the columns from the definition: a column the
    // scripts have and the definition lacks would be left behind by all of them.
    void tablesAreTheDatabases()
    {
        QFETCH(QString, table);
        const Table *t = ModuleTables::find(table);
        QVERIFY(t);
        const QVariant sqlite = scalar(*m_schema.connection, "SELECT GROUP_CONCAT(name) FROM pragma_table_info('" + table + "')");
        QCOMPARE(sqlite.toString().split(QLatin1Char(',')), t->columnNames());

        QStringList expected;
        for (const Column &c : t->columns)
            expected << described(c);
        QCOMPARE(serverTables().value(table), expected);
    }

    // No part of a causal is left behind by a copy or a delete, and each sequence runs every
    // table once.
    void sequencesTakeEveryTableOfACausal()
    {
        QStringList copied;
        QStringList deleted;
        for (const Table *t : ModuleTables::copyOrder())
            copied << QLatin1String(t->table);
        for (const Table *t : ModuleTables::deleteOrder())
            deleted << QLatin1String(t->table);
        for (const Table *t : ModuleTables::ofCausal()) {
            const QString table = QLatin1String(t->table);
            if (t->role == ModuleTables::Role::Causal)
                continue;
            QCOMPARE(copied.count(table), 1);
            // The selection is deleted by the window's selector or by its own statement.
            QCOMPARE(deleted.count(table), t->role == ModuleTables::Role::Configuration ? 1 : 0);
        }
        QCOMPARE(copied.size(), ModuleTables::ofCausal().size() - 1);
    }

    // The window's controls write the columns the definition holds, in a kind the column
    // takes, and no field takes more characters than its column holds.
    void controlsBindColumnsOfTheirKind()
    {
        for (const QList<ParameterControls::Control> *list :
             {&ParameterControls::generalParameters(), &ParameterControls::companyParameters(), &ParameterControls::postingParameters(),
              &ParameterControls::causalHeader(), &ParameterControls::exclusionRows()}) {
            for (const ParameterControls::Control &c : *list) {
                const Column *column = nullptr;
                for (const Table &t : ModuleTables::all())
                    column = column ? column : t.column(QLatin1String(c.column));
                QVERIFY2(column, c.column);
                QCOMPARE(ValueRules::accepted(*column).type, column->type);
                if (column->type == Type::Text)
                    QVERIFY2(c.maxChar <= column->size, c.column);
            }
        }
    }

    void importTakesTheFieldsLength_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/importlengths.cases")});
    }

    void importTakesTheFieldsLength()
    {
        QFETCH(TextCase, c);
        const Table *t = ModuleTables::find(c.text("table"));
        QVERIFY(t && t->column(c.text("column")));
        QCOMPARE(ValueRules::accepted(*t->column(c.text("column"))).characters, c.text("characters").toInt());
    }

    // The facts of the selection checks agree with the catalogue the databases install and with
    // the statement that loads a type's defaults.
    void defaultsLeaveExactlyTheUserChecks()
    {
        // The statement keeps its own list in its text: it must name the user's checks, no more.
        const QString sql = DueBilStatements::defaultChecks(QStringLiteral("CGP2_DEFAULTINCASSI"), QStringLiteral("300"), false);
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral(R"(NOT IN \(([^)]*)\))")).match(sql);
        QVERIFY2(m.hasMatch(), qPrintable(sql));
        QList<int> kept;
        for (const QString &id : m.captured(1).split(QLatin1Char(',')))
            kept.append(id.trimmed().toInt());
        std::sort(kept.begin(), kept.end());
        const QList<int> user(CheckFacts::UserChecks.begin(), CheckFacts::UserChecks.end());
        QCOMPARE(kept, user);
        // Loading every default leaves none out.
        QVERIFY(!DueBilStatements::defaultChecks(QStringLiteral("CGP2_DEFAULTINCASSI"), QStringLiteral("300"), true).contains("NOT IN"));
    }

    void factsAgreeWithTheCatalogue_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("group");
        const ado::RecordsetPtr rs =
            m_schema.connection->Execute(QStringLiteral("SELECT CGP2_ID, CGP2_TIPOFILTRO FROM CGP2_DUEBILCHECK ORDER BY CGP2_ID"));
        int rows = 0;
        for (; !rs->isEOF(); rs->MoveNext(), ++rows) {
            const int id = rs->value(QStringLiteral("CGP2_ID")).toInt();
            QTest::addRow("%d", id) << id << rs->value(QStringLiteral("CGP2_TIPOFILTRO")).toString().trimmed();
        }
        QCOMPARE(rows, CheckFacts::Count);
    }

    void factsAgreeWithTheCatalogue()
    {
        QFETCH(int, id);
        QFETCH(QString, group);
        QVERIFY(id >= 1 && id <= CheckFacts::Count);
        // A check is either the user's or owned by the type's defaults, as its group says.
        QCOMPARE(CheckFacts::isUserCheck(id), !CheckFacts::isLockedGroup(group));
        // The catalogue's hidden checks are never shown; the type's shown checks are the lockable ones.
        if (group == QLatin1String("NASCOSTO"))
            QVERIFY(CheckFacts::isHidden(id));
        QCOMPARE(CheckFacts::isLockable(id), CheckFacts::isLockedGroup(group) && !CheckFacts::isHidden(id));
    }
};

QTEST_GUILESS_MAIN(TestModuleTables)
#include "tst_moduletables.moc"
