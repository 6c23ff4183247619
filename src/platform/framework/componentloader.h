#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

// Creates module objects by ProgID from the plug-ins of one directory, as the host's
// component runtime does. Plug-ins stay loaded while the loader lives.
class ComponentLoader
{
public:
    explicit ComponentLoader(const QStringList &pluginDirectories);
    virtual ~ComponentLoader();

    // The plug-in file whose metadata lists the ProgID, or an empty string.
    QString pluginFileFor(const QString &progId) const;
    // A new instance owned by the caller, or nullptr; *error says why.
    virtual QObject *createInstance(const QString &progId, QString *error = nullptr);

    // The ProgIDs of a plug-in's metadata ("ProgID": a string or a list of strings).
    static QStringList progIdsOf(const QJsonObject &pluginMetaData);

private:
    struct Private;
    std::unique_ptr<Private> d;
};
