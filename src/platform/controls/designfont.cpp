#include "controls/designfont.h"

#include <QFile>
#include <QFontDatabase>

namespace {

const QString Family = QStringLiteral("Tahoma");

bool registerFont()
{
    if (QFontDatabase::hasFamily(Family))
        return true;
    bool any = false;
    for (const char *file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
        const QString path = QString::fromLatin1(file);
        if (QFile::exists(path) && QFontDatabase::addApplicationFont(path) >= 0)
            any = true;
    }
    return any && QFontDatabase::hasFamily(Family);
}

} // namespace

namespace DesignFont {

bool isAvailable()
{
    static const bool available = registerFont();
    return available;
}

QFont font()
{
    isAvailable();
    QFont f(Family);
    f.setPointSizeF(8.25);
    return f;
}

} // namespace DesignFont
