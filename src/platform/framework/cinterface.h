#pragma once

#include <QObject>
#include <QVariant>
#include <QtPlugin>

#include <memory>

class ActiveNavigator;
class ClsGlobal;
namespace ado { class Connection; }

// The host contract every module class implements. The host fills in the properties, then
// calls ShowForm; the members are declared in the contract's order. Object references are
// non-owning: the host keeps its objects alive while the module holds them.
class Cinterface
{
public:
    virtual ~Cinterface();

    virtual void setClsGlobal(ClsGlobal *global) = 0;                      // 1
    virtual ClsGlobal *clsGlobal() const = 0;                              // 2
    virtual void setActiveFrame(QObject *frame) = 0;                       // 3
    virtual QObject *activeFrame() const = 0;                              // 4
    virtual void setActiveNavigator(ActiveNavigator *navigator) = 0;       // 5
    virtual ActiveNavigator *activeNavigator() const = 0;                  // 6
    virtual void setActiveDll(Cinterface *contract) = 0;                   // 7
    virtual Cinterface *activeDll() const = 0;                             // 8
    virtual void setStatusBar(QObject *statusBar) = 0;                     // 9
    virtual QObject *statusBar() const = 0;                                // 10
    virtual void setCanInsert(bool value) = 0;                             // 11
    virtual bool canInsert() const = 0;                                    // 12
    virtual void setCanDelete(bool value) = 0;                             // 13
    virtual bool canDelete() const = 0;                                    // 14
    virtual void setCanUpdate(bool value) = 0;                             // 15
    virtual bool canUpdate() const = 0;                                    // 16
    virtual void setCanQbe(bool value) = 0;                                // 17
    virtual bool canQbe() const = 0;                                       // 18
    virtual void setWindowState(qint32 value) = 0;                         // 19
    virtual qint16 windowState() const = 0;                                // 20
    virtual void setWindowModal(bool value) = 0;                           // 21
    virtual bool windowModal() const = 0;                                  // 22
    virtual void setProgramMode(qint32 value) = 0;                         // 23
    virtual qint16 programMode() const = 0;                                // 24
    virtual void setMenuModulo(const QVariant &value) = 0;                 // 25
    virtual QVariant menuModulo() const = 0;                               // 26
    virtual void setMenuPadre(const QVariant &value) = 0;                  // 27
    virtual QVariant menuPadre() const = 0;                                // 28
    virtual void setMenuProg(const QVariant &value) = 0;                   // 29
    virtual QVariant menuProg() const = 0;                                 // 30
    virtual void setCaption(const QVariant &value) = 0;                    // 31
    virtual QVariant caption() const = 0;                                  // 32
    virtual void setHwndParent(qint32 value) = 0;                          // 33
    virtual qint32 hwndParent() const = 0;                                 // 34
    virtual QVariant ShowForm() = 0;                                       // 35
    virtual QVariant CloseForm() = 0;                                      // 36
    virtual void setConnection(std::shared_ptr<ado::Connection> connection) = 0;  // 37
    virtual std::shared_ptr<ado::Connection> connection() const = 0;       // 38
    virtual QObject *Cwindow() const = 0;                                  // 39
    virtual QVariant TransferData(const QVariant &data) = 0;               // 40
    virtual QVariant top() const = 0;                                      // 41
    virtual void setTop(const QVariant &value) = 0;                        // 42
    virtual QVariant left() const = 0;                                     // 43
    virtual void setLeft(const QVariant &value) = 0;                       // 44
    virtual void setClsVoceMenu(QObject *menuItem) = 0;                    // 45
    virtual QObject *clsVoceMenu() const = 0;                              // 46
    virtual void setIsActive(bool value) = 0;                              // 47
    virtual bool isActive() const = 0;                                     // 48
    virtual void setIsCalled(bool value) = 0;                              // 49
    virtual bool isCalled() const = 0;                                     // 50
    virtual void setFiltro(const QVariant &value) = 0;                     // 51
    virtual QVariant filtro() const = 0;                                   // 52
};

#define Cinterface_iid "it.duebil.Cinterface/1.0"
Q_DECLARE_INTERFACE(Cinterface, Cinterface_iid)
Q_DECLARE_METATYPE(Cinterface *)
