// The decision before an action on the window in front, its notice and its limit, with a fake system.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/ElevationRules.h"

using namespace corvalend;

namespace {

struct FakeSystem final : IntegrityLevels, Notices {
    WindowInFront front{.id = 7, .level = kHighIntegrity, .title = u"Admin"};
    uint64_t now = 0;
    std::vector<std::u16string> shown;
    std::optional<uint32_t> OwnLevel() override { return kMediumIntegrity; }
    WindowInFront Foreground() override { return front; }
    void ShowNotice(const std::u16string& title, const std::u16string& text) override { shown.push_back(title + text); }
};

constexpr std::optional<uint32_t> kUnreadable;

}  // namespace

TEST(ElevationRules, HigherOrUnreadableLevelsAreOutOfReach) {
    const struct {
        std::optional<uint32_t> own, level;
        uint64_t window;
        bool out;
    } cases[] = {{kMediumIntegrity, kMediumIntegrity, 1, false}, {kMediumIntegrity, kMediumPlusIntegrity, 1, true},
                 {kMediumIntegrity, kHighIntegrity, 1, true},    {kMediumIntegrity, kUnreadable, 1, true},
                 {kHighIntegrity, kMediumIntegrity, 1, false},   {kLowIntegrity, kMediumIntegrity, 1, true},
                 {kMediumIntegrity, kUnreadable, 0, false},      {kUnreadable, kSystemIntegrity, 1, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(WindowOutOfReach(c.own, {.id = c.window, .level = c.level}), c.out)
            << c.own.value_or(99) << " against " << c.level.value_or(99) << " in window " << c.window;
    }
}

TEST(ElevationRules, NoticeCutsTheTitleToWholeCharacters) {
    const std::u16string a63(63, u'a'), pair = u"\U0001F600";
    const std::u16string cases[][2] = {{a63 + u"bc", a63 + u"b"},
                                       {a63 + pair + u"c", a63 + pair},
                                       {a63 + u"b" + pair, a63 + u"b"},
                                       {a63 + u'\xD800' + u"c", a63 + u'\xD800'}};
    for (const auto& [title, cut] : cases) EXPECT_EQ(CutTitle(title), cut) << title.size() << " units";
}

TEST(ElevationRules, RefusedActionsAreNotRunAndNoticedOnceAMinutePerWindow) {
    FakeSystem system;
    ForegroundGuard guard(system, [&] { return system.now; });
    guard.SetNotices(&system);
    for (int func = 0; func < kHotKeyFuncCount; ++func) {
        const auto f = static_cast<THotKeyFunc>(func);
        const bool onWindow = f == hkfSendKeys || f == hkfClose || f == hkfMinimize || f == hkfMaximize;
        EXPECT_EQ(guard.MayRun(f), !onWindow) << "action " << func;
    }
    system.now = 59999;
    system.front.id = 8;  // another window has its own minute
    EXPECT_FALSE(guard.MayRun(hkfClose));
    system.front.id = 7;
    EXPECT_FALSE(guard.MayRun(hkfClose));
    system.now = 60000;
    EXPECT_FALSE(guard.MayRun(hkfClose));
    const std::u16string notice =
        u"CorvalendWindows does not let Corvalend act on \"Admin\" because it runs as administrator.";
    EXPECT_EQ(system.shown, (std::vector<std::u16string>{notice, notice, notice}));
    system.front.level = kMediumIntegrity;
    EXPECT_TRUE(guard.MayRun(hkfSendKeys));
}
