#include "host/clscg_duebilconfig.h"

#include "framework/activenavigator.h"
#include "framework/clsglobal.h"
#include "framework/debugtrace.h"
#include "framework/errortrap.h"
#include "framework/frameworktexts.h"
#include "framework/iform.h"
#include "framework/messageservice.h"
#include "framework/scriptobjectmodel.h"
#include "host/placeholderform.h"
#include "store/messageids.h"

#include <QWidget>

#include <limits>

namespace {


bool fitsIn16Bits(qint32 value)
{
    return value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max();
}

} // namespace

QString CLSCG_DUEBILCONFIG::progId()
{
    return QStringLiteral("CGUO_DUEBILCONFIG.CLSCG_DUEBILCONFIG");
}

QString CLSCG_DUEBILCONFIG::moduleName()
{
    return QStringLiteral("CGUO_DUEBILCONFIG");
}

QString CLSCG_DUEBILCONFIG::className()
{
    return QStringLiteral("CLSCG_DUEBILCONFIG");
}

QString CLSCG_DUEBILCONFIG::scriptDescription()
{
    return QStringLiteral("Lumora UO pag./inc. effetti massivo - Configurazione");
}

// Class_Initialize
CLSCG_DUEBILCONFIG::CLSCG_DUEBILCONFIG(std::shared_ptr<FormFactory> formFactory, QObject *parent)
    : QObject(parent), m_formFactory(std::move(formFactory))
{
    setObjectName(className());
    DebugTrace::write(m_id.value(), DebugTrace::Phase::Ini, moduleName(), className());
    m_activeDll = this;
}

// Class_Terminate
CLSCG_DUEBILCONFIG::~CLSCG_DUEBILCONFIG()
{
    QPointer<ClsGlobal> global = m_clsGlobal;
    try {
        DebugTrace::write(m_id.value(), DebugTrace::Phase::Ter, moduleName(), className());
    } catch (...) {
        reportFailure(global, QStringLiteral("Class_Terminate"));
        return;
    }
    DestroyClass();
}

void CLSCG_DUEBILCONFIG::DestroyClass()
{
    // The global object is kept aside so a failure can still be shown after its reference
    // has been dropped.
    QPointer<ClsGlobal> global = m_clsGlobal;
    try {
        m_statusBar = nullptr;
        m_activeFrame = nullptr;
        m_activeDll = nullptr;
        m_clsVoceMenu = nullptr;
        m_clsGlobal = nullptr;
        m_gobjWindow = nullptr;
        setActiveNavigator(nullptr);
        m_connection.reset();
        for (QPointer<QWidget> &earlier : m_earlierForms) {
            IForm *form = dynamic_cast<IForm *>(earlier.data());
            releaseForm(earlier, form);
        }
        m_earlierForms.clear();
        releaseForm(m_formWidget, m_form);
    } catch (...) {
        reportFailure(global, QStringLiteral("DestroyClass"));
    }
}

void CLSCG_DUEBILCONFIG::releaseForm(QPointer<QWidget> &widget, IForm *&form)
{
    IForm *toRelease = widget ? form : nullptr;
    widget = nullptr;
    form = nullptr;
    if (toRelease)
        toRelease->release();
}

void CLSCG_DUEBILCONFIG::reportFailure(ClsGlobal *global, const QString &procedure)
{
    const ErrorTrap describer(nullptr, global ? &global->textStore() : nullptr);
    const ErrorTrap::Error error = describer.describeCurrent();
    if (!global)
        return;
    global->showMessage(MessageId::ClassError,
                        {procedure, QString::number(error.number) + QStringLiteral(" - ") + error.description},
                        global->text(FrameworkText::ErrorTitle), MsgStyle::Critical);
}

// --- Cinterface ------------------------------------------------------------------------

void CLSCG_DUEBILCONFIG::setClsGlobal(ClsGlobal *global) { m_clsGlobal = global; }
ClsGlobal *CLSCG_DUEBILCONFIG::clsGlobal() const { return m_clsGlobal; }
void CLSCG_DUEBILCONFIG::setActiveFrame(QObject *frame) { m_activeFrame = frame; }
QObject *CLSCG_DUEBILCONFIG::activeFrame() const { return m_activeFrame; }

void CLSCG_DUEBILCONFIG::setActiveNavigator(ActiveNavigator *navigator)
{
    for (const QMetaObject::Connection &c : std::as_const(m_navigatorConnections))
        disconnect(c);
    m_navigatorConnections.clear();
    m_activeNavigator = navigator;
    if (!navigator)
        return;
    // Direct connections: the handlers answer through the by-reference arguments.
    m_navigatorConnections
        << connect(navigator, &ActiveNavigator::BeforeChangeDitta, this,
                   &CLSCG_DUEBILCONFIG::ActiveNavigator_BeforeChangeDitta, Qt::DirectConnection)
        << connect(navigator, &ActiveNavigator::BeforeExportToOffice, this,
                   &CLSCG_DUEBILCONFIG::ActiveNavigator_BeforeExportToOffice, Qt::DirectConnection)
        << connect(navigator, &ActiveNavigator::InitializeLayoutObjectModel, this,
                   &CLSCG_DUEBILCONFIG::ActiveNavigator_InitializeLayoutObjectModel, Qt::DirectConnection)
        << connect(navigator, &ActiveNavigator::InitializeScriptObjectModel, this,
                   &CLSCG_DUEBILCONFIG::ActiveNavigator_InitializeScriptObjectModel, Qt::DirectConnection);
}

ActiveNavigator *CLSCG_DUEBILCONFIG::activeNavigator() const { return m_activeNavigator; }
void CLSCG_DUEBILCONFIG::setActiveDll(Cinterface *contract) { m_activeDll = contract; }
Cinterface *CLSCG_DUEBILCONFIG::activeDll() const { return m_activeDll; }
void CLSCG_DUEBILCONFIG::setStatusBar(QObject *statusBar) { m_statusBar = statusBar; }
QObject *CLSCG_DUEBILCONFIG::statusBar() const { return m_statusBar; }
void CLSCG_DUEBILCONFIG::setCanInsert(bool value) { m_canInsert = value; }
bool CLSCG_DUEBILCONFIG::canInsert() const { return m_canInsert; }
void CLSCG_DUEBILCONFIG::setCanDelete(bool value) { m_canDelete = value; }
bool CLSCG_DUEBILCONFIG::canDelete() const { return m_canDelete; }
void CLSCG_DUEBILCONFIG::setCanUpdate(bool value) { m_canUpdate = value; }
bool CLSCG_DUEBILCONFIG::canUpdate() const { return m_canUpdate; }
void CLSCG_DUEBILCONFIG::setCanQbe(bool value) { m_canQbe = value; }
bool CLSCG_DUEBILCONFIG::canQbe() const { return m_canQbe; }

void CLSCG_DUEBILCONFIG::setWindowState(qint32 value)
{
    if (fitsIn16Bits(value))
        m_windowState = qint16(value);
}

qint16 CLSCG_DUEBILCONFIG::windowState() const { return m_windowState; }
void CLSCG_DUEBILCONFIG::setWindowModal(bool value) { m_windowModal = value; }
bool CLSCG_DUEBILCONFIG::windowModal() const { return m_windowModal; }

void CLSCG_DUEBILCONFIG::setProgramMode(qint32 value)
{
    if (fitsIn16Bits(value))
        m_programMode = qint16(value);
}

qint16 CLSCG_DUEBILCONFIG::programMode() const { return m_programMode; }
void CLSCG_DUEBILCONFIG::setMenuModulo(const QVariant &value) { m_menuModulo = value; }
QVariant CLSCG_DUEBILCONFIG::menuModulo() const { return m_menuModulo; }
void CLSCG_DUEBILCONFIG::setMenuPadre(const QVariant &value) { m_menuPadre = value; }
QVariant CLSCG_DUEBILCONFIG::menuPadre() const { return m_menuPadre; }
void CLSCG_DUEBILCONFIG::setMenuProg(const QVariant &value) { m_menuProg = value; }
QVariant CLSCG_DUEBILCONFIG::menuProg() const { return m_menuProg; }
void CLSCG_DUEBILCONFIG::setCaption(const QVariant &value) { m_caption = value; }
QVariant CLSCG_DUEBILCONFIG::caption() const { return m_caption; }
void CLSCG_DUEBILCONFIG::setHwndParent(qint32 value) { m_hwndParent = value; }
qint32 CLSCG_DUEBILCONFIG::hwndParent() const { return m_hwndParent; }

QVariant CLSCG_DUEBILCONFIG::ShowForm()
{
    ErrorTrap::runIgnoringErrors({
        [&] {
            if (m_formWidget)
                m_earlierForms << m_formWidget;
            if (!m_formFactory)
                m_formFactory = std::make_shared<PlaceholderFormFactory>();
            m_form = m_formFactory->createForm();
            m_formWidget = m_form ? m_form->widget() : nullptr;
            return m_form != nullptr;
        },
        [&] {
            m_form->setGcls_Interface(m_activeDll);
            m_form->setGcls_Parent(this);
        },
        [&] { m_form->setCaption(m_caption.toString()); },
        [&] {
            if (m_windowModal)
                m_form->showModal();
            else
                m_form->showModeless();
        },
    });
    return QVariant();
}

QVariant CLSCG_DUEBILCONFIG::CloseForm()
{
    bool closed = false;
    ErrorTrap::runIgnoringErrors({
        [&] {
            if (IForm *current = form())
                current->unload();
        },
        [&] {
            // A form that went away entirely has closed as well.
            IForm *current = form();
            closed = !current || current->Gcls_Interface() == nullptr;
        },
    });
    return closed;
}

void CLSCG_DUEBILCONFIG::setConnection(std::shared_ptr<ado::Connection> connection)
{
    m_connection = std::move(connection);
}

std::shared_ptr<ado::Connection> CLSCG_DUEBILCONFIG::connection() const { return m_connection; }
QObject *CLSCG_DUEBILCONFIG::Cwindow() const { return m_gobjWindow; }

QVariant CLSCG_DUEBILCONFIG::TransferData(const QVariant &data)
{
    const QVariant copy = data;
    ErrorTrap::runIgnoringErrors({[&] { emit DataTransfer(copy); }});
    return QVariant();
}

QVariant CLSCG_DUEBILCONFIG::top() const { return QVariant(m_top); }

void CLSCG_DUEBILCONFIG::setTop(const QVariant &value)
{
    bool ok = false;
    const qint32 converted = value.toInt(&ok);
    if (ok)
        m_top = converted;
}

QVariant CLSCG_DUEBILCONFIG::left() const { return QVariant(m_left); }

void CLSCG_DUEBILCONFIG::setLeft(const QVariant &value)
{
    bool ok = false;
    const qint32 converted = value.toInt(&ok);
    if (ok)
        m_left = converted;
}

void CLSCG_DUEBILCONFIG::setClsVoceMenu(QObject *menuItem) { m_clsVoceMenu = menuItem; }
QObject *CLSCG_DUEBILCONFIG::clsVoceMenu() const { return m_clsVoceMenu; }
void CLSCG_DUEBILCONFIG::setIsActive(bool value) { m_isActive = value; }
bool CLSCG_DUEBILCONFIG::isActive() const { return m_isActive; }
void CLSCG_DUEBILCONFIG::setIsCalled(bool value) { m_isCalled = value; }
bool CLSCG_DUEBILCONFIG::isCalled() const { return m_isCalled; }
void CLSCG_DUEBILCONFIG::setFiltro(const QVariant &) {}
QVariant CLSCG_DUEBILCONFIG::filtro() const { return QVariant(); }

// --- own interface ----------------------------------------------------------------------

QVariant CLSCG_DUEBILCONFIG::CausaleEsterna() const { return m_causaleEsterna; }
void CLSCG_DUEBILCONFIG::setCausaleEsterna(const QVariant &value) { m_causaleEsterna = value; }
QVariant CLSCG_DUEBILCONFIG::IdIstanza() { return QVariant(m_id.value()); }
QString CLSCG_DUEBILCONFIG::GeneraGuid() { return InstanceId::GeneraGuid(); }

IForm *CLSCG_DUEBILCONFIG::form() const
{
    return m_formWidget ? m_form : nullptr;
}

void CLSCG_DUEBILCONFIG::setFormFactory(std::shared_ptr<FormFactory> formFactory)
{
    m_formFactory = std::move(formFactory);
}

// --- navigator events -------------------------------------------------------------------

void CLSCG_DUEBILCONFIG::ActiveNavigator_BeforeChangeDitta(bool *cancel)
{
    ErrorTrap::runIgnoringErrors({
        [&] { *cancel = true; },
        [&] {
            ClsGlobal *global = m_activeDll ? m_activeDll->clsGlobal() : nullptr;
            if (global)
                global->showMessage(MessageId::CompanyChangeRefused, {}, global->text(FrameworkText::InformationTitle),
                                    MsgStyle::Information);
        },
    });
}

void CLSCG_DUEBILCONFIG::ActiveNavigator_BeforeExportToOffice(bool *, QObject **)
{
    // Nothing to export from this window; the host's answer stays as it is.
    ErrorTrap::runIgnoringErrors({[&] { return m_activeDll && m_activeDll->isActive(); }});
}

void CLSCG_DUEBILCONFIG::ActiveNavigator_InitializeLayoutObjectModel(bool *, QObject **)
{
    ErrorTrap::runIgnoringErrors({[&] { return m_activeDll && m_activeDll->isActive(); }});
}

void CLSCG_DUEBILCONFIG::ActiveNavigator_InitializeScriptObjectModel(bool *, ScriptObjectModel **clsScript)
{
    ErrorTrap::runIgnoringErrors({
        [&] { return m_activeDll && m_activeDll->isActive() && clsScript && *clsScript; },
        [&] {
            IForm *current = form();
            if (!current)
                return;
            QObject *formObject = current->widget();
            (*clsScript)->AddObject(current->formName(), formObject, 0, scriptDescription());
            // The model may hand back the object it keeps: that becomes the class's form.
            auto *widget = qobject_cast<QWidget *>(formObject);
            if (IForm *kept = dynamic_cast<IForm *>(widget)) {
                m_formWidget = widget;
                m_form = kept;
            }
        },
        [&] {
            QObject *frame = m_activeDll->activeFrame();
            if (!frame)
                return;
            frame->setObjectName(QStringLiteral("FME_DUEBILLAYOUT"));
            const QString name = frame->objectName();
            (*clsScript)->AddObject(name, frame, 3, name);
        },
    });
}
