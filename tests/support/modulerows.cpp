#include "support/modulerows.h"

#include "ado/recordset.h"
#include "dataframe/dataframe.h"
#include "store/duebilstatements.h"
#include "store/moduletables.h"
#include "support/databasereads.h"

using ModuleTables::Role;
using ModuleTables::Table;

namespace {

// The rows a statement gives, one line each, every column but those in skip.
QStringList lines(ado::Connection &connection, const QString &sql, const QStringList &skip, QStringList *codes = nullptr)
{
    const ado::RecordsetPtr rs = connection.Execute(sql);
    QStringList all;
    for (; !rs->isEOF(); rs->MoveNext()) {
        QStringList cells;
        for (const QString &f : rs->fieldNames()) {
            if (!skip.contains(f))
                cells << f + u'=' + (rs->value(f).isNull() ? QStringLiteral("NULL") : rs->value(f).toString());
        }
        all << cells.join(u'|');
        if (codes)
            *codes << rs->value(QStringLiteral("CAUSAL_CODE")).toString();
    }
    return all;
}

// The host keeps the sibling screen's sort and selection under an object name ending in the code.
const char *const siblingTables[][2] = {{"FW17_ORDERPRS", "FW17_UOBJECT"}, {"FW18_SELEZIONEPRS", "FW18_UOBJECT"}};

} // namespace

QString moduleRows(ado::Connection &connection)
{
    QString all;
    for (const Table *table : ModuleTables::ofCausal()) {
        QStringList rows = lines(connection, QStringLiteral("SELECT * FROM ") + QLatin1String(table->table), {"ID"});
        rows.sort();
        all += QLatin1String(table->table) + u'\n' + rows.join(u'\n') + u'\n';
    }
    return all;
}

QString moduleRows(const QString &connectionString)
{
    ado::Connection connection;
    connection.Open(connectionString);
    return moduleRows(connection);
}

CausalRows::CausalRows(const QString &connectionString) : m_connection(std::make_shared<ado::Connection>())
{
    m_connection->Open(connectionString);
}

QMap<int, QStringList> CausalRows::read() const
{
    QStringList statements;
    for (const Table *t : ModuleTables::ofCausal()) {
        const QString object = t->objectColumn
            ? QStringLiteral(" WHERE %1 = '%2'").arg(QLatin1String(t->objectColumn), DueBilStatements::UObjectConfig)
            : QString();
        statements << QStringLiteral("SELECT %1 AS CAUSAL_CODE, '%2' AS TABLE_NAME, * FROM %2").arg(QLatin1String(t->causalColumn), QLatin1String(t->table)) + object;
    }
    const QString sibling = DueBilStatements::UObjectSibling;
    for (const auto &[table, object] : siblingTables)
        statements << QStringLiteral("SELECT SUBSTR(%1, %3) AS CAUSAL_CODE, '%2' AS TABLE_NAME, * FROM %2 WHERE %1 LIKE '%4%'")
                          .arg(QLatin1String(object), QLatin1String(table)).arg(sibling.size() + 1).arg(sibling);
    QMap<int, QStringList> rows;
    for (const QString &sql : statements) {
        QStringList codes;
        const QStringList found = lines(*m_connection, sql, {"CAUSAL_CODE"}, &codes);
        for (int i = 0; i < found.size(); ++i)
            rows[codes.at(i).toInt()] << found.at(i);
    }
    for (QStringList &list : rows)
        list.sort();
    return rows;
}

QSet<int> CausalRows::changed(const QMap<int, QStringList> &before, const QMap<int, QStringList> &after)
{
    // Every causal read has rows: one missing from a reading has none there.
    QSet<int> codes;
    for (const int code : before.keys() + after.keys()) {
        if (before.value(code) != after.value(code))
            codes << code;
    }
    return codes;
}

QStringList CausalRows::incomplete(int company) const
{
    QStringList faults;
    const Table &causals = *ModuleTables::ofCausal().constFirst();
    const QString code = QLatin1String(causals.causalColumn), ofCausals = QStringLiteral(" FROM ") + QLatin1String(causals.table);
    for (const Table *t : ModuleTables::completionOrder()) {
        const QString table = QLatin1String(t->table);
        QString where = QLatin1String(t->causalColumn) + QStringLiteral(" = ") + code;
        if (t->companyColumn)
            where += QStringLiteral(" AND %1 = %2").arg(QLatin1String(t->companyColumn)).arg(company);
        // A table keyed by a catalogue holds one row for each catalogue row and for no other;
        // the others one row, or at least one when their key tells several apart.
        const ModuleTables::Column *key = t->column(t->keyColumns.value(0));
        const Table *catalogue = key && key->refTable ? ModuleTables::find(QLatin1String(key->refTable)) : nullptr;
        const bool byCatalogue = catalogue && catalogue->role == Role::Catalogue;
        const bool several = !byCatalogue && !t->single && t->keyColumns != QStringList{QLatin1String(t->companyColumn)};
        const int expected = byCatalogue ? scalar(*m_connection, QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(catalogue->table)).toInt() : 1;
        // Distinct rows of known catalogue entries (all rows, for the other tables).
        const QString known = byCatalogue ? QStringLiteral("COUNT(DISTINCT %1) FROM %2 WHERE %3 AND %1 IN (SELECT %4 FROM %5)")
                                                .arg(QLatin1String(key->name), table, where, QLatin1String(key->refColumn), QLatin1String(catalogue->table))
                                          : QStringLiteral("COUNT(*) FROM %1 WHERE %2").arg(table, where);
        const ado::RecordsetPtr rs = m_connection->Execute(QStringLiteral("SELECT %1, (SELECT COUNT(*) FROM %2 WHERE %3), (SELECT %4)")
                                                               .arg(code, table, where, known) + ofCausals);
        for (; !rs->isEOF(); rs->MoveNext()) {
            const int rows = rs->value(1).toInt();
            if ((several ? rows < 1 : rows != expected) || rs->value(2).toInt() != rows)
                faults << rs->value(0).toString() + QStringLiteral(": %1 rows in %2").arg(rows).arg(table);
        }
    }
    // Rows of a causal that no longer exists are parts left behind.
    for (const Table *t : ModuleTables::ofCausal()) {
        QString sql = QStringLiteral("SELECT DISTINCT %1 FROM %2 WHERE %1 NOT IN (SELECT %3%4)")
                          .arg(QLatin1String(t->causalColumn), QLatin1String(t->table), code, ofCausals);
        if (t->objectColumn)
            sql += QStringLiteral(" AND %1 = '%2'").arg(QLatin1String(t->objectColumn), DueBilStatements::UObjectConfig);
        const ado::RecordsetPtr rs = m_connection->Execute(sql);
        for (; !rs->isEOF(); rs->MoveNext())
            faults << rs->value(0).toString() + QStringLiteral(": rows left in %1 without the causal").arg(QLatin1String(t->table));
    }
    return faults;
}

QStringList rowsOfAnotherCausal(const QList<DataFrame *> &frames, const QString &code)
{
    QStringList foreign;
    for (const DataFrame *frame : frames) {
        const ado::RecordsetPtr source = frame->recordset();
        if (!source || source->State() != ado::ObjectState::Open)
            continue;
        for (const Table *t : ModuleTables::ofCausal()) {
            if (!source->hasField(QLatin1String(t->causalColumn)))
                continue;
            const ado::RecordsetPtr rs = source->Clone();
            for (rs->MoveFirst(); !rs->isEOF(); rs->MoveNext()) {
                const QVariant owner = rs->value(QLatin1String(t->causalColumn));
                // A row being added carries no code until it is written.
                if (!owner.isNull() && owner.toString() != code)
                    foreign << frame->objectName() + QStringLiteral(": ") + owner.toString();
            }
        }
    }
    return foreign;
}

QString storedConfiguration(const QString &connectionString, const QStringList &codes)
{
    const QMap<int, QStringList> rows = CausalRows(connectionString).read();
    QStringList all;
    for (const QString &code : codes)
        all += rows.value(code.toInt());
    return all.join(u'\n');
}
