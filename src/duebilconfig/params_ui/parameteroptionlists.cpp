#include "params_ui/parameteroptionlists.h"

#include "ado/recordset.h"
#include "dataframe/dataframe.h"
#include "params/parametercontrols.h"
#include "params_ui/parameterscreen.h"
#include "window/formcontext.h"

#include <optional>

ParameterOptionLists::ParameterOptionLists(FormContext &ctx) : ctx(ctx) {}

void ParameterOptionLists::fill(ComboField *combo, const OptionLists::List &list, bool selectInitial)
{
    // The list is rebuilt without telling the frame: only the value finally selected is the
    // row's, and it is handed over once the list stands.
    {
        const QSignalBlocker blocker(combo);
        combo->setProperty("preparing", true);
        combo->Clear();
        for (const OptionLists::Entry &entry : list.entries)
            combo->AddItem(ctx.t(entry.textId), entry.value);
        if (selectInitial && list.initialPosition >= 0)
            combo->setListIndex(list.initialPosition);
    }
}

void ParameterOptionLists::ImpostaCombo(bool detailsOnly)
{
    FormUi &ui = ctx.ui;
    const QList<ComboField *> dependent = {ui.CBO_DETTREG, ui.CBO_DETTRIGACONT, ui.CBO_DESCRCONTRAUTO};

    ctx.trapped(QStringLiteral("ImpostaCombo"), {
        [&] { ctx.Gbol_ImpostaCombo = true; },
        [&] {
            if (!detailsOnly)
                fillFixedLists();
        },
        [&] { fillDependentLists(dependent); },
        [&] { ctx.Gbol_ImpostaCombo = false; },
    });
    ctx.Gbol_ImpostaCombo = false;
    // The values now on screen reach the registration row where they differ from it; a list an
    // error left without a selection takes its first entry, never an empty one.
    for (ComboField *combo : dependent) {
        if (combo->ListIndex() < 0 && combo->ListCount() > 0) {
            const QSignalBlocker blocker(combo);
            combo->setListIndex(0);
        }
        emit combo->TextChanged(combo->Text());
    }
}

void ParameterOptionLists::fillFixedLists()
{
    const bool disabled = ctx.form->property("GestioneStatiDisabilitata").toBool();
    for (const OptionLists::List &list : OptionLists::fixedLists(disabled)) {
        if (auto *combo = ctx.form->findChild<ComboField *>(list.combo))
            fill(combo, list, true);
    }
    // A stored value a list does not offer here (a type this installation hides, a recovery
    // mode of another type) is shown under its own caption.
    for (const OptionLists::List &list : OptionLists::fixedLists(false)) {
        if (auto *combo = ctx.form->findChild<ComboField *>(list.combo)) {
            QHash<QString, QString> captions;
            for (const OptionLists::Entry &entry : list.entries)
                captions.insert(QString::number(entry.value), ctx.t(entry.textId));
            combo->setOutsideCaptions(captions);
        }
    }
}

// The lists of the details follow the operation type and the boxes; each shows the detail of
// the registration row where it still offers it.
void ParameterOptionLists::fillDependentLists(const QList<ComboField *> &dependent)
{
    FormUi &ui = ctx.ui;
    const int t = ctx.nz(ui.CBO_TIPOOPERAZIONE->Text().isEmpty() ? QVariant() : ui.CBO_TIPOOPERAZIONE->Text(), 1).toInt();
    const bool currency = ParameterScreen::ticked(ctx.nz(ui.CHK_GESTVALUTE->Text(), "0").toString());
    const bool withholding = ParameterScreen::ticked(ctx.nz(ui.CHK_FILTER[ISelectionChecks::WithholdingCheck]->Text(), "0").toString());
    const QList<OptionLists::List> lists = OptionLists::dependentLists(operationTypeOf(t), currency, withholding);

    std::optional<OptionLists::StoredDetails> stored;
    if (ParameterScreen::registrationRowPresent(ctx)) {
        // A detail the rules corrected on screen, not yet saved, is the one the lists go on from.
        const ado::RecordsetPtr rs = ctx.FME_PARAMPERSREG->recordset();
        const QList<QWidget *> held = ctx.FME_PARAMPERSREG->heldControls();
        auto value = [&](ComboField *combo, const char *column) {
            if (held.contains(combo) && !combo->Text().isEmpty())
                return combo->Text().toInt();
            return ctx.nz(rs->value(QLatin1String(column)), 0).toInt();
        };
        stored = OptionLists::StoredDetails{value(ui.CBO_DETTREG, "CGP7_INDDETTREGIST"),
                                            value(ui.CBO_DETTRIGACONT, "CGP7_INDDETTRIGACONT"),
                                            value(ui.CBO_DESCRCONTRAUTO, "CGP7_INDDESCRCP")};
    }
    for (int i = 0; i < dependent.size() && i < lists.size(); ++i)
        fill(dependent[i], lists[i], true);
    const QList<int> positions = OptionLists::dependentPositions(lists, operationTypeOf(t), currency, withholding, stored);
    for (int i = 0; i < dependent.size() && i < positions.size(); ++i) {
        const QSignalBlocker blocker(dependent[i]);
        dependent[i]->setListIndex(positions[i]);
    }
}

void ParameterOptionLists::refreshRecoveryModes(bool keepStored)
{
    FormUi &ui = ctx.ui;
    const QString type = ui.CBO_TIPOOPERAZIONE->Text();
    if (QVariant(type) == ctx.Gvar_TipoOperazioneFocus)
        return;
    ctx.Gvar_TipoOperazioneFocus = type;
    DataFrame *frame = ctx.FME_PARAMETRI.get();
    if (frame)
        frame->Unbind(ui.CBO_MODRECUPERO);
    fill(ui.CBO_MODRECUPERO, OptionLists::recoveryModes(operationTypeOf(type)), false);
    ui.CBO_MODRECUPERO->setListIndex(0);
    ui.CBO_MODRECUPERO->setEnabled(true);
    if (frame) {
        frame->Rebind(ui.CBO_MODRECUPERO);
        frame->Refresh(QString());
        // A changed operation type gives the modes another meaning: the list starts again from
        // its first entry. A causal being shown (or restored by an undo) keeps its stored mode,
        // under an entry of its own when the list does not offer it.
        if (keepStored)
            return;
        // No entry is kept for the mode of the type left behind.
        ui.CBO_MODRECUPERO->showStored(ui.CBO_MODRECUPERO->itemValue(0));
        frame->setBatchPending(true);
        ui.INTERNAV->setChanged(true);
    }
}

void ParameterOptionLists::CBO_TIPOOPERAZIONE_GotFocus()
{
    ctx.Gvar_TipoOperazioneFocus = ctx.ui.CBO_TIPOOPERAZIONE->Text();
}

void ParameterOptionLists::CBO_TIPOOPERAZIONE_LostFocus()
{
    if (QVariant(ctx.ui.CBO_TIPOOPERAZIONE->Text()) != ctx.Gvar_TipoOperazioneFocus)
        ctx.trapped(QStringLiteral("CBO_TIPOOPERAZIONE_LostFocus"), {[&] { refreshRecoveryModes(false); }});
}

void ParameterOptionLists::CBO_TIPOOPERAZIONE_BeforeChange(const QString &previousText)
{
    ErrorTrap::runIgnoringErrors({[&] { ctx.Gint_TipoOperazionePrec = qint16(previousText.toInt()); }});
}

// A combo whose row holds no value shows its first entry, which the next save stores; a stored
// value the list does not offer is shown as it is (by the frame) and kept.
void ParameterOptionLists::selectOfferedValues()
{
    for (const QList<ParameterControls::Control> *list :
         {&ParameterControls::generalParameters(), &ParameterControls::companyParameters(), &ParameterControls::postingParameters()}) {
        for (const ParameterControls::Control &c : *list) {
            auto *combo = qobject_cast<ComboField *>(ctx.control(QLatin1String(c.name)));
            if (combo && combo->ListCount() > 0 && combo->ListIndex() < 0)
                combo->setListIndex(0);
        }
    }
}
