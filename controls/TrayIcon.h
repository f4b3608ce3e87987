// The notification-area icon: puts one icon into the taskbar's notification area and turns the
// shell's notifications about it into events (click told apart from double click, popup menu on
// the right button, mouse and balloon events). It hides the application to the tray when the
// application is minimized and adds its icon again when the taskbar is recreated. All icons of the
// process share one hidden window that receives the shell's callbacks.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/SimpleTimer.h"
#include "controls/TrayIconLogic.h"
#include "framework/CallbackList.h"
#include "framework/HiddenWindow.h"
#include "framework/PopupMenu.h"
#include "framework/UniqueHandle.h"

namespace fw {
class Application;
class Window;
}  // namespace fw

namespace corvalend {

// The shell's notify-icon record in its second layout: with the balloon fields, without the GUID
// and the balloon icon. Older shells and newer ones alike take it.
union TTimeoutOrVersion {
    UINT uTimeout;  // milliseconds
    UINT uVersion;
};
struct TNotifyIconDataEx {
    DWORD cbSize;
    HWND hWnd;
    UINT uID;
    UINT uFlags;
    UINT uCallbackMessage;
    HICON hIcon;
    WCHAR szTip[kTipUnits];
    DWORD dwState;
    DWORD dwStateMask;
    WCHAR szInfo[kInfoUnits];
    TTimeoutOrVersion TimeoutOrVersion;
    WCHAR szInfoTitle[kInfoTitleUnits];
    DWORD dwInfoFlags;
};
static_assert(sizeof(void*) != 8 || sizeof(TNotifyIconDataEx) == 952);
static_assert(sizeof(TNotifyIconDataEx) == NOTIFYICONDATAW_V2_SIZE);
static_assert(offsetof(TNotifyIconDataEx, hWnd) == offsetof(NOTIFYICONDATAW, hWnd));
static_assert(offsetof(TNotifyIconDataEx, uID) == offsetof(NOTIFYICONDATAW, uID));
static_assert(offsetof(TNotifyIconDataEx, uFlags) == offsetof(NOTIFYICONDATAW, uFlags));
static_assert(offsetof(TNotifyIconDataEx, uCallbackMessage) == offsetof(NOTIFYICONDATAW, uCallbackMessage));
static_assert(offsetof(TNotifyIconDataEx, hIcon) == offsetof(NOTIFYICONDATAW, hIcon));
static_assert(offsetof(TNotifyIconDataEx, szTip) == offsetof(NOTIFYICONDATAW, szTip));
static_assert(offsetof(TNotifyIconDataEx, dwState) == offsetof(NOTIFYICONDATAW, dwState));
static_assert(offsetof(TNotifyIconDataEx, szInfo) == offsetof(NOTIFYICONDATAW, szInfo));
static_assert(offsetof(TNotifyIconDataEx, TimeoutOrVersion) == offsetof(NOTIFYICONDATAW, uTimeout));
static_assert(offsetof(TNotifyIconDataEx, szInfoTitle) == offsetof(NOTIFYICONDATAW, szInfoTitle));
static_assert(offsetof(TNotifyIconDataEx, dwInfoFlags) == offsetof(NOTIFYICONDATAW, dwInfoFlags));

// The window all tray icons share, with the icons on it: it exists while at least one icon does.
const fw::HiddenWindow& TrayIconWindow();

class TTrayIcon : private TrayIconSite {
public:
    using TNotifyEvent = std::function<void(TTrayIcon& Sender)>;
    using TCycleEvent = std::function<void(TTrayIcon& Sender, int NextIndex)>;
    using TStartupEvent = std::function<void(TTrayIcon& Sender, bool& ShowMainForm)>;
    using TMouseEvent = std::function<void(TTrayIcon& Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
    using TMouseMoveEvent = std::function<void(TTrayIcon& Sender, TShiftState Shift, int X, int Y)>;

    // AOwner is the window the icon belongs to, or null; an owner is watched for being shown and
    // minimized while the icon lives, and must outlive it.
    TTrayIcon(fw::Application& app, fw::Window* AOwner);
    ~TTrayIcon() override;
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    // The owner's stored settings are applied: tells the owner whether to show its main window,
    // and sends the icon's state to the shell once more.
    void Loaded();

    bool Enabled() const { return logic_.Enabled; }
    void SetEnabled(bool Value) { logic_.Enabled = Value; }
    // The icon shown; a copy of the given one is kept.
    HICON Icon() const { return FIcon.get(); }
    void SetIcon(HICON Value);
    // Images for IconIndex and cycling; not owned, and must outlive the icon or be taken away first.
    HIMAGELIST IconList() const { return FIconList; }
    void SetIconList(HIMAGELIST Value);
    int IconIndex() const { return FIconIndex; }
    void SetIconIndex(int Value);
    bool IconVisible() const { return FIconVisible; }
    void SetIconVisible(bool Value);
    const std::u16string& Hint() const { return FHint; }
    void SetHint(std::u16string Value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool Value);
    // Not owned; it must outlive the icon or be taken away first.
    fw::PopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(fw::PopupMenu* Value) { FPopupMenu = Value; }
    bool LeftPopup() const { return logic_.LeftPopup; }
    void SetLeftPopup(bool Value) { logic_.LeftPopup = Value; }
    bool MinimizeToTray() const { return FMinimizeToTray; }
    void SetMinimizeToTray(bool Value) { FMinimizeToTray = Value; }
    bool CycleIcons() const { return FCycleIcons; }
    void SetCycleIcons(bool Value);
    uint32_t CycleInterval() const { return FCycleInterval; }
    void SetCycleInterval(uint32_t Value);
    bool WantEnterExitEvents() const { return logic_.WantEnterExitEvents; }
    void SetWantEnterExitEvents(bool Value);
    // Only for a form designer's preview; nothing at run time.
    bool DesignPreview() const { return FDesignPreview; }
    void SetDesignPreview(bool Value) { FDesignPreview = Value; }
    TBehavior Behavior() const { return logic_.Behavior; }
    void SetBehavior(TBehavior Value);
    // The shared window that receives the shell's callbacks.
    HWND Handle() const { return IconData_.hWnd; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    // Enter or Space on the focused icon (Win+B, then the arrows): once for each press.
    TNotifyEvent OnKeySelect;
    TCycleEvent OnCycle;
    TStartupEvent OnStartup;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    TNotifyEvent OnMinimizeToTray;
    TNotifyEvent OnBalloonHintShow;
    TNotifyEvent OnBalloonHintHide;
    TNotifyEvent OnBalloonHintTimeout;
    TNotifyEvent OnBalloonHintClick;

    // The shell calls; each tells whether the shell accepted it.
    bool NotifyAdd();
    bool NotifyDelete();
    bool NotifyModify();
    bool Refresh() { return NotifyModify(); }
    bool ShowBalloonHint(const std::u16string& Title,
                         const std::u16string& Text,
                         TBalloonHintIcon IconType,
                         int TimeoutSecs);
    bool ShowBalloonHintUnicode(const std::u16string& Title,
                                const std::u16string& Text,
                                TBalloonHintIcon IconType,
                                int TimeoutSecs) {
        return ShowBalloonHint(Title, Text, IconType, TimeoutSecs);
    }
    bool HideBalloonHint();
    // A notice the user reads while going on with their work: a balloon with the information icon,
    // which the shell shows without taking the focus from the window in front.
    bool ShowNotice(const std::u16string& Title, const std::u16string& Text) {
        return ShowBalloonHint(Title, Text, bitInfo, /*TimeoutSecs=*/10);
    }
    bool SetFocus();

    // Shows the menu at a screen point, or at the cursor; the chosen item has run when it returns.
    // From the keyboard the menu opens with its first item selected.
    void Popup(int X, int Y, bool FromKeyboard = false);
    void PopupAtCursor();

    // The application window's visibility (its taskbar presence), and the main window's.
    void HideTaskbarIcon();
    void ShowTaskbarIcon();
    void HideMainForm();
    void ShowMainForm();

    // Makes a 16x16 icon of the bitmap, with MaskColor transparent.
    static bool BitmapToIcon(HBITMAP Bitmap, fw::UniqueIcon& Icon, COLORREF MaskColor);
    static POINT GetClientIconPos(int X, int Y);
    static HWND GetTooltipHandle();
    static HWND GetBalloonHintHandle();

    uint32_t IconID() const { return FIconID; }
    const TNotifyIconDataEx& IconData() const { return IconData_; }

private:
    // TrayIconSite
    TShiftState CurrentShiftState() const override;
    fw::Point CursorPos() const override;
    uint32_t DoubleClickTime() const override;
    void StartClickTimer(uint32_t interval) override;
    void StopClickTimer() override;
    bool ClickTimerEnabled() const override;
    bool MenuAutoPopup() const override;
    void PopupMenuAtCursor() override;
    void ClickDefaultMenuItem() override;
    void PopupMenuFromKeyboard(fw::Point anchor) override;
    uint32_t TickCount() const override;
    bool HasDblClickHandler() const override { return static_cast<bool>(OnDblClick); }
    void DoClick() override;
    void DoDblClick() override;
    void DoKeySelect() override;
    void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoMouseMove(TShiftState shift, int x, int y) override;
    void DoMouseEnter() override;
    void DoMouseExit() override;
    void DoBalloonHintShow() override;
    void DoBalloonHintHide() override;
    void DoBalloonHintTimeout() override;
    void DoBalloonHintClick() override;

    void Fire(const TNotifyEvent& event);
    void PrepareIconData();
    void HandleCallback(uintptr_t wParam, intptr_t lParam);
    bool Notify(DWORD message);
    void LoadIconFromList(int index);
    void HideToTray();
    bool TryMinimizeToTray(LRESULT& result);
    bool ApplicationHook(UINT message, WPARAM wParam, LPARAM lParam);
    void CycleTimerTick();

    // Watches the owner window for being shown and minimized, before its own handling.
    bool OwnerHook(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    fw::Application& app_;
    fw::Window* owner_;
    fw::HiddenWindow::Member member_;  // on the icons' window, numbered by the icon's identifier
    TTrayIconLogic logic_;
    uint32_t FIconID = 0;
    fw::UniqueIcon FIcon;
    bool FIconVisible = false;
    std::u16string FHint;
    bool FShowHint = true;
    fw::PopupMenu* FPopupMenu = nullptr;
    bool FMinimizeToTray = false;
    std::unique_ptr<TSimpleTimer> CycleTimer;
    std::unique_ptr<TSimpleTimer> ClickTimer;
    std::unique_ptr<TSimpleTimer> ExitTimer;
    int FIconIndex = 0;
    bool FDesignPreview = false;
    bool SettingMDIForm = true;
    HIMAGELIST FIconList = nullptr;
    bool FCycleIcons = false;
    uint32_t FCycleInterval = 0;
    TNotifyIconDataEx IconData_{};
    fw::Subscription appHook_;
    fw::Subscription ownerHook_;  // with an owner
};

}  // namespace corvalend
