// The tray icon's shell calls: adding, changing and removing the icon, and the shell's messages to it.
#include "controls/TrayIcon.h"

#include <algorithm>
#include <cstring>

#include "framework/Application.h"
#include "framework/CommonControls.h"
#include "framework/Win32Geometry.h"
#include "framework/WinText.h"
#include "framework/Window.h"
#include "framework/WindowMessages.h"

namespace corvalend {

namespace {

uint64_t IconOfCallback(uintptr_t wParam, intptr_t lParam) {
    return DecodeTrayCallback(wParam, lParam).IconId;
}

fw::HiddenWindow iconWindow(WM_TRAYCALLBACK, IconOfCallback);

template <size_t N>
void CopyText(WCHAR (&field)[N], const std::u16string& text) {
    static_assert(sizeof(WCHAR) == sizeof(char16_t));
    std::memset(field, 0, sizeof(field));
    std::memcpy(field, text.data(), std::min(text.size(), N - 1) * sizeof(WCHAR));
}

}  // namespace

const fw::HiddenWindow& TrayIconWindow() {
    return iconWindow;
}

TTrayIcon::TTrayIcon(fw::Application& app, fw::Window* AOwner)
    : app_(app),
      owner_(AOwner),
      member_(iconWindow.Add([this](uintptr_t wParam, intptr_t lParam) { HandleCallback(wParam, lParam); })),
      logic_(*this) {
    FIconID = member_.Number();
    IconData_.cbSize = sizeof(IconData_);
    IconData_.hWnd = iconWindow.Handle();
    IconData_.uID = FIconID;
    IconData_.uFlags = kTrayIconFlags;
    IconData_.uCallbackMessage = WM_TRAYCALLBACK;
    CycleTimer = TSimpleTimer::CreateEx(1000, [this](TSimpleTimer&) { CycleTimerTick(); });
    ClickTimer = TSimpleTimer::CreateEx(1000, [this](TSimpleTimer&) { logic_.ClickTimerTick(); });
    ExitTimer = TSimpleTimer::CreateEx(20, [this](TSimpleTimer&) { logic_.ExitTimerTick(); });
    appHook_ = app_.HookMainWindow([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
        return ApplicationHook(message, wParam, lParam);
    });
    if (owner_ != nullptr) {
        ownerHook_ = owner_->HookMessages([this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
            return OwnerHook(message, wParam, lParam, result);
        });
    }
}

TTrayIcon::~TTrayIcon() {
    try {
        SetIconVisible(false);
        FDesignPreview = false;
        CycleTimer.reset();
        ClickTimer.reset();
        ExitTimer.reset();
        FIcon.reset();
    } catch (...) {
        // The rest of the destruction runs all the same.
    }
}

void TTrayIcon::Loaded() {
    if (owner_ != nullptr) {
        bool showMainForm = true;
        if (OnStartup) OnStartup(*this, showMainForm);
        if (!showMainForm) {
            app_.SetShowMainForm(false);
            HideMainForm();
        }
    }
    NotifyModify();
    SetIconVisible(FIconVisible);
    SetCycleIcons(FCycleIcons);
    SetWantEnterExitEvents(logic_.WantEnterExitEvents);
    SetBehavior(logic_.Behavior);
}

// Properties

void TTrayIcon::SetIcon(HICON Value) {
    FIcon.reset(Value != nullptr ? CopyIcon(Value) : nullptr);
    NotifyModify();
}

void TTrayIcon::SetIconList(HIMAGELIST Value) {
    FIconList = Value;
    SetIconIndex(0);
}

void TTrayIcon::LoadIconFromList(int index) {
    FIcon.reset(fw::CommonControls().ImageList_GetIcon(FIconList, index, ILD_NORMAL));
}

void TTrayIcon::SetIconIndex(int Value) {
    const int count = FIconList != nullptr ? fw::CommonControls().ImageList_GetImageCount(FIconList) : 0;
    FIconIndex = ClampIconIndex(Value, FIconList != nullptr, count);
    if (FIconList != nullptr && count > 0) LoadIconFromList(FIconIndex);
    NotifyModify();
}

void TTrayIcon::SetIconVisible(bool Value) {
    if (Value) {
        NotifyAdd();
    } else {
        NotifyDelete();
    }
}

void TTrayIcon::SetHint(std::u16string Value) {
    FHint = std::move(Value);
    NotifyModify();
}

void TTrayIcon::SetShowHint(bool Value) {
    FShowHint = Value;
    NotifyModify();
}

void TTrayIcon::SetCycleIcons(bool Value) {
    FCycleIcons = Value;
    if (Value) {
        SetIconIndex(0);
        CycleTimer->SetInterval(FCycleInterval);
        CycleTimer->SetEnabled(true);
    } else {
        CycleTimer->SetEnabled(false);
    }
}

void TTrayIcon::SetCycleInterval(uint32_t Value) {
    if (Value == FCycleInterval) return;
    FCycleInterval = Value;
    SetCycleIcons(FCycleIcons);
}

void TTrayIcon::SetWantEnterExitEvents(bool Value) {
    logic_.WantEnterExitEvents = Value;
    ExitTimer->SetEnabled(Value);
}

void TTrayIcon::SetBehavior(TBehavior Value) {
    // The shell speaks the fourth version whatever the behaviour, which only chooses the
    // notification that reports the right button's release.
    logic_.Behavior = Value;
}

void TTrayIcon::HandleCallback(uintptr_t wParam, intptr_t lParam) {
    const TrayCallback callback = DecodeTrayCallback(wParam, lParam);
    if (callback.Version4) {
        logic_.HandleVersion4(callback.Notification, callback.Anchor);
    } else {
        logic_.HandleNotification(callback.Notification);
    }
}

// Shell calls

void TTrayIcon::PrepareIconData() {
    IconData_.hIcon = FIcon.get();
    CopyText(IconData_.szTip, TrayTipText(FHint, FShowHint));
}

bool TTrayIcon::Notify(DWORD message) {
    return Shell_NotifyIconW(message, reinterpret_cast<NOTIFYICONDATAW*>(&IconData_)) != FALSE;
}

bool TTrayIcon::NotifyAdd() {
    FIconVisible = true;
    PrepareIconData();
    if (!Notify(NIM_ADD)) return false;
    // The keyboard's notifications and the icon's anchor come only with the fourth version, which
    // the shell forgets with the icon (a new taskbar adds it anew through here).
    const UINT timeout = IconData_.TimeoutOrVersion.uTimeout;
    IconData_.TimeoutOrVersion.uVersion = kNotifyIconVersion4;
    Notify(NIM_SETVERSION);
    IconData_.TimeoutOrVersion.uTimeout = timeout;
    return true;
}

bool TTrayIcon::NotifyDelete() {
    FIconVisible = false;
    PrepareIconData();
    return Notify(NIM_DELETE);
}

bool TTrayIcon::NotifyModify() {
    PrepareIconData();
    return Notify(NIM_MODIFY);
}

bool TTrayIcon::HideBalloonHint() {
    IconData_.uFlags |= kNifInfo;
    CopyText(IconData_.szInfo, u"");
    return NotifyModify();
}

bool TTrayIcon::ShowBalloonHint(const std::u16string& Title,
                                const std::u16string& Text,
                                TBalloonHintIcon IconType,
                                int TimeoutSecs) {
    HideBalloonHint();
    const TBalloonHintData balloon = MakeBalloonHint(Title, Text, IconType, TimeoutSecs);
    IconData_.uFlags |= kNifInfo;
    CopyText(IconData_.szInfo, balloon.Info);
    CopyText(IconData_.szInfoTitle, balloon.Title);
    IconData_.TimeoutOrVersion.uTimeout = balloon.TimeoutMs;
    IconData_.dwInfoFlags = balloon.InfoFlags;
    const bool shown = NotifyModify();
    IconData_.uFlags = kTrayIconFlags;
    return shown;
}

bool TTrayIcon::SetFocus() {
    return Notify(NIM_SETFOCUS);
}

// Menu and windows

void TTrayIcon::Popup(int X, int Y, bool FromKeyboard) {
    if (FPopupMenu == nullptr) return;
    SetForegroundWindow(IconData_.hWnd);
    app_.ProcessMessages();
    FPopupMenu->PopupComponent = this;
    FPopupMenu->Popup(X, Y, FromKeyboard);
    // Lets the menu close properly when the user clicks elsewhere next time.
    if (owner_ != nullptr) PostMessageW(owner_->Handle(), WM_NULL, 0, 0);
}

void TTrayIcon::PopupAtCursor() {
    POINT cursor;
    if (GetCursorPos(&cursor)) Popup(cursor.x, cursor.y);
}

void TTrayIcon::HideTaskbarIcon() {
    if (IsWindowVisible(app_.Handle())) ShowWindow(app_.Handle(), SW_HIDE);
}

void TTrayIcon::ShowTaskbarIcon() {
    if (!IsWindowVisible(app_.Handle())) ShowWindow(app_.Handle(), SW_SHOW);
}

void TTrayIcon::HideMainForm() {
    if (owner_ == nullptr || app_.MainForm() == nullptr) return;
    ShowWindow(app_.MainForm()->Handle(), SW_HIDE);
    HideTaskbarIcon();
}

void TTrayIcon::ShowMainForm() {
    if (owner_ == nullptr || app_.MainForm() == nullptr) return;
    const HWND mainForm = app_.MainForm()->Handle();
    app_.Restore();
    if (IsIconic(mainForm)) ShowWindow(mainForm, SW_RESTORE);
    ShowWindow(mainForm, SW_SHOW);
    SetForegroundWindow(app_.Handle());
}

void TTrayIcon::HideToTray() {
    HideMainForm();
    SetIconVisible(true);
}

bool TTrayIcon::TryMinimizeToTray(LRESULT& result) {
    if (!FMinimizeToTray || !OnMinimizeToTray) return false;
    OnMinimizeToTray(*this);
    HideToTray();
    result = 1;
    return true;
}

bool TTrayIcon::ApplicationHook(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && wParam == SIZE_MINIMIZED && FMinimizeToTray) {
        HideToTray();
    } else if (message == WM_WINDOWPOSCHANGED && SettingMDIForm && app_.MainForm() != nullptr) {
        // An MDI frame is the window that holds the MDI client.
        if (FindWindowExW(app_.MainForm()->Handle(), nullptr, L"MDICLIENT", nullptr) != nullptr) {
            bool showMainForm = true;
            if (OnStartup) OnStartup(*this, showMainForm);
            if (!showMainForm) HideTaskbarIcon();
        }
        SettingMDIForm = false;
    } else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_RESTORE && app_.MainForm() != nullptr) {
        const HWND mainForm = app_.MainForm()->Handle();
        if (IsIconic(mainForm)) ShowWindow(mainForm, SW_RESTORE);
        ShowWindow(mainForm, SW_SHOW);
    }
    if (fw::kTaskbarCreatedMessage != 0 && message == fw::kTaskbarCreatedMessage && FIconVisible) NotifyAdd();
    (void)lParam;
    return false;  // the others see it too
}

bool TTrayIcon::OwnerHook(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_SHOWWINDOW && wParam == 1 && lParam == 0) {
        // Shown by a program call: bring it to the front, which a hidden application cannot do directly.
        SetForegroundWindow(app_.Handle());
        SetForegroundWindow(owner_->Handle());
    } else if (message == WM_SHOWWINDOW && wParam == 0 && lParam == SW_PARENTCLOSING && !app_.Terminated()) {
        return TryMinimizeToTray(result);
    } else if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_MINIMIZE) {
        return TryMinimizeToTray(result);
    }
    return false;
}

// Timers and events

void TTrayIcon::CycleTimerTick() {
    if (FIconList == nullptr) return;
    const int count = fw::CommonControls().ImageList_GetImageCount(FIconList);
    LoadIconFromList(FIconIndex);
    const int next = NextCycleIndex(FIconIndex, count);
    if (OnCycle) OnCycle(*this, next);
    SetIconIndex(next);
}

TShiftState TTrayIcon::CurrentShiftState() const {
    TShiftState shift = 0;
    if (GetAsyncKeyState(VK_SHIFT) & 0x8000) shift |= ssShift;
    if (GetAsyncKeyState(VK_MENU) & 0x8000) shift |= ssAlt;
    if (GetAsyncKeyState(VK_CONTROL) & 0x8000) shift |= ssCtrl;
    return shift;
}

fw::Point TTrayIcon::CursorPos() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    return fw::FromPOINT(cursor);
}

uint32_t TTrayIcon::DoubleClickTime() const {
    return GetDoubleClickTime();
}

void TTrayIcon::StartClickTimer(uint32_t interval) {
    ClickTimer->SetInterval(interval);
    ClickTimer->SetEnabled(true);
}

void TTrayIcon::StopClickTimer() {
    ClickTimer->SetEnabled(false);
}

bool TTrayIcon::ClickTimerEnabled() const {
    return ClickTimer->Enabled();
}

bool TTrayIcon::MenuAutoPopup() const {
    return FPopupMenu != nullptr && FPopupMenu->AutoPopup;
}

void TTrayIcon::PopupMenuAtCursor() {
    SetForegroundWindow(IconData_.hWnd);
    PopupAtCursor();
}

void TTrayIcon::PopupMenuFromKeyboard(fw::Point anchor) {
    // In front first, so that the arrows and Esc reach the menu.
    SetForegroundWindow(IconData_.hWnd);
    Popup(anchor.x, anchor.y, /*FromKeyboard=*/true);
}

uint32_t TTrayIcon::TickCount() const {
    return GetTickCount();
}

void TTrayIcon::ClickDefaultMenuItem() {
    for (const fw::MenuItem& item : FPopupMenu->Items) {
        if (item.Default && !item.IsSeparator()) {
            const std::function<void()> onClick = item.OnClick;
            if (onClick) onClick();
            return;
        }
    }
}

void TTrayIcon::Fire(const TNotifyEvent& event) {
    if (event) event(*this);
}

void TTrayIcon::DoClick() {
    Fire(OnClick);
}
void TTrayIcon::DoDblClick() {
    Fire(OnDblClick);
}
void TTrayIcon::DoKeySelect() {
    Fire(OnKeySelect);
}
void TTrayIcon::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}
void TTrayIcon::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}
void TTrayIcon::DoMouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}
void TTrayIcon::DoMouseEnter() {
    Fire(OnMouseEnter);
}
void TTrayIcon::DoMouseExit() {
    Fire(OnMouseExit);
}
void TTrayIcon::DoBalloonHintShow() {
    Fire(OnBalloonHintShow);
}
void TTrayIcon::DoBalloonHintHide() {
    Fire(OnBalloonHintHide);
}
void TTrayIcon::DoBalloonHintTimeout() {
    Fire(OnBalloonHintTimeout);
}
void TTrayIcon::DoBalloonHintClick() {
    Fire(OnBalloonHintClick);
}

// Helpers for other uses

bool TTrayIcon::BitmapToIcon(HBITMAP Bitmap, fw::UniqueIcon& Icon, COLORREF MaskColor) {
    const HIMAGELIST list = fw::CommonControls().ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
    if (list == nullptr) return false;
    fw::CommonControls().ImageList_AddMasked(list, Bitmap, MaskColor);
    Icon.reset(fw::CommonControls().ImageList_GetIcon(list, 0, ILD_NORMAL));
    fw::CommonControls().ImageList_Destroy(list);
    return true;
}

POINT TTrayIcon::GetClientIconPos(int X, int Y) {
    // The icons sit on a grid of the caption height; a caption of one pixel gives no grid.
    const int c = GetSystemMetrics(SM_CYCAPTION) - 1;
    POINT point{X, Y};
    if (const HWND under = WindowFromPoint(point)) ScreenToClient(under, &point);
    if (c <= 0) return {-1, -1};
    return {point.x % c - 1, point.y % c - 1};
}

namespace {

HWND FindTrayTooltip(bool balloon) {
    DWORD trayProcess = 0;
    if (const HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr)) GetWindowThreadProcessId(tray, &trayProcess);
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, L"tooltips_class32", nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(tip, &process);
        const bool isBalloon = (GetWindowLongPtrW(tip, GWL_STYLE) & TTS_BALLOON) != 0;
        if (process == trayProcess && isBalloon == balloon) return tip;
    }
    return nullptr;
}

}  // namespace

HWND TTrayIcon::GetTooltipHandle() {
    return FindTrayTooltip(false);
}

HWND TTrayIcon::GetBalloonHintHandle() {
    return FindTrayTooltip(true);
}

}  // namespace corvalend
