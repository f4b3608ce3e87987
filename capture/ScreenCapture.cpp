#include "capture/ScreenCapture.h"

#include <windows.h>

#include "framework/Bitmap.h"

namespace {

fw::PixelRect FromRECT(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

ScreenMetrics Win32CaptureGeometry::Screen() {
    ScreenMetrics screen;
    screen.width = GetSystemMetrics(SM_CXSCREEN);
    screen.height = GetSystemMetrics(SM_CYSCREEN);
    RECT work{};
    // Without a work area every side counts as within it.
    screen.workArea = SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)
                          ? FromRECT(work)
                          : fw::PixelRect{0, 0, screen.width, screen.height};
    return screen;
}

std::optional<fw::PixelRect> Win32CaptureGeometry::ForegroundWindowRect() {
    RECT r{};
    // No foreground window, or one that has gone: the capture takes the whole screen, silently.
    if (!GetWindowRect(GetForegroundWindow(), &r)) return std::nullopt;
    return FromRECT(r);
}

fw::Picture TakeCapture(bool activeOnly) {
    Win32CaptureGeometry geometry;
    return fw::GrabScreen(ChooseCaptureRect(geometry, activeOnly));
}
