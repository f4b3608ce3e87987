// The screen side of the capture actions: the monitors, the mouse pointer and the foreground window
// from the system, and the picture a capture takes.
#pragma once

#include "capture/CaptureRules.h"
#include "framework/Picture.h"

namespace corvalend {

class Win32CaptureGeometry final : public CaptureGeometry {
public:
    std::vector<ScreenMonitor> Monitors() override;
    std::optional<fw::Point> CursorPos() override;
    std::optional<ForegroundWindow> ForegroundWindowRect() override;
};

// A capture of the foreground window (activeOnly) or of the monitor that holds the mouse pointer:
// the pixels of the chosen rectangle as visible on the screen now, and where its preview goes.
struct TakenCapture {
    fw::Picture picture;
    fw::Rect previewWorkArea;
};
TakenCapture TakeCapture(bool activeOnly);

}  // namespace corvalend
