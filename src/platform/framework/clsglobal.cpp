#include "framework/clsglobal.h"

#include "framework/cinterface.h"
#include "framework/frameworktexts.h"

#include <QDir>
#include <QMdiArea>

ClsGlobal::ClsGlobal(QObject *parent) : QObject(parent)
{
    // Queued connections and signal spies carry the contract of a window.
    qRegisterMetaType<Cinterface *>();
}

ClsGlobal::~ClsGlobal() = default;

bool ClsGlobal::loadTexts(const QStringList &files, QString *error)
{
    QStringList problems;
    for (const QString &file : QStringList{FrameworkText::file()} + files) {
        QString problem;
        if (!m_texts.loadFile(file, &problem))
            problems << problem;
    }
    if (error)
        *error = problems.join(u'\n');
    return problems.isEmpty();
}

TextStore &ClsGlobal::textStore()
{
    return m_texts;
}

const TextStore &ClsGlobal::textStore() const
{
    return m_texts;
}

QString ClsGlobal::text(int textId, bool *ok) const
{
    return m_texts.text(textId, ok);
}

QString ClsGlobal::text(int textId, const QStringList &params, bool *ok) const
{
    return m_texts.text(textId, params, ok);
}

void ClsGlobal::setMessageService(MessageService *service)
{
    m_messages = service;
}

MessageService *ClsGlobal::messageService() const
{
    return m_messages;
}

int ClsGlobal::showMessage(int textId, const QStringList &params, const QString &title, int style)
{
    MessageRequest request{textId, m_texts.text(textId, params), params, title, style};
    if (m_messages)
        return m_messages->showMessage(request);
    switch (style & MsgStyle::ButtonsMask) {
    case MsgStyle::AbortRetryIgnore: return MsgAnswer::Abort;
    case MsgStyle::YesNo:
    case MsgStyle::YesNoCancel: return MsgAnswer::Yes;
    case MsgStyle::RetryCancel: return MsgAnswer::Retry;
    default: return MsgAnswer::Ok;
    }
}

InputResult ClsGlobal::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    return m_messages ? m_messages->inputBox(prompt, title, defaultText) : InputResult{defaultText, false};
}

QString ClsGlobal::connectionString() const
{
    return m_connectionString;
}

void ClsGlobal::setConnectionString(const QString &connectionString)
{
    m_connectionString = connectionString;
}

QVariant ClsGlobal::company() const
{
    return m_company;
}

void ClsGlobal::setCompany(const QVariant &company)
{
    if (m_company == company)
        return;
    m_company = company;
    emit companyChanged(company);
}

qint16 ClsGlobal::companyAccountGroup() const
{
    return m_accountGroup;
}

void ClsGlobal::setCompanyAccountGroup(qint16 group)
{
    m_accountGroup = group;
}

QString ClsGlobal::loginName()
{
    for (const char *variable : {"USER", "USERNAME", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    return QDir::home().dirName();
}

QString ClsGlobal::userName() const
{
    return m_userName;
}

void ClsGlobal::setUserName(const QString &name)
{
    m_userName = name;
}

QVariant ClsGlobal::ledgerSetting(const QString &name) const
{
    return m_ledgerSettings.value(name);
}

void ClsGlobal::setLedgerSetting(const QString &name, const QVariant &value)
{
    m_ledgerSettings.insert(name, value);
}

bool ClsGlobal::securityUsersTab() const
{
    return m_usersTab;
}

void ClsGlobal::setSecurityUsersTab(bool allowed)
{
    m_usersTab = allowed;
}

void ClsGlobal::activate(Cinterface *contract)
{
    if (m_active == contract)
        return;
    m_active = contract;
    emit activeWindowChanged(contract);
}

void ClsGlobal::closing(Cinterface *contract)
{
    emit windowClosing(contract);
}

void ClsGlobal::clearActive()
{
    activate(nullptr);
}

Cinterface *ClsGlobal::activeWindow() const
{
    return m_active;
}

void ClsGlobal::setApplicationObject(QObject *application)
{
    m_application = application;
}

QObject *ClsGlobal::applicationObject() const
{
    return m_application;
}

void ClsGlobal::setMdiArea(QMdiArea *area)
{
    m_mdiArea = area;
}

QMdiArea *ClsGlobal::mdiArea() const
{
    return m_mdiArea;
}
