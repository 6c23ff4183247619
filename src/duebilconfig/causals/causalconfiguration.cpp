#include "causals/causalconfiguration.h"

#include "ado/recordset.h"
#include "store/duebilstatements.h"

namespace S = DueBilStatements;

namespace {

using Table = CausalConfiguration::Table;
using Row = CausalConfiguration::Row;

// Stored values of one column compare as the database returns them; a NULL equals only NULL.
bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.toString() == b.toString();
}

QString keyText(const Row &row, const QStringList &keyColumns)
{
    QStringList parts;
    for (const QString &c : keyColumns) {
        const QVariant v = row.values.value(c);
        parts << (v.isNull() ? QStringLiteral("\x01") : v.toString());
    }
    return parts.join(QChar(0));
}

QList<QPair<QString, QVariant>> keyOf(const Row &row, const QStringList &keyColumns)
{
    QList<QPair<QString, QVariant>> key;
    for (const QString &c : keyColumns)
        key.append({c, row.values.value(c)});
    return key;
}

QList<QPair<QString, QVariant>> valuesOf(const Row &row)
{
    return keyOf(row, row.columns);
}

} // namespace

const QList<Table> &CausalConfiguration::tables()
{
    static const QList<Table> all = [] {
        QList<Table> tables;
        for (const Table *t : ModuleTables::ofCausal())
            tables.append(*t);
        return tables;
    }();
    return all;
}

const Table &CausalConfiguration::causalTable()
{
    return tables().first();
}

static QString rowsOrdered(const Table &table, const QString &code, const CausalScope &scope, const QString &orderBy)
{
    const bool selection = table.role == ModuleTables::Role::Selection;
    // The selection table is keyed by company first: without the company its rows of one
    // causal are found only by reading every object's selections.
    const bool oneCompany = table.companyColumn
        && (scope.reach == CausalScope::OneCompany || (scope.reach == CausalScope::SelectionOfOneCompany && selection));
    return S::rowsOfCausal(QLatin1String(table.table), QLatin1String(table.causalColumn), code,
                           oneCompany ? QLatin1String(table.companyColumn) : QString(), QString::number(scope.company),
                           orderBy);
}

QString CausalConfiguration::rowsOf(const Table &table, const QString &code, const Scope &scope)
{
    return rowsOrdered(table, code, scope, QString());
}

CausalConfiguration CausalConfiguration::read(ado::Connection &connection, const QString &code, const Scope &scope)
{
    CausalConfiguration configuration(scope);
    for (const Table &t : tables()) {
        const ado::RecordsetPtr rs = connection.Execute(rowsOrdered(t, code, scope, QLatin1String(t.orderBy)));
        const QStringList columns = rs->fieldNames();
        QList<Row> rows;
        rows.reserve(rs->RecordCount());
        for (; !rs->isEOF(); rs->MoveNext()) {
            Row row;
            row.columns = columns;
            row.values.reserve(columns.size());
            for (int c = 0; c < columns.size(); ++c)
                row.values.insert(columns.at(c), rs->value(c));
            rows.append(std::move(row));
        }
        configuration.m_rows.insert(QLatin1String(t.table), rows);
    }
    return configuration;
}

CausalConfiguration CausalConfiguration::copiedAs(const QString &newCode, const QString &description) const
{
    CausalConfiguration copy(m_scope);
    const QVariant code = qlonglong(newCode.toInt());
    for (const Table &t : tables()) {
        const QString table = QLatin1String(t.table);
        QList<Row> copied;
        if (&t == &causalTable()) {
            Row row;
            row.columns = QStringList{QLatin1String(t.causalColumn), QStringLiteral("CGP0_DESCRIZIONE")};
            row.values = {{row.columns.at(0), code}, {row.columns.at(1), description}};
            copied.append(row);
        } else {
            copied = rows(table);
            for (Row &row : copied) {
                row.values.insert(QLatin1String(t.causalColumn), code);
                if (row.values.contains(S::UncopiedParameter))
                    row.values.insert(S::UncopiedParameter, S::UncopiedParameterDefault);
            }
        }
        copy.setRows(table, copied);
    }
    return copy;
}

QList<CausalConfiguration::Change> CausalConfiguration::diff(const CausalConfiguration &before,
                                                             const CausalConfiguration &after)
{
    QList<Change> changes;
    for (const Table &t : tables()) {
        const QString table = QLatin1String(t.table);
        const QList<Row> old = before.rows(table);
        const QList<Row> now = after.rows(table);
        // Rows with the same key pair up in their order; the unpaired ones came or went.
        QHash<QString, QList<int>> oldByKey;
        for (int i = 0; i < old.size(); ++i)
            oldByKey[keyText(old.at(i), t.keyColumns)].append(i);
        QList<bool> oldPaired(old.size(), false);
        QList<Change> added;
        for (const Row &row : now) {
            QList<int> &candidates = oldByKey[keyText(row, t.keyColumns)];
            if (candidates.isEmpty()) {
                added.append({Change::RowAdded, table, keyOf(row, t.keyColumns), {}, {}, {}, valuesOf(row)});
                continue;
            }
            const int index = candidates.takeFirst();
            const Row &was = old.at(index);
            oldPaired[index] = true;
            for (const QString &column : row.columns) {
                if (!sameValue(was.values.value(column), row.values.value(column)))
                    changes.append({Change::ValueChanged, table, keyOf(row, t.keyColumns), column,
                                    was.values.value(column), row.values.value(column), {}});
            }
        }
        for (int i = 0; i < old.size(); ++i) {
            if (!oldPaired.at(i))
                changes.append(
                    {Change::RowRemoved, table, keyOf(old.at(i), t.keyColumns), {}, {}, {}, valuesOf(old.at(i))});
        }
        changes += added;
    }
    return changes;
}
