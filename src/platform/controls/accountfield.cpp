#include "controls/accountfield.h"

AccountField::AccountField(QWidget *parent)
    : TextField(parent)
{
    setUpperCase(true);
    setMaxChar(20);
    setMaxWidth(12);
}

AccountField::~AccountField() = default;

bool AccountField::isPostable() const { return m_postable; }
void AccountField::setPostable(bool postable) { m_postable = postable; }
bool AccountField::controllaEsistenzaMastro() const { return m_checkMaster; }
void AccountField::setControllaEsistenzaMastro(bool check) { m_checkMaster = check; }

void AccountField::decoded(const DecodeResult &result)
{
    TextField::decoded(result);
    // The decoder of the host marks analytic accounts by returning their id; a master account
    // is found without one.
    m_postable = result.found && result.id.isValid();
}
