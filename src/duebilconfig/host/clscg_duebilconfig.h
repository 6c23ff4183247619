#pragma once

#include "framework/cinterface.h"
#include "framework/instanceid.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QVariant>

#include <memory>

class FormFactory;
class IForm;
class ScriptObjectModel;

// The public class of CGUO_DUEBILCONFIG, created by the host by ProgID. It keeps the
// contract's properties, owns the form and relays the navigator's events and the host's
// data transfer; it does no database work. No error of its members reaches the host.
class CLSCG_DUEBILCONFIG : public QObject, public Cinterface
{
    Q_OBJECT
    Q_INTERFACES(Cinterface)
    Q_PROPERTY(QVariant CausaleEsterna READ CausaleEsterna WRITE setCausaleEsterna)
public:
    static QString progId();        // "CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG"
    static QString moduleName();    // "CGUO_DUEBILCONFIG"
    static QString className();     // "CLSCG_DUEBILCONFIG"
    static QString scriptDescription();

    // Without a factory the placeholder form is used.
    explicit CLSCG_DUEBILCONFIG(std::shared_ptr<FormFactory> formFactory = {}, QObject *parent = nullptr);
    ~CLSCG_DUEBILCONFIG() override;   // Class_Terminate

    // Cinterface
    void setClsGlobal(ClsGlobal *global) override;
    ClsGlobal *clsGlobal() const override;
    void setActiveFrame(QObject *frame) override;
    QObject *activeFrame() const override;
    void setActiveNavigator(ActiveNavigator *navigator) override;
    ActiveNavigator *activeNavigator() const override;
    void setActiveDll(Cinterface *contract) override;
    Cinterface *activeDll() const override;
    void setStatusBar(QObject *statusBar) override;
    QObject *statusBar() const override;
    void setCanInsert(bool value) override;
    bool canInsert() const override;
    void setCanDelete(bool value) override;
    bool canDelete() const override;
    void setCanUpdate(bool value) override;
    bool canUpdate() const override;
    void setCanQbe(bool value) override;
    bool canQbe() const override;
    void setWindowState(qint32 value) override;
    qint16 windowState() const override;
    void setWindowModal(bool value) override;
    bool windowModal() const override;
    void setProgramMode(qint32 value) override;
    qint16 programMode() const override;
    void setMenuModulo(const QVariant &value) override;
    QVariant menuModulo() const override;
    void setMenuPadre(const QVariant &value) override;
    QVariant menuPadre() const override;
    void setMenuProg(const QVariant &value) override;
    QVariant menuProg() const override;
    void setCaption(const QVariant &value) override;
    QVariant caption() const override;
    void setHwndParent(qint32 value) override;
    qint32 hwndParent() const override;
    QVariant ShowForm() override;
    QVariant CloseForm() override;
    void setConnection(std::shared_ptr<ado::Connection> connection) override;
    std::shared_ptr<ado::Connection> connection() const override;
    QObject *Cwindow() const override;
    QVariant TransferData(const QVariant &data) override;
    QVariant top() const override;
    void setTop(const QVariant &value) override;
    QVariant left() const override;
    void setLeft(const QVariant &value) override;
    void setClsVoceMenu(QObject *menuItem) override;
    QObject *clsVoceMenu() const override;
    void setIsActive(bool value) override;
    bool isActive() const override;
    void setIsCalled(bool value) override;
    bool isCalled() const override;
    void setFiltro(const QVariant &value) override;
    QVariant filtro() const override;

    // The class's own interface.
    QVariant CausaleEsterna() const;
    void setCausaleEsterna(const QVariant &value);
    QVariant IdIstanza();
    static QString GeneraGuid();

    // The current form, null before ShowForm and once the form is gone.
    IForm *form() const;
    void setFormFactory(std::shared_ptr<FormFactory> formFactory);

signals:
    void DataTransfer(const QVariant &data);

private:
    void ActiveNavigator_BeforeChangeDitta(bool *cancel);
    void ActiveNavigator_BeforeExportToOffice(bool *cancel, QObject **expToOffice);
    void ActiveNavigator_InitializeLayoutObjectModel(bool *cancel, QObject **clsLayout);
    void ActiveNavigator_InitializeScriptObjectModel(bool *cancel, ScriptObjectModel **clsScript);

    void DestroyClass();
    void releaseForm(QPointer<QWidget> &widget, IForm *&form);
    void reportFailure(ClsGlobal *global, const QString &procedure);

    std::shared_ptr<FormFactory> m_formFactory;
    QPointer<ClsGlobal> m_clsGlobal;
    QPointer<QObject> m_activeFrame;
    QPointer<ActiveNavigator> m_activeNavigator;
    QList<QMetaObject::Connection> m_navigatorConnections;
    Cinterface *m_activeDll = nullptr;
    QPointer<QObject> m_statusBar;
    QPointer<QObject> m_clsVoceMenu;
    std::shared_ptr<ado::Connection> m_connection;
    bool m_canInsert = false, m_canDelete = false, m_canUpdate = false, m_canQbe = false;
    bool m_isActive = false, m_isCalled = false, m_windowModal = false;
    qint16 m_windowState = 0;
    qint16 m_programMode = 0;
    qint32 m_top = 0, m_left = 0, m_hwndParent = 0;
    QVariant m_menuModulo, m_menuPadre, m_menuProg, m_caption;
    QVariant m_causaleEsterna;
    QPointer<QObject> m_gobjWindow;   // Cwindow: the module has no event window of its own
    QPointer<QWidget> m_formWidget;
    IForm *m_form = nullptr;
    // Earlier forms still open when ShowForm made a new one; released with the class.
    QList<QPointer<QWidget>> m_earlierForms;
    InstanceId m_id;
};
