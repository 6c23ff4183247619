#include "causalrecords.h"

#include "causalhistory.h"
#include "cinterface.h"
#include "clsglobal.h"
#include "clsservizi.h"
#include "duebilstatements.h"
#include "formcontext.h"
#include "messageids.h"
#include "messageservice.h"
#include "recordset.h"

namespace S = DueBilStatements;

CausalRecords::CausalRecords(FormContext &ctx) : ctx(ctx) {}

CausalRecords::~CausalRecords() = default;

// The window's changes to a causal are recorded under the host's user: a save from the
// confirm to the last frame written, a delete from its first cascaded row to the causal row.
CausalHistory &CausalRecords::history()
{
    if (!m_history)
        m_history = std::make_unique<CausalHistory>(*ctx.Gcnn_Connessione, ctx.userName());
    return *m_history;
}

// A save writes the causal's rows of the company on screen only: the history compares those.
CausalConfiguration::Scope CausalRecords::savedRows() const
{
    return {CausalConfiguration::Scope::OneCompany, ctx.companyText().toInt()};
}

CausalOperations &CausalRecords::operations()
{
    if (!ctx.Gcls_Servizi)
        throw NumberedError(ErrorTrap::GenericErrorNumber, ctx.t(FormText::NotAvailable, {QStringLiteral("Gcls_Servizi")}));
    // A start-up run again after a failed one has a new connection.
    if (!m_ops || m_opsConnection != ctx.Gcnn_Connessione) {
        m_ops = std::make_unique<CausalOperations>(ctx.Gcnn_Connessione, &ctx.Gcls_Servizi->errorTrap());
        m_opsConnection = ctx.Gcnn_Connessione;
    }
    return *m_ops;
}

void CausalRecords::connectEvents()
{
    FormUi &ui = ctx.ui;
    DataFrame *frame = ctx.FME_CAUSALI.get();
    connect(frame, &DataFrame::ChangeStatus, this, &CausalRecords::FME_CAUSALI_ChangeStatus, Qt::DirectConnection);
    connect(frame, &DataFrame::BeforeUpdate, this, &CausalRecords::FME_CAUSALI_BeforeUpdate, Qt::DirectConnection);
    connect(frame, &DataFrame::AfterUpdate, this, &CausalRecords::FME_CAUSALI_AfterUpdate, Qt::DirectConnection);
    connect(frame, &DataFrame::AfterUndo, this, &CausalRecords::FME_CAUSALI_AfterUndo, Qt::DirectConnection);
    connect(frame, &DataFrame::BeforeDelete, this, &CausalRecords::FME_CAUSALI_BeforeDelete, Qt::DirectConnection);
    connect(frame, &DataFrame::AfterDelete, this, [this](int result) {
        if (result != DataFrame::ResultOk)
            return history().discard();
        ctx.trapped(QStringLiteral("FME_CAUSALI_AfterDelete"), {
            [this] { history().finish(CausalHistory::Operation::Delete); },
            [this] { ctx.showStatus(FormText::StatusDeleted, {m_deleting}); },
        });
    }, Qt::DirectConnection);
    connect(frame, &DataFrame::AfterSave, this, [this] {
        if (!ctx.causalCode().isEmpty())
            ctx.showStatus(FormText::StatusSaved, {ctx.causalCode()});
    });
    connect(frame, &DataFrame::IsRecordChanged, this, &CausalRecords::FME_CAUSALI_IsRecordChanged,
            Qt::DirectConnection);
    connect(frame, &DataFrame::SaveConflict, this, &CausalRecords::FME_CAUSALI_SaveConflict, Qt::DirectConnection);
    connect(ui.INTERNAV, &RecordNavigator::ButtonClick, this, &CausalRecords::INTERNAV_ButtonClick,
            Qt::DirectConnection);
    connect(ui.INTERNAV, &RecordNavigator::AfterButtonClick, this, &CausalRecords::INTERNAV_AfterButtonClick,
            Qt::DirectConnection);
    connect(ui.TXT_CAUSALE, &TextField::StartDecode, this, &CausalRecords::TXT_CAUSALE_StartDecode,
            Qt::DirectConnection);
    connect(ui.TXT_CAUSALE, &TextField::StartLookup, this, &CausalRecords::TXT_CAUSALE_StartLookup,
            Qt::DirectConnection);
    connect(ui.TXT_CAUSALE, &TextField::AfterItem, this, &CausalRecords::TXT_CAUSALE_AfterItem);
}

void CausalRecords::AggiornaConfigurazioneCausali(bool onlyWhenMissing)
{
    operations().AggiornaConfigurazioneCausali(ctx.companyText(), QString::number(ctx.global->companyAccountGroup()),
                                               onlyWhenMissing);
}

bool CausalRecords::EseguiQuery()
{
    bool result = false;
    ctx.trapped(QStringLiteral("EseguiQuery"), {
        [&] {
            const ado::RecordsetPtr rs = ctx.FME_CAUSALI->recordset();
            if (rs->isBOF() && rs->isEOF())
                return false;
            rs->setValue(QStringLiteral("CGP0_CAUSALE"), ctx.causalCode());
            if (ctx.FME_CAUSALI->Status() == DataFrame::StatusQuery)
                result = ctx.FME_CAUSALI->Query(true, true);
            return true;
        },
    });
    return result;
}

namespace {

struct ChildSource
{
    DataFrame *frame;
    QString statement;
};

void loadChildren(FormContext &ctx, const QString &procedure, const QList<ChildSource> &sources)
{
    std::vector<TrapStep> steps;
    for (const ChildSource &source : sources) {
        if (!source.frame)
            continue;
        steps.emplace_back([source] {
            source.frame->PrepareNewSource();
            const ado::RecordsetPtr rs = source.frame->recordset();
            if (rs->State() == ado::ObjectState::Open)
                rs->Close();
            rs->Open(source.statement, {}, -1, -1, -1);
            source.frame->Refresh(source.statement);
        });
    }
    ctx.trapped(procedure, steps);
}

} // namespace

void CausalRecords::ShowChild()
{
    const QString causal = ctx.causalCode();
    const QString company = ctx.companyText();
    loadChildren(ctx, QStringLiteral("ShowChild"),
                 {{ctx.FME_LAYOUT.get(), S::showLayout(causal)},
                  {ctx.FME_FILTRI.get(), S::showFiltri(causal)},
                  {ctx.FME_PARAMETRI.get(), S::showParametri(causal)},
                  {ctx.FME_PARAMETRIDITTA.get(), S::showParametriDitta(company, causal)},
                  {ctx.FME_PARAMPERSREG.get(), S::showParamPersReg(company, causal)},
                  {ctx.FME_UTENTI.get(), S::showUtenti(causal)}});
    // The children show the causal's row at once (status 0 when it has one).
    for (DataFrame *child : ctx.children()) {
        const ado::RecordsetPtr rs = child->recordset();
        child->setStatus(rs && rs->State() == ado::ObjectState::Open && rs->RecordCount() > 0 ? DataFrame::StatusRecord
                                                                         : DataFrame::StatusQuery);
    }
}

void CausalRecords::ClearChild()
{
    loadChildren(ctx, QStringLiteral("ClearChild"),
                 {{ctx.FME_LAYOUT.get(), S::clearLayout()},
                  {ctx.FME_FILTRI.get(), S::clearFiltri()},
                  {ctx.FME_PARAMETRI.get(), S::clearParametri()},
                  {ctx.FME_PARAMETRIDITTA.get(), S::clearParametriDitta()},
                  {ctx.FME_PARAMPERSREG.get(), S::clearParamPersReg()},
                  {ctx.FME_UTENTI.get(), S::clearUtenti()}});
    for (DataFrame *child : ctx.children())
        child->setStatus(DataFrame::StatusQuery);
}

void CausalRecords::FME_CAUSALI_ChangeStatus(int fenm_status, int fenm_reason)
{
    ctx.trapped(QStringLiteral("FME_CAUSALI_ChangeStatus"), {
        [&] {
            if (fenm_status == DataFrame::StatusRecord) {
                ctx.ui.TXT_CAUSALE->setEnabled(false);
                if (fenm_reason != DataFrame::ReasonSaved)
                    ShowChild();
            } else if (fenm_status == DataFrame::StatusQuery) {
                ClearChild();
                ctx.ui.TXT_CAUSALE->setEnabled(true);
            }
        },
        [&] {
            // The due-date selection saved by "Conferma" is the one of the causal on display,
            // however it was reached (typed, moved to, or none).
            if (fenm_status == DataFrame::StatusRecord || fenm_status == DataFrame::StatusQuery)
                ctx.ui.KVS_SELSCADENZE->Codice(fenm_status == DataFrame::StatusRecord ? ctx.causalCode() : QString());
        },
        [&] { ctx.checks->CreaStrutturaCheck(); },
        [&] {
            if (!ctx.Gbol_ImpostaCombo && !ctx.closing)
                ctx.params->AttivaEditControlli();
        },
    });
}

void CausalRecords::INTERNAV_ButtonClick(bool *cancel, const QString &key)
{
    const QString upper = key.toUpper();
    ctx.trapped(QStringLiteral("INTERNAV_ButtonClick"), {[&] {
        if (upper == QLatin1String("CONFERMA")) {
            history().begin(ctx.causalCode(), savedRows());
            ctx.ui.KVS_SELSCADENZE->Salva();
            ctx.ui.INTERNAV->setProperty("command", QStringLiteral("Nuovo"));
        } else if (upper == QLatin1String("ELIMINA")) {
            if (CausalOperations::isRestricted(ctx.nz(ctx.userName(), QString()).toString(), ctx.causalCode())) {
                ctx.msgBox(MessageId::ReservedDelete, {});
                *cancel = true;
            }
        } else if (upper == QLatin1String("DUPLICA")) {
            DataFrame *frame = ctx.FME_CAUSALI.get();
            bool changed = frame->RecordChanged() || frame->BatchPending();
            if (frame->Status() == DataFrame::StatusRecord) {
                bool childChanged = false;
                FME_CAUSALI_IsRecordChanged(&childChanged);
                changed = changed || childChanged;
            }
            if (changed && !frame->Save(true, true, true))
                return;
            // Only a causal on display is copied: a code left in the field after a refusal
            // names none, and its copy would be a causal without its configuration.
            if (frame->Status() == DataFrame::StatusRecord && !ctx.causalCode().isEmpty())
                DuplicaCausale();
        }
    }});
}

void CausalRecords::INTERNAV_AfterButtonClick(int, const QString &key)
{
    const QString upper = key.toUpper();
    ctx.trapped(QStringLiteral("INTERNAV_AfterButtonClick"), {[&] {
        if (upper == QLatin1String("NUOVO")) {
            if (ctx.ui.TXT_CAUSALE->isEnabled()) {
                ctx.ui.TAB_CONFIG->setTab(0);
                ctx.ui.INTERNAV->setCommandEnabled(QStringLiteral("Duplica"), false);
                ctx.ui.TXT_CAUSALE->setEnabled(true);
                ctx.ui.TXT_CAUSALE->SetFocus();
            }
        } else if (upper == QLatin1String("ELIMINA")) {
            ctx.ui.TAB_CONFIG->setTab(0);
            if (ctx.ui.TXT_CAUSALE->isEnabled())
                ctx.ui.TXT_CAUSALE->SetFocus();
        }
    }});
}

void CausalRecords::TXT_CAUSALE_StartDecode(short *handled, QString *statement, QVariant *targets, QString *connection)
{
    ctx.trapped(QStringLiteral("TXT_CAUSALE_StartDecode"), {[&] {
        *handled = 0;
        // A code that is not a number can name no causal: the decode finds nothing.
        *statement = S::causalDecode(ctx.causalCode());
        *targets = QVariantList{QVariantMap{{"control", "TXT_DESCRIZIONE"}, {"column", "CGP0_DESCRIZIONE"}}};
        *connection = ctx.connectionString;
    }});
}

void CausalRecords::TXT_CAUSALE_StartLookup(short *handled, QString *statement, QVariant *columns, QString *title,
                                            QString *connection)
{
    ctx.trapped(QStringLiteral("TXT_CAUSALE_StartLookup"), {[&] {
        *handled = 0;
        *statement = S::causalList();
        *columns = QVariantList{QVariantMap{{"title", ctx.t(FormText::ColCodice)}, {"index", 0}},
                                QVariantMap{{"title", ctx.t(FormText::ColDescrizione)}, {"index", 1}}};
        *title = ctx.t(FormText::TitleCausali);
        *connection = ctx.connectionString;
        ctx.ui.TXT_CAUSALE->setIdLookup(QStringLiteral("CGP0_DUEBILCAUSALI"));
    }});
}

void CausalRecords::TXT_CAUSALE_AfterItem()
{
    const QString code = ctx.causalCode();
    if (code.isEmpty())
        return;
    ctx.trapped(QStringLiteral("TXT_CAUSALE_AfterItem"), {
        [&] {
            if (operations().exists(code))
                return true;
            if (CausalOperations::isRestricted(ctx.nz(ctx.userName(), QString()).toString(), code)) {
                ctx.msgBox(MessageId::ReservedCreate, {});
                return false;
            }
            ctx.Gcnn_Connessione->Execute(S::insertNewCausal(code), 1);
            AggiornaConfigurazioneCausali();
            ctx.checks->CaricaValoriPredefinitiFiltri(OperationType::Collections, code, false, true);
            history().record(CausalHistory::Operation::Create, code, CausalConfiguration());
            ctx.showStatus(FormText::StatusCreated, {code});
            return true;
        },
        [&] { ctx.ui.INTERNAV->setCommandEnabled(QStringLiteral("Duplica"), true); },
        [&] { EseguiQuery(); },
        [&] { ctx.checks->CreaStrutturaCheck(); },
        [&] { ctx.ui.TAB_CONFIG->setTab(0); },
        [&] { ctx.ui.KVS_SELSCADENZE->Codice(code); },
    });
}

void CausalRecords::DuplicaCausale()
{
    ctx.trapped(QStringLiteral("DuplicaCausale"), {[&] {
        QString answer;
        for (;;) {
            const InputResult input =
                ctx.global->inputBox(ctx.t(FormText::PromptNuovoCodice), ctx.caption(), QString());
            answer = input.accepted ? ctx.nz(input.text, QString()).toString().trimmed() : QString();
            if (answer.isEmpty())
                return false;
            if (answer.size() <= 3)
                break;
            ctx.msgBox(MessageId::TooLong, {});
        }
        const CausalOperations::Outcome refused = operations().duplicate(
            ctx.ui.TXT_CAUSALE->Text(), answer, ctx.ui.TXT_DESCRIZIONE->Text(), ctx.userName(), ctx.companyText());
        if (refused) {
            if (refused->textId != 0)
                ctx.msgBox(refused->textId, refused->params);
            return false;
        }
        ctx.showMessage(MessageId::DuplicationDone, {}, MsgStyle::OkOnly);
        return true;
    }});
}

void CausalRecords::FME_CAUSALI_BeforeUpdate(bool *fbol_Cancel)
{
    FormUi &ui = ctx.ui;
    const OperationType type = operationTypeOf(ui.CBO_TIPOOPERAZIONE->Text());
    ctx.trapped(QStringLiteral("FME_CAUSALI_BeforeUpdate"), {
        [&] { history().begin(ctx.causalCode(), savedRows()); },
        [&] { return ctx.params->ControllaSalvataggio(fbol_Cancel); },
        [&] {
            if (type == OperationType::Closing || type == OperationType::Compensation) {
                const ado::RecordsetPtr rs = ctx.FME_FILTRI->recordset();
                if (rs->RecordCount() > 0) {
                    rs->MoveFirst();
                    for (; !rs->isEOF(); rs->MoveNext()) {
                        if (rs->value(QStringLiteral("CGP2_ID")).toInt() == 30) {
                            rs->setValue(QStringLiteral("CGP4_CHECKED"), QStringLiteral("0"));
                            ui.CHK_FILTER[30]->setText(QStringLiteral("0"));
                            break;
                        }
                    }
                }
            } else if (type == OperationType::Suspension || type == OperationType::StateManagement) {
                const ado::RecordsetPtr ditta = ctx.FME_PARAMETRIDITTA->recordset();
                if (!ditta->isBOF() && !ditta->isEOF()) {
                    const QList<QPair<const char *, QVariant>> values = {
                        {"CGP6_TIPOREGISTRAZIONE", 1}, {"CGP6_DESCRAGGTESTATA", 0}, {"CGP6_MODIFICACONTI", 0},
                        {"CGP6_INDNUMDATADOC", 0}, {"CGP6_INDACCONTI", 0}, {"CGP6_INDNETTOPREVISIONALI", 1},
                        {"CGP6_CAUSALECOMPCLI_CGP0", QVariant()}, {"CGP6_CAUSALECOMPFOR_CGP0", QVariant()},
                        {"CGP6_INDVISANTEPRIMA", 0}};
                    for (const auto &v : values)
                        ditta->setValue(QLatin1String(v.first), v.second);
                    ctx.FME_PARAMETRIDITTA->setRecordChanged(true);
                }
                const ado::RecordsetPtr reg = ctx.FME_PARAMPERSREG->recordset();
                if (!reg->isBOF() && !reg->isEOF()) {
                    const QList<QPair<const char *, QVariant>> values = {
                        {"CGP7_CAUSALECOGE_CG33", QVariant()}, {"CGP7_CONTODARE_CG24", QVariant()},
                        {"CGP7_CONTOAVERE_CG24", QVariant()}, {"CGP7_INDDETTREGIST", 0},
                        {"CGP7_INDDETTRIGACONT", 0}, {"CGP7_CAUSALEABB_CG33", QVariant()},
                        {"CGP7_CONTOABBATTIVI_CG24", QVariant()}, {"CGP7_CONTOABBPASSIVI_CG24", QVariant()},
                        {"CGP7_TESTORIGA", QVariant()}, {"CGP7_INDPAGRITENUTE", 0},
                        {"CGP7_CONDPAGACCONTI_CG62", QVariant()}, {"CGP7_SEZIONALEACCONTI_CG68", QVariant()},
                        {"CGP7_INDDESCRCP", 0}};
                    for (const auto &v : values)
                        reg->setValue(QLatin1String(v.first), v.second);
                    ctx.FME_PARAMPERSREG->setRecordChanged(true);
                }
            }
        },
        [&] {
            for (DataFrame *child : ctx.children()) {
                if (*fbol_Cancel)
                    break;
                if (child->RecordChanged() && !child->Save(true, true, false))
                    *fbol_Cancel = true;
            }
        },
    });
}

void CausalRecords::FME_CAUSALI_AfterUpdate(int fenm_operationresult)
{
    if (fenm_operationresult != DataFrame::ResultOk)
        return history().discard();
    ctx.trapped(QStringLiteral("FME_CAUSALI_AfterUpdate"), {
        [&] { ctx.layout->UpdateLayOut(); },
        [&] { ctx.checks->UpdateFiltri(); },
        [&] { ctx.FME_PARAMETRI->UpdateBatch(); },
        [&] { ctx.FME_PARAMETRIDITTA->UpdateBatch(); },
        [&] { ctx.FME_PARAMPERSREG->UpdateBatch(); },
        [&] { ctx.FME_UTENTI->UpdateBatch(); },
        [&] { history().finish(CausalHistory::Operation::Save); },
    });
}

void CausalRecords::FME_CAUSALI_AfterUndo(int fenm_operationresult)
{
    history().discard();
    if (ctx.closing || fenm_operationresult != DataFrame::ResultOk)
        return;
    if (ctx.FME_CAUSALI->Status() == DataFrame::StatusRecord && !ctx.causalCode().isEmpty())
        ctx.showStatus(FormText::StatusUndone, {ctx.causalCode()});
    std::vector<TrapStep> steps;
    for (DataFrame *child : ctx.children()) {
        steps.emplace_back([child] {
            child->recordset()->Requery(-1);
            child->Refresh(QString());
        });
    }
    steps.emplace_back([this] { ctx.checks->CreaStrutturaCheck(); });
    ctx.trapped(QStringLiteral("FME_CAUSALI_AfterUndo"), steps);
}

void CausalRecords::FME_CAUSALI_BeforeDelete(bool *fbol_Cancel)
{
    ctx.trapped(QStringLiteral("FME_CAUSALI_BeforeDelete"), {[&] {
        const QString code = ctx.nz(ctx.causalCode().isEmpty() ? QVariant() : QVariant(ctx.causalCode()), 0).toString();
        const ado::RecordsetPtr rs = ctx.Gcnn_Connessione->Execute(S::compensationUse(code), 1);
        if (rs->RecordCount() >= 1) {
            ctx.msgBox(MessageId::UsedAsCompensation,
                       {rs->value(QStringLiteral("CGP6_DITTA_CG18")).toString(),
                        rs->value(QStringLiteral("CGP6_CAUSALE_CGP0")).toString()});
            *fbol_Cancel = true;
            return false;
        }
        history().discard();
        history().begin(code);
        m_deleting = code;
        operations().cascadeDelete(code, [this, code] {
            ctx.ui.KVS_SELSCADENZE->Codice(code);
            ctx.ui.KVS_SELSCADENZE->Elimina();
        });
        return true;
    }});
}

void CausalRecords::FME_CAUSALI_IsRecordChanged(bool *fbol_isRecordChanged)
{
    ctx.trapped(QStringLiteral("FME_CAUSALI_IsRecordChanged"), {[&] {
        if (ctx.FME_CAUSALI->Status() != DataFrame::StatusRecord)
            return;
        bool changed = *fbol_isRecordChanged;
        for (DataFrame *child : ctx.children())
            changed = changed || child->RecordChanged() || child->BatchPending();
        *fbol_isRecordChanged = changed;
        if (changed && !ctx.buildingChecks && !ctx.Gbol_ImpostaCombo && !ctx.closing)
            ctx.params->AttivaEditControlli();
    }});
}

void CausalRecords::FME_CAUSALI_SaveConflict(const QString &description)
{
    Q_UNUSED(description);
    ctx.trapped(QStringLiteral("FME_CAUSALI_SaveConflict"), {[&] {
        // No: the user keeps the screen as it is, to copy what matters, and reloads later.
        if (ctx.showMessage(MessageId::ChangedByAnotherUser, {ctx.causalCode()}, MsgStyle::YesNo | MsgStyle::Exclamation)
            == MsgAnswer::Yes)
            reloadCausal();
    }});
}

void CausalRecords::reloadCausal()
{
    const QString code = ctx.causalCode();
    ctx.trapped(QStringLiteral("reloadCausal"), {
        [&] {
            // Query keeps the row on display as its criterion: drop the edits first, then read the
            // causal again; its children follow through the status change.
            ctx.FME_CAUSALI->recordset()->CancelBatch();
            if (!ctx.FME_CAUSALI->Query(true, true))
                ctx.FME_CAUSALI->setStatus(DataFrame::StatusQuery);
        },
        [&] { ctx.ui.KVS_SELSCADENZE->Codice(code); },
    });
}
