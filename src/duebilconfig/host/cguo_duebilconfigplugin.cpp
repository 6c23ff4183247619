#include "host/cguo_duebilconfigplugin.h"

#include "form/frmcg_duebilconfigfactory.h"
#include "host/clscg_duebilconfig.h"

QStringList CGUO_DUEBILCONFIGPlugin::progIds() const
{
    return {CLSCG_DUEBILCONFIG::progId()};
}

QObject *CGUO_DUEBILCONFIGPlugin::createInstance(const QString &progId)
{
    if (progId.compare(CLSCG_DUEBILCONFIG::progId(), Qt::CaseInsensitive) != 0)
        return nullptr;
    return new CLSCG_DUEBILCONFIG(std::make_shared<FRMCG_DUEBILCONFIGFactory>());
}
