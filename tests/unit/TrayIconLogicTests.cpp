// The tray icon's notification rules with a simulated clock: clicks told apart from double clicks,
// the popup menu, enter/exit, and the texts and numbers of the notify-icon record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/TrayIconLogic.h"
#include "framework/ObjectIds.h"

using namespace corvalend;

namespace {

using namespace trayNotify;

constexpr uint32_t kDoubleClickTime = 500;

// Records every event with the simulated time; the click timer runs on the same clock.
class FakeSite final : public TrayIconSite {
public:
    TTrayIconLogic logic{*this};
    std::vector<std::string> events;
    bool dblClickHandler = true;
    bool menu = false;
    TShiftState shift = 0;
    fw::Point cursor{100, 200};

    // Lets simulated time pass, running the click timer when it is due.
    void Advance(uint32_t ms) {
        const uint32_t end = now_ + ms;
        while (timerRunning_ && timerDue_ <= end) {
            now_ = timerDue_;
            logic.ClickTimerTick();
        }
        now_ = end;
    }
    void Send(uint32_t notification) { logic.HandleNotification(notification); }

    TShiftState CurrentShiftState() const override { return shift; }
    fw::Point CursorPos() const override { return cursor; }
    uint32_t DoubleClickTime() const override { return kDoubleClickTime; }
    void StartClickTimer(uint32_t interval) override {
        timerRunning_ = true;
        timerDue_ = now_ + interval;
    }
    void StopClickTimer() override { timerRunning_ = false; }
    bool ClickTimerEnabled() const override { return timerRunning_; }
    bool MenuAutoPopup() const override { return menu; }
    void PopupMenuAtCursor() override { Record("popup"); }
    void ClickDefaultMenuItem() override { Record("default-item"); }
    void PopupMenuFromKeyboard(fw::Point p) override {
        Record("key-menu " + std::to_string(p.x) + "," + std::to_string(p.y));
    }
    uint32_t TickCount() const override { return now_; }
    void DoKeySelect() override { Record("key-select"); }
    bool HasDblClickHandler() const override { return dblClickHandler; }
    void DoClick() override { Record("click"); }
    void DoDblClick() override { Record("dblclick"); }
    void DoMouseDown(TMouseButton button, TShiftState s, int x, int y) override { Mouse("down", button, s, x, y); }
    void DoMouseUp(TMouseButton button, TShiftState s, int x, int y) override { Mouse("up", button, s, x, y); }
    void DoMouseMove(TShiftState, int x, int y) override {
        Record("move " + std::to_string(x) + "," + std::to_string(y));
    }
    void DoMouseEnter() override { Record("enter"); }
    void DoMouseExit() override { Record("exit"); }
    void DoBalloonHintShow() override { Record("balloon-show"); }
    void DoBalloonHintHide() override { Record("balloon-hide"); }
    void DoBalloonHintTimeout() override { Record("balloon-timeout"); }
    void DoBalloonHintClick() override { Record("balloon-click"); }

private:
    void Record(const std::string& what) { events.push_back(what + "@" + std::to_string(now_)); }
    void Mouse(const char* what, TMouseButton button, TShiftState s, int x, int y) {
        static const char* const names[] = {"left", "right", "middle"};
        Record(std::string(what) + " " + names[button] + " shift=" + std::to_string(s) + " " + std::to_string(x) + "," +
               std::to_string(y));
    }

    uint32_t now_ = 0;
    bool timerRunning_ = false;
    uint32_t timerDue_ = 0;
};

using Events = std::vector<std::string>;

}  // namespace

TEST(TrayIconLogic, SingleClickFiresOnceAtTheDoubleClickTimeAfterThePress) {
    FakeSite site;
    site.Send(kLeftDown);
    site.Advance(120);
    site.Send(kLeftUp);
    site.Advance(379);
    EXPECT_EQ(site.events, (Events{"down left shift=8 100,200@0", "up left shift=8 100,200@120"}));
    site.Advance(2000);
    EXPECT_EQ(site.events, (Events{"down left shift=8 100,200@0", "up left shift=8 100,200@120", "click@500"}));
    EXPECT_FALSE(site.logic.ClickReady());
    EXPECT_FALSE(site.logic.ClickStart());
}

TEST(TrayIconLogic, DoubleClickFiresOnlyTheDoubleClickAtTheSecondPress) {
    FakeSite site;
    site.Send(kLeftDown);
    site.Advance(100);
    site.Send(kLeftUp);
    site.Advance(100);
    // The shell reports the second press as a double click.
    site.Send(kLeftDoubleClick);
    site.Advance(100);
    site.Send(kLeftUp);
    site.Advance(2000);
    EXPECT_EQ(site.events, (Events{"down left shift=8 100,200@0", "up left shift=8 100,200@100", "dblclick@200",
                                   "up left shift=8 100,200@300"}));
    EXPECT_FALSE(site.logic.IsDblClick());  // the timer's expiry cleared it

    // The next single click works as before.
    site.events.clear();
    site.Send(kLeftDown);
    site.Send(kLeftUp);
    site.Advance(500);
    EXPECT_EQ(site.events.back(), "click@2800");
}

TEST(TrayIconLogic, HeldPressFiresAtTheRelease) {
    FakeSite site;
    site.Send(kLeftDown);
    site.Advance(800);
    EXPECT_EQ(site.events.size(), 1u);  // nothing at the timer's expiry: no click is ready
    site.Send(kLeftUp);
    EXPECT_EQ(site.events, (Events{"down left shift=8 100,200@0", "click@800", "up left shift=8 100,200@800"}));
    site.Advance(2000);
    EXPECT_EQ(site.events.size(), 3u);
}

TEST(TrayIconLogic, WithoutDoubleClickHandlerEveryReleaseClicksAtOnce) {
    FakeSite site;
    site.dblClickHandler = false;
    site.Send(kLeftDown);
    site.Advance(50);
    site.Send(kLeftUp);
    site.Advance(50);
    site.Send(kLeftDown);
    site.Send(kLeftUp);
    site.Advance(1000);
    EXPECT_EQ(site.events, (Events{"down left shift=8 100,200@0", "click@50", "up left shift=8 100,200@50",
                                   "down left shift=8 100,200@100", "click@100", "up left shift=8 100,200@100"}));
    // A release without a press is no click.
    site.events.clear();
    site.Send(kLeftUp);
    EXPECT_EQ(site.events, (Events{"up left shift=8 100,200@1100"}));
}

TEST(TrayIconLogic, RightPressOpensTheMenuBeforeTheRelease) {
    FakeSite site;
    site.menu = true;
    site.shift = ssCtrl | ssShift;
    site.Send(kRightDown);
    EXPECT_EQ(site.events, (Events{"down right shift=21 100,200@0", "popup@0"}));
    site.Send(kRightUp);
    EXPECT_EQ(site.events.back(), "up right shift=21 100,200@0");

    // Without a menu that pops up by itself only the mouse events come.
    site.events.clear();
    site.menu = false;
    site.Send(kRightDown);
    EXPECT_EQ(site.events, (Events{"down right shift=21 100,200@0"}));
}

TEST(TrayIconLogic, DisabledIgnoresTheMouseButNotTheBalloon) {
    FakeSite site;
    site.menu = true;
    site.logic.Enabled = false;
    for (uint32_t n : {kMouseMove, kLeftDown, kLeftUp, kLeftDoubleClick, kRightDown, kRightUp, kMiddleDown, kMiddleUp,
                       kContextMenu, kSelect, kKeySelect}) {
        site.Send(n);
    }
    site.Advance(1000);
    EXPECT_TRUE(site.events.empty());
    for (uint32_t n : {kBalloonShow, kBalloonHide, kBalloonTimeout, kBalloonClick}) site.Send(n);
    EXPECT_EQ(site.events,
              (Events{"balloon-show@1000", "balloon-hide@1000", "balloon-timeout@1000", "balloon-click@1000"}));
}

TEST(TrayIconLogic, LeftPopupOpensOnTheLeftPressAndSkipsTheDefaultItem) {
    FakeSite site;
    site.menu = true;
    site.Send(kLeftDoubleClick);
    EXPECT_EQ(site.events, (Events{"dblclick@0", "default-item@0"}));

    site.events.clear();
    site.logic.LeftPopup = true;
    site.Send(kLeftDown);
    EXPECT_EQ(site.events, (Events{"down left shift=8 100,200@0", "popup@0"}));
    site.events.clear();
    site.Send(kLeftDoubleClick);
    EXPECT_EQ(site.events, (Events{"dblclick@0"}));
}

TEST(TrayIconLogic, ReleaseOfTheRightButtonFollowsTheBehavior) {
    FakeSite site;
    for (uint32_t n : {kRightUp, kContextMenu, kSelect, kKeySelect}) site.Send(n);
    EXPECT_EQ(site.events, (Events{"up right shift=16 100,200@0"}));
    site.events.clear();
    site.logic.Behavior = bhWin2000;
    for (uint32_t n : {kRightUp, kContextMenu, kSelect, kKeySelect}) site.Send(n);
    EXPECT_EQ(site.events.size(), 3u);
    // Middle button and unknown notifications.
    site.events.clear();
    site.Send(kMiddleDown);
    site.Send(kMiddleUp);
    site.Send(0x0206);  // right double click: not handled
    site.Send(0x1234);
    EXPECT_EQ(site.events, (Events{"down middle shift=32 100,200@0", "up middle shift=32 100,200@0"}));
}

// The fourth version as the shell sends it: the mouse's clicks followed by NIN_SELECT and
// WM_CONTEXTMENU act exactly as the earlier layout's; only the keyboard's open anything more.
TEST(TrayIconLogic, Version4KeepsTheMouseAndAddsTheKeyboard) {
    const std::string left = "down left shift=8 100,200@0", leftUp = "up left shift=8 100,200@0";
    const std::string down = "down right shift=16 100,200@0", up = "up right shift=16 100,200@0";
    const struct {  // the anchor: 40, -5
        std::vector<uint32_t> sent;
        TBehavior behavior;
        Events expected;
    } cases[] = {
        {{kLeftDown, kLeftUp, kSelect}, bhWin95, {left, leftUp}},
        {{kRightDown, kMouseMove, kRightUp, kContextMenu}, bhWin95, {down, "popup@0", "move 100,200@0", up}},
        {{kRightDown, kRightUp, kContextMenu}, bhWin2000, {down, "popup@0", up}},
        {{kSelect}, bhWin95, {"key-select@0"}},                                          // Space
        {{kKeySelect, kKeySelect}, bhWin95, {"key-select@0"}},                           // Enter, told twice
        {{kKeySelect, kKeySelect, kSelect}, bhWin95, {"key-select@0", "key-select@0"}},  // Esc, then Space
        {{kMouseMove, kContextMenu}, bhWin95, {"move 100,200@0", "key-menu 40,-5@0"}},
        {{kLeftDown, kLeftUp, kSelect, kContextMenu}, bhWin2000, {left, leftUp, "key-menu 40,-5@0"}},
    };
    for (const auto& c : cases) {
        FakeSite site;
        site.dblClickHandler = false;
        site.menu = true;
        site.logic.Behavior = c.behavior;
        for (uint32_t n : c.sent) {
            const TrayCallback callback = DecodeTrayCallback(0xFFFB'0028u, static_cast<intptr_t>(n | 7 << 16));
            if (callback.IconId == 7 && callback.Version4) site.logic.HandleVersion4(n, callback.Anchor);
        }
        std::erase(site.events, "click@0");
        EXPECT_EQ(site.events, c.expected) << c.sent.size() << " notifications";
    }
}

TEST(TrayIconLogic, Version4KeyboardOpensOncePerPressAndNotWhenDisabled) {
    FakeSite site;
    site.logic.HandleVersion4(kKeySelect, {});
    site.Advance(kDoubleClickTime - 1);
    site.logic.HandleVersion4(kKeySelect, {});  // the same Enter's second notification
    site.Advance(1);
    site.logic.HandleVersion4(kSelect, {});  // the next press
    site.logic.Enabled = false;
    site.Advance(kDoubleClickTime);
    for (uint32_t n : {kKeySelect, kSelect, kContextMenu}) site.logic.HandleVersion4(n, {});
    EXPECT_EQ(site.events, (Events{"key-select@0", "key-select@500"}));
}

TEST(TrayIconLogic, EnterAndExitOnlyWhenWanted) {
    FakeSite site;
    site.Send(kMouseMove);
    site.logic.ExitTimerTick();
    EXPECT_EQ(site.events, (Events{"move 100,200@0"}));

    site.events.clear();
    site.logic.WantEnterExitEvents = true;
    site.Send(kMouseMove);
    site.Send(kMouseMove);
    EXPECT_EQ(site.events, (Events{"enter@0", "move 100,200@0", "move 100,200@0"}));
    site.logic.ExitTimerTick();  // the cursor has not moved: still inside
    EXPECT_FALSE(site.logic.DidExit());
    site.cursor = {100, 201};
    site.logic.ExitTimerTick();
    site.logic.ExitTimerTick();
    EXPECT_TRUE(site.logic.DidExit());
    EXPECT_EQ(site.events.back(), "exit@0");
    EXPECT_EQ(site.events.size(), 4u);
}

TEST(TrayIconLogic, RecordTexts) {
    const std::u16string hint(200, u'h');
    EXPECT_EQ(TrayTipText(hint, true), std::u16string(127, u'h'));
    EXPECT_EQ(TrayTipText(hint, false), u"");
    EXPECT_EQ(TrayTipText(u"", true), u"");
    EXPECT_EQ(TrayTipText(u"Corvalend", true), u"Corvalend");

    const TBalloonHintData balloon =
        MakeBalloonHint(std::u16string(80, u't'), std::u16string(300, u'x'), bitWarning, 10);
    EXPECT_EQ(balloon.Info, std::u16string(255, u'x'));
    EXPECT_EQ(balloon.Title, std::u16string(63, u't'));
    EXPECT_EQ(balloon.TimeoutMs, 10000u);
    EXPECT_EQ(balloon.InfoFlags, 2u);
    EXPECT_EQ(MakeBalloonHint(u"", u"", bitNone, 60).TimeoutMs, 60000u);
    EXPECT_EQ(MakeBalloonHint(u"", u"", bitCustom, 0).TimeoutMs, 10000u);  // within 10..60 seconds
    EXPECT_EQ(MakeBalloonHint(u"", u"", bitCustom, 61).InfoFlags, 4u);

    // A character outside the basic plane is kept whole or left out, never cut in half.
    std::u16string emoji(126, u'a');
    emoji += u"\U0001F600";
    EXPECT_EQ(TrayTipText(emoji, true), std::u16string(126, u'a'));
    EXPECT_EQ(FirstUnits(u"ab\U0001F600", 4), u"ab\U0001F600");
}

TEST(TrayIconLogic, IconIndexAndCyclingAndVersion) {
    EXPECT_EQ(ClampIconIndex(5, true, 1), 0);
    EXPECT_EQ(ClampIconIndex(2, true, 4), 2);
    EXPECT_EQ(ClampIconIndex(4, true, 4), 3);
    EXPECT_EQ(ClampIconIndex(3, false, 0), 0);
    EXPECT_EQ(ClampIconIndex(0, true, 0), 0);  // an empty list has no image -1
    EXPECT_EQ(ClampIconIndex(-2, true, 3), 0);
    EXPECT_EQ(NextCycleIndex(0, 3), 1);
    EXPECT_EQ(NextCycleIndex(2, 3), 0);  // the next image really shown, not one past the end
    EXPECT_EQ(NextCycleIndex(0, 1), 0);
    EXPECT_EQ(kTrayIconFlags, 0x07u);
}

TEST(ObjectIds, NumbersAreNotReusedWhileTheCounterRuns) {
    fw::ObjectIds<int*> ids;
    int a = 0, b = 0;
    const uint32_t first = ids.Add(&a);
    const uint32_t second = ids.Add(&b);
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    ASSERT_NE(ids.Find(first), nullptr);
    EXPECT_EQ(*ids.Find(first), &a);
    ids.Remove(first);
    EXPECT_EQ(ids.Find(first), nullptr);
    EXPECT_NE(ids.Add(&a), first);
    EXPECT_EQ(ids.Find(0), nullptr);
    EXPECT_EQ(ids.Find(uint64_t{second} + 0x100000000ull), nullptr);  // a wider number is not cut down
    // A number of its own: taken only while free.
    EXPECT_TRUE(ids.Add(0xC001, &a));
    EXPECT_FALSE(ids.Add(0xC001, &b));
    EXPECT_FALSE(ids.Add(0, &b));
    EXPECT_EQ(*ids.Find(0xC001), &a);
    EXPECT_EQ(ids.Count(), 3u);
}
