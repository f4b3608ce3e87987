// The form: its window with frame and DPI, modal showing, dialog keys and closing.
#include "framework/Form.h"

#include <dwmapi.h>

#include <algorithm>
#include <cwchar>
#include <utility>
#include <vector>

#include "framework/Application.h"
#include "framework/ControlsContainers.h"
#include "framework/ControlsStandard.h"
#include "framework/DialogChar.h"
#include "framework/Error.h"
#include "framework/SystemLibrary.h"
#include "framework/TabOrder.h"
#include "framework/WinText.h"

namespace fw {

namespace {

constexpr wchar_t kFormClass[] = L"Corvalend.Form";

// The innermost modal form (forms live on the one user-interface thread), or null.
Form* innermostModal = nullptr;

// What a modal form makes wait, as a modal dialog does: its owner, shown or not, and every other
// visible, enabled top-level window of the thread.
std::vector<HWND> WindowsToDisable(HWND form, HWND owner) {
    struct Search {
        HWND form;
        std::vector<HWND> found;
    } search{form, {}};
    if (owner != nullptr && IsWindowEnabled(owner)) search.found.push_back(owner);
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(param);
            if (window != search.form && IsWindowVisible(window) && IsWindowEnabled(window) &&
                std::find(search.found.begin(), search.found.end(), window) == search.found.end()) {
                search.found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

Form::Form(Application& app, HWND owner, const FormInfo& info) : Window(app), info_(info) {
    if (owner != nullptr) owner = GetAncestor(owner, GA_ROOT);
    Create(
        {.name = info.windowClass != nullptr ? info.windowClass : kFormClass, .style = CS_DBLCLKS, .icon = info.icon},
        {.exStyle = ExStyle(),
         .title = info.caption,
         .style = Style(),
         .x = CW_USEDEFAULT,
         .y = CW_USEDEFAULT,
         .width = info.clientWidth,
         .height = info.clientHeight,
         .parent = owner});
    dpi_ = GetDpiForWindow(Handle());
    if (dpi_ == 0) dpi_ = 96;
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle(dpi_)), FALSE);
    SetClientSize(info.clientWidth, info.clientHeight);
    dialogFilter_ = app.AddDialogFilter(Handle(), [this](MSG& message) { return DialogKey(message); });
}

Form::~Form() {
    if (modal_) {
        // Destroyed from inside its own modal loop: the other windows must not stay disabled.
        EnableDisabledWindows();
        if (innermostModal == this) innermostModal = outerModal_;
    }
}

DWORD Form::Style() const {
    switch (info_.border) {
        case FormBorder::Sizeable:
            return WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
        case FormBorder::SizeableDialog:
            return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
        case FormBorder::Dialog:
            return WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        case FormBorder::None:
            return WS_POPUP | WS_CLIPCHILDREN;
    }
    return WS_OVERLAPPEDWINDOW;
}

DWORD Form::ExStyle() const {
    DWORD exStyle = WS_EX_CONTROLPARENT;
    if (info_.border == FormBorder::SizeableDialog || info_.border == FormBorder::Dialog) {
        exStyle |= WS_EX_DLGMODALFRAME;
    }
    return exStyle;
}

std::u16string Form::Caption() const {
    const int length = GetWindowTextLengthW(Handle());
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(Handle(), reinterpret_cast<wchar_t*>(text.data()), length + 1)));
    return text;
}

void Form::SetCaption(const std::u16string& caption) {
    SetWindowTextW(Handle(), AsWide(caption));
}

void Form::SetClientSize(int width, int height) {
    // The frame as the window has it now (the system's metrics for other DPIs may not be the ones
    // it draws with).
    RECT window{};
    RECT client{};
    GetWindowRect(Handle(), &window);
    GetClientRect(Handle(), &client);
    const int frameWidth = (window.right - window.left) - client.right;
    const int frameHeight = (window.bottom - window.top) - client.bottom;
    SetWindowPos(Handle(), nullptr, 0, 0, ScaleForDpi(width, dpi_) + frameWidth,
                 ScaleForDpi(height, dpi_) + frameHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetPosition(int x, int y) {
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetMinClientSize(int width, int height) {
    minClient_ = {width, height};
}

Size Form::MinWindowSize(UINT dpi) const {
    RECT window{0, 0, ScaleForDpi(minClient_.width, dpi), ScaleForDpi(minClient_.height, dpi)};
    if (dpi == dpi_) {
        // The frame as the window draws it (see SetClientSize).
        RECT outer{};
        RECT client{};
        GetWindowRect(Handle(), &outer);
        GetClientRect(Handle(), &client);
        window.right += (outer.right - outer.left) - client.right;
        window.bottom += (outer.bottom - outer.top) - client.bottom;
    } else {
        AdjustWindowRectExForDpi(&window, Style(), /*menu=*/FALSE, ExStyle(), dpi);
    }
    return {window.right - window.left, window.bottom - window.top};
}

Bounds Form::NormalBounds() const {
    RECT normal{};
    if (!IsZoomed(Handle()) && !IsIconic(Handle())) {
        GetWindowRect(Handle(), &normal);
    } else {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(Handle(), &placement);
        normal = placement.rcNormalPosition;
        // The system gives it from the top-left of the monitor's work area (Wine from the screen's,
        // where the two are one).
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
        OffsetRect(&normal, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    }
    return {normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top};
}

void Form::PlaceAt(const Bounds& normal, bool maximized) {
    const auto place = [&] {
        SetWindowPos(Handle(), nullptr, normal.left, normal.top, normal.width, normal.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    };
    const UINT dpi = dpi_;
    place();
    if (dpi_ != dpi) place();  // a monitor of another DPI scaled the form on the way: the kept size again
    placed_ = true;
    showMaximized_ = maximized;
}

bool Form::Visible() const {
    return IsWindowVisible(Handle()) != FALSE;
}

void Form::PlaceOnScreen() {
    if (info_.position == FormPosition::Designed) return;
    const HWND owner = GetWindow(Handle(), GW_OWNER);
    RECT window{};
    GetWindowRect(Handle(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    const RECT work = WorkAreaOf(owner != nullptr ? owner : Handle());
    RECT around = work;
    if (info_.position == FormPosition::OwnerCenter && owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
        GetWindowRect(owner, &around);
    }
    int x = around.left + (around.right - around.left - width) / 2;
    int y = around.top + (around.bottom - around.top - height) / 2;
    // Whole on the screen when it fits, its top-left corner at least.
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    SetPosition(x, y);
}

void Form::ShowWindowNow() {
    if (!Visible() && !placed_) PlaceOnScreen();
    ShowWindow(Handle(), std::exchange(showMaximized_, false) ? SW_SHOWMAXIMIZED : SW_SHOW);
    SetForegroundWindow(Handle());
    if (GetActiveWindow() == Handle()) RestoreFocus();
    if (OnShow) OnShow();
    // Made to wait by a modal form: that one stays in front, where it can be answered.
    if (!IsWindowEnabled(Handle()) && innermostModal != nullptr && innermostModal != this) {
        SetForegroundWindow(innermostModal->Handle());
    }
}

void Form::Show() {
    ShowWindowNow();
}

void Form::Hide() {
    ShowWindow(Handle(), SW_HIDE);
}

int Form::ShowModal() {
    if (modal_ || Visible()) throw Error(u"Cannot make a visible window modal");
    if (const HWND capture = GetCapture()) SendMessageW(capture, WM_CANCELMODE, 0, 0);
    ReleaseCapture();
    const HWND owner = GetWindow(Handle(), GW_OWNER);
    const HWND active = GetActiveWindow();
    modalResult_ = mrNone;
    modal_ = true;
    disabledWindows_ = WindowsToDisable(Handle(), owner);
    for (const HWND window : disabledWindows_) EnableWindow(window, FALSE);
    outerModal_ = std::exchange(innermostModal, this);
    // Also when showing fails: no window may stay disabled; the error goes on to the caller.
    const auto end = [&] {
        modal_ = false;
        innermostModal = outerModal_;
        // The others first: hiding the form then activates one of ours, not another program's window.
        EnableDisabledWindows();
        Hide();
        const HWND back = owner != nullptr && IsWindowVisible(owner) ? owner : active;
        if (back != nullptr && back != Handle() && IsWindow(back) && IsWindowVisible(back)) SetActiveWindow(back);
    };
    try {
        ShowWindowNow();
        while (modalResult_ == mrNone) {
            if (!App().ProcessMessage()) {
                modalResult_ = mrCancel;  // the application is quitting; outer loops end too
                break;
            }
            if (modalResult_ != mrNone) CloseModal();
        }
    } catch (...) {
        end();
        throw;
    }
    end();
    return modalResult_;
}

void Form::CloseModal() {
    CloseAction action = CloseAction::None;
    if (CloseQuery()) {
        action = CloseAction::Hide;
        if (OnClose) OnClose(action);
    }
    if (action == CloseAction::None) modalResult_ = mrNone;
    if (action == CloseAction::Free) Release();
}

void Form::EnableDisabledWindows() {
    // A window freed meanwhile is gone from the system, and its handle could be another's by now.
    for (const HWND window : std::exchange(disabledWindows_, {})) {
        if (IsWindow(window)) EnableWindow(window, TRUE);
    }
}

bool Form::CloseQuery() {
    return !OnCloseQuery || OnCloseQuery();
}

void Form::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    CloseAction action = closeAction_;
    if (OnClose) OnClose(action);
    switch (action) {
        case CloseAction::None:
            break;
        case CloseAction::Hide:
            Hide();
            break;
        case CloseAction::Free:
            Hide();
            Release();
            break;
        case CloseAction::Minimize:
            ShowWindow(Handle(), SW_MINIMIZE);
            break;
    }
}

void Form::RestoreFocus() {
    if (focus_ != nullptr && IsWindow(focus_) && IsChild(Handle(), focus_) && IsWindowVisible(focus_) &&
        IsWindowEnabled(focus_)) {
        ::SetFocus(focus_);
        return;
    }
    const HWND first = FirstTabStop(Handle(), /*last=*/false);
    ::SetFocus(first != nullptr ? first : Handle());
}

void Form::NextControl(HWND control) {
    if (control == nullptr) return;
    ::SetFocus(control);
    // A text field entered from the keyboard has its text selected.
    if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(control, EM_SETSEL, 0, -1);
}

void Form::ButtonFocused(Button* focused) {
    // The focused button is the one Enter presses; elsewhere it is the form's default button.
    for (Button* button : {defaultButton_, focused}) {
        if (button == nullptr) continue;
        const bool isDefault = focused != nullptr ? button == focused : button == defaultButton_;
        SendMessageW(button->Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    }
}

void Form::ControlDestroyed(Control& control) {
    if (defaultButton_ == &control) defaultButton_ = nullptr;
    if (cancelButton_ == &control) cancelButton_ = nullptr;
    if (focus_ == control.Handle()) focus_ = nullptr;
}

bool Form::DialogKey(MSG& message) {
    if (message.message == WM_KEYDOWN && OnKeyDown && OnKeyDown(static_cast<UINT>(message.wParam))) return true;
    if (message.message == WM_KEYDOWN && NavigationKey(message)) return true;
    if (message.message == WM_SYSCHAR && OfferDialogChar(Handle(), message)) return true;
    return IsDialogMessageW(Handle(), &message) != FALSE;
}

// Tab, Ctrl+Tab and Enter as the dialog manager would take them, where our controls need more: the
// tab control is a stop, a virtual column reaches its rows out of view, and Enter presses the
// focused push button also when it sits on a frame of its own.
bool Form::NavigationKey(MSG& message) {
    const auto key = static_cast<UINT>(message.wParam);
    const HWND focus = GetFocus();
    if ((key != VK_TAB && key != VK_RETURN) || focus == nullptr || !IsChild(Handle(), focus)) return false;
    const LRESULT code = SendMessageW(focus, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
    if (code & DLGC_WANTMESSAGE) return false;
    if (key == VK_RETURN) {
        if ((code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) == 0 || !IsWindowEnabled(focus)) return false;
        // Through the parent, as a click comes: the button's handler runs as any window's does.
        SendMessageW(GetParent(focus), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                     reinterpret_cast<LPARAM>(focus));
        return true;
    }
    const bool backward = GetKeyState(VK_SHIFT) < 0;
    if (GetKeyState(VK_CONTROL) < 0) return TurnPage(focus, backward);
    if (code & DLGC_WANTTAB) return false;
    TabFrom(focus, backward);
    return true;
}

void Form::TabFrom(HWND focus, bool backward) {
    const HWND next = NextTabStop(Handle(), focus, backward);
    if (next == nullptr) return;
    for (HWND window = focus; window != Handle() && window != next && !IsChild(window, next);
         window = GetParent(window)) {
        Control* const control = Control::FromHandle(window);
        if (control != nullptr && control->Parent() != nullptr && control->Parent()->TabOut(*control, backward)) {
            return;
        }
    }
    FocusControl(next);
}

void Form::FocusControl(HWND control) {
    // The keyboard is in use: the controls show where the focus is.
    SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    FocusFromKeyboard(control);
    for (HWND window = control; window != nullptr && window != Handle(); window = GetParent(window)) {
        Control* const shown = Control::FromHandle(window);
        if (shown != nullptr && shown->Parent() != nullptr) shown->Parent()->ShowFocused(*shown);
    }
}

// Ctrl+Tab and Ctrl+Shift+Tab turn the pages of the tab control the focus is in, or else of the
// form's own.
bool Form::TurnPage(HWND focus, bool backward) {
    PageControl* pages = nullptr;
    for (HWND window = focus; window != Handle() && pages == nullptr; window = GetParent(window)) {
        pages = dynamic_cast<PageControl*>(Control::FromHandle(window));
    }
    for (Control* const control : Controls()) {
        if (pages == nullptr && control->Visible()) pages = dynamic_cast<PageControl*>(control);
    }
    if (pages == nullptr || !pages->TurnPage(backward)) return false;
    if (!IsWindowVisible(focus)) FocusControl(pages->Handle());  // its page went away
    return true;
}

void Form::ExtendFrameIntoBand(Panel& band, int height) {
    frameBand_ = &band;
    frameBandHeight_ = height;
    ApplyFrameBand();
}

void Form::ApplyFrameBand() {
    if (frameBand_ == nullptr) return;
    // The window manager's library only for the forms that use it.
    const SystemLibrary dwm(L"dwmapi.dll");
    BOOL composed = FALSE;
    const bool on =
        SUCCEEDED(dwm.Get<decltype(DwmIsCompositionEnabled)>("DwmIsCompositionEnabled")(&composed)) && composed;
    const MARGINS margins{0, 0, on ? ScaleForDpi(frameBandHeight_, dpi_) : 0, 0};
    const auto extendFrame = dwm.Get<decltype(DwmExtendFrameIntoClientArea)>("DwmExtendFrameIntoClientArea");
    if (!SUCCEEDED(extendFrame(Handle(), &margins)) && on) return;
    if (on) {
        frameBand_->SetColor(RGB(0, 0, 0));
    } else {
        frameBand_->ClearColor();
    }
}

void Form::DpiChanged(UINT dpi, const RECT& suggested) {
    const Size client = ClientSize96();
    dpi_ = dpi;
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle(dpi_)), FALSE);
    RescaleControls();
    SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // The system's suggestion keeps the client area only when its frame metrics are the real ones.
    SetClientSize(client.width, client.height);
    Realign();
    ApplyFrameBand();
    InvalidateRect(Handle(), nullptr, TRUE);
}

void Form::ColorsChanged() {
    // The common controls hear of new colours only from their parent.
    EnumChildWindows(
        Handle(),
        [](HWND child, LPARAM) -> BOOL {
            SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
            return TRUE;
        },
        0);
    // Our colours are chosen at every paint (high contrast may have come or gone): paint all again now.
    RedrawWindow(Handle(), /*rect=*/nullptr, /*region=*/nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT Form::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleContainerMessage(message, wParam, lParam, result)) return result;
    switch (message) {
        case WM_COMMAND:
            // Esc from the dialog keys, and Enter when there is no default button.
            if (lParam != 0 || LOWORD(wParam) != IDCANCEL) return 0;
            if (!PressScopeCancel(Handle()) && cancelButton_ != nullptr) cancelButton_->Click();
            return 0;
        case DM_GETDEFID:
            return defaultButton_ != nullptr ? MAKELRESULT(defaultButton_->Id(), DC_HASDEFID) : 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                if (focus != nullptr && IsChild(Handle(), focus)) focus_ = focus;
            } else if (!HIWORD(wParam)) {
                RestoreFocus();
            }
            return 0;
        case WM_SETFOCUS:
            RestoreFocus();
            return 0;
        case WM_NEXTDLGCTL:
            // As the dialog manager does (IsDialogMessage asks for it for Alt+letter on a label).
            NextControl(LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                       : GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0));
            return 0;
        case WM_GETMINMAXINFO:
            if (minClient_.width == 0) return DefaultProc(message, wParam, lParam);
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = {MinWindowSize(dpi_).width,
                                                                     MinWindowSize(dpi_).height};
            return 0;
        case WM_DPICHANGED:
            DpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DWMCOMPOSITIONCHANGED:
            ApplyFrameBand();
            return 0;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            ColorsChanged();
            return DefaultProc(message, wParam, lParam);
        default:
            return DefaultProc(message, wParam, lParam);
    }
}

HWND ModalWindowInFront() {
    // The system's dialogs run their own modal loops, from within any of ours: they are in front.
    HWND dialog = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            wchar_t name[8] = {};
            if (!IsWindowVisible(window) || !IsWindowEnabled(window) || GetClassNameW(window, name, 8) == 0 ||
                wcscmp(name, L"#32770") != 0) {
                return TRUE;
            }
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&dialog));
    if (dialog != nullptr) return dialog;
    return innermostModal != nullptr ? innermostModal->Handle() : nullptr;
}

}  // namespace fw
