#pragma once

#include <QPushButton>

// Button with a caption or a picture; ButtonClick is its click event.
class ButtonControl : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ text WRITE setText)

public:
    explicit ButtonControl(QWidget *parent = nullptr);
    ~ButtonControl() override;

    // A picture button shows only its icon; the caption becomes the tool tip.
    void setPicture(const QIcon &icon, const QString &toolTip);

signals:
    void ButtonClick();
};
