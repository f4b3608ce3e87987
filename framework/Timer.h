// A timer that is not a window: a system timer on the one hidden window all timers of the program
// share, made with the first timer and gone with the last. Its number there is the system timer's
// identifier.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/HiddenWindow.h"

namespace fw {

class Timer {
public:
    // A stopped timer; `onExpiry` runs at each expiry while it runs, and may free it. Raises the
    // system's error when the shared window cannot be made.
    explicit Timer(std::function<void()> onExpiry);
    ~Timer() { Stop(); }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Starts the timer, or its period anew; false when the system refuses (it then does not run).
    bool Start(uint32_t milliseconds);
    void Stop();
    bool Running() const { return running_; }
    // The identifier of the system timer on the shared window.
    uint32_t Id() const { return member_.Number(); }

    // The window the timers share, and the number of timers running now.
    static const HiddenWindow& SharedWindow();
    static uint32_t RunningCount();

private:
    HiddenWindow::Member member_;
    bool running_ = false;
};

}  // namespace fw
