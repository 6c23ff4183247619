#pragma once

#include "ado/recordset.h"

#include <QHash>
#include <QSqlQuery>
#include <QVector>

namespace ado {

class AdoError;
AdoError errorFrom(const class QSqlError &error, const QString &statement);

struct RowData
{
    int id = 0;
    QVector<QVariant> values;
    QVector<QVariant> original;
    RowStatus status = RowStatus::Unchanged;
};
using RowPtr = std::shared_ptr<RowData>;

// The rows behind a recordset and its clones.
struct SharedRows
{
    QStringList fields;
    // Upper-case name -> column, for results with many columns: built at the first look-up.
    mutable QHash<QString, int> index;
    QList<RowPtr> rows;
    int nextId = 1;
    int generation = 0;         // bumped when rows are added or removed
    QString source;
    int marshalOptions = 0;
    QList<BatchFailure> failures;

    void setFields(const QStringList &names);
    int column(const QString &name) const;  // -1 when absent
    // A row as the database gave it: unchanged, its values also its original ones.
    void appendRead(QVector<QVariant> values);

private:
    // Rows read are made a block at a time, each row sharing its block's lifetime: a list of a
    // thousand causals would otherwise cost a thousand allocations more than its values do.
    std::shared_ptr<RowData[]> m_block;
    qsizetype m_blockUsed = 0;
    qsizetype m_blockSize = 0;
};

struct Criterion
{
    int column;
    QString op;     // = <> < > <= >=
    QVariant value;
};

struct RecordsetPrivate
{
    static void fill(Recordset &rs, QSqlQuery &query);
    // Rows read by other means (the embedded database's own interface) become the recordset's.
    static void adopt(Recordset &rs, std::shared_ptr<SharedRows> shared);
    // A recordset of its own holding the rows as they were read (none of the changes made since).
    static RecordsetPtr copyOf(const Recordset &rs);
};

struct Recordset::Private
{
    std::shared_ptr<SharedRows> shared = std::make_shared<SharedRows>();
    ConnectionPtr connection;
    bool open = false;
    QList<RowPtr> view;     // visible rows: filtered, sorted, not deleted
    int generation = -1;
    int pos = -1;           // index in view; -1 BOF, view.size() EOF
    bool afterDelete = false;
    QString filter;
    QList<Criterion> criteria;
    QString sort;
    int editMode = 0;
    QVector<QVariant> editBackup;
    RowStatus statusBackup = RowStatus::Unchanged;

    void rebuild(const RowPtr &keep = {});
    void sync();
    RowPtr current(bool forWrite = false);
    bool matches(const RowData &row) const;
    void applySort();
    void finishEdit();
};

} // namespace ado
