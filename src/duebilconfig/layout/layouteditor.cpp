#include "layout/layouteditor.h"

#include "framework/clsservizi.h"
#include "store/duebilstatements.h"
#include "store/messageids.h"

#include <algorithm>
#include <vector>

namespace {

int number(const ado::Recordset &rs, const char *column)
{
    return ClsServizi::nullToDefault(rs.value(QLatin1String(column)), 0).toInt();
}

} // namespace

LayoutEditor::LayoutEditor(ado::ConnectionPtr connection) : m_connection(std::move(connection)) {}

int LayoutEditor::GetIDField(const QString &key) const
{
    const QString table = key.section(QLatin1Char('.'), 0, 0);
    const QString field = key.section(QLatin1Char('.'), 1);
    const ado::RecordsetPtr rs = m_connection->Execute(DueBilStatements::fieldId(table, field));
    return rs->RecordCount() > 0 ? number(*rs, "CGP1_ID") : 0;
}

QString LayoutEditor::GetTableField(const QString &text) const
{
    const ado::RecordsetPtr rs = m_connection->Execute(DueBilStatements::fieldTable(text));
    return rs->RecordCount() > 0 ? rs->value(QStringLiteral("CGP1_TABLE")).toString() : QString();
}

int LayoutEditor::addField(ado::Recordset &layout, const QString &nodeKey, const QString &nodeText,
                           const QString &parentText, bool nodeHasChildren, const QString &causal) const
{
    if (nodeKey.isEmpty() || nodeHasChildren)
        return MessageId::NoField;
    const ado::RecordsetPtr probe = layout.Clone();
    probe->setFilter(QString());
    probe->setFilter("CGP1_FIELD = " + DueBilStatements::quoted(nodeKey));
    if (probe->RecordCount() > 0)
        return MessageId::FieldPresent;
    // Rows read back from the table carry the catalogue's bare column name, never the node key:
    // they are recognised by their catalogue id.
    const int id = GetIDField(nodeKey);
    if (id != 0) {
        probe->setFilter(QString());
        probe->setFilter("CGP1_ID = " + QString::number(id));
        if (probe->RecordCount() > 0)
            return MessageId::FieldPresent;
    }
    const QString table = GetTableField(nodeKey);
    layout.AddNew();
    layout.setValue(QStringLiteral("CGP1_ID"), id);
    layout.setValue(QStringLiteral("CGP1_TABLE"), table);
    layout.setValue(QStringLiteral("CGP1_DESCRTABLE"), parentText);
    layout.setValue(QStringLiteral("CGP1_FIELD"), nodeKey);
    layout.setValue(QStringLiteral("CGP1_DESCRIZIONE"), nodeText);
    layout.setValue(QStringLiteral("CGP3_CAUSALE_CGP0"), causal);
    layout.setValue(QStringLiteral("CGP3_IDFIELD_CGP1"), id);
    layout.setValue(QStringLiteral("CGP3_VISIBLEORDER"), layout.RecordCount());
    layout.setValue(QStringLiteral("CGP3_SORTTYPE"), 0);
    layout.setValue(QStringLiteral("CGP3_GROUPED"), 0);
    layout.Update();
    layout.setSort(QStringLiteral("CGP3_VISIBLEORDER"));
    layout.MoveLast();
    return 0;
}

bool LayoutEditor::moveUp(ado::Recordset &layout)
{
    if (layout.RecordCount() == 0 || layout.isBOF() || layout.isEOF() || layout.AbsolutePosition() == 1)
        return false;
    const QVariant mark = layout.Bookmark();
    const int p = number(layout, "CGP3_VISIBLEORDER");
    layout.MovePrevious();
    const int q = number(layout, "CGP3_VISIBLEORDER");
    if (q == PinnedPosition) {
        layout.setSort(QStringLiteral("CGP3_VISIBLEORDER, CGP3_IDFIELD_CGP1"));
        layout.setBookmark(mark);
        return false;
    }
    layout.setValue(QStringLiteral("CGP3_VISIBLEORDER"), p);
    layout.setBookmark(mark);
    layout.setValue(QStringLiteral("CGP3_VISIBLEORDER"), p != PinnedPosition ? p - 1 : PinnedPosition);
    layout.Update();
    layout.setSort(QStringLiteral("CGP3_VISIBLEORDER, CGP1_ID"));
    layout.setBookmark(mark);
    return true;
}

bool LayoutEditor::moveDown(ado::Recordset &layout)
{
    if (layout.RecordCount() == 0 || layout.isBOF() || layout.isEOF()
        || layout.AbsolutePosition() == layout.RecordCount())
        return false;
    const QVariant mark = layout.Bookmark();
    const int p = number(layout, "CGP3_VISIBLEORDER");
    layout.setValue(QStringLiteral("CGP3_VISIBLEORDER"), p != PinnedPosition ? p + 1 : PinnedPosition);
    layout.MoveNext();
    layout.setValue(QStringLiteral("CGP3_VISIBLEORDER"), p);
    layout.Update();
    layout.setSort(QStringLiteral("CGP3_VISIBLEORDER, CGP1_ID"));
    layout.setBookmark(mark);
    return true;
}

bool LayoutEditor::cycleSort(ado::Recordset &layout)
{
    if (layout.isBOF() || layout.isEOF())
        return false;
    layout.setValue(QStringLiteral("CGP3_SORTTYPE"), (number(layout, "CGP3_SORTTYPE") + 1) % 3);
    layout.Update();
    return true;
}

int LayoutEditor::sortTextId(const QVariant &stored)
{
    const QString value = stored.toString();
    if (value == QLatin1String("1"))
        return TextAscending;
    if (value == QLatin1String("2"))
        return TextDescending;
    return 0;
}

bool LayoutEditor::UpdateLayOut(const ado::Recordset &layout, const QString &causal, ErrorTrap &trap) const
{
    const ado::RecordsetPtr rows = layout.Clone();
    rows->setSort(QStringLiteral("CGP1_ID"));
    QStringList inserts;
    for (rows->MoveFirst(); !rows->isEOF(); rows->MoveNext()) {
        if (number(*rows, "CGP1_ID") != 0)
            inserts.append(DueBilStatements::insertLayoutRow(causal, number(*rows, "CGP1_ID"),
                                                             number(*rows, "CGP3_VISIBLEORDER"),
                                                             number(*rows, "CGP3_SORTTYPE"), number(*rows, "CGP3_GROUPED")));
    }
    // A statement that failed leaves the layout half written even when the user chose to go
    // on: such a layout is never committed, and the rows stored before stay.
    QStringList statements{DueBilStatements::deleteLayout(causal)};
    statements += inserts;
    std::vector<TrapStep> steps;
    for (const QString &sql : std::as_const(statements))
        steps.emplace_back([this, sql] { m_connection->Execute(sql); });
    return trap.runWhole(QStringLiteral("UpdateLayOut"), *m_connection, steps);
}

namespace {

LayoutEditor::Rows sortedRows(const QList<QVariantList> &values)
{
    LayoutEditor::Rows rows;
    for (const QVariantList &row : values) {
        QList<int> numbers;
        for (const QVariant &v : row)
            numbers.append(ClsServizi::nullToDefault(v, 0).toInt());
        if (numbers.value(0) != 0)
            rows.append(numbers);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

} // namespace

LayoutEditor::Rows LayoutEditor::rows(const ado::Recordset &layout, bool asRead)
{
    const QStringList fields = {QStringLiteral("CGP1_ID"), QStringLiteral("CGP3_VISIBLEORDER"),
                                QStringLiteral("CGP3_SORTTYPE"), QStringLiteral("CGP3_GROUPED")};
    if (asRead)
        return sortedRows(layout.originalRows(fields));
    QList<QVariantList> values;
    const ado::RecordsetPtr now = layout.Clone();
    for (now->MoveFirst(); !now->isEOF(); now->MoveNext()) {
        QVariantList row;
        for (const QString &field : fields)
            row.append(now->value(field));
        values.append(row);
    }
    return sortedRows(values);
}

LayoutEditor::Rows LayoutEditor::storedRows(const QString &causal) const
{
    const ado::RecordsetPtr rs = m_connection->Execute(DueBilStatements::layoutRows(causal));
    QList<QVariantList> values;
    for (; rs->RecordCount() > 0 && !rs->isEOF(); rs->MoveNext()) {
        QVariantList row;
        for (const QString &field : rs->fieldNames())
            row.append(rs->value(field));
        values.append(row);
    }
    return sortedRows(values);
}
