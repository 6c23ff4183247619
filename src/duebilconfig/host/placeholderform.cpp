#include "host/placeholderform.h"

PlaceholderForm::PlaceholderForm(QWidget *parent)
    : MdiForm(QStringLiteral("FRMCG_DUEBILCONFIG"), parent)
{
}

PlaceholderForm::~PlaceholderForm() = default;

QSize PlaceholderForm::sizeHint() const
{
    return QSize(794, 445);  // the form's client area, 11910 x 6675 twips
}

IForm *PlaceholderFormFactory::createForm()
{
    return new PlaceholderForm;
}
