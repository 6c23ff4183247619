#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The companies of the host database (CG18_DITTE), read once for the company selector.
class CompanyList
{
public:
    struct Company
    {
        int code = 0;
        QString name;
        qint16 accountGroup = 0;   // CG18_GRUPPO_CG10: the account structure of its ledger
        // Further ledger settings the host hands to the modules by name: the host settings
        // (FW95_SETTINGS) named "<setting>.<company>", for the settings in ledgerSettingNames().
        QVariantMap ledgerSettings;
    };

    static QStringList ledgerSettingNames();

    // Reads the companies in code order; false with a technical description in *error.
    static bool read(const QString &connectionString, QList<Company> *companies, QString *error);
};
