#pragma once

#include <QMap>
#include <QSet>
#include <QStringList>

// The stored rows of every causal, read straight from the database: the causal tables, its
// due-date selection (FW41) and the sort and selection personalisation of the sibling screen
// (FW17, FW18). A window session must change no causal but the one it works on.
class CausalRows
{
public:
    // connectionString: "sqlite:PATH", as the test databases give it.
    explicit CausalRows(const QString &connectionString);
    ~CausalRows();

    // Causal code -> its rows as text, table by table, sorted.
    QMap<int, QStringList> read() const;
    // Causals whose rows differ between two readings (added, changed or gone).
    static QSet<int> changed(const QMap<int, QStringList> &before, const QMap<int, QStringList> &after);
    // What the window must always leave complete: a causal without one row per catalogue check,
    // its parameter row, or its rows for the company, as "code: what is missing".
    QStringList incomplete(int company) const;

private:
    QString m_name;  // of the QSqlDatabase connection, independent of the code under test
};

struct FormContext;

// Rows of the window's child frames that belong to another causal than the code in the header,
// as "frame: code"; empty when every frame shows only the causal on display.
QStringList rowsOfAnotherCausal(const FormContext &ctx);
