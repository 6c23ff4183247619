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

    void postingCausal_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<Messages>("refused");
        QTest::newRow("collection, closing causal") << "INC" << 1 << Messages();
        QTest::newRow("empty code") << "" << 1 << Messages();
        QTest::newRow("tied to VAT register") << "NCV" << 1 << ids({MessageId::VatRegister});
        QTest::newRow("VAT register wins over type 8") << "FTV" << 8 << ids({MessageId::VatRegister});
        QTest::newRow("null register passes") << "CMP" << 6 << Messages();
        QTest::newRow("not closing") << "GIR" << 2 << ids({MessageId::NotClosing});
        QTest::newRow("unpaid collection, good") << "IBF" << 4 << Messages();
        QTest::newRow("unpaid collection, other unpaid kind") << "RCH" << 4 << ids({MessageId::NotUnpaid});
        QTest::newRow("unpaid collection, neither") << "GIR" << 4
                                                    << ids({MessageId::NotClosing, MessageId::NotUnpaid});
        QTest::newRow("advances need the advance flag") << "ACC" << 8 << Messages();
        QTest::newRow("advances ignore account handling") << "INC" << 8 << ids({MessageId::NoAdvance});
        QTest::newRow("unknown code") << "ZZZ" << 1 << ids({MessageId::NotClosing});
        QTest::newRow("unknown code, advances") << "ZZZ" << 8 << ids({MessageId::NoAdvance});
        QTest::newRow("quote in code") << "A'B" << 1 << ids({MessageId::NotClosing});
    }

    void postingCausal()
    {
        QFETCH(QString, code);
        QFETCH(int, tipo);
        QFETCH(Messages, refused);
        QCOMPARE(m_checks->postingCausalRefusals(code, operationTypeOf(tipo)), refused);
    }

    void otherCodes_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("code");
        QTest::addColumn<Messages>("refused");
        QTest::newRow("allowance ok") << "abbuoni" << "ABB" << Messages();
        QTest::newRow("allowance not closing") << "abbuoni" << "ACC" << ids({MessageId::NotClosing});
        QTest::newRow("terms: direct remittance") << "pagamento" << "RD" << Messages();
        QTest::newRow("terms: one instalment fits") << "pagamento" << "RD30R60" << Messages();
        QTest::newRow("terms: bank receipts only") << "pagamento" << "RB3060" << ids({MessageId::PaymentTerms});
        QTest::newRow("terms: unknown") << "pagamento" << "XX" << ids({MessageId::PaymentTerms});
        QTest::newRow("section exists") << "sezionale" << "A1" << Messages();
        QTest::newRow("sales section") << "sezionale" << "01" << Messages();
        QTest::newRow("section RP reserved") << "sezionale" << "RP" << ids({MessageId::ReservedSection});
        QTest::newRow("section missing") << "sezionale" << "ZZ" << ids({MessageId::NoSection});
        QTest::newRow("customer extraction causal") << "clienti" << "300" << Messages();
        QTest::newRow("supplier causal as customer one") << "clienti" << "310" << Messages{{0, {"310"}}};
        QTest::newRow("unknown extraction causal") << "fornitori" << "999" << Messages{{0, {"999"}}};
    }

    void otherCodes()
    {
        QFETCH(QString, kind);
        QFETCH(QString, code);
        QFETCH(Messages, refused);
        Messages got;
        if (kind == "abbuoni")
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
