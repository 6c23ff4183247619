#pragma once

// What the other subsystems ask of the parameters of the causal on display.
class ICausalParameters
{
public:
    virtual ~ICausalParameters() = default;

    // The enabling rules, run on the screen as it is.
    virtual void AttivaEditControlli() = 0;
    // The save rules on the screen as the rules left it: false when the caller is to stop,
    // with *cancel telling whether the save stops.
    virtual bool ControllaSalvataggio(bool *cancel) = 0;
};
