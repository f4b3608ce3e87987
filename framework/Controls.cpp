// The control base: a child window of a system class, its text, bounds, visibility and scaling.
#include "framework/Controls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Application.h"
#include "framework/CommonControls.h"
#include "framework/Error.h"
#include "framework/Form.h"
#include "framework/SystemError.h"
#include "framework/WinText.h"

namespace fw {

namespace {

// Finds the control object of a window (GetWindowSubclass is not in every import library).
constexpr wchar_t kControlProperty[] = L"Corvalend.Control";

}  // namespace

// Control

Control::Control(Container& parent, const ControlInfo& info, const WindowClass& window)
    : parent_(&parent),
      id_(parent.RootForm().NextControlId()),
      design_(info.bounds),
      parentDesign_(parent.ClientSize96()),
      anchors_(info.anchors) {
    DWORD style = window.style | WS_CHILD | WS_CLIPSIBLINGS;
    if (info.visible) style |= WS_VISIBLE;
    if (!info.enabled) style |= WS_DISABLED;
    const Form& form = parent.RootForm();
    const Bounds pixels = PlaceAnchored(design_, anchors_, parentDesign_, parentDesign_, 96);
    CommonControls();  // the system's control classes, at the first control
    const HWND hwnd = CreateWindowExW(window.exStyle, window.className, AsWide(info.text), style, pixels.left,
                                      pixels.top, pixels.width, pixels.height, parent.ContainerHandle(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)), form.App().Instance(),
                                      /*param=*/nullptr);
    if (hwnd == nullptr) ThrowLastError();
    try {
        if (!SetPropW(hwnd, kControlProperty, this)) ThrowLastError();
        Subclass(hwnd, {.paintsItself = window.paintsItself});
    } catch (...) {
        RemovePropW(hwnd, kControlProperty);
        DestroyWindow(hwnd);
        throw;
    }
    parent.Attach(*this);
    // The form's font, before anything is drawn: nothing to draw again.
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(form.ControlFont().Handle(Dpi())), FALSE);
    // Placed for the real DPI and parent size (the window was made at 96 DPI sizes).
    Place();
}

Control::~Control() {
    if (parent_ != nullptr) {
        parent_->Detach(*this);
        parent_->RootForm().ControlDestroyed(*this);
    }
    if (Handle() != nullptr) {
        RemovePropW(Handle(), kControlProperty);
        DestroyOwnWindow();
    }
}

Control* Control::FromHandle(HWND window) {
    return window != nullptr ? static_cast<Control*>(GetPropW(window, kControlProperty)) : nullptr;
}

std::u16string Control::Text() const {
    const int length = GetWindowTextLengthW(Handle());
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(Handle(), reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void Control::SetText(const std::u16string& text) {
    if (!SetWindowTextW(Handle(), AsWide(text))) ThrowLastError();
}

void Control::SetBounds(const Bounds& bounds) {
    design_ = bounds;
    if (parent_ == nullptr) return;
    parentDesign_ = parent_->ClientSize96();
    parent_->LayoutControl(*this);
}

void Control::SetHeight(int height) {
    Bounds bounds = design_;
    bounds.height = height;
    SetBounds(bounds);
}

void Control::SetWidth(int width) {
    Bounds bounds = design_;
    bounds.width = width;
    SetBounds(bounds);
}

RECT Control::PixelBounds() const {
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(Handle()), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Control::Visible() const {
    return (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::SetVisible(bool visible) {
    if (visible == Visible()) return;
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
    if (parent_ != nullptr) parent_->LayoutControl(*this);
}

bool Control::Enabled() const {
    return IsWindowEnabled(Handle()) != FALSE;
}

void Control::SetEnabled(bool enabled) {
    EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

void Control::SetFocus() {
    ::SetFocus(Handle());
}

bool Control::Focused() const {
    const HWND focus = GetFocus();
    return focus != nullptr && (focus == Handle() || IsChild(Handle(), focus));
}

void Control::PlaceAfter(const Control* previous) {
    const HWND after = previous != nullptr ? previous->Handle() : nullptr;
    if (GetWindow(Handle(), GW_HWNDPREV) == after) return;  // there already
    SetWindowPos(Handle(), after != nullptr ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Control::SetFont(const Font& font) {
    font_ = font;
    ApplyFont();
}

COLORREF Control::TextColor() const {
    return font_ ? font_->Color() : GetSysColor(COLOR_WINDOWTEXT);
}

void Control::ApplyFont() {
    const UINT dpi = Dpi();
    const HFONT font = font_ ? font_->Handle(dpi) : OwnerForm().ControlFont().Handle(dpi);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

Form& Control::OwnerForm() const {
    if (parent_ == nullptr) throw Error(u"Control has no parent window");
    return parent_->RootForm();
}

UINT Control::Dpi() const {
    return OwnerForm().Dpi();
}

void Control::Place() {
    if (parent_ == nullptr || Handle() == nullptr) return;
    RECT client{};
    GetClientRect(parent_->ContainerHandle(), &client);
    const Bounds pixels =
        WindowBounds(PlaceAnchored(design_, anchors_, parentDesign_, {client.right, client.bottom}, Dpi()));
    // Most controls are where they belong already (just made, or a layout that moved others): the
    // system's positioning is dear even when nothing moves.
    const RECT now = PixelBounds(),
               wanted{pixels.left, pixels.top, pixels.left + pixels.width, pixels.top + pixels.height};
    if (EqualRect(&now, &wanted)) return;
    SetWindowPos(Handle(), nullptr, pixels.left, pixels.top, pixels.width, pixels.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

Window* Control::KeepAliveWindow() const {
    return parent_ != nullptr ? &parent_->RootForm() : nullptr;
}

void Control::OnDestroying() {
    // The parent went first: the window is gone, the object stays until its owner frees it.
    RemovePropW(Handle(), kControlProperty);
}

// Container

Container::~Container() {
    for (Control* control : controls_) control->Detach();
}

UINT Container::Dpi() const {
    return RootForm().Dpi();
}

Size Container::ClientSize96() const {
    RECT client{};
    GetClientRect(ContainerHandle(), &client);
    const UINT dpi = Dpi();
    return {UnscaleForDpi(client.right, dpi), UnscaleForDpi(client.bottom, dpi)};
}

void Container::SetColor(ColorSpec color) {
    color_ = color;
    brush_.reset();
    if (!IsSystemColorSpec(color)) brush_.emplace(static_cast<COLORREF>(color));
    InvalidateRect(ContainerHandle(), nullptr, TRUE);
}

void Container::ClearColor() {
    color_.reset();
    brush_.reset();
    InvalidateRect(ContainerHandle(), nullptr, TRUE);
}

COLORREF Container::Color() const {
    if (color_) return RoleColor(ColorRole::Background, *color_);
    const Container* parent = ParentContainer();
    return parent != nullptr ? parent->Color() : GetSysColor(COLOR_BTNFACE);
}

HBRUSH Container::BackgroundBrush() const {
    if (color_) {
        const ColorSpec shown = ChooseColor(ColorRole::Background, *color_, HighContrastOn());
        return IsSystemColorSpec(shown) ? GetSysColorBrush(SystemColorIndex(shown)) : brush_->Handle();
    }
    const Container* parent = ParentContainer();
    return parent != nullptr ? parent->BackgroundBrush() : GetSysColorBrush(COLOR_BTNFACE);
}

void Container::Realign() {
    LayoutControls();
    for (Control* control : controls_) {
        if (auto* container = dynamic_cast<Container*>(control)) container->Realign();
    }
}

void Container::LayoutControls() {
    for (Control* control : controls_) control->Place();
}

void Container::LayoutControl(Control& control) {
    control.Place();
}

void Container::RescaleControls() {
    for (Control* control : controls_) {
        control->ApplyFont();
        if (auto* container = dynamic_cast<Container*>(control)) container->RescaleControls();
    }
}

void Container::Detach(Control& control) {
    std::erase(controls_, &control);
    ControlRemoved();
}

bool Container::HandleContainerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_COMMAND:
            if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
                control->OnCommand(HIWORD(wParam));
                result = 0;
                return true;
            }
            return false;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (Control* control = Control::FromHandle(header->hwndFrom)) {
                result = control->OnNotify(*header);
                return true;
            }
            return false;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            const Control* control = Control::FromHandle(reinterpret_cast<HWND>(lParam));
            if (control == nullptr || !control->UsesParentColor()) return false;
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetBkColor(dc, Color());
            SetTextColor(dc, control->TextColor());
            result = reinterpret_cast<LRESULT>(BackgroundBrush());
            return true;
        }
        case WM_ERASEBKGND: {
            if (!ErasesBackground()) return false;
            RECT client{};
            GetClientRect(ContainerHandle(), &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, BackgroundBrush());
            result = 1;
            return true;
        }
        case WM_SIZE:
            LayoutControls();
            return false;
        default:
            return false;
    }
}

// ScopedNoRedraw

ScopedNoRedraw::ScopedNoRedraw(HWND window) : window_(window) {
    SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
}

ScopedNoRedraw::~ScopedNoRedraw() {
    SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(window_, /*rect=*/nullptr, /*region=*/nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace fw
