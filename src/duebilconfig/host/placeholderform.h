#pragma once

#include "framework/mdiform.h"

// The window of a class given no form factory (the class on its own, as its tests make it):
// an empty MDI child carrying the caption, with the same life cycle towards the host.
class PlaceholderForm : public MdiForm
{
    Q_OBJECT
public:
    explicit PlaceholderForm(QWidget *parent = nullptr);
    ~PlaceholderForm() override;

    QSize sizeHint() const override;
};

class PlaceholderFormFactory : public FormFactory
{
public:
    IForm *createForm() override;
};
