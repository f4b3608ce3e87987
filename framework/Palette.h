// The colours a window of ours draws in, chosen by role. Out of high contrast a role keeps the
// colour it was designed with; in high contrast every colour comes from the system's scheme, so
// that what the user chose for legibility is what they see.
#pragma once

#include <cstdint>

namespace fw {

// A colour: 0x00BBGGRR, or one of the system's colours (its index in the low byte, the top bit set).
using ColorSpec = uint32_t;
constexpr ColorSpec SystemColorSpec(int index) {
    return 0x80000000u | static_cast<uint32_t>(index & 0xFF);
}
constexpr bool IsSystemColorSpec(ColorSpec color) {
    return (color & 0x80000000u) != 0;
}
constexpr int SystemColorIndex(ColorSpec color) {
    return static_cast<int>(color & 0xFF);
}

// The system colours the roles fall back on, with the system's index values.
inline constexpr int kSysWindow = 5;
inline constexpr int kSysWindowText = 8;
inline constexpr int kSysHighlight = 13;
inline constexpr int kSysBtnFace = 15;
inline constexpr int kSysGrayText = 17;
inline constexpr int kSysHotLight = 26;

enum class ColorRole {
    Text,        // a text; greyed texts keep the system's grey
    Background,  // what a window or a label is filled with
    Link,        // a link's text
    LinkHover,   // a link's text under the pointer
    Mark,        // the outline and tick of a drawn check mark
    Selection,   // a selection's outline and its handles
};

// The colour to draw `role` in: `design` out of high contrast, the system's colour for the role in it.
ColorSpec ChooseColor(ColorRole role, ColorSpec design, bool highContrast);

}  // namespace fw
