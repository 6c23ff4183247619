#include "labelcontrol.h"

LabelControl::LabelControl(QWidget *parent)
    : QLabel(parent)
{
}

LabelControl::~LabelControl() = default;

bool LabelControl::hasBorder() const { return frameShape() != QFrame::NoFrame; }

void LabelControl::setBorder(bool border)
{
    setFrameShape(border ? QFrame::StyledPanel : QFrame::NoFrame);
    setFrameShadow(border ? QFrame::Sunken : QFrame::Plain);
    if (border)
        setMinimumHeight(fontMetrics().height() + 6);
}

int LabelControl::labelStyle() const { return m_style; }

void LabelControl::setLabelStyle(int style)
{
    m_style = style;
    setWordWrap(style == 2);
    QFont f = font();
    f.setBold(style == 1);
    setFont(f);
}
