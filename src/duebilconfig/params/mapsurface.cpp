#include "params/controlsurface.h"

QString MapSurface::value(const QString &name) const { return m_values.value(name); }
bool MapSurface::isEnabled(const QString &name) const { return !m_disabled.contains(name); }
bool MapSurface::isVisible(const QString &name) const { return !m_hidden.contains(name); }
bool MapSurface::isMandatory(const QString &name) const { return m_mandatory.contains(name); }
void MapSurface::setValue(const QString &name, const QString &value) { m_values.insert(name, value); }

void MapSurface::setEnabled(const QString &name, bool enabled)
{
    if (enabled)
        m_disabled.remove(name);
    else
        m_disabled.insert(name);
}

void MapSurface::setVisible(const QString &name, bool visible)
{
    if (visible)
        m_hidden.remove(name);
    else
        m_hidden.insert(name);
}

void MapSurface::setCaption(const QString &name, const QString &caption) { m_captions.insert(name, caption); }

void MapSurface::setMandatory(const QString &name, bool mandatory)
{
    if (mandatory)
        m_mandatory.insert(name);
    else
        m_mandatory.remove(name);
}

int MapSurface::currentTab() const { return m_tab; }
void MapSurface::setCurrentTab(int index) { m_tab = index; }

void MapSurface::setTabEnabled(int index, bool enabled)
{
    if (enabled)
        m_disabledTabs.remove(index);
    else
        m_disabledTabs.insert(index);
}

QString MapSurface::caption(const QString &name) const { return m_captions.value(name); }
bool MapSurface::isTabEnabled(int index) const { return !m_disabledTabs.contains(index); }
