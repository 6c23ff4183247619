#include "controls/gridcontrol.h"

#include "ado/connection.h"
#include "controls/gridnavigator.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
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
    QPointer<GridNavigator> navigator;
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
    d->table->installEventFilter(this);

    connect(d->table, &QTableWidget::currentCellChanged, this, [this](int row, int, int previous, int) {
        if (d->filling || row < 0 || row == previous || !d->recordset || row >= d->bookmarks.size())
            return;
        if (!d->rowMover) {
            d->recordset->setBookmark(d->bookmarks.at(row));
        } else if (const ado::ReadScope action; !d->rowMover(d->bookmarks.at(row))) {
            d->filling = true;
            d->table->setCurrentCell(previous, firstVisibleColumn());
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
        fillRow(row, *rows);
    }
    if (currentRow >= 0)
        d->table->setCurrentCell(currentRow, firstVisibleColumn());
    d->filling = false;
}

void GridControl::fillRow(int row, const ado::Recordset &rows)
{
    const FieldReader fields = [&rows](const QString &name) {
        return rows.hasField(name) ? rows.value(name) : QVariant();
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

void GridControl::refreshCurrentRow()
{
    const ado::RecordsetPtr rs = d->recordset;
    const qsizetype row = rs && rs->State() == ado::ObjectState::Open && !rs->isBOF() && !rs->isEOF()
        ? d->bookmarks.indexOf(rs->Bookmark())
        : -1;
    if (row < 0 || rs->RecordCount() != d->bookmarks.size())
        return Refresh();
    d->filling = true;
    fillRow(int(row), *rs);
    d->filling = false;
}

int GridControl::firstVisibleColumn() const
{
    for (int c = 0; c < d->table->columnCount(); ++c) {
        if (!d->table->isColumnHidden(c))
            return c;
    }
    return 0;
}

void GridControl::setNavigator(GridNavigator *navigator) { d->navigator = navigator; }

bool GridControl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == d->table) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (keyPressed(key->key(), key->modifiers() & ~Qt::KeypadModifier))
                return true;
        } else if (event->type() == QEvent::FocusIn && d->table->rowCount() > 0) {
            // Reached by Tab: the row the frame is on, or the first, is the one the keys work on.
            const QModelIndex current = d->table->currentIndex();
            if (!current.isValid() || d->table->isColumnHidden(current.column())) {
                d->filling = true;
                d->table->setCurrentCell(qMax(0, current.row()), firstVisibleColumn());
                d->filling = false;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool GridControl::keyPressed(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers != Qt::NoModifier)
        return false;
    const int row = d->table->currentRow();
    switch (key) {
    case Qt::Key_Space: {
        // The tick of the current cell, or else of the row's tick-box column.
        if (row < 0)
            return true;
        int column = d->table->currentColumn();
        if (column < 0 || column >= d->columns.size() || d->columns.at(column).kind != KindTick) {
            column = -1;
            for (int c = 0; c < d->columns.size() && column < 0; ++c) {
                if (d->columns.at(c).kind == KindTick && d->columns.at(c).visible)
                    column = c;
            }
        }
        if (QTableWidgetItem *item = column >= 0 ? d->table->item(row, column) : nullptr)
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        return true;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // What a double click on the current cell does.
        const int column = d->table->currentColumn();
        if (row >= 0 && column >= 0 && column < d->columns.size())
            doubleClickCell(row, d->columns.at(column).name);
        return true;
    }
    case Qt::Key_Insert:
    case Qt::Key_Delete:
        if (d->navigator && d->navigator->isEnabled())
            d->navigator->press(key == Qt::Key_Insert ? QStringLiteral("Nuovo") : QStringLiteral("Elimina"));
        return d->navigator;
    default:
        return false;
    }
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
