#include "lookupdialog.h"

#include "adoerror.h"
#include "recordset.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QVBoxLayout>

LookupDialog::LookupDialog(const ado::ConnectionPtr &connection, const QString &statement, const QVariant &columns,
                           const QString &title, int returnColumn, QWidget *parent)
    : QDialog(parent), m_search(new QLineEdit(this)), m_table(new QTableWidget(this)), m_returnColumn(returnColumn)
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

    QStringList titles;
    QList<int> indexes;
    QStringList fields;
    try {
        const ado::RecordsetPtr rs = connection->Execute(statement);
        fields = rs->fieldNames();
        for (const QVariant &c : columns.toList()) {
            const QVariantMap map = c.toMap();
            titles.append(map.value(QStringLiteral("title")).toString());
            indexes.append(map.value(QStringLiteral("index")).toInt());
        }
        if (indexes.isEmpty()) {
            titles = fields;
            for (int i = 0; i < fields.size(); ++i)
                indexes.append(i);
        }
        for (; !rs->isEOF(); rs->MoveNext()) {
            QStringList row;
            for (const QString &f : fields)
                row.append(rs->value(f).toString());
            m_rows.append(row);
        }
    } catch (const ado::AdoError &e) {
        m_error = e.message();
    }
    m_table->setColumnCount(int(titles.size()));
    m_table->setHorizontalHeaderLabels(titles);
    m_table->setProperty("indexes", QVariant::fromValue(indexes));
    connect(m_search, &QLineEdit::textChanged, this, &LookupDialog::applySearch);
    connect(m_table, &QTableWidget::cellDoubleClicked, this, [this](int row) {
        if (chooseRow(row))
            accept();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (chooseRow(m_table->currentRow()))
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    applySearch();
    m_search->setFocus();
}

LookupDialog::~LookupDialog() = default;

void LookupDialog::applySearch()
{
    const QList<int> indexes = m_table->property("indexes").value<QList<int>>();
    const QString search = m_search->text().trimmed();
    m_table->setRowCount(0);
    for (int r = 0; r < m_rows.size(); ++r) {
        const QStringList &row = m_rows.at(r);
        bool match = search.isEmpty();
        for (int i = 0; !match && i < row.size(); ++i)
            match = row.at(i).contains(search, Qt::CaseInsensitive);
        if (!match)
            continue;
        const int at = m_table->rowCount();
        m_table->insertRow(at);
        for (int c = 0; c < indexes.size(); ++c) {
            auto *item = new QTableWidgetItem(row.value(indexes.at(c)));
            item->setData(Qt::UserRole, r);
            m_table->setItem(at, c, item);
        }
    }
    if (m_table->rowCount() > 0)
        m_table->setCurrentCell(0, 0);
}

int LookupDialog::rowCount() const { return m_table->rowCount(); }
void LookupDialog::setSearch(const QString &text) { m_search->setText(text); }

bool LookupDialog::chooseRow(int visibleRow)
{
    const QTableWidgetItem *item = visibleRow >= 0 ? m_table->item(visibleRow, 0) : nullptr;
    if (!item)
        return false;
    m_chosen = m_rows.at(item->data(Qt::UserRole).toInt()).value(m_returnColumn);
    return true;
}

QString LookupDialog::chosenCode() const { return m_chosen; }
QString LookupDialog::errorString() const { return m_error; }
