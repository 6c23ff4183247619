#include "controls/lookupdialog.h"

#include "ado/statementlog.h"
#include "controls/designfont.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTreeView>
#include <QVBoxLayout>
#include <limits>

// The statement's rows, read forward a block at a time as the view asks for more (the way
// QSqlQueryModel does), and the ones the search leaves visible. A model rather than one item
// per cell, and texts only for the rows read: a ledger's list of accounts runs to a hundred
// thousand rows, of which the window shows twenty.
class LookupDialog::Rows : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    static constexpr int Block = 256;
    // Enough to fill the list at its size and well beyond; the view asks for more when its
    // last row comes into sight, so a taller window reads on by itself.
    static constexpr int FirstBlock = 64;

    QSqlQuery query;
    // Over ODBC a half-read statement keeps the connection busy and, on SQL Server, its locks:
    // there each block is a statement of its own, read whole, from where the last one ended.
    QSqlDatabase pagedDatabase;
    QString pagedStatement;
    ado::Dialect pagedDialect = ado::Dialect::SqlServer;
    int pagedOffset = 0;
    int fieldCount = 0;
    bool more = false;
    QList<QStringList> rows;
    QStringList titles;
    QList<int> columns;
    QString search;
    QList<int> visible;  // rows matching a search; unused while there is none

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(search.isEmpty() ? rows.size() : visible.size());
    }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(columns.size()); }

    const QStringList &row(int visibleRow) const
    {
        return rows.at(search.isEmpty() ? visibleRow : visible.at(visibleRow));
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return row(index.row()).value(columns.at(index.column()));
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return titles.value(section);
        return {};
    }

    // A search reads every row first, so it finds them all.
    bool canFetchMore(const QModelIndex &parent) const override { return !parent.isValid() && more; }

    void fetchMore(const QModelIndex &parent) override
    {
        if (parent.isValid() || !more)
            return;
        const int first = int(rows.size());
        QList<QStringList> block = read(Block);
        if (block.isEmpty())
            return;
        beginInsertRows({}, first, first + int(block.size()) - 1);
        rows.append(std::move(block));
        endInsertRows();
    }

    void fetchAll()
    {
        if (paged() && more) {
            const int first = int(rows.size());
            QList<QStringList> rest = read(std::numeric_limits<int>::max());
            if (!rest.isEmpty()) {
                beginInsertRows({}, first, first + int(rest.size()) - 1);
                rows.append(std::move(rest));
                endInsertRows();
            }
        }
        while (more)
            fetchMore({});
    }

    bool paged() const { return !pagedStatement.isEmpty(); }

    // The texts of the row the query stands on.
    QStringList rowOf(const QSqlQuery &at) const
    {
        QStringList row;
        row.reserve(fieldCount);
        for (int i = 0; i < fieldCount; ++i) {
            const QVariant v = at.value(i);
            row.append(v.isNull() ? QString() : v.toString());
        }
        return row;
    }

    // The rows from the offset on: count of them, or all that are left.
    QString page(int count) const
    {
        const bool rest = count == std::numeric_limits<int>::max();
        if (pagedDialect == ado::Dialect::Sqlite)
            return pagedStatement + QStringLiteral(" LIMIT %1 OFFSET %2").arg(rest ? -1 : count).arg(pagedOffset);
        return pagedStatement + (rest ? QStringLiteral(" OFFSET %1 ROWS").arg(pagedOffset)
                                      : QStringLiteral(" OFFSET %1 ROWS FETCH NEXT %2 ROWS ONLY").arg(pagedOffset).arg(count));
    }

    QList<QStringList> readPage(int count)
    {
        QList<QStringList> block;
        QSqlQuery pageQuery(pagedDatabase);
        pageQuery.setForwardOnly(true);
        if (!pageQuery.exec(page(count))) {
            more = false;
            return block;
        }
        while (pageQuery.next()) {
            block.append(rowOf(pageQuery));
        }
        pageQuery.finish();
        pagedOffset += int(block.size());
        more = count != std::numeric_limits<int>::max() && block.size() == count;
        return block;
    }

    QList<QStringList> read(int count)
    {
        if (paged())
            return more ? readPage(count) : QList<QStringList>();
        QList<QStringList> block;
        block.reserve(qMin(count, Block));
        while (more && block.size() < count) {
            if (!query.next()) {
                more = false;
                query.finish();  // the statement lets go of the database
                break;
            }
            block.append(rowOf(query));
        }
        return block;
    }

    void filter(const QString &text)
    {
        beginResetModel();
        search = text;
        visible.clear();
        if (!search.isEmpty()) {
            while (more)
                rows.append(read(paged() ? std::numeric_limits<int>::max() : Block));
            for (int r = 0; r < rows.size(); ++r) {
                const QStringList &row = rows.at(r);
                bool match = false;
                for (int i = 0; !match && i < row.size(); ++i)
                    match = row.at(i).contains(search, Qt::CaseInsensitive);
                if (match)
                    visible.append(r);
            }
        }
        endResetModel();
    }
};

// Ctrl+End reaches the statement's last row, not the last one read so far; moving down near
// the end of what was read reads on, as scrolling does. A flat tree rather than a table: a
// table builds a second header (hidden here, with a viewport and scroll bars of its own) and
// connects it to the rows, which is most of what opening the list costs.
class LookupDialog::Table : public QTreeView
{
public:
    Table(Rows *rows, QWidget *parent) : QTreeView(parent), m_rows(rows)
    {
        setRootIsDecorated(false);
        setItemsExpandable(false);
        setUniformRowHeights(true);
        setAllColumnsShowFocus(true);
    }

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        if (action == MoveEnd && modifiers.testFlag(Qt::ControlModifier))
            m_rows->fetchAll();
        else if ((action == MoveDown || action == MovePageDown || action == MoveNext)
                 && currentIndex().row() + qMax(1, viewport()->height() / qMax(1, rowHeight(m_rows->index(0, 0))))
                     >= m_rows->rowCount())
            m_rows->fetchMore({});
        return QTreeView::moveCursor(action, modifiers);
    }

private:
    Rows *m_rows;
};

namespace {

// Paging needs a stable order, and SQL Server refuses OFFSET beside TOP.
bool readsInPages(const QSqlDatabase &db, const QString &statement)
{
    if (db.driverName() != QLatin1String("QODBC"))
        return false;
    static const QRegularExpression top(QStringLiteral("^\\s*SELECT\\s+(DISTINCT\\s+)?TOP\\b"),
                                        QRegularExpression::CaseInsensitiveOption);
    const int orderBy = statement.lastIndexOf(QLatin1String("ORDER BY"), -1, Qt::CaseInsensitive);
    return orderBy > statement.lastIndexOf(QLatin1Char(')')) && !top.match(statement).hasMatch();
}

bool readsBesideWriters(const QSqlDatabase &db)
{
    if (db.driverName() != QLatin1String("QSQLITE"))
        return false;
    QSqlQuery mode(db);
    return mode.exec(QStringLiteral("PRAGMA journal_mode")) && mode.next()
        && mode.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
}

} // namespace

LookupDialog::LookupDialog(const ado::ConnectionPtr &connection, const QString &statement, const QVariant &columns,
                           const QString &title, int returnColumn, QWidget *parent)
    : QDialog(parent), m_search(new QLineEdit(this)), m_rows(std::make_unique<Rows>()), m_returnColumn(returnColumn)
{
    m_table = new Table(m_rows.get(), this);
    // The list is a window of its own: it takes the forms' font, not the desktop's.
    setFont(DesignFont::font());
    setWindowTitle(title);
    resize(520, 380);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_table);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(m_buttons);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->header()->setStretchLastSection(true);
    // Down and PgDown in the search box go on into the list.
    m_search->installEventFilter(this);

    for (const QVariant &c : columns.toList()) {
        const QVariantMap map = c.toMap();
        m_rows->titles.append(map.value(QStringLiteral("title")).toString());
        m_rows->columns.append(map.value(QStringLiteral("index")).toInt());
    }
    if (!connection || connection->State() == ado::ObjectState::Closed) {
        m_error = QStringLiteral("The connection is closed");
    } else {
        QSqlQuery &query = m_rows->query;
        query = QSqlQuery(connection->database());
        query.setForwardOnly(true);
        ado::StatementLog::record(*connection, statement);
        const QString native = connection->nativeSql(statement).trimmed();
        const bool paged = readsInPages(connection->database(), native);
        if (paged) {
            m_rows->pagedDatabase = connection->database();
            m_rows->pagedStatement = native;
            m_rows->pagedDialect = connection->dialect();
        }
        // A paged list learns its columns from a page of one row (SQL Server fetches no fewer).
        if (query.exec(paged ? m_rows->page(1) : native)) {
            const QSqlRecord record = query.record();
            m_rows->fieldCount = record.count();
            m_rows->more = query.isSelect();
            if (m_rows->columns.isEmpty()) {
                for (int i = 0; i < record.count(); ++i) {
                    m_rows->titles.append(record.fieldName(i));
                    m_rows->columns.append(i);
                }
            }
            if (paged)
                query.finish();
            m_rows->rows = m_rows->read(Rows::FirstBlock);
            // A statement left half read keeps its read open until the list closes: harmless
            // to writers only on an embedded database in WAL mode. Elsewhere (ODBC, where the
            // connection is busy until its results are read, or a rollback journal, where the
            // read lock keeps other writers out) the list reads every row at once, as it did.
            if (m_rows->more && !paged && !readsBesideWriters(connection->database()))
                m_rows->rows.append(m_rows->read(std::numeric_limits<int>::max()));
        } else {
            const QSqlError error = query.lastError();
            m_error = (error.databaseText().isEmpty() ? error.text() : error.databaseText()).trimmed();
        }
    }
    m_table->setModel(m_rows.get());
    connect(m_search, &QLineEdit::textChanged, this, &LookupDialog::applySearch);
    connect(m_table, &QTreeView::doubleClicked, this, [this](const QModelIndex &index) {
        if (chooseRow(index.row()))
            accept();
    });
    connect(m_buttons, &QDialogButtonBox::accepted, this, [this] {
        if (chooseRow(m_table->currentIndex().row()))
            accept();
    });
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    applySearch();
    m_search->setFocus();
}

LookupDialog::~LookupDialog() = default;

void LookupDialog::applySearch()
{
    m_rows->filter(m_search->text().trimmed());
    // The first row becomes current when the list shows: placing the cursor lays out the rows,
    // work that a list not yet on screen would do twice.
    if (isVisible())
        selectFirstRow();
}

void LookupDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    fitColumns();
    if (!m_table->currentIndex().isValid())
        selectFirstRow();
}

bool LookupDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_search && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_PageDown) {
            m_table->setFocus(Qt::TabFocusReason);
            if (!m_table->currentIndex().isValid())
                selectFirstRow();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Each column as wide as its widest text among the rows read (the last one takes what is
// left); the window widens, within the screen, so that no column is cut.
void LookupDialog::fitColumns()
{
    QHeaderView *header = m_table->header();
    const int columns = m_rows->columnCount();
    int needed = 0;
    for (int c = 0; c < columns; ++c) {
        m_table->resizeColumnToContents(c);
        needed += header->sectionSize(c);
    }
    const int frame = width() - m_table->viewport()->width();
    const int room = screen() ? screen()->availableGeometry().width() * 9 / 10 : 1000;
    if (needed + frame > width())
        resize(qMin(needed + frame, room), height());
}

void LookupDialog::selectFirstRow()
{
    int row = 0;
    if (!m_current.isEmpty() && m_rows->search.isEmpty() && !m_rows->columns.isEmpty()) {
        const int column = m_rows->columns.first();
        const auto holds = [&](int r) {
            return m_rows->rows.at(r).value(column).trimmed().compare(m_current, Qt::CaseInsensitive) == 0;
        };
        int found = -1;
        for (int r = 0; found < 0; ++r) {
            while (r >= m_rows->rows.size() && m_rows->canFetchMore({}))
                m_rows->fetchMore({});
            if (r >= m_rows->rows.size())
                break;
            if (holds(r))
                found = r;
        }
        row = qMax(found, 0);
    }
    if (m_rows->rowCount() > row) {
        m_table->setCurrentIndex(m_rows->index(row, 0));
        m_table->scrollTo(m_rows->index(row, 0), QAbstractItemView::PositionAtCenter);
    }
}

void LookupDialog::setCurrentCode(const QString &code)
{
    m_current = code.trimmed();
    if (isVisible())
        selectFirstRow();
}

int LookupDialog::currentRow() const
{
    return m_table->currentIndex().row();
}

int LookupDialog::rowCount() const
{
    m_rows->fetchAll();
    return m_rows->rowCount();
}

int LookupDialog::loadedRowCount() const { return m_rows->rowCount(); }
void LookupDialog::setSearch(const QString &text) { m_search->setText(text); }

bool LookupDialog::chooseRow(int visibleRow)
{
    while (visibleRow >= m_rows->rowCount() && m_rows->canFetchMore({}))
        m_rows->fetchMore({});
    if (visibleRow < 0 || visibleRow >= m_rows->rowCount())
        return false;
    m_chosen = m_rows->row(visibleRow).value(m_returnColumn);
    return true;
}

QString LookupDialog::chosenCode() const { return m_chosen; }
QString LookupDialog::errorString() const { return m_error; }

void LookupDialog::setButtonCaptions(const QString &ok, const QString &cancel)
{
    m_buttons->button(QDialogButtonBox::Ok)->setText(ok);
    m_buttons->button(QDialogButtonBox::Cancel)->setText(cancel);
}
