#pragma once

#include "params/controlsurface.h"

#include <functional>

// Which controls of the causal on display are available, shown and forced, by operation
// type and the settings on screen. Every call recomputes the whole screen from the baseline.
namespace EnablingRules {

struct Inputs
{
    QString causal;        // code on display
    QString userName;      // logged-in user
};

// Baseline, overrides of the operation type (with the withholding and currency rules of
// collections and payments), then the reserved-code rule. Texts are looked up by id.
void apply(ControlSurface &screen, const Inputs &inputs, const std::function<QString(int)> &text);

// The values on screen the rules read: when applying them changes one of these (a value they
// force), the rules are applied again until the screen no longer changes.
QString inputState(const ControlSurface &screen);

// apply() until inputState() stands still (at most a few rounds: each round only clears).
void applyUntilStable(ControlSurface &screen, const Inputs &inputs, const std::function<QString(int)> &text);

} // namespace EnablingRules
