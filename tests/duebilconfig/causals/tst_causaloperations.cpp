#include "ado/recordset.h"
#include "causals/causaloperations.h"
#include "framework/recordingmessageservice.h"
#include "store/adoerrorclassifier.h"
#include "store/messageids.h"
#include "store/moduletables.h"
#include "support/casefile.h"
#include "support/databasereads.h"
#include "support/modulerows.h"
#include "support/testdatabase.h"

#include <QTest>

using Outcome = CausalOperations::Outcome;
using Result = Outcome::Result;

class TestCausalOperations : public QObject
{
    Q_OBJECT

    std::unique_ptr<ConnectedDatabase> m_db;
    ado::ConnectionPtr m_connection;
    RecordingMessageService m_messages;
    std::unique_ptr<ErrorTrap> m_trap;
    std::unique_ptr<CausalOperations> m_ops;

    int count(const QString &sql)
    {
        return scalar(*m_connection, "SELECT COUNT(*) FROM " + sql).toInt();
    }

    // Every row of the causal, the sibling screen's sort and selection included.
    QString rowsOf(const QString &code) { return storedConfiguration(m_db->database.connectionString(), {code}); }

private slots:
    void init()
    {
        m_db = std::make_unique<ConnectedDatabase>();
        m_connection = m_db->connection;
        m_messages.clear();
        m_trap = std::make_unique<ErrorTrap>(&m_messages, nullptr);
        m_trap->setClassifier(adoErrorClassifier());
        m_ops = std::make_unique<CausalOperations>(m_connection, m_trap.get());
    }

    // After completion every causal has one check row per catalogue check, one parameter
    // row and, for the company in use, company and posting rows; a second run adds nothing.
    void completionClosesGapsOnce()
    {
        m_connection->Execute("INSERT INTO CGP0_DUEBILCAUSALI VALUES (330, 'Senza righe')");
        m_connection->Execute("DELETE FROM CGP4_DUEBILFILTRI WHERE CGP4_IDCHECK_CGP2 = 17");
        const int others = count("CGP6_DUEBILPARAMDITTA WHERE CGP6_DITTA_CG18 <> 4");
        m_ops->AggiornaConfigurazioneCausali("4", "9");
        const int causals = count("CGP0_DUEBILCAUSALI");
        const int checks = count("CGP2_DUEBILCHECK");
        QCOMPARE(count("CGP4_DUEBILFILTRI"), causals * checks);
        QCOMPARE(count("CGP5_DUEBILPARAM"), causals);
        QCOMPARE(count("CGP6_DUEBILPARAMDITTA WHERE CGP6_DITTA_CG18 = 4"), causals);
        QCOMPARE(count("CGP7_DUEBILPERSREG WHERE CGP7_DITTA_CG18 = 4 AND CGP7_GRUPPO_CG10 = 9"), causals);
        QCOMPARE(count("CGP6_DUEBILPARAMDITTA WHERE CGP6_DITTA_CG18 <> 4"), others);
        QCOMPARE(count("CGP4_DUEBILFILTRI WHERE CGP4_IDCHECK_CGP2 = 17 AND CGP4_CHECKED = 0"), causals);
        const QString before = rowsOf("330");
        m_ops->AggiornaConfigurazioneCausali("4", "9");
        QCOMPARE(rowsOf("330"), before);
        QCOMPARE(count("CGP4_DUEBILFILTRI"), causals * checks);
        QVERIFY(m_messages.calls().isEmpty());
    }

    // One test of codes serves the window, its checks and the tool.
    void codesAreCheckedReservedAndKept_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/causalcodes.cases")});
    }

    void codesAreCheckedReservedAndKept()
    {
        QFETCH(TextCase, c);
        const QString code = c.text("code");
        const QString user = c.text("user");
        if (c.parts.contains("restricted"))
            QCOMPARE(CausalOperations::isRestricted(user, code), c.text("restricted") == "1");
        if (c.parts.contains("new")) {
            const int textId = c.text("new").toInt();
            const Outcome checked = CausalOperations::checkNewCode(code, user);
            QCOMPARE(checked.result, textId ? Result::Refused : Result::Done);
            QCOMPARE(checked.textId, textId);
        }
        if (!c.parts.contains("delete"))
            return;
        // A delete refused names why and leaves every row of the causal.
        const QString before = rowsOf(code);
        const Outcome refused = m_ops->remove(code, user);
        QCOMPARE(refused.result, Result::Refused);
        QCOMPARE(refused.textId, c.lines("delete").value(0).toInt());
        QCOMPARE(refused.params, c.lines("delete").mid(1));
        QCOMPARE(rowsOf(code), before);
    }

    void createGivesDefaultRows()
    {
        QVERIFY(m_ops->create("400", "mrossi", "1", "1").done());
        // Whole for the company: a row per check, its parameters, company and posting rows; no layout.
        QCOMPARE(CausalRows(m_db->database.connectionString()).incomplete(1), QStringList());
        QCOMPARE(count("CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 400"), 0);
        // A new causal takes the collection defaults in every check, user-level ones included.
        QCOMPARE(count("CGP4_DUEBILFILTRI JOIN CGP2_DUEBILCHECK ON CGP2_ID = CGP4_IDCHECK_CGP2"
                       " WHERE CGP4_CAUSALE_CGP0 = 400 AND CGP4_CHECKED <> CGP2_DEFAULTINCASSI"), 0);
        const Outcome again = m_ops->create("400", "mrossi", "1", "1");
        QCOMPARE(again.result, Result::Refused);
        QCOMPARE(again.textId, MessageId::Exists);
        QCOMPARE(again.params, QStringList{"400"});
    }

    // The copy holds the source's rows of the current company, under the new code, with the
    // description as typed.
    void duplicateCopiesEveryTable()
    {
        const QString description = "Copia d'incasso N'x' -- ; «€»";
        QVERIFY(m_ops->duplicate("300", "401", description, "mrossi", "1").done());
        QCOMPARE(m_connection->Execute("SELECT CGP0_DESCRIZIONE FROM CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 401")
                     ->value("CGP0_DESCRIZIONE").toString(), description);
        QCOMPARE(count("CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 401"), count("CGP3_DUEBILGRIGLIA WHERE CGP3_CAUSALE_CGP0 = 300"));
        QCOMPARE(count("CGP4_DUEBILFILTRI A JOIN CGP4_DUEBILFILTRI B ON A.CGP4_IDCHECK_CGP2 = B.CGP4_IDCHECK_CGP2"
                       " AND A.CGP4_CHECKED = B.CGP4_CHECKED WHERE A.CGP4_CAUSALE_CGP0 = 300 AND B.CGP4_CAUSALE_CGP0 = 401"),
                 count("CGP2_DUEBILCHECK"));
        QCOMPARE(count("CGP6_DUEBILPARAMDITTA WHERE CGP6_CAUSALE_CGP0 = 401"), 1);
        QCOMPARE(count("CGP7_DUEBILPERSREG WHERE CGP7_CAUSALE_CGP0 = 401 AND CGP7_CAUSALECOGE_CG33 = 'RIB'"), 1);
        QCOMPARE(count("FW41_SELEZIONEPARAMSCADENZE WHERE FW41_CODICE = 401 AND FW41_DITTA_CG18 = 1"),
                 count("FW41_SELEZIONEPARAMSCADENZE WHERE FW41_CODICE = 300 AND FW41_DITTA_CG18 = 1"
                       " AND FW41_UOBJECT = 'CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG'"));
        QCOMPARE(m_ops->duplicate("300", "401", "x", "mrossi", "1").textId, MessageId::Exists);
        // A code with no causal behind it (a window session, seed 17) copies into nothing.
        const Outcome noSource = m_ops->duplicate("288", "402", "x", "mrossi", "1");
        QCOMPARE(noSource.result, Result::Refused);
        QCOMPARE(noSource.textId, MessageId::CopyOfDeleted);
        QCOMPARE(noSource.params, QStringList{"288"});
        QCOMPARE(count("CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 402"), 0);
        QVERIFY(m_messages.calls().isEmpty());
    }

    // A copy inside the caller's transaction is the caller's to keep or drop.
    void duplicateFollowsTheCallersTransaction()
    {
        m_connection->BeginTrans();
        QVERIFY(m_ops->duplicate("300", "403", "Copia", "mrossi", "1").done());
        QVERIFY(m_connection->inTransaction());
        QCOMPARE(count("CGP0_DUEBILCAUSALI WHERE CGP0_CAUSALE = 403"), 1);
        m_connection->RollbackTrans();
        QCOMPARE(rowsOf("403"), QString());
    }

    void interruptedDuplicateLeavesNothing_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("leave") << int(ErrorTrap::Leave);
        QTest::newRow("go on") << int(ErrorTrap::Resume);
    }

    // A failure half-way through the copy keeps nothing of the copy, even when the user goes
    // on with the remaining statements.
    void interruptedDuplicateLeavesNothing()
    {
        QFETCH(int, answer);
        m_connection->Execute("DROP TABLE CGP8_DUEBILREVOKE");
        m_messages.setDefaultErrorAnswer(answer);
        const Outcome failed = m_ops->duplicate("300", "402", "Copia", "mrossi", "1");
        // The error report told the user: there is no message of the copy's own.
        QCOMPARE(failed.result, Result::FailedReported);
        QCOMPARE(failed.textId, 0);
        QCOMPARE(m_messages.calls().size(), 1);
        QVERIFY(!m_connection->inTransaction());
        for (const ModuleTables::Table *t : ModuleTables::ofCausal()) {
            if (t->table != QLatin1String("CGP8_DUEBILREVOKE"))
                QCOMPARE(count(QStringLiteral("%1 WHERE %2 = 402").arg(QLatin1String(t->table), QLatin1String(t->causalColumn))), 0);
        }
    }

    // After a delete no table holds the code, in any company.
    void deleteRemovesEveryRow()
    {
        m_connection->Execute("INSERT INTO FW17_ORDERPRS (FW17_UOBJECT, FW17_POSIZIONE, FW17_CAMPO)"
                              " VALUES ('CGUO_DUEBIL.CLSCG_DUEBIL_320', 1, 'CG61_DATASCAD')");
        m_connection->Execute("INSERT INTO FW18_SELEZIONEPRS (FW18_UOBJECT, FW18_CAMPO) VALUES ('CGUO_DUEBIL.CLSCG_DUEBIL_320', 'X')");
        QVERIFY(m_ops->remove("320", "mrossi").done());
        QCOMPARE(rowsOf("320"), QString());
        QVERIFY(count("CGP4_DUEBILFILTRI WHERE CGP4_CAUSALE_CGP0 = 300") > 0);
        // Nothing left to delete: refused, the causal named as gone.
        const Outcome missing = m_ops->remove("320", "mrossi");
        QCOMPARE(missing.result, Result::Refused);
        QCOMPARE(missing.textId, MessageId::AlreadyDeleted);
        QCOMPARE(missing.params, QStringList{"320"});
    }
};

QTEST_GUILESS_MAIN(TestCausalOperations)
#include "tst_causaloperations.moc"
