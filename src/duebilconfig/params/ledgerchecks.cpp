#include "ledgerchecks.h"

#include "clsservizi.h"
#include "duebilstatements.h"
#include "messageids.h"
#include "recordset.h"

namespace S = DueBilStatements;

LedgerChecks::LedgerChecks(ado::ConnectionPtr connection) : m_connection(std::move(connection)) {}

static int flag(const ado::Recordset &rs, const char *column)
{
    return ClsServizi::nullToDefault(rs.value(QLatin1String(column)), 0).toInt();
}

LedgerChecks::Attributi LedgerChecks::LeggiAttributiCausaleContabile(const QString &code) const
{
    Attributi a;
    const ado::RecordsetPtr rs = m_connection->Execute(S::ledgerCausalAttributes(code));
    if (rs->RecordCount() == 0)
        return a;
    a.found = true;
    a.registroIva = flag(*rs, "CG33_INDTIPOREG") != 0;
    a.acconto = flag(*rs, "CG33_FLGACCONTO") == 1;
    a.estrattoOPortafoglio = flag(*rs, "CG33_FLGECONTO") == 1 || flag(*rs, "CG33_FLGPORTAF") == 1;
    a.gestioneEc1 = flag(*rs, "CG33_INDGESTEC") == 1;
    const int insoluti = flag(*rs, "CG33_FLGINSOLUTI");
    a.insoluti12 = insoluti == 1 || insoluti == 2;
    a.gestioneEc2 = flag(*rs, "CG33_INDGESTEC") == 2;
    a.insoluti4 = insoluti == 4;
    return a;
}

QList<LedgerChecks::Message> LedgerChecks::causaleRegistrazione(const QString &code, OperationType type) const
{
    if (code.isEmpty())
        return {};
    const Attributi a = LeggiAttributiCausaleContabile(code);
    if (a.registroIva)
        return {{MessageId::VatRegister, {}}};
    QList<Message> refused;
    if (type != OperationType::Advances) {
        if (!a.gestioneEc2)
            refused.append(Message{MessageId::NotClosing, {}});
        if (type == OperationType::ClearedCollections && !a.insoluti4)
            refused.append(Message{MessageId::NotUnpaid, {}});
    } else if (!a.acconto) {
        refused.append(Message{MessageId::NoAdvance, {}});
    }
    return refused;
}

QList<LedgerChecks::Message> LedgerChecks::causaleAbbuoni(const QString &code) const
{
    if (code.isEmpty())
        return {};
    const Attributi a = LeggiAttributiCausaleContabile(code);
    if (a.registroIva)
        return {{MessageId::VatRegister, {}}};
    if (!a.gestioneEc2)
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

QList<LedgerChecks::Message> LedgerChecks::condizionePagamento(const QString &code) const
{
    if (code.isEmpty() || VerificaCondizionePagamento(code))
        return {};
    return {{MessageId::PaymentTerms, {}}};
}

QList<LedgerChecks::Message> LedgerChecks::sezionale(const QString &code, const QString &company) const
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

bool LedgerChecks::causaleCompensazioneTrovata(const QString &code, int kind) const
{
    bool numeric = false;
    code.trimmed().toInt(&numeric);
    if (!numeric)
        return false;
    return m_connection->Execute(S::extractionCausalOfKind(code.trimmed(), kind), 1)->RecordCount() >= 1;
}

QList<LedgerChecks::Message> LedgerChecks::causaleCompensazione(const QString &code, int kind) const
{
    if (code.isEmpty())
        return {};
    if (!causaleCompensazioneTrovata(code, kind))
        return {{0, {code}}};  // not found: the field itself says so
    if (IsCausalePerRitenute(code))
        return {{MessageId::WithholdingCausal, {code}}};
    return {};
}

LedgerChecks::Conto LedgerChecks::conto(const QString &code, const QString &accountGroup) const
{
    Conto c;
    if (code.isEmpty())
        return c;
    const ado::RecordsetPtr rs = m_connection->Execute(S::accountPostable(accountGroup, code));
    c.found = rs->RecordCount() > 0;
    c.postable = c.found && flag(*rs, "CG24_FLGANALITICO") == 1;
    return c;
}

QString LedgerChecks::lookupCausaliContabili(const QString &statement, OperationType type)
{
    return type == OperationType::ClearedCollections ? S::onlyUnpaidLedgerCausals(statement) : statement;
}
