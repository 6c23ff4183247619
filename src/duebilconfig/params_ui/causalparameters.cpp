#include "params_ui/causalparameters.h"

#include "dataframe/dataframe.h"
#include "params_ui/parametercodes.h"
#include "params_ui/parameterenabling.h"
#include "params_ui/parameteroptionlists.h"
#include "params_ui/parametersaving.h"
#include "params_ui/parametrictext.h"
#include "window/formcontext.h"

#include <QComboBox>
#include <QEvent>

CausalParameters::CausalParameters(FormContext &ctx)
    : ctx(ctx),
      m_lists(std::make_unique<ParameterOptionLists>(ctx)),
      m_enabling(std::make_unique<ParameterEnabling>(ctx, *m_lists)),
      m_codes(std::make_unique<ParameterCodes>(ctx)),
      m_saving(std::make_unique<ParameterSaving>(ctx)),
      m_text(std::make_unique<ParametricText>(ctx))
{
}

CausalParameters::~CausalParameters() = default;

void CausalParameters::connectEvents()
{
    m_saving->connectFrames();
    connect(ctx.FME_PARAMETRI.get(), &DataFrame::ChangeStatus, this, &CausalParameters::FME_PARAMETRI_ChangeStatus,
            Qt::DirectConnection);
    connectOptionLists();
    m_codes->connectValidations();
    m_text->connectEvents();
}

void CausalParameters::connectAccountFields()
{
    m_codes->connectAccountFields();
}

void CausalParameters::ImpostaCombo(bool detailsOnly)
{
    m_lists->ImpostaCombo(detailsOnly);
}

void CausalParameters::AggiornaModalitaRecupero()
{
    m_lists->refreshRecoveryModes(false);
}

void CausalParameters::AttivaEditControlli()
{
    m_enabling->AttivaEditControlli();
}

bool CausalParameters::ControllaSalvataggio(bool *cancel)
{
    return m_saving->ControllaSalvataggio(cancel);
}

void CausalParameters::connectOptionLists()
{
    FormUi &ui = ctx.ui;
    ui.CBO_TIPOOPERAZIONE->comboBox()->installEventFilter(this);
    connect(ui.CBO_TIPOOPERAZIONE, &ComboField::ChangeRow, this, [this](short *previous, short *) {
        if (!ctx.Gbol_ImpostaCombo)
            m_lists->CBO_TIPOOPERAZIONE_BeforeChange(ctx.ui.CBO_TIPOOPERAZIONE->itemValue(*previous));
    });
    connect(ui.CBO_TIPOOPERAZIONE, &ComboField::AfterChange, this, &CausalParameters::CBO_TIPOOPERAZIONE_AfterChange);
    // Every change of the chosen entry, by the user or by code; a row being shown is not a change.
    connect(ui.CBO_DETTREG, &ComboField::ChangeRow, this, [this](short *, short *) {
        if (m_enabling->followsScreen())
            m_enabling->CBO_DETTREG_ChangeRow();
    });
    connect(ui.CBO_DETTRIGACONT, &ComboField::ChangeRow, this, [this](short *, short *) {
        if (m_enabling->followsScreen())
            m_enabling->CBO_DETTRIGACONT_ChangeRow();
    });
    connect(ui.CBO_MODIMPSCAD, &ComboField::ChangeRow, this, [this](short *, short *position) {
        if (m_enabling->followsScreen())
            m_enabling->CBO_MODIMPSCAD_ChangeRow(*position);
    });
    // The values the enabling rules read: a change of one of them applies the rules again.
    for (FieldControl *input : std::initializer_list<FieldControl *>{
             ui.CBO_TIPOOPERAZIONE, ui.CBO_MODRECUPERO, ui.CBO_MODIMPMAX, ui.CBO_MODIMPSCAD, ui.CBO_DETTREG,
             ui.CHK_GESTVALUTE, ui.CHK_GESTIONEACCONTI, ui.CHK_FILTER[ISelectionChecks::WithholdingCheck]})
        connect(input, &FieldControl::TextChanged, this, [this, input] { ruleInputChanged(input); });
    // An undo shows the stored row again, and the lists, captions and enabling follow it: the
    // recovery modes of the restored operation type first, then the rules.
    connect(ctx.FME_CAUSALI.get(), &DataFrame::AfterUndo, this, [this](int result) {
        if (result != DataFrame::ResultOk || ctx.closing || ctx.Gbol_ImpostaCombo)
            return;
        ErrorTrap::runIgnoringErrors({[&] { m_lists->refreshRecoveryModes(true); }});
        AttivaEditControlli();
    });
    connect(ui.CHK_GESTVALUTE, &CheckField::Click, this, [this] { m_enabling->CHK_GESTVALUTE_Click(); });
}

void CausalParameters::ruleInputChanged(QWidget *input)
{
    if (m_enabling->isRunning() || ctx.anyBusyFlag() || ctx.attivaEditBusy || !m_enabling->followsScreen())
        return;
    if (input == ctx.ui.CBO_TIPOOPERAZIONE)
        ctx.trapped(QStringLiteral("CBO_TIPOOPERAZIONE_AfterChange"), {[&] { AggiornaModalitaRecupero(); }});
    AttivaEditControlli();
}

bool CausalParameters::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == static_cast<QObject *>(ctx.ui.CBO_TIPOOPERAZIONE->comboBox())) {
        if (event->type() == QEvent::FocusIn)
            m_lists->CBO_TIPOOPERAZIONE_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            m_lists->CBO_TIPOOPERAZIONE_LostFocus();
    }
    return QObject::eventFilter(watched, event);
}

void CausalParameters::CBO_TIPOOPERAZIONE_AfterChange()
{
    ctx.trapped(QStringLiteral("CBO_TIPOOPERAZIONE_AfterChange"), {[&] {
        const QString code = ctx.causalCode();
        const int type = ctx.nz(ctx.ui.CBO_TIPOOPERAZIONE->Text(), 0).toInt();
        if (!code.isEmpty() && type != ctx.Gint_TipoOperazionePrec)
            ctx.checks->CaricaValoriPredefinitiFiltri(operationTypeOf(type), code, true, true);
        ctx.Gint_TipoOperazionePrec = qint16(type);
    }});
    // Types without default checks (6 and 8) load nothing, and the rules must follow them too.
    if (m_enabling->followsScreen() && !ctx.anyBusyFlag()) {
        ctx.trapped(QStringLiteral("CBO_TIPOOPERAZIONE_AfterChange"), {[&] { AggiornaModalitaRecupero(); }});
        AttivaEditControlli();
    }
}

void CausalParameters::FME_PARAMETRI_ChangeStatus(int fenm_status, int)
{
    if (fenm_status == DataFrame::StatusRecord)
        ErrorTrap::runIgnoringErrors({[&] { m_lists->refreshRecoveryModes(true); }});
}
