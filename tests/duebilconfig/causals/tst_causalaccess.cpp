#include "causals/causalaccess.h"
#include "support/testdatabase.h"

#include <QTest>

using W = CausalAccess::Withdrawal;
using Exclusions = QList<CausalAccess::Exclusion>;
Q_DECLARE_METATYPE(CausalAccess::Withdrawal)

// Who may use a causal: the same rule answers "who may use causal N" and "what may user U use".
class TestCausalAccess : public QObject
{
    Q_OBJECT

private slots:
    void rule_data()
    {
        QTest::addColumn<int>("user");
        QTest::addColumn<QList<int>>("groups");
        QTest::addColumn<Exclusions>("exclusions");
        QTest::addColumn<W>("expected");
        const auto g = [](int id) { return CausalAccess::Exclusion{id, std::nullopt}; };
        const auto u = [](int id) { return CausalAccess::Exclusion{std::nullopt, id}; };
        QTest::newRow("no exclusions") << 2 << QList<int>{3} << Exclusions{} << W::None;
        QTest::newRow("user excluded") << 2 << QList<int>{3} << Exclusions{u(2)} << W::ByUser;
        QTest::newRow("other user excluded") << 2 << QList<int>{3} << Exclusions{u(5)} << W::None;
        QTest::newRow("group excluded") << 2 << QList<int>{3} << Exclusions{g(3)} << W::ByGroup;
        QTest::newRow("other group excluded") << 2 << QList<int>{3} << Exclusions{g(4)} << W::None;
        QTest::newRow("user and group excluded: the user's own row") << 2 << QList<int>{3} << Exclusions{g(3), u(2)} << W::ByUser;
        QTest::newRow("without group, a group excluded") << 2 << QList<int>{} << Exclusions{g(3)} << W::None;
        QTest::newRow("without group, excluded by name") << 2 << QList<int>{} << Exclusions{g(3), u(2)} << W::ByUser;
        // A user id equal to a group id is not that group.
        QTest::newRow("group id equal to the user id") << 3 << QList<int>{1} << Exclusions{g(3)} << W::None;
        QTest::newRow("user id equal to the group id") << 1 << QList<int>{3} << Exclusions{u(3)} << W::None;
        QTest::newRow("a row naming both") << 2 << QList<int>{4} << Exclusions{{4, 9}} << W::ByGroup;
        QTest::newRow("second of two groups excluded") << 2 << QList<int>{3, 4} << Exclusions{g(4)} << W::ByGroup;
    }

    void rule()
    {
        QFETCH(int, user);
        QFETCH(QList<int>, groups);
        QFETCH(Exclusions, exclusions);
        QFETCH(W, expected);
        int group = 0;
        QCOMPARE(CausalAccess::withdrawal(user, groups, exclusions, &group), expected);
        if (expected == W::ByGroup)
            QVERIFY(groups.contains(group));
    }

    // Where the membership is read from goes into statements: only identifiers are taken.
    void membershipSetting_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("read");  // empty: refused
        QTest::newRow("table and columns") << "FW08_UTENTIGRUPPI:FW08_ID_FW07:FW08_ID_FW06"
                                           << "FW08_UTENTIGRUPPI:FW08_ID_FW07:FW08_ID_FW06";
        QTest::newRow("table with its schema") << " dbo.FW08:U:G " << "dbo.FW08:U:G";
        QTest::newRow("two parts") << "FW07_APPUSER:FW07_ID" << "";
        QTest::newRow("statement in a name") << "FW07_APPUSER:FW07_ID:1;DROP TABLE X" << "";
        QTest::newRow("empty column") << "FW07_APPUSER::FW07_ID_FW06" << "";
        QTest::newRow("three-part table") << "a.b.c:U:G" << "";
    }

    void membershipSetting()
    {
        QFETCH(QString, text);
        QFETCH(QString, read);
        const auto membership = CausalAccess::Membership::fromText(text);
        QCOMPARE(membership ? membership->text() : QString(), read);
    }

    // The tool's listings show the demo exclusions; here, how a user is found by name.
    void userIsFoundByNameInAnyCase()
    {
        const ConnectedDatabase db;
        ado::Connection &c = *db.connection;
        CausalAccess access(c);
        CausalAccess::User user;
        QStringList ambiguous;
        QVERIFY(access.forUser("pneri", &user));
        QCOMPARE(user.userName, QString("PNERI"));
        QVERIFY(!access.forUser("nessuno", nullptr, &ambiguous));
        QVERIFY(ambiguous.isEmpty());

        // A name in another letter case is that user only while no other user has it.
        c.Execute("INSERT INTO FW07_APPUSER (FW07_ID, FW07_CODICE, FW07_DESCR, FW07_USERNAME, FW07_FLGATTIVO) "
                  "VALUES (7, 'MRossi', 'Marta Rossi', 'MRossi', 1)");
        QVERIFY(access.forUser("MRossi", &user));
        QCOMPARE(user.id, 7);
        QVERIFY(!access.forUser("mrossi", &user, &ambiguous));
        QCOMPARE(ambiguous, (QStringList{"MROSSI", "MRossi"}));
    }
};

QTEST_GUILESS_MAIN(TestCausalAccess)
#include "tst_causalaccess.moc"
