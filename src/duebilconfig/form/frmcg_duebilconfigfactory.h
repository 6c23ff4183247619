#pragma once

#include "form/frmcg_duebilconfig.h"
#include "framework/iform.h"

// The plug-in's class makes its window through this factory.
class FRMCG_DUEBILCONFIGFactory : public FormFactory
{
public:
    IForm *createForm() override { return new FRMCG_DUEBILCONFIG; }
};
