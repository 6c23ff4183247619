#pragma once

#include "ado/connection.h"
#include "causals/causalconfiguration.h"
#include "store/duebilstatements.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

// The record of every change the module makes to a causal's configuration: who, when, which
// operation and, per table row, each column's old and new value. The change is what
// CausalConfiguration::diff finds between the causal before and after the operation; it is
// written on the caller's connection, so inside the caller's transaction when there is one.
// A database without the history table works as before: nothing is read and nothing recorded.
class CausalHistory
{
public:
    static inline const QString &TableName = DueBilStatements::HistoryTable;

    enum class Operation { Save = 1, Create = 2, Duplicate = 3, Delete = 4, Import = 5, Completion = 6 };
    // A completion concerns every causal: its entry is recorded under this code.
    static constexpr int EveryCausal = 0;
    enum class RowKind { Changed = 0, Added = 1, Removed = 2 };

    CausalHistory(ado::Connection &connection, QString userName);

    // Whether the database holds the history table (asked once).
    bool enabled();
    const QString &userName() const { return m_userName; }

    // The causal as stored now; empty when the history is off, so that it costs nothing.
    CausalConfiguration snapshot(const QString &code, const CausalConfiguration::Scope &scope = {});

    // Compares the causal as stored now, within before's scope, with before and records the
    // change; nothing when nothing changed. Answers the table rows recorded. Throws ado::AdoError.
    int record(Operation operation, const QString &code, const CausalConfiguration &before);
    // The same for a change already computed.
    int record(Operation operation, const QString &code, const QList<CausalConfiguration::Change> &changes);
    // A completion of every causal's rows: one entry, one row per table that got rows, with
    // the company (for the tables kept per company) as its key and the count of rows added.
    int recordCompletion(const QString &company, const QList<QPair<QString, int>> &added);

    // An operation spread over several events (the window's save): the causal as stored when
    // it begins, kept until it finishes (recorded) or is given up (nothing recorded). Beginning
    // again for the same causal keeps the first state. A record that fails keeps it, to be
    // tried again or given up.
    void begin(const QString &code, const CausalConfiguration::Scope &scope = {});
    int finish(Operation operation);
    // The same with the causal's rows already in hand before and after (a window's frames):
    // nothing is read.
    void begin(const QString &code, const std::function<CausalConfiguration()> &held);
    int finish(Operation operation, const CausalConfiguration &after);
    void discard();

    struct RowChange
    {
        QString table;
        RowKind kind = RowKind::Changed;
        QJsonObject key;     // column -> value
        QJsonObject values;  // column -> [old, new]; a row added has no old values, a row removed no new ones
    };
    struct Entry
    {
        QString causal;
        QString when;  // yyyy-MM-dd HH:mm:ss.zzz, local time
        QString user;
        Operation operation = Operation::Save;
        QList<RowChange> rows;
    };

    // The operations recorded, newest first: of every causal or of one, since a moment given
    // as the start of a recorded time ("2026-03-01" or "2026-03-01 14:30"). Empty when the
    // history is off. Throws ado::AdoError.
    static QList<Entry> read(ado::Connection &connection, const QString &code = {}, const QString &since = {});
    // The same, one operation at a time as it is read, so that a long record is never held
    // whole; at most limit operations (0: all). Answers how many were given.
    static int read(ado::Connection &connection, const QString &code, const QString &since, int limit,
                    const std::function<void(const Entry &)> &each);
    static bool exists(ado::Connection &connection);

    // The causal's recorded rows as stored, oldest first, each as the values of storedColumns()
    // (every column but the row id and the causal): what carries the record of a causal to
    // another database. Throws ado::AdoError.
    static const QStringList &storedColumns();
    static QList<QVariantList> storedRows(ado::Connection &connection, const QString &code);
    // Stores rows carried from another database under the causal, on the caller's connection,
    // leaving out those recorded already (the same operation, row and values): carried again,
    // nothing is doubled. Answers how many it stored. Throws ado::AdoError.
    static int restore(ado::Connection &connection, const QString &code, const QList<QVariantList> &rows);

private:
    ado::Connection &m_connection;
    QString m_userName;
    std::optional<bool> m_enabled;
    std::optional<QPair<QString, CausalConfiguration>> m_begun;
};
