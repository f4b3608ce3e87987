// The settings window's kept place: its text, and where the window opens from it.
#include <gtest/gtest.h>

#include "ui/WindowPlacementRules.h"

using namespace corvalend;

namespace {
// One monitor, 1920 x 1080 at the origin, where the window is at least 830 x 510.
struct OneMonitor final : MonitorLookup {
    std::optional<fw::Size> MinimumSizeOn(const fw::Bounds& b) const override {
        const bool meets = b.left < 1920 && b.top < 1080 && b.left + b.width > 0 && b.top + b.height > 0;
        return meets ? std::optional<fw::Size>({830, 510}) : std::nullopt;
    }
};
}  // namespace

TEST(WindowPlacement, TheKeptPlaceComesBackOnAnAttachedMonitorAtLeastAtTheMinimum) {
    const TWindowPlacement kept{.normal = {-8, 40, 1000, 700}, .maximized = true};
    EXPECT_EQ(PlacementToText(kept), u"-8,40,1000,700,1");
    const std::pair<std::u16string, std::optional<TWindowPlacement>> cases[] = {
        {u"-8,40,1000,700,1", kept},
        {u"100,50,300,200,0", TWindowPlacement{.normal = {100, 50, 830, 510}}},  // grown to the minimum
        {u"2000,50,900,600,0", std::nullopt},                                    // its monitor is gone
        {u"", std::nullopt},
        {u"1,2,3,4", std::nullopt},
        {u"1,2,3,4,0,5", std::nullopt},
        {u"1,2,0,4,0", std::nullopt},
        {u"1,2,3,4,2", std::nullopt},
        {u"1, 2,3,4,0", std::nullopt},
        {u"2147483647,2,3,4,0", std::nullopt}};
    for (const auto& [text, placement] : cases)
        EXPECT_EQ(RestoredPlacement(text, OneMonitor()), placement) << text.size();
}
