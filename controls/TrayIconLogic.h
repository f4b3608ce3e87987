// The rules of the tray icon that need no system: how the shell's mouse notifications become click,
// double-click, popup and mouse events, the enter/exit tracking, and the texts and numbers put into
// the notify-icon record.
#pragma once

#include <cstdint>
#include <string>

#include "framework/Geometry.h"
#include "framework/MouseInput.h"

// The shell's callbacks about a tray icon, posted to the icons' shared window. The icon asks for the
// fourth version of them: lParam holds the notification in its low word and the icon's identifier
// in its high word, wParam the icon's anchor on the screen (x in the low word, y in the high one).
// The earlier layout, wParam the identifier and lParam the notification, is read too, as tools that
// drive the icon from outside post it. A fixed number (WM_USER + 0x400), as such tools post it.
inline constexpr uint32_t WM_TRAYCALLBACK = 0x0800;

namespace corvalend {

enum TBehavior { bhWin95, bhWin2000 };
enum TBalloonHintIcon { bitNone, bitInfo, bitWarning, bitError, bitCustom };

// Keys and buttons held during a mouse event.
using TShiftState = uint8_t;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssLeft = 0x08;
inline constexpr TShiftState ssRight = 0x10;
inline constexpr TShiftState ssMiddle = 0x20;

// The notifications the shell passes with its callback message (WM_TRAYCALLBACK, lParam).
namespace trayNotify {
inline constexpr uint32_t kContextMenu = 0x007B;
inline constexpr uint32_t kMouseMove = 0x0200;
inline constexpr uint32_t kLeftDown = 0x0201;
inline constexpr uint32_t kLeftUp = 0x0202;
inline constexpr uint32_t kLeftDoubleClick = 0x0203;
inline constexpr uint32_t kRightDown = 0x0204;
inline constexpr uint32_t kRightUp = 0x0205;
inline constexpr uint32_t kMiddleDown = 0x0207;
inline constexpr uint32_t kMiddleUp = 0x0208;
inline constexpr uint32_t kSelect = 0x0400;
inline constexpr uint32_t kKeySelect = 0x0401;
inline constexpr uint32_t kBalloonShow = 0x0402;
inline constexpr uint32_t kBalloonHide = 0x0403;
inline constexpr uint32_t kBalloonTimeout = 0x0404;
inline constexpr uint32_t kBalloonClick = 0x0405;
}  // namespace trayNotify

// The shell's notification version the icon asks for (NOTIFYICON_VERSION_4).
inline constexpr uint32_t kNotifyIconVersion4 = 4;

// One callback message taken apart: which icon, what happened, and (in the fourth version) where
// the icon is. Version4 is false for the earlier layout, which carries no anchor.
struct TrayCallback {
    uint32_t IconId = 0;
    uint32_t Notification = 0;
    fw::Point Anchor{};
    bool Version4 = false;
};
// The fourth version puts the icon's identifier, never 0, in lParam's high word; the earlier
// layout's notifications are all below 0x10000.
TrayCallback DecodeTrayCallback(uintptr_t wParam, intptr_t lParam);

// What the notification rules act on: the icon's timers, menu and events, and the input state.
class TrayIconSite {
public:
    virtual ~TrayIconSite() = default;

    virtual TShiftState CurrentShiftState() const = 0;
    virtual fw::Point CursorPos() const = 0;
    virtual uint32_t DoubleClickTime() const = 0;

    // The click timer: started with an interval (a running one starts its period anew), stopped,
    // and whether it runs.
    virtual void StartClickTimer(uint32_t interval) = 0;
    virtual void StopClickTimer() = 0;
    virtual bool ClickTimerEnabled() const = 0;

    // A menu is assigned and pops up by itself.
    virtual bool MenuAutoPopup() const = 0;
    // Brings the icon's window to the front and shows the menu at the cursor.
    virtual void PopupMenuAtCursor() = 0;
    // Clicks the first top-level item of the menu that is the default one, if any.
    virtual void ClickDefaultMenuItem() = 0;
    // The keyboard's menu request: brings the icon's window to the front and shows the menu at the
    // icon's anchor with its first item selected.
    virtual void PopupMenuFromKeyboard(fw::Point anchor) = 0;
    // Milliseconds on a running clock, to tell one key's repeated notification from a new key.
    virtual uint32_t TickCount() const = 0;

    virtual bool HasDblClickHandler() const = 0;
    virtual void DoClick() = 0;
    virtual void DoDblClick() = 0;
    // Enter or Space on the focused icon.
    virtual void DoKeySelect() = 0;
    virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) = 0;
    virtual void DoMouseMove(TShiftState shift, int x, int y) = 0;
    virtual void DoMouseEnter() = 0;
    virtual void DoMouseExit() = 0;
    virtual void DoBalloonHintShow() = 0;
    virtual void DoBalloonHintHide() = 0;
    virtual void DoBalloonHintTimeout() = 0;
    virtual void DoBalloonHintClick() = 0;
};

// The state machine behind the icon's mouse notifications. A press starts the click timer when a
// double-click handler exists; the click then fires when the timer runs out (counted from the
// press), unless a double click came first; a press held past the timer fires at its release.
class TTrayIconLogic {
public:
    explicit TTrayIconLogic(TrayIconSite& site) : site_(site) {}

    bool Enabled = true;  // mouse notifications are acted on (balloon ones always are)
    bool LeftPopup = false;
    bool WantEnterExitEvents = false;
    TBehavior Behavior = bhWin95;

    // One notification of the shell in the earlier layout (the callback's lParam).
    void HandleNotification(uint32_t notification);
    // One callback of the fourth version. The mouse's notifications are those of the earlier
    // layout; the shell follows a left release with NIN_SELECT and a right release with
    // WM_CONTEXTMENU, which are the mouse's too and change nothing. NIN_SELECT or NIN_KEYSELECT on
    // their own are the keyboard's Enter or Space, which may come twice for one press; a
    // WM_CONTEXTMENU on its own is Shift+F10 or the menu key.
    void HandleVersion4(uint32_t notification, fw::Point anchor);
    void ClickTimerTick();
    // The enter/exit poll: the mouse left the icon when the cursor is no longer where it last moved.
    void ExitTimerTick();

    bool ClickStart() const { return FClickStart; }
    bool ClickReady() const { return FClickReady; }
    bool IsDblClick() const { return IsDblClick_; }
    bool DidExit() const { return FDidExit; }

private:
    void LeftDown(TShiftState shift, fw::Point at);
    void LeftUp(TShiftState shift, fw::Point at);

    // `echo`: the selection follows a keyboard selection with no other notification between.
    void KeySelect(bool echo);

    TrayIconSite& site_;
    uint32_t previous_ = 0;       // the fourth version's notification before, mouse moves left out
    bool keySelectEcho_ = false;  // the last notification was a keyboard selection that opened
    uint32_t keySelectTime_ = 0;
    bool FClickStart = false;
    bool FClickReady = false;
    bool IsDblClick_ = false;
    bool FDidExit = true;
    int LastMoveX = 0;
    int LastMoveY = 0;
};

// Fixed sizes of the notify-icon record's texts, in UTF-16 units with the terminating zero.
inline constexpr size_t kTipUnits = 128;
inline constexpr size_t kInfoUnits = 256;
inline constexpr size_t kInfoTitleUnits = 64;

inline constexpr uint32_t kNifMessage = 0x01;
inline constexpr uint32_t kNifIcon = 0x02;
inline constexpr uint32_t kNifTip = 0x04;
inline constexpr uint32_t kNifInfo = 0x10;
inline constexpr uint32_t kTrayIconFlags = kNifMessage | kNifIcon | kNifTip;

// At most `units` UTF-16 units of the text; a surrogate pair is never cut in half.
std::u16string FirstUnits(const std::u16string& text, size_t units);

// The tooltip: the first 127 units of the hint, or nothing when the hint is off.
std::u16string TrayTipText(const std::u16string& Hint, bool ShowHint);

struct TBalloonHintData {
    std::u16string Info;   // at most 255 units
    std::u16string Title;  // at most 63 units
    uint32_t TimeoutMs = 0;
    uint32_t InfoFlags = 0;  // the shell's NIIF_ value of the icon type
};
// TimeoutSecs is taken within its range of 10 to 60 seconds.
TBalloonHintData MakeBalloonHint(const std::u16string& Title,
                                 const std::u16string& Text,
                                 TBalloonHintIcon IconType,
                                 int TimeoutSecs);

// The image shown for a wanted index: within the list, 0 without one.
int ClampIconIndex(int Value, bool HasList, int Count);
// The image that follows `index` when cycling through `count` images.
int NextCycleIndex(int index, int count);

}  // namespace corvalend
