// The capture's system side: screen metrics, the foreground window's rectangle, the screen grab.
#include "capture/ScreenCapture.h"

#include <windows.h>

#include "framework/Bitmap.h"
#include "framework/Win32Geometry.h"

namespace corvalend {

ScreenMetrics Win32CaptureGeometry::Screen() {
    ScreenMetrics screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    RECT work{};
    // Without a work area every side counts as within it.
    screen.workArea = SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) ? fw::FromRECT(work)
                                                                          : fw::Rect{0, 0, screen.width, screen.height};
    return screen;
}

std::optional<fw::Rect> Win32CaptureGeometry::ForegroundWindowRect() {
    RECT r{};
    // No foreground window, or one that has gone: the capture takes the whole screen, silently.
    if (!GetWindowRect(GetForegroundWindow(), &r)) return std::nullopt;
    return fw::FromRECT(r);
}

fw::Picture TakeCapture(bool activeOnly) {
    Win32CaptureGeometry geometry;
    return fw::GrabScreen(ChooseCaptureRect(geometry, activeOnly));
}

}  // namespace corvalend
