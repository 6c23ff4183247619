#pragma once

#include "ado/connection.h"
#include "store/moduletables.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

// The rows a reading of a causal takes of the tables kept per company: every company's, or
// one company's, in every such table (what the window edits) or in the due-date selection
// only (the one company a duplication copies it for).
struct CausalScope
{
    enum Reach { EveryCompany, OneCompany, SelectionOfOneCompany };
    Reach reach = EveryCompany;
    int company = 0;
};

// Every stored row of one causal: its row of CGP0_DUEBILCAUSALI and its rows in the
// configuration tables and in the due-date selection. Read at two moments, two
// configurations give the changes between them, row by row and column by column; the
// import's trial run shows them, and so can anything else that must say what changed.
class CausalConfiguration
{
public:
    // One table of a causal's configuration, as the module's table definition gives it.
    using Table = ModuleTables::Table;
    // The causal row first, then the configuration tables in the window's order and the
    // due-date selection.
    static const QList<Table> &tables();
    static const Table &causalTable();

    using Scope = CausalScope;

    struct Row
    {
        QStringList columns;        // in the table's order
        QVariantHash values;
    };

    struct Change
    {
        enum Kind { RowAdded, RowRemoved, ValueChanged };
        Kind kind = ValueChanged;
        QString table;
        QList<QPair<QString, QVariant>> key;
        QString column;             // ValueChanged only
        QVariant before;
        QVariant after;
        QList<QPair<QString, QVariant>> values;  // RowAdded, RowRemoved: every column of the row
    };

    // The SELECT of the causal's rows in one table (the selection table holds other objects'
    // rows too). The code must be a code in the window's format.
    static QString rowsOf(const Table &table, const QString &code, const Scope &scope = {});

    // Nothing stored yet, as seen within a scope.
    explicit CausalConfiguration(const Scope &scope = {}) : m_scope(scope) {}

    // Reads every row of the causal within the scope (none when it does not exist). Throws
    // ado::AdoError.
    static CausalConfiguration read(ado::Connection &connection, const QString &code, const Scope &scope = {});
    const Scope &scope() const { return m_scope; }

    bool exists() const { return !m_rows.value(QLatin1String(causalTable().table)).isEmpty(); }
    QList<Row> rows(const QString &table) const { return m_rows.value(table); }
    // Rows already in hand (a window's frames), as they are stored.
    void setRows(const QString &table, QList<Row> rows) { m_rows.insert(table, std::move(rows)); }

    // The rows a copy of this causal adds: each under the new code, the causal row with the
    // description given, and the parameter column a copy leaves to its default.
    CausalConfiguration copiedAs(const QString &newCode, const QString &description) const;

    // What turns before into after, table by table in the order of tables(): rows that
    // appear, rows that go, and each column whose value differs in a row found in both.
    static QList<Change> diff(const CausalConfiguration &before, const CausalConfiguration &after);

private:
    Scope m_scope;
    QHash<QString, QList<Row>> m_rows;  // by table name
};
