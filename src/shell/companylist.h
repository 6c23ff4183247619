#pragma once

#include <QList>
#include <QString>

// The companies of the host database (CG18_DITTE), read once for the company selector.
class CompanyList
{
public:
    struct Company
    {
        int code = 0;
        QString name;
        qint16 accountGroup = 0;   // CG18_GRUPPO_CG10: the account structure of its ledger
    };

    // Reads the companies in code order; false with a technical description in *error.
    static bool read(const QString &connectionString, QList<Company> *companies, QString *error);
};
