// The application object: the message hooks on the one loop and the default error handler.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/UniqueHandle.h"
#include "framework/HiddenWindow.h"
#include "framework/Window.h"
#include "tests/support/WinTest.h"

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kFail = WM_APP + 2;

class ProbeWindow final : public fw::Window {
public:
    explicit ProbeWindow(fw::Application& app) : Window(app) {
        Create({L"Corvalend.TestProbe"}, {.title = u"probe", .style = WS_POPUP});
    }
    int pings = 0;
    int paints = 0;
    bool failPaint = false;

protected:
    void OnPaint(HDC, const RECT&) override {
        ++paints;
        if (failPaint) throw fw::Error(u"Out of system resources");
    }
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kPing) {
            ++pings;
            return 0;
        }
        if (message == kFail) throw fw::Error(u"Cannot open clipboard: Access is denied");
        return DefaultProc(message, wParam, lParam);
    }
};

}  // namespace

TEST(Application, ErrorDisplayTextEndsInAPeriod) {
    EXPECT_EQ(fw::ErrorDisplayText(u"Cannot open file \"x\". Access is denied"),
              u"Cannot open file \"x\". Access is denied.");
    EXPECT_EQ(fw::ErrorDisplayText(u"Done."), u"Done.");
    EXPECT_EQ(fw::ErrorDisplayText(u""), u"");
}

TEST(Application, HooksSeeEveryMessageBeforeDispatch) {
    fw::Application app(GetModuleHandleW(nullptr));
    ProbeWindow probe(app);
    std::vector<UINT> seen;
    bool swallow = false;
    fw::Subscription hook = app.AddMessageHook([&](MSG& message) {
        if (message.hwnd == probe.Handle()) seen.push_back(message.message);
        return message.message == kPing && swallow;
    });

    PostMessageW(probe.Handle(), kPing, 0, 0);
    ASSERT_TRUE(app.ProcessMessage());
    EXPECT_EQ(seen, std::vector<UINT>{kPing});
    EXPECT_EQ(probe.pings, 1);

    swallow = true;
    PostMessageW(probe.Handle(), kPing, 0, 0);
    ASSERT_TRUE(app.ProcessMessage());
    EXPECT_EQ(probe.pings, 1);  // handled by the hook, not dispatched

    hook = {};
    PostMessageW(probe.Handle(), kPing, 0, 0);
    ASSERT_TRUE(app.ProcessMessage());
    EXPECT_EQ(seen.size(), 2u);
    EXPECT_EQ(probe.pings, 2);
}

TEST(Application, RunEndsWithTerminateAndItsExitCode) {
    fw::Application app(GetModuleHandleW(nullptr));
    ProbeWindow probe(app);
    PostMessageW(probe.Handle(), kPing, 0, 0);
    app.Terminate(3);
    EXPECT_EQ(app.Run(), 3);
    EXPECT_EQ(probe.pings, 1);
    EXPECT_TRUE(app.Terminated());
    // No quit message is left behind for message boxes shown after the loop.
    MSG message;
    EXPECT_FALSE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST(Application, EndOfSessionRunsTheEndingAtOnceOnlyWhenNothingOfOursRunsBelowIt) {
    fw::Application app(GetModuleHandleW(nullptr));
    std::atomic<int> endings = 0;
    app.SetEnding([&] { ++endings; });
    // Below a handler of ours (an action in a message hook): the objects it uses must stay, only the
    // loop ends.
    fw::Subscription hook = app.AddMessageHook([&](MSG& message) {
        if (message.message == kPing) SendMessageW(app.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
        return false;
    });
    PostMessageW(app.Handle(), kPing, 0, 0);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_EQ(endings, 0);
    hook = {};

    // While the loop waits: the ending has run when the message returns, and the loop ends.
    int endingsAtReturn = -1;
    std::thread system([&] {
        EXPECT_TRUE(SendMessageW(app.Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP));
        SendMessageW(app.Handle(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
        endingsAtReturn = endings;
    });
    EXPECT_EQ(app.Run(), 0);
    system.join();
    EXPECT_EQ(endingsAtReturn, 1);
    app.SetEnding(nullptr);
}

TEST(Application, ErrorInAWindowProcedureIsShownAndTheLoopGoesOn) {
    fw::Application app(GetModuleHandleW(nullptr));
    app.SetTitle(u"Corvalend");
    ProbeWindow probe(app);
    wintest::MessageBoxWatcher watcher(u"Corvalend");
    PostMessageW(probe.Handle(), kFail, 0, 0);
    PostMessageW(probe.Handle(), kPing, 0, 0);
    ASSERT_TRUE(app.ProcessMessage());  // the message box runs its own loop until the watcher answers
    ASSERT_TRUE(watcher.Wait(std::chrono::seconds(10)));
    EXPECT_EQ(watcher.Text(), u"Cannot open clipboard: Access is denied.");
    EXPECT_TRUE(watcher.HasStopIcon());
    ASSERT_TRUE(wintest::WaitFor("the ping after the failure", [&] { return probe.pings == 1; }));
}

TEST(Application, ErrorWhilePaintingIsShownOnceNotWithEveryRepaint) {
    fw::Application app(GetModuleHandleW(nullptr));
    app.SetTitle(u"Corvalend");
    ProbeWindow probe(app);
    SetWindowPos(probe.Handle(), nullptr, 0, 0, 50, 50, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    ASSERT_TRUE(wintest::WaitFor("the probe painted as shown",
                                 [&] { return probe.paints > 0 && !GetUpdateRect(probe.Handle(), nullptr, FALSE); }));
    probe.failPaint = true;
    probe.paints = 0;
    wintest::MessageBoxWatcher watcher(u"Corvalend");
    InvalidateRect(probe.Handle(), nullptr, FALSE);
    ASSERT_TRUE(watcher.Wait(std::chrono::seconds(10)));
    EXPECT_EQ(watcher.Text(), u"Out of system resources.");
    // The system makes a timer message only when no paint is due: an area left invalid would have
    // been painted again before the witness ticks.
    wintest::WitnessTimer witness(std::chrono::milliseconds(USER_TIMER_MINIMUM));
    ASSERT_TRUE(witness.WaitTicks(3));
    EXPECT_EQ(probe.paints, 1) << "the failed paint validated its area";
}

TEST(Application, ErrorInAHookIsShownToo) {
    fw::Application app(GetModuleHandleW(nullptr));
    app.SetTitle(u"Corvalend");
    ProbeWindow probe(app);
    const fw::Subscription hook = app.AddMessageHook([](MSG& message) -> bool {
        if (message.message == kPing) throw std::runtime_error("hook failed");
        return false;
    });
    wintest::MessageBoxWatcher watcher(u"Corvalend");
    PostMessageW(probe.Handle(), kPing, 0, 0);
    ASSERT_TRUE(app.ProcessMessage());
    ASSERT_TRUE(watcher.Wait(std::chrono::seconds(10)));
    EXPECT_EQ(watcher.Text(), u"hook failed.");
    EXPECT_EQ(probe.pings, 1);  // the message still reached its window
}

TEST(Application, CurrentApplicationIsTheLatestAlive) {
    EXPECT_EQ(fw::CurrentApplication(), nullptr);
    {
        fw::Application outer(GetModuleHandleW(nullptr));
        EXPECT_EQ(fw::CurrentApplication(), &outer);
        {
            fw::Application inner(GetModuleHandleW(nullptr));
            EXPECT_EQ(fw::CurrentApplication(), &inner);
        }
        EXPECT_EQ(fw::CurrentApplication(), &outer);
    }
    EXPECT_EQ(fw::CurrentApplication(), nullptr);
}

TEST(Application, ErrorsOfWindowlessHelpersWithoutApplicationShowAPlainStopBox) {
    ASSERT_EQ(fw::CurrentApplication(), nullptr);
    fw::HiddenWindow helpers(kFail);
    const fw::HiddenWindow::Member helper = helpers.Add([](intptr_t) { throw fw::Error(u"Access is denied"); });
    wintest::MessageBoxWatcher watcher(u"Corvalend");
    EXPECT_EQ(SendMessageW(helpers.Handle(), kFail, helper.Number(), 0), 0);  // the helper goes on
    ASSERT_TRUE(watcher.Wait(std::chrono::seconds(10)));
    EXPECT_EQ(watcher.Text(), u"Access is denied.");
    EXPECT_TRUE(watcher.HasStopIcon());
    EXPECT_TRUE(IsWindow(helpers.Handle()));
}

TEST(Application, MainWindowHooksSeeMinimizeAndCanTakeAMessage) {
    fw::Application app(GetModuleHandleW(nullptr));
    std::vector<UINT> seen;
    bool sizeMinimized = false;
    fw::Subscription watch = app.HookMainWindow([&](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        seen.push_back(message);
        if (message == WM_SIZE && wParam == SIZE_MINIMIZED) sizeMinimized = true;
        return false;
    });
    fw::Subscription take = app.HookMainWindow([&](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (message != kPing) return false;
        result = 42;
        return true;
    });
    app.Minimize();
    EXPECT_TRUE(sizeMinimized);
    EXPECT_TRUE(IsIconic(app.Handle()));
    EXPECT_EQ(SendMessageW(app.Handle(), kPing, 0, 0), 42);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), kPing), 1);

    // The application window's own handling still runs after hooks that pass: WM_CLOSE terminates.
    take = {};
    EXPECT_EQ(SendMessageW(app.Handle(), kPing, 0, 0), 0);
    SendMessageW(app.Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(app.Run(), 0);
    watch = {};
    const size_t count = seen.size();
    SendMessageW(app.Handle(), kPing, 0, 0);
    EXPECT_EQ(seen.size(), count);
}

TEST(Application, RunMinimizesTheApplicationForAMinimizedMainForm) {
    fw::Application app(GetModuleHandleW(nullptr));
    ProbeWindow form(app);
    SetWindowLongPtrW(form.Handle(), GWL_STYLE, GetWindowLongPtrW(form.Handle(), GWL_STYLE) | WS_MINIMIZE);
    app.SetMainForm(&form);
    bool minimized = false;
    const fw::Subscription hook = app.HookMainWindow([&](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (message == WM_SIZE && wParam == SIZE_MINIMIZED) minimized = true;
        return false;
    });
    app.Terminate();
    app.Run();
    EXPECT_TRUE(minimized);
    EXPECT_FALSE(IsWindowVisible(form.Handle()));  // the form itself is not shown
}
