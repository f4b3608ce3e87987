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

// The boxes follow the modifiers held as a key is typed into the key field, which keeps the key
// alone: CTRL+ALT+K ticks CTRL and ALT and leaves the others unticked. A key typed without
// modifiers leaves the boxes as they were ticked.
template <typename Window>
void FollowTypedModifiers(Window& window, const TModifierBoxes<Window>& boxes, const fw::HotKeyEdit& keyField) {
    const auto held = static_cast<int32_t>(keyField.HeldModifiers());
    if (held != 0) TickShiftState(window, boxes, held);
}

}  // namespace corvalend
