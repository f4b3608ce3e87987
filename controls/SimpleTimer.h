// A lightweight timer that is not a window: a timer of the toolkit (a system timer on the one hidden
// window all timers share) whose expiries are the timer's OnTimer event.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/Timer.h"

namespace corvalend {

class TSimpleTimer {
public:
    using TNotifyEvent = std::function<void(TSimpleTimer& Sender)>;

    // A stopped timer of 1000 ms without a handler.
    TSimpleTimer();
    // A stopped timer with the given interval and handler.
    TSimpleTimer(uint32_t AInterval, TNotifyEvent AOnTimer);
    ~TSimpleTimer();
    TSimpleTimer(const TSimpleTimer&) = delete;
    TSimpleTimer& operator=(const TSimpleTimer&) = delete;

    static std::unique_ptr<TSimpleTimer> Create() { return std::make_unique<TSimpleTimer>(); }
    static std::unique_ptr<TSimpleTimer> CreateEx(uint32_t AInterval, TNotifyEvent AOnTimer) {
        return std::make_unique<TSimpleTimer>(AInterval, std::move(AOnTimer));
    }

    // Switching on (re)starts the period; it does nothing while the interval is 0.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    // A new non-zero interval restarts a timer that is on; 0 stops it while it stays on.
    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t Value);
    // Switches off at the first expiry, before OnTimer runs.
    bool AutoDisable() const { return FAutoDisable; }
    void SetAutoDisable(bool Value) { FAutoDisable = Value; }
    int Tag() const { return FTag; }
    void SetTag(int Value) { FTag = Value; }
    // Taking the handler away stops the system timer while the timer stays on.
    const TNotifyEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent Value);

    // Starts the system timer; false when the interval is 0 or the system refuses (the timer is
    // then off).
    bool Arm();
    // Stops the system timer, and switches the timer off when asked to.
    void Disarm(bool ClearEnabled);

    // The identifier of the system timer on the shared window.
    UINT_PTR Id() const { return timer_.Id(); }

private:
    void Init(uint32_t AInterval, TNotifyEvent AOnTimer);
    void Expired();

    fw::Timer timer_;
    bool FEnabled = false;
    uint32_t FInterval = 0;
    bool FAutoDisable = false;
    int FTag = 0;
    TNotifyEvent FOnTimer;
};

}  // namespace corvalend
