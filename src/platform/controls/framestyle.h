#pragma once

#include <QProxyStyle>

// The application's style, with a plain panel's frame (a multi-line field, a description
// read-out) drawn on whole screen pixels. On a screen scaled by a fraction (150%) the style's
// one-point line lands half a pixel off the control's edge, and the side it falls off is not
// drawn at all: the frame loses its top and left, or its bottom, by where the control stands.
class FrameStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // One for the whole application, made from the application's style when first asked.
    static FrameStyle *instance();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;

private:
    explicit FrameStyle(QStyle *base);
};
