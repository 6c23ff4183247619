#include "params/ledgerchecks.h"

#include "ado/recordset.h"
#include "framework/clsservizi.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"

namespace S = DueBilStatements;

LedgerChecks::LedgerChecks(ado::ConnectionPtr connection) : m_connection(std::move(connection)) {}

static int flag(const ado::Recordset &rs, const char *column)
{
    return ClsServizi::nullToDefault(rs.value(QLatin1String(column)), 0).toInt();
}

LedgerChecks::Attributes LedgerChecks::LeggiAttributiCausaleContabile(const QString &code) const
{
    Attributes a;
    const ado::RecordsetPtr rs = m_connection->Execute(S::ledgerCausalAttributes(code));
    if (rs->RecordCount() == 0)
        return a;
    a.found = true;
    a.vatRegister = flag(*rs, "CG33_INDTIPOREG") != 0;
    a.advance = flag(*rs, "CG33_FLGACCONTO") == 1;
    a.statementOrPortfolio = flag(*rs, "CG33_FLGECONTO") == 1 || flag(*rs, "CG33_FLGPORTAF") == 1;
    a.accountStatement1 = flag(*rs, "CG33_INDGESTEC") == 1;
    const int insoluti = flag(*rs, "CG33_FLGINSOLUTI");
    a.unpaid12 = insoluti == 1 || insoluti == 2;
    a.accountStatement2 = flag(*rs, "CG33_INDGESTEC") == 2;
    a.unpaid4 = insoluti == 4;
    return a;
}

QList<LedgerChecks::Message> LedgerChecks::postingCausalRefusals(const QString &code, OperationType type) const
{
    if (code.isEmpty())
        return {};
    const Attributes a = LeggiAttributiCausaleContabile(code);
    if (a.vatRegister)
        return {{MessageId::VatRegister, {}}};
    QList<Message> refused;
    if (type != OperationType::Advances) {
        if (!a.accountStatement2)
            refused.append(Message{MessageId::NotClosing, {}});
        if (type == OperationType::ClearedCollections && !a.unpaid4)
            refused.append(Message{MessageId::NotUnpaid, {}});
    } else if (!a.advance) {
        refused.append(Message{MessageId::NoAdvance, {}});
    }
    return refused;
}

QList<LedgerChecks::Message> LedgerChecks::discountCausalRefusals(const QString &code) const
{
    if (code.isEmpty())
        return {};
    const Attributes a = LeggiAttributiCausaleContabile(code);
    if (a.vatRegister)
        return {{MessageId::VatRegister, {}}};
    if (!a.accountStatement2)
        return {{MessageId::NotClosing, {}}};
    return {};
}

bool LedgerChecks::VerificaCondizionePagamento(const QString &code) const
{
    return m_connection->Execute(S::paymentTermsWithBills(code), 1)->RecordCount() >= 1;
}

bool LedgerChecks::EsisteSezionale(const QString &code, const QString &company) const
{
    return m_connection->Execute(S::sectionExists(code, company), 1)->RecordCount() >= 1;
}

QList<LedgerChecks::Message> LedgerChecks::paymentTermsRefusals(const QString &code) const
{
    if (code.isEmpty() || VerificaCondizionePagamento(code))
        return {};
    return {{MessageId::PaymentTerms, {}}};
}

QList<LedgerChecks::Message> LedgerChecks::sectionRefusals(const QString &code, const QString &company) const
{
    if (code.isEmpty())
        return {};
    if (!EsisteSezionale(code, company))
        return {{MessageId::NoSection, {}}};
    if (code == QLatin1String("RP"))
        return {{MessageId::ReservedSection, {}}};
    return {};
}

bool LedgerChecks::IsCausalePerRitenute(const QString &causal) const
{
    bool numeric = false;
    causal.trimmed().toInt(&numeric);
    if (causal.trimmed().isEmpty() || !numeric)
        return false;
    return m_connection->Execute(S::causalWithWithholding(causal.trimmed()), 1)->RecordCount() >= 1;
}

bool LedgerChecks::compensationCausalFound(const QString &code, int kind) const
{
    bool numeric = false;
    code.trimmed().toInt(&numeric);
    if (!numeric)
        return false;
    return m_connection->Execute(S::extractionCausalOfKind(code.trimmed(), kind), 1)->RecordCount() >= 1;
}

QList<LedgerChecks::Message> LedgerChecks::compensationCausalRefusals(const QString &code, int kind) const
{
    if (code.isEmpty())
        return {};
    if (!compensationCausalFound(code, kind))
        return {{0, {code}}};  // not found: the field itself says so
    if (IsCausalePerRitenute(code))
        return {{MessageId::WithholdingCausal, {code}}};
    return {};
}

LedgerChecks::Account LedgerChecks::account(const QString &code, const QString &accountGroup) const
{
    Account c;
    if (code.isEmpty())
        return c;
    const ado::RecordsetPtr rs = m_connection->Execute(S::accountPostable(accountGroup, code));
    c.found = rs->RecordCount() > 0;
    c.postable = c.found && flag(*rs, "CG24_FLGANALITICO") == 1;
    return c;
}

QString LedgerChecks::ledgerCausalLookup(const QString &statement, OperationType type)
{
    return type == OperationType::ClearedCollections ? S::onlyUnpaidLedgerCausals(statement) : statement;
}
