#include "ado/recordset.h"

#include "ado/adoerror.h"
#include "ado/recordset_p.h"
#include "ado/statementlog.h"
#include "ado/transactionguard.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlIndex>
#include <QSqlRecord>
#include <algorithm>
#include <optional>

namespace ado {

namespace {

AdoError usage(const QString &message)
{
    return AdoError(AdoError::Usage, message);
}

// NULL sorts first; numbers compare as numbers, everything else as text without case.
int compareValues(const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid() || a.isNull();
    const bool bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    bool okA = false;
    bool okB = false;
    const double da = a.toDouble(&okA);
    const double db = b.toDouble(&okB);
    if (okA && okB)
        return da < db ? -1 : (da > db ? 1 : 0);
    return QString::compare(a.toString(), b.toString(), Qt::CaseInsensitive);
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    const bool an = !a.isValid() || a.isNull();
    const bool bn = !b.isValid() || b.isNull();
    if (an || bn)
        return an == bn;
    if (a.typeId() == b.typeId())
        return a == b;
    return compareValues(a, b) == 0 && a.toString() == b.toString();
}

// First table after the top-level FROM of a SELECT: the table a batch write goes to.
QString targetTable(const QString &source)
{
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+([A-Za-z_][A-Za-z0-9_]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    // Skip FROM inside parentheses (sub-selects in the column list).
    int depth = 0;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source.at(i);
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (depth == 0 && (c == u'F' || c == u'f')) {
            const QRegularExpressionMatch m = from.match(source, i, QRegularExpression::NormalMatch,
                                                         QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch() && (i == 0 || !source.at(i - 1).isLetterOrNumber()))
                return m.captured(1);
        }
    }
    return {};
}

} // namespace

void SharedRows::setFields(const QStringList &names)
{
    fields = names;
    index.clear();
}

int SharedRows::column(const QString &name) const
{
    const QStringView wanted = QStringView(name).trimmed();
    // Most results have a few columns: compared in place, they cost less than building an index.
    // With duplicate names (joined tables) the first one answers, as a SELECT * would.
    if (fields.size() <= 8) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (wanted.compare(fields.at(i), Qt::CaseInsensitive) == 0)
                return int(i);
        }
        return -1;
    }
    if (index.isEmpty()) {
        index.reserve(fields.size());
        for (qsizetype i = 0; i < fields.size(); ++i) {
            const QString key = fields.at(i).toUpper();
            if (!index.contains(key))
                index.insert(key, int(i));
        }
    }
    return index.value(wanted.toString().toUpper(), -1);
}

void SharedRows::appendRead(QVector<QVariant> values)
{
    if (m_blockUsed == m_blockSize) {
        // Blocks grow with the rows read: a decode's single row takes a block of four.
        m_blockSize = qBound(qsizetype(4), rows.size(), qsizetype(256));
        m_block = std::make_shared<RowData[]>(size_t(m_blockSize));
        m_blockUsed = 0;
    }
    RowData *row = &m_block[m_blockUsed++];
    row->id = nextId++;
    row->original = values;
    row->values = std::move(values);
    rows.append(RowPtr(m_block, row));
}

void RecordsetPrivate::fill(Recordset &rs, QSqlQuery &query)
{
    auto shared = std::make_shared<SharedRows>();
    const QSqlRecord record = query.record();
    QStringList names;
    for (int i = 0; i < record.count(); ++i)
        names.append(record.fieldName(i));
    shared->setFields(names);
    while (query.next()) {
        QVector<QVariant> values;
        values.reserve(names.size());
        for (int i = 0; i < names.size(); ++i) {
            const QVariant v = query.value(i);
            values.append(v.isNull() ? QVariant() : v);
        }
        shared->appendRead(std::move(values));
    }
    if (query.lastError().isValid())
        throw errorFrom(query.lastError(), query.lastQuery());
    adopt(rs, std::move(shared));
}

RecordsetPtr RecordsetPrivate::copyOf(const Recordset &rs)
{
    const SharedRows &from = *rs.d->shared;
    auto shared = std::make_shared<SharedRows>();
    shared->setFields(from.fields);
    shared->source = from.source;
    for (const RowPtr &row : from.rows) {
        if (row->status != RowStatus::New)
            shared->appendRead(row->original);
    }
    auto copy = std::make_shared<Recordset>();
    copy->d->connection = rs.d->connection;
    adopt(*copy, std::move(shared));
    return copy;
}

void RecordsetPrivate::adopt(Recordset &rs, std::shared_ptr<SharedRows> shared)
{
    rs.d->shared = std::move(shared);
    rs.d->open = true;
    rs.d->filter.clear();
    rs.d->criteria.clear();
    rs.d->sort.clear();
    rs.d->editMode = 0;
    // Rows just read, unfiltered and unsorted: the cursor runs over the list itself.
    rs.d->view = rs.d->shared->rows;
    rs.d->generation = rs.d->shared->generation;
    rs.d->pos = rs.d->view.isEmpty() ? -1 : 0;
}

bool Recordset::Private::matches(const RowData &row) const
{
    for (const Criterion &c : criteria) {
        const int cmp = compareValues(row.values.at(c.column), c.value);
        const bool isNull = !row.values.at(c.column).isValid();
        bool ok = false;
        if (c.op == QLatin1String("="))
            ok = !isNull && cmp == 0;
        else if (c.op == QLatin1String("<>"))
            ok = !isNull && cmp != 0;
        else if (c.op == QLatin1String("<"))
            ok = !isNull && cmp < 0;
        else if (c.op == QLatin1String(">"))
            ok = !isNull && cmp > 0;
        else if (c.op == QLatin1String("<="))
            ok = !isNull && cmp <= 0;
        else if (c.op == QLatin1String(">="))
            ok = !isNull && cmp >= 0;
        if (!ok)
            return false;
    }
    return true;
}

void Recordset::Private::applySort()
{
    if (sort.trimmed().isEmpty()) {
        // Order of the statement, which is the order of the shared rows. A view just rebuilt
        // from them is already in it: one pass tells, without hashing and sorting every row.
        qsizetype at = 0;
        bool inOrder = true;
        for (const RowPtr &row : std::as_const(view)) {
            while (at < shared->rows.size() && shared->rows.at(at) != row)
                ++at;
            if (at == shared->rows.size()) {
                inOrder = false;
                break;
            }
            ++at;
        }
        if (inOrder)
            return;
        QHash<const RowData *, int> order;
        for (int i = 0; i < shared->rows.size(); ++i)
            order.insert(shared->rows.at(i).get(), i);
        std::stable_sort(view.begin(), view.end(), [&](const RowPtr &a, const RowPtr &b) {
            return order.value(a.get()) < order.value(b.get());
        });
        return;
    }
    QList<QPair<int, bool>> keys;  // column, descending
    const QStringList parts = sort.split(u',', Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        QStringList words = part.simplified().split(u' ');
        bool desc = false;
        if (words.size() == 2 && words.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0)
            desc = true;
        else if (words.size() == 2 && words.at(1).compare(QLatin1String("ASC"), Qt::CaseInsensitive) != 0)
            throw usage(QStringLiteral("Invalid sort: %1").arg(sort));
        else if (words.size() > 2)
            throw usage(QStringLiteral("Invalid sort: %1").arg(sort));
        const int column = shared->column(words.at(0));
        if (column < 0)
            throw usage(QStringLiteral("Sort on unknown field %1").arg(words.at(0)));
        keys.append({column, desc});
    }
    std::stable_sort(view.begin(), view.end(), [&](const RowPtr &a, const RowPtr &b) {
        for (const auto &key : keys) {
            const int cmp = compareValues(a->values.at(key.first), b->values.at(key.first));
            if (cmp != 0)
                return key.second ? cmp > 0 : cmp < 0;
        }
        return false;
    });
}

void Recordset::Private::rebuild(const RowPtr &keep)
{
    view.clear();
    for (const RowPtr &row : std::as_const(shared->rows)) {
        if (row->status != RowStatus::Deleted && matches(*row))
            view.append(row);
    }
    applySort();
    generation = shared->generation;
    if (keep) {
        const int at = int(view.indexOf(keep));
        if (at >= 0)
            pos = at;
    }
    if (pos > view.size())
        pos = int(view.size());
}

// Another cursor over the same rows may have added or removed rows since this one looked.
void Recordset::Private::sync()
{
    if (generation == shared->generation)
        return;
    const RowPtr keep = (pos >= 0 && pos < view.size()) ? view.at(pos) : RowPtr();
    rebuild(keep);
}

RowPtr Recordset::Private::current(bool forWrite)
{
    if (!open)
        throw usage(QStringLiteral("The recordset is closed"));
    sync();
    if (afterDelete)
        throw usage(QStringLiteral("The current row has been deleted"));
    if (pos < 0 || pos >= view.size())
        throw usage(QStringLiteral("Either BOF or EOF is True, or the current record has been deleted"));
    const RowPtr row = view.at(pos);
    if (forWrite && editMode == 0) {
        editBackup = row->values;
        statusBackup = row->status;
        editMode = 1;
    }
    return row;
}

void Recordset::Private::finishEdit()
{
    editMode = 0;
    editBackup.clear();
}

Recordset::Recordset() : d(std::make_unique<Private>()) {}

Recordset::~Recordset() = default;

void Recordset::setActiveConnection(const ConnectionPtr &connection)
{
    d->connection = connection;
}

ConnectionPtr Recordset::ActiveConnection() const
{
    return d->connection;
}

QString Recordset::Source() const
{
    return d->shared->source;
}

void Recordset::setSource(const QString &source)
{
    d->shared->source = source;
}

void Recordset::Open(const QString &source, const ConnectionPtr &connection, int, int, int)
{
    if (!source.isEmpty())
        d->shared->source = source;
    if (connection)
        d->connection = connection;
    if (!d->connection)
        throw usage(QStringLiteral("The recordset has no connection"));
    const QString statement = d->shared->source;
    const int marshal = d->shared->marshalOptions;
    RecordsetPtr read = d->connection->Execute(statement);
    if (!read->d->open)
        throw usage(QStringLiteral("The statement returns no rows: %1").arg(statement));
    d->shared = read->d->shared;
    d->shared->source = statement;
    d->shared->marshalOptions = marshal;
    d->open = true;
    d->filter.clear();
    d->criteria.clear();
    d->sort.clear();
    d->afterDelete = false;
    d->finishEdit();
    d->generation = -1;
    d->sync();
    d->pos = d->view.isEmpty() ? -1 : 0;
}

void Recordset::Close()
{
    d->open = false;
    d->view.clear();
    d->pos = -1;
    d->finishEdit();
}

ObjectState Recordset::State() const
{
    return d->open ? ObjectState::Open : ObjectState::Closed;
}

void Recordset::Requery(int)
{
    const QString filter = d->filter;
    const QString sort = d->sort;
    Open();
    if (!sort.isEmpty())
        setSort(sort);
    if (!filter.isEmpty())
        setFilter(filter);
}

int Recordset::fieldCount() const
{
    return int(d->shared->fields.size());
}

QStringList Recordset::fieldNames() const
{
    return d->shared->fields;
}

bool Recordset::hasField(const QString &name) const
{
    return d->shared->column(name) >= 0;
}

int Recordset::RecordCount() const
{
    if (!d->open)
        return -1;
    d->sync();
    return int(d->view.size());
}

bool Recordset::isBOF() const
{
    d->sync();
    return d->view.isEmpty() || d->pos < 0;
}

bool Recordset::isEOF() const
{
    d->sync();
    return d->view.isEmpty() || d->pos >= d->view.size();
}

void Recordset::MoveFirst()
{
    if (d->editMode)
        Update();
    d->sync();
    d->afterDelete = false;
    d->pos = d->view.isEmpty() ? -1 : 0;
}

void Recordset::MoveLast()
{
    if (d->editMode)
        Update();
    d->sync();
    d->afterDelete = false;
    d->pos = d->view.isEmpty() ? -1 : int(d->view.size()) - 1;
}

void Recordset::MoveNext()
{
    if (d->editMode)
        Update();
    d->sync();
    if (d->pos >= d->view.size() && !d->afterDelete)
        throw usage(QStringLiteral("MoveNext past the end of the recordset"));
    // After a delete the position already points at the row that followed.
    if (!d->afterDelete)
        ++d->pos;
    d->afterDelete = false;
}

void Recordset::MovePrevious()
{
    if (d->editMode)
        Update();
    d->sync();
    if (d->pos < 0)
        throw usage(QStringLiteral("MovePrevious before the start of the recordset"));
    --d->pos;
    d->afterDelete = false;
}

int Recordset::AbsolutePosition() const
{
    d->sync();
    if (d->view.isEmpty() || d->pos < 0)
        return -2;
    if (d->pos >= d->view.size())
        return -3;
    return d->pos + 1;
}

void Recordset::setAbsolutePosition(int position)
{
    d->sync();
    if (position < 1 || position > d->view.size())
        throw usage(QStringLiteral("Position %1 out of range").arg(position));
    if (d->editMode)
        Update();
    d->afterDelete = false;
    d->pos = position - 1;
}

QVariant Recordset::Bookmark() const
{
    return d->current()->id;
}

void Recordset::setBookmark(const QVariant &bookmark)
{
    d->sync();
    const int id = bookmark.toInt();
    for (int i = 0; i < d->view.size(); ++i) {
        if (d->view.at(i)->id == id) {
            if (d->editMode)
                Update();
            d->afterDelete = false;
            d->pos = i;
            return;
        }
    }
    throw usage(QStringLiteral("Bookmark %1 not found").arg(bookmark.toString()));
}

QVariant Recordset::value(const QString &field) const
{
    const int column = d->shared->column(field);
    if (column < 0)
        throw usage(QStringLiteral("Item cannot be found in the collection: %1").arg(field));
    return d->current()->values.at(column);
}

QVariant Recordset::value(int column) const
{
    if (column < 0 || column >= d->shared->fields.size())
        throw usage(QStringLiteral("Item cannot be found in the collection: %1").arg(column));
    return d->current()->values.at(column);
}

void Recordset::setValue(const QString &field, const QVariant &value)
{
    const int column = d->shared->column(field);
    if (column < 0)
        throw usage(QStringLiteral("Item cannot be found in the collection: %1").arg(field));
    const RowPtr row = d->current(true);
    row->values[column] = value.isNull() ? QVariant() : value;
    if (row->status == RowStatus::Unchanged)
        row->status = RowStatus::Modified;
}

QVariant Recordset::originalValue(const QString &field) const
{
    const int column = d->shared->column(field);
    if (column < 0)
        throw usage(QStringLiteral("Item cannot be found in the collection: %1").arg(field));
    const RowPtr row = d->current();
    return row->status == RowStatus::New ? QVariant() : row->original.at(column);
}

QList<QVariantList> Recordset::originalRows(const QStringList &fields) const
{
    QList<int> columns;
    for (const QString &field : fields) {
        const int column = d->shared->column(field);
        if (column < 0)
            throw usage(QStringLiteral("Item cannot be found in the collection: %1").arg(field));
        columns.append(column);
    }
    QList<QVariantList> rows;
    for (const RowPtr &row : std::as_const(d->shared->rows)) {
        if (row->status == RowStatus::New)
            continue;
        QVariantList values;
        for (int column : std::as_const(columns))
            values.append(row->original.at(column));
        rows.append(values);
    }
    return rows;
}

QString Recordset::Filter() const
{
    return d->filter;
}

void Recordset::setFilter(const QString &criteria)
{
    QList<Criterion> parsed;
    const QString text = criteria.trimmed();
    if (!text.isEmpty() && text != QLatin1String("0")) {
        static const QRegularExpression part(
            QStringLiteral("\\s*([A-Za-z_][A-Za-z0-9_]*)\\s*(<=|>=|<>|=|<|>)\\s*('(?:[^']|'')*'|[-+]?[0-9]+(?:\\.[0-9]+)?)\\s*(?:AND\\s+|$)"),
            QRegularExpression::CaseInsensitiveOption);
        qsizetype at = 0;
        while (at < text.size()) {
            const QRegularExpressionMatch m = part.match(text, at, QRegularExpression::NormalMatch,
                                                         QRegularExpression::AnchorAtOffsetMatchOption);
            if (!m.hasMatch())
                throw usage(QStringLiteral("Invalid filter: %1").arg(criteria));
            const int column = d->shared->column(m.captured(1));
            if (column < 0)
                throw usage(QStringLiteral("Filter on unknown field %1").arg(m.captured(1)));
            QString raw = m.captured(3);
            QVariant value;
            if (raw.startsWith(u'\''))
                value = raw.mid(1, raw.size() - 2).replace(QLatin1String("''"), QLatin1String("'"));
            else
                value = raw.toDouble();
            parsed.append({column, m.captured(2), value});
            at = m.capturedEnd(0);
        }
    }
    if (d->editMode)
        Update();
    d->filter = text == QLatin1String("0") ? QString() : text;
    d->criteria = parsed;
    d->afterDelete = false;
    d->rebuild();
    d->pos = d->view.isEmpty() ? -1 : 0;
}

QString Recordset::Sort() const
{
    return d->sort;
}

void Recordset::setSort(const QString &columns)
{
    const QString old = d->sort;
    d->sort = columns.trimmed();
    const RowPtr keep = (d->pos >= 0 && d->pos < d->view.size()) ? d->view.at(d->pos) : RowPtr();
    try {
        d->rebuild(keep);
    } catch (...) {
        d->sort = old;
        d->rebuild(keep);
        throw;
    }
}

RecordsetPtr Recordset::Clone() const
{
    auto copy = std::make_shared<Recordset>();
    copy->d->shared = d->shared;
    copy->d->connection = d->connection;
    copy->d->open = d->open;
    copy->d->generation = -1;
    copy->d->sync();
    copy->d->pos = copy->d->view.isEmpty() ? -1 : 0;
    return copy;
}

void Recordset::AddNew()
{
    if (!d->open)
        throw usage(QStringLiteral("The recordset is closed"));
    if (d->editMode)
        Update();
    auto row = std::make_shared<RowData>();
    row->id = d->shared->nextId++;
    row->values = QVector<QVariant>(d->shared->fields.size());
    row->original = row->values;
    row->status = RowStatus::New;
    d->shared->rows.append(row);
    ++d->shared->generation;
    d->sync();
    // A new row stays visible to this cursor even when the filter would hide it.
    if (!d->view.contains(row))
        d->view.append(row);
    d->pos = int(d->view.indexOf(row));
    d->afterDelete = false;
    d->editMode = 2;
    d->editBackup.clear();
}

void Recordset::Update()
{
    d->finishEdit();
}

void Recordset::CancelUpdate()
{
    if (d->editMode == 0)
        return;
    const RowPtr row = d->view.value(d->pos);
    if (d->editMode == 2 && row) {
        d->shared->rows.removeOne(row);
        ++d->shared->generation;
        d->finishEdit();
        d->sync();
        d->pos = d->view.isEmpty() ? -1 : int(d->view.size());
        return;
    }
    if (row) {
        row->values = d->editBackup;
        row->status = d->statusBackup;
    }
    d->finishEdit();
}

void Recordset::Delete()
{
    const RowPtr row = d->current();
    d->finishEdit();
    if (row->status == RowStatus::New)
        d->shared->rows.removeOne(row);  // never written: nothing to delete in the table
    else
        row->status = RowStatus::Deleted;
    ++d->shared->generation;
    const int at = d->pos;
    d->rebuild();
    d->pos = at;
    d->afterDelete = true;
}

int Recordset::EditMode() const
{
    return d->editMode;
}

void Recordset::CancelBatch()
{
    auto &rows = d->shared->rows;
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [](const RowPtr &r) { return r->status == RowStatus::New; }),
               rows.end());
    for (const RowPtr &row : std::as_const(rows)) {
        row->values = row->original;
        row->status = RowStatus::Unchanged;
    }
    ++d->shared->generation;
    d->finishEdit();
    d->afterDelete = false;
    d->rebuild();
    d->pos = d->view.isEmpty() ? -1 : 0;
}

int Recordset::MarshalOptions() const
{
    return d->shared->marshalOptions;
}

void Recordset::setMarshalOptions(int options)
{
    d->shared->marshalOptions = options;
}

bool Recordset::hasPendingChanges() const
{
    for (const RowPtr &row : std::as_const(d->shared->rows)) {
        if (row->status != RowStatus::Unchanged)
            return true;
    }
    return false;
}

RowStatus Recordset::rowStatus() const
{
    return d->current()->status;
}

QList<BatchFailure> Recordset::lastBatchFailures() const
{
    return d->shared->failures;
}

namespace {

// The rows a batch writes, by the statement each one needs.
struct BatchRows
{
    QList<RowPtr> deletes;
    QList<RowPtr> updates;  // with every row unchanged too when all rows are written
    QList<RowPtr> inserts;

    bool anyChange() const
    {
        return !deletes.isEmpty() || !inserts.isEmpty()
            || std::any_of(updates.begin(), updates.end(),
                           [](const RowPtr &r) { return r->status == RowStatus::Modified; });
    }
};

// Where a batch writes: the table, the recordset columns it has, and the key that finds a row.
struct BatchTarget
{
    QString table;
    QList<int> columns;
    QStringList names;  // of those columns, as the table spells them
    QList<int> keyColumns;
    bool keyed = true;  // false: the table has no key, and equal rows cannot be told apart
};

struct BatchStatement
{
    RowPtr row;
    QString sql;
    QVariantList binds;
    QString tsql = sql;  // the same statement as SQL Server gets it
};

BatchRows partitionRows(const SharedRows &s, bool allRows)
{
    BatchRows rows;
    for (const RowPtr &row : std::as_const(s.rows)) {
        switch (row->status) {
        case RowStatus::Deleted: rows.deletes.append(row); break;
        case RowStatus::New: rows.inserts.append(row); break;
        case RowStatus::Modified: rows.updates.append(row); break;
        case RowStatus::Unchanged:
            if (allRows)
                rows.updates.append(row);
            break;
        }
    }
    return rows;
}

BatchTarget resolveTarget(const SharedRows &s, const Connection &connection)
{
    BatchTarget target;
    target.table = targetTable(s.source);
    if (target.table.isEmpty())
        throw AdoError(AdoError::Usage, QStringLiteral("No table to write to"), s.source);
    const Connection::TableShape shape = connection.tableShape(target.table);
    const QSqlRecord &tableRecord = shape.record;
    if (tableRecord.isEmpty())
        throw AdoError(AdoError::MissingObject, QStringLiteral("Invalid object name '%1'").arg(target.table),
                       s.source);
    // Columns written: those of the recordset that the table has.
    for (int i = 0; i < s.fields.size(); ++i) {
        const int inTable = tableRecord.indexOf(s.fields.at(i));
        if (inTable >= 0 && s.column(s.fields.at(i)) == i) {
            target.columns.append(i);
            target.names.append(tableRecord.fieldName(inTable));
        }
    }
    const QSqlIndex &primary = shape.primary;
    for (int k = 0; k < primary.count(); ++k) {
        const int column = s.column(primary.fieldName(k));
        if (column < 0) {
            target.keyColumns.clear();
            break;
        }
        target.keyColumns.append(column);
    }
    if (target.keyColumns.isEmpty()) {
        target.keyColumns = target.columns;
        target.keyed = false;
    }
    return target;
}

// The row is found by its key and by the values, as read, of the columns this write
// changes: a row that another user changed in one of them, or deleted, matches nothing and
// the write is a conflict rather than a silent overwrite. Columns nobody here changed are
// left out, so two users changing different columns of one row both succeed.
QString conflictCondition(const SharedRows &s, const BatchTarget &target, const RowData &row, QVariantList &binds)
{
    QStringList terms;
    QList<int> criteria = target.keyColumns;
    for (int column : std::as_const(target.columns)) {
        if (!criteria.contains(column) && !sameValue(row.values.at(column), row.original.at(column)))
            criteria.append(column);
    }
    for (int column : std::as_const(criteria)) {
        const QString name = s.fields.at(column);
        if (!row.original.at(column).isValid()) {
            terms.append(name + QStringLiteral(" IS NULL"));
        } else {
            terms.append(name + QStringLiteral(" = ?"));
            binds.append(row.original.at(column));
        }
    }
    return terms.join(QStringLiteral(" AND "));
}

// "CGP6_DITTA_CG18 = 1, CGP6_CAUSALE_CGP0 = 300": the row as the user knows it.
QString rowName(const SharedRows &s, const BatchTarget &target, const RowData &row)
{
    QStringList parts;
    for (int column : std::as_const(target.keyColumns)) {
        const QVariant v = row.original.at(column);
        parts.append(s.fields.at(column) + QStringLiteral(" = ")
                     + (v.isValid() ? v.toString() : QStringLiteral("NULL")));
    }
    return parts.join(QStringLiteral(", "));
}

// Deletes first, then updates, then inserts, so a key freed by a delete can be taken again.
QList<BatchStatement> composeStatements(const SharedRows &s, const BatchTarget &target, const BatchRows &rows,
                                        bool allRows, Dialect dialect)
{
    QList<BatchStatement> statements;
    for (const RowPtr &row : rows.deletes) {
        QVariantList binds;
        const QString where = conflictCondition(s, target, *row, binds);
        // In a table without a key a row deleted goes alone, even where another row holds the
        // same values: the others stay as the user sees them.
        if (target.keyed) {
            statements.append({row, QStringLiteral("DELETE FROM %1 WHERE %2").arg(target.table, where), binds});
            continue;
        }
        const QString tsql = QStringLiteral("DELETE TOP (1) FROM %1 WHERE %2").arg(target.table, where);
        statements.append({row,
                           dialect == Dialect::SqlServer
                               ? tsql
                               : QStringLiteral("DELETE FROM %1 WHERE rowid IN (SELECT rowid FROM %1 WHERE %2 LIMIT 1)")
                                     .arg(target.table, where),
                           binds, tsql});
    }
    for (const RowPtr &row : rows.updates) {
        QStringList sets;
        QVariantList binds;
        for (int i = 0; i < target.columns.size(); ++i) {
            const int column = target.columns.at(i);
            if (allRows || !sameValue(row->values.at(column), row->original.at(column))) {
                sets.append(target.names.at(i) + QStringLiteral(" = ?"));
                binds.append(row->values.at(column));
            }
        }
        if (sets.isEmpty())
            continue;
        const QString where = conflictCondition(s, target, *row, binds);
        statements.append({row,
                           QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                               .arg(target.table, sets.join(QStringLiteral(", ")), where),
                           binds});
    }
    for (const RowPtr &row : rows.inserts) {
        QStringList into;
        QStringList marks;
        QVariantList binds;
        for (int i = 0; i < target.columns.size(); ++i) {
            // Unset columns take the table's defaults.
            if (!row->values.at(target.columns.at(i)).isValid())
                continue;
            into.append(target.names.at(i));
            marks.append(QStringLiteral("?"));
            binds.append(row->values.at(target.columns.at(i)));
        }
        const QString sql = into.isEmpty()
            ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(target.table)
            : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(target.table, into.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
        statements.append({row, sql, binds});
    }
    return statements;
}

// Runs every statement, so the failures name every row that could not be written; throws the
// first failure's error when there was any. Returns the rows written.
int executeStatements(SharedRows &s, const BatchTarget &target, const QSqlDatabase &db,
                      const QList<BatchStatement> &statements)
{
    int written = 0;
    AdoError::Kind firstKind = AdoError::Constraint;
    for (const BatchStatement &statement : statements) {
        QSqlQuery query(db);
        query.prepare(statement.sql);
        for (const QVariant &v : statement.binds)
            query.addBindValue(v);
        if (!query.exec()) {
            const AdoError error = errorFrom(query.lastError(), statement.sql);
            if (s.failures.isEmpty())
                firstKind = error.kind();
            s.failures.append({statement.row->id, error.message()});
            continue;
        }
        if (statement.row->status != RowStatus::New && query.numRowsAffected() == 0) {
            if (s.failures.isEmpty())
                firstKind = AdoError::Conflict;
            s.failures.append({statement.row->id,
                               QStringLiteral("The row of %1 with %2 was changed or deleted by another user")
                                   .arg(target.table, rowName(s, target, *statement.row))});
            continue;
        }
        ++written;
    }
    if (!s.failures.isEmpty())
        throw AdoError(firstKind, s.failures.first().message, s.source);
    return written;
}

// Inside the caller's transaction the rows are written only if it commits: should it roll
// back, they become pending again with the values they were read with, so the next write finds
// them (or the conflict) as before.
void keepPendingOnRollback(Connection &connection, const std::shared_ptr<SharedRows> &shared)
{
    struct Saved
    {
        RowPtr row;
        QVector<QVariant> original;
        RowStatus status;
    };
    QList<Saved> saved;
    for (const RowPtr &row : std::as_const(shared->rows))
        saved.append({row, row->original, row->status});
    const std::weak_ptr<SharedRows> weak = shared;
    connection.onRollback([weak, saved] {
        const std::shared_ptr<SharedRows> rows = weak.lock();
        if (!rows)
            return;
        QList<RowPtr> restored;
        for (const Saved &entry : saved) {
            entry.row->original = entry.original;
            entry.row->status = entry.status;
            restored.append(entry.row);
        }
        for (const RowPtr &row : std::as_const(rows->rows)) {
            if (!restored.contains(row))
                restored.append(row);
        }
        rows->rows = restored;
        ++rows->generation;
    });
}

} // namespace

int Recordset::UpdateBatch()
{
    if (!d->open)
        throw usage(QStringLiteral("The recordset is closed"));
    if (!d->connection || d->connection->State() != ObjectState::Open)
        throw usage(QStringLiteral("The recordset has no open connection"));
    if (d->editMode)
        Update();
    SharedRows &s = *d->shared;
    s.failures.clear();
    const bool allRows = s.marshalOptions == 0;
    const BatchRows rows = partitionRows(s, allRows);
    if (!rows.anyChange())
        return 0;
    QSqlDatabase db = d->connection->database();
    const BatchTarget target = resolveTarget(s, *d->connection);
    const QList<BatchStatement> statements = composeStatements(s, target, rows, allRows, d->connection->dialect());

    std::optional<TransactionGuard> transaction;
    if (!d->connection->inTransaction())
        transaction.emplace(*d->connection);
    for (const BatchStatement &statement : statements)
        StatementLog::record(*d->connection, statement.tsql);
    const int written = executeStatements(s, target, db, statements);
    if (transaction)
        transaction->commit();
    else
        keepPendingOnRollback(*d->connection, d->shared);
    // Written: the rows are clean again.
    acceptChanges();
    return written;
}

void Recordset::acceptChanges()
{
    SharedRows &s = *d->shared;
    s.rows.erase(std::remove_if(s.rows.begin(), s.rows.end(),
                                [](const RowPtr &r) { return r->status == RowStatus::Deleted; }),
                 s.rows.end());
    for (const RowPtr &row : std::as_const(s.rows)) {
        row->original = row->values;
        row->status = RowStatus::Unchanged;
    }
    ++s.generation;
    d->sync();
}

} // namespace ado
