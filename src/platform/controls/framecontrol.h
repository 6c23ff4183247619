#pragma once

#include <QGroupBox>

// Plain frame of the form; an empty caption draws no title.
class FrameControl : public QGroupBox
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ title WRITE setTitle)

public:
    explicit FrameControl(QWidget *parent = nullptr);
    ~FrameControl() override;
};
