#pragma once

#include <QObject>
#include <QString>

struct FormContext;

// The parametric text of the posting line (TXT_TESTOPARAMETRICO) and its legend of
// placeholders, inserted at the cursor with a double click.
class ParametricText : public QObject
{
    Q_OBJECT

public:
    explicit ParametricText(FormContext &ctx);
    ~ParametricText() override;

    void connectEvents();

    void BUT_LEGENDA_ButtonClick();
    void Gcls_TestiParametrizzabili_DoubleClick(short *indexRow, QString *value, QString *description);
    void TXT_TESTOPARAMETRICO_GotFocus();
    void TXT_TESTOPARAMETRICO_LostFocus();

private:
    void connectLegend();

    FormContext &ctx;
    bool m_legendConnected = false;
};
