// Panels, frames, pages and their page control: child windows that hold other controls.
#include "framework/ControlsContainers.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "framework/Application.h"
#include "framework/DialogChar.h"
#include "framework/Form.h"
#include "framework/Mnemonics.h"
#include "framework/TabOrder.h"
#include "framework/WinText.h"

namespace fw {

namespace {

constexpr wchar_t kPanelClass[] = L"Corvalend.Panel";

// Our plain container class: the window procedure is the default one, everything else comes
// through the control's subclass.
const wchar_t* PanelClass(HINSTANCE instance) {
    RegisterWindowClass(instance, {.name = kPanelClass, .style = CS_DBLCLKS}, DefWindowProcW);
    return kPanelClass;
}

DWORD BorderStyle(PanelBorder border) {
    return border == PanelBorder::Single ? WS_BORDER : 0;
}

DWORD BorderExStyle(PanelBorder border) {
    return border == PanelBorder::Lowered ? WS_EX_STATICEDGE : 0;
}

}  // namespace

// Panel

Panel::Panel(Container& parent, const ControlInfo& info, const PanelOptions& options)
    : Panel(parent, info, options, {}) {}

Panel::Panel(Container& parent, const ControlInfo& info, const PanelOptions& options, const Extra& extra)
    : Control(
          parent,
          info,
          {PanelClass(parent.RootForm().App().Instance()), WS_CLIPCHILDREN | BorderStyle(options.border) | extra.style,
           WS_EX_CONTROLPARENT | BorderExStyle(options.border) | extra.exStyle}) {
    if (options.color) SetColor(*options.color);
}

LRESULT Panel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleContainerMessage(message, wParam, lParam, result)) return result;
    // A child never closes itself (a multi-line text field may ask its parent to on Esc).
    if (message == WM_CLOSE) return 0;
    return DefaultProc(message, wParam, lParam);
}

// TabSheet

TabSheet::TabSheet(PageControl& pages, const std::u16string& caption)
    : Panel(pages, {.text = caption, .bounds = pages.PageBounds96(), .anchors = kAnchorAll, .visible = false}),
      pages_(pages) {
    pages.AddPage(*this);
}

TabSheet::~TabSheet() {
    if (Parent() != nullptr) pages_.RemovePage(*this);
}

// PageControl

PageControl::PageControl(Container& parent, const ControlInfo& info, bool showTabs)
    : Control(parent,
              info,
              {showTabs ? WC_TABCONTROLW : PanelClass(parent.RootForm().App().Instance()),
               static_cast<DWORD>(WS_CLIPCHILDREN | (showTabs ? WS_TABSTOP : 0)), WS_EX_CONTROLPARENT}),
      showTabs_(showTabs),
      accessibleName_(Handle(),
                      [this] { return ActivePage() != nullptr ? WithoutMnemonic(ActivePage()->Text()) : u""; }) {}

RECT PageControl::DisplayRect() const {
    RECT rect{};
    GetClientRect(Handle(), &rect);
    if (showTabs_) TabCtrl_AdjustRect(Handle(), FALSE, &rect);
    return rect;
}

Bounds PageControl::PageBounds96() const {
    const RECT rect = DisplayRect();
    const UINT dpi = Container::Dpi();
    return {UnscaleForDpi(rect.left, dpi), UnscaleForDpi(rect.top, dpi), UnscaleForDpi(rect.right - rect.left, dpi),
            UnscaleForDpi(rect.bottom - rect.top, dpi)};
}

void PageControl::AddPage(TabSheet& page) {
    pages_.push_back(&page);
    if (showTabs_) {
        std::u16string caption = page.Text();
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<wchar_t*>(caption.data());
        TabCtrl_InsertItem(Handle(), static_cast<int>(pages_.size()) - 1, &item);
    }
    LayoutControls();  // the first tab takes room from the display area
    if (active_ < 0) SetActivePageIndex(0);
}

void PageControl::RemovePage(TabSheet& page) {
    const auto found = std::find(pages_.begin(), pages_.end(), &page);
    if (found == pages_.end()) return;
    const int index = static_cast<int>(found - pages_.begin());
    pages_.erase(found);
    if (showTabs_ && Handle() != nullptr) TabCtrl_DeleteItem(Handle(), index);
    if (index < active_) {
        --active_;
    } else if (index == active_) {
        active_ = -1;
        if (!pages_.empty()) SetActivePageIndex(std::min(index, PageCount() - 1));
    }
}

void PageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount()) return;
    // The focus on the page that goes would stay on a hidden control, which still takes the keys:
    // it goes to the new page's first control, as the keyboard would take it there.
    const HWND focus = GetFocus();
    const bool focusLeaves = focus != nullptr && index != active_ && active_ >= 0 && active_ < PageCount() &&
                             IsChild(pages_[static_cast<size_t>(active_)]->Handle(), focus);
    active_ = index;
    const HWND page = pages_[static_cast<size_t>(index)]->Handle();
    ShowWindow(page, SW_SHOWNA);
    for (int i = 0; i < PageCount(); ++i) {
        if (i != index) ShowWindow(pages_[static_cast<size_t>(i)]->Handle(), SW_HIDE);
    }
    if (showTabs_ && TabCtrl_GetCurSel(Handle()) != index) TabCtrl_SetCurSel(Handle(), index);
    if (focusLeaves) {
        if (const HWND first = FirstTabStop(page, /*last=*/false); first != nullptr) {
            FocusFromKeyboard(first);
        } else {
            ::SetFocus(Handle());
        }
    }
}

void PageControl::SetActivePage(TabSheet& page) {
    const auto found = std::find(pages_.begin(), pages_.end(), &page);
    if (found != pages_.end()) SetActivePageIndex(static_cast<int>(found - pages_.begin()));
}

bool PageControl::TurnPage(bool backward) {
    if (!showTabs_ || PageCount() < 2) return false;
    SetActivePageIndex((active_ + (backward ? PageCount() - 1 : 1)) % PageCount());
    if (OnChange) OnChange();
    return true;
}

LRESULT PageControl::OnNotify(NMHDR& header) {
    if (header.code == TCN_SELCHANGE) {
        SetActivePageIndex(TabCtrl_GetCurSel(Handle()));
        if (OnChange) OnChange();
    }
    return 0;
}

LRESULT PageControl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleContainerMessage(message, wParam, lParam, result)) return result;
    if (message == WM_CLOSE) return 0;
    if (message == DialogCharMessage()) return PressTab(static_cast<char16_t>(wParam)) ? 1 : 0;
    return DefaultProc(message, wParam, lParam);
}

bool PageControl::PressTab(char16_t c) {
    if (!showTabs_) return false;
    const char16_t key = MnemonicOf(std::u16string{u'&', c});
    for (int i = 0; i < PageCount(); ++i) {
        if (MnemonicOf(pages_[static_cast<size_t>(i)]->Text()) != key) continue;
        // As a click on the tab: the page shows, and the tabs take the focus from the page hidden.
        ::SetFocus(Handle());
        if (i != active_) {
            SetActivePageIndex(i);
            if (OnChange) OnChange();
        }
        return true;
    }
    return false;
}

void PageControl::LayoutControls() {
    const RECT rect = DisplayRect();
    for (TabSheet* page : pages_) {
        SetWindowPos(page->Handle(), nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void PageControl::LayoutControl(Control& /*control*/) {
    LayoutControls();
}

// ColumnScrollBox

ColumnScrollBox::ColumnScrollBox(Container& parent, const ControlInfo& info, const PanelOptions& options)
    : Panel(parent, info, options, {.style = WS_VSCROLL}) {}

int ColumnScrollBox::LineHeight() const {
    return ScaleForDpi(16, Container::Dpi());
}

int ColumnScrollBox::ColumnHeight() const {
    const UINT dpi = Container::Dpi();
    if (virtualHeight_) return ScaleForDpi(*virtualHeight_, dpi);
    int height = 0;
    for (const Control* control : Controls()) {
        if (control->Visible()) height += ScaleForDpi(control->DesignBounds().height, dpi);
    }
    return height;
}

void ColumnScrollBox::SetVirtualHeight(int height) {
    virtualHeight_ = height;
    LayoutControls();
}

Bounds ColumnScrollBox::View96() const {
    RECT client{};
    GetClientRect(Handle(), &client);
    const UINT dpi = Container::Dpi();
    return {0, UnscaleForDpi(position_, dpi), UnscaleForDpi(client.right, dpi), UnscaleForDpi(client.bottom, dpi)};
}

void ColumnScrollBox::Place(Control& control, int top, int width) const {
    const int height = ScaleForDpi(control.DesignBounds().height, Container::Dpi());
    const RECT now = control.PixelBounds(), wanted{0, top, width, top + height};
    if (EqualRect(&now, &wanted)) return;
    SetWindowPos(control.Handle(), nullptr, 0, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ColumnScrollBox::LayoutControls() {
    if (Handle() == nullptr) return;
    const int column = ColumnHeight();
    RECT client{};
    GetClientRect(Handle(), &client);
    position_ = std::clamp(position_, 0, std::max(0, column - static_cast<int>(client.bottom)));
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = std::max(0, column - 1);
    info.nPage = static_cast<UINT>(client.bottom);
    info.nPos = position_;
    // Showing or hiding the bar changes the client width (and comes back here through WM_SIZE).
    SetScrollInfo(Handle(), SB_VERT, &info, TRUE);
    GetClientRect(Handle(), &client);
    if (virtualHeight_ && OnViewChange) OnViewChange();
    const UINT dpi = Container::Dpi();
    int y = -position_;
    for (Control* control : Controls()) {
        if (!control->Visible()) continue;
        if (virtualHeight_) {
            Place(*control, ScaleForDpi(control->DesignBounds().top, dpi) - position_, client.right);
        } else {
            Place(*control, y, client.right);
            y += ScaleForDpi(control->DesignBounds().height, dpi);
        }
    }
}

void ColumnScrollBox::LayoutControl(Control& control) {
    if (!virtualHeight_) return LayoutControls();
    if (!control.Visible()) return;
    RECT client{};
    GetClientRect(Handle(), &client);
    Place(control, ScaleForDpi(control.DesignBounds().top, Container::Dpi()) - position_, client.right);
}

void ColumnScrollBox::ControlRemoved() {
    // A virtual column's rows stay where they are until its owner says otherwise.
    if (!virtualHeight_) LayoutControls();
}

void ColumnScrollBox::ScrollTo(int position) {
    position_ = position;
    LayoutControls();
}

void ColumnScrollBox::ScrollIntoView(int top, int bottom) {
    RECT client{};
    GetClientRect(Handle(), &client);
    int position = position_;
    if (bottom > position + client.bottom) position = bottom - client.bottom;
    if (top < position) position = top;
    if (position != position_) ScrollTo(position);
}

void ColumnScrollBox::ShowFocused(Control& child) {
    if (OnShowFocused) return OnShowFocused(child);
    const RECT place = child.PixelBounds();
    ScrollIntoView(place.top + position_, place.bottom + position_);
}

LRESULT ColumnScrollBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_VSCROLL: {
            SCROLLINFO info{};
            info.cbSize = sizeof(info);
            info.fMask = SIF_ALL;
            GetScrollInfo(Handle(), SB_VERT, &info);
            int position = position_;
            switch (LOWORD(wParam)) {
                case SB_LINEUP:
                    position -= LineHeight();
                    break;
                case SB_LINEDOWN:
                    position += LineHeight();
                    break;
                case SB_PAGEUP:
                    position -= static_cast<int>(info.nPage);
                    break;
                case SB_PAGEDOWN:
                    position += static_cast<int>(info.nPage);
                    break;
                case SB_THUMBTRACK:
                case SB_THUMBPOSITION:
                    position = info.nTrackPos;
                    break;
                case SB_TOP:
                    position = 0;
                    break;
                case SB_BOTTOM:
                    position = info.nMax;
                    break;
                default:
                    return 0;
            }
            ScrollTo(position);
            return 0;
        }
        case WM_MOUSEWHEEL: {
            UINT lines = 3;
            SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
            wheelRemainder_ += GET_WHEEL_DELTA_WPARAM(wParam);
            const int notches = wheelRemainder_ / WHEEL_DELTA;
            wheelRemainder_ -= notches * WHEEL_DELTA;
            RECT client{};
            GetClientRect(Handle(), &client);
            const int step =
                lines == WHEEL_PAGESCROLL ? static_cast<int>(client.bottom) : static_cast<int>(lines) * LineHeight();
            if (notches != 0) ScrollTo(position_ - notches * step);
            return 0;
        }
        default:
            return Panel::OnMessage(message, wParam, lParam);
    }
}

}  // namespace fw
