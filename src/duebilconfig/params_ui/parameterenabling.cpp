#include "params_ui/parameterenabling.h"

#include "ado/recordset.h"
#include "dataframe/dataframe.h"
#include "framework/cinterface.h"
#include "framework/clsglobal.h"
#include "params/enablingrules.h"
#include "params/saverules.h"
#include "params_ui/parameteroptionlists.h"
#include "params_ui/parameterscreen.h"
#include "params_ui/widgetsurface.h"
#include "store/messageids.h"
#include "window/formcontext.h"

namespace {

// The two ledger settings of the company that decide whether the posting of every branch
// office is shown as a separate registration.
const char *const SettingBranches = "GestioneSedi";
const char *const SettingSingleBranch = "RegistrazioneSedeUnica";

} // namespace

ParameterEnabling::ParameterEnabling(FormContext &ctx, ParameterOptionLists &lists) : ctx(ctx), lists(lists) {}

bool ParameterEnabling::framesRefreshing() const
{
    for (DataFrame *frame : ctx.children()) {
        if (frame->isRefreshingControls())
            return true;
    }
    return ctx.FME_CAUSALI && ctx.FME_CAUSALI->isRefreshingControls();
}

bool ParameterEnabling::followsScreen() const
{
    // While a causal's rows are being shown, the boxes and lists still belong to the one before.
    return !framesRefreshing() && !ctx.closing && ctx.FME_CAUSALI
        && ctx.FME_CAUSALI->Status() == DataFrame::StatusRecord && ctx.causalCode() == m_rulesCausal;
}

void ParameterEnabling::AttivaEditControlli()
{
    if (ctx.attivaEditBusy || m_rulesRunning)
        return;
    FormUi &ui = ctx.ui;
    m_rulesRunning = true;
    m_rulesCausal = ctx.causalCode();
    // What the rules set is shown, and reaches the rows only with the user's next save: a
    // causal only looked at stays as it is stored.
    QList<std::pair<DataFrame *, bool>> holding;
    for (DataFrame *frame : ctx.children()) {
        holding.append({frame, frame->isHoldingEdits()});
        frame->setHoldingEdits(true);
    }
    ctx.trapped(QStringLiteral("AttivaEditControlli"), {
        [&] {
            // A code typed but not (or no longer) shown has no rows to edit.
            if (!ctx.nz(ui.TXT_CAUSALE->Text(), QString()).toString().trimmed().isEmpty()
                && (!ctx.FME_CAUSALI || ctx.FME_CAUSALI->Status() == DataFrame::StatusRecord))
                return true;
            ui.TAB_CONFIG->disableTabs(5);
            ui.TAB_CONFIG->setEnabled(false);
            return false;
        },
        [&] {
            ui.TAB_CONFIG->setEnabled(true);
            for (int i = 0; i < 4; ++i)
                ui.TAB_CONFIG->setTabEnabledAt(i, true);
            if (ctx.global && ctx.global->securityUsersTab())
                ui.TAB_CONFIG->setTabEnabledAt(4, true);
            ui.TXT_DESCRIZIONE->setEnabled(true);
        },
        [&] {
            m_detailsAtStart = detailsShown();
            lists.ImpostaCombo(true);
            // No repaint is suspended: the window paints only when the rules are done, the
            // changed controls alone, whereas suspending and resuming it walks every widget.
            ctx.attivaEditBusy = true;
        },
        [&] {
            // A rule that changes an input of the detail lists (the type, the currency box, the
            // withholding check) has them built again for what the screen now shows.
            for (int round = 0; round < 4; ++round) {
                const QString listInputs = dependentListInputs();
                WidgetSurface surface(ctx);
                EnablingRules::applyUntilStable(surface, {ctx.causalCode(), ctx.userName()},
                                                [this](int id) { return ctx.t(id); });
                applyDetailRules();
                lists.selectOfferedValues();
                if (dependentListInputs() == listInputs)
                    break;
                lists.ImpostaCombo(true);
            }
        },
        [&] {
            ctx.attivaEditBusy = false;
            ctx.pagesBehindChanged();
        },
    });
    // The user may go on after an error: the guard must not stay stuck.
    ctx.attivaEditBusy = false;
    for (const auto &[frame, held] : holding)
        frame->setHoldingEdits(held);
    m_rulesRunning = false;
    showHeldCorrections();
}

QString ParameterEnabling::detailsShown() const
{
    return ctx.ui.CBO_DETTREG->Text() + QLatin1Char('|') + ctx.ui.CBO_DETTRIGACONT->Text();
}

QString ParameterEnabling::dependentListInputs() const
{
    const FormUi &ui = ctx.ui;
    return ui.CBO_TIPOOPERAZIONE->Text() + QLatin1Char('|') + ui.CHK_GESTVALUTE->Text() + QLatin1Char('|')
        + ui.CHK_FILTER[ISelectionChecks::WithholdingCheck]->Text();
}

// The fields whose stored values the rules of the type do not allow, shown corrected: the
// status bar names them until the causal is saved or shown again.
void ParameterEnabling::showHeldCorrections()
{
    QStringList names;
    auto name = [&](const QWidget *control) {
        const auto *field = qobject_cast<const FieldControl *>(control);
        const QString text = !field ? control->objectName() : field->caption().isEmpty() ? field->tag() : field->caption();
        if (!names.contains(text))
            names.append(text);
    };
    for (DataFrame *frame : ctx.children()) {
        for (QWidget *control : frame->heldControls())
            name(control);
    }
    // And what the save of the type sets whatever the rows hold.
    const OperationType type = ctx.operationType();
    for (const SaveRules::Forced &f : SaveRules::forcedValues(type)) {
        const QString column = QLatin1String(f.column);
        DataFrame *frame = column.startsWith(QLatin1String("CGP6")) ? ctx.FME_PARAMETRIDITTA.get() : ctx.FME_PARAMPERSREG.get();
        const ado::RecordsetPtr rs = frame ? frame->recordset() : ado::RecordsetPtr();
        if (!rs || rs->State() != ado::ObjectState::Open || rs->isBOF() || rs->isEOF())
            continue;
        if (ctx.nz(rs->value(column), QString()).toString() == ctx.nz(f.value, QString()).toString())
            continue;
        for (QWidget *control : frame->boundControls()) {
            if (frame->boundColumn(control) == column)
                name(control);
        }
    }
    CheckField *withholding = ctx.ui.CHK_FILTER[ISelectionChecks::WithholdingCheck];
    if (SaveRules::clearsWithholding(type) && withholding->Text() == QLatin1String("1"))
        name(withholding);
    m_heldCorrections = names.isEmpty() ? QString() : ctx.t(MessageId::HeldCorrections, {names.join(QStringLiteral(", "))});
    QObject *bar = ctx.Gcls_Interface ? ctx.Gcls_Interface->statusBar() : nullptr;
    if (!bar)
        return;
    if (!m_heldCorrections.isEmpty())
        QMetaObject::invokeMethod(bar, "showMessage", Qt::DirectConnection, Q_ARG(QString, m_heldCorrections), Q_ARG(int, 0));
    else if (m_statusShown)
        QMetaObject::invokeMethod(bar, "clearMessage", Qt::DirectConnection);
    m_statusShown = !m_heldCorrections.isEmpty();
}

// The handlers of the detail combos decide, from the detail on screen, what the type left
// editable may still be changed; they only narrow it, since the type's rules come first.
void ParameterEnabling::applyDetailRules()
{
    FormUi &ui = ctx.ui;
    struct Narrowed
    {
        QWidget *control;
        bool byRules;   // as the rules of the type left it
    };
    const QList<Narrowed> narrowed = {{ui.CBO_DETTRIGACONT, ui.CBO_DETTRIGACONT->isEnabled()},
                                      {ui.CBO_DESCRCONTRAUTO, true},
                                      {ui.CBO_GESTIONERITENUTE, ui.CBO_GESTIONERITENUTE->isEnabled()},
                                      {ui.CHK_INDGESTABBUONO, ui.CHK_INDGESTABBUONO->isEnabled()}};
    const bool branchNotice = !ui.LBL_MSGSEDE->isHidden();
    // Their corrections answer a change of the details (here by the lists or the rules in this
    // pass); a pass that leaves the details as they were only sets the enabling.
    m_enablingOnly = detailsShown() == m_detailsAtStart;
    CBO_DETTREG_ChangeRow();
    CBO_DETTRIGACONT_ChangeRow();
    m_enablingOnly = false;
    CBO_MODIMPSCAD_ChangeRow(ui.CBO_MODIMPSCAD->ListIndex());
    for (const Narrowed &n : narrowed)
        n.control->setEnabled(n.byRules && n.control->isEnabled());
    if (!branchNotice)
        ui.LBL_MSGSEDE->setVisible(false);
}

// A correction belongs to the change of its input: when the rules only show a causal, it is
// not made at all; while the frame holds the form's values, it is shown and waits for the save.
void ParameterEnabling::forceColumn(const QString &column, const QVariant &value)
{
    if (m_enablingOnly)
        return;
    DataFrame *frame = ctx.FME_PARAMPERSREG.get();
    QWidget *bound = nullptr;
    for (QWidget *control : frame->boundControls()) {
        if (frame->boundColumn(control) == column)
            bound = control;
    }
    if (frame->isHoldingEdits() && bound) {
        if (auto *combo = qobject_cast<ComboField *>(bound))
            combo->setText(value.toString());
        return;
    }
    const ado::RecordsetPtr rs = frame->recordset();
    if (rs->value(column).toString() != value.toString()) {
        rs->setValue(column, value);
        frame->setRecordChanged(true);
        if (bound)
            frame->Rebind(bound);
    }
}

void ParameterEnabling::CBO_DETTREG_ChangeRow()
{
    if (!ParameterScreen::registrationRowPresent(ctx))
        return;
    FormUi &ui = ctx.ui;
    const bool guard = ctx.buildingChecks;
    ctx.buildingChecks = true;
    ctx.trapped(QStringLiteral("CBO_DETTREG_ChangeRow"), {[&] {
        const bool withholding = ParameterScreen::ticked(ctx.nz(ui.CHK_FILTER[ISelectionChecks::WithholdingCheck]->Text(), "0").toString());
        const QString detail = ui.CBO_DETTREG->Text();
        const ado::RecordsetPtr rs = ctx.FME_PARAMPERSREG->recordset();
        if (detail == QLatin1String("0")) {
            forceColumn(QStringLiteral("CGP7_INDDESCRCP"), 0);
            ui.CBO_DETTRIGACONT->setEnabled(true);
            ui.CBO_DESCRCONTRAUTO->setEnabled(false);
            ui.CBO_GESTIONERITENUTE->setEnabled(withholding);
        } else if (detail == QLatin1String("1")) {
            if (ctx.nz(rs->value(QStringLiteral("CGP7_INDDETTRIGACONT")), 0).toInt() == 1) {
                forceColumn(QStringLiteral("CGP7_INDDESCRCP"), 0);
                ui.CBO_DESCRCONTRAUTO->setEnabled(false);
            } else {
                ui.CBO_DESCRCONTRAUTO->setEnabled(true);
            }
            if (withholding) {
                forceColumn(QStringLiteral("CGP7_INDDETTRIGACONT"), 0);
                ui.CBO_DETTRIGACONT->setEnabled(false);
                forceColumn(QStringLiteral("CGP7_INDPAGRITENUTE"), 0);
                ui.CBO_GESTIONERITENUTE->setEnabled(true);
            } else {
                ui.CBO_DETTRIGACONT->setEnabled(true);
                ui.CBO_GESTIONERITENUTE->setEnabled(false);
            }
        } else if (detail == QLatin1String("2")) {
            forceColumn(QStringLiteral("CGP7_INDDETTRIGACONT"), 1);
            ui.CBO_DETTRIGACONT->setEnabled(false);
            ui.CBO_DESCRCONTRAUTO->setEnabled(true);
            ui.CBO_GESTIONERITENUTE->setEnabled(false);
        }
        const bool branches = ctx.global && ctx.global->ledgerSetting(QLatin1String(SettingBranches)).toInt() == 1
            && ctx.global->ledgerSetting(QLatin1String(SettingSingleBranch)).toInt() == 0;
        ui.LBL_MSGSEDE->setVisible(branches && detail != QLatin1String("2"));
    }});
    ctx.buildingChecks = guard;
}

void ParameterEnabling::CBO_DETTRIGACONT_ChangeRow()
{
    if (!ParameterScreen::registrationRowPresent(ctx))
        return;
    FormUi &ui = ctx.ui;
    const bool guard = ctx.buildingChecks;
    ctx.buildingChecks = true;
    ctx.trapped(QStringLiteral("CBO_DETTRIGACONT_ChangeRow"), {[&] {
        const QString detail = ui.CBO_DETTREG->Text();
        if (detail == QLatin1String("2") || (detail == QLatin1String("1") && ui.CBO_DETTRIGACONT->Text() == QLatin1String("0"))) {
            ui.CBO_DESCRCONTRAUTO->setEnabled(true);
        } else {
            forceColumn(QStringLiteral("CGP7_INDDESCRCP"), 0);
            ui.CBO_DESCRCONTRAUTO->setEnabled(false);
        }
    }});
    ctx.buildingChecks = guard;
}

void ParameterEnabling::CBO_MODIMPSCAD_ChangeRow(int position)
{
    const ado::RecordsetPtr rs = ctx.FME_PARAMETRI ? ctx.FME_PARAMETRI->recordset() : ado::RecordsetPtr();
    if (!rs || rs->State() != ado::ObjectState::Open || rs->RecordCount() == 0)
        return;
    FormUi &ui = ctx.ui;
    ctx.trapped(QStringLiteral("CBO_MODIMPSCAD_ChangeRow"), {[&] {
        if (position != 0) {
            const OperationType type = ctx.operationType();
            ui.CHK_INDGESTABBUONO->setEnabled(type == OperationType::Collections || type == OperationType::Payments);
        } else {
            ui.CHK_INDGESTABBUONO->setEnabled(true);
            if (ui.CHK_INDGESTABBUONO->Text() != QLatin1String("0"))
                ui.CHK_INDGESTABBUONO->setText(QStringLiteral("0"));
            ui.CHK_INDGESTABBUONO->setEnabled(false);
        }
    }});
}

void ParameterEnabling::CHK_GESTVALUTE_Click()
{
    FormUi &ui = ctx.ui;
    ctx.trapped(QStringLiteral("CHK_GESTVALUTE_Click"), {[&] {
        if (ui.CHK_GESTVALUTE->Text() != QLatin1String("1"))
            return;
        ui.CBO_MODIMPMAX->setText(QStringLiteral("0"));
        ui.CBO_DETTREG->setText(QStringLiteral("2"));
        ui.CHK_GESTIONEACCONTI->setEnabled(true);
        ui.CHK_GESTIONEACCONTI->setText(QStringLiteral("0"));
        ui.CHK_GESTIONEACCONTI->setEnabled(false);
    }});
}
