#pragma once

#include "params/ledgerchecks.h"

#include <QList>
#include <QObject>

#include <functional>

struct FormContext;
class TextField;
class AccountField;

// The code fields of the parameter frames against the ledger: their look-ups and decodes
// (ledger causals, extraction causals, payment terms, sections, accounts), and the checks
// of a typed code as its field is left.
class ParameterCodes : public QObject
{
    Q_OBJECT

public:
    explicit ParameterCodes(FormContext &ctx);
    ~ParameterCodes() override;

    // Decode and look-up services of every code field of the window.
    void connectAccountFields();
    void connectValidations();

    void TXT_CAUSALECOGE_Validate(bool *cancel);
    void TXT_CAUABBUONI_Validate(bool *cancel);
    void TXT_CAUSALECOMP_Validate(TextField *field, bool *cancel);
    void TXT_CODPAGACCONTI_Validate(bool *cancel);
    void TXT_SEZIONALEACCONTI_Validate(bool *cancel);
    void TXT_CONTO_Validate(AccountField *field, bool *cancel);
    void CHK_MODIFICACONTI_Click();

private:
    enum class ErrorPolicy;
    struct CodeFieldRequests;
    QList<CodeFieldRequests> codeFieldRequests();
    void connectRequests(const CodeFieldRequests &requests);
    void runRequest(ErrorPolicy policy, const QString &procedure, bool lookUp, const std::function<void()> &request);
    bool refused(QWidget *field, const QList<LedgerChecks::Message> &messages);

    FormContext &ctx;
};
