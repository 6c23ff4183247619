#pragma once

#include <QString>

// The window's controls as the enabling rules see them: by design name, with the few
// operations the rules perform. The form adapts its widgets; tests use a plain map.
class ControlSurface
{
public:
    virtual ~ControlSurface();

    virtual QString value(const QString &name) const = 0;
    virtual void setValue(const QString &name, const QString &value) = 0;
    virtual void setEnabled(const QString &name, bool enabled) = 0;
    virtual void setVisible(const QString &name, bool visible) = 0;
    virtual void setCaption(const QString &name, const QString &caption) = 0;
    // Required-entry flag of a code or number field, enforced when the row is saved.
    virtual void setMandatory(const QString &name, bool mandatory) = 0;

    virtual int currentTab() const = 0;
    virtual void setCurrentTab(int index) = 0;
    virtual void setTabEnabled(int index, bool enabled) = 0;
};
