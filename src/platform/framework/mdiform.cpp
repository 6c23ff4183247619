#include "framework/mdiform.h"

#include "framework/cinterface.h"
#include "framework/clsglobal.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

MdiForm::MdiForm(const QString &formName, QWidget *parent) : QWidget(parent), m_formName(formName)
{
    setObjectName(formName);
}

MdiForm::~MdiForm() = default;

QWidget *MdiForm::widget()
{
    return this;
}

QString MdiForm::formName() const
{
    return m_formName;
}

void MdiForm::setGcls_Interface(Cinterface *contract)
{
    m_interface = contract;
}

Cinterface *MdiForm::Gcls_Interface() const
{
    return m_interface;
}

void MdiForm::setGcls_Parent(QObject *parent)
{
    m_parentClass = parent;
}

QObject *MdiForm::Gcls_Parent() const
{
    return m_parentClass;
}

void MdiForm::setCaption(const QString &caption)
{
    m_caption = caption;
    setWindowTitle(isWindowModified() ? caption + QStringLiteral("[*]") : caption);
}

QString MdiForm::caption() const
{
    return m_caption.isNull() ? windowTitle() : m_caption;
}

void MdiForm::setPendingChanges(bool pending)
{
    if (pending == isWindowModified())
        return;
    const QString shown = caption();
    // Qt shows "[*]" as "*" while the window is modified; the title is the plain caption
    // otherwise, so whoever reads it gets the caption.
    if (pending) {
        setWindowTitle(shown + QStringLiteral("[*]"));
        setWindowModified(true);
    } else {
        setWindowModified(false);
        setWindowTitle(shown);
    }
}

bool MdiForm::hasPendingChanges() const
{
    return isWindowModified();
}

void MdiForm::showModal()
{
    ClsGlobal *global = m_interface ? m_interface->clsGlobal() : nullptr;
    QMdiArea *area = global ? global->mdiArea() : nullptr;
    if (area && !parentWidget())
        setParent(area->window(), Qt::Window);
    setWindowModality(Qt::ApplicationModal);
    resize(sizeHint());
    if (QWidget *owner = parentWidget())
        move(owner->geometry().center() - rect().center());
    QEventLoop loop;
    connect(this, &MdiForm::unloaded, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    show();
    loop.exec();
}

void MdiForm::showModeless()
{
    ClsGlobal *global = m_interface ? m_interface->clsGlobal() : nullptr;
    QMdiArea *area = global ? global->mdiArea() : nullptr;
    if (area && !m_subWindow) {
        // Our own sub-window, not deleted on close: the class releases the form.
        // No maximise button: the form has one size, and scrolls when the area is smaller.
        m_subWindow = new QMdiSubWindow(area, Qt::SubWindow | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                                  | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        // Placed in the area before the form goes in: each move of the form passes the fonts
        // down to every one of its widgets again.
        area->addSubWindow(m_subWindow);
        m_subWindow->setWidget(this);
        m_subWindow->adjustSize();
        area->viewport()->installEventFilter(this);
        fitIntoArea();
        m_subWindow->show();
        return;
    }
    show();
}

void MdiForm::unload()
{
    if (m_subWindow)
        m_subWindow->close();
    else
        close();
}

void MdiForm::release()
{
    if (m_subWindow)
        m_subWindow->deleteLater();
    else
        deleteLater();
}

QMdiSubWindow *MdiForm::subWindow() const
{
    return m_subWindow;
}

void MdiForm::fitIntoArea(bool grow)
{
    if (!m_subWindow || m_subWindow->isMaximized() || m_subWindow->isMinimized())
        return;
    auto *area = m_subWindow->mdiArea();
    if (!area)
        return;
    const QRect room = area->viewport()->rect();
    QRect frame = m_subWindow->geometry();
    frame.setSize(grow ? fittingFrameSize(frame.size()) : frame.size().boundedTo(room.size()));
    frame.moveLeft(qBound(0, frame.left(), room.width() - frame.width()));
    frame.moveTop(qBound(0, frame.top(), room.height() - frame.height()));
    if (frame != m_subWindow->geometry())
        m_subWindow->setGeometry(frame);
}

QSize MdiForm::fittingFrameSize(QSize least) const
{
    if (!m_subWindow || !m_subWindow->mdiArea())
        return least;
    const QSize room = m_subWindow->mdiArea()->viewport()->size();
    QSize wanted = m_subWindow->sizeHint();
    if (wanted.height() > room.height())
        wanted.rwidth() += style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return wanted.expandedTo(least).boundedTo(room);
}

bool MdiForm::event(QEvent *event)
{
    const bool done = QWidget::event(event);
    // The form needs more room (a causal shows more controls): the window grows as far as the
    // host's area allows; beyond that its contents scroll.
    if (event->type() == QEvent::LayoutRequest)
        fitIntoArea(true);
    return done;
}

bool MdiForm::eventFilter(QObject *watched, QEvent *event)
{
    // The host's area shrank: the window stays inside it and its contents scroll.
    if (event->type() == QEvent::Resize && m_subWindow && m_subWindow->mdiArea()
        && watched == m_subWindow->mdiArea()->viewport())
        fitIntoArea();
    return QWidget::eventFilter(watched, event);
}

void MdiForm::queryUnload(bool *)
{
}

void MdiForm::unloadForm()
{
    if (m_interface) {
        if (ClsGlobal *global = m_interface->clsGlobal()) {
            global->closing(m_interface);
            global->clearActive();
        }
    }
    releaseContract();
}

void MdiForm::releaseContract()
{
    m_interface = nullptr;
    m_parentClass = nullptr;
}

void MdiForm::closeEvent(QCloseEvent *event)
{
    if (!m_interface) {  // already unloaded
        event->accept();
        return;
    }
    bool cancel = false;
    queryUnload(&cancel);
    if (cancel) {
        event->ignore();
        return;
    }
    unloadForm();
    event->accept();
    emit unloaded();
}
