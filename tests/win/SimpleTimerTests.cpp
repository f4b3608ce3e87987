// The simple timer with real system timers: its states, the shared hidden window, expiries of
// timers that are gone, and nothing left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>
#include <vector>

#include "controls/SimpleTimer.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/Timer.h"
#include "tests/support/WinTest.h"

using namespace corvalend;

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

TEST(SimpleTimer, AutoDisableFiresOnceAndIsOffInItsHandler) {
    int ticks = 0;
    bool enabledInHandler = true;
    TSimpleTimer timer(30, [&](TSimpleTimer& sender) {
        ++ticks;
        enabledInHandler = sender.Enabled();
    });
    timer.SetAutoDisable(true);
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(fw::Timer::RunningCount(), 1u);
    ASSERT_TRUE(wintest::WaitFor("the timer's expiry", [&] { return ticks > 0; }));
    wintest::WitnessTimer witness(30ms);
    ASSERT_TRUE(witness.WaitTicks(3));  // a timer still running would have fired again by now
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(enabledInHandler);
    EXPECT_FALSE(timer.Enabled());
    EXPECT_EQ(fw::Timer::RunningCount(), 0u);
}

TEST(SimpleTimer, NewTimersAreStoppedAndIntervalZeroNeverStarts) {
    TSimpleTimer plain;
    EXPECT_EQ(plain.Interval(), 1000u);
    EXPECT_FALSE(plain.Enabled());
    EXPECT_FALSE(plain.OnTimer());
    EXPECT_FALSE(plain.AutoDisable());

    int ticks = 0;
    auto timer = TSimpleTimer::CreateEx(0, [&](TSimpleTimer&) { ++ticks; });
    timer->SetEnabled(true);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_FALSE(timer->Arm());
    EXPECT_EQ(fw::Timer::RunningCount(), 0u);
    wintest::WitnessTimer witness(std::chrono::milliseconds(USER_TIMER_MINIMUM));  // what an interval of 0 becomes
    ASSERT_TRUE(witness.WaitTicks(3));
    EXPECT_EQ(ticks, 0);
}

TEST(SimpleTimer, IntervalZeroStopsWhileEnabledStaysOn) {
    int ticks = 0;
    TSimpleTimer timer(20, [&](TSimpleTimer&) { ++ticks; });
    timer.SetEnabled(true);
    ASSERT_TRUE(wintest::WaitFor("two expiries", [&] { return ticks >= 2; }));

    timer.SetInterval(0);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(fw::Timer::RunningCount(), 0u);
    const int stoppedAt = ticks;
    timer.SetEnabled(true);  // nothing while the interval is 0
    EXPECT_EQ(fw::Timer::RunningCount(), 0u);
    {
        wintest::WitnessTimer witness(20ms);
        ASSERT_TRUE(witness.WaitTicks(3));
    }
    EXPECT_EQ(ticks, stoppedAt);

    const auto start = Clock::now();
    timer.SetInterval(150);
    EXPECT_EQ(fw::Timer::RunningCount(), 1u);
    ASSERT_TRUE(wintest::WaitFor("an expiry at the new interval", [&] { return ticks > stoppedAt; }));
    EXPECT_GE(Clock::now() - start, 130ms);  // the new interval, not the old 20 ms
}

TEST(SimpleTimer, TakingTheHandlerAwayStopsUntilSwitchedOnAgain) {
    int ticks = 0;
    const TSimpleTimer::TNotifyEvent count = [&](TSimpleTimer&) { ++ticks; };
    TSimpleTimer timer(20, count);
    timer.SetEnabled(true);
    ASSERT_TRUE(wintest::WaitFor("an expiry", [&] { return ticks >= 1; }));

    timer.SetOnTimer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(fw::Timer::RunningCount(), 0u);
    timer.SetOnTimer(count);  // a handler alone does not start it
    const int stoppedAt = ticks;
    {
        wintest::WitnessTimer witness(20ms);
        ASSERT_TRUE(witness.WaitTicks(3));
    }
    EXPECT_EQ(ticks, stoppedAt);
    EXPECT_EQ(fw::Timer::RunningCount(), 0u);

    timer.SetEnabled(true);
    EXPECT_EQ(fw::Timer::RunningCount(), 1u);
    EXPECT_TRUE(wintest::WaitFor("an expiry after switching on", [&] { return ticks > stoppedAt; }));
}

TEST(SimpleTimer, SwitchingOnAgainRestartsThePeriod) {
    std::vector<Clock::time_point> ticks;
    TSimpleTimer timer(250, [&](TSimpleTimer&) { ticks.push_back(Clock::now()); });
    const auto start = Clock::now();
    timer.SetEnabled(true);
    {
        // The restart comes well into the first period: when a timer started with it falls due.
        wintest::WitnessTimer witness(150ms);
        ASSERT_TRUE(witness.WaitTicks(1));
    }
    timer.SetEnabled(true);
    const auto restarted = Clock::now();
    EXPECT_EQ(fw::Timer::RunningCount(), 1u);  // one running timer, counted once
    ASSERT_TRUE(wintest::WaitFor("the first expiry", [&] { return !ticks.empty(); }));
    EXPECT_GE(ticks.front() - restarted, 230ms);
    EXPECT_GE(ticks.front() - start, 370ms);
}

TEST(SimpleTimer, OneSharedWindowWhileTimersLive) {
    const fw::HiddenWindow& shared = fw::Timer::SharedWindow();
    ASSERT_EQ(shared.Handle(), nullptr);
    auto first = TSimpleTimer::Create();
    const HWND window = shared.Handle();
    ASSERT_NE(window, nullptr);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"TPUtilWindow");
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_POPUP, WS_POPUP);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 0);
    EXPECT_EQ(bounds.bottom - bounds.top, 0);

    auto second = TSimpleTimer::CreateEx(10, [](TSimpleTimer&) {});
    EXPECT_EQ(shared.Handle(), window);
    EXPECT_EQ(shared.Count(), 2u);
    second->SetEnabled(true);
    EXPECT_EQ(fw::Timer::RunningCount(), 1u);
    first.reset();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(shared.Count(), 1u);
    second.reset();  // a running timer is stopped on the way
    EXPECT_EQ(shared.Handle(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(wintest::CountThreadWindows(L"TPUtilWindow"), 0);

    int ticks = 0;
    TSimpleTimer third(20, [&](TSimpleTimer&) { ++ticks; });
    ASSERT_NE(shared.Handle(), nullptr);
    EXPECT_TRUE(IsWindow(shared.Handle()));
    third.SetEnabled(true);
    EXPECT_TRUE(wintest::WaitFor("an expiry of the new timer", [&] { return ticks > 0; }));
}

TEST(SimpleTimer, ExpiryOfATimerThatIsGoneIsIgnored) {
    int liveTicks = 0, goneTicks = 0;
    TSimpleTimer live(60000, [&](TSimpleTimer&) { ++liveTicks; });
    auto gone = TSimpleTimer::CreateEx(60000, [&](TSimpleTimer&) { ++goneTicks; });
    const UINT_PTR goneId = gone->Id();
    const HWND window = fw::Timer::SharedWindow().Handle();
    gone.reset();

    PostMessageW(window, WM_TIMER, goneId, 0);
    PostMessageW(window, WM_TIMER, 0xDEADBEEF, 0);
    PostMessageW(window, WM_TIMER, live.Id(), 0);  // the same message for a live timer does fire
    wintest::PumpPending();
    EXPECT_EQ(goneTicks, 0);
    EXPECT_EQ(liveTicks, 1);
}

TEST(SimpleTimer, HandlerMayFreeItsOwnTimer) {
    std::unique_ptr<TSimpleTimer> timer;
    int ticks = 0;
    timer = TSimpleTimer::CreateEx(10, [&](TSimpleTimer&) {
        ++ticks;
        timer.reset();  // the last timer: the shared window goes while its message is handled
    });
    timer->SetEnabled(true);
    ASSERT_TRUE(wintest::WaitFor("the expiry", [&] { return ticks > 0; }));
    wintest::WitnessTimer witness(10ms);
    ASSERT_TRUE(witness.WaitTicks(3));  // a timer left running would have fired again by now
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(fw::Timer::SharedWindow().Handle(), nullptr);
    EXPECT_EQ(wintest::CountThreadWindows(L"TPUtilWindow"), 0) << "gone once its handler returned";
}

TEST(SimpleTimer, ErrorsOfTheHandlerGoToTheApplicationsErrorHandler) {
    fw::Application app(GetModuleHandleW(nullptr));
    app.SetTitle(u"Timer test");
    TSimpleTimer timer(10, [](TSimpleTimer&) { throw fw::Error(u"Cannot open clipboard"); });
    timer.SetAutoDisable(true);
    wintest::MessageBoxWatcher watcher(u"Timer test");
    timer.SetEnabled(true);
    ASSERT_TRUE(watcher.Wait(10s));
    EXPECT_EQ(watcher.Text(), u"Cannot open clipboard.");
    EXPECT_TRUE(watcher.HasStopIcon());
}

TEST(SimpleTimer, ThousandTimersLeaveNothingBehind) {
    const wintest::GuiObjects before = wintest::CountGuiObjects();
    std::mt19937 random(7);
    std::vector<std::unique_ptr<TSimpleTimer>> timers;
    int ticks = 0;
    for (int i = 0; i < 1000; ++i) {
        timers.push_back(TSimpleTimer::CreateEx(1 + i % 50, [&](TSimpleTimer&) { ++ticks; }));
        if (i % 3 != 0) timers.back()->SetEnabled(true);
        if (i % 7 == 0) timers.back()->SetInterval(0);
    }
    EXPECT_EQ(fw::Timer::SharedWindow().Count(), 1000u);
    EXPECT_GT(fw::Timer::RunningCount(), 500u);
    EXPECT_TRUE(wintest::WaitFor("an expiry of any of them", [&] { return ticks > 0; }));
    std::shuffle(timers.begin(), timers.end(), random);
    // Half freed, the rest switched off first, then freed in another order.
    timers.resize(500);
    for (auto& timer : timers) timer->SetEnabled(false);
    EXPECT_EQ(fw::Timer::RunningCount(), 0u);
    std::shuffle(timers.begin(), timers.end(), random);
    timers.clear();

    EXPECT_EQ(fw::Timer::SharedWindow().Handle(), nullptr);
    EXPECT_EQ(wintest::CountThreadWindows(L"TPUtilWindow"), 0);
    const int ticksAfter = ticks;
    wintest::WitnessTimer witness(50ms);  // the longest interval of them
    ASSERT_TRUE(witness.WaitTicks(2));
    EXPECT_EQ(ticks, ticksAfter);
    EXPECT_EQ(wintest::CountGuiObjects(), before);
}
