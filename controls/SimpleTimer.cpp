// The timer's states on a toolkit timer, and each expiry handed to its owner.
#include "controls/SimpleTimer.h"

namespace corvalend {

TSimpleTimer::TSimpleTimer() : timer_([this] { Expired(); }) {
    Init(1000, nullptr);
}

TSimpleTimer::TSimpleTimer(uint32_t AInterval, TNotifyEvent AOnTimer) : timer_([this] { Expired(); }) {
    Init(AInterval, std::move(AOnTimer));
}

void TSimpleTimer::Init(uint32_t AInterval, TNotifyEvent AOnTimer) {
    FAutoDisable = false;
    FEnabled = false;
    FInterval = AInterval;
    SetOnTimer(std::move(AOnTimer));
}

TSimpleTimer::~TSimpleTimer() {
    if (FEnabled) Disarm(true);
}

void TSimpleTimer::Expired() {
    if (FAutoDisable) Disarm(true);
    // A copy: the handler may free the timer.
    if (const TNotifyEvent onTimer = FOnTimer) onTimer(*this);
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
    if (!timer_.Start(FInterval)) return false;
    FEnabled = true;
    return true;
}

void TSimpleTimer::Disarm(bool ClearEnabled) {
    if (ClearEnabled) FEnabled = false;
    timer_.Stop();
}

}  // namespace corvalend
