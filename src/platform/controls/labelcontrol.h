#pragma once

#include <QLabel>

// Label of the maker's kind: a caption, or with a border a read-out of a decoded description.
// labelstyle 1 draws an information line, 2 a multi-line note.
class LabelControl : public QLabel
{
    Q_OBJECT
    Q_PROPERTY(QString caption READ text WRITE setText)
    Q_PROPERTY(bool border READ hasBorder WRITE setBorder)
    Q_PROPERTY(int labelstyle READ labelStyle WRITE setLabelStyle)

public:
    explicit LabelControl(QWidget *parent = nullptr);
    ~LabelControl() override;

    bool hasBorder() const;
    void setBorder(bool border);
    int labelStyle() const;
    void setLabelStyle(int style);

private:
    int m_style = 0;
};
