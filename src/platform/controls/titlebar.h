#pragma once

#include <QLabel>

// Title bar opening a group of controls (bartitlestyle 1: a coloured band).
class TitleBar : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString bartitletext READ text WRITE setText)

public:
    explicit TitleBar(QWidget *parent = nullptr);
    ~TitleBar() override;
};
