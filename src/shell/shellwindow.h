#pragma once

#include "shell/shelloptions.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class ClsGlobal;
class Cinterface;
class ComponentLoader;
class QComboBox;
class QKeySequence;
class QToolBar;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class SimpleNavigator;

// The host's main window: MDI area, the menu item of the configuration window, the navigator
// tool bar, the company selector and the status bar. It creates the module's class by
// ProgID, fills in the contract and calls ShowForm / CloseForm as the host does.
class ShellWindow : public QMainWindow
{
    Q_OBJECT
public:
    // The global object and the loader stay owned by the caller.
    ShellWindow(ClsGlobal *global, ComponentLoader *loader, const ShellOptions &options,
                QWidget *parent = nullptr);
    ~ShellWindow() override;

    // Creates CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG and shows its window; false (after
    // telling the user) when the module cannot be created.
    bool openConfiguration();
    // Modules whose window is open.
    QList<Cinterface *> openWindows() const;

    QMdiArea *mdiArea() const;
    QComboBox *companySelector() const;
    SimpleNavigator *navigator() const;
    QString scriptFile() const;

    // Fills the company selector from the database; false (after telling the user) on failure.
    bool loadCompanies();
    // Why the last loadCompanies() could not read the database; empty when it could.
    QString databaseError() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenus();
    void buildNavigatorBar();
    // A record command on the tool bar and in the Record menu, with its shortcut in both and in
    // its tool tip.
    QAction *addRecordCommand(QToolBar *bar, const QString &caption, const QKeySequence &shortcut);
    void onCompanyChosen(int index);
    void useCompany(const QVariantList &data);
    void onWindowClosing(Cinterface *contract);
    void updateStatus();

    ClsGlobal *m_global;
    ComponentLoader *m_loader;
    ShellOptions m_options;
    QMdiArea *m_area = nullptr;
    QMenu *m_recordMenu = nullptr;
    QComboBox *m_companies = nullptr;
    QLabel *m_userLabel = nullptr;
    QLabel *m_databaseLabel = nullptr;
    SimpleNavigator *m_navigator = nullptr;
    QList<QPointer<QObject>> m_instances;
    QList<QPointer<QObject>> m_released;   // closed, deletion pending
    QString m_databaseError;
    int m_companyIndex = -1;
};
