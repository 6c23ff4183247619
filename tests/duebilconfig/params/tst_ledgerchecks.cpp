#include "params/ledgerchecks.h"
#include "store/messageids.h"
#include "support/casefile.h"
#include "support/testdatabase.h"

#include <QTest>

using Message = LedgerChecks::Message;
using Messages = QList<LedgerChecks::Message>;
Q_DECLARE_METATYPE(Messages)

// Codes typed into the parameter fields, checked against the demo ledger.
class TestLedgerChecks : public QObject
{
    Q_OBJECT

    ConnectedDatabase m_db;
    LedgerChecks m_checks{m_db.connection};

private slots:

    void refusals_data()
    {
        addCaseRows({QStringLiteral(DUEBIL_TEST_DATA "/ledgerrefusals.cases")});
    }

    void refusals()
    {
        QFETCH(TextCase, c);
        const QString kind = c.text("kind");
        const QString code = c.text("code");
        Messages refused;
        for (const QString &line : c.lines("refused")) {
            QStringList fields = line.split(' ');
            refused.append(Message{fields.takeFirst().toInt(), fields});
        }
        Messages got;
        if (kind == "coge")
            got = m_checks.postingCausalRefusals(code, operationTypeOf(c.text("type").toInt()));
        else if (kind == "abbuoni")
            got = m_checks.discountCausalRefusals(code);
        else if (kind == "pagamento")
            got = m_checks.paymentTermsRefusals(code);
        else if (kind == "sezionale")
            got = m_checks.sectionRefusals(code, "1");
        else
            got = m_checks.compensationCausalRefusals(code, kind == "clienti" ? 1 : 2);
        QCOMPARE(got, refused);
    }

    void oneCharacterSectionIsPadded()
    {
        QVERIFY(!m_checks.EsisteSezionale("0", "1"));
        QVERIFY(m_checks.EsisteSezionale("00", "2"));
        QVERIFY(!m_checks.EsisteSezionale("01", "2"));
    }

    void withholdingCausalIsRefusedAsExtraction()
    {
        QVERIFY(!m_checks.IsCausalePerRitenute(""));
        QVERIFY(!m_checks.IsCausalePerRitenute("300"));
        m_db.connection->Execute("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1 WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 30");
        QCOMPARE(m_checks.compensationCausalRefusals("310", 2), (Messages{{MessageId::WithholdingCausal, {"310"}}}));
        m_db.connection->Execute("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 0 WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 30");
    }

    void accounts()
    {
        QCOMPARE(m_checks.account("180101", "1").postable, true);
        QCOMPARE(m_checks.account("180101", "2").found, false);
        const LedgerChecks::Account master = m_checks.account("18", "1");
        QVERIFY(!master.found || !master.postable);
    }

    void unpaidLookupListsOnlyUnpaidCausals()
    {
        const QString sql = "SELECT CG33_CODICE, CG33_DESCR FROM CG33_TABCAU order by cg33_codice";
        QCOMPARE(LedgerChecks::ledgerCausalLookup(sql, OperationType::Collections), sql);
        QCOMPARE(LedgerChecks::ledgerCausalLookup(sql, OperationType::ClearedCollections),
                 QString("SELECT CG33_CODICE, CG33_DESCR FROM CG33_TABCAU  WHERE CG33_FLGINSOLUTI = 4  ORDER BY CG33_CODICE "));
    }
};

QTEST_GUILESS_MAIN(TestLedgerChecks)
#include "tst_ledgerchecks.moc"
