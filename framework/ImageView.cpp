// The picture view: the picture painted with its blended overlay, the mouse passed to its controls.
#include "framework/ImageView.h"

#include <algorithm>

#include "framework/PictureOps.h"
#include "framework/Win32Geometry.h"

namespace fw {

namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;

}  // namespace

ImageView::ImageView(Application& app, HWND parent) : GraphicHostWindow(app) {
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
    if (message == WM_SIZE && OnResize) OnResize();
    return GraphicHostWindow::OnMessage(message, wParam, lParam);
}

void ImageView::PaintContent(HDC dc, const RECT& area) {
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
}

void ImageView::OwnMouse(const MouseEvent& event) {
    lastX_ = event.x;
    lastY_ = event.y;
    switch (event.kind) {
        case MouseEvent::Move:
            if (OnMouseMove) OnMouseMove(event.shift, event.x, event.y);
            break;
        case MouseEvent::Press:
            if (!ownDrag_) {
                ownDrag_ = true;
                ownButton_ = event.button;
                // Moves over the selection stay ours while we draw, and the release arrives anywhere.
                SetCapture(Handle());
            }
            if (OnMouseDown) OnMouseDown(event.button, event.shift, event.x, event.y);
            break;
        case MouseEvent::Release:
            if (!event.buttonsHeld && ownDrag_) {
                ownDrag_ = false;
                if (GetCapture() == Handle()) ReleaseCapture();
            }
            if (OnMouseUp) OnMouseUp(event.button, event.shift, event.x, event.y);
            break;
    }
}

void ImageView::CaptureLost() {
    if (!ownDrag_) return;
    // Someone else took the mouse: our drag ends where the mouse was last seen.
    ownDrag_ = false;
    if (OnMouseUp) OnMouseUp(ownButton_, ShiftState(), lastX_, lastY_);
}

}  // namespace fw
