// The palette on the system: the high-contrast flag and system colours, read at every paint so that
// a change of scheme shows at the next one.
#include "framework/SystemPalette.h"

#include <utility>

namespace fw {

namespace {

std::function<bool()> highContrastQuery;

}  // namespace

bool HighContrastOn() {
    if (highContrastQuery) return highContrastQuery();
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof(contrast);
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)) return false;
    return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void SetHighContrastQuery(std::function<bool()> query) {
    highContrastQuery = std::move(query);
}

COLORREF ColorOf(ColorSpec color) {
    return IsSystemColorSpec(color) ? GetSysColor(SystemColorIndex(color)) : static_cast<COLORREF>(color);
}

COLORREF RoleColor(ColorRole role, ColorSpec design) {
    return ColorOf(ChooseColor(role, design, HighContrastOn()));
}

}  // namespace fw
