// The capture's system side: the monitors, the pointer, the foreground window, the screen grab.
#include "capture/ScreenCapture.h"

#include <windows.h>

#include "framework/Bitmap.h"
#include "framework/Win32Geometry.h"

namespace corvalend {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC /*dc*/, LPRECT /*clip*/, LPARAM param) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoW(handle, &info)) {
        reinterpret_cast<std::vector<ScreenMonitor>*>(param)->push_back(
            {fw::FromRECT(info.rcMonitor), fw::FromRECT(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    }
    return TRUE;
}

}  // namespace

std::vector<ScreenMonitor> Win32CaptureGeometry::Monitors() {
    std::vector<ScreenMonitor> monitors;
    EnumDisplayMonitors(/*dc=*/nullptr, /*clip=*/nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (!monitors.empty()) return monitors;
    // Without a list, the primary screen as the system's metrics give it.
    const fw::Rect whole{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT work{};
    // Without a work area every side counts as within it.
    monitors.push_back({whole, SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0) ? fw::FromRECT(work) : whole, true});
    return monitors;
}

std::optional<fw::Point> Win32CaptureGeometry::CursorPos() {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return std::nullopt;
    return fw::FromPOINT(cursor);
}

std::optional<ForegroundWindow> Win32CaptureGeometry::ForegroundWindowRect() {
    const HWND window = GetForegroundWindow();
    RECT rect{};
    // No foreground window, or one that has gone: the capture takes the whole screen, silently.
    if (!GetWindowRect(window, &rect)) return std::nullopt;
    return ForegroundWindow{fw::FromRECT(rect), IsZoomed(window) != FALSE};
}

TakenCapture TakeCapture(bool activeOnly) {
    Win32CaptureGeometry geometry;
    const CaptureChoice choice = ChooseCapture(geometry, activeOnly);
    return {fw::GrabScreen(choice.source), choice.previewWorkArea};
}

}  // namespace corvalend
