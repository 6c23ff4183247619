#pragma once

#include <QIcon>
#include <QStyle>

// The style's standard icon, made once per style and kind: the style builds each one anew on
// every request, at the cost of a small control, and every window asks for the same few.
QIcon standardIcon(QStyle *style, QStyle::StandardPixmap which);
