#include "layout_ui/layoutpersonalisation.h"

#include "ado/recordset.h"
#include "dataframe/dataframe.h"
#include "framework/clsglobal.h"
#include "framework/clsservizi.h"
#include "framework/messageservice.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"
#include "window/formcontext.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeWidget>

namespace {

struct Heading
{
    const char *key;
    int textId;
};
constexpr Heading headings[] = {{"Scadenze", 50617}, {"Storico", 71174}, {"Anagrafiche", 6381}, {"Documenti", 23180}};


} // namespace

LayoutPersonalisation::LayoutPersonalisation(FormContext &ctx) : ctx(ctx) {}

LayoutPersonalisation::~LayoutPersonalisation() = default;

LayoutEditor &LayoutPersonalisation::editor()
{
    // A start-up run again after a failed one has a new connection.
    if (!m_editor || m_editorConnection != ctx.Gcnn_Connessione) {
        m_editor = std::make_unique<LayoutEditor>(ctx.Gcnn_Connessione);
        m_editorConnection = ctx.Gcnn_Connessione;
    }
    return *m_editor;
}

void LayoutPersonalisation::connectEvents()
{
    FormUi &ui = ctx.ui;
    connect(ui.BUT_SEL, &ButtonControl::ButtonClick, this, &LayoutPersonalisation::BUT_SEL_ButtonClick);
    connect(ui.BUT_DESEL, &ButtonControl::ButtonClick, this, &LayoutPersonalisation::BUT_DESEL_ButtonClick);
    connect(ui.BUT_UP, &ButtonControl::ButtonClick, this, &LayoutPersonalisation::BUT_UP_ButtonClick);
    connect(ui.BUT_DOWN, &ButtonControl::ButtonClick, this, &LayoutPersonalisation::BUT_DOWN_ButtonClick);
    connect(ui.TVCAMPI, &TreeViewControl::DblClick, this, &LayoutPersonalisation::TVCAMPI_DblClick);
    connect(ui.QGRID_LAYOUT, &GridControl::CellDblClick, this, &LayoutPersonalisation::QGRID_LAYOUT_CellDblClick);
    connect(ui.QGRID_LAYOUT, &GridControl::DataFormatEXT, this, &LayoutPersonalisation::QGRID_LAYOUT_DataFormatEXT,
            Qt::DirectConnection);
    connect(ui.QGRID_LAYOUT, &GridControl::SelectAllClickEXT, this, &LayoutPersonalisation::QGRID_LAYOUT_SelectAllClickEXT);
    connect(ui.QGRID_LAYOUT, &GridControl::SelectionBoxClick, this, &LayoutPersonalisation::QGRID_LAYOUT_SelectionBoxClick);
    DataFrame *frame = ctx.FME_LAYOUT.get();
    connect(frame, &DataFrame::UpdateBatchAll, this, &LayoutPersonalisation::FME_LAYOUT_UpdateBatchAll,
            Qt::DirectConnection);
    GridControl *grid = ui.QGRID_LAYOUT;
    FormContext::attachGrid(frame, grid);

    // A field dragged from the tree onto the grid is added as the Sel button adds it.
    ui.TVCAMPI->tree()->setDragEnabled(true);
    ui.TVCAMPI->tree()->setDragDropMode(QAbstractItemView::DragOnly);
    grid->setAcceptDrops(true);
    grid->installEventFilter(this);
    for (QWidget *child : grid->findChildren<QWidget *>()) {
        child->setAcceptDrops(true);
        child->installEventFilter(this);
    }
}

bool LayoutPersonalisation::eventFilter(QObject *watched, QEvent *event)
{
    // Rows of the field tree, dragged from this window (or dropped without a known source, as
    // the platform may deliver them): what is added is the field selected in the tree.
    auto fromTree = [this](const QDropEvent *e) {
        QTreeWidget *tree = ctx.ui.TVCAMPI->tree();
        const QString format = tree->model()->mimeTypes().value(0);
        return e->source() == tree || (!e->source() && e->mimeData() && e->mimeData()->hasFormat(format));
    };
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
        auto *drag = static_cast<QDropEvent *>(event);
        if (fromTree(drag)) {
            drag->acceptProposedAction();
            return true;
        }
    } else if (event->type() == QEvent::Drop) {
        auto *drop = static_cast<QDropEvent *>(event);
        if (fromTree(drop)) {
            drop->acceptProposedAction();
            BUT_SEL_ButtonClick();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void LayoutPersonalisation::CaricaTreeViewCampi()
{
    TreeViewControl *tree = ctx.ui.TVCAMPI;
    ctx.trapped(QStringLiteral("CaricaTreeViewCampi"), {
        [&] {
            for (const Heading &h : headings)
                tree->AddNode(QString(), QLatin1String(h.key), ctx.t(h.textId));
        },
        [&] {
            const ado::RecordsetPtr rs = ctx.Gcnn_Connessione->Execute(DueBilStatements::fieldCatalogue());
            for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext()) {
                tree->AddNode(rs->value(QStringLiteral("CGP1_DESCRTABLE")).toString(),
                              rs->value(QStringLiteral("CGP1_TABLE")).toString() + QLatin1Char('.')
                                  + rs->value(QStringLiteral("CGP1_FIELD")).toString(),
                              ctx.translator.Traduci_CGP1_DESCRIZIONE(rs->value(QStringLiteral("CGP1_ID"))));
            }
        },
    });
}

void LayoutPersonalisation::InitGrid()
{
    GridControl *grid = ctx.ui.QGRID_LAYOUT;
    ctx.trapped(QStringLiteral("InitGrid"), {[&] {
        grid->ClearColumns();
        grid->setProperty("keyColumn", QStringLiteral("CGP1_ID"));
        grid->setProperty("mode", 2);
        grid->AddColumn(QStringLiteral("CGP1_ID"), QStringLiteral("ID"), GridControl::KindText, 1000, false);
        grid->AddColumn(QStringLiteral("CGP1_FIELD"), ctx.t(FormText::ColCampo), GridControl::KindHidden, 1000, false);
        grid->AddColumn(QStringLiteral("CGP3_VISIBLEORDER"), ctx.t(FormText::ColOrdine), GridControl::KindHidden, 1000,
                        false);
        grid->AddColumn(QStringLiteral("CGP1_DESCRIZIONE"), ctx.t(FormText::ColCampo), GridControl::KindText, 3400, true);
        grid->AddColumn(QStringLiteral("CGP3_SORTTYPE"), ctx.t(FormText::ColTipoOrdinamento), GridControl::KindText, 1290,
                        true);
        grid->AddColumn(QStringLiteral("CGP3_GROUPED"), ctx.t(FormText::ColRaggruppamento), GridControl::KindTick, 1095,
                        true);
        grid->setDataFormatEnabled(true);
    }});
}

void LayoutPersonalisation::rowsChanged()
{
    DataFrame *frame = ctx.FME_LAYOUT.get();
    frame->setBatchPending(true);
    frame->RowChanged();
    frame->Refresh(QString());
}

void LayoutPersonalisation::addSelectedField()
{
    TreeViewControl *tree = ctx.ui.TVCAMPI;
    const ado::RecordsetPtr rs = ctx.FME_LAYOUT->recordset();
    const int refused = editor().addField(*rs, tree->selectedKey(), tree->selectedText(), tree->selectedParentText(),
                                          tree->selectedHasChildren(), ctx.ui.TXT_CAUSALE->Text());
    if (refused != 0) {
        ctx.msgBox(refused, {});
        return;
    }
    ctx.form->setUpdatesEnabled(false);
    rowsChanged();
    ctx.form->setUpdatesEnabled(true);
    ctx.ui.QGRID_LAYOUT->Refresh();
}

void LayoutPersonalisation::BUT_SEL_ButtonClick()
{
    ctx.trapped(QStringLiteral("BUT_SEL_ButtonClick"), {[&] { addSelectedField(); }});
    ctx.form->setUpdatesEnabled(true);
}

void LayoutPersonalisation::TVCAMPI_DblClick()
{
    ctx.trapped(QStringLiteral("TVCAMPI_DblClick"), {[&] {
        if (!ctx.ui.TVCAMPI->selectedKey().isEmpty() && !ctx.ui.TVCAMPI->selectedHasChildren())
            addSelectedField();
    }});
    ctx.form->setUpdatesEnabled(true);
}

void LayoutPersonalisation::BUT_DESEL_ButtonClick()
{
    ctx.trapped(QStringLiteral("BUT_DESEL_ButtonClick"), {
        [&] {
            const ado::RecordsetPtr rs = ctx.FME_LAYOUT->recordset();
            if (rs->RecordCount() == 0 || rs->isBOF() || rs->isEOF()
                || ctx.nz(rs->value(QStringLiteral("CGP1_ID")), 0).toInt() == 0)
                return;
            // The field as the grid shows it, never its column in the database.
            const int answer = ctx.showMessage(
                MessageId::RemoveField, {ctx.translator.Traduci_CGP1_DESCRIZIONE(rs->value(QStringLiteral("CGP1_ID")))}, 4);
            if (answer != MsgAnswer::Yes)
                return;
            rs->Delete();
            // The deleted row is no row to show: the frame and its grid are refreshed once the
            // recordset stands on a live row again.
            if (rs->RecordCount() > 0)
                rs->MoveFirst();
            else
                rs->setFilter(QString());
            rowsChanged();
        },
        [&] { ctx.ui.QGRID_LAYOUT->Refresh(); },
    });
}

void LayoutPersonalisation::BUT_UP_ButtonClick()
{
    ctx.trapped(QStringLiteral("BUT_UP_ButtonClick"), {[&] {
        if (LayoutEditor::moveUp(*ctx.FME_LAYOUT->recordset())) {
            rowsChanged();
            ctx.ui.QGRID_LAYOUT->Refresh();
        }
    }});
}

void LayoutPersonalisation::BUT_DOWN_ButtonClick()
{
    ctx.trapped(QStringLiteral("BUT_DOWN_ButtonClick"), {[&] {
        if (LayoutEditor::moveDown(*ctx.FME_LAYOUT->recordset())) {
            rowsChanged();
            ctx.ui.QGRID_LAYOUT->Refresh();
        }
    }});
}

void LayoutPersonalisation::QGRID_LAYOUT_CellDblClick(const QString &column)
{
    ctx.trapped(QStringLiteral("QGRID_LAYOUT_CellDblClick"), {[&] {
        if (column != QLatin1String("CGP3_SORTTYPE"))
            return;
        if (!LayoutEditor::cycleSort(*ctx.FME_LAYOUT->recordset()))
            return;
        ctx.FME_LAYOUT->setBatchPending(true);
        ctx.FME_CAUSALI->setRecordChanged(true);
        ctx.ui.INTERNAV->setChanged(true);
        ctx.ui.QGRID_LAYOUT->Refresh();
    }});
}

void LayoutPersonalisation::QGRID_LAYOUT_DataFormatEXT(QString *text, const QString &column, const FieldReader &fields)
{
    ctx.trapped(QStringLiteral("QGRID_LAYOUT_DataFormatEXT"), {[&] {
        if (column == QLatin1String("CGP3_SORTTYPE")) {
            const int id = LayoutEditor::sortTextId(fields(column));
            *text = id ? ctx.t(id) : QString();
        } else if (column == QLatin1String("CGP1_DESCRIZIONE")) {
            *text = ctx.translator.Traduci_CGP1_DESCRIZIONE(fields(QStringLiteral("CGP1_ID")));
        }
    }});
}

void LayoutPersonalisation::QGRID_LAYOUT_SelectAllClickEXT()
{
    ctx.trapped(QStringLiteral("QGRID_LAYOUT_SelectAllClickEXT"), {[&] { rowsChanged(); }});
}

void LayoutPersonalisation::QGRID_LAYOUT_SelectionBoxClick()
{
    ctx.trapped(QStringLiteral("QGRID_LAYOUT_SelectionBoxClick"), {[&] { rowsChanged(); }});
}

void LayoutPersonalisation::UpdateLayOut()
{
    const ado::RecordsetPtr rs = ctx.FME_LAYOUT->recordset();
    if (!rs || rs->State() != ado::ObjectState::Open || !ctx.Gcls_Servizi)
        return;
    const QString causal = ctx.causalCode();
    // The rows now stand in the table: read them back so the grid shows what is stored and the
    // frame holds no change left to save.
    auto reread = [this, rs] {
        rs->Requery(-1);
        ctx.FME_LAYOUT->PrepareNewSource();
        ctx.FME_LAYOUT->RowChanged();
        ctx.FME_LAYOUT->setRecordChanged(false);
    };
    // The layout is written whole, so it counts as one value of the causal: left alone when this
    // user did not change it (a layout another user saved meanwhile stays), refused as a
    // conflict when another user changed it since it was read.
    const LayoutEditor::Rows asRead = LayoutEditor::rows(*rs, true);
    if (LayoutEditor::rows(*rs, false) == asRead) {
        // The grid already shows the stored rows: nothing to write, nothing to read again (edits
        // that came back to the stored values are dropped in memory).
        if (rs->hasPendingChanges())
            rs->CancelBatch();
        ctx.FME_LAYOUT->setRecordChanged(false);
        return;
    }
    const bool inSave = ctx.Gcnn_Connessione->inTransaction();
    if (inSave && editor().storedRows(causal) != asRead) {
        ctx.FME_CAUSALI->SaveFailed(QStringLiteral("CGP3_DUEBILGRIGLIA: CGP3_CAUSALE_CGP0 = %1").arg(causal));
        return;
    }
    if (editor().UpdateLayOut(*rs, causal, ctx.Gcls_Servizi->errorTrap()))
        ctx.Gcnn_Connessione->onCommit(reread);
    else if (inSave)
        ctx.FME_CAUSALI->SaveFailed();
}

void LayoutPersonalisation::FME_LAYOUT_UpdateBatchAll()
{
    ctx.trapped(QStringLiteral("FME_LAYOUT_UpdateBatchAll"),
                {[&] { return FormContext::endBatch(ctx.FME_LAYOUT.get(), false); }});
}
