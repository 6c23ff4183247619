#pragma once

#include "ado/connection.h"
#include "store/operationtype.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The checks of a code typed into a parameter field against the ledger and the other causals
// of the module. Each answers the text ids of the messages the window shows when it refuses
// the code, in the order it shows them; an empty list accepts it. An empty code is accepted.
class LedgerChecks
{
public:
    // Attributes of a ledger causal; a code without a row has every flag false.
    struct Attributes
    {
        bool found = false;
        bool vatRegister = false;        // CG33_INDTIPOREG not 0: refused whatever the field
        bool advance = false;
        bool statementOrPortfolio = false;
        bool accountStatement1 = false;
        bool unpaid12 = false;
        bool accountStatement2 = false;
        bool unpaid4 = false;
    };

    struct Message
    {
        int textId;
        QStringList params;
        bool operator==(const Message &) const = default;
    };

    explicit LedgerChecks(ado::ConnectionPtr connection);

    Attributes LeggiAttributiCausaleContabile(const QString &code) const;
    QList<Message> postingCausalRefusals(const QString &code, OperationType type) const;
    QList<Message> discountCausalRefusals(const QString &code) const;
    bool VerificaCondizionePagamento(const QString &code) const;
    bool EsisteSezionale(const QString &code, const QString &company) const;
    QList<Message> paymentTermsRefusals(const QString &code) const;
    QList<Message> sectionRefusals(const QString &code, const QString &company) const;
    bool IsCausalePerRitenute(const QString &causal) const;
    // Extraction causal of the module: kind 1 customers (collection causals), 2 suppliers.
    bool compensationCausalFound(const QString &code, int kind) const;
    QList<Message> compensationCausalRefusals(const QString &code, int kind) const;

    struct Account
    {
        bool found = false;
        bool postable = false;
    };
    Account account(const QString &code, const QString &accountGroup) const;

    // The statement the look-up of the posting causal shows: for unpaid-bill collections
    // (type 4) only the ledger causals of unpaid bills.
    static QString ledgerCausalLookup(const QString &statement, OperationType type);

private:
    ado::ConnectionPtr m_connection;
};
