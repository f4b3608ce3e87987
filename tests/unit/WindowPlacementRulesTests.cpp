// The settings window's kept place: its text, and where the window opens from it.
#include <gtest/gtest.h>

#include "ui/WindowPlacementRules.h"

using namespace corvalend;

struct OneMonitor final : MonitorLookup {  // 1920 x 1080 at the origin less a taskbar, the window at least 830 x 510
    std::optional<TMonitorRoom> MonitorOf(const fw::Bounds& b) const override {
        if (b.left >= 1920 || b.top >= 1080 || b.left + b.width <= 0 || b.top + b.height <= 0) return std::nullopt;
        return TMonitorRoom{{0, 0, 1920, 1040}, {830, 510}};
    }
};

TEST(WindowPlacement, TheKeptPlaceComesBackOnAnAttachedMonitorAtLeastAtTheMinimum) {
    EXPECT_EQ(PlacementToText({{-8, 40, 1000, 700}, true}), u"-8,40,1000,700,1");
    const std::pair<std::u16string, std::optional<TWindowPlacement>> cases[] = {
        {u"8,40,1000,700,1", TWindowPlacement{{8, 40, 1000, 700}, true}},
        {u"100,50,300,200,0", TWindowPlacement{{100, 50, 830, 510}, false}},
        {u"-300,900,2560,1400,0", TWindowPlacement{{0, 0, 1920, 1040}, false}},
        {u"1500,-20,900,600,0", TWindowPlacement{{1020, 0, 900, 600}, false}},
        {u"2000,50,900,600,0", std::nullopt},
        {u"", std::nullopt},
        {u"1,2,3,4", std::nullopt},
        {u"1,2,3,4,0,5", std::nullopt},
        {u"1,2,0,4,0", std::nullopt},
        {u"1,2,3,4,2", std::nullopt},
        {u"1, 2,3,4,0", std::nullopt},
        {u"2147483647,2,3,4,0", std::nullopt}};
    for (const auto& [text, placement] : cases) EXPECT_EQ(RestoredPlacement(text, OneMonitor()), placement);
}
