// The screen side of the capture actions: the primary screen's metrics and the foreground window
// from the system, and the picture a capture takes.
#pragma once

#include "capture/CaptureRules.h"
#include "framework/Picture.h"

namespace corvalend {

class Win32CaptureGeometry final : public CaptureGeometry {
public:
    ScreenMetrics Screen() override;
    std::optional<fw::Rect> ForegroundWindowRect() override;
};

// The picture a capture of the foreground window (activeOnly) or of the whole primary screen
// shows: the pixels of the chosen rectangle, as visible on the screen now.
fw::Picture TakeCapture(bool activeOnly);

}  // namespace corvalend
