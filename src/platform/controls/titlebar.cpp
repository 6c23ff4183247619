#include "controls/titlebar.h"

#include <QPalette>

TitleBar::TitleBar(QWidget *parent)
    : QLabel(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Highlight));
    p.setColor(QPalette::WindowText, p.color(QPalette::HighlightedText));
    setPalette(p);
    QFont f = font();
    f.setBold(true);
    setFont(f);
    setContentsMargins(6, 2, 6, 2);
}

TitleBar::~TitleBar() = default;
