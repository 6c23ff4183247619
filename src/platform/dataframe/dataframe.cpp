#include "dataframe/dataframe.h"

#include "ado/adoerror.h"
#include "ado/transactionguard.h"

#include <QMetaProperty>
#include <optional>

struct DataFrame::Binding
{
    QPointer<QWidget> control;
    QString column;
    Conversion toColumn;
    bool active = true;
    QMetaObject::Connection notify;
};

struct DataFrame::Private
{
    bool leaving = false;
    QPointer<QObject> hostInterface;
    ado::ConnectionPtr connection;
    ado::RecordsetPtr recordset;
    QString statement;
    QString keyColumn;
    QPointer<QObject> navigator;
    QPointer<QWidget> grid;
    QList<Binding> bindings;
    QPointer<QWidget> keyControl;
    int childOption = 1;
    QList<QPointer<DataFrame>> children;
    int status = StatusQuery;
    bool recordChanged = false;
    bool batchForced = false;
    bool refreshing = false;
    bool holding = false;
    QList<QPointer<QWidget>> held;
    // While a master's save runs: its children's writes belong to it, and what failed.
    bool inMasterSave = false;
    bool writeFailed = false;
    QString conflict;
    std::function<SaveAnswer()> askSave;
    std::function<void(const QString &, const QString &)> errorHandler;
    std::function<void(const ado::RecordsetPtr &)> gridRefresher;
    std::function<void()> gridRowRefresher;

    bool hasRow() const
    {
        return recordset && recordset->State() == ado::ObjectState::Open && !recordset->isBOF() && !recordset->isEOF();
    }
};

namespace {

QMetaProperty userProperty(const QWidget *control)
{
    return control->metaObject()->userProperty();
}

// Controls carry texts; an empty text is a missing value, not an empty code.
QVariant columnValue(const QVariant &controlValue)
{
    if (controlValue.typeId() == QMetaType::Bool)
        return controlValue.toBool() ? 1 : 0;
    const QString text = controlValue.toString();
    return text.isEmpty() ? QVariant() : QVariant(text);
}

bool differs(const QVariant &value, const QVariant &current)
{
    return (value.isValid() || current.isValid()) && value.toString() != current.toString();
}

} // namespace

DataFrame::DataFrame(QObject *parent) : QObject(parent), d(std::make_unique<Private>()) {}

DataFrame::~DataFrame() = default;

void DataFrame::Initialize(QObject *hostInterface, const ado::ConnectionPtr &connection,
                           const ado::RecordsetPtr &recordset, const QString &statement,
                           const QString &keyColumn, QObject *navigator, QWidget *grid)
{
    d->hostInterface = hostInterface;
    d->connection = connection;
    d->recordset = recordset;
    d->statement = statement;
    d->keyColumn = keyColumn;
    d->navigator = navigator;
    d->grid = grid;
    d->status = StatusQuery;
    d->recordChanged = false;
}

QObject *DataFrame::hostInterface() const { return d->hostInterface; }
ado::ConnectionPtr DataFrame::connection() const { return d->connection; }
ado::RecordsetPtr DataFrame::recordset() const { return d->recordset; }
QString DataFrame::statement() const { return d->statement; }
QString DataFrame::keyColumn() const { return d->keyColumn; }
QObject *DataFrame::navigator() const { return d->navigator; }
QWidget *DataFrame::grid() const { return d->grid; }

void DataFrame::Bind(QWidget *control, const QString &column, Conversion toColumn)
{
    if (!control)
        return;
    Binding binding;
    binding.control = control;
    binding.toColumn = std::move(toColumn);
    binding.column = column.isEmpty() ? control->property("dataField").toString() : column;
    const QMetaProperty property = userProperty(control);
    if (property.isValid() && property.hasNotifySignal()) {
        const int slot = metaObject()->indexOfSlot("controlEdited()");
        binding.notify = connect(control, property.notifySignal(), this, metaObject()->method(slot));
    }
    d->bindings.append(binding);
    writeControl(d->bindings.last());
}

void DataFrame::Unbind(QWidget *control)
{
    for (Binding &b : d->bindings) {
        if (b.control == control)
            b.active = false;
    }
}

void DataFrame::Rebind(QWidget *control)
{
    for (Binding &b : d->bindings) {
        if (b.control == control) {
            b.active = true;
            writeControl(b);
        }
    }
}

QList<QWidget *> DataFrame::boundControls() const
{
    QList<QWidget *> list;
    for (const Binding &b : d->bindings)
        list.append(b.control);
    return list;
}

QString DataFrame::boundColumn(QWidget *control) const
{
    for (const Binding &b : d->bindings) {
        if (b.control == control)
            return b.column;
    }
    return {};
}

void DataFrame::setKeyControl(QWidget *control) { d->keyControl = control; }
QWidget *DataFrame::keyControl() const { return d->keyControl; }
void DataFrame::setChildOption(int option) { d->childOption = option; }
int DataFrame::childOption() const { return d->childOption; }

void DataFrame::AddChild(DataFrame *child)
{
    if (child && !d->children.contains(child))
        d->children.append(child);
}

QList<DataFrame *> DataFrame::children() const
{
    QList<DataFrame *> list;
    for (const auto &c : d->children) {
        if (c)
            list.append(c);
    }
    return list;
}

int DataFrame::Status() const { return d->status; }

void DataFrame::setStatus(int status, int reason)
{
    d->status = status;
    if (status == StatusQuery)
        d->recordChanged = false;
    refreshControls();
    emit ChangeStatus(status, reason);
}

bool DataFrame::RecordChanged() const { return d->recordChanged; }
void DataFrame::setRecordChanged(bool changed) { d->recordChanged = changed; }

bool DataFrame::BatchPending() const
{
    return d->batchForced || (d->recordset && d->recordset->State() == ado::ObjectState::Open && d->recordset->hasPendingChanges());
}

void DataFrame::setBatchPending(bool pending)
{
    d->batchForced = pending;
}

void DataFrame::writeControl(const Binding &binding)
{
    if (!binding.control || !binding.active)
        return;
    const QMetaProperty property = userProperty(binding.control);
    if (!property.isValid())
        return;
    QVariant value;
    if (d->status != StatusQuery && d->hasRow() && d->recordset->hasField(binding.column))
        value = d->recordset->value(binding.column);
    const bool old = d->refreshing;
    d->refreshing = true;
    d->held.removeAll(binding.control);
    const QString text = value.isValid() ? value.toString() : QString();
    // A control that can show a stored value outside its choices (a combo) is asked to.
    if (property.typeId() == QMetaType::Bool)
        property.write(binding.control, value.toInt() != 0);
    else if (binding.control->metaObject()->indexOfMethod("showStored(QString)") < 0
             || !QMetaObject::invokeMethod(binding.control, "showStored", Qt::DirectConnection, Q_ARG(QString, text)))
        property.write(binding.control, text);
    d->refreshing = old;
}

QVariant DataFrame::controlColumnValue(const Binding &binding) const
{
    const QVariant shown = userProperty(binding.control).read(binding.control);
    return binding.toColumn ? binding.toColumn(shown) : columnValue(shown);
}

void DataFrame::refreshControls()
{
    for (const Binding &b : std::as_const(d->bindings))
        writeControl(b);
}

bool DataFrame::isRefreshingControls() const
{
    return d->refreshing;
}

void DataFrame::controlEdited()
{
    if (d->refreshing)
        return;
    auto *control = qobject_cast<QWidget *>(sender());
    for (const Binding &b : std::as_const(d->bindings)) {
        if (b.control != control || !b.active)
            continue;
        // In query status the typed text is a search criterion, not a change of a record.
        if (d->status == StatusQuery || !d->hasRow() || !d->recordset->hasField(b.column))
            return;
        const QVariant value = controlColumnValue(b);
        const QVariant current = d->recordset->value(b.column);
        const bool changed = differs(value, current);
        if (d->holding) {
            d->held.removeAll(control);
            if (changed)
                d->held.append(control);
            return;
        }
        if (changed) {
            d->recordset->setValue(b.column, value);
            d->recordChanged = true;
            // The grid shows the row as it is now.
            if (d->gridRowRefresher)
                d->gridRowRefresher();
            else if (d->gridRefresher)
                d->gridRefresher(d->recordset);
            emit RecordEdited();
        }
        return;
    }
}

bool DataFrame::hasPendingChanges()
{
    bool changed = d->recordChanged || BatchPending();
    emit IsRecordChanged(&changed);
    return changed;
}

// Before the record on display is left: save or drop its changes, or stay (false).
bool DataFrame::leaveRecord()
{
    if (d->status == StatusQuery || !hasPendingChanges())
        return true;
    const SaveAnswer answer = d->askSave ? d->askSave() : SaveYes;
    if (answer == SaveCancel)
        return false;
    if (answer == SaveNo) {
        d->leaving = true;
        const bool undone = Undo();
        d->leaving = false;
        return undone;
    }
    return Save(true, true, true);
}

bool DataFrame::Query(bool, bool)
{
    if (!d->recordset || d->recordset->State() != ado::ObjectState::Open)
        return false;
    // Criteria: the key control's text and the fields written into the row while querying.
    QList<QPair<QString, QVariant>> criteria;
    if (d->hasRow()) {
        for (const QString &field : d->recordset->fieldNames()) {
            const QVariant now = d->recordset->value(field);
            const QVariant before = d->recordset->originalValue(field);
            if (now.isValid() && now.toString() != before.toString())
                criteria.append({field, now});
        }
    }
    if (d->keyControl) {
        const QString column = boundColumn(d->keyControl);
        const QMetaProperty property = userProperty(d->keyControl);
        const QString text = property.isValid() ? property.read(d->keyControl).toString().trimmed() : QString();
        if (!column.isEmpty() && !text.isEmpty()) {
            criteria.erase(std::remove_if(criteria.begin(), criteria.end(),
                                          [&](const auto &c) { return c.first.compare(column, Qt::CaseInsensitive) == 0; }),
                           criteria.end());
            criteria.append({column, text});
        }
    }
    try {
        d->recordset->CancelBatch();
        d->recordset->Requery();
        if (criteria.isEmpty())
            return false;
        // Each criterion read once: the loop runs over every causal.
        struct Wanted
        {
            int column;
            QString field;
            QString text;
            double number;
            bool numeric;
        };
        const QStringList names = d->recordset->fieldNames();
        QList<Wanted> wanted;
        for (const auto &c : std::as_const(criteria)) {
            Wanted w{int(names.indexOf(c.first)), c.first, c.second.toString(), 0, false};
            if (w.column < 0) {
                for (qsizetype i = 0; i < names.size() && w.column < 0; ++i) {
                    if (names.at(i).compare(c.first, Qt::CaseInsensitive) == 0)
                        w.column = int(i);
                }
            }
            w.number = c.second.toDouble(&w.numeric);
            wanted.append(w);
        }
        for (d->recordset->MoveFirst(); !d->recordset->isEOF(); d->recordset->MoveNext()) {
            bool all = true;
            for (const Wanted &w : std::as_const(wanted)) {
                const QVariant v = w.column >= 0 ? d->recordset->value(w.column) : d->recordset->value(w.field);
                bool okA = false;
                // Integers, the usual key, compared without going through a conversion.
                const int type = v.typeId();
                const double a = type == QMetaType::LongLong || type == QMetaType::Int ? (okA = true, double(v.toLongLong()))
                                                                                      : v.toDouble(&okA);
                if (!(okA && w.numeric ? a == w.number : v.toString() == w.text)) {
                    all = false;
                    break;
                }
            }
            if (all) {
                d->recordChanged = false;
                setStatus(StatusRecord, ReasonQuery);
                return true;
            }
        }
        d->recordset->MoveFirst();
    } catch (const ado::AdoError &e) {
        report(QStringLiteral("Query"), e.message());
    }
    return false;
}

bool DataFrame::Save(bool, bool raiseEvents, bool write)
{
    if (!d->recordset || d->recordset->State() != ado::ObjectState::Open)
        return false;
    if (!commitControls())
        return false;
    bool cancel = false;
    if (raiseEvents)
        emit BeforeUpdate(&cancel);
    if (cancel)
        return false;
    const bool unit = write && d->childOption != 0 && d->connection && d->connection->State() == ado::ObjectState::Open
        && !d->connection->inTransaction();
    QList<DataFrame *> members{this};
    if (unit)
        members += children();
    for (DataFrame *frame : std::as_const(members)) {
        frame->d->inMasterSave = unit;
        frame->d->writeFailed = false;
        frame->d->conflict.clear();
    }
    auto endUnit = [&] {
        for (DataFrame *frame : std::as_const(members))
            frame->d->inMasterSave = false;
    };
    // A conflict goes to the form when it listens, else it is reported as any failure.
    const bool conflictHeard = isSignalConnected(QMetaMethod::fromSignal(&DataFrame::SaveConflict));
    std::optional<ado::TransactionGuard> transaction;
    try {
        if (unit)
            transaction.emplace(*d->connection);
        if (d->recordset->EditMode() != 0)
            d->recordset->Update();
        if (write) {
            const bool keep = d->hasRow();
            const QVariant mark = keep ? d->recordset->Bookmark() : QVariant();
            d->recordset->UpdateBatch();
            if (keep)
                d->recordset->setBookmark(mark);
        }
    } catch (const ado::AdoError &e) {
        transaction.reset();
        endUnit();
        const bool conflict = e.kind() == ado::AdoError::Conflict && conflictHeard;
        if (!conflict)
            report(QStringLiteral("Save"), e.message());
        if (raiseEvents)
            emit AfterUpdate(ResultFailed);
        if (conflict)
            emit SaveConflict(e.message());
        return false;
    }
    d->recordChanged = false;
    if (write && raiseEvents)
        emit AfterUpdate(ResultOk);
    QString conflict;
    bool failed = false;
    for (DataFrame *frame : std::as_const(members)) {
        failed = failed || frame->d->writeFailed;
        if (conflict.isEmpty())
            conflict = frame->d->conflict;
    }
    endUnit();
    if (transaction && (failed || !conflict.isEmpty())) {
        transaction.reset();
        d->recordChanged = true;
        if (!conflict.isEmpty() && conflictHeard)
            emit SaveConflict(conflict);
        else if (!conflict.isEmpty())
            report(QStringLiteral("Save"), conflict);
        return false;
    }
    if (transaction) {
        try {
            transaction->commit();
        } catch (const ado::AdoError &e) {
            transaction.reset();
            d->recordChanged = true;
            report(QStringLiteral("Save"), e.message());
            return false;
        }
    }
    if (write && d->status == StatusNew)
        setStatus(StatusRecord, ReasonSaved);
    // Rows of a child frame that could not be written after the record (already reported) keep
    // the save from being complete: they stay pending, to be saved again or dropped.
    if (write && raiseEvents && !children().isEmpty() && hasPendingChanges())
        return false;
    if (write && raiseEvents)
        emit AfterSave();
    return true;
}

void DataFrame::SaveFailed(const QString &conflict)
{
    d->writeFailed = true;
    if (d->conflict.isEmpty())
        d->conflict = conflict;
}

void DataFrame::CancelUpdate()
{
    if (d->recordset && d->recordset->State() == ado::ObjectState::Open)
        d->recordset->CancelUpdate();
    refreshControls();
}

bool DataFrame::isLeavingRecord() const
{
    return d->leaving;
}

bool DataFrame::Undo()
{
    if (!d->recordset || d->recordset->State() != ado::ObjectState::Open)
        return false;
    // Cancelling the batch puts the recordset on its first row: the record on display stays.
    const QVariant mark = d->hasRow() ? d->recordset->Bookmark() : QVariant();
    d->recordset->CancelBatch();
    if (mark.isValid()) {
        try {
            d->recordset->setBookmark(mark);
        } catch (const ado::AdoError &) {
            // The row was added in the batch just cancelled: it no longer exists.
        }
    }
    d->recordChanged = false;
    d->batchForced = false;
    refreshControls();
    emit AfterUndo(ResultOk);
    return true;
}

bool DataFrame::Delete()
{
    // A master deletes only the record on display, never the row its query status rests on.
    if (!d->hasRow() || (d->childOption != 0 && d->status != StatusRecord))
        return false;
    bool cancel = false;
    emit BeforeDelete(&cancel);
    if (cancel)
        return false;
    try {
        d->recordset->Delete();
        if (d->childOption != 0)
            d->recordset->UpdateBatch();
    } catch (const ado::AdoError &e) {
        report(QStringLiteral("Delete"), e.message());
        d->recordset->CancelBatch();
        emit AfterDelete(ResultFailed);
        return false;
    }
    d->recordChanged = d->childOption == 0;
    d->recordset->MoveNext();
    if (d->recordset->isEOF() && d->recordset->RecordCount() > 0)
        d->recordset->MoveLast();
    emit AfterDelete(ResultOk);
    if (d->childOption != 0) {
        // The master goes back to waiting for a code; the next record is not loaded by itself.
        setStatus(StatusQuery, ReasonDelete);
    } else {
        if (d->gridRefresher)
            d->gridRefresher(d->recordset);
        refreshControls();
        // The rows of a child frame close up on the deleted one: the next row is on display.
        emit AfterMove(ResultOk, ReasonDelete);
    }
    return true;
}

bool DataFrame::AddNew()
{
    if (!d->recordset || d->recordset->State() != ado::ObjectState::Open)
        return false;
    if (d->childOption != 0) {
        // A new master record starts from its code: back to query status.
        if (!leaveRecord())
            return false;
        setStatus(StatusQuery, ReasonNew);
        emit AfterAddNew(ResultOk);
        return true;
    }
    d->recordset->AddNew();
    d->recordset->Update();
    d->recordChanged = true;
    // The first row of an empty frame is on display: what the user types goes into it.
    if (d->status == StatusQuery)
        d->status = StatusRecord;
    if (d->gridRefresher)
        d->gridRefresher(d->recordset);
    refreshControls();
    emit AfterAddNew(ResultOk);
    return true;
}

void DataFrame::PrepareNewSource()
{
    d->recordChanged = false;
    d->batchForced = false;
}

void DataFrame::Refresh(const QString &statement)
{
    if (!statement.isEmpty())
        d->statement = statement;
    d->recordChanged = false;
    if (d->gridRefresher)
        d->gridRefresher(d->recordset);
    refreshControls();
}

void DataFrame::refreshAfterWrite()
{
    d->recordChanged = false;
    if (d->gridRefresher)
        d->gridRefresher(d->recordset);
    const bool row = d->status != StatusQuery && d->hasRow();
    for (const Binding &b : std::as_const(d->bindings)) {
        if (row && b.control && b.active && !d->held.contains(b.control) && d->recordset->hasField(b.column)
            && !differs(controlColumnValue(b), d->recordset->value(b.column)))
            continue;
        writeControl(b);
    }
}

void DataFrame::UpdateBatch()
{
    emit UpdateBatchAll();
}

bool DataFrame::UpdateBatchRecordset(const ado::RecordsetPtr &recordset)
{
    const ado::RecordsetPtr rs = recordset ? recordset : d->recordset;
    if (!rs || rs->State() != ado::ObjectState::Open)
        return false;
    try {
        const bool keep = !rs->isBOF() && !rs->isEOF();
        const QVariant mark = keep ? rs->Bookmark() : QVariant();
        rs->UpdateBatch();
        if (keep)
            rs->setBookmark(mark);
    } catch (const ado::AdoError &e) {
        // Within the master's save the conflict is the master's to report, after its rollback.
        if (d->inMasterSave && e.kind() == ado::AdoError::Conflict)
            SaveFailed(e.message());
        else
            report(QStringLiteral("UpdateBatch"), e.message());
        if (d->inMasterSave)
            d->writeFailed = true;
        return false;
    }
    if (rs == d->recordset) {
        d->recordChanged = false;
        d->batchForced = false;
    }
    return true;
}

bool DataFrame::commitControls()
{
    // A code still being typed, here or in a child frame, is validated and taken into its row
    // before the rows are saved.
    for (const Binding &b : std::as_const(d->bindings)) {
        bool accepted = true;
        if (b.active && b.control && b.control->metaObject()->indexOfMethod("commit()") >= 0
            && QMetaObject::invokeMethod(b.control, "commit", Qt::DirectConnection, Q_RETURN_ARG(bool, accepted))
            && !accepted)
            return false;
    }
    for (DataFrame *child : children()) {
        if (!child->commitControls())
            return false;
    }
    applyHeldEdits();
    return true;
}

void DataFrame::setHoldingEdits(bool hold) { d->holding = hold; }
bool DataFrame::isHoldingEdits() const { return d->holding; }

QList<QWidget *> DataFrame::heldControls() const
{
    QList<QWidget *> list;
    for (const QPointer<QWidget> &c : d->held) {
        if (c)
            list.append(c);
    }
    return list;
}

void DataFrame::applyHeldEdits()
{
    const QList<QWidget *> held = heldControls();
    d->held.clear();
    if (held.isEmpty() || d->status == StatusQuery || !d->hasRow())
        return;
    for (const Binding &b : std::as_const(d->bindings)) {
        if (!b.active || !held.contains(b.control) || !d->recordset->hasField(b.column))
            continue;
        const QVariant value = controlColumnValue(b);
        if (differs(value, d->recordset->value(b.column))) {
            d->recordset->setValue(b.column, value);
            d->recordChanged = true;
        }
    }
}

void DataFrame::RowChanged()
{
    d->recordChanged = true;
    if (d->gridRefresher)
        d->gridRefresher(d->recordset);
}

bool DataFrame::CloseCheck(bool ask, int, bool)
{
    if (d->status == StatusQuery || !hasPendingChanges())
        return true;
    if (!ask)
        return Undo();
    return leaveRecord();
}

void DataFrame::Release()
{
    for (Binding &b : d->bindings)
        disconnect(b.notify);
    d->bindings.clear();
    d->children.clear();
    d->keyControl = nullptr;
    d->navigator = nullptr;
    d->grid = nullptr;
    d->gridRefresher = nullptr;
    d->gridRowRefresher = nullptr;
    d->recordset.reset();
    d->connection.reset();
}

bool DataFrame::move(const std::function<void(ado::Recordset &)> &step)
{
    if (!d->recordset || d->recordset->State() != ado::ObjectState::Open || d->recordset->RecordCount() == 0)
        return false;
    if (!leaveRecord())
        return false;
    step(*d->recordset);
    if (d->recordset->isEOF())
        d->recordset->MoveLast();
    if (d->recordset->isBOF())
        d->recordset->MoveFirst();
    d->recordChanged = false;
    if (d->childOption != 0) {
        setStatus(StatusRecord, ReasonMove);
    } else {
        refreshControls();
    }
    emit AfterMove(ResultOk, ReasonMove);
    return true;
}

bool DataFrame::MoveTo(const QVariant &bookmark)
{
    if (!bookmark.isValid() || !d->recordset || d->recordset->State() != ado::ObjectState::Open || d->recordset->RecordCount() == 0)
        return false;
    if (d->childOption != 0)
        return move([&bookmark](ado::Recordset &rs) { rs.setBookmark(bookmark); });
    // The rows of a child frame are written with the causal: moving only ends the edit of the
    // row on display, after a code still being typed there is taken into it.
    if (!commitControls())
        return false;
    if (d->recordset->EditMode() != 0)
        d->recordset->Update();
    d->recordset->setBookmark(bookmark);
    refreshControls();
    emit AfterMove(ResultOk, ReasonMove);
    return true;
}

bool DataFrame::MoveFirst() { return move([](ado::Recordset &rs) { rs.MoveFirst(); }); }
bool DataFrame::MoveLast() { return move([](ado::Recordset &rs) { rs.MoveLast(); }); }

bool DataFrame::MoveNext()
{
    // From query status the navigator starts at the first record.
    if (d->status == StatusQuery)
        return MoveFirst();
    return move([](ado::Recordset &rs) { rs.MoveNext(); });
}

bool DataFrame::MovePrevious()
{
    if (d->status == StatusQuery)
        return MoveLast();
    return move([](ado::Recordset &rs) { rs.MovePrevious(); });
}

void DataFrame::setAskSave(std::function<SaveAnswer()> ask) { d->askSave = std::move(ask); }

void DataFrame::setErrorHandler(std::function<void(const QString &, const QString &)> handler)
{
    d->errorHandler = std::move(handler);
}

void DataFrame::setGridRefresher(std::function<void(const ado::RecordsetPtr &)> refresher)
{
    d->gridRefresher = std::move(refresher);
}

void DataFrame::setGridRowRefresher(std::function<void()> refresher)
{
    d->gridRowRefresher = std::move(refresher);
}

void DataFrame::report(const QString &operation, const QString &message) const
{
    if (d->errorHandler)
        d->errorHandler(operation, message);
}
