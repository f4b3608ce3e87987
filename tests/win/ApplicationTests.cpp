// The application object: the message hooks on the one loop and the default error handler.
#include <gtest/gtest.h>

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/Window.h"
#include "tests/win/WinTest.h"

namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kFail = WM_APP + 2;

class ProbeWindow final : public fw::Window {
public:
    explicit ProbeWindow(fw::Application& app) : Window(app) {
        Create({L"Corvalend.TestProbe"}, {.title = u"probe", .style = WS_POPUP});
    }
    int pings = 0;

protected:
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
    const int id = app.AddMessageHook([&](MSG& message, bool& handled) {
        if (message.hwnd == probe.Handle()) seen.push_back(message.message);
        if (message.message == kPing && swallow) handled = true;
    });

    PostMessageW(probe.Handle(), kPing, 0, 0);
    ASSERT_TRUE(app.ProcessMessage());
    EXPECT_EQ(seen, std::vector<UINT>{kPing});
    EXPECT_EQ(probe.pings, 1);

    swallow = true;
    PostMessageW(probe.Handle(), kPing, 0, 0);
    ASSERT_TRUE(app.ProcessMessage());
    EXPECT_EQ(probe.pings, 1);  // handled by the hook, not dispatched

    app.RemoveMessageHook(id);
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
    ASSERT_TRUE(wintest::PumpUntil([&] { return probe.pings == 1; }, std::chrono::seconds(5)));
}

TEST(Application, ErrorInAHookIsShownToo) {
    fw::Application app(GetModuleHandleW(nullptr));
    app.SetTitle(u"Corvalend");
    ProbeWindow probe(app);
    app.AddMessageHook([](MSG& message, bool&) {
        if (message.message == kPing) throw std::runtime_error("hook failed");
    });
    wintest::MessageBoxWatcher watcher(u"Corvalend");
    PostMessageW(probe.Handle(), kPing, 0, 0);
    ASSERT_TRUE(app.ProcessMessage());
    ASSERT_TRUE(watcher.Wait(std::chrono::seconds(10)));
    EXPECT_EQ(watcher.Text(), u"hook failed.");
    EXPECT_EQ(probe.pings, 1);  // the message still reached its window
}
