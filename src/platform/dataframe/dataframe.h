#pragma once

#include "ado/connection.h"
#include "ado/recordset.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

// The host's data-bound container over one recordset: it shows the current row in the bound
// controls, writes what the user types into that row, tracks whether a record is on display
// or the form waits for a code (query), and raises the events the form extends.
//
// Controls are bound by their USER property and its notify signal (as QDataWidgetMapper does),
// so any widget that declares one can be bound. Event arguments passed by reference are pointers;
// handlers must be connected directly so they can cancel.
class DataFrame : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Status READ Status)

public:
    enum StatusCode { StatusRecord = 0, StatusNew = 1, StatusQuery = 2 };
    // Reasons of a status change.
    enum Reason { ReasonNone = 0, ReasonQuery = 1, ReasonMove = 2, ReasonNew = 3, ReasonUndo = 4,
                  ReasonDelete = 5, ReasonRefresh = 6, ReasonSaved = 7 };
    static constexpr int ResultOk = -1;
    static constexpr int ResultFailed = 0;

    // Answers of the question whether pending changes are to be saved.
    enum SaveAnswer { SaveYes, SaveNo, SaveCancel };

    explicit DataFrame(QObject *parent = nullptr);
    ~DataFrame() override;

    // hostInterface is the host contract object; the frame only keeps it for the form.
    void Initialize(QObject *hostInterface, const ado::ConnectionPtr &connection,
                    const ado::RecordsetPtr &recordset, const QString &statement,
                    const QString &keyColumn, QObject *navigator, QWidget *grid);
    QObject *hostInterface() const;
    ado::ConnectionPtr connection() const;
    ado::RecordsetPtr recordset() const;
    QString statement() const;
    QString keyColumn() const;
    QObject *navigator() const;
    QWidget *grid() const;

    // What a control's value becomes in its column (a number, a code, NULL for nothing).
    using Conversion = std::function<QVariant(const QVariant &controlValue)>;

    // Controls, in binding order. The column is the control's dataField property when empty;
    // without a conversion an empty text is NULL and any other text is stored as it stands.
    void Bind(QWidget *control, const QString &column = {}, Conversion toColumn = {});
    void Unbind(QWidget *control);
    void Rebind(QWidget *control);
    QList<QWidget *> boundControls() const;
    QString boundColumn(QWidget *control) const;
    void setKeyControl(QWidget *control);
    QWidget *keyControl() const;

    // Child frames are loaded and written by the form; the master only counts their changes.
    void setChildOption(int option);
    int childOption() const;
    void AddChild(DataFrame *child);
    QList<DataFrame *> children() const;

    int Status() const;
    void setStatus(int status, int reason = ReasonNone);

    // Pending changes: the first flag says the record on display was edited and not yet
    // saved; the second that the recordset holds rows not yet written to the database.
    bool RecordChanged() const;
    void setRecordChanged(bool changed);
    bool BatchPending() const;
    // The form marks rows it changed by code, so the next save writes them.
    void setBatchPending(bool pending);

    // Query: the key control's text (and the fields written into the current row while in query
    // status) select the record; the recordset is read again first, so rows added since are found.
    bool Query(bool requery, bool showMessage);
    // Save: with write false only the edit of the current row is ended (child frames, whose
    // batch is written later by UpdateBatch). The save of a master frame is one transaction
    // with everything its events write (the children's batches, the form's statements): when
    // any of those writes fails or meets a row another user changed, all of it rolls back, the
    // rows stay pending, SaveConflict follows for a conflict, and Save returns false.
    bool Save(bool validate, bool raiseEvents, bool write);
    // A write of the form's own that belongs to the master's save in progress failed (and was
    // reported), or, with a description, met data another user changed since it was read.
    void SaveFailed(const QString &conflict = {});
    void CancelUpdate();
    bool Undo();
    // True while the changes are dropped because the record on display is being left (for
    // another record, a new one, or the window closing): what it shows is replaced next.
    bool isLeavingRecord() const;
    bool Delete();
    bool AddNew();

    void PrepareNewSource();
    // Shows the recordset again after it was reopened; an empty statement keeps the source.
    void Refresh(const QString &statement = {});
    // Shows the row just written: a control that already shows its value as written keeps it
    // (a code field is not decoded again), the others show the row as Refresh does.
    void refreshAfterWrite();

    // The save of the master has reached this frame: raises UpdateBatchAll, whose handler
    // decides whether and how the rows are written.
    void UpdateBatch();
    // Writes the pending rows of one recordset (the frame's own when none is given); false,
    // with the rows still pending, when the database refused them.
    bool UpdateBatchRecordset(const ado::RecordsetPtr &recordset = {});
    // The form changed a row of the recordset by code.
    void RowChanged();

    // False when the window must not close (the user chose to stay, or saving failed).
    bool CloseCheck(bool ask, int mode, bool raiseEvents);
    void Release();

    bool MoveFirst();
    bool MovePrevious();
    bool MoveNext();
    bool MoveLast();
    // A click on a row of the frame's grid: the row of that bookmark becomes current, as the
    // moving buttons make it. False when the frame stays where it is.
    bool MoveTo(const QVariant &bookmark);

    // Shows the current row in the bound controls (query status clears them).
    void refreshControls();
    // True while the frame writes the row into a control: the control's change comes from the
    // row, not from the user or the form.
    bool isRefreshingControls() const;

    // While held, values the form puts into the bound controls are only shown: the row keeps
    // what it holds and nothing counts as changed. Each held value reaches the row with the
    // next save of the record; showing the row again drops it.
    void setHoldingEdits(bool hold);
    bool isHoldingEdits() const;
    QList<QWidget *> heldControls() const;

    void setAskSave(std::function<SaveAnswer()> ask);
    void setErrorHandler(std::function<void(const QString &operation, const QString &message)> handler);
    void setGridRefresher(std::function<void(const ado::RecordsetPtr &)> refresher);
    // Shows the row on display again in the grid after one of its values was typed; without
    // it the whole grid is refreshed.
    void setGridRowRefresher(std::function<void()> refresher);

signals:
    void AfterUndo(int fenm_operationresult);
    void AfterUpdate(int fenm_operationresult);
    void BeforeDelete(bool *fbol_Cancel);
    void AfterDelete(int fenm_operationresult);
    void BeforeUpdate(bool *fbol_Cancel);
    void ChangeStatus(int fenm_status, int fenm_reason);
    void IsRecordChanged(bool *fbol_isRecordChanged);
    void UpdateBatchAll();
    void AfterAddNew(int fenm_operationresult);
    void AfterMove(int fenm_operationresult, int fenm_reason);
    // After the rollback of a save refused because another user changed or deleted what it
    // was to write; the description names the table and the row.
    void SaveConflict(const QString &description);
    // A save with its events is stored whole (after the commit of its transaction).
    void AfterSave();
    // The user changed a value of the record on display through a bound control.
    void RecordEdited();

private slots:
    void controlEdited();

private:
    struct Binding;
    bool hasPendingChanges();
    bool commitControls();
    bool leaveRecord();
    bool move(const std::function<void(ado::Recordset &)> &step);
    void report(const QString &operation, const QString &message) const;
    void writeControl(const Binding &binding);
    QVariant controlColumnValue(const Binding &binding) const;
    void applyHeldEdits();

    struct Private;
    std::unique_ptr<Private> d;
};
