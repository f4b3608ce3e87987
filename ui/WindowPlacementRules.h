// The settings window's size and place, kept between openings: the text it is kept as, and the
// decision at the next opening to put the window back there or to centre it as a first opening does.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "framework/Geometry.h"

namespace corvalend {

// The value, among the program's settings, that keeps the settings window's place.
inline constexpr char16_t kSettingsPlacementValue[] = u"SettingsWindow";

// Where a window was: its rectangle on the screen while neither maximized nor minimized, in device
// pixels, and whether it was maximized.
struct TWindowPlacement {
    fw::Bounds normal;
    bool maximized = false;
    friend bool operator==(const TWindowPlacement&, const TWindowPlacement&) = default;
};

// "left,top,width,height,maximized" in decimal, the last 0 or 1.
std::u16string PlacementToText(const TWindowPlacement& placement);
// Nothing when the text is not one that PlacementToText writes, or its rectangle has no area.
std::optional<TWindowPlacement> PlacementFromText(std::u16string_view text);

// The attached monitor that holds most of a window: its work area (the screen less the taskbar) and
// the smallest window the form allows there (the monitor's DPI sets it).
struct TMonitorRoom {
    fw::Bounds workArea;
    fw::Size minimum;
};

// What the decision needs to know of the screens.
class MonitorLookup {
public:
    virtual ~MonitorLookup() = default;
    // Nothing when no attached monitor meets `bounds`.
    virtual std::optional<TMonitorRoom> MonitorOf(const fw::Bounds& bounds) const = 0;
};

// Where to open the window from the kept text: nothing (it opens centred) when nothing usable is kept
// or the monitor it was on is gone. Else the kept place, grown to the minimum size where smaller,
// shrunk to the work area where larger (a monitor now smaller, or of a higher DPI), and moved to lie
// within it.
std::optional<TWindowPlacement> RestoredPlacement(std::u16string_view kept, const MonitorLookup& monitors);

}  // namespace corvalend
