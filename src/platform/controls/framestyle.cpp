#include "controls/framestyle.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtMath>

FrameStyle::FrameStyle(QStyle *base) : QProxyStyle(base) {}

FrameStyle *FrameStyle::instance()
{
    static QPointer<FrameStyle> style;
    if (!style) {
        style = new FrameStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(qApp);
    }
    return style;
}

void FrameStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                               const QWidget *widget) const
{
    const qreal ratio = painter && painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    if (element != PE_Frame || !option || qFuzzyCompare(ratio, qreal(qRound(ratio)))) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The control's outermost whole screen pixels, drawn in screen coordinates.
    const QTransform toScreen = painter->deviceTransform();
    const QTransform rest = painter->worldTransform().inverted() * toScreen;
    const QRectF area = toScreen.mapRect(QRectF(option->rect));
    const QRect pixels(QPoint(qCeil(area.left() - 0.01), qCeil(area.top() - 0.01)),
                       QPoint(qFloor(area.right() + 0.01) - 1, qFloor(area.bottom() + 0.01) - 1));
    if (pixels.width() < 2 || pixels.height() < 2)
        return;
    // The shade the style gives a panel's outline.
    const QColor line = option->palette.window().color().darker(140).lighter(108);
    painter->save();
    painter->setWorldTransform(rest.inverted());
    painter->fillRect(QRect(pixels.topLeft(), QSize(pixels.width(), 1)), line);
    painter->fillRect(QRect(pixels.bottomLeft(), QSize(pixels.width(), 1)), line);
    painter->fillRect(QRect(pixels.topLeft(), QSize(1, pixels.height())), line);
    painter->fillRect(QRect(pixels.topRight(), QSize(1, pixels.height())), line);
    painter->restore();
}
