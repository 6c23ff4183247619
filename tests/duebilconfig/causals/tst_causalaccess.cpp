#include "causalaccess.h"
#include "connection.h"
#include "testdatabase.h"

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
        QTest::addColumn<int>("group");  // 0: the user belongs to no group
        QTest::addColumn<Exclusions>("exclusions");
        QTest::addColumn<W>("expected");
        const auto g = [](int id) { return CausalAccess::Exclusion{id, std::nullopt}; };
        const auto u = [](int id) { return CausalAccess::Exclusion{std::nullopt, id}; };
        QTest::newRow("no exclusions") << 2 << 3 << Exclusions{} << W::None;
        QTest::newRow("user excluded") << 2 << 3 << Exclusions{u(2)} << W::ByUser;
        QTest::newRow("other user excluded") << 2 << 3 << Exclusions{u(5)} << W::None;
        QTest::newRow("group excluded") << 2 << 3 << Exclusions{g(3)} << W::ByGroup;
        QTest::newRow("other group excluded") << 2 << 3 << Exclusions{g(4)} << W::None;
        QTest::newRow("user and group excluded: the user's own row") << 2 << 3 << Exclusions{g(3), u(2)} << W::ByUser;
        QTest::newRow("without group, a group excluded") << 2 << 0 << Exclusions{g(3)} << W::None;
        QTest::newRow("without group, excluded by name") << 2 << 0 << Exclusions{g(3), u(2)} << W::ByUser;
        // A user id equal to a group id is not that group.
        QTest::newRow("group id equal to the user id") << 3 << 1 << Exclusions{g(3)} << W::None;
        QTest::newRow("user id equal to the group id") << 1 << 3 << Exclusions{u(3)} << W::None;
        QTest::newRow("a row naming both") << 2 << 4 << Exclusions{{4, 9}} << W::ByGroup;
    }

    void rule()
    {
        QFETCH(int, user);
        QFETCH(int, group);
        QFETCH(Exclusions, exclusions);
        QFETCH(W, expected);
        QCOMPARE(CausalAccess::withdrawal(user, group ? std::optional<int>(group) : std::nullopt, exclusions),
                 expected);
    }

    // The demo users against the demo exclusions: COMMERCIALE (AFERRARI, PNERI) is excluded
    // from 310 and the former accountant GVERDI from 300.
    void listsOfTheDemoDatabase()
    {
        TestDatabase db(TestDatabase::Demo);
        QVERIFY(db.isValid());
        ado::Connection c;
        c.Open(db.connectionString());
        c.Execute("INSERT INTO CGP8_DUEBILREVOKE (CGP8_CAUSALE_CGP0, CGP8_ID_FW06, CGP8_ID_FW07) VALUES (310, NULL, 5)");

        const auto describe = [](const auto &entries, auto name) {
            QStringList shown;
            for (const auto &e : entries)
                shown << name(e.item) + (e.withdrawal == W::None ? "" : e.withdrawal == W::ByUser ? " -utente" : " -gruppo");
            return shown;
        };
        const auto userName = [](const CausalAccess::User &u) { return u.userName; };
        const auto causalCode = [](const CausalAccess::Causal &k) { return k.code; };

        // Inactive users are listed only when the causal is withdrawn from them.
        QCOMPARE(describe(*CausalAccess::forCausal(c, "310"), userName),
                 (QStringList{"LBIANCHI", "MROSSI", "VELTO", "AFERRARI -utente", "PNERI -gruppo"}));
        QCOMPARE(describe(*CausalAccess::forCausal(c, "300"), userName),
                 (QStringList{"AFERRARI", "LBIANCHI", "MROSSI", "VELTO", "GVERDI -utente"}));
        QVERIFY(!CausalAccess::forCausal(c, "999"));

        const QStringList allCausals = describe(*CausalAccess::forUser(c, "velto"), causalCode);
        QVERIFY(!allCausals.filter("-").size());
        QStringList pneri = describe(*CausalAccess::forUser(c, "pneri"), causalCode);
        QCOMPARE(pneri.size(), allCausals.size());
        QCOMPARE(pneri.last(), "310 -gruppo");
        QCOMPARE(describe(*CausalAccess::forUser(c, "GVERDI"), causalCode).last(), "300 -utente");
        QVERIFY(!CausalAccess::forUser(c, "nessuno"));
    }
};

QTEST_GUILESS_MAIN(TestCausalAccess)
#include "tst_causalaccess.moc"
