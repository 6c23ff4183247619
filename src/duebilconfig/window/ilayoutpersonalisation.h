#pragma once

// What the other subsystems ask of the layout tab.
class ILayoutPersonalisation
{
public:
    virtual ~ILayoutPersonalisation() = default;

    // Rewrites the layout of the causal being saved.
    virtual void UpdateLayOut() = 0;
};
