#include "params_ui/parameterscreen.h"

#include "ado/recordset.h"
#include "framework/clsglobal.h"
#include "window/formcontext.h"

namespace ParameterScreen {

bool ticked(const QString &boxValue)
{
    return boxValue == QLatin1String("1");
}

bool registrationRowPresent(const FormContext &ctx)
{
    const ado::RecordsetPtr rs = ctx.FME_PARAMPERSREG ? ctx.FME_PARAMPERSREG->recordset() : ado::RecordsetPtr();
    return rs && rs->State() == ado::ObjectState::Open && rs->RecordCount() > 0 && !rs->isBOF() && !rs->isEOF();
}

int accountGroup(const FormContext &ctx)
{
    return ctx.global ? ctx.global->companyAccountGroup() : 0;
}

} // namespace ParameterScreen
