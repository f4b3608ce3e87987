// The decision before an action on the foreground window, its notice, and how often the notice shows.
#include "core/ElevationRules.h"

#include <algorithm>
#include <iterator>

namespace corvalend {

namespace {

// What user-interface privilege isolation does to each action against a window run as administrator.
// Not here: the capture only reads the screen's pixels, which isolation allows; the other actions
// start programs or use the clipboard and never touch the window in front.
constexpr THotKeyFunc kForegroundActions[] = {
    hkfSendKeys,  // synthetic input to a higher-level window is dropped, and SendInput reports success
    hkfClose,     // WM_CLOSE posted to a higher-level window is dropped
    hkfMinimize,  // WM_SYSCOMMAND SC_MINIMIZE posted to a higher-level window is dropped
    hkfMaximize,  // ShowWindow, like SetWindowPos, may not move or size a higher-level window
};

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

bool ActsOnForegroundWindow(THotKeyFunc func) {
    return std::any_of(std::begin(kForegroundActions), std::end(kForegroundActions),
                       [func](THotKeyFunc action) { return action == func; });
}

bool WindowOutOfReach(std::optional<uint32_t> ownLevel, const WindowInFront& window) {
    if (window.id == 0 || !ownLevel) return false;
    return !window.level || *window.level > *ownLevel;
}

std::u16string CutTitle(std::u16string_view title) {
    size_t units = 0;
    for (size_t characters = 0; units < title.size() && characters < kNoticeTitleCharacters; ++characters) {
        const bool pair = IsHighSurrogate(title[units]) && units + 1 < title.size() && IsLowSurrogate(title[units + 1]);
        units += pair ? 2 : 1;
    }
    return std::u16string(title.substr(0, units));
}

std::u16string OutOfReachNotice(std::u16string_view title) {
    return u"Windows does not let Corvalend act on \"" + CutTitle(title) + u"\" because it runs as administrator.";
}

bool NoticeLimiter::Allow(uint64_t window, uint64_t nowMs) {
    // Windows not refused for a minute are forgotten, so the memory stays as small as the minute's notices.
    std::erase_if(lastShown_, [nowMs](const auto& entry) { return nowMs - entry.second >= kIntervalMs; });
    return lastShown_.try_emplace(window, nowMs).second;
}

bool ForegroundGuard::MayRun(THotKeyFunc func) {
    if (!ActsOnForegroundWindow(func)) return true;
    const WindowInFront window = levels_.Foreground();
    if (!WindowOutOfReach(levels_.OwnLevel(), window)) return true;
    if (notices_ != nullptr && limiter_.Allow(window.id, clock_())) {
        notices_->ShowNotice(kNoticeTitle, OutOfReachNotice(window.title));
    }
    return false;
}

}  // namespace corvalend
