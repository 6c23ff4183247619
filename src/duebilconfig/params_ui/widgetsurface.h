#pragma once

#include "params/controlsurface.h"

class QWidget;
struct FormContext;

// The controls of the window by design name, as the enabling rules see them.
class WidgetSurface : public ControlSurface
{
public:
    explicit WidgetSurface(FormContext &ctx);
    QString value(const QString &name) const override;
    bool isEnabled(const QString &name) const override;
    bool isVisible(const QString &name) const override;
    bool isMandatory(const QString &name) const override;
    void setValue(const QString &name, const QString &value) override;
    void setEnabled(const QString &name, bool enabled) override;
    void setVisible(const QString &name, bool visible) override;
    void setCaption(const QString &name, const QString &caption) override;
    void setMandatory(const QString &name, bool mandatory) override;
    int currentTab() const override;
    void setCurrentTab(int index) override;
    bool isTabEnabled(int index) const override;
    void setTabEnabled(int index, bool enabled) override;

private:
    QWidget *control(const QString &name) const;
    FormContext &ctx;
};
