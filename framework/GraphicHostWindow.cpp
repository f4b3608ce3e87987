// The window that hosts graphic controls: their painting and the routing of the mouse to them.
#include "framework/GraphicHostWindow.h"

namespace fw {

GraphicHostWindow::GraphicHostWindow(Application& app) : Window(app) {
    // The host hears when the pointer leaves the window.
    WatchMouseEnterLeave();
}

LRESULT GraphicHostWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<MouseEvent> event = ReadMouseMessage(message, wParam, lParam)) {
        // A move tells the window first that the pointer is on it (DefaultProc), then the controls.
        const LRESULT result = event->kind == MouseEvent::Move ? DefaultProc(message, wParam, lParam) : 0;
        if (!host_.Route(*event)) OwnMouse(*event);
        return result;
    }
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the content covers every pixel
        case WM_SETCURSOR:
            if (host_.HandleSetCursor(wParam, lParam)) return TRUE;
            break;
        case WM_CAPTURECHANGED: {
            const auto owner = reinterpret_cast<HWND>(lParam);
            host_.CaptureChanged(owner);
            if (owner != Handle()) CaptureLost();
            break;
        }
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void GraphicHostWindow::OnPaint(HDC dc, const RECT& area) {
    PaintContent(dc, area);
    host_.PaintControls(dc);
}

void GraphicHostWindow::MouseLeave() {
    host_.PointerLeft();
}

}  // namespace fw
