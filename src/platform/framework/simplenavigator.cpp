#include "framework/simplenavigator.h"

#include "framework/scriptobjectmodel.h"

SimpleNavigator::SimpleNavigator(QObject *parent) : ActiveNavigator(parent) {}

SimpleNavigator::~SimpleNavigator() = default;

void SimpleNavigator::setStatus(qint16 status)
{
    m_status = status;
    emit statusChanged(status);
}

qint16 SimpleNavigator::status() const
{
    return m_status;
}

void SimpleNavigator::refresh()
{
    emit refreshed();
}

bool SimpleNavigator::buildObjectModels()
{
    if (!m_script)
        m_script = new ScriptObjectModel(this);
    if (!m_layout) {
        m_layout = new QObject(this);
        m_layout->setObjectName(QStringLiteral("LayoutObjectModel"));
    }
    bool cancel = false;
    ScriptObjectModel *script = m_script;
    emit InitializeScriptObjectModel(&cancel, &script);
    QObject *layout = m_layout;
    emit InitializeLayoutObjectModel(&cancel, &layout);
    return !cancel;
}

bool SimpleNavigator::beforeFormOpen()
{
    return true;
}

ScriptObjectModel *SimpleNavigator::scriptObjectModel() const
{
    return m_script;
}

QObject *SimpleNavigator::layoutObjectModel() const
{
    return m_layout;
}

void SimpleNavigator::clearLayoutObjectModel()
{
    delete m_layout;
    m_layout = nullptr;
}

void SimpleNavigator::clearScriptObjectModel()
{
    if (m_scriptOwned)
        delete m_script;
    m_script = nullptr;
    m_scriptOwned = true;
}

void SimpleNavigator::setScriptObjectModel(ScriptObjectModel *model)
{
    if (m_scriptOwned)
        delete m_script;
    m_script = model;
    m_scriptOwned = model == nullptr;
}

void SimpleNavigator::setContract(Cinterface *contract)
{
    m_contract = contract;
}

Cinterface *SimpleNavigator::contract() const
{
    return m_contract;
}

void SimpleNavigator::trigger(Command command)
{
    emit commandTriggered(command);
}

void SimpleNavigator::addExtraCommand(const QString &key, const QString &caption)
{
    emit extraCommandAdded(key, caption);
}

void SimpleNavigator::triggerExtra(const QString &key)
{
    emit extraCommandTriggered(key);
}

bool SimpleNavigator::requestCompanyChange()
{
    bool cancel = false;
    emit BeforeChangeDitta(&cancel);
    return !cancel;
}

bool SimpleNavigator::requestExportToOffice(QObject **exporter)
{
    bool cancel = false;
    emit BeforeExportToOffice(&cancel, exporter);
    return !cancel;
}
