#include "framework/scriptobjectmodel.h"

ScriptObjectModel::ScriptObjectModel(QObject *parent) : QObject(parent) {}

ScriptObjectModel::~ScriptObjectModel() = default;

void ScriptObjectModel::AddObject(const QString &name, QObject *&object, int kind,
                                  const QString &description)
{
    for (Entry &entry : m_objects) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            entry = Entry{name, object, kind, description};
            emit objectAdded(name, kind);
            return;
        }
    }
    m_objects.append(Entry{name, object, kind, description});
    emit objectAdded(name, kind);
}

void ScriptObjectModel::FormEvent(const QString &formName, int, int openClose, const QString &)
{
    emit formEvent(formName, openClose);
}

bool ScriptObjectModel::QueryCloseForm()
{
    return m_refuseClose;
}

void ScriptObjectModel::FormClosed(const QVariant &menuItemValue)
{
    emit formClosed(menuItemValue);
}

const QList<ScriptObjectModel::Entry> &ScriptObjectModel::objects() const
{
    return m_objects;
}

QObject *ScriptObjectModel::object(const QString &name) const
{
    for (const Entry &entry : m_objects) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return entry.object;
    }
    return nullptr;
}

void ScriptObjectModel::setRefuseClose(bool refuse)
{
    m_refuseClose = refuse;
}
