#pragma once

#include "ado/connection.h"

#include <QMap>
#include <QSet>
#include <QStringList>

class DataFrame;

// The module's stored rows as "COLUMN=value|..." lines (NULL written out), from the tables
// store/moduletables defines for a causal: a new table or column needs no change here.

// Every row, table by table, sorted, without the exclusion rows' own numbering (ID).
QString moduleRows(ado::Connection &connection);
QString moduleRows(const QString &connectionString);

// The rows of each causal: the module's own due-date selection only, and the sibling screen's
// sort and selection (FW17, FW18) that a delete takes with the causal.
class CausalRows
{
public:
    explicit CausalRows(const QString &connectionString);

    QMap<int, QStringList> read() const;  // causal code -> its rows, sorted
    // Causals whose rows differ between two readings (added, changed or gone).
    static QSet<int> changed(const QMap<int, QStringList> &before, const QMap<int, QStringList> &after);
    // "code: what is wrong" for every causal left without one row per catalogue check, its
    // parameter row, the company's row or a posting row, and for rows of a causal that is gone.
    QStringList incomplete(int company) const;

private:
    ado::ConnectionPtr m_connection;
};

// Every stored row of the causals, the sibling screen's included, one line a row: what a case
// compares before and after an action that must leave them whole or take them away whole.
QString storedConfiguration(const QString &connectionString, const QStringList &codes);

// "frame: code" for every row the frames hold of a causal other than code.
QStringList rowsOfAnotherCausal(const QList<DataFrame *> &frames, const QString &code);
