#pragma once

#include <QPointer>
#include <QWidget>

class DataFrame;

// The editing buttons of a grid's rows, laid out vertically: "Nuovo" adds a row to the frame,
// "Elimina" deletes the current one. ButtonClick comes first, so the form can prepare fields.
class GridNavigator : public QWidget
{
    Q_OBJECT

public:
    explicit GridNavigator(QWidget *parent = nullptr);
    ~GridNavigator() override;

    void setFrame(DataFrame *frame);
    // Presses a button by key, as its click does; false when the frame did not act.
    Q_INVOKABLE bool press(const QString &key);

signals:
    void ButtonClick(const QString &key);

private:
    QPointer<DataFrame> m_frame;
};
