#include "controls/tabstrip.h"

#include <QLayout>

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
    const int last = qMin(count, this->count());
    const int current = currentIndex();
    for (int i = 0; i < last; ++i) {
        if (i != current)
            setTabEnabledAt(i, false);
    }
    if (current >= 0 && current < last)
        setTabEnabledAt(current, false);
}

bool TabStrip::layOutHiddenPages()
{
    bool changed = false;
    for (int i = 0; i < count(); ++i) {
        QWidget *page = widget(i);
        if (!page || page->isVisible())
            continue;
        // Children come after their parent: walked backwards, each layout sees its widgets'
        // sizes already renewed. A layout with nothing changed returns at once.
        const QList<QWidget *> inner = page->findChildren<QWidget *>();
        for (auto it = inner.crbegin(); it != inner.crend(); ++it) {
            if (QLayout *layout = (*it)->layout())
                changed = layout->activate() || changed;
        }
        if (QLayout *layout = page->layout())
            changed = layout->activate() || changed;
    }
    if (changed)
        updateGeometry();
    return changed;
}

bool TabStrip::stepTab(int step)
{
    const int n = count();
    for (int i = 1; i < n; ++i) {
        const int index = ((currentIndex() + step * i) % n + n) % n;
        if (isTabEnabled(index) && isTabVisible(index)) {
            setCurrentIndex(index);
            return true;
        }
    }
    return false;
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
