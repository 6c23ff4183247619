#include "cguo_duebilconfigplugin.h"

#include "clscg_duebilconfig.h"

#ifdef DUEBIL_HAVE_FORM
#include "frmcg_duebilconfigfactory.h"
#endif

QStringList CGUO_DUEBILCONFIGPlugin::progIds() const
{
    return {CLSCG_DUEBILCONFIG::progId()};
}

QObject *CGUO_DUEBILCONFIGPlugin::createInstance(const QString &progId)
{
    if (progId.compare(CLSCG_DUEBILCONFIG::progId(), Qt::CaseInsensitive) != 0)
        return nullptr;
#ifdef DUEBIL_HAVE_FORM
    return new CLSCG_DUEBILCONFIG(std::make_shared<FRMCG_DUEBILCONFIGFactory>());
#else
    return new CLSCG_DUEBILCONFIG();
#endif
}
