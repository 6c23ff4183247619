#include "lookupdialog.h"

#include "adoerror.h"
#include "recordset.h"

#include <QAbstractTableModel>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QVBoxLayout>

// The statement's rows as read once, and the ones the search leaves visible. A model rather
// than one item per cell: a ledger's list of accounts runs to a hundred thousand rows.
class LookupDialog::Rows : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    QList<QStringList> rows;
    QStringList titles;
    QList<int> columns;
    QList<int> visible;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(visible.size()); }
    int columnCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(columns.size()); }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return rows.at(visible.at(index.row())).value(columns.at(index.column()));
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return titles.value(section);
        return {};
    }

    void filter(const QString &search)
    {
        beginResetModel();
        visible.clear();
        for (int r = 0; r < rows.size(); ++r) {
            const QStringList &row = rows.at(r);
            bool match = search.isEmpty();
            for (int i = 0; !match && i < row.size(); ++i)
                match = row.at(i).contains(search, Qt::CaseInsensitive);
            if (match)
                visible.append(r);
        }
        endResetModel();
    }
};

LookupDialog::LookupDialog(const ado::ConnectionPtr &connection, const QString &statement, const QVariant &columns,
                           const QString &title, int returnColumn, QWidget *parent)
    : QDialog(parent), m_search(new QLineEdit(this)), m_table(new QTableView(this)), m_rows(std::make_unique<Rows>()),
      m_returnColumn(returnColumn)
{
    setWindowTitle(title);
    resize(520, 380);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_search);
    layout->addWidget(m_table);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);

    try {
        const ado::RecordsetPtr rs = connection->Execute(statement);
        const QStringList fields = rs->fieldNames();
        for (const QVariant &c : columns.toList()) {
            const QVariantMap map = c.toMap();
            m_rows->titles.append(map.value(QStringLiteral("title")).toString());
            m_rows->columns.append(map.value(QStringLiteral("index")).toInt());
        }
        if (m_rows->columns.isEmpty()) {
            m_rows->titles = fields;
            for (int i = 0; i < fields.size(); ++i)
                m_rows->columns.append(i);
        }
        m_rows->rows.reserve(rs->RecordCount());
        for (; !rs->isEOF(); rs->MoveNext()) {
            QStringList row;
            row.reserve(fields.size());
            for (const QString &f : fields)
                row.append(rs->value(f).toString());
            m_rows->rows.append(row);
        }
    } catch (const ado::AdoError &e) {
        m_error = e.message();
    }
    m_table->setModel(m_rows.get());
    connect(m_search, &QLineEdit::textChanged, this, &LookupDialog::applySearch);
    connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex &index) {
        if (chooseRow(index.row()))
            accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (chooseRow(m_table->currentIndex().row()))
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    applySearch();
    m_search->setFocus();
}

LookupDialog::~LookupDialog() = default;

void LookupDialog::applySearch()
{
    m_rows->filter(m_search->text().trimmed());
    if (m_rows->rowCount() > 0)
        m_table->setCurrentIndex(m_rows->index(0, 0));
}

int LookupDialog::rowCount() const { return m_rows->rowCount(); }
void LookupDialog::setSearch(const QString &text) { m_search->setText(text); }

bool LookupDialog::chooseRow(int visibleRow)
{
    if (visibleRow < 0 || visibleRow >= m_rows->rowCount())
        return false;
    m_chosen = m_rows->rows.at(m_rows->visible.at(visibleRow)).value(m_returnColumn);
    return true;
}

QString LookupDialog::chosenCode() const { return m_chosen; }
QString LookupDialog::errorString() const { return m_error; }
