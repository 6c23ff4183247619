#include "framework/componentloader.h"

#include "framework/componentfactory.h"

#include <QDir>
#include <QJsonArray>
#include <QLibrary>
#include <QPluginLoader>

#include <map>

struct ComponentLoader::Private
{
    QStringList directories;
    std::map<QString, std::unique_ptr<QPluginLoader>> loaders;  // by file
};

ComponentLoader::ComponentLoader(const QStringList &pluginDirectories)
    : d(std::make_unique<Private>())
{
    d->directories = pluginDirectories;
}

ComponentLoader::~ComponentLoader() = default;

QStringList ComponentLoader::progIdsOf(const QJsonObject &pluginMetaData)
{
    const QJsonValue value = pluginMetaData.value(QStringLiteral("MetaData"))
                                 .toObject()
                                 .value(QStringLiteral("ProgID"));
    QStringList ids;
    if (value.isString())
        ids << value.toString();
    for (const QJsonValue &item : value.toArray())
        ids << item.toString();
    return ids;
}

QString ComponentLoader::pluginFileFor(const QString &progId) const
{
    for (const QString &directory : d->directories) {
        const QDir dir(directory);
        const QFileInfoList files = dir.entryInfoList(QDir::Files);
        for (const QFileInfo &info : files) {
            if (!QLibrary::isLibrary(info.fileName()))
                continue;
            QPluginLoader probe(info.absoluteFilePath());
            if (progIdsOf(probe.metaData()).contains(progId, Qt::CaseInsensitive))
                return info.absoluteFilePath();
        }
    }
    return QString();
}

QObject *ComponentLoader::createInstance(const QString &progId, QString *error)
{
    const QString file = pluginFileFor(progId);
    if (file.isEmpty()) {
        if (error)
            *error = QStringLiteral("no plug-in registers %1").arg(progId);
        return nullptr;
    }
    auto &loader = d->loaders[file];
    if (!loader)
        loader = std::make_unique<QPluginLoader>(file);
    auto *factory = qobject_cast<ComponentFactory *>(loader->instance());
    if (!factory) {
        if (error)
            *error = loader->errorString();
        return nullptr;
    }
    QObject *object = factory->createInstance(progId);
    if (!object && error)
        *error = QStringLiteral("%1 does not create %2").arg(file, progId);
    return object;
}
