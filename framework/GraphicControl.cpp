// Windowless controls: painted in the parent's device context, given the mouse where they lie.
#include "framework/GraphicControl.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/GdiObjects.h"
#include "framework/Win32Geometry.h"
#include "framework/Window.h"

namespace fw {

HCURSOR CursorFromId(CursorId id) {
    const wchar_t* name = nullptr;
    switch (id) {
        case crArrow:
            name = IDC_ARROW;
            break;
        case crCross:
            name = IDC_CROSS;
            break;
        case crIBeam:
            name = IDC_IBEAM;
            break;
        case crSizeNESW:
            name = IDC_SIZENESW;
            break;
        case crSizeNS:
            name = IDC_SIZENS;
            break;
        case crSizeNWSE:
            name = IDC_SIZENWSE;
            break;
        case crSizeWE:
            name = IDC_SIZEWE;
            break;
        case crUpArrow:
            name = IDC_UPARROW;
            break;
        case crHourGlass:
            name = IDC_WAIT;
            break;
        case crNo:
            name = IDC_NO;
            break;
        case crAppStart:
            name = IDC_APPSTARTING;
            break;
        case crHelp:
            name = IDC_HELP;
            break;
        case crHandPoint:
            name = IDC_HAND;
            break;
        case crSizeAll:
            name = IDC_SIZEALL;
            break;
        default:
            return nullptr;
    }
    // Shared system cursors: never destroyed.
    return LoadCursorW(nullptr, name);
}

// ---- GraphicControl ----

GraphicControl::GraphicControl(GraphicHost& host) : host_(&host) {
    host.Add(*this);
}

GraphicControl::~GraphicControl() {
    if (host_ != nullptr) host_->Remove(*this);
}

void GraphicControl::SetBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Invalidate();
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Invalidate();
    Resize();
}

void GraphicControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    if (visible) {
        visible_ = true;
        Invalidate();
    } else {
        Invalidate();
        visible_ = false;
        if (host_ != nullptr) host_->Hidden(*this);
    }
}

void GraphicControl::SetCursor(HCURSOR cursor) {
    cursor_ = cursor;
    if (host_ == nullptr || cursor == nullptr) return;
    const GraphicControl* owner = host_->capture_ != nullptr ? host_->capture_ : host_->hover_;
    if (owner == this) ::SetCursor(cursor);
}

void GraphicControl::Invalidate() {
    if (host_ != nullptr && visible_) host_->InvalidateArea(BoundsRect());
}

void GraphicControl::BringToFront() {
    if (host_ != nullptr) host_->BringToFront(*this);
}

HWND GraphicControl::ParentHandle() const {
    return host_ != nullptr ? host_->Handle() : nullptr;
}

UINT GraphicControl::Dpi() const {
    const HWND parent = ParentHandle();
    const UINT dpi = parent != nullptr ? GetDpiForWindow(parent) : 0;
    return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

bool GraphicControl::Covers(int x, int y) const {
    return visible_ && x >= left_ && y >= top_ && x - left_ < width_ && y - top_ < height_;
}

// ---- ControlDC ----

namespace {

HDC DrawableParentDC(const GraphicControl& control) {
    const HWND parent = control.ParentHandle();
    return control.Visible() && parent != nullptr ? GetDC(parent) : nullptr;
}

}  // namespace

ControlDC::ControlDC(const GraphicControl& control) : dc_(control.ParentHandle(), DrawableParentDC(control)) {
    if (!dc_) return;
    SetViewportOrgEx(dc_.get(), control.Left(), control.Top(), nullptr);
    IntersectClipRect(dc_.get(), 0, 0, std::max(control.Width(), 0), std::max(control.Height(), 0));
}

// ---- GraphicHost ----

GraphicHost::~GraphicHost() {
    if (capture_ != nullptr && GetCapture() == Handle() && Handle() != nullptr) {
        capture_ = nullptr;
        ReleaseCapture();
    }
    for (GraphicControl* control : controls_) control->host_ = nullptr;
}

HWND GraphicHost::Handle() const {
    return parent_.Handle();
}

void GraphicHost::PaintControls(HDC dc) {
    // A copy: a control may change the list while it paints (it should not, but must not crash us).
    const std::vector<GraphicControl*> controls = controls_;
    for (GraphicControl* control : controls) {
        if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) continue;
        if (!control->visible_ || control->width_ <= 0 || control->height_ <= 0) continue;
        const RECT bounds{control->left_, control->top_, control->left_ + control->width_,
                          control->top_ + control->height_};
        if (!RectVisible(dc, &bounds)) continue;
        SavedDC saved(dc);
        OffsetViewportOrgEx(dc, control->left_, control->top_, nullptr);
        IntersectClipRect(dc, 0, 0, control->width_, control->height_);
        control->Paint(dc);
    }
}

GraphicControl* GraphicHost::ControlAt(int x, int y) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        if ((*it)->Covers(x, y)) return *it;
    }
    return nullptr;
}

ShiftState ShiftFromKeys(WPARAM keys) {
    uint8_t flags = 0;
    if (keys & MK_SHIFT) flags |= ShiftState::Shift;
    if (keys & MK_CONTROL) flags |= ShiftState::Ctrl;
    if (keys & MK_LBUTTON) flags |= ShiftState::Left;
    if (keys & MK_RBUTTON) flags |= ShiftState::Right;
    if (keys & MK_MBUTTON) flags |= ShiftState::Middle;
    if (GetKeyState(VK_MENU) < 0) flags |= ShiftState::Alt;
    return ShiftState(flags);
}

namespace {

ShiftState CurrentShift() {
    WPARAM keys = 0;
    if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
    if (GetKeyState(VK_LBUTTON) < 0) keys |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0) keys |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0) keys |= MK_MBUTTON;
    return ShiftFromKeys(keys);
}

constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2;

}  // namespace

bool GraphicHost::HandleMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_MOUSEMOVE:
            return Move(ShiftFromKeys(wParam), x, y);
        case WM_LBUTTONDOWN:
            return Press(MouseButton::Left, ShiftFromKeys(wParam), x, y);
        case WM_RBUTTONDOWN:
            return Press(MouseButton::Right, ShiftFromKeys(wParam), x, y);
        case WM_MBUTTONDOWN:
            return Press(MouseButton::Middle, ShiftFromKeys(wParam), x, y);
        case WM_LBUTTONDBLCLK:
            return Press(MouseButton::Left, ShiftFromKeys(wParam).flags | ShiftState::Double, x, y);
        case WM_RBUTTONDBLCLK:
            return Press(MouseButton::Right, ShiftFromKeys(wParam).flags | ShiftState::Double, x, y);
        case WM_MBUTTONDBLCLK:
            return Press(MouseButton::Middle, ShiftFromKeys(wParam).flags | ShiftState::Double, x, y);
        case WM_LBUTTONUP:
            return Release(MouseButton::Left, ShiftFromKeys(wParam), wParam, x, y);
        case WM_RBUTTONUP:
            return Release(MouseButton::Right, ShiftFromKeys(wParam), wParam, x, y);
        case WM_MBUTTONUP:
            return Release(MouseButton::Middle, ShiftFromKeys(wParam), wParam, x, y);
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            if (capture_ == nullptr && !ParentDrags()) SetHover(nullptr);
            return false;  // the parent may track the mouse for itself too
        case WM_CAPTURECHANGED:
            if (capture_ != nullptr && reinterpret_cast<HWND>(lParam) != Handle()) CaptureLost();
            return false;
        default:
            return false;
    }
}

bool GraphicHost::HandleSetCursor(WPARAM wParam, LPARAM lParam) {
    if (reinterpret_cast<HWND>(wParam) != Handle() || LOWORD(lParam) != HTCLIENT) return false;
    const GraphicControl* control = capture_;
    if (control == nullptr && !ParentDrags()) {
        POINT point{};
        GetCursorPos(&point);
        ScreenToClient(Handle(), &point);
        control = ControlAt(point.x, point.y);
    }
    if (control == nullptr || control->cursor_ == nullptr) return false;
    ::SetCursor(control->cursor_);
    return true;
}

bool GraphicHost::ParentDrags() const {
    return capture_ == nullptr && Handle() != nullptr && GetCapture() == Handle();
}

bool GraphicHost::Press(MouseButton button, ShiftState shift, int x, int y) {
    lastX_ = x;
    lastY_ = y;
    GraphicControl* target = capture_;
    if (target == nullptr) {
        if (ParentDrags()) return false;
        target = ControlAt(x, y);
        if (target == nullptr) return false;
        SetHover(target);
        if (hover_ != target) return true;  // the control went away while entering
        capture_ = target;
        captureButton_ = button;
        SetCapture(Handle());
    }
    target->MouseDown(button, shift, x - target->left_, y - target->top_);
    return true;
}

bool GraphicHost::Move(ShiftState shift, int x, int y) {
    lastX_ = x;
    lastY_ = y;
    if (capture_ != nullptr) {
        capture_->MouseMove(shift, x - capture_->left_, y - capture_->top_);
        return true;
    }
    if (ParentDrags()) return false;
    SetHover(ControlAt(x, y));
    GraphicControl* target = hover_;
    if (target == nullptr) return false;
    target->MouseMove(shift, x - target->left_, y - target->top_);
    return true;
}

bool GraphicHost::Release(MouseButton button, ShiftState shift, WPARAM heldButtons, int x, int y) {
    lastX_ = x;
    lastY_ = y;
    GraphicControl* target = capture_;
    if (target == nullptr) {
        if (ParentDrags()) return false;
        target = ControlAt(x, y);
        if (target == nullptr) return false;
        target->MouseUp(button, shift, x - target->left_, y - target->top_);
        return true;
    }
    const bool last = (heldButtons & kAnyButton) == 0;
    if (last) {
        // Let go before the control hears of the release, so what it does then (a message box,
        // a drag of the parent's own) starts from a free mouse.
        capture_ = nullptr;
        if (GetCapture() == Handle()) ReleaseCapture();
    }
    target->MouseUp(button, shift, x - target->left_, y - target->top_);
    if (last && capture_ == nullptr) HoverAt(x, y);
    return true;
}

void GraphicHost::CaptureLost() {
    GraphicControl* target = capture_;
    capture_ = nullptr;
    target->MouseUp(captureButton_, CurrentShift(), lastX_ - target->left_, lastY_ - target->top_);
    if (capture_ == nullptr) HoverAt(lastX_, lastY_);
}

void GraphicHost::HoverAt(int x, int y) {
    RECT client{};
    GetClientRect(Handle(), &client);
    const POINT point{x, y};
    SetHover(PtInRect(&client, point) ? ControlAt(x, y) : nullptr);
}

void GraphicHost::SetHover(GraphicControl* control) {
    if (control == hover_) return;
    GraphicControl* old = hover_;
    hover_ = control;
    if (old != nullptr) old->MouseLeave();
    // The leave handler may have removed or hidden the new control.
    if (control != nullptr && hover_ == control) control->MouseEnter();
    if (hover_ != nullptr && !trackingLeave_ && Handle() != nullptr) {
        TRACKMOUSEEVENT track{.cbSize = sizeof(track), .dwFlags = TME_LEAVE, .hwndTrack = Handle(), .dwHoverTime = 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
    }
}

void GraphicHost::Remove(GraphicControl& control) {
    control.Invalidate();
    std::erase(controls_, &control);
    if (hover_ == &control) hover_ = nullptr;
    if (capture_ == &control) {
        capture_ = nullptr;
        if (Handle() != nullptr && GetCapture() == Handle()) ReleaseCapture();
    }
}

void GraphicHost::Hidden(GraphicControl& control) {
    // A control that holds the mouse keeps it until the release, so it always hears of the release.
    if (hover_ == &control && capture_ == nullptr) SetHover(nullptr);
}

void GraphicHost::BringToFront(GraphicControl& control) {
    std::erase(controls_, &control);
    controls_.push_back(&control);
    control.Invalidate();
}

void GraphicHost::InvalidateArea(const Rect& rect) const {
    const HWND hwnd = Handle();
    if (hwnd == nullptr || rect.IsEmpty()) return;
    const RECT area = ToRECT(rect);
    InvalidateRect(hwnd, &area, TRUE);
}

}  // namespace fw
