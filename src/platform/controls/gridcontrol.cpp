#include "gridcontrol.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>

struct GridControl::Private
{
    struct Column
    {
        QString name;
        QString title;
        int kind = KindText;
        int width = 1000;
        bool visible = true;
    };
    QTableWidget *table = nullptr;
    QList<Column> columns;
    ado::RecordsetPtr recordset;
    std::function<bool(const QVariant &)> rowMover;
    QList<QVariant> bookmarks;
    bool formatEnabled = false;
    bool filling = false;
};

GridControl::GridControl(QWidget *parent) : QWidget(parent), d(std::make_unique<Private>())
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    d->table = new QTableWidget(this);
    d->table->setSelectionBehavior(QAbstractItemView::SelectRows);
    d->table->setSelectionMode(QAbstractItemView::SingleSelection);
    d->table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    d->table->verticalHeader()->setVisible(false);
    // Tab leaves the grid for the next control; the arrows move between the cells.
    d->table->setTabKeyNavigation(false);
    d->table->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(d->table);
    setFocusProxy(d->table);

    connect(d->table, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (d->filling || row < 0 || row == previous || !d->recordset || row >= d->bookmarks.size())
            return;
        if (!d->rowMover) {
            d->recordset->setBookmark(d->bookmarks.at(row));
        } else if (!d->rowMover(d->bookmarks.at(row))) {
            d->filling = true;
            d->table->setCurrentCell(previous, 0);
            d->filling = false;
            return;
        }
        emit RowChanged();
    });
    connect(d->table, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
        if (column >= 0 && column < d->columns.size())
            doubleClickCell(row, d->columns.at(column).name);
    });
    connect(d->table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (d->filling || item->column() >= d->columns.size() || d->columns.at(item->column()).kind != KindTick)
            return;
        tick(item->row(), d->columns.at(item->column()).name, item->checkState() == Qt::Checked);
    });
}

GridControl::~GridControl() = default;

void GridControl::ClearColumns()
{
    d->columns.clear();
    d->table->setColumnCount(0);
}

void GridControl::AddColumn(const QString &column, const QString &title, int kind, int widthTwips, bool visible)
{
    d->columns.append({column, title, kind, widthTwips, visible});
    const int index = int(d->columns.size()) - 1;
    d->table->setColumnCount(index + 1);
    d->table->setHorizontalHeaderItem(index, new QTableWidgetItem(title));
    // 15 twips to a pixel at the usual 96 dpi; never narrower than the column's title.
    d->table->setColumnWidth(index, qMax(widthTwips / 15, d->table->horizontalHeader()->sectionSizeHint(index)));
    d->table->setColumnHidden(index, !visible);
}

QStringList GridControl::columns() const
{
    QStringList names;
    for (const auto &c : d->columns)
        names.append(c.name);
    return names;
}

QString GridControl::columnTitle(const QString &column) const
{
    for (const auto &c : d->columns) {
        if (c.name == column)
            return c.title;
    }
    return {};
}

bool GridControl::isColumnVisible(const QString &column) const
{
    for (const auto &c : d->columns) {
        if (c.name == column)
            return c.visible;
    }
    return false;
}

bool GridControl::dataFormatEnabled() const { return d->formatEnabled; }
void GridControl::setDataFormatEnabled(bool enabled) { d->formatEnabled = enabled; }

void GridControl::setRecordset(const ado::RecordsetPtr &recordset)
{
    d->recordset = recordset;
    Refresh();
}

ado::RecordsetPtr GridControl::recordset() const { return d->recordset; }

void GridControl::setRowMover(std::function<bool(const QVariant &)> mover) { d->rowMover = std::move(mover); }

void GridControl::Refresh()
{
    d->filling = true;
    d->bookmarks.clear();
    d->table->clearContents();
    d->table->setRowCount(0);
    const ado::RecordsetPtr rs = d->recordset;
    if (!rs || rs->State() != ado::ObjectState::Open) {
        d->filling = false;
        return;
    }
    const QVariant current = (!rs->isBOF() && !rs->isEOF()) ? rs->Bookmark() : QVariant();
    const ado::RecordsetPtr rows = rs->Clone();
    rows->setSort(rs->Sort());
    int currentRow = -1;
    for (rows->MoveFirst(); !rows->isEOF(); rows->MoveNext()) {
        const int row = d->table->rowCount();
        d->table->insertRow(row);
        d->bookmarks.append(rows->Bookmark());
        if (rows->Bookmark() == current)
            currentRow = row;
        const FieldReader fields = [&rows](const QString &name) {
            return rows->hasField(name) ? rows->value(name) : QVariant();
        };
        for (int c = 0; c < d->columns.size(); ++c) {
            const auto &column = d->columns.at(c);
            auto *item = new QTableWidgetItem;
            if (column.kind == KindTick) {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
                item->setCheckState(fields(column.name).toString() == QLatin1String("1") ? Qt::Checked : Qt::Unchecked);
            } else {
                QString text = fields(column.name).toString();
                if (d->formatEnabled)
                    emit DataFormatEXT(&text, column.name, fields);
                item->setText(text);
            }
            d->table->setItem(row, c, item);
        }
    }
    if (currentRow >= 0)
        d->table->setCurrentCell(currentRow, 0);
    d->filling = false;
}

int GridControl::rowCount() const { return d->table->rowCount(); }

QString GridControl::cellText(int row, const QString &column) const
{
    const int c = int(columns().indexOf(column));
    const QTableWidgetItem *item = c >= 0 ? d->table->item(row, c) : nullptr;
    if (!item)
        return {};
    if (d->columns.at(c).kind == KindTick)
        return item->checkState() == Qt::Checked ? QStringLiteral("1") : QStringLiteral("0");
    return item->text();
}

int GridControl::currentRow() const { return d->table->currentRow(); }

void GridControl::doubleClickCell(int row, const QString &column)
{
    if (d->recordset && row >= 0 && row < d->bookmarks.size())
        d->recordset->setBookmark(d->bookmarks.at(row));
    emit CellDblClick(column);
}

void GridControl::tick(int row, const QString &column, bool ticked)
{
    if (!d->recordset || row < 0 || row >= d->bookmarks.size() || !d->recordset->hasField(column))
        return;
    d->recordset->setBookmark(d->bookmarks.at(row));
    d->recordset->setValue(column, ticked ? 1 : 0);
    d->recordset->Update();
    emit SelectionBoxClick();
}
