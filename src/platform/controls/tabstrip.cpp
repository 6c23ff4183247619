#include "tabstrip.h"

#include <QSignalBlocker>
#include <QTabBar>

TabStrip::TabStrip(QWidget *parent)
    : QTabWidget(parent)
{
    connect(this, &QTabWidget::currentChanged, this, &TabStrip::TabChanged);
}

TabStrip::~TabStrip() = default;

int TabStrip::Tab() const { return currentIndex(); }

void TabStrip::setTab(int index)
{
    if (index < 0 || index >= count())
        return;
    // A disabled tab is not chosen, except when every tab is disabled: then the strip shows the
    // tab asked for rather than whichever one the disabling left current.
    bool anyEnabled = false;
    for (int i = 0; i < count(); ++i)
        anyEnabled = anyEnabled || isTabEnabled(i);
    if (isTabEnabled(index) || !anyEnabled)
        setCurrentIndex(index);
}

bool TabStrip::TabEnabled(int index) const { return isTabEnabled(index); }

void TabStrip::setTabEnabledAt(int index, bool enabled)
{
    if (index < 0 || index >= count())
        return;
    setTabEnabled(index, enabled);
    if (!enabled && currentIndex() == index) {
        for (int i = 0; i < count(); ++i) {
            if (isTabEnabled(i)) {
                setCurrentIndex(i);
                break;
            }
        }
    }
}

void TabStrip::disableTabs(int count)
{
    QTabBar *bar = tabBar();
    const int before = currentIndex();
    {
        // The bar moves its current tab on its own; the pages follow only at the end.
        const QSignalBlocker quiet(bar);
        for (int i = 0; i < qMin(count, this->count()); ++i)
            setTabEnabledAt(i, false);
    }
    const int after = currentIndex();
    if (after == before)
        return;
    {
        const QSignalBlocker quiet(bar);
        bar->setCurrentIndex(before);
    }
    bar->setCurrentIndex(after);
}

QString TabStrip::tabCaption(int index) const
{
    QString caption = tabText(index);
    return caption.remove(QLatin1Char('&'));
}

int TabStrip::addPage(QWidget *page, const QString &caption, QChar accessKey)
{
    QString shown = caption;
    if (!shown.contains(QLatin1Char('&')) && !accessKey.isNull()) {
        const int at = shown.indexOf(accessKey, 0, Qt::CaseInsensitive);
        if (at >= 0)
            shown.insert(at, QLatin1Char('&'));
    }
    return addTab(page, shown);
}
