// Windowless controls: painted in the parent's device context, given the mouse where they lie.
#include "framework/GraphicControl.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "framework/GdiObjects.h"
#include "framework/Win32Geometry.h"
#include "framework/Window.h"

namespace fw {

namespace {

// The system's cursors for the toolkit's cursor ids; the other ids have none.
const struct {
    CursorId id;
    const wchar_t* name;
} kSystemCursors[] = {
    {crArrow, IDC_ARROW},          {crCross, IDC_CROSS},
    {crIBeam, IDC_IBEAM},          {crSizeNESW, IDC_SIZENESW},
    {crSizeNS, IDC_SIZENS},        {crSizeNWSE, IDC_SIZENWSE},
    {crSizeWE, IDC_SIZEWE},        {crUpArrow, IDC_UPARROW},
    {crHourGlass, IDC_WAIT},       {crNo, IDC_NO},
    {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
    {crHandPoint, IDC_HAND},       {crSizeAll, IDC_SIZEALL},
};

// What each mouse message of the client area is.
constexpr struct {
    UINT message;
    MouseEvent::Kind kind;
    MouseButton button;
    bool second;  // the second press of a double click
} kMouseMessages[] = {
    {WM_MOUSEMOVE, MouseEvent::Move, MouseButton::Left, false},
    {WM_LBUTTONDOWN, MouseEvent::Press, MouseButton::Left, false},
    {WM_LBUTTONDBLCLK, MouseEvent::Press, MouseButton::Left, true},
    {WM_LBUTTONUP, MouseEvent::Release, MouseButton::Left, false},
    {WM_RBUTTONDOWN, MouseEvent::Press, MouseButton::Right, false},
    {WM_RBUTTONDBLCLK, MouseEvent::Press, MouseButton::Right, true},
    {WM_RBUTTONUP, MouseEvent::Release, MouseButton::Right, false},
    {WM_MBUTTONDOWN, MouseEvent::Press, MouseButton::Middle, false},
    {WM_MBUTTONDBLCLK, MouseEvent::Press, MouseButton::Middle, true},
    {WM_MBUTTONUP, MouseEvent::Release, MouseButton::Middle, false},
};

constexpr WPARAM kAnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2;

// The keys and buttons held, from the key flags of a mouse message (ALT from the keyboard state).
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

ShiftState CurrentShift() {
    WPARAM keys = 0;
    if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
    if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
    if (GetKeyState(VK_LBUTTON) < 0) keys |= MK_LBUTTON;
    if (GetKeyState(VK_RBUTTON) < 0) keys |= MK_RBUTTON;
    if (GetKeyState(VK_MBUTTON) < 0) keys |= MK_MBUTTON;
    return ShiftFromKeys(keys);
}

}  // namespace

std::optional<MouseEvent> ReadMouseMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    for (const auto& entry : kMouseMessages) {
        if (entry.message != message) continue;
        ShiftState shift = ShiftFromKeys(wParam);
        if (entry.second) shift.flags |= ShiftState::Double;
        return MouseEvent{.message = message,
                          .kind = entry.kind,
                          .button = entry.button,
                          .shift = shift,
                          .buttonsHeld = (wParam & kAnyButton) != 0,
                          .x = GET_X_LPARAM(lParam),
                          .y = GET_Y_LPARAM(lParam)};
    }
    return std::nullopt;
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

void GraphicControl::SetCursorId(CursorId id) {
    const auto* found = std::find_if(std::begin(kSystemCursors), std::end(kSystemCursors),
                                     [id](const auto& cursor) { return cursor.id == id; });
    // Shared system cursors: never destroyed.
    SetCursor(found != std::end(kSystemCursors) ? LoadCursorW(nullptr, found->name) : nullptr);
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

bool GraphicHost::Route(const MouseEvent& event) {
    switch (event.kind) {
        case MouseEvent::Move:
            return Move(event.shift, event.x, event.y);
        case MouseEvent::Press:
            return Press(event.button, event.shift, event.x, event.y);
        case MouseEvent::Release:
            return Release(event.button, event.shift, event.buttonsHeld, event.x, event.y);
    }
    return false;
}

void GraphicHost::PointerLeft() {
    if (capture_ == nullptr && !ParentDrags()) SetHover(nullptr);
}

void GraphicHost::CaptureChanged(HWND owner) {
    if (capture_ != nullptr && owner != Handle()) CaptureLost();
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

bool GraphicHost::Release(MouseButton button, ShiftState shift, bool buttonsHeld, int x, int y) {
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
    const bool last = !buttonsHeld;
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
