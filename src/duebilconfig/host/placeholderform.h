#pragma once

#include "mdiform.h"

// The window shown until the real FRMCG_DUEBILCONFIG is registered with the plug-in: an
// empty MDI child carrying the caption, with the same life cycle towards the host.
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
