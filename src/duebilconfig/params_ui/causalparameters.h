#pragma once

#include "window/icausalparameters.h"

#include <QObject>

#include <memory>

struct FormContext;
class ParameterOptionLists;
class ParameterEnabling;
class ParameterCodes;
class ParameterSaving;
class ParametricText;

// The parameters of the causal on display, as the form wires them: the option lists, the
// enabling rules of the type, the code fields against the ledger, the save of the parameter
// rows and the parametric posting-line text, each its own part; this connects the window's
// events to them and runs what joins them (a change of the type or of a rule's input).
class CausalParameters : public QObject, public ICausalParameters
{
    Q_OBJECT

public:
    explicit CausalParameters(FormContext &ctx);
    ~CausalParameters() override;

    void connectEvents();
    // Decode and look-up services of every code field of the window.
    void connectAccountFields();

    void ImpostaCombo(bool detailsOnly);
    void AggiornaModalitaRecupero();

    // Enabling rules.
    void AttivaEditControlli() override;
    // The save rules on the screen as the rules left it (FME_CAUSALI_BeforeUpdate): false when
    // the handler is to be left, with *cancel telling whether the save stops.
    bool ControllaSalvataggio(bool *cancel) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectOptionLists();
    void ruleInputChanged(QWidget *input);
    void CBO_TIPOOPERAZIONE_AfterChange();
    void FME_PARAMETRI_ChangeStatus(int fenm_status, int fenm_reason);

    FormContext &ctx;
    std::unique_ptr<ParameterOptionLists> m_lists;
    std::unique_ptr<ParameterEnabling> m_enabling;
    std::unique_ptr<ParameterCodes> m_codes;
    std::unique_ptr<ParameterSaving> m_saving;
    std::unique_ptr<ParametricText> m_text;
};
