// A capture taken some seconds after its hotkey, so that a menu or a tooltip can be opened first:
// the delay a capture hotkey keeps in its parameter, and the countdowns that run meanwhile, shown in
// the tray icon's tip.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Hotkeys.h"
#include "core/Notices.h"

namespace corvalend {

inline constexpr char16_t kDelayCaption[] = u"Delay in seconds";
inline constexpr char16_t kDelayProblemText[] = u"The delay must be a whole number of seconds from 1 to 30.";
inline constexpr int kLongestDelay = 30;

// True for the two capture actions, whose parameter is their delay.
bool TakesDelay(THotKeyFunc func);
// The delay a parameter asks for: 0 for an empty or blank one, 1 to 30 for such a whole number
// (blanks around it allowed); nothing for anything else.
std::optional<int> ParseDelay(std::u16string_view params);
// The delay a stored capture hotkey runs with: a parameter the editors would refuse (one left from
// another action, or written by hand) means no delay, as before delays existed.
int StoredDelay(std::u16string_view params);
// How the overview popup shows a delay: "Delay 5 s"; "" for none.
std::u16string DelayText(std::u16string_view params);
// "Capture in 3 s".
std::u16string CountdownText(int seconds);

// The one-shot timer the countdowns wake at.
class CountdownTimer {
public:
    virtual ~CountdownTimer() = default;
    virtual void Start(uint32_t milliseconds) = 0;
    virtual void Stop() = 0;
};

// The captures waiting for their delay. Each hotkey counts down on its own; the tip shows the one
// that comes soonest, and the usual tip again once none waits. Times are monotonic milliseconds.
class CaptureCountdowns {
public:
    CaptureCountdowns(CountdownTimer& timer, Notices* tip) : timer_(timer), tip_(tip) {}

    enum class PressResult { CaptureNow, Started, Cancelled };
    // A press of a capture hotkey: a second press during its own countdown cancels it; otherwise
    // with a delay it starts counting down, and without one the capture is taken at once.
    PressResult Press(int32_t key, int32_t shift, THotKeyFunc func, int seconds, uint64_t now);
    // The timer woke: `capture` takes each capture whose time has come, then the tip and the timer
    // follow the rest, so that the usual tip comes back only once the capture window is there.
    void Tick(uint64_t now, const std::function<void(THotKeyFunc)>& capture);

private:
    struct Countdown {
        int32_t key;
        int32_t shift;
        THotKeyFunc func;
        uint64_t due;
    };
    void Show(uint64_t now);

    CountdownTimer& timer_;
    Notices* tip_;
    std::vector<Countdown> waiting_;
};

}  // namespace corvalend
