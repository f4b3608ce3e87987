// Acting on the window in front only where Windows lets us. The system's user-interface privilege
// isolation drops the input and the window messages a process sends to a window of a process at a
// higher integrity level (one run as administrator), and the sending calls report success all the
// same. So before an action that reaches into the foreground window the levels are compared; when
// Windows would drop the action it is not run, and the user gets a notice instead of a hotkey that
// seems to do nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/Hotkeys.h"
#include "core/Notices.h"

namespace corvalend {

// The integrity levels Windows knows: the last sub-authority of a token's mandatory label.
inline constexpr uint32_t kUntrustedIntegrity = 0x0000;
inline constexpr uint32_t kLowIntegrity = 0x1000;
inline constexpr uint32_t kMediumIntegrity = 0x2000;
inline constexpr uint32_t kMediumPlusIntegrity = 0x2100;
inline constexpr uint32_t kHighIntegrity = 0x3000;
inline constexpr uint32_t kSystemIntegrity = 0x4000;
inline constexpr uint32_t kProtectedIntegrity = 0x5000;

// True for the actions that send input or window messages to the foreground window.
bool ActsOnForegroundWindow(THotKeyFunc func);

// The window in front as the decision needs it.
struct WindowInFront {
    uint64_t id = 0;  // 0: no window is in front
    // Its process's integrity level; nothing when the process (or its token) cannot be opened,
    // which a process run as administrator refuses to one that is not.
    std::optional<uint32_t> level;
    std::u16string title;
};

// What the decision asks of the system.
class IntegrityLevels {
public:
    virtual ~IntegrityLevels() = default;
    // Our own process's level; nothing when the system does not tell it.
    virtual std::optional<uint32_t> OwnLevel() = 0;
    virtual WindowInFront Foreground() = 0;
};

// True when Windows drops what we send to the window: its process's level is higher than ours, or
// cannot be read. No window in front, or our own level unknown, refuses nothing.
bool WindowOutOfReach(std::optional<uint32_t> ownLevel, const WindowInFront& window);

// A window title is cut to this many characters in the notice.
inline constexpr size_t kNoticeTitleCharacters = 64;
// The first 64 characters of the title. A character beyond the basic plane (a surrogate pair) counts
// as one and is never split: it is kept or dropped whole. A lone surrogate unit counts as one too.
std::u16string CutTitle(std::u16string_view title);
// "Windows does not let Corvalend act on "<title cut to 64 characters>" because it runs as administrator."
std::u16string OutOfReachNotice(std::u16string_view title);
inline constexpr char16_t kNoticeTitle[] = u"Corvalend";

// At most one notice a minute for the same window.
class NoticeLimiter {
public:
    static constexpr uint64_t kIntervalMs = 60 * 1000;
    // True, and remembered, when no notice for the window was allowed within the last minute.
    bool Allow(uint64_t window, uint64_t nowMs);

private:
    std::map<uint64_t, uint64_t> lastShown_;  // window -> when; only entries younger than a minute
};

// The decision before each action, with the notice it may bring.
class ForegroundGuard {
public:
    // `clock` gives monotonic milliseconds.
    ForegroundGuard(IntegrityLevels& levels, std::function<uint64_t()> clock)
        : levels_(levels), clock_(std::move(clock)) {}
    // Where notices go; without one a refused action is still not run.
    void SetNotices(Notices* notices) { notices_ = notices; }
    // True when the action may run. False when Windows would drop it; the user is told then, at most
    // once a minute for the same window.
    bool MayRun(THotKeyFunc func);

private:
    IntegrityLevels& levels_;
    std::function<uint64_t()> clock_;
    Notices* notices_ = nullptr;
    NoticeLimiter limiter_;
};

}  // namespace corvalend
