#include "support/modulerows.h"

#include "ado/recordset.h"
#include "causals/causalconfiguration.h"

#include <QStringList>

QString moduleRows(ado::Connection &connection)
{
    QString all;
    for (const CausalConfiguration::Table &table : CausalConfiguration::tables()) {
        const QString name = QLatin1String(table.table);
        const ado::RecordsetPtr rs = connection.Execute(QStringLiteral("SELECT * FROM ") + name);
        const QStringList fields = rs->fieldNames();
        QStringList lines;
        for (; !rs->isEOF(); rs->MoveNext()) {
            QStringList cells;
            for (const QString &f : fields) {
                if (f != QLatin1String("ID"))
                    cells << f + u'=' + (rs->value(f).isNull() ? QStringLiteral("NULL") : rs->value(f).toString());
            }
            lines << cells.join(u'|');
        }
        lines.sort();
        all += name + u'\n' + lines.join(u'\n') + u'\n';
    }
    return all;
}

QString moduleRows(const QString &connectionString)
{
    ado::Connection connection;
    connection.Open(connectionString);
    return moduleRows(connection);
}
