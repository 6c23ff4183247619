#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QtPlugin>

// The root object of a module plug-in: the host asks it for new instances of the module's
// public classes by ProgID. The plug-in's metadata JSON carries the same ProgIDs under
// "ProgID", so the host can choose the file without loading every plug-in.
class ComponentFactory
{
public:
    virtual ~ComponentFactory();

    virtual QStringList progIds() const = 0;
    // A new instance owned by the caller, or nullptr for an unknown ProgID.
    virtual QObject *createInstance(const QString &progId) = 0;
};

#define ComponentFactory_iid "it.duebil.ComponentFactory/1.0"
Q_DECLARE_INTERFACE(ComponentFactory, ComponentFactory_iid)
