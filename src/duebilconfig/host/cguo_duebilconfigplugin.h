#pragma once

#include "framework/componentfactory.h"

#include <QObject>

// The plug-in's root object: the class factory of CGUO_DUEBILCONFIG. Creating it does
// nothing; instances are made when the host asks for them.
class CGUO_DUEBILCONFIGPlugin : public QObject, public ComponentFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ComponentFactory_iid FILE "cguo_duebilconfig.json")
    Q_INTERFACES(ComponentFactory)
public:
    QStringList progIds() const override;
    QObject *createInstance(const QString &progId) override;
};
