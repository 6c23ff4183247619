#include "causalparameters.h"

#include "cinterface.h"
#include "clsglobal.h"
#include "clsservizi.h"
#include "dataframe.h"
#include "duebilstatements.h"
#include "enablingrules.h"
#include "formcontext.h"
#include "messageids.h"
#include "parametercontrols.h"
#include "recordset.h"
#include "saverules.h"
#include "storedparameterchecks.h"
#include "testiparametrizzabili.h"
#include "widgetsurface.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QEvent>

#include <optional>

namespace {

// The two ledger settings of the company that decide whether the posting of every branch
// office is shown as a separate registration.
const char *const SettingBranches = "GestioneSedi";
const char *const SettingSingleBranch = "RegistrazioneSedeUnica";

bool on(const QString &boxValue)
{
    return boxValue == QLatin1String("1");
}

// A decode target: the control that receives a column of the decode's row.
QVariantMap columnTarget(const QString &control, const QString &column)
{
    return QVariantMap{{QStringLiteral("control"), control}, {QStringLiteral("column"), column}};
}

} // namespace

CausalParameters::CausalParameters(FormContext &ctx) : ctx(ctx) {}

CausalParameters::~CausalParameters() = default;

void CausalParameters::connectEvents()
{
    connectFrames();
    connectOptionLists();
    connectValidations();
    connectParametricText();
}

void CausalParameters::connectFrames()
{
    connect(ctx.FME_PARAMETRI.get(), &DataFrame::ChangeStatus, this, &CausalParameters::FME_PARAMETRI_ChangeStatus,
            Qt::DirectConnection);
    connect(ctx.FME_PARAMETRI.get(), &DataFrame::UpdateBatchAll, this, &CausalParameters::FME_PARAMETRI_UpdateBatchAll,
            Qt::DirectConnection);
    connect(ctx.FME_PARAMETRIDITTA.get(), &DataFrame::UpdateBatchAll, this,
            &CausalParameters::FME_PARAMETRIDITTA_UpdateBatchAll, Qt::DirectConnection);
    connect(ctx.FME_PARAMPERSREG.get(), &DataFrame::UpdateBatchAll, this,
            &CausalParameters::FME_PARAMPERSREG_UpdateBatchAll, Qt::DirectConnection);
    connect(ctx.FME_PARAMPERSREG.get(), &DataFrame::BeforeUpdate, this,
            &CausalParameters::FME_PARAMPERSREG_BeforeUpdate, Qt::DirectConnection);
}

void CausalParameters::connectOptionLists()
{
    FormUi &ui = ctx.ui;
    ui.CBO_TIPOOPERAZIONE->comboBox()->installEventFilter(this);
    connect(ui.CBO_TIPOOPERAZIONE, &ComboField::ChangeRow, this, [this](short *previous, short *) {
        if (!ctx.Gbol_ImpostaCombo)
            CBO_TIPOOPERAZIONE_BeforeChange(ctx.ui.CBO_TIPOOPERAZIONE->itemValue(*previous));
    });
    connect(ui.CBO_TIPOOPERAZIONE, &ComboField::AfterChange, this, &CausalParameters::CBO_TIPOOPERAZIONE_AfterChange);
    // Every change of the chosen entry, by the user or by code; a row being shown is not a change.
    connect(ui.CBO_DETTREG, &ComboField::ChangeRow, this, [this](short *, short *) {
        if (followsScreen())
            CBO_DETTREG_ChangeRow();
    });
    connect(ui.CBO_DETTRIGACONT, &ComboField::ChangeRow, this, [this](short *, short *) {
        if (followsScreen())
            CBO_DETTRIGACONT_ChangeRow();
    });
    connect(ui.CBO_MODIMPSCAD, &ComboField::ChangeRow, this, [this](short *, short *position) {
        if (followsScreen())
            CBO_MODIMPSCAD_ChangeRow(*position);
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
        ErrorTrap::runIgnoringErrors({[&] { refreshRecoveryModes(true); }});
        AttivaEditControlli();
    });
    connect(ui.CHK_GESTVALUTE, &CheckField::Click, this, &CausalParameters::CHK_GESTVALUTE_Click);
}

void CausalParameters::connectValidations()
{
    FormUi &ui = ctx.ui;
    connect(ui.CHK_MODIFICACONTI, &CheckField::Click, this, &CausalParameters::CHK_MODIFICACONTI_Click);
    connect(ui.TXT_CAUSALECOGE, &TextField::Validate, this, &CausalParameters::TXT_CAUSALECOGE_Validate);
    connect(ui.TXT_CAUABBUONI, &TextField::Validate, this, &CausalParameters::TXT_CAUABBUONI_Validate);
    for (TextField *field : {static_cast<TextField *>(ui.TXT_CAUSALECOMPCLI), static_cast<TextField *>(ui.TXT_CAUSALECOMPFOR)})
        connect(field, &TextField::Validate, this, [this, field](bool *cancel) { TXT_CAUSALECOMP_Validate(field, cancel); });
    connect(ui.TXT_CODPAGACCONTI, &TextField::Validate, this, &CausalParameters::TXT_CODPAGACCONTI_Validate);
    connect(ui.TXT_SEZIONALEACCONTI, &TextField::Validate, this, &CausalParameters::TXT_SEZIONALEACCONTI_Validate);
    for (AccountField *field : {ui.TXT_CONTODARE, ui.TXT_CONTOAVERE, ui.TXT_CONTOABBUONIATTIVI, ui.TXT_CONTOABBUONIPASSIVI})
        connect(field, &TextField::Validate, this, [this, field](bool *cancel) { TXT_CONTO_Validate(field, cancel); });
}

void CausalParameters::connectParametricText()
{
    FormUi &ui = ctx.ui;
    connect(ui.BUT_LEGENDA, &ButtonControl::ButtonClick, this, &CausalParameters::BUT_LEGENDA_ButtonClick);
    connect(ui.TXT_TESTOPARAMETRICO, &RichTextField::GotFocus, this, &CausalParameters::TXT_TESTOPARAMETRICO_GotFocus);
    connect(ui.TXT_TESTOPARAMETRICO, &RichTextField::LostFocus, this, &CausalParameters::TXT_TESTOPARAMETRICO_LostFocus);
    connectLegend();
}

bool CausalParameters::framesRefreshing() const
{
    for (DataFrame *frame : ctx.children()) {
        if (frame->isRefreshingControls())
            return true;
    }
    return ctx.FME_CAUSALI && ctx.FME_CAUSALI->isRefreshingControls();
}

bool CausalParameters::followsScreen() const
{
    // While a causal's rows are being shown, the boxes and lists still belong to the one before.
    return !framesRefreshing() && !ctx.closing && ctx.FME_CAUSALI
        && ctx.FME_CAUSALI->Status() == DataFrame::StatusRecord && ctx.causalCode() == m_rulesCausal;
}

void CausalParameters::ruleInputChanged(QWidget *input)
{
    if (m_rulesRunning || ctx.anyBusyFlag() || ctx.attivaEditBusy || !followsScreen())
        return;
    if (input == ctx.ui.CBO_TIPOOPERAZIONE)
        ctx.trapped(QStringLiteral("CBO_TIPOOPERAZIONE_AfterChange"), {[&] { AggiornaModalitaRecupero(); }});
    AttivaEditControlli();
}

bool CausalParameters::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == static_cast<QObject *>(ctx.ui.CBO_TIPOOPERAZIONE->comboBox())) {
        if (event->type() == QEvent::FocusIn)
            CBO_TIPOOPERAZIONE_GotFocus();
        else if (event->type() == QEvent::FocusOut)
            CBO_TIPOOPERAZIONE_LostFocus();
    }
    return QObject::eventFilter(watched, event);
}

int CausalParameters::accountGroup() const
{
    return ctx.global ? ctx.global->companyAccountGroup() : 0;
}

// ---------------------------------------------------------------------------------------------
// Look-up and decode requests of the code fields

// How each code field's requests meet an error, as each field has always done.
enum class CausalParameters::ErrorPolicy {
    Ignored,            // decode and look-up skip a failing step without a word
    Reported,           // decode and look-up run under the error trap as <field>_StartDecode / _StartLookup
    DecodeIgnoredOnly,  // the decode is ignored on error; the look-up is not trapped and its error goes on
};

// The decode and look-up requests of one code field.
struct CausalParameters::CodeFieldRequests
{
    struct Decode
    {
        std::function<QString(const QString &text)> statement;  // from the text in the field
        const char *codeColumn;
        QWidget *readOut;               // the box named to receive the description
        const char *descriptionColumn;
    };
    struct LookUp
    {
        std::function<QString()> statement;
        int titleId;
        const char *idLookup;           // the table the chosen code comes from; null: not told
    };
    TextField *field;
    std::optional<Decode> decode;       // none: the field has no decode
    LookUp lookup;
    ErrorPolicy policy;
};

QList<CausalParameters::CodeFieldRequests> CausalParameters::codeFieldRequests()
{
    FormUi &ui = ctx.ui;
    using Decode = CodeFieldRequests::Decode;
    using LookUp = CodeFieldRequests::LookUp;
    const auto ledgerCausal = [this](TextField *field, QWidget *readOut) {
        return CodeFieldRequests{
            field,
            Decode{[](const QString &text) { return DueBilStatements::ledgerCausalDecode(text.trimmed()); },
                   "CG33_CODICE", readOut, "CG33_DESCR"},
            LookUp{[this] {
                       return LedgerChecks::ledgerCausalLookup(DueBilStatements::ledgerCausalList(),
                                                                   ctx.operationType());
                   },
                   FormText::TitleCausaliContabili, "CG33_TABCAU"},
            ErrorPolicy::Ignored};
    };
    // Extraction causals of this module: kind 1 collections from customers, 2 payments to suppliers.
    const auto extractionCausal = [&ui](TextField *field, int kind, int titleId) {
        return CodeFieldRequests{
            field,
            Decode{[kind](const QString &text) { return DueBilStatements::extractionCausalDecode(kind, text); },
                   "CGP0_CAUSALE", ui.TXT_CAUSALICOMPDESCR, "CGP0_DESCRIZIONE"},
            LookUp{[kind] { return DueBilStatements::extractionCausalList(kind); }, titleId, "CGP0_DUEBILCAUSALI"},
            ErrorPolicy::Reported};
    };
    // Accounts of the company's group; the field marks a postable account by the id the decode returns.
    const auto account = [this](AccountField *field, QWidget *readOut) {
        return CodeFieldRequests{
            field,
            Decode{[this](const QString &text) {
                       return DueBilStatements::accountDecode(QString::number(accountGroup()), text.trimmed());
                   },
                   "CG24_CODICE", readOut, "CG24_DESCR"},
            LookUp{[this] { return DueBilStatements::accountList(QString::number(accountGroup())); },
                   FormText::TitleConti, nullptr},
            ErrorPolicy::DecodeIgnoredOnly};
    };
    return {
        ledgerCausal(ui.TXT_CAUSALECOGE, ui.TXT_DESCCAUINCPAG),
        ledgerCausal(ui.TXT_CAUABBUONI, ui.TXT_DESCCAUABBUONI),
        extractionCausal(ui.TXT_CAUSALECOMPCLI, 1, FormText::TitleCausaliIncassi),
        extractionCausal(ui.TXT_CAUSALECOMPFOR, 2, FormText::TitleCausaliPagamenti),
        // Payment terms of the advances.
        {ui.TXT_CODPAGACCONTI,
         Decode{[](const QString &text) { return DueBilStatements::paymentTermsDecode(text); }, "CG62_CODICE",
                ui.TXT_DESCRPAGACCONTI, "CG62_DESCR"},
         LookUp{[] { return DueBilStatements::paymentTermsList(); }, FormText::TitleCondizioniPagamento, "CG62_CONDPAG"},
         ErrorPolicy::Reported},
        // Numbering sections of the company.
        {ui.TXT_SEZIONALEACCONTI, std::nullopt,
         LookUp{[this] { return DueBilStatements::numberingSectionList(ctx.companyText()); }, FormText::TitleSezionali,
                nullptr},
         ErrorPolicy::Ignored},
        account(ui.TXT_CONTODARE, ui.TXT_DESCCONTODARE),
        account(ui.TXT_CONTOAVERE, ui.TXT_DESCCONTOAVERE),
        account(ui.TXT_CONTOABBUONIATTIVI, ui.TXT_DESCCONTOABBUONIATTIVI),
        account(ui.TXT_CONTOABBUONIPASSIVI, ui.TXT_DESCCONTOABBUONIPASSIVI),
    };
}

void CausalParameters::runRequest(ErrorPolicy policy, const QString &procedure, bool lookUp,
                                  const std::function<void()> &request)
{
    if (policy == ErrorPolicy::Reported)
        ctx.trapped(procedure, {request});
    else if (policy == ErrorPolicy::DecodeIgnoredOnly && lookUp)
        request();
    else
        ErrorTrap::runIgnoringErrors({request});
}

void CausalParameters::connectRequests(const CodeFieldRequests &r)
{
    TextField *field = r.field;
    const QString name = field->objectName();
    if (r.decode) {
        connect(field, &TextField::StartDecode, this,
                [this, field, name, r](short *handled, QString *statement, QVariant *targets, QString *connection) {
                    runRequest(r.policy, name + QStringLiteral("_StartDecode"), false, [&] {
                        const CodeFieldRequests::Decode &d = *r.decode;
                        *handled = 0;
                        *statement = d.statement(field->Text());
                        *targets = QVariantList{columnTarget(name, d.codeColumn),
                                                columnTarget(d.readOut->objectName(), d.descriptionColumn)};
                        *connection = ctx.connectionString;
                    });
                });
    }
    connect(field, &TextField::StartLookup, this,
            [this, field, name, r](short *handled, QString *statement, QVariant *columns, QString *title,
                                   QString *connection) {
                runRequest(r.policy, name + QStringLiteral("_StartLookup"), true, [&] {
                    *handled = 0;
                    *statement = r.lookup.statement();
                    *columns = QVariantList{QVariantMap{{"title", ctx.t(FormText::ColCodice)}, {"index", 0}},
                                            QVariantMap{{"title", ctx.t(FormText::ColDescrizione)}, {"index", 1}}};
                    *title = ctx.t(r.lookup.titleId);
                    *connection = ctx.connectionString;
                    if (r.lookup.idLookup)
                        field->setIdLookup(QLatin1String(r.lookup.idLookup));
                });
            });
}

void CausalParameters::connectAccountFields()
{
    FormUi &ui = ctx.ui;
    for (TextField *field : std::initializer_list<TextField *>{
             ui.TXT_CAUSALE, ui.TXT_CAUSALECOMPCLI, ui.TXT_CAUSALECOMPFOR, ui.TXT_CAUSALECOGE, ui.TXT_CAUABBUONI,
             ui.TXT_CODPAGACCONTI, ui.TXT_SEZIONALEACCONTI, ui.TXT_CONTODARE, ui.TXT_CONTOAVERE,
             ui.TXT_CONTOABBUONIATTIVI, ui.TXT_CONTOABBUONIPASSIVI})
        ctx.installFieldServices(field);
    ctx.installFieldServices(ui.TXT_GRUPPO, 2);
    ctx.installFieldServices(ui.TXT_UTENTE, 2);

    ui.TXT_CAUSALECOGE->setDescriptionLabel(ui.TXT_DESCCAUINCPAG);
    ui.TXT_CAUABBUONI->setDescriptionLabel(ui.TXT_DESCCAUABBUONI);
    ui.TXT_CONTODARE->setDescriptionLabel(ui.TXT_DESCCONTODARE);
    ui.TXT_CONTOAVERE->setDescriptionLabel(ui.TXT_DESCCONTOAVERE);
    ui.TXT_CONTOABBUONIATTIVI->setDescriptionLabel(ui.TXT_DESCCONTOABBUONIATTIVI);
    ui.TXT_CONTOABBUONIPASSIVI->setDescriptionLabel(ui.TXT_DESCCONTOABBUONIPASSIVI);
    ui.TXT_CODPAGACCONTI->setDescriptionLabel(ui.TXT_DESCRPAGACCONTI);
    ui.TXT_GRUPPO->setDescriptionLabel(ui.LBL_DESCRGRUPPO);
    ui.TXT_UTENTE->setDescriptionLabel(ui.LBL_DESCRUTENTE);

    for (const CodeFieldRequests &requests : codeFieldRequests())
        connectRequests(requests);

    // The extraction causals share one read-out box.
    for (TextField *field : {ui.TXT_CAUSALECOMPCLI, ui.TXT_CAUSALECOMPFOR}) {
        connect(field, &TextField::AfterItem, this, [this, field] {
            ctx.ui.TXT_CAUSALICOMPDESCR->setText(field->isFound() ? field->Text().trimmed() : QString());
        });
    }
}

// ---------------------------------------------------------------------------------------------
// Option lists

void CausalParameters::fill(ComboField *combo, const OptionLists::List &list, bool selectInitial)
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

void CausalParameters::ImpostaCombo(bool detailsOnly)
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

void CausalParameters::fillFixedLists()
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
void CausalParameters::fillDependentLists(const QList<ComboField *> &dependent)
{
    FormUi &ui = ctx.ui;
    const int t = ctx.nz(ui.CBO_TIPOOPERAZIONE->Text().isEmpty() ? QVariant() : ui.CBO_TIPOOPERAZIONE->Text(), 1).toInt();
    const bool currency = on(ctx.nz(ui.CHK_GESTVALUTE->Text(), "0").toString());
    const bool withholding = on(ctx.nz(ui.CHK_FILTER[ISelectionChecks::WithholdingCheck]->Text(), "0").toString());
    const QList<OptionLists::List> lists = OptionLists::dependentLists(operationTypeOf(t), currency, withholding);

    std::optional<OptionLists::StoredDetails> stored;
    if (registrationRowPresent()) {
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

void CausalParameters::AggiornaModalitaRecupero()
{
    refreshRecoveryModes(false);
}

void CausalParameters::refreshRecoveryModes(bool keepStored)
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

void CausalParameters::CBO_TIPOOPERAZIONE_GotFocus()
{
    ctx.Gvar_TipoOperazioneFocus = ctx.ui.CBO_TIPOOPERAZIONE->Text();
}

void CausalParameters::CBO_TIPOOPERAZIONE_LostFocus()
{
    if (QVariant(ctx.ui.CBO_TIPOOPERAZIONE->Text()) != ctx.Gvar_TipoOperazioneFocus)
        ctx.trapped(QStringLiteral("CBO_TIPOOPERAZIONE_LostFocus"), {[&] { AggiornaModalitaRecupero(); }});
}

void CausalParameters::CBO_TIPOOPERAZIONE_BeforeChange(const QString &previousText)
{
    ErrorTrap::runIgnoringErrors({[&] { ctx.Gint_TipoOperazionePrec = qint16(previousText.toInt()); }});
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
    if (followsScreen() && !ctx.anyBusyFlag()) {
        ctx.trapped(QStringLiteral("CBO_TIPOOPERAZIONE_AfterChange"), {[&] { AggiornaModalitaRecupero(); }});
        AttivaEditControlli();
    }
}

bool CausalParameters::registrationRowPresent() const
{
    const ado::RecordsetPtr rs = ctx.FME_PARAMPERSREG ? ctx.FME_PARAMPERSREG->recordset() : ado::RecordsetPtr();
    return rs && rs->State() == ado::ObjectState::Open && rs->RecordCount() > 0 && !rs->isBOF() && !rs->isEOF();
}

// A correction belongs to the change of its input: when the rules only show a causal, it is
// not made at all; while the frame holds the form's values, it is shown and waits for the save.
void CausalParameters::forceColumn(const QString &column, const QVariant &value)
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

void CausalParameters::CBO_DETTREG_ChangeRow()
{
    if (!registrationRowPresent())
        return;
    FormUi &ui = ctx.ui;
    const bool guard = ctx.buildingChecks;
    ctx.buildingChecks = true;
    ctx.trapped(QStringLiteral("CBO_DETTREG_ChangeRow"), {[&] {
        const bool withholding = on(ctx.nz(ui.CHK_FILTER[ISelectionChecks::WithholdingCheck]->Text(), "0").toString());
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

void CausalParameters::CBO_DETTRIGACONT_ChangeRow()
{
    if (!registrationRowPresent())
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

void CausalParameters::CBO_MODIMPSCAD_ChangeRow(int position)
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

void CausalParameters::CHK_GESTVALUTE_Click()
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

// ---------------------------------------------------------------------------------------------
// Frames and saving

void CausalParameters::FME_PARAMETRI_ChangeStatus(int fenm_status, int)
{
    if (fenm_status == DataFrame::StatusRecord)
        ErrorTrap::runIgnoringErrors({[&] { refreshRecoveryModes(true); }});
}

void CausalParameters::batchAll(const QString &procedure, DataFrame *frame)
{
    ctx.trapped(procedure, {[&] { return FormContext::endBatch(frame, true); }});
}

void CausalParameters::FME_PARAMETRI_UpdateBatchAll()
{
    batchAll(QStringLiteral("FME_PARAMETRI_UpdateBatchAll"), ctx.FME_PARAMETRI.get());
}

void CausalParameters::FME_PARAMETRIDITTA_UpdateBatchAll()
{
    batchAll(QStringLiteral("FME_PARAMETRIDITTA_UpdateBatchAll"), ctx.FME_PARAMETRIDITTA.get());
}

void CausalParameters::FME_PARAMPERSREG_UpdateBatchAll()
{
    DataFrame *frame = ctx.FME_PARAMPERSREG.get();
    // The clean-up of the registration row runs before the row is written.
    if (frame->BatchPending()) {
        bool cancel = false;
        emit frame->BeforeUpdate(&cancel);
    }
    batchAll(QStringLiteral("FME_PARAMPERSREG_UpdateBatchAll"), frame);
}

void CausalParameters::FME_PARAMPERSREG_BeforeUpdate(bool *)
{
    ctx.trapped(QStringLiteral("FME_PARAMPERSREG_BeforeUpdate"), {[&] {
        if (!registrationRowPresent())
            return;
        const ado::RecordsetPtr rs = ctx.FME_PARAMPERSREG->recordset();
        rs->setValue(QStringLiteral("CGP7_GRUPPO_CG10"), int(accountGroup()));
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

// ---------------------------------------------------------------------------------------------
// Enabling rules

void CausalParameters::AttivaEditControlli()
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
            ImpostaCombo(true);
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
                selectOfferedValues();
                if (dependentListInputs() == listInputs)
                    break;
                ImpostaCombo(true);
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

QString CausalParameters::detailsShown() const
{
    return ctx.ui.CBO_DETTREG->Text() + QLatin1Char('|') + ctx.ui.CBO_DETTRIGACONT->Text();
}

QString CausalParameters::dependentListInputs() const
{
    const FormUi &ui = ctx.ui;
    return ui.CBO_TIPOOPERAZIONE->Text() + QLatin1Char('|') + ui.CHK_GESTVALUTE->Text() + QLatin1Char('|')
        + ui.CHK_FILTER[ISelectionChecks::WithholdingCheck]->Text();
}

// The fields whose stored values the rules of the type do not allow, shown corrected: the
// status bar names them until the causal is saved or shown again.
void CausalParameters::showHeldCorrections()
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
void CausalParameters::applyDetailRules()
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

// A combo whose row holds no value shows its first entry, which the next save stores; a stored
// value the list does not offer is shown as it is (by the frame) and kept.
void CausalParameters::selectOfferedValues()
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

// Every save of the causal, however it was asked for, passes here: the codes on screen are
// checked again, as a stored code may have become invalid since it was typed, or the type
// changed under it. The first refusal is shown on its field; a blocking one stops the save.
bool CausalParameters::ControllaSalvataggio(bool *cancel)
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
        SaveRules::check(surface, {ledger, QString::number(accountGroup()), ctx.companyText()});
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
void CausalParameters::warnOtherCompanies()
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
bool CausalParameters::causalSettingsAsStored(const QHash<QString, QString> &causalValues) const
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

// ---------------------------------------------------------------------------------------------
// Ledger validations

bool CausalParameters::refused(QWidget *field, const QList<LedgerChecks::Message> &messages)
{
    for (const LedgerChecks::Message &m : messages) {
        if (m.textId != 0)
            ctx.refuseField(field, m.textId, m.params);
    }
    return !messages.isEmpty();
}

void CausalParameters::TXT_CAUSALECOGE_Validate(bool *cancel)
{
    ctx.trapped(QStringLiteral("TXT_CAUSALECOGE_Validate"), {[&] {
        const QString code = ctx.nz(ctx.ui.TXT_CAUSALECOGE->Text(), QString()).toString().trimmed();
        if (refused(ctx.ui.TXT_CAUSALECOGE, LedgerChecks(ctx.Gcnn_Connessione).postingCausalRefusals(code, ctx.operationType())))
            *cancel = true;
    }});
}

void CausalParameters::TXT_CAUABBUONI_Validate(bool *cancel)
{
    ctx.trapped(QStringLiteral("TXT_CAUABBUONI_Validate"), {[&] {
        const QString code = ctx.nz(ctx.ui.TXT_CAUABBUONI->Text(), QString()).toString().trimmed();
        if (refused(ctx.ui.TXT_CAUABBUONI, LedgerChecks(ctx.Gcnn_Connessione).discountCausalRefusals(code)))
            *cancel = true;
    }});
}

void CausalParameters::TXT_CAUSALECOMP_Validate(TextField *field, bool *cancel)
{
    ctx.trapped(field->objectName() + QStringLiteral("_Validate"), {[&] {
        const QString code = ctx.nz(field->Text(), QString()).toString().trimmed();
        if (code.isEmpty())
            return;
        if (!field->isFound()) {
            *cancel = true;
            field->SetFocus();
            return;
        }
        if (ctx.checks->IsCausalePerRitenute(QString::number(qint16(code.toInt())))) {
            ctx.refuseField(field, MessageId::WithholdingCausal, {code});
            *cancel = true;
        }
    }});
}

void CausalParameters::TXT_CODPAGACCONTI_Validate(bool *cancel)
{
    ctx.trapped(QStringLiteral("TXT_CODPAGACCONTI_Validate"), {[&] {
        const QString code = ctx.nz(ctx.ui.TXT_CODPAGACCONTI->Text(), QString()).toString();
        if (refused(ctx.ui.TXT_CODPAGACCONTI, LedgerChecks(ctx.Gcnn_Connessione).paymentTermsRefusals(code)))
            *cancel = true;
    }});
}

void CausalParameters::TXT_SEZIONALEACCONTI_Validate(bool *cancel)
{
    ctx.trapped(QStringLiteral("TXT_SEZIONALEACCONTI_Validate"), {[&] {
        const QString code = ctx.nz(ctx.ui.TXT_SEZIONALEACCONTI->Text(), QString()).toString();
        if (refused(ctx.ui.TXT_SEZIONALEACCONTI, LedgerChecks(ctx.Gcnn_Connessione).sectionRefusals(code, ctx.companyText()))) {
            *cancel = true;
            ctx.ui.TXT_SEZIONALEACCONTI->lineEdit()->selectAll();
            ctx.ui.TXT_SEZIONALEACCONTI->SetFocus();
        }
    }});
}

void CausalParameters::TXT_CONTO_Validate(AccountField *field, bool *cancel)
{
    ctx.trapped(field->objectName() + QStringLiteral("_Validate"), {[&] {
        const QString code = ctx.nz(field->Text(), QString()).toString().trimmed();
        if (code.isEmpty())
            return;
        // An account that does not exist is one refusal, in one box: whether it could be
        // posted to is no question then.
        if (!field->isFound()) {
            ctx.refuseField(field, MessageId::AccountMissing, {});
            *cancel = true;
            return;
        }
        const bool debitCredit = field == ctx.ui.TXT_CONTODARE || field == ctx.ui.TXT_CONTOAVERE;
        const bool rule = debitCredit ? field->isEnabled() && ctx.ui.CHK_MODIFICACONTI->Text() == QLatin1String("0") : true;
        if (rule && !field->isPostable()) {
            ctx.refuseField(field, MessageId::NotPostable, {});
            *cancel = true;
        }
    }});
}

void CausalParameters::CHK_MODIFICACONTI_Click()
{
    ctx.trapped(QStringLiteral("CHK_MODIFICACONTI_Click"), {[&] {
        if (ctx.causalCode().isEmpty() || ctx.ui.CHK_MODIFICACONTI->Text() != QLatin1String("0"))
            return;
        for (AccountField *field : {ctx.ui.TXT_CONTODARE, ctx.ui.TXT_CONTOAVERE}) {
            QWidget *focus = QApplication::focusWidget();
            const bool hasFocus = focus && (focus == field || field->isAncestorOf(focus));
            if (field->isEnabled() && !field->Text().trimmed().isEmpty() && !field->isPostable() && !hasFocus)
                ctx.refuseField(field, MessageId::NotPostable, {});
        }
    }});
}

// ---------------------------------------------------------------------------------------------
// Parametric posting-line text

void CausalParameters::connectLegend()
{
    if (m_legendConnected || !ctx.Gcls_TestiParametrizzabili)
        return;
    connect(ctx.Gcls_TestiParametrizzabili.get(), &TestiParametrizzabili::DoubleClick, this,
            &CausalParameters::Gcls_TestiParametrizzabili_DoubleClick);
    m_legendConnected = true;
}

void CausalParameters::BUT_LEGENDA_ButtonClick()
{
    ctx.trapped(QStringLiteral("BUT_LEGENDA_ButtonClick"), {[&] {
        if (!ctx.Gcls_TestiParametrizzabili) {
            ctx.Gcls_TestiParametrizzabili = std::make_unique<TestiParametrizzabili>();
            m_legendConnected = false;
        }
        connectLegend();
        TestiParametrizzabili *legend = ctx.Gcls_TestiParametrizzabili.get();
        if (!legend->hasConnection()) {
            legend->setConnectionString(ctx.connectionString);
            legend->setConnection(ctx.Gcnn_Connessione);
        }
        if (!legend->hasContract())
            legend->setContract(static_cast<QObject *>(ctx.Gcls_Parent));
        legend->setForm(ctx.form);
        legend->setTextLookup([this](int id) { return ctx.t(id); });
        legend->setOption(false);
        legend->ShowLegend();
        if (legend->errorFlag())
            ctx.msgBox(MessageId::NoLegend);
    }});
}

void CausalParameters::Gcls_TestiParametrizzabili_DoubleClick(short *, QString *value, QString *)
{
    RichTextField *field = ctx.ui.TXT_TESTOPARAMETRICO;
    ctx.trapped(QStringLiteral("Gcls_TestiParametrizzabili_DoubleClick"), {[&] {
        if (!registrationRowPresent())
            return;
        const QString inserted = ctx.nz(*value, QString()).toString();
        // The legend stays open while the rules hide or lock the text (a causal without
        // posting): the text the user cannot edit is not edited through the legend either.
        const ParameterControls::Control *place = ParameterControls::find(field->objectName());
        if (!field->isEnabled() || field->isHidden() || (place && !ctx.ui.TAB_CONFIG->isTabEnabled(place->tab))) {
            ctx.msgBox(MessageId::LegendFieldLocked, {ctx.shownName(field), inserted},
                       ClsServizi::StyleCode::Information);
            return;
        }
        const ado::RecordsetPtr rs = ctx.FME_PARAMPERSREG->recordset();
        const int p = field->SelStart();
        const QString text = field->Text();
        QString result;
        if (p == 0)
            result = text + (inserted == QLatin1String("<T>") ? QString() : QStringLiteral(" ")) + inserted;
        else
            result = text.left(p) + inserted + text.mid(p);
        // Cutting the text to its length would drop part of the placeholder or the user's own
        // words: the insertion is refused whole.
        if (field->maxChar() > 0 && result.size() > field->maxChar()) {
            ctx.msgBox(MessageId::LegendTooLong,
                       {ctx.shownName(field), QString::number(field->maxChar()), inserted,
                        QString::number(field->maxChar() - text.size())});
            ctx.focusField(field);
            field->setSelStart(p);
            return;
        }
        rs->setValue(QStringLiteral("CGP7_TESTORIGA"), result);
        ctx.FME_PARAMPERSREG->setRecordChanged(true);
        ctx.FME_PARAMPERSREG->refreshControls();
        if (p != 0)
            field->setSelStart(p + int(inserted.size()));
    }});
}

void CausalParameters::TXT_TESTOPARAMETRICO_GotFocus()
{
    ctx.trapped(QStringLiteral("TXT_TESTOPARAMETRICO_GotFocus"),
                {[&] { ctx.ui.TXT_TESTOPARAMETRICO->setProperty("displayStyle", 3); }});
}

void CausalParameters::TXT_TESTOPARAMETRICO_LostFocus()
{
    ctx.trapped(QStringLiteral("TXT_TESTOPARAMETRICO_LostFocus"),
                {[&] { ctx.ui.TXT_TESTOPARAMETRICO->setProperty("displayStyle", 1); }});
}
