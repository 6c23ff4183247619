#include "shell/shellwindow.h"

#include "controls/designfont.h"
#include "framework/cinterface.h"
#include "framework/clsglobal.h"
#include "framework/componentloader.h"
#include "framework/messageservice.h"
#include "framework/simplenavigator.h"
#include "shell/companylist.h"
#include "shell/shelltexts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStatusBar>
#include <QToolBar>

namespace {

const QString ProgId = QStringLiteral("CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG");

// Shown in the status bar: the password of an ODBC string is not.
QString maskedConnection(QString connectionString)
{
    static const QRegularExpression password(QStringLiteral("(PWD|Password)\\s*=\\s*[^;]*"),
                                             QRegularExpression::CaseInsensitiveOption);
    return connectionString.replace(password, QStringLiteral("\\1=****"));
}

} // namespace

ShellWindow::ShellWindow(ClsGlobal *global, ComponentLoader *loader, const ShellOptions &options, QWidget *parent)
    : QMainWindow(parent), m_global(global), m_loader(loader), m_options(options)
{
    setObjectName(QStringLiteral("ShellWindow"));
    // The host's windows, message boxes and dialogs speak the font its forms are designed in,
    // so a message over the form reads as the form does.
    QApplication::setFont(DesignFont::font());
    setWindowTitle(m_global->text(ShellText::MainTitle));
    m_area = new QMdiArea(this);
    m_area->setObjectName(QStringLiteral("MDIAREA"));
    setCentralWidget(m_area);
    m_global->setMdiArea(m_area);
    m_navigator = new SimpleNavigator(this);

    buildMenus();
    buildNavigatorBar();

    m_userLabel = new QLabel(this);
    m_databaseLabel = new QLabel(this);
    statusBar()->addPermanentWidget(m_userLabel);
    statusBar()->addPermanentWidget(m_databaseLabel);
    statusBar()->showMessage(m_global->text(ShellText::StatusReady));
    updateStatus();

    connect(m_global, &ClsGlobal::windowClosing, this, &ShellWindow::onWindowClosing);
    resize(1024, 640);
}

ShellWindow::~ShellWindow()
{
    for (const QPointer<QObject> &instance : m_instances + m_released)
        delete instance.data();
    if (m_global->mdiArea() == m_area)
        m_global->setMdiArea(nullptr);
}

void ShellWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(m_global->text(ShellText::MenuFile));
    QAction *exit = file->addAction(m_global->text(ShellText::ActionExit));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu *contabilita = menuBar()->addMenu(m_global->text(ShellText::MenuContabilita));
    QAction *open = contabilita->addAction(m_global->text(ShellText::WindowCaption));
    open->setObjectName(QStringLiteral("ACT_DUEBILCONFIG"));
    connect(open, &QAction::triggered, this, [this] { openConfiguration(); });

    // Filled with the navigator's commands by buildNavigatorBar().
    m_recordMenu = menuBar()->addMenu(m_global->text(ShellText::MenuRecord));
    m_recordMenu->setObjectName(QStringLiteral("MNU_RECORD"));

    QMenu *windows = menuBar()->addMenu(m_global->text(ShellText::MenuWindows));
    connect(windows->addAction(m_global->text(ShellText::ActionTile)), &QAction::triggered, m_area,
            &QMdiArea::tileSubWindows);
    connect(windows->addAction(m_global->text(ShellText::ActionCascade)), &QAction::triggered, m_area,
            &QMdiArea::cascadeSubWindows);
}

void ShellWindow::buildNavigatorBar()
{
    QToolBar *bar = addToolBar(m_global->text(ShellText::NavigatorTitle));
    bar->setObjectName(QStringLiteral("TTB_NAVIGATORE"));
    // In ActiveNavigator::Command order. Ctrl+Z in a text field stays the field's own undo of the
    // typing: the field claims the key first, so a slip there never drops the causal's changes.
    const QKeySequence shortcuts[] = {
        QKeySequence(Qt::ALT | Qt::Key_Home), QKeySequence(Qt::ALT | Qt::Key_Left),
        QKeySequence(Qt::ALT | Qt::Key_Right), QKeySequence(Qt::ALT | Qt::Key_End),
        QKeySequence(Qt::CTRL | Qt::Key_N), QKeySequence(Qt::CTRL | Qt::Key_S),
        QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Delete),
        QKeySequence(Qt::CTRL | Qt::Key_F)};
    for (int command = ActiveNavigator::First; command <= ActiveNavigator::Query; ++command) {
        QAction *action = addRecordCommand(bar, m_global->text(ShellText::NavFirst + command), shortcuts[command]);
        connect(action, &QAction::triggered, m_navigator,
                [this, command] { m_navigator->trigger(ActiveNavigator::Command(command)); });
    }
    connect(m_navigator, &ActiveNavigator::extraCommandAdded, bar, [this, bar](const QString &key, const QString &caption) {
        // Every window that adds it again finds it there already.
        for (QAction *existing : m_recordMenu->actions()) {
            if (existing->data().toString() == key)
                return;
        }
        const QKeySequence shortcut = key.compare(QLatin1String("Duplica"), Qt::CaseInsensitive) == 0
            ? QKeySequence(Qt::CTRL | Qt::Key_D) : QKeySequence();
        QAction *action = addRecordCommand(bar, caption, shortcut);
        action->setData(key);
        connect(action, &QAction::triggered, m_navigator, [this, key] { m_navigator->triggerExtra(key); });
    });

    bar->addSeparator();
    bar->addWidget(new QLabel(m_global->text(ShellText::CompanyLabel), bar));
    m_companies = new QComboBox(bar);
    m_companies->setObjectName(QStringLiteral("CBO_DITTA"));
    m_companies->setMinimumContentsLength(24);
    bar->addWidget(m_companies);
    connect(m_companies, &QComboBox::activated, this, &ShellWindow::onCompanyChosen);
}

QAction *ShellWindow::addRecordCommand(QToolBar *bar, const QString &caption, const QKeySequence &shortcut)
{
    QAction *action = bar->addAction(caption);
    action->setShortcut(shortcut);
    if (!shortcut.isEmpty())
        action->setToolTip(m_global->text(ShellText::ShortcutTip,
                                          {caption, shortcut.toString(QKeySequence::NativeText)}));
    m_recordMenu->addAction(action);
    return action;
}

QString ShellWindow::databaseError() const
{
    return m_databaseError;
}

bool ShellWindow::loadCompanies()
{
    QList<CompanyList::Company> companies;
    QString error;
    const bool ok = CompanyList::read(m_global->connectionString(), &companies, &error);
    m_databaseError = ok ? QString() : error;
    m_companies->clear();
    for (const CompanyList::Company &company : std::as_const(companies))
        m_companies->addItem(QStringLiteral("%1 - %2").arg(company.code).arg(company.name),
                             QVariantList{company.code, int(company.accountGroup), company.ledgerSettings});
    int index = m_companies->count() > 0 ? 0 : -1;
    for (int i = 0; i < m_companies->count(); ++i) {
        if (m_options.company.isValid() && m_companies->itemData(i).toList().value(0) == m_options.company)
            index = i;
    }
    if (index >= 0) {
        m_companies->setCurrentIndex(index);
        m_companyIndex = index;
        useCompany(m_companies->itemData(index).toList());
    } else {
        m_global->setCompany(m_options.company.isValid() ? m_options.company : QVariant(1));
    }
    if (!ok) {
        m_global->showMessage(ShellText::CompaniesUnreadable, {error}, m_global->text(ShellText::WarningTitle),
                              MsgStyle::Exclamation);
    }
    updateStatus();
    return ok;
}

// The company and its ledger settings, handed to the modules through the global object.
void ShellWindow::useCompany(const QVariantList &data)
{
    m_global->setCompany(data.value(0));
    m_global->setCompanyAccountGroup(qint16(data.value(1).toInt()));
    const QVariantMap settings = data.value(2).toMap();
    for (const QString &name : CompanyList::ledgerSettingNames())
        m_global->setLedgerSetting(name, settings.value(name));
}

void ShellWindow::onCompanyChosen(int index)
{
    if (index == m_companyIndex)
        return;
    if (!m_navigator->requestCompanyChange()) {
        m_companies->setCurrentIndex(m_companyIndex);
        return;
    }
    m_companyIndex = index;
    useCompany(m_companies->itemData(index).toList());
    updateStatus();
}

bool ShellWindow::openConfiguration()
{
    QString error;
    QObject *instance = m_loader->createInstance(ProgId, &error);
    auto *contract = qobject_cast<Cinterface *>(instance);
    if (!contract) {
        delete instance;
        m_global->showMessage(ShellText::ModuleUnavailable, {m_global->text(ShellText::WindowCaption), error},
                              m_global->text(ShellText::WarningTitle), MsgStyle::Critical);
        return false;
    }
    m_instances << instance;
    contract->setClsGlobal(m_global);
    contract->setActiveNavigator(m_navigator);
    contract->setStatusBar(statusBar());
    contract->setCanInsert(true);
    contract->setCanDelete(true);
    contract->setCanUpdate(true);
    contract->setCanQbe(true);
    contract->setWindowModal(m_options.modal);
    contract->setCaption(m_global->text(ShellText::WindowCaption));
    contract->setMenuProg(ProgId);
    contract->setIsActive(true);
    contract->setIsCalled(m_options.causal.isValid());
    if (m_options.causal.isValid())
        instance->setProperty("CausaleEsterna", m_options.causal);
    m_navigator->setContract(contract);
    m_global->activate(contract);
    contract->ShowForm();
    return true;
}

QList<Cinterface *> ShellWindow::openWindows() const
{
    QList<Cinterface *> out;
    for (const QPointer<QObject> &instance : m_instances) {
        if (auto *contract = qobject_cast<Cinterface *>(instance.data()))
            out << contract;
    }
    return out;
}

void ShellWindow::onWindowClosing(Cinterface *contract)
{
    for (qsizetype i = 0; i < m_instances.size(); ++i) {
        QObject *instance = m_instances.at(i);
        if (qobject_cast<Cinterface *>(instance) != contract)
            continue;
        m_instances.removeAt(i);
        if (m_navigator->contract() == contract)
            m_navigator->setContract(nullptr);
        // The form is still inside its own close handling: release the class afterwards.
        m_released << instance;
        instance->deleteLater();
        return;
    }
}

void ShellWindow::closeEvent(QCloseEvent *event)
{
    for (Cinterface *contract : openWindows()) {
        if (!contract->CloseForm().toBool()) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

QMdiArea *ShellWindow::mdiArea() const
{
    return m_area;
}

QComboBox *ShellWindow::companySelector() const
{
    return m_companies;
}

SimpleNavigator *ShellWindow::navigator() const
{
    return m_navigator;
}

QString ShellWindow::scriptFile() const
{
    return m_options.scriptFile;
}

void ShellWindow::updateStatus()
{
    m_userLabel->setText(m_global->text(ShellText::StatusUser, {m_global->userName()}));
    m_databaseLabel->setText(m_global->text(ShellText::StatusDatabase, {maskedConnection(m_global->connectionString())}));
}
