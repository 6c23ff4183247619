#include "ado/recordset.h"
#include "store/checkfacts.h"
#include "store/duebilstatements.h"
#include "support/testdatabase.h"

#include <QRegularExpression>
#include <QTest>

#include <algorithm>

namespace S = DueBilStatements;

// The facts of the selection checks agree with the catalogue the databases install and with
// the statement that loads a type's defaults.
class tst_CheckFacts : public QObject
{
    Q_OBJECT

private slots:
    void defaultsLeaveExactlyTheUserChecks()
    {
        // The statement keeps its own list in its text: it must name the user's checks, no more.
        const QString sql = S::defaultChecks(QStringLiteral("CGP2_DEFAULTINCASSI"), QStringLiteral("300"), false);
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral(R"(NOT IN \(([^)]*)\))")).match(sql);
        QVERIFY2(m.hasMatch(), qPrintable(sql));
        QList<int> kept;
        for (const QString &id : m.captured(1).split(QLatin1Char(',')))
            kept.append(id.trimmed().toInt());
        std::sort(kept.begin(), kept.end());
        const QList<int> user(CheckFacts::UserChecks.begin(), CheckFacts::UserChecks.end());
        QCOMPARE(kept, user);
        // Loading every default leaves none out.
        QVERIFY(!S::defaultChecks(QStringLiteral("CGP2_DEFAULTINCASSI"), QStringLiteral("300"), true).contains("NOT IN"));
    }

    void factsAgreeWithTheCatalogue_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("group");
        const ConnectedDatabase db(TestDatabase::SchemaOnly);
        const ado::RecordsetPtr rs =
            db.connection->Execute(QStringLiteral("SELECT CGP2_ID, CGP2_TIPOFILTRO FROM CGP2_DUEBILCHECK ORDER BY CGP2_ID"));
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

QTEST_GUILESS_MAIN(tst_CheckFacts)
#include "tst_checkfacts.moc"
