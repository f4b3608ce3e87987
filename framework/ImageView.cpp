// The picture view: the picture painted with its blended overlay, the mouse passed to its controls.
#include "framework/ImageView.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/PictureOps.h"
#include "framework/Win32Geometry.h"

namespace fw {

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2;

}  // namespace

ImageView::ImageView(Application& app, HWND parent) : Window(app) {
    Create(
        {.name = L"Corvalend.ImageView", .style = CS_DBLCLKS, .cursor = LoadCursorW(nullptr, IDC_CROSS)},
        {.title = u"", .style = WS_CHILD | WS_CLIPSIBLINGS, .x = 0, .y = 0, .width = 0, .height = 0, .parent = parent});
}

void ImageView::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    SetWindowPos(Handle(), /*after=*/nullptr, 0, 0, picture_.width, picture_.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(Handle(), /*rect=*/nullptr, FALSE);
}

void ImageView::AddOverlay(Picture layer) {
    overlay_ = std::move(layer);
    InvalidateRect(Handle(), /*rect=*/nullptr, FALSE);
}

void ImageView::DeleteOverlay() {
    if (!overlay_) return;
    overlay_.reset();
    InvalidateRect(Handle(), /*rect=*/nullptr, FALSE);
}

LRESULT ImageView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
        case WM_SIZE:
            if (OnResize) OnResize();
            break;
        case WM_SETCURSOR:
            if (host_.HandleSetCursor(wParam, lParam)) return TRUE;
            break;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MBUTTONDBLCLK:
            if (!host_.HandleMouse(message, wParam, lParam)) OwnMouse(message, wParam, lParam);
            return 0;
        case WM_MOUSELEAVE:
            host_.HandleMouse(message, wParam, lParam);
            break;
        case WM_CAPTURECHANGED:
            host_.HandleMouse(message, wParam, lParam);
            if (ownDrag_ && reinterpret_cast<HWND>(lParam) != Handle()) {
                // Someone else took the mouse: our drag ends where the mouse was last seen.
                ownDrag_ = false;
                if (OnMouseUp) OnMouseUp(ownButton_, ShiftState(), lastX_, lastY_);
            }
            break;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void ImageView::OnPaint(HDC dc, const RECT& area) {
    Rect region = FromRECT(area);
    region.left = std::max(region.left, 0);
    region.top = std::max(region.top, 0);
    if (!region.IsEmpty()) {
        const int width = region.Width();
        const int height = region.Height();
        scratch_.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        ComposeOverlay(picture_, Overlay(), region, scratch_.data(), static_cast<size_t>(width), kBlack);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down rows, as composed
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        // One to one: never stretched, so never smoothed.
        SetDIBitsToDevice(dc, region.left, region.top, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                          static_cast<UINT>(height), scratch_.data(), &info, DIB_RGB_COLORS);
    }
    if (OnPaintOver) OnPaintOver(dc);
    host_.PaintControls(dc);
}

void ImageView::OwnMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const ShiftState shift = ShiftFromKeys(wParam);
    lastX_ = x;
    lastY_ = y;
    auto press = [&](MouseButton button, ShiftState state) {
        if (!ownDrag_) {
            ownDrag_ = true;
            ownButton_ = button;
            // Moves over the selection stay ours while we draw, and the release arrives anywhere.
            SetCapture(Handle());
        }
        if (OnMouseDown) OnMouseDown(button, state, x, y);
    };
    auto release = [&](MouseButton button) {
        if ((wParam & kAnyButton) == 0 && ownDrag_) {
            ownDrag_ = false;
            if (GetCapture() == Handle()) ReleaseCapture();
        }
        if (OnMouseUp) OnMouseUp(button, shift, x, y);
    };
    switch (message) {
        case WM_MOUSEMOVE:
            if (OnMouseMove) OnMouseMove(shift, x, y);
            break;
        case WM_LBUTTONDOWN:
            press(MouseButton::Left, shift);
            break;
        case WM_RBUTTONDOWN:
            press(MouseButton::Right, shift);
            break;
        case WM_MBUTTONDOWN:
            press(MouseButton::Middle, shift);
            break;
        case WM_LBUTTONDBLCLK:
            press(MouseButton::Left, shift.flags | ShiftState::Double);
            break;
        case WM_RBUTTONDBLCLK:
            press(MouseButton::Right, shift.flags | ShiftState::Double);
            break;
        case WM_MBUTTONDBLCLK:
            press(MouseButton::Middle, shift.flags | ShiftState::Double);
            break;
        case WM_LBUTTONUP:
            release(MouseButton::Left);
            break;
        case WM_RBUTTONUP:
            release(MouseButton::Right);
            break;
        case WM_MBUTTONUP:
            release(MouseButton::Middle);
            break;
        default:
            break;
    }
}

}  // namespace fw
