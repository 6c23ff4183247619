#include "params_ui/widgetsurface.h"

#include "window/formcontext.h"

#include <QGroupBox>
#include <QLabel>

WidgetSurface::WidgetSurface(FormContext &ctx) : ctx(ctx) {}

QWidget *WidgetSurface::control(const QString &name) const
{
    return ctx.control(name);
}

QString WidgetSurface::value(const QString &name) const
{
    return FormContext::text(control(name));
}

bool WidgetSurface::isEnabled(const QString &name) const
{
    const QWidget *w = control(name);
    return w && w->isEnabled();
}

bool WidgetSurface::isVisible(const QString &name) const
{
    const QWidget *w = control(name);
    return w && !w->isHidden();
}

bool WidgetSurface::isMandatory(const QString &name) const
{
    const auto *field = qobject_cast<const FieldControl *>(control(name));
    return field && field->isRequired();
}

void WidgetSurface::setValue(const QString &name, const QString &value)
{
    if (auto *field = qobject_cast<FieldControl *>(control(name))) {
        if (field->Text() != value)
            field->setText(value);
    }
}

void WidgetSurface::setEnabled(const QString &name, bool enabled)
{
    if (QWidget *w = control(name))
        w->setEnabled(enabled);
}

void WidgetSurface::setVisible(const QString &name, bool visible)
{
    if (QWidget *w = control(name))
        w->setVisible(visible);
}

void WidgetSurface::setCaption(const QString &name, const QString &caption)
{
    QWidget *w = control(name);
    if (auto *keyed = qobject_cast<LabelControl *>(w))
        keyed->setCaption(caption);
    else if (auto *label = qobject_cast<QLabel *>(w))
        label->setText(caption);
    else if (auto *box = qobject_cast<QGroupBox *>(w))
        box->setTitle(caption);
    else if (auto *field = qobject_cast<FieldControl *>(w))
        field->setCaption(caption);
}

void WidgetSurface::setMandatory(const QString &name, bool mandatory)
{
    if (auto *field = qobject_cast<FieldControl *>(control(name)))
        field->setRequired(mandatory);
}

int WidgetSurface::currentTab() const
{
    return ctx.ui.TAB_CONFIG->Tab();
}

void WidgetSurface::setCurrentTab(int index)
{
    ctx.ui.TAB_CONFIG->setTab(index);
}

bool WidgetSurface::isTabEnabled(int index) const
{
    return ctx.ui.TAB_CONFIG->isTabEnabled(index);
}

void WidgetSurface::setTabEnabled(int index, bool enabled)
{
    ctx.ui.TAB_CONFIG->setTabEnabledAt(index, enabled);
}
