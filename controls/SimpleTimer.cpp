// Timers on the one shared hidden window: arming, disarming and handing each expiry to its owner.
#include "controls/SimpleTimer.h"

#include "framework/ObjectIds.h"

namespace corvalend {

namespace {

TSimpleTimerHandler timerHandler;
// Expiries name their timer by number; only live timers are found.
fw::ObjectIds<TSimpleTimer> liveTimers;

}  // namespace

TSimpleTimerHandler* SimpleTimerHandler() {
    return timerHandler.RefCount() > 0 ? &timerHandler : nullptr;
}

TSimpleTimerHandler::TSimpleTimerHandler()
    : FWindowHandle([this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
          return TimerWindowProc(window, message, wParam, lParam);
      }) {}

LRESULT TSimpleTimerHandler::TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER) return DefWindowProcW(window, message, wParam, lParam);
    TSimpleTimer* timer = liveTimers.Find(wParam);
    if (timer == nullptr) return 0;
    if (timer->AutoDisable()) timer->Disarm(true);
    // A copy: the handler may free the timer (the last one takes the window with it).
    if (const TSimpleTimer::TNotifyEvent onTimer = timer->OnTimer()) onTimer(*timer);
    return 0;
}

TSimpleTimer::TSimpleTimer() {
    Init(1000, nullptr);
}

TSimpleTimer::TSimpleTimer(uint32_t AInterval, TNotifyEvent AOnTimer) {
    Init(AInterval, std::move(AOnTimer));
}

void TSimpleTimer::Init(uint32_t AInterval, TNotifyEvent AOnTimer) {
    timerHandler.AddTimer();
    FId = liveTimers.Add(this);
    FAutoDisable = false;
    FEnabled = false;
    FInterval = AInterval;
    SetOnTimer(std::move(AOnTimer));
}

TSimpleTimer::~TSimpleTimer() {
    if (FEnabled) Disarm(true);
    liveTimers.Remove(static_cast<uint32_t>(FId));
    timerHandler.RemoveTimer();
}

void TSimpleTimer::SetEnabled(bool Value) {
    if (Value) {
        Arm();
    } else {
        Disarm(true);
    }
}

void TSimpleTimer::SetInterval(uint32_t Value) {
    if (Value == FInterval) return;
    FInterval = Value;
    if (!FEnabled) return;
    if (Value != 0) {
        Arm();
    } else {
        Disarm(false);
    }
}

void TSimpleTimer::SetOnTimer(TNotifyEvent Value) {
    FOnTimer = std::move(Value);
    if (!FOnTimer && FEnabled) Disarm(false);
}

bool TSimpleTimer::Arm() {
    if (FInterval == 0) return false;
    if (FEnabled) Disarm(true);
    if (SetTimer(timerHandler.WindowHandle(), FId, FInterval, /*callback=*/nullptr) == 0) return false;
    FEnabled = true;
    ++timerHandler.ActiveCount_;
    return true;
}

void TSimpleTimer::Disarm(bool ClearEnabled) {
    if (ClearEnabled) FEnabled = false;
    if (KillTimer(timerHandler.WindowHandle(), FId) && timerHandler.ActiveCount_ > 0) --timerHandler.ActiveCount_;
}

}  // namespace corvalend
