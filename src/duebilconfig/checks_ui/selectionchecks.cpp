#include "checks_ui/selectionchecks.h"

#include "ado/recordset.h"
#include "causals/causalhistory.h"
#include "causals/causaloperations.h"
#include "framework/clsglobal.h"
#include "framework/messageservice.h"
#include "params/ledgerchecks.h"
#include "store/checkfacts.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "window/formcontext.h"

#include <QHash>
#include <memory>

namespace S = DueBilStatements;

SelectionChecks::SelectionChecks(FormContext &ctx) : ctx(ctx) {}

SelectionChecks::~SelectionChecks() = default;

void SelectionChecks::connectEvents()
{
    FormUi &ui = ctx.ui;
    for (int i = 1; i <= Count; ++i)
        connect(ui.CHK_FILTER[i], &CheckField::Click, this, [this, i] { CHK_FILTER_Click(i); });
    connect(ctx.FME_FILTRI.get(), &DataFrame::UpdateBatchAll, this, &SelectionChecks::FME_FILTRI_UpdateBatchAll,
            Qt::DirectConnection);
    connect(ui.KVS_SELSCADENZE, &DueDateSelector::AfterChange, this, &SelectionChecks::KVS_SELSCADENZE_AfterChange);
    connect(ui.CMD_CHECKCAUSALEDEFAULT, &ButtonControl::ButtonClick, this,
            &SelectionChecks::CMD_CHECKCAUSALEDEFAULT_ButtonClick);
    connect(ui.CMD_MODIFICACHECKCAUSALE, &ButtonControl::ButtonClick, this,
            &SelectionChecks::CMD_MODIFICACHECKCAUSALE_ButtonClick);
}

void SelectionChecks::CreaStrutturaCheck()
{
    FormUi &ui = ctx.ui;
    ctx.trapped(QStringLiteral("CreaStrutturaCheck"), {[&] {
        const ado::RecordsetPtr rs = ctx.FME_FILTRI ? ctx.FME_FILTRI->recordset() : ado::RecordsetPtr();
        if (!rs || rs->State() != ado::ObjectState::Open || rs->RecordCount() == 0) {
            for (int i = 1; i <= Count; ++i)
                ui.CHK_FILTER[i]->setVisible(false);
            return;
        }
        ctx.buildingChecks = true;
        const ado::RecordsetPtr rows = rs->Clone();
        for (rows->MoveFirst(); !rows->isEOF(); rows->MoveNext()) {
            const int id = rows->value(QStringLiteral("CGP4_IDCHECK_CGP2")).toInt();
            if (id < 1 || id > Count)
                continue;
            CheckField *box = ui.CHK_FILTER[id];
            box->setVisible(true);
            box->setCaption(ctx.translator.Traduci_CGP2_DESCRIZIONE(rows->value(QStringLiteral("CGP2_ID"))));
            box->setText(ctx.nz(rows->value(QStringLiteral("CGP4_CHECKED")), 0).toString());
            box->setTag(box->caption());
            box->setProperty("checkId", rows->value(QStringLiteral("CGP2_ID")));
            box->setEnabled(!CheckFacts::isLockedGroup(rows->value(QStringLiteral("CGP2_TIPOFILTRO")).toString()));
        }
        ctx.buildingChecks = false;
        for (int hidden : CheckFacts::HiddenChecks)
            ui.CHK_FILTER[hidden]->setVisible(false);
        AbilitaDisabilitaCheck(false);
        ctx.pagesBehindChanged();
        ctx.form->update();
    }});
    ctx.buildingChecks = false;
}

void SelectionChecks::CHK_FILTER_Click(int index)
{
    Q_UNUSED(index);
    ctx.trapped(QStringLiteral("CHK_FILTER_Click"), {[&] {
        if (ctx.buildingChecks)
            return;
        ctx.FME_FILTRI->setRecordChanged(true);
        ctx.FME_FILTRI->RowChanged();
    }});
}

void SelectionChecks::KVS_SELSCADENZE_AfterChange()
{
    ctx.trapped(QStringLiteral("KVS_SELSCADENZE_AfterChange"), {[&] {
        ctx.FME_FILTRI->setRecordChanged(true);
        ctx.FME_FILTRI->RowChanged();
    }});
}

void SelectionChecks::UpdateFiltri()
{
    const QString code = ctx.causalCode();
    // Each check row is a value of its own: written only when the box differs from the state
    // read, and then only if nobody changed that row meanwhile (a conflict otherwise), so a
    // check another user ticked is not undone by a save that did not touch it.
    QHash<int, int> asRead;
    const ado::RecordsetPtr rs = ctx.FME_FILTRI->recordset();
    if (rs && rs->State() == ado::ObjectState::Open) {
        const QList<QVariantList> rows =
            rs->originalRows({QStringLiteral("CGP4_IDCHECK_CGP2"), QStringLiteral("CGP4_CHECKED")});
        for (const QVariantList &row : rows)
            asRead.insert(ctx.nz(row.at(0), 0).toInt(), ctx.nz(row.at(1), 0).toInt());
    }
    const bool inSave = ctx.Gcnn_Connessione->inTransaction();
    // Within a save the rows are read once, before any write: a check another user changed
    // since it was shown is a conflict, not overwritten, and once committed the boxes show what
    // is stored, another user's ticks included, without reading again.
    const bool reread = inSave && rs && rs->State() == ado::ObjectState::Open;
    const auto stored = std::make_shared<QHash<int, int>>();
    std::vector<TrapStep> steps;
    if (reread) {
        steps.emplace_back([this, rs, stored] {
            const ado::RecordsetPtr now = ctx.Gcnn_Connessione->Execute(rs->Source(), 1);
            if (now->RecordCount() > 0) {
                for (now->MoveFirst(); !now->isEOF(); now->MoveNext())
                    stored->insert(ctx.nz(now->value(QStringLiteral("CGP4_IDCHECK_CGP2")), 0).toInt(),
                                   ctx.nz(now->value(QStringLiteral("CGP4_CHECKED")), 0).toInt());
            }
        });
    }
    for (int i = 1; i <= Count; ++i) {
        steps.emplace_back([this, i, code, &asRead, reread, stored] {
            const int value = ctx.nz(ctx.ui.CHK_FILTER[i]->Text(), 0).toInt();
            if (asRead.contains(i) && asRead.value(i) == value)
                return true;
            if (reread && asRead.contains(i) && stored->value(i, -1) != asRead.value(i)) {
                ctx.FME_CAUSALI->SaveFailed(
                    QStringLiteral("CGP4_DUEBILFILTRI: CGP4_CAUSALE_CGP0 = %1, CGP4_IDCHECK_CGP2 = %2").arg(code).arg(i));
                return false;
            }
            ctx.Gcnn_Connessione->Execute(S::updateCheck(code, i, value), 1);
            if (stored->contains(i))
                stored->insert(i, value);
            return true;
        });
    }
    steps.emplace_back([this, code, inSave] {
        if (!ctx.ui.KVS_SELSCADENZE->Salva() && inSave && ctx.ui.KVS_SELSCADENZE->conflict()) {
            ctx.FME_CAUSALI->SaveFailed(QStringLiteral("FW41_SELEZIONEPARAMSCADENZE: FW41_CODICE = %1").arg(code));
            return false;
        }
        return true;
    });
    steps.emplace_back([this] { ctx.FME_FILTRI->setRecordChanged(false); });
    // Once saved, the rows hold what is stored and the boxes show it, so the next save compares
    // with what is stored.
    steps.emplace_back([this, rs, reread, stored] {
        if (!reread)
            return;
        ctx.Gcnn_Connessione->onCommit([this, rs, stored] {
            ctx.buildingChecks = true;
            const ado::RecordsetPtr rows = rs->Clone();
            if (rows->RecordCount() > 0) {
                for (rows->MoveFirst(); !rows->isEOF(); rows->MoveNext()) {
                    const int id = rows->value(QStringLiteral("CGP4_IDCHECK_CGP2")).toInt();
                    if (!stored->contains(id))
                        continue;
                    rows->setValue(QStringLiteral("CGP4_CHECKED"), stored->value(id));
                    rows->Update();
                    if (id >= 1 && id <= Count)
                        ctx.ui.CHK_FILTER[id]->setText(QString::number(stored->value(id)));
                }
            }
            rs->acceptChanges();
            ctx.buildingChecks = false;
        });
    });
    ctx.trapped(QStringLiteral("UpdateFiltri"), steps);
}

void SelectionChecks::FME_FILTRI_UpdateBatchAll()
{
    ctx.trapped(QStringLiteral("FME_FILTRI_UpdateBatchAll"),
                {[&] { return FormContext::endBatch(ctx.FME_FILTRI.get(), true); }});
}

void SelectionChecks::CaricaValoriPredefinitiFiltri(OperationType type, const QString &causale, bool requery, bool tutti)
{
    const std::optional<QString> column = CausalOperations::defaultColumn(type);
    // Without a causal (the list moved on, or a code not yet shown) there are no checks to set.
    if (!column || causale.trimmed().isEmpty())
        return;
    ctx.trapped(QStringLiteral("CaricaValoriPredefinitiFiltri"), {
        [&] {
            // The defaults are stored at once, not with the next save: recorded with them.
            CausalHistory history(*ctx.Gcnn_Connessione, ctx.userName());
            CausalConfiguration before;
            return ctx.Gcls_Servizi->errorTrap().runWhole(
                QStringLiteral("CaricaValoriPredefinitiFiltri"), *ctx.Gcnn_Connessione,
                {[&] { before = history.snapshot(causale); },
                 [&] { ctx.Gcnn_Connessione->Execute(S::defaultChecks(*column, causale, tutti), -1); }},
                [&] { history.record(CausalHistory::Operation::Save, causale, before); });
        },
        [&] {
            if (!requery)
                return false;
            ctx.FME_FILTRI->recordset()->Requery(-1);
            return true;
        },
        [&] { CreaStrutturaCheck(); },
        [&] {
            if (!ctx.Gbol_ImpostaCombo && !ctx.closing)
                ctx.params->AttivaEditControlli();
        },
    });
}

void SelectionChecks::AbilitaDisabilitaCheck(bool enable)
{
    FormUi &ui = ctx.ui;
    ctx.trapped(QStringLiteral("AbilitaDisabilitaCheck"), {
        [&] {
            for (int i = 1; i <= Count; ++i) {
                if (CheckFacts::isLockable(i))
                    ui.CHK_FILTER[i]->setEnabled(enable);
            }
        },
        [&] {
            if (CausalOperations::isRestricted(ctx.nz(ctx.userName(), QString()).toString(), ctx.causalCode()))
                ui.CMD_MODIFICACHECKCAUSALE->setEnabled(false);
            else
                ui.CMD_MODIFICACHECKCAUSALE->setEnabled(!enable);
        },
    });
}

void SelectionChecks::CMD_CHECKCAUSALEDEFAULT_ButtonClick()
{
    ctx.trapped(QStringLiteral("CMD_CHECKCAUSALEDEFAULT_ButtonClick"), {[&] {
        CaricaValoriPredefinitiFiltri(ctx.operationType(), ctx.ui.TXT_CAUSALE->Text(), true, false);
    }});
}

void SelectionChecks::CMD_MODIFICACHECKCAUSALE_ButtonClick()
{
    ctx.trapped(QStringLiteral("CMD_MODIFICACHECKCAUSALE_ButtonClick"), {[&] {
        if (ctx.showMessage(MessageId::ChangeDefaultChecks, {}, MsgStyle::YesNo | MsgStyle::Exclamation) == MsgAnswer::Yes)
            AbilitaDisabilitaCheck(true);
    }});
}

bool SelectionChecks::IsCausalePerRitenute(const QString &causale)
{
    bool result = false;
    ctx.trapped(QStringLiteral("IsCausalePerRitenute"),
                {[&] { result = LedgerChecks(ctx.Gcnn_Connessione).IsCausalePerRitenute(causale); }});
    return result;
}
