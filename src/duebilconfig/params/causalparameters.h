#pragma once

#include "icausalparameters.h"
#include "ledgerchecks.h"
#include "optionlists.h"

#include <QObject>
#include <QPointer>

#include <functional>

struct FormContext;
class DataFrame;
class ComboField;
class TextField;
class AccountField;

// The parameters of the causal on display: the general, per-company and posting frames and
// their saving, the option lists, the ledger look-ups and validations of the code fields, the
// enabling rules and the parametric posting-line text.
class CausalParameters : public QObject, public ICausalParameters
{
    Q_OBJECT

public:
    explicit CausalParameters(FormContext &ctx);
    ~CausalParameters() override;

    void connectEvents();
    // Decode and look-up services of every code field of the window.
    void connectAccountFields();

    // Option lists.
    void ImpostaCombo(bool detailsOnly);
    void AggiornaModalitaRecupero();
    void CBO_TIPOOPERAZIONE_GotFocus();
    void CBO_TIPOOPERAZIONE_LostFocus();
    void CBO_TIPOOPERAZIONE_BeforeChange(const QString &previousText);
    void CBO_TIPOOPERAZIONE_AfterChange();
    void CBO_DETTREG_ChangeRow();
    void CBO_DETTRIGACONT_ChangeRow();
    void CBO_MODIMPSCAD_ChangeRow(int position);
    void CHK_GESTVALUTE_Click();

    // Frames and saving.
    void FME_PARAMETRI_ChangeStatus(int fenm_status, int fenm_reason);
    void FME_PARAMETRI_UpdateBatchAll();
    void FME_PARAMETRIDITTA_UpdateBatchAll();
    void FME_PARAMPERSREG_UpdateBatchAll();
    void FME_PARAMPERSREG_BeforeUpdate(bool *fbol_Cancel);

    // Enabling rules.
    void AttivaEditControlli() override;
    // The save rules on the screen as the rules left it (FME_CAUSALI_BeforeUpdate): false when
    // the handler is to be left, with *cancel telling whether the save stops.
    bool ControllaSalvataggio(bool *cancel) override;

    // Ledger look-ups and validations.
    void TXT_CAUSALECOGE_Validate(bool *cancel);
    void TXT_CAUABBUONI_Validate(bool *cancel);
    void TXT_CAUSALECOMP_Validate(TextField *field, bool *cancel);
    void TXT_CODPAGACCONTI_Validate(bool *cancel);
    void TXT_SEZIONALEACCONTI_Validate(bool *cancel);
    void TXT_CONTO_Validate(AccountField *field, bool *cancel);
    void CHK_MODIFICACONTI_Click();

    // Parametric text.
    void BUT_LEGENDA_ButtonClick();
    void Gcls_TestiParametrizzabili_DoubleClick(short *indexRow, QString *value, QString *description);
    void TXT_TESTOPARAMETRICO_GotFocus();
    void TXT_TESTOPARAMETRICO_LostFocus();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectFrames();
    void connectOptionLists();
    void connectValidations();
    void connectParametricText();
    enum class ErrorPolicy;
    struct CodeFieldRequests;
    QList<CodeFieldRequests> codeFieldRequests();
    void connectRequests(const CodeFieldRequests &requests);
    void runRequest(ErrorPolicy policy, const QString &procedure, bool lookUp, const std::function<void()> &request);
    void refreshRecoveryModes(bool keepStored);
    bool framesRefreshing() const;
    bool followsScreen() const;
    void ruleInputChanged(QWidget *input);
    void applyDetailRules();
    QString dependentListInputs() const;
    QString detailsShown() const;
    void showHeldCorrections();
    void selectOfferedValues();
    void batchAll(const QString &procedure, DataFrame *frame);
    void fill(ComboField *combo, const OptionLists::List &list, bool selectInitial);
    void fillFixedLists();
    void fillDependentLists(const QList<ComboField *> &dependent);
    bool refused(QWidget *field, const QList<LedgerChecks::Message> &messages);
    void warnOtherCompanies();
    bool causalSettingsAsStored(const QHash<QString, QString> &causalValues) const;
    void forceColumn(const QString &column, const QVariant &value);
    bool registrationRowPresent() const;
    void connectLegend();
    int accountGroup() const;

    FormContext &ctx;
    bool m_changeRowBusy = false;
    bool m_legendConnected = false;
    bool m_rulesRunning = false;
    bool m_enablingOnly = false;
    QString m_detailsAtStart;  // the details on screen when the rules began their pass
    bool m_statusShown = false;
    QString m_heldCorrections;
    QString m_rulesCausal;     // causal on display when the rules last ran
};
