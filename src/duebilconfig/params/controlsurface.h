#pragma once

#include <QHash>
#include <QSet>
#include <QString>

// The window's controls as the enabling rules see them: by design name, with the few
// operations the rules perform. The form adapts its widgets; tests use a plain map.
class ControlSurface
{
public:
    virtual ~ControlSurface();

    virtual QString value(const QString &name) const = 0;
    virtual bool isEnabled(const QString &name) const = 0;
    virtual bool isVisible(const QString &name) const = 0;
    virtual bool isMandatory(const QString &name) const = 0;
    virtual void setValue(const QString &name, const QString &value) = 0;
    virtual void setEnabled(const QString &name, bool enabled) = 0;
    virtual void setVisible(const QString &name, bool visible) = 0;
    virtual void setCaption(const QString &name, const QString &caption) = 0;
    // Required-entry flag of a code or number field, enforced when the row is saved.
    virtual void setMandatory(const QString &name, bool mandatory) = 0;

    virtual int currentTab() const = 0;
    virtual void setCurrentTab(int index) = 0;
    virtual bool isTabEnabled(int index) const = 0;
    virtual void setTabEnabled(int index, bool enabled) = 0;
};

// A screen without widgets: what the rules leave on it, for the command-line checks and the
// tests. Every control starts enabled, visible, not mandatory and empty.
class MapSurface : public ControlSurface
{
public:
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

    QString caption(const QString &name) const;

private:
    QHash<QString, QString> m_values, m_captions;
    QSet<QString> m_disabled, m_hidden, m_mandatory;
    QSet<int> m_disabledTabs;
    int m_tab = 0;
};
