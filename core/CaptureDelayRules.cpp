// The capture delay's parameter, and the countdowns with their tip and timer.
#include "core/CaptureDelayRules.h"

#include <algorithm>

#include "framework/Text.h"

namespace corvalend {

namespace {

constexpr uint64_t kSecondMs = 1000;

}  // namespace

bool TakesDelay(THotKeyFunc func) {
    return func == hkfCaptureWindow || func == hkfCaptureScreen;
}

std::optional<int> ParseDelay(std::u16string_view params) {
    const std::u16string_view text = fw::Trim(params);
    if (text.empty()) return 0;
    int seconds = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return std::nullopt;
        // Held just above the range, so that a long number cannot overflow.
        seconds = std::min(seconds * 10 + (c - u'0'), kLongestDelay + 1);
    }
    if (seconds < 1 || seconds > kLongestDelay) return std::nullopt;
    return seconds;
}

int StoredDelay(std::u16string_view params) {
    return ParseDelay(params).value_or(0);
}

std::u16string DelayText(std::u16string_view params) {
    const int seconds = StoredDelay(params);
    return seconds == 0 ? u"" : u"Delay " + fw::IntToStr(seconds) + u" s";
}

std::u16string CountdownText(int seconds) {
    return u"Capture in " + fw::IntToStr(seconds) + u" s";
}

CaptureCountdowns::PressResult CaptureCountdowns::Press(int32_t key,
                                                        int32_t shift,
                                                        THotKeyFunc func,
                                                        int seconds,
                                                        uint64_t now) {
    const auto same = [&](const Countdown& waiting) { return waiting.key == key && waiting.shift == shift; };
    PressResult result = PressResult::Started;
    if (std::erase_if(waiting_, same) > 0) {
        result = PressResult::Cancelled;
    } else if (seconds <= 0) {
        return PressResult::CaptureNow;
    } else {
        waiting_.push_back({key, shift, func, now + static_cast<uint64_t>(seconds) * kSecondMs});
    }
    Show(now);
    return result;
}

void CaptureCountdowns::Tick(uint64_t now, const std::function<void(THotKeyFunc)>& capture) {
    std::vector<THotKeyFunc> due;
    std::erase_if(waiting_, [&](const Countdown& waiting) {
        if (waiting.due > now) return false;
        due.push_back(waiting.func);
        return true;
    });
    try {
        for (const THotKeyFunc func : due) capture(func);
    } catch (...) {
        Show(now);
        throw;
    }
    Show(now);
}

void CaptureCountdowns::Show(uint64_t now) {
    if (waiting_.empty()) {
        timer_.Stop();
        if (tip_ != nullptr) tip_->ShowCountdown(u"");
        return;
    }
    uint64_t soonest = UINT64_MAX;
    uint64_t wake = kSecondMs;
    for (const Countdown& waiting : waiting_) {
        // One the timer has not come to yet counts as due within the millisecond.
        const uint64_t left = waiting.due > now ? waiting.due - now : 1;
        soonest = std::min(soonest, left);
        // The next moment this countdown's whole seconds change.
        wake = std::min(wake, (left - 1) % kSecondMs + 1);
    }
    if (tip_ != nullptr) tip_->ShowCountdown(CountdownText(static_cast<int>((soonest + kSecondMs - 1) / kSecondMs)));
    timer_.Start(static_cast<uint32_t>(wake));
}

}  // namespace corvalend
