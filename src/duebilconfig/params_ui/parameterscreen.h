#pragma once

#include <QString>

struct FormContext;

// What the handlers of the parameter frames read alike from the screen and the rows on display.
namespace ParameterScreen {

// A check box's value: ticked when it holds "1".
bool ticked(const QString &boxValue);

// The registration row (FME_PARAMPERSREG) of the causal on display is there to be edited.
bool registrationRowPresent(const FormContext &ctx);

// The account group of the company on display, 0 without the host's services.
int accountGroup(const FormContext &ctx);

} // namespace ParameterScreen
