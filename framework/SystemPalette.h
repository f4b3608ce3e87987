// The palette on the system: whether high contrast is on, and the colour a role draws in now.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/Palette.h"

namespace fw {

// True while the user has high contrast on (SPI_GETHIGHCONTRAST).
bool HighContrastOn();
// Puts another answer in place of the system's (the Windows tests switch high contrast on this
// way: Wine has no high-contrast setting); an empty function gives the system's answer again.
void SetHighContrastQuery(std::function<bool()> query);

// The system colour or the colour itself.
COLORREF ColorOf(ColorSpec color);
// The colour `role` draws in now, with `design` its colour out of high contrast.
COLORREF RoleColor(ColorRole role, ColorSpec design);

}  // namespace fw
