#include "causals_ui/causalrecords.h"

#include "ado/recordset.h"
#include "ado/transactionguard.h"
#include "causals/causalhistory.h"
#include "framework/cinterface.h"
#include "framework/clsglobal.h"
#include "framework/clsservizi.h"
#include "framework/messageservice.h"
#include "params/parametercontrols.h"
#include "params/saverules.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "window/formcontext.h"

#include <algorithm>

namespace S = DueBilStatements;

CausalRecords::CausalRecords(FormContext &ctx) : ctx(ctx) {}

CausalRecords::~CausalRecords() = default;

// The window's changes to a causal are recorded under the host's user: a save from the
// confirm to the last frame written, a delete from its first cascaded row to the causal row.
CausalHistory &CausalRecords::history()
{
    return operations().history(ctx.userName());
}

// Outside the error trap (a frame's event after a failed save or an undo, the window closing):
// a save never begun has nothing to give up.
void CausalRecords::discardHistory()
{
    if (m_ops)
        m_ops->history(ctx.userName()).discard();
}

// A save writes the causal's rows of the company on screen only: the history compares those.
CausalConfiguration::Scope CausalRecords::savedRows() const
{
    return {CausalConfiguration::Scope::OneCompany, ctx.companyText().toInt()};
}

namespace {

// A value typed on screen holds text: it is recorded as the row is written, a number field's
// through its binding's conversion (a decimal comma included), any other in the type the
// column's stored values have.
QVariant storedType(const QString &column, const QVariant &value, const QVariant &stored)
{
    if (value.isNull() || value.typeId() != QMetaType::QString)
        return value;
    using ParameterControls::Kind;
    if (const ParameterControls::Control *bound = ParameterControls::findColumn(column);
        bound && (bound->kind == Kind::Integer || bound->kind == Kind::Decimal || bound->kind == Kind::Flag))
        return ParameterControls::columnValue(bound->kind, value);
    if (!stored.isValid() || stored.isNull() || stored.typeId() == QMetaType::QString)
        return value;
    bool ok = false;
    const qlonglong whole = value.toString().toLongLong(&ok);
    if (ok && (stored.typeId() == QMetaType::LongLong || stored.typeId() == QMetaType::Int))
        return whole;
    const double real = value.toString().toDouble(&ok);
    return ok ? QVariant(real) : value;
}

} // namespace

CausalConfiguration CausalRecords::heldRows(bool asRead) const
{
    CausalConfiguration held(savedRows());
    const QVariant code = qlonglong(ctx.causalCode().toInt());
    const QList<QPair<const char *, DataFrame *>> frames{
        {"CGP0_DUEBILCAUSALI", ctx.FME_CAUSALI.get()},     {"CGP5_DUEBILPARAM", ctx.FME_PARAMETRI.get()},
        {"CGP6_DUEBILPARAMDITTA", ctx.FME_PARAMETRIDITTA.get()}, {"CGP7_DUEBILPERSREG", ctx.FME_PARAMPERSREG.get()},
        {"CGP3_DUEBILGRIGLIA", ctx.FME_LAYOUT.get()},     {"CGP4_DUEBILFILTRI", ctx.FME_FILTRI.get()},
        {"CGP8_DUEBILREVOKE", ctx.FME_UTENTI.get()}};
    for (const CausalConfiguration::Table &t : CausalConfiguration::tables()) {
        const QString table = QLatin1String(t.table);
        const QString causalColumn = QLatin1String(t.causalColumn);
        QList<CausalConfiguration::Row> rows;
        for (const auto &[name, frame] : frames) {
            const ado::RecordsetPtr rs = frame && table == QLatin1String(name) ? frame->recordset() : nullptr;
            if (!rs || rs->State() != ado::ObjectState::Open)
                continue;
            // A frame's statement may join other tables: the row is its own table's columns,
            // named by the table's prefix.
            const QString prefix = table.left(table.indexOf(u'_') + 1);
            QStringList columns;
            for (const QString &field : rs->fieldNames()) {
                if (field.startsWith(prefix))
                    columns.append(field);
            }
            const int causalAt = int(columns.indexOf(causalColumn));
            const QList<QVariantList> read = rs->originalRows(columns);
            const auto add = [&](const QVariantList &values) {
                CausalConfiguration::Row row;
                row.columns = columns;
                for (int c = 0; c < columns.size(); ++c)
                    row.values.insert(columns.at(c), values.at(c));
                rows.append(row);
            };
            if (asRead) {
                // The causal list holds every causal; a row not stored yet has no causal.
                for (const QVariantList &values : read) {
                    if (causalAt >= 0 && values.at(causalAt).toString() == code.toString())
                        add(values);
                }
                continue;
            }
            const bool layout = table == QLatin1String("CGP3_DUEBILGRIGLIA");
            const bool checks = table == QLatin1String("CGP4_DUEBILFILTRI");
            const ado::RecordsetPtr each = rs->Clone();
            for (each->MoveFirst(); !each->isEOF(); each->MoveNext()) {
                if (t.single && causalAt >= 0 && each->value(causalAt).toString() != code.toString()
                    && !each->value(causalAt).isNull())
                    continue;
                // The layout is written from its field ids, the checks from their boxes.
                if (layout && each->hasField(QStringLiteral("CGP1_ID")) && each->value(QStringLiteral("CGP1_ID")).toInt() == 0)
                    continue;
                QVariantList values;
                for (int c = 0; c < columns.size(); ++c) {
                    QVariant v = each->value(columns.at(c));
                    if (layout && columns.at(c) == QLatin1String("CGP3_IDFIELD_CGP1") && each->hasField(QStringLiteral("CGP1_ID")))
                        v = each->value(QStringLiteral("CGP1_ID"));
                    const int id = checks ? each->value(QStringLiteral("CGP4_IDCHECK_CGP2")).toInt() : 0;
                    if (checks && columns.at(c) == QLatin1String("CGP4_CHECKED") && id >= 1 && id < ctx.ui.CHK_FILTER.size())
                        v = qlonglong(ctx.nz(ctx.ui.CHK_FILTER[id]->Text(), 0).toInt());
                    const QVariant stored = read.isEmpty() ? QVariant() : read.first().at(c);
                    values.append(c == causalAt ? code : storedType(columns.at(c), v, stored));
                }
                add(values);
            }
        }
        if (table == QLatin1String("FW41_SELEZIONEPARAMSCADENZE")) {
            const QStringList columns{"FW41_DITTA_CG18", "FW41_UOBJECT",     "FW41_CODICE", "FW41_INDTIPOPAG",
                                      "FW41_SELEZIONATO", "FW41_DATIPO", "FW41_ALTIPO"};
            const auto number = [](const QString &text) { return text.isEmpty() ? QVariant() : QVariant(text.toLongLong()); };
            const DueDateSelector *selector = ctx.ui.KVS_SELSCADENZE;
            for (const QStringList &stored : asRead ? selector->storedSelection() : selector->selection()) {
                CausalConfiguration::Row row;
                row.columns = columns;
                const QVariantList values{qlonglong(ctx.companyText().toInt()), S::UObjectConfig, code,
                                          number(stored.at(0)), number(stored.at(1)), number(stored.at(2)),
                                          number(stored.at(3))};
                for (int c = 0; c < columns.size(); ++c)
                    row.values.insert(columns.at(c), values.at(c));
                rows.append(row);
            }
        }
        held.setRows(table, rows);
    }
    return held;
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
    connect(frame, &DataFrame::AfterDelete, this, &CausalRecords::FME_CAUSALI_AfterDelete, Qt::DirectConnection);
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

void CausalRecords::AggiornaConfigurazioneCausali()
{
    operations().AggiornaConfigurazioneCausali(ctx.companyText(), QString::number(ctx.global->companyAccountGroup()));
}

void CausalRecords::completeMissingRows()
{
    operations().completeRecorded(ctx.companyText(), QString::number(ctx.global->companyAccountGroup()),
                                  ctx.userName(), true);
}

bool CausalRecords::EseguiQuery()
{
    bool result = false;
    ctx.trapped(QStringLiteral("EseguiQuery"), {
        [&] {
            const ado::RecordsetPtr rs = ctx.FME_CAUSALI->recordset();
            // A list read empty may have gained causals since (typed here or by another user):
            // read it again, so that the code just typed is found and shown.
            if (rs->isBOF() && rs->isEOF())
                rs->Requery(-1);
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

bool CausalRecords::rowsMissing() const
{
    for (const auto *frame : {&ctx.FME_FILTRI, &ctx.FME_PARAMETRI, &ctx.FME_PARAMETRIDITTA, &ctx.FME_PARAMPERSREG}) {
        const ado::RecordsetPtr rs = *frame ? (*frame)->recordset() : nullptr;
        if (rs && rs->State() == ado::ObjectState::Open && rs->RecordCount() == 0)
            return true;
    }
    return false;
}

void CausalRecords::ShowChild()
{
    const QString causal = ctx.causalCode();
    const QString company = ctx.companyText();
    const QList<ChildSource> sources{{ctx.FME_LAYOUT.get(), S::showLayout(causal)},
                                     {ctx.FME_FILTRI.get(), S::showFiltri(causal)},
                                     {ctx.FME_PARAMETRI.get(), S::showParametri(causal)},
                                     {ctx.FME_PARAMETRIDITTA.get(), S::showParametriDitta(company, causal)},
                                     {ctx.FME_PARAMPERSREG.get(), S::showParamPersReg(company, causal)},
                                     {ctx.FME_UTENTI.get(), S::showUtenti(causal)}};
    loadChildren(ctx, QStringLiteral("ShowChild"), sources);
    // A causal created since start-up in another company, or one whose rows of this company
    // another user removed, gets them now: what the user types there has a row to go to.
    if (rowsMissing()) {
        completeMissingRows();
        loadChildren(ctx, QStringLiteral("ShowChild"), sources.mid(1, 4));
    }
    // The children show the causal's row at once (status 0 when it has one).
    for (DataFrame *child : ctx.children()) {
        const ado::RecordsetPtr rs = child->recordset();
        child->setStatus(rs && rs->State() == ado::ObjectState::Open && rs->RecordCount() > 0 ? DataFrame::StatusRecord
                                                                         : DataFrame::StatusQuery);
    }
}

void CausalRecords::ClearChild()
{
    // Frames that already hold no row (as they are made at start-up) would only be read empty again.
    const QList<DataFrame *> children = ctx.children();
    const bool empty = std::all_of(children.begin(), children.end(), [](DataFrame *child) {
        const ado::RecordsetPtr rs = child->recordset();
        return rs && rs->State() == ado::ObjectState::Open && rs->RecordCount() == 0 && !rs->hasPendingChanges()
            && !child->RecordChanged();
    });
    if (!children.isEmpty() && !empty)
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
            // The due-date selection is written by the save itself, after its checks and with
            // the rest of the causal.
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
            if (changed && !frame->Save(true, true, true)) {
                *cancel = true;
                return;
            }
            // Only a causal on display is copied: a code left in the field after a refusal
            // names none, and its copy would be a causal without its configuration. A copy
            // refused or given up leaves the command undone, as the user sees it.
            if (frame->Status() == DataFrame::StatusRecord && !ctx.causalCode().isEmpty() && !DuplicaCausale())
                *cancel = true;
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
            const CausalOperations::Outcome outcome =
                operations().create(code, ctx.nz(ctx.userName(), QString()).toString(), ctx.companyText(),
                                    QString::number(ctx.global->companyAccountGroup()));
            if (outcome.result == CausalOperations::Outcome::Result::Refused)
                ctx.msgBox(outcome.textId, outcome.params);
            if (!outcome.done())
                return false;
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

bool CausalRecords::DuplicaCausale()
{
    bool copied = false;
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
        // The source was saved before it is copied: its frames hold its rows as stored.
        const CausalConfiguration held = heldRows(true);
        const CausalOperations::Outcome outcome =
            operations().duplicate(ctx.ui.TXT_CAUSALE->Text(), answer, ctx.ui.TXT_DESCRIZIONE->Text(), ctx.userName(),
                                   ctx.companyText(), &held);
        if (outcome.result == CausalOperations::Outcome::Result::Refused)
            ctx.msgBox(outcome.textId, outcome.params);
        if (!outcome.done())
            return false;
        copied = true;
        ctx.showMessage(MessageId::DuplicationDone, {}, MsgStyle::OkOnly);
        return true;
    }});
    return copied;
}

void CausalRecords::FME_CAUSALI_BeforeUpdate(bool *fbol_Cancel)
{
    FormUi &ui = ctx.ui;
    const OperationType type = operationTypeOf(ui.CBO_TIPOOPERAZIONE->Text());
    ctx.trapped(QStringLiteral("FME_CAUSALI_BeforeUpdate"), {
        [&] {
            // A frame without its row has dropped what the user typed there: the causal or
            // those rows went after it was shown. Nothing is saved, and the user is told why.
            if (!rowsMissing())
                return true;
            *fbol_Cancel = true;
            FME_CAUSALI_SaveConflict(QString());
            return false;
        },
        [&] { history().begin(ctx.causalCode(), [this] { return heldRows(true); }); },
        [&] {
            if (ctx.params->ControllaSalvataggio(fbol_Cancel))
                return true;
            // A refused save keeps no before: the next one starts from what is stored then,
            // another user's saves in between included.
            if (*fbol_Cancel)
                history().discard();
            return false;
        },
        [&] {
            if (SaveRules::clearsWithholding(type)) {
                const ado::RecordsetPtr rs = ctx.FME_FILTRI->recordset();
                if (rs->RecordCount() > 0) {
                    rs->MoveFirst();
                    for (; !rs->isEOF(); rs->MoveNext()) {
                        if (rs->value(QStringLiteral("CGP2_ID")).toInt() == ISelectionChecks::WithholdingCheck) {
                            rs->setValue(QStringLiteral("CGP4_CHECKED"), QStringLiteral("0"));
                            ui.CHK_FILTER[ISelectionChecks::WithholdingCheck]->setText(QStringLiteral("0"));
                            break;
                        }
                    }
                }
            }
            for (const SaveRules::Forced &f : SaveRules::forcedValues(type)) {
                const QString column = QLatin1String(f.column);
                DataFrame *frame = column.startsWith(QLatin1String("CGP6")) ? ctx.FME_PARAMETRIDITTA.get()
                                                                             : ctx.FME_PARAMPERSREG.get();
                const ado::RecordsetPtr rs = frame->recordset();
                if (rs->isBOF() || rs->isEOF())
                    continue;
                rs->setValue(column, f.value);
                frame->setRecordChanged(true);
            }
        },
        [&] {
            for (DataFrame *child : ctx.children()) {
                if (*fbol_Cancel)
                    break;
                if (child->RecordChanged() && !child->Save(true, true, false))
                    *fbol_Cancel = true;
            }
            if (*fbol_Cancel)
                history().discard();
        },
    });
}

void CausalRecords::FME_CAUSALI_AfterUpdate(int fenm_operationresult)
{
    if (fenm_operationresult != DataFrame::ResultOk)
        return discardHistory();
    bool recorded = false;
    ctx.trapped(QStringLiteral("FME_CAUSALI_AfterUpdate"), {
        [&] {
            // Rows added to a causal another user deleted would outlive it (an exclusion would
            // wait for the next causal of that code): the save is then refused whole. A save
            // that only changes rows finds none of a deleted causal, and fails on its own.
            const bool adds = ctx.FME_LAYOUT->RecordChanged() || ctx.FME_LAYOUT->BatchPending()
                || ctx.FME_UTENTI->RecordChanged() || ctx.FME_UTENTI->BatchPending() || ctx.ui.KVS_SELSCADENZE->changed();
            if (!adds || operations().exists(ctx.causalCode()))
                return true;
            ctx.FME_CAUSALI->SaveFailed(ctx.causalCode());
            return false;
        },
        [&] { ctx.layout->UpdateLayOut(); },
        [&] { ctx.checks->UpdateFiltri(); },
        [&] { ctx.FME_PARAMETRI->UpdateBatch(); },
        [&] { ctx.FME_PARAMETRIDITTA->UpdateBatch(); },
        [&] { ctx.FME_PARAMPERSREG->UpdateBatch(); },
        [&] { ctx.FME_UTENTI->UpdateBatch(); },
        [&] {
            history().finish(CausalHistory::Operation::Save, heldRows(false));
            recorded = true;
        },
    });
    // A save left before its record was written (the record refused, or a step before it) is
    // not kept: the frame rolls it back and the edits stay on screen, to be confirmed again.
    if (!recorded) {
        discardHistory();
        ctx.FME_CAUSALI->SaveFailed();
    }
}

void CausalRecords::FME_CAUSALI_AfterUndo(int fenm_operationresult)
{
    discardHistory();
    if (ctx.closing || fenm_operationresult != DataFrame::ResultOk)
        return;
    if (ctx.FME_CAUSALI->isLeavingRecord()) {
        // The children are loaded or emptied for the record reached next: only their pending
        // rows go, without reading the causal being left again.
        for (DataFrame *child : ctx.children())
            ErrorTrap::runIgnoringErrors({[child] { child->recordset()->CancelBatch(); }});
        return;
    }
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
    m_deleteTransaction.reset();
    bool ready = false;
    QString code;
    ctx.trapped(QStringLiteral("FME_CAUSALI_BeforeDelete"), {[&] {
        code = ctx.nz(ctx.causalCode().isEmpty() ? QVariant() : QVariant(ctx.causalCode()), 0).toString();
        m_deleting = code;
        // The cascade, the causal row the frame deletes next and the record of them land
        // together: the transaction stays open until the frame's delete is done.
        CausalOperations::ScreenDelete screen;
        screen.deleteSelection = [this, code] {
            ctx.ui.KVS_SELSCADENZE->Codice(code);
            ctx.ui.KVS_SELSCADENZE->Elimina();
        };
        screen.leftOpen = &m_deleteTransaction;
        const CausalOperations::Outcome outcome = operations().remove(code, ctx.userName(), screen);
        if (outcome.result == CausalOperations::Outcome::Result::Refused) {
            ctx.msgBox(outcome.textId, outcome.params);
            *fbol_Cancel = true;
            // Gone already: the window leaves it, as after a delete.
            if (outcome.textId == MessageId::AlreadyDeleted)
                leaveCausal();
            return false;
        }
        ready = outcome.done();
        return true;
    }});
    // Whatever was left half-way deletes nothing, not even the causal row.
    if (!ready) {
        *fbol_Cancel = true;
        m_deleteTransaction.reset();
        if (!code.isEmpty())
            ctx.ui.KVS_SELSCADENZE->Codice(code);
    }
}

void CausalRecords::FME_CAUSALI_AfterDelete(int fenm_operationresult)
{
    std::unique_ptr<ado::TransactionGuard> transaction = std::move(m_deleteTransaction);
    if (fenm_operationresult != DataFrame::ResultOk) {
        // Rolled back: the causal stays on display with its due-date selection as stored.
        transaction.reset();
        ctx.ui.KVS_SELSCADENZE->Codice(ctx.causalCode());
        return;
    }
    if (!transaction)
        return;
    ctx.trapped(QStringLiteral("FME_CAUSALI_AfterDelete"), {[&] {
        try {
            transaction->commit();
        } catch (...) {
            // Nothing was deleted: the causal row stays as it was read.
            ctx.FME_CAUSALI->recordset()->CancelBatch();
            throw;
        }
        ctx.showStatus(FormText::StatusDeleted, {m_deleting});
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
        // No: the user keeps the screen as it is, to copy what matters, and reloads or leaves later.
        const QString code = ctx.causalCode();
        const bool deleted = !operations().exists(code);
        if (ctx.showMessage(deleted ? MessageId::DeletedByAnotherUser : MessageId::ChangedByAnotherUser, {code},
                            MsgStyle::YesNo | MsgStyle::Exclamation)
            != MsgAnswer::Yes)
            return;
        if (deleted)
            leaveCausal();
        else
            reloadCausal();
    }});
}

void CausalRecords::leaveCausal()
{
    ctx.trapped(QStringLiteral("leaveCausal"), {[&] {
        // The list is read again without the causal; the window waits for a code, as after a delete.
        ctx.FME_CAUSALI->recordset()->CancelBatch();
        ctx.FME_CAUSALI->recordset()->Requery(-1);
        ctx.FME_CAUSALI->setStatus(DataFrame::StatusQuery, DataFrame::ReasonDelete);
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
