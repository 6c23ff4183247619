#pragma once

#include "ado/connection.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace ado {

// Row change states, as the batch write sees them.
enum class RowStatus { Unchanged, Modified, New, Deleted };

struct BatchFailure
{
    int bookmark;       // the row that failed
    QString message;    // the driver's message
};

// A client-side recordset: every row is read into memory when it opens, so RecordCount
// is exact and moving, filtering, sorting and cloning never go back to the database.
// NULL values are invalid QVariants. Field access by a name the recordset lacks, or
// with no current row (BOF or EOF), throws AdoError(Usage).
class Recordset
{
public:
    Recordset();
    ~Recordset();
    Recordset(const Recordset &) = delete;
    Recordset &operator=(const Recordset &) = delete;

    void setActiveConnection(const ConnectionPtr &connection);
    ConnectionPtr ActiveConnection() const;
    QString Source() const;
    void setSource(const QString &source);

    // Empty source or connection keep the ones already set. Throws AdoError.
    void Open(const QString &source = {}, const ConnectionPtr &connection = {},
              int cursorType = -1, int lockType = -1, int options = -1);
    void Close();
    ObjectState State() const;
    // Reads the source again; pending changes are dropped. The position goes to the first row.
    void Requery(int options = -1);

    // Columns, in the order of the statement.
    int fieldCount() const;
    QStringList fieldNames() const;
    bool hasField(const QString &name) const;  // names compare case-insensitively

    // Rows visible through the filter, deleted rows excluded.
    int RecordCount() const;
    // BOF and EOF of ADO; EOF is a C macro, hence the names.
    bool isBOF() const;
    bool isEOF() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    int AbsolutePosition() const;           // 1-based; -2 at BOF, -3 at EOF, as ADO
    void setAbsolutePosition(int position);
    QVariant Bookmark() const;              // stable identity of the current row
    void setBookmark(const QVariant &bookmark);

    QVariant value(const QString &field) const;
    QVariant value(int column) const;  // by position in fieldNames(), for readers of every column
    void setValue(const QString &field, const QVariant &value);  // marks the row modified
    QVariant originalValue(const QString &field) const;         // value as last read or written
    // The given fields of every row as last read or written, in the order of the statement:
    // rows deleted since are included, rows added are not; the filter does not apply.
    QList<QVariantList> originalRows(const QStringList &fields) const;

    // Criteria "COL = value" joined by AND; values are numbers or quoted texts ('..', ''
    // for a quote). An empty text clears the filter. The position goes to the first match.
    QString Filter() const;
    void setFilter(const QString &criteria);
    // "COL1, COL2 DESC"; empty restores the order of the statement.
    QString Sort() const;
    void setSort(const QString &columns);

    // A second cursor over the same rows: own position, filter and sort; edits through either
    // are seen by both.
    RecordsetPtr Clone() const;

    void AddNew();        // appends an empty row and makes it current (EditMode 2)
    void Update();        // ends the edit of the current row in memory
    void CancelUpdate();  // drops the edit in progress (a new row disappears)
    void Delete();        // marks the current row deleted; it is no longer visible
    int EditMode() const; // 0 none, 1 editing, 2 adding
    void CancelBatch();   // drops every pending change since the last read or batch write

    // 0: a batch write sends every row; 1: only the changed, added and deleted rows.
    int MarshalOptions() const;
    void setMarshalOptions(int options);

    bool hasPendingChanges() const;
    RowStatus rowStatus() const;  // of the current row

    // Writes the pending changes to the first table after FROM in the source, with bound
    // values, in one transaction (inside the connection's own when one is open). A row is found
    // by its primary key (or, lacking one, by all its columns) and by the values, as read, of
    // the columns the write changes (NULL as IS NULL); a row that matches nothing was changed
    // or deleted by another user: a conflict (AdoError::Conflict) naming the table and the row.
    // Columns that the table lacks (joined or computed ones) are not written. On any failure
    // the batch's own transaction rolls back (inside the caller's, the caller must roll back),
    // the changes stay pending, lastBatchFailures() says which rows failed and why, and
    // AdoError is thrown. Returns the number of rows written.
    int UpdateBatch();
    // The pending changes taken as stored, by a write of the caller's own: every row's values
    // become its values as read, deleted rows go. Nothing is sent.
    void acceptChanges();
    QList<BatchFailure> lastBatchFailures() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
    friend class Connection;
    friend struct RecordsetPrivate;
};

} // namespace ado
