#include "params/ledgerchecks.h"
#include "store/messageids.h"
#include "support/testdatabase.h"

#include <QTest>

using Message = LedgerChecks::Message;
using Messages = QList<LedgerChecks::Message>;
Q_DECLARE_METATYPE(Messages)

static Messages ids(std::initializer_list<int> list)
{
    Messages m;
    for (int id : list)
        m.append(Message{id, {}});
    return m;
}

// Codes typed into the parameter fields, checked against the demo ledger.
class TestLedgerChecks : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<LedgerChecks> m_checks;

private slots:
    void initTestCase()
    {
        m_db = std::make_unique<TestDatabase>(TestDatabase::Demo);
        QVERIFY(m_db->isValid());
        auto c = std::make_shared<ado::Connection>();
        c->Open(m_db->connectionString());
        m_checks = std::make_unique<LedgerChecks>(c);
    }

    // A code typed into a field of that kind (the posting causal for an operation type) and
    // what the ledger refuses of it.
    void refusals_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<Messages>("refused");
        QTest::newRow("collection, closing causal") << "coge" << "INC" << 1 << Messages();
        QTest::newRow("empty code") << "coge" << "" << 1 << Messages();
        QTest::newRow("tied to VAT register") << "coge" << "NCV" << 1 << ids({MessageId::VatRegister});
        QTest::newRow("VAT register wins over type 8") << "coge" << "FTV" << 8 << ids({MessageId::VatRegister});
        QTest::newRow("null register passes") << "coge" << "CMP" << 6 << Messages();
        QTest::newRow("not closing") << "coge" << "GIR" << 2 << ids({MessageId::NotClosing});
        QTest::newRow("unpaid collection, good") << "coge" << "IBF" << 4 << Messages();
        QTest::newRow("unpaid collection, other unpaid kind") << "coge" << "RCH" << 4 << ids({MessageId::NotUnpaid});
        QTest::newRow("unpaid collection, neither") << "coge" << "GIR" << 4
            << ids({MessageId::NotClosing, MessageId::NotUnpaid});
        QTest::newRow("advances need the advance flag") << "coge" << "ACC" << 8 << Messages();
        QTest::newRow("advances ignore account handling") << "coge" << "INC" << 8 << ids({MessageId::NoAdvance});
        QTest::newRow("unknown code") << "coge" << "ZZZ" << 1 << ids({MessageId::NotClosing});
        QTest::newRow("unknown code, advances") << "coge" << "ZZZ" << 8 << ids({MessageId::NoAdvance});
        QTest::newRow("quote in code") << "coge" << "A'B" << 1 << ids({MessageId::NotClosing});
        QTest::newRow("allowance ok") << "abbuoni" << "ABB" << 0 << Messages();
        QTest::newRow("allowance not closing") << "abbuoni" << "ACC" << 0 << ids({MessageId::NotClosing});
        QTest::newRow("terms: direct remittance") << "pagamento" << "RD" << 0 << Messages();
        QTest::newRow("terms: one instalment fits") << "pagamento" << "RD30R60" << 0 << Messages();
        QTest::newRow("terms: bank receipts only") << "pagamento" << "RB3060" << 0 << ids({MessageId::PaymentTerms});
        QTest::newRow("terms: unknown") << "pagamento" << "XX" << 0 << ids({MessageId::PaymentTerms});
        QTest::newRow("section exists") << "sezionale" << "A1" << 0 << Messages();
        QTest::newRow("sales section") << "sezionale" << "01" << 0 << Messages();
        QTest::newRow("section RP reserved") << "sezionale" << "RP" << 0 << ids({MessageId::ReservedSection});
        QTest::newRow("section missing") << "sezionale" << "ZZ" << 0 << ids({MessageId::NoSection});
        QTest::newRow("customer extraction causal") << "clienti" << "300" << 0 << Messages();
        QTest::newRow("supplier causal as customer one") << "clienti" << "310" << 0 << Messages{{0, {"310"}}};
        QTest::newRow("unknown extraction causal") << "fornitori" << "999" << 0 << Messages{{0, {"999"}}};
    }

    void refusals()
    {
        QFETCH(QString, kind);
        QFETCH(QString, code);
        QFETCH(int, tipo);
        QFETCH(Messages, refused);
        Messages got;
        if (kind == "coge")
            got = m_checks->postingCausalRefusals(code, operationTypeOf(tipo));
        else if (kind == "abbuoni")
            got = m_checks->discountCausalRefusals(code);
        else if (kind == "pagamento")
            got = m_checks->paymentTermsRefusals(code);
        else if (kind == "sezionale")
            got = m_checks->sectionRefusals(code, "1");
        else
            got = m_checks->compensationCausalRefusals(code, kind == "clienti" ? 1 : 2);
        QCOMPARE(got, refused);
    }

    void oneCharacterSectionIsPadded()
    {
        QVERIFY(!m_checks->EsisteSezionale("0", "1"));
        QVERIFY(m_checks->EsisteSezionale("00", "2"));
        QVERIFY(!m_checks->EsisteSezionale("01", "2"));
    }

    void withholdingCausalIsRefusedAsExtraction()
    {
        QVERIFY(!m_checks->IsCausalePerRitenute(""));
        QVERIFY(!m_checks->IsCausalePerRitenute("300"));
        auto c = std::make_shared<ado::Connection>();
        c->Open(m_db->connectionString());
        c->Execute("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 1 WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 30");
        QCOMPARE(m_checks->compensationCausalRefusals("310", 2), (Messages{{MessageId::WithholdingCausal, {"310"}}}));
        c->Execute("UPDATE CGP4_DUEBILFILTRI SET CGP4_CHECKED = 0 WHERE CGP4_CAUSALE_CGP0 = 310 AND CGP4_IDCHECK_CGP2 = 30");
    }

    void accounts()
    {
        QCOMPARE(m_checks->account("180101", "1").postable, true);
        QCOMPARE(m_checks->account("180101", "2").found, false);
        const LedgerChecks::Account master = m_checks->account("18", "1");
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
