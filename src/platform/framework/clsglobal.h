#pragma once

#include "framework/messageservice.h"
#include "framework/textstore.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>

class Cinterface;
class QMdiArea;

// The host's global object, handed to every module class through Cinterface. It is created
// by the host (never a static instance) and outlives the module objects that point to it.
class ClsGlobal : public QObject
{
    Q_OBJECT
public:
    explicit ClsGlobal(QObject *parent = nullptr);
    ~ClsGlobal() override;

    // Texts: the framework's own texts, then the given files in order (host, then module).
    bool loadTexts(const QStringList &files, QString *error = nullptr);
    TextStore &textStore();
    const TextStore &textStore() const;
    QString text(int textId, bool *ok = nullptr) const;
    QString text(int textId, const QStringList &params, bool *ok = nullptr) const;

    // Message service (not owned). Without one, messages are answered with their default
    // button and nothing is shown.
    void setMessageService(MessageService *service);
    MessageService *messageService() const;
    int showMessage(int textId, const QStringList &params, const QString &title, int style);
    InputResult inputBox(const QString &prompt, const QString &title, const QString &defaultText);

    // Database settings.
    QString connectionString() const;
    void setConnectionString(const QString &connectionString);

    // Company, with the account structure its ledger settings report.
    QVariant company() const;
    void setCompany(const QVariant &company);
    qint16 companyAccountGroup() const;
    void setCompanyAccountGroup(qint16 group);
    // Other values of the company's ledger settings, by name (null when not set).
    QVariant ledgerSetting(const QString &name) const;
    void setLedgerSetting(const QString &name, const QVariant &value);

    // The user the operating system has logged in, as the host names the user when nobody
    // gives a name: USER, USERNAME, LOGNAME, else the name of the home folder (a service or a
    // scheduled job may have none of the variables).
    static QString loginName();

    // Logged-in user.
    QString userName() const;
    void setUserName(const QString &name);

    // Security: whether the user may maintain the users and groups a causal is withdrawn from.
    bool securityUsersTab() const;
    void setSecurityUsersTab(bool allowed);

    // Window registration.
    void activate(Cinterface *contract);
    void closing(Cinterface *contract);
    void clearActive();
    Cinterface *activeWindow() const;
    void setApplicationObject(QObject *application);
    QObject *applicationObject() const;

    // Where module forms live as MDI children; null when the host has no MDI area.
    void setMdiArea(QMdiArea *area);
    QMdiArea *mdiArea() const;

signals:
    void activeWindowChanged(Cinterface *contract);
    void windowClosing(Cinterface *contract);
    void companyChanged(const QVariant &company);

private:
    TextStore m_texts;
    MessageService *m_messages = nullptr;
    QString m_connectionString;
    QVariant m_company;
    qint16 m_accountGroup = 0;
    QVariantMap m_ledgerSettings;
    QString m_userName;
    bool m_usersTab = true;
    Cinterface *m_active = nullptr;
    QPointer<QObject> m_application;
    QPointer<QMdiArea> m_mdiArea;
};
