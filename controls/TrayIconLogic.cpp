// The tray icon's mouse state machine and its notify-icon texts and numbers, without the shell.
#include "controls/TrayIconLogic.h"

#include <algorithm>
#include <utility>

namespace corvalend {

void TTrayIconLogic::HandleNotification(uint32_t notification) {
    using namespace trayNotify;
    switch (notification) {
        case kBalloonShow:
            site_.DoBalloonHintShow();
            return;
        case kBalloonHide:
            site_.DoBalloonHintHide();
            return;
        case kBalloonTimeout:
            site_.DoBalloonHintTimeout();
            return;
        case kBalloonClick:
            site_.DoBalloonHintClick();
            return;
        default:
            break;
    }
    if (!Enabled) return;
    const auto at = [this] { return site_.CursorPos(); };
    switch (notification) {
        case kMouseMove: {
            if (WantEnterExitEvents && FDidExit) {
                site_.DoMouseEnter();
                FDidExit = false;
            }
            const fw::Point cursor = at();
            site_.DoMouseMove(site_.CurrentShiftState(), cursor.x, cursor.y);
            LastMoveX = cursor.x;
            LastMoveY = cursor.y;
            return;
        }
        case kLeftDown:
            LeftDown(site_.CurrentShiftState() | ssLeft, at());
            return;
        case kLeftUp:
            LeftUp(site_.CurrentShiftState() | ssLeft, at());
            return;
        case kLeftDoubleClick:
            FClickReady = false;
            IsDblClick_ = true;
            site_.DoDblClick();
            if (site_.MenuAutoPopup() && !LeftPopup) site_.ClickDefaultMenuItem();
            return;
        case kRightDown: {
            const fw::Point cursor = at();
            site_.DoMouseDown(mbRight, site_.CurrentShiftState() | ssRight, cursor.x, cursor.y);
            if (site_.MenuAutoPopup()) site_.PopupMenuAtCursor();
            return;
        }
        case kRightUp:
        case kContextMenu:
        case kSelect:
        case kKeySelect: {
            // The old notification style reports the release; the newer one the menu request.
            const bool wanted = notification == kRightUp ? Behavior == bhWin95 : Behavior == bhWin2000;
            if (!wanted) return;
            const fw::Point cursor = at();
            site_.DoMouseUp(mbRight, site_.CurrentShiftState() | ssRight, cursor.x, cursor.y);
            return;
        }
        case kMiddleDown: {
            const fw::Point cursor = at();
            site_.DoMouseDown(mbMiddle, site_.CurrentShiftState() | ssMiddle, cursor.x, cursor.y);
            return;
        }
        case kMiddleUp: {
            const fw::Point cursor = at();
            site_.DoMouseUp(mbMiddle, site_.CurrentShiftState() | ssMiddle, cursor.x, cursor.y);
            return;
        }
        default:
            return;
    }
}

TrayCallback DecodeTrayCallback(uintptr_t wParam, intptr_t lParam) {
    const auto low = static_cast<uint32_t>(static_cast<uintptr_t>(lParam) & 0xFFFF);
    const auto high = static_cast<uint32_t>((static_cast<uintptr_t>(lParam) >> 16) & 0xFFFF);
    if (high == 0) return {.IconId = static_cast<uint32_t>(wParam), .Notification = low};
    // GET_X_LPARAM and GET_Y_LPARAM: signed, as an anchor left of or above the main screen is.
    const auto x = static_cast<int16_t>(wParam & 0xFFFF);
    const auto y = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
    return {.IconId = high, .Notification = low, .Anchor = {x, y}, .Version4 = true};
}

void TTrayIconLogic::HandleVersion4(uint32_t notification, fw::Point anchor) {
    using namespace trayNotify;
    const uint32_t previous = previous_;
    if (notification != kMouseMove) previous_ = notification;
    // Only a keyboard selection told again right after it is its echo.
    const bool echo = std::exchange(keySelectEcho_, false) && (notification == kSelect || notification == kKeySelect);
    if (!Enabled && (notification == kSelect || notification == kKeySelect || notification == kContextMenu)) return;
    switch (notification) {
        case kSelect:
            if (previous != kLeftUp) KeySelect(echo);
            return;
        case kKeySelect:
            KeySelect(echo);
            return;
        case kContextMenu:
            if (previous == kRightUp || previous == kRightDown) {
                HandleNotification(notification);  // the release, as the behaviour has it
            } else if (site_.MenuAutoPopup()) {
                site_.PopupMenuFromKeyboard(anchor);
            }
            return;
        default:
            HandleNotification(notification);
            return;
    }
}

void TTrayIconLogic::KeySelect(bool echo) {
    const uint32_t now = site_.TickCount();
    if (echo && now - keySelectTime_ < site_.DoubleClickTime()) return;
    keySelectEcho_ = true;
    keySelectTime_ = now;
    site_.DoKeySelect();
}

void TTrayIconLogic::LeftDown(TShiftState shift, fw::Point at) {
    if (site_.HasDblClickHandler()) site_.StartClickTimer(site_.DoubleClickTime());
    site_.DoMouseDown(mbLeft, shift, at.x, at.y);
    FClickStart = true;
    if (LeftPopup && site_.MenuAutoPopup()) site_.PopupMenuAtCursor();
}

void TTrayIconLogic::LeftUp(TShiftState shift, fw::Point at) {
    if (FClickStart) FClickReady = true;
    if (FClickStart && !site_.ClickTimerEnabled()) {
        FClickStart = false;
        FClickReady = false;
        site_.DoClick();
    }
    FClickStart = false;
    site_.DoMouseUp(mbLeft, shift, at.x, at.y);
}

void TTrayIconLogic::ClickTimerTick() {
    site_.StopClickTimer();
    if (!IsDblClick_ && FClickReady) {
        FClickReady = false;
        site_.DoClick();
    }
    IsDblClick_ = false;
}

void TTrayIconLogic::ExitTimerTick() {
    if (FDidExit) return;
    const fw::Point cursor = site_.CursorPos();
    if (cursor.x != LastMoveX || cursor.y != LastMoveY) {
        FDidExit = true;
        site_.DoMouseExit();
    }
}

std::u16string FirstUnits(const std::u16string& text, size_t units) {
    if (text.size() <= units) return text;
    size_t n = units;
    if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;  // no lone high surrogate
    return text.substr(0, n);
}

std::u16string TrayTipText(const std::u16string& Hint, bool ShowHint) {
    if (!ShowHint) return u"";
    return FirstUnits(Hint, kTipUnits - 1);
}

TBalloonHintData MakeBalloonHint(const std::u16string& Title,
                                 const std::u16string& Text,
                                 TBalloonHintIcon IconType,
                                 int TimeoutSecs) {
    TBalloonHintData data;
    data.Info = FirstUnits(Text, kInfoUnits - 1);
    data.Title = FirstUnits(Title, kInfoTitleUnits - 1);
    data.TimeoutMs = static_cast<uint32_t>(std::clamp(TimeoutSecs, 10, 60)) * 1000;
    data.InfoFlags = static_cast<uint32_t>(IconType);  // NIIF_NONE .. NIIF_USER are 0 .. 4
    return data;
}

int ClampIconIndex(int Value, bool HasList, int Count) {
    if (!HasList || Count <= 0) return 0;
    return std::clamp(Value, 0, Count - 1);
}

int NextCycleIndex(int index, int count) {
    return index < count - 1 ? index + 1 : 0;
}

}  // namespace corvalend
