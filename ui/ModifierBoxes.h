// A window's four modifier check boxes, read and ticked through one table that lists them in the
// order of kModifiers.
#pragma once

#include <array>
#include <cstdint>

#include "core/Hotkeys.h"
#include "framework/ControlsStandard.h"

namespace corvalend {

template <typename Window>
using TModifierBoxes = std::array<fw::CheckBox Window::*, kModifiers.size()>;

template <typename Window>
int32_t TickedShiftState(const Window& window, const TModifierBoxes<Window>& boxes) {
    TModifierTicks ticks{};
    for (size_t i = 0; i < boxes.size(); ++i) ticks[i] = (window.*boxes[i]).Checked();
    return ShiftStateOf(ticks);
}

template <typename Window>
void TickShiftState(Window& window, const TModifierBoxes<Window>& boxes, int32_t shift) {
    const TModifierTicks ticks = ModifierTicksOf(shift);
    for (size_t i = 0; i < boxes.size(); ++i) (window.*boxes[i]).SetChecked(ticks[i]);
}

}  // namespace corvalend
