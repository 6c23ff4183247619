#pragma once

#include "ado/connection.h"
#include "ado/recordset.h"
#include "framework/errortrap.h"

#include <QString>

// The grid layout of a causal as the user edits it: rows of the layout recordset (catalogue
// columns joined with the layout columns), changed in memory until the causal is saved, when
// UpdateLayOut replaces the causal's rows in one transaction.
class LayoutEditor
{
public:
    static constexpr int PinnedPosition = 999;  // a position the rows below cannot pass

    explicit LayoutEditor(ado::ConnectionPtr connection);

    // Catalogue look-ups by the tree key "TABLE.FIELD".
    int GetIDField(const QString &key) const;
    QString GetTableField(const QString &text) const;

    // Appends the field of a tree node as the last column; 0 when added, else the text id of
    // the refusal (the node is a heading, or the field is already there).
    int addField(ado::Recordset &layout, const QString &nodeKey, const QString &nodeText,
                 const QString &parentText, bool nodeHasChildren, const QString &causal) const;
    static bool moveUp(ado::Recordset &layout);
    static bool moveDown(ado::Recordset &layout);
    // 0 none -> 1 ascending -> 2 descending -> 0.
    static bool cycleSort(ado::Recordset &layout);
    static constexpr int TextAscending = 993001;
    static constexpr int TextDescending = 993002;
    // The text id a cell of the sort column shows (0: the cell stays empty).
    static int sortTextId(const QVariant &stored);

    // Replaces the causal's layout rows with those of the recordset, in catalogue id order, in
    // one transaction (the caller's when one is open, which then rolls back on failure).
    // Returns false when the user left after an error (the previous rows are kept).
    bool UpdateLayOut(const ado::Recordset &layout, const QString &causal, ErrorTrap &trap) const;

    // A layout as UpdateLayOut writes it: field, visible order, sort type, grouped, in field
    // order. Of the recordset as it is now, or as it was read (before the user's edits), or
    // as the table holds it: the three tell whether the user changed the layout and whether
    // another user did meanwhile.
    using Rows = QList<QList<int>>;
    static Rows rows(const ado::Recordset &layout, bool asRead);
    Rows storedRows(const QString &causal) const;

private:
    ado::ConnectionPtr m_connection;
};
