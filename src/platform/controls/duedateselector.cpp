#include "controls/duedateselector.h"

#include "ado/statementlog.h"

#include "ado/recordset.h"
#include "ado/transactionguard.h"

#include <QListWidget>
#include <QSqlError>
#include <QSqlQuery>
#include <QVBoxLayout>

namespace {

bool prepareLogged(const ado::Connection &connection, QSqlQuery &query, const QString &sql)
{
    ado::StatementLog::record(connection, sql);
    return query.prepare(sql);
}

} // namespace

const QList<DueDateSelector::Type> &DueDateSelector::types()
{
    static const QList<Type> list = {
        {0, "tipotutti"},          {13, "tipocontanti"},         {3, "tiporicevutabancaria"},
        {2, "tipotratta"},         {4, "tipotratta_accettata"},  {7, "tipocessione"},
        {8, "tipocambiale"},       {9, "tipocarta_di_credito"},  {10, "tipobancomat"},
        {11, "tipocontrassegno"},  {12, "tipolettera_di_credito"}, {5, "tiporid"},
        {16, "tipoleasing"},       {1, "tiporimessa_diretta"},   {14, "tipobonifico_bancario"},
        {15, "tipocc_postale"},    {6, "tipomav"},               {17, "tiposolo_descrittivo"},
    };
    return list;
}

DueDateSelector::DueDateSelector(QWidget *parent) : QWidget(parent), m_list(new QListWidget(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);
    setFocusProxy(m_list);
    fill();
    connect(m_list, &QListWidget::itemChanged, this, [this](QListWidgetItem *item) {
        if (m_filling)
            return;
        const int code = item->data(Qt::UserRole).toInt();
        const bool ticked = item->checkState() == Qt::Checked;
        m_filling = true;
        if (code == AllTypes) {
            // "All" ticks or clears every type at once.
            for (int i = 0; i < m_list->count(); ++i)
                m_list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
            for (const Type &t : types())
                m_rows[t.code].selected = ticked;
        } else {
            m_rows[code].selected = ticked;
        }
        m_filling = false;
        emit AfterChange();
    });
}

DueDateSelector::~DueDateSelector() = default;

void DueDateSelector::fill()
{
    m_filling = true;
    m_list->clear();
    for (const Type &t : types()) {
        auto *item = new QListWidgetItem(m_text ? m_text(TextBase + t.code) : QString::fromLatin1(t.flag), m_list);
        item->setData(Qt::UserRole, t.code);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(m_rows.value(t.code).selected ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
}

void DueDateSelector::setConnection(const ado::ConnectionPtr &connection) { m_connection = connection; }
void DueDateSelector::setHostInterface(QObject *contract) { m_contract = contract; }
void DueDateSelector::setForm(QObject *form) { m_form = form; }
void DueDateSelector::setCompany(const QString &company) { m_company = company; }
void DueDateSelector::setUObject(const QString &uobject) { m_uobject = uobject; }

void DueDateSelector::setTextLookup(const std::function<QString(int)> &text)
{
    m_text = text;
    fill();
}

bool DueDateSelector::subtypesEnabled() const { return m_subtypes; }
void DueDateSelector::setSubtypesEnabled(bool enabled) { m_subtypes = enabled; }

void DueDateSelector::setTypeShown(int code, bool shown)
{
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->data(Qt::UserRole).toInt() == code)
            m_list->item(i)->setHidden(!shown);
    }
}

void DueDateSelector::Codice(const QString &code)
{
    m_code = code.trimmed();
    m_rows = storedRows();
    m_read = m_rows;
    fill();
}

QMap<int, DueDateSelector::Row> DueDateSelector::storedRows() const
{
    QMap<int, Row> rows;
    bool numeric = false;
    m_code.toInt(&numeric);
    if (m_connection && m_connection->State() == ado::ObjectState::Open && numeric) {
        QSqlQuery q(m_connection->database());
        prepareLogged(*m_connection, q, QStringLiteral("SELECT FW41_INDTIPOPAG, FW41_SELEZIONATO, FW41_DATIPO, FW41_ALTIPO"
                                 " FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_DITTA_CG18 = ? AND FW41_UOBJECT = ?"
                                 " AND FW41_CODICE = ?"));
        q.addBindValue(m_company.toInt());
        q.addBindValue(m_uobject);
        q.addBindValue(m_code.toInt());
        if (q.exec()) {
            while (q.next())
                rows.insert(q.value(0).toInt(), {q.value(1).toInt() == 1, q.value(2), q.value(3)});
        }
    }
    return rows;
}

QList<QStringList> DueDateSelector::written(const QMap<int, Row> &rows)
{
    QList<QStringList> list;
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        if (it.key() == AllTypes)
            continue;
        const Row &row = it.value();
        const QVariant from = row.selected && !row.from.isValid() ? QVariant(it.key()) : row.from;
        const QVariant to = row.selected && !row.to.isValid() ? QVariant(it.key()) : row.to;
        list.append({QString::number(it.key()), row.selected ? QStringLiteral("1") : QStringLiteral("0"),
                     from.toString(), to.toString()});
    }
    return list;
}

bool DueDateSelector::conflict() const { return m_conflict; }

QString DueDateSelector::codice() const { return m_code; }

bool DueDateSelector::Salva()
{
    m_conflict = false;
    bool numeric = false;
    m_code.toInt(&numeric);
    if (!m_connection || m_connection->State() != ado::ObjectState::Open || !numeric)
        return false;
    if (written(m_rows) == written(m_read))
        return true;
    QSqlDatabase db = m_connection->database();
    // Inside a caller's transaction the caller commits or rolls back.
    std::optional<ado::TransactionGuard> transaction;
    if (!m_connection->inTransaction())
        transaction.emplace(*m_connection);
    // Read inside the transaction that writes, so nobody slips in between.
    m_conflict = written(storedRows()) != written(m_read);
    bool ok = !m_conflict;
    QSqlQuery remove(db);
    prepareLogged(*m_connection, remove, QStringLiteral("DELETE FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_DITTA_CG18 = ? AND FW41_UOBJECT = ?"
                                  " AND FW41_CODICE = ?"));
    remove.addBindValue(m_company.toInt());
    remove.addBindValue(m_uobject);
    remove.addBindValue(m_code.toInt());
    ok = ok && remove.exec();
    QSqlQuery insert(db);
    prepareLogged(*m_connection, insert, QStringLiteral("INSERT INTO FW41_SELEZIONEPARAMSCADENZE (FW41_DITTA_CG18, FW41_UOBJECT, FW41_CODICE,"
                                  " FW41_INDTIPOPAG, FW41_SELEZIONATO, FW41_DATIPO, FW41_ALTIPO) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    for (auto it = m_rows.cbegin(); ok && it != m_rows.cend(); ++it) {
        if (it.key() == AllTypes)
            continue;
        insert.addBindValue(m_company.toInt());
        insert.addBindValue(m_uobject);
        insert.addBindValue(m_code.toInt());
        insert.addBindValue(it.key());
        insert.addBindValue(it.value().selected ? 1 : 0);
        insert.addBindValue(it.value().selected && !it.value().from.isValid() ? QVariant(it.key()) : it.value().from);
        insert.addBindValue(it.value().selected && !it.value().to.isValid() ? QVariant(it.key()) : it.value().to);
        ok = insert.exec();
    }
    if (transaction && ok)
        transaction->commit();
    // What was written is what the next save compares with, once it is committed.
    if (ok)
        m_connection->onCommit([this, rows = m_rows] { m_read = rows; });
    return ok;
}

bool DueDateSelector::Elimina()
{
    bool numeric = false;
    m_code.toInt(&numeric);
    if (!m_connection || m_connection->State() != ado::ObjectState::Open || !numeric)
        return false;
    QSqlQuery remove(m_connection->database());
    prepareLogged(*m_connection, remove, QStringLiteral("DELETE FROM FW41_SELEZIONEPARAMSCADENZE WHERE FW41_UOBJECT = ? AND FW41_CODICE = ?"));
    remove.addBindValue(m_uobject);
    remove.addBindValue(m_code.toInt());
    const bool ok = remove.exec();
    if (ok) {
        m_rows.clear();
        m_read.clear();
        fill();
    }
    return ok;
}

QList<int> DueDateSelector::tickedTypes() const
{
    QList<int> ticked;
    for (auto it = m_rows.cbegin(); it != m_rows.cend(); ++it) {
        if (it.value().selected && it.key() != AllTypes)
            ticked.append(it.key());
    }
    return ticked;
}

void DueDateSelector::setTicked(int code, bool ticked)
{
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->data(Qt::UserRole).toInt() == code)
            m_list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
    }
}

bool DueDateSelector::isTicked(int code) const { return m_rows.value(code).selected; }
