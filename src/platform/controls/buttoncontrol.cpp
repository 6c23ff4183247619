#include "controls/buttoncontrol.h"

ButtonControl::ButtonControl(QWidget *parent)
    : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &ButtonControl::ButtonClick);
}

ButtonControl::~ButtonControl() = default;

void ButtonControl::setPicture(const QIcon &icon, const QString &toolTip)
{
    setIcon(icon);
    setText(QString());
    setToolTip(toolTip);
    setFixedSize(30, 26);
}
