#include "exclusions_ui/userexclusions.h"

#include "ado/recordset.h"
#include "controls/idlookupfield.h"
#include "dataframe/dataframe.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "window/formcontext.h"

namespace {

bool isId(const QString &text)
{
    bool ok = false;
    text.trimmed().toLongLong(&ok);
    return ok;
}

} // namespace

UserExclusions::UserExclusions(FormContext &ctx) : ctx(ctx) {}

UserExclusions::~UserExclusions() = default;

void UserExclusions::connectEvents()
{
    FormUi &ui = ctx.ui;
    DataFrame *frame = ctx.FME_UTENTI.get();
    connect(ui.GRIDNAVREVOKE, &GridNavigator::ButtonClick, this, &UserExclusions::GRIDNAVREVOKE_ButtonClick);
    connect(frame, &DataFrame::AfterAddNew, this, &UserExclusions::FME_UTENTI_AfterAddNew, Qt::DirectConnection);
    connect(frame, &DataFrame::AfterMove, this, &UserExclusions::FME_UTENTI_AfterMove, Qt::DirectConnection);
    connect(frame, &DataFrame::AfterUpdate, this, &UserExclusions::FME_UTENTI_AfterUpdate, Qt::DirectConnection);
    connect(frame, &DataFrame::BeforeUpdate, this, &UserExclusions::FME_UTENTI_BeforeUpdate, Qt::DirectConnection);
    connect(frame, &DataFrame::UpdateBatchAll, this, &UserExclusions::FME_UTENTI_UpdateBatchAll, Qt::DirectConnection);
    connect(ui.QGRID_GRUPPIUTENTI, &GridControl::DataFormatEXT, this, &UserExclusions::QGRID_GRUPPIUTENTI_DataFormatEXT,
            Qt::DirectConnection);
    FormContext::attachGrid(frame, ui.QGRID_GRUPPIUTENTI);

    for (bool groups : {true, false}) {
        IdLookupField *field = groups ? ui.TXT_GRUPPO : ui.TXT_UTENTE;
        const QString name = field->objectName();
        connect(field, &TextField::StartLookup, this,
                [this, groups, name](short *, QString *statement, QVariant *columns, QString *title, QString *connection) {
                    ctx.trapped(name + QStringLiteral("_StartLookup"), {[&] {
                        *statement = groups ? DueBilStatements::groupList() : DueBilStatements::userList();
                        // The id (column 2) is what the field takes, but the user never sees it.
                        *columns = QVariantList{QVariantMap{{"title", ctx.t(FormText::ColCodice)}, {"index", 0}},
                                                QVariantMap{{"title", ctx.t(FormText::ColDescrizione)}, {"index", 1}}};
                        *title = ctx.t(groups ? FormText::TitleGruppi : FormText::TitleUtenti);
                        *connection = ctx.connectionString;
                    }});
                });
        connect(field, &TextField::StartDecode, this,
                [this, groups, name, field](short *, QString *statement, QVariant *targets, QString *connection) {
                    ctx.trapped(name + QStringLiteral("_StartDecode"), {[&] {
                        // The field's value is the id of the item its code names.
                        const QString id = ctx.nz(field->Value(), QString()).toString();
                        if (id.isEmpty())
                            return;
                        // An id that is not a number names nobody: the decode finds nothing.
                        *statement = groups ? DueBilStatements::groupDecode(id) : DueBilStatements::userDecode(id);
                        *targets = QVariantList{QVariantMap{
                            {"control", groups ? "LBL_DESCRGRUPPO" : "LBL_DESCRUTENTE"},
                            {"column", groups ? "FW06_DESCR" : "FW07_DESCR"}}};
                        *connection = ctx.connectionString;
                    }});
                });
    }
    connect(ui.TXT_GRUPPO, &TextField::AfterItem, this, &UserExclusions::TXT_GRUPPO_AfterItem);
    connect(ui.TXT_UTENTE, &TextField::AfterItem, this, &UserExclusions::TXT_UTENTE_AfterItem);
}

void UserExclusions::InitGrid()
{
    GridControl *grid = ctx.ui.QGRID_GRUPPIUTENTI;
    ctx.trapped(QStringLiteral("InitGrid"), {[&] {
        grid->ClearColumns();
        grid->setProperty("keyColumn", QStringLiteral("ID"));
        grid->setProperty("mode", 2);
        grid->AddColumn(QStringLiteral("CGP8_ID_FW06"), ctx.t(FormText::ColIdGruppo), GridControl::KindText, 10, false);
        grid->AddColumn(QStringLiteral("FW06_CODICE"), ctx.t(FormText::ColCodGruppo), GridControl::KindText, 1215, true);
        grid->AddColumn(QStringLiteral("FW06_DESCR"), ctx.t(FormText::ColGruppo), GridControl::KindText, 3090, true);
        grid->AddColumn(QStringLiteral("CGP8_ID_FW07"), ctx.t(FormText::ColIdUtente), GridControl::KindText, 10, false);
        grid->AddColumn(QStringLiteral("FW07_USERNAME"), ctx.t(FormText::ColCodUtente), GridControl::KindText, 3090, true);
        grid->AddColumn(QStringLiteral("FW07_DESCR"), ctx.t(FormText::ColUtente), GridControl::KindText, 3090, true);
        grid->setDataFormatEnabled(true);
    }});
}

void UserExclusions::enableFields(bool enabled)
{
    ctx.ui.TXT_GRUPPO->setEnabled(enabled);
    ctx.ui.TXT_UTENTE->setEnabled(enabled);
}

void UserExclusions::GRIDNAVREVOKE_ButtonClick(const QString &key)
{
    ctx.trapped(QStringLiteral("GRIDNAVREVOKE_ButtonClick"), {[&] {
        if (key.toUpper() == QLatin1String("NUOVO"))
            enableFields(true);
    }});
}

void UserExclusions::FME_UTENTI_AfterAddNew(int fenm_operationresult)
{
    ctx.trapped(QStringLiteral("FME_UTENTI_AfterAddNew"), {[&] {
        const QString code = ctx.causalCode();
        if (fenm_operationresult == DataFrame::ResultOk && !code.isEmpty())
            ctx.FME_UTENTI->recordset()->setValue(QStringLiteral("CGP8_CAUSALE_CGP0"), code.toInt());
    }});
}

void UserExclusions::FME_UTENTI_AfterMove(int, int)
{
    ErrorTrap::runIgnoringErrors({[&] { enableFields(false); }});
}

void UserExclusions::FME_UTENTI_AfterUpdate(int)
{
    ctx.trapped(QStringLiteral("FME_UTENTI_AfterUpdate"), {[&] { enableFields(false); }});
}

// A row that names neither a group nor a user withdraws the causal from nobody. Every row not
// yet written is looked at, not only the one on display: a new row left empty and then moved
// away from is as meaningless as the one in hand.
QVariant UserExclusions::rowWithoutGroupOrUser() const
{
    const ado::RecordsetPtr frameRows = ctx.FME_UTENTI ? ctx.FME_UTENTI->recordset() : ado::RecordsetPtr();
    if (!frameRows || frameRows->State() != ado::ObjectState::Open || !frameRows->hasPendingChanges())
        return {};
    const ado::RecordsetPtr rs = frameRows->Clone();
    for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext()) {
        const ado::RowStatus status = rs->rowStatus();
        if (status != ado::RowStatus::New && status != ado::RowStatus::Modified)
            continue;
        const bool group = !ctx.nz(rs->value(QStringLiteral("CGP8_ID_FW06")), QString()).toString().isEmpty();
        const bool user = !ctx.nz(rs->value(QStringLiteral("CGP8_ID_FW07")), QString()).toString().isEmpty();
        if (!group && !user)
            return rs->Bookmark();
    }
    return {};
}

// The row is put on display with both fields open, and the user told which fields to fill.
void UserExclusions::refuseRow(const QVariant &bookmark)
{
    FormUi &ui = ctx.ui;
    const ado::RecordsetPtr rs = ctx.FME_UTENTI->recordset();
    if (rs->Bookmark() != bookmark) {
        rs->setBookmark(bookmark);
        ctx.FME_UTENTI->refreshControls();
        ui.QGRID_GRUPPIUTENTI->Refresh();
    }
    enableFields(true);
    ctx.msgBox(MessageId::NoGroupNorUser, {ctx.shownName(ui.TXT_GRUPPO), ctx.shownName(ui.TXT_UTENTE)});
    ctx.focusField(ui.TXT_GRUPPO);
}

void UserExclusions::FME_UTENTI_BeforeUpdate(bool *fbol_Cancel)
{
    ctx.trapped(QStringLiteral("FME_UTENTI_BeforeUpdate"), {[&] {
        const QVariant refused = rowWithoutGroupOrUser();
        if (refused.isValid()) {
            refuseRow(refused);
            *fbol_Cancel = true;
            return;
        }
        // The row on display names a group or a user: neither may be in the list twice.
        const ado::RecordsetPtr rs = ctx.FME_UTENTI->recordset();
        if (!rs || rs->isBOF() || rs->isEOF())
            return;
        const bool group = !ctx.nz(rs->value(QStringLiteral("CGP8_ID_FW06")), QString()).toString().isEmpty();
        if (refuseRepeatedRow(group))
            *fbol_Cancel = true;
    }});
}

bool UserExclusions::refuseRepeatedRow(bool group)
{
    const ado::RecordsetPtr rs = ctx.FME_UTENTI->recordset();
    if (!rs || rs->State() != ado::ObjectState::Open || rs->isBOF() || rs->isEOF())
        return false;
    const QString column = group ? QStringLiteral("CGP8_ID_FW06") : QStringLiteral("CGP8_ID_FW07");
    const QString id = ctx.nz(rs->value(column), QString()).toString();
    if (id.isEmpty())
        return false;
    const QVariant current = rs->Bookmark();
    const ado::RecordsetPtr others = rs->Clone();
    for (others->MoveFirst(); !others->isEOF(); others->MoveNext()) {
        if (others->Bookmark() == current || ctx.nz(others->value(column), QString()).toString() != id)
            continue;
        IdLookupField *field = group ? ctx.ui.TXT_GRUPPO : ctx.ui.TXT_UTENTE;
        ctx.msgBox(group ? MessageId::RepeatedGroup : MessageId::RepeatedUser, {field->Text()});
        return true;
    }
    return false;
}

void UserExclusions::FME_UTENTI_UpdateBatchAll()
{
    ctx.trapped(QStringLiteral("FME_UTENTI_UpdateBatchAll"), {
        [&] {
            // However the save was reached, such a row is not written: the whole save is undone
            // with it, so that the causal is not stored without the rows the user sees.
            const QVariant refused = rowWithoutGroupOrUser();
            if (!refused.isValid())
                return true;
            refuseRow(refused);
            ctx.FME_UTENTI->SaveFailed();
            return false;
        },
        [&] { return FormContext::endBatch(ctx.FME_UTENTI.get(), true); },
    });
}

void UserExclusions::afterItem(IdLookupField *field, IdLookupField *other, const QString &procedure)
{
    ctx.trapped(procedure, {[&] {
        const int id = ctx.nz(field->Value(), 0).toInt();
        const bool valid = field->isFound() || field->Text().trimmed().isEmpty();
        if (valid && id == 0) {
            other->setEnabled(true);
        } else if (valid && refuseRepeatedRow(field == ctx.ui.TXT_GRUPPO)) {
            // The list withdraws the causal from each group or user once: the choice is undone.
            field->setValue(QVariant());
            field->setText(QString());
            other->setEnabled(true);
            field->SetFocus();
        } else if (valid) {
            other->setText(QString());
            other->setValue(QVariant());
            other->setEnabled(false);
        } else {
            other->setEnabled(true);
            field->SetFocus();
        }
    }});
}

void UserExclusions::TXT_GRUPPO_AfterItem()
{
    afterItem(ctx.ui.TXT_GRUPPO, ctx.ui.TXT_UTENTE, QStringLiteral("TXT_GRUPPO_AfterItem"));
}

void UserExclusions::TXT_UTENTE_AfterItem()
{
    afterItem(ctx.ui.TXT_UTENTE, ctx.ui.TXT_GRUPPO, QStringLiteral("TXT_UTENTE_AfterItem"));
}

void UserExclusions::QGRID_GRUPPIUTENTI_DataFormatEXT(QString *text, const QString &column, const FieldReader &fields)
{
    ctx.trapped(QStringLiteral("QGRID_GRUPPIUTENTI_DataFormatEXT"), {[&] {
        const bool group = column == QLatin1String("FW06_CODICE") || column == QLatin1String("FW06_DESCR");
        if (!group && column != QLatin1String("FW07_USERNAME") && column != QLatin1String("FW07_DESCR"))
            return;
        const QString idColumn = group ? QStringLiteral("CGP8_ID_FW06") : QStringLiteral("CGP8_ID_FW07");
        const QString id = ctx.nz(fields(idColumn), QString()).toString();
        if (id.isEmpty() || !isId(id))
            return;
        // The group or user just typed or chosen in its field was read whole there.
        const IdLookupField *field = group ? ctx.ui.TXT_GRUPPO : ctx.ui.TXT_UTENTE;
        if (const std::optional<IdLookupField::Item> item = field->itemReadNow();
            item && item->id.toString() == id.trimmed()
            && (column == field->textField() || column == field->descriptionField())) {
            *text = column == field->textField() ? item->code : item->description;
            return;
        }
        const ado::RecordsetPtr rs = ctx.Gcnn_Connessione->Execute(
            group ? DueBilStatements::groupColumn(column, id) : DueBilStatements::userColumn(column, id), 1);
        if (rs->RecordCount() > 0)
            *text = rs->value(rs->fieldNames().value(0)).toString();
    }});
}
