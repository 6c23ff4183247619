#include "controls/standardicon.h"

#include <QHash>
#include <QPointer>

QIcon standardIcon(QStyle *style, QStyle::StandardPixmap which)
{
    static QPointer<QStyle> owner;
    static QHash<int, QIcon> icons;
    if (!style)
        return {};
    if (owner != style) {
        owner = style;
        icons.clear();
    }
    auto it = icons.find(which);
    if (it == icons.end())
        it = icons.insert(which, style->standardIcon(which));
    return it.value();
}
