// Timers on the shared hidden window: each expiry goes to its timer by the timer's number.
#include "framework/Timer.h"

#include <windows.h>

#include <utility>

namespace fw {

namespace {

HiddenWindow timerWindow(WM_TIMER);
uint32_t runningTimers = 0;

}  // namespace

Timer::Timer(std::function<void()> onExpiry)
    : member_(timerWindow.Add([onExpiry = std::move(onExpiry)](intptr_t) {
          if (onExpiry) onExpiry();
      })) {}

bool Timer::Start(uint32_t milliseconds) {
    Stop();
    if (SetTimer(timerWindow.Handle(), Id(), milliseconds, /*callback=*/nullptr) == 0) return false;
    running_ = true;
    ++runningTimers;
    return true;
}

void Timer::Stop() {
    if (!running_) return;
    KillTimer(timerWindow.Handle(), Id());
    running_ = false;
    --runningTimers;
}

const HiddenWindow& Timer::SharedWindow() {
    return timerWindow;
}

uint32_t Timer::RunningCount() {
    return runningTimers;
}

}  // namespace fw
