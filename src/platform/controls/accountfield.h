#pragma once

#include "controls/textfield.h"

// Ledger account field. After a decode it tells whether the account exists (found) and whether
// it can be posted to (postable: an analytic account, not only a master account).
class AccountField : public TextField
{
    Q_OBJECT
    Q_PROPERTY(bool postable READ isPostable WRITE setPostable)
    Q_PROPERTY(bool controllaEsistenzaMastro READ controllaEsistenzaMastro
                   WRITE setControllaEsistenzaMastro)

public:
    explicit AccountField(QWidget *parent = nullptr);
    ~AccountField() override;

    bool isPostable() const;
    void setPostable(bool postable);
    bool controllaEsistenzaMastro() const;
    void setControllaEsistenzaMastro(bool check);

protected:
    void decoded(const DecodeResult &result) override;

private:
    bool m_postable = false;
    bool m_checkMaster = false;
};
