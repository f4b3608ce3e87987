// The palette rule: design colours out of high contrast, the scheme's colours in it.
#include "framework/Palette.h"

namespace fw {

ColorSpec ChooseColor(ColorRole role, ColorSpec design, bool highContrast) {
    if (!highContrast) return design;
    switch (role) {
        case ColorRole::Text:
            // The system's text colours (grey for what is off, button text) are the scheme's already.
            return IsSystemColorSpec(design) ? design : SystemColorSpec(kSysWindowText);
        case ColorRole::Background:
            // A dialog's face is the scheme's own; every other fill is the window colour that the
            // scheme's text colours are chosen against.
            return design == SystemColorSpec(kSysBtnFace) ? design : SystemColorSpec(kSysWindow);
        case ColorRole::Link:
            return SystemColorSpec(kSysHotLight);
        case ColorRole::LinkHover:
        case ColorRole::Selection:
            return SystemColorSpec(kSysHighlight);
        case ColorRole::Mark:
            return SystemColorSpec(kSysWindowText);
    }
    return design;
}

}  // namespace fw
