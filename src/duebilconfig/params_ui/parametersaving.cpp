#include "params_ui/parametersaving.h"

#include "ado/recordset.h"
#include "dataframe/dataframe.h"
#include "framework/clsservizi.h"
#include "params/parametercontrols.h"
#include "params/saverules.h"
#include "params/storedparameterchecks.h"
#include "params_ui/parameterscreen.h"
#include "params_ui/widgetsurface.h"
#include "store/messageids.h"
#include "window/formcontext.h"

ParameterSaving::ParameterSaving(FormContext &ctx) : ctx(ctx) {}

ParameterSaving::~ParameterSaving() = default;

void ParameterSaving::connectFrames()
{
    connect(ctx.FME_PARAMETRI.get(), &DataFrame::UpdateBatchAll, this, &ParameterSaving::FME_PARAMETRI_UpdateBatchAll,
            Qt::DirectConnection);
    connect(ctx.FME_PARAMETRIDITTA.get(), &DataFrame::UpdateBatchAll, this,
            &ParameterSaving::FME_PARAMETRIDITTA_UpdateBatchAll, Qt::DirectConnection);
    connect(ctx.FME_PARAMPERSREG.get(), &DataFrame::UpdateBatchAll, this,
            &ParameterSaving::FME_PARAMPERSREG_UpdateBatchAll, Qt::DirectConnection);
    connect(ctx.FME_PARAMPERSREG.get(), &DataFrame::BeforeUpdate, this,
            &ParameterSaving::FME_PARAMPERSREG_BeforeUpdate, Qt::DirectConnection);
}

void ParameterSaving::batchAll(const QString &procedure, DataFrame *frame)
{
    ctx.trapped(procedure, {[&] { return FormContext::endBatch(frame, true); }});
}

void ParameterSaving::FME_PARAMETRI_UpdateBatchAll()
{
    batchAll(QStringLiteral("FME_PARAMETRI_UpdateBatchAll"), ctx.FME_PARAMETRI.get());
}

void ParameterSaving::FME_PARAMETRIDITTA_UpdateBatchAll()
{
    batchAll(QStringLiteral("FME_PARAMETRIDITTA_UpdateBatchAll"), ctx.FME_PARAMETRIDITTA.get());
}

void ParameterSaving::FME_PARAMPERSREG_UpdateBatchAll()
{
    DataFrame *frame = ctx.FME_PARAMPERSREG.get();
    // The clean-up of the registration row runs before the row is written.
    if (frame->BatchPending()) {
        bool cancel = false;
        emit frame->BeforeUpdate(&cancel);
    }
    batchAll(QStringLiteral("FME_PARAMPERSREG_UpdateBatchAll"), frame);
}

void ParameterSaving::FME_PARAMPERSREG_BeforeUpdate(bool *)
{
    ctx.trapped(QStringLiteral("FME_PARAMPERSREG_BeforeUpdate"), {[&] {
        if (!ParameterScreen::registrationRowPresent(ctx))
            return;
        const ado::RecordsetPtr rs = ctx.FME_PARAMPERSREG->recordset();
        rs->setValue(QStringLiteral("CGP7_GRUPPO_CG10"), ParameterScreen::accountGroup(ctx));
        for (const char *column :
             {"CGP7_CAUSALECOGE_CG33", "CGP7_CAUSALEABB_CG33", "CGP7_CONTODARE_CG24", "CGP7_CONTOAVERE_CG24",
              "CGP7_CONTOABBATTIVI_CG24", "CGP7_CONTOABBPASSIVI_CG24", "CGP7_TESTORIGA", "CGP7_INDPAGRITENUTE",
              "CGP7_CONDPAGACCONTI_CG62", "CGP7_SEZIONALEACCONTI_CG68"}) {
            const QString name = QLatin1String(column);
            if (ctx.nz(rs->value(name), QString()).toString().isEmpty())
                rs->setValue(name, QVariant());
        }
    }});
}

// Every save of the causal, however it was asked for, passes here: the codes on screen are
// checked again, as a stored code may have become invalid since it was typed, or the type
// changed under it. The first refusal is shown on its field; a blocking one stops the save.
bool ParameterSaving::ControllaSalvataggio(bool *cancel)
{
    // A number field holding only a sign or a separator has no number to store: the user is
    // told, on that field, and nothing is written.
    for (const ParameterControls::Control &c : ParameterControls::companyParameters()) {
        auto *field = qobject_cast<NumberField *>(ctx.control(QLatin1String(c.name)));
        if (!field || !field->isEnabled() || field->Text().trimmed().isEmpty()
            || ParameterControls::columnValue(c.kind, field->Text()).isValid())
            continue;
        ctx.msgBox(MessageId::NotANumber, {field->caption()});
        ctx.ui.TAB_CONFIG->setTab(c.tab);
        field->setFocus();
        *cancel = true;
        return false;
    }
    WidgetSurface surface(ctx);
    const LedgerChecks ledger(ctx.Gcnn_Connessione);
    const QList<SaveRules::Refusal> refusals =
        SaveRules::check(surface, {ledger, QString::number(ParameterScreen::accountGroup(ctx)), ctx.companyText()});
    if (refusals.isEmpty()) {
        warnOtherCompanies();
        return true;
    }
    const SaveRules::Refusal &r = refusals.first();
    auto *field = qobject_cast<FieldControl *>(ctx.control(r.control));
    const QString name = field ? ctx.shownName(field) : r.control;
    if (r.textId == MessageId::Mandatory) {
        ctx.msgBox(r.textId, {name});
    } else if (r.blocking && r.control != QLatin1String("CHK_GESTVALUTE")) {
        const QString why = r.textId == 0 ? ctx.t(MessageId::CodeMissing) : ctx.t(r.textId, QVariantList(r.params.begin(), r.params.end()));
        ctx.msgBox(MessageId::InvalidCode, {name, surface.value(r.control).trimmed(), why});
    } else {
        ctx.msgBox(r.textId, r.params, r.blocking ? ClsServizi::StyleCode::Warning : ClsServizi::StyleCode::Information);
    }
    if (r.blocking && field)
        ctx.focusField(field);
    *cancel = r.blocking;
    return false;
}

// The type and the other settings of the causal itself hold for every company, but the window
// shows and saves one company: rows of another company that these settings leave short of what
// its save requires are named, to be completed there, where its save refuses them until then
// (its fields may only open under the new type, so refusing this save would leave no way on).
void ParameterSaving::warnOtherCompanies()
{
    QHash<QString, QString> causalValues;
    WidgetSurface surface(ctx);
    for (const ParameterControls::Control &c : ParameterControls::generalParameters())
        causalValues.insert(QLatin1String(c.name), surface.value(QLatin1String(c.name)));
    causalValues.insert(QLatin1String(ParameterControls::WithholdingCheck),
                        ctx.ui.CHK_FILTER[ISelectionChecks::WithholdingCheck]->Text());
    if (causalSettingsAsStored(causalValues))
        return;
    const QList<StoredParameterChecks::Finding> findings =
        StoredParameterChecks(ctx.Gcnn_Connessione).check(ctx.causalCode(), causalValues, ctx.companyText());
    if (findings.isEmpty())
        return;
    const StoredParameterChecks::Finding &f = findings.first();
    QString name = f.column;
    for (const QList<ParameterControls::Control> *list :
         {&ParameterControls::generalParameters(), &ParameterControls::companyParameters(), &ParameterControls::postingParameters()}) {
        for (const ParameterControls::Control &c : *list) {
            if (f.column == QLatin1String(c.column))
                name = ctx.shownName(ctx.control(QLatin1String(c.name)));
        }
    }
    const QString why = f.textId == 0 ? ctx.t(MessageId::CodeMissing)
        : f.textId == MessageId::Mandatory ? ctx.t(f.textId, {name})
                                           : ctx.t(f.textId, QVariantList(f.params.begin(), f.params.end()));
    ctx.msgBox(MessageId::OtherCompanyIncomplete,
               {f.company, name, f.value.isEmpty() ? ctx.t(MessageId::NoValue) : f.value, why},
               ClsServizi::StyleCode::Information);
}

// The other companies' rows are judged with the causal's own settings and its withholding
// check, and with nothing else this save writes: when these are as they were read, the save
// leaves them as stored (a value equal to the one read is not written), so the other companies
// stand as before it and there is nothing new to name.
bool ParameterSaving::causalSettingsAsStored(const QHash<QString, QString> &causalValues) const
{
    const ado::RecordsetPtr param = ctx.FME_PARAMETRI ? ctx.FME_PARAMETRI->recordset() : ado::RecordsetPtr();
    const ado::RecordsetPtr checks = ctx.FME_FILTRI ? ctx.FME_FILTRI->recordset() : ado::RecordsetPtr();
    if (!param || param->State() != ado::ObjectState::Open || param->isBOF() || param->isEOF() || !checks
        || checks->State() != ado::ObjectState::Open)
        return false;
    // A row not yet stored has nothing read to compare with.
    if (ctx.nz(param->originalValue(QStringLiteral("CGP5_CAUSALE_CGP0")), QString()).toString() != ctx.causalCode())
        return false;
    for (const ParameterControls::Control &c : ParameterControls::generalParameters()) {
        const QString stored = ctx.nz(param->originalValue(QLatin1String(c.column)), QString()).toString().trimmed();
        if (causalValues.value(QLatin1String(c.name)).trimmed() != stored)
            return false;
    }
    QString withholding;
    for (const QVariantList &row : checks->originalRows({QStringLiteral("CGP4_IDCHECK_CGP2"), QStringLiteral("CGP4_CHECKED")})) {
        if (ctx.nz(row.at(0), 0).toInt() == ISelectionChecks::WithholdingCheck)
            withholding = ctx.nz(row.at(1), 0).toString();
    }
    // The type may clear a ticked check as it is saved: that is a change too.
    if (withholding == QLatin1String("1") && SaveRules::clearsWithholding(ctx.operationType()))
        return false;
    return !withholding.isEmpty() && causalValues.value(QLatin1String(ParameterControls::WithholdingCheck)) == withholding;
}
