#include "controls/framecontrol.h"

FrameControl::FrameControl(QWidget *parent)
    : QGroupBox(parent)
{
}

FrameControl::~FrameControl() = default;
