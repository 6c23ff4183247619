#include "support/databasereads.h"

#include "ado/recordset.h"

QVariant scalar(ado::Connection &connection, const QString &sql)
{
    const ado::RecordsetPtr rs = connection.Execute(sql);
    return rs->RecordCount() ? rs->value(0) : QVariant();
}

QVariant scalar(const QString &connectionString, const QString &sql)
{
    ado::Connection connection;
    connection.Open(connectionString);
    return scalar(connection, sql);
}

void execute(const QString &connectionString, const QStringList &statements)
{
    ado::Connection connection;
    connection.Open(connectionString);
    for (const QString &sql : statements)
        connection.Execute(sql);
}

QStringList column(ado::Connection &connection, const QString &sql)
{
    QStringList values;
    for (const ado::RecordsetPtr rs = connection.Execute(sql); !rs->isEOF(); rs->MoveNext())
        values << rs->value(0).toString();
    return values;
}

QStringList firstRow(ado::Connection &connection, const QString &sql)
{
    const ado::RecordsetPtr rs = connection.Execute(sql);
    QStringList values;
    for (int i = 0; i < rs->fieldNames().size(); ++i)
        values << (rs->RecordCount() ? rs->value(i).toString() : QString());
    return values;
}
