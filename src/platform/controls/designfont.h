#pragma once

#include <QFont>

// The font the forms are designed in: Tahoma 8.25 pt, the size every design width is given for.
// Debian's fonts-wine ships a metric-compatible Tahoma; it is registered with the application
// the first time the font is asked for. Without it Qt substitutes a sans font, and the layouts,
// which size every control from the metrics of the font in use, still cut nothing.
namespace DesignFont {

QFont font();
// True when the Tahoma family is available to the application.
bool isAvailable();

} // namespace DesignFont
