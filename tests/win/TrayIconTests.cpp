// The tray icon under the real shell calls: the notify-icon record and the shell's answers, the
// shared handler window, the shell's callbacks posted to it, the popup menu, minimizing to the
// tray, the owner window hook, idleness, and nothing left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "controls/TrayIcon.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/Timer.h"
#include "framework/WinText.h"
#include "framework/Window.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "ui/MainFormU.h"

using namespace corvalend;

using namespace std::chrono_literals;

namespace {

void Callback(const TTrayIcon& icon, UINT notification) {
    PostMessageW(icon.Handle(), WM_TRAYCALLBACK, icon.IconID(), notification);
}

HICON SystemIcon() {
    return LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
}

class OwnerForm final : public fw::Window {
public:
    explicit OwnerForm(fw::Application& app) : Window(app) {
        Create({L"Corvalend.TestOwner"}, {.title = u"owner", .style = WS_POPUP, .width = 100, .height = 100});
    }
    std::vector<UINT> seen;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_APP) seen.push_back(message);
        return DefaultProc(message, wParam, lParam);
    }
};

// Runs `inside` while the menu of this thread shows (from a timer that ticks in the menu's loop).
class MenuProbe {
public:
    explicit MenuProbe(std::function<void(HWND menuWindow)> inside)
        : inside_(std::move(inside)), timer_(20, [this](TSimpleTimer&) { Tick(); }) {
        timer_.SetEnabled(true);
    }
    bool Seen() const { return seen_; }

private:
    void Tick() {
        const HWND menu = wintest::FindTopWindow(GetCurrentProcessId(), L"#32768");
        if (menu == nullptr || !IsWindowVisible(menu)) return;
        timer_.SetEnabled(false);
        seen_ = true;
        inside_(menu);
    }
    std::function<void(HWND)> inside_;
    TSimpleTimer timer_;
    bool seen_ = false;
};

std::vector<std::u16string> MenuCaptions(HWND menuWindow) {
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    std::vector<std::u16string> captions;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 128;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        captions.push_back((info.fType & MFT_SEPARATOR) ? u"-" : fw::FromWide(text));
    }
    return captions;
}

// No timer of the icons runs: a press has nothing more to come, its double-click time is over.
bool TimersStopped() {
    return fw::Timer::RunningCount() == 0;
}

}  // namespace

TEST(TrayIcon, RecordAndShellAnswers) {
    fw::Application app(GetModuleHandleW(nullptr));
    const int shellIcons = wintest::ShellIconCount();
    TTrayIcon icon(app, nullptr);
    const TNotifyIconDataEx& data = icon.IconData();
    EXPECT_EQ(data.cbSize, 952u);
    EXPECT_EQ(data.hWnd, icon.Handle());
    EXPECT_EQ(data.uID, icon.IconID());
    EXPECT_EQ(data.uFlags, 0x07u);
    EXPECT_EQ(data.uCallbackMessage, 0x0800u);
    EXPECT_TRUE(icon.Enabled());
    EXPECT_TRUE(icon.ShowHint());
    EXPECT_FALSE(icon.IconVisible());

    EXPECT_FALSE(icon.NotifyModify());  // not there yet
    icon.SetIcon(SystemIcon());
    EXPECT_NE(icon.Icon(), SystemIcon());  // a copy of its own
    icon.SetIconVisible(true);
    EXPECT_TRUE(icon.IconVisible());
    EXPECT_TRUE(wintest::ShellHasIcon(icon.Handle(), icon.IconID()));
    EXPECT_EQ(wintest::ShellIconCount(), shellIcons + 1);
    EXPECT_FALSE(icon.NotifyAdd());  // already there

    icon.SetHint(std::u16string(200, u'h'));
    EXPECT_EQ(fw::FromWide(data.szTip), std::u16string(127, u'h'));
    icon.SetShowHint(false);
    EXPECT_EQ(data.szTip[0], 0);
    EXPECT_TRUE(icon.Refresh());

    EXPECT_TRUE(icon.ShowBalloonHint(std::u16string(80, u't'), std::u16string(300, u'x'), bitInfo, 10));
    EXPECT_EQ(fw::FromWide(data.szInfo), std::u16string(255, u'x'));
    EXPECT_EQ(fw::FromWide(data.szInfoTitle), std::u16string(63, u't'));
    EXPECT_EQ(data.TimeoutOrVersion.uTimeout, 10000u);
    EXPECT_EQ(data.dwInfoFlags, 1u);
    EXPECT_EQ(data.uFlags, 0x07u);
    EXPECT_TRUE(icon.HideBalloonHint());
    EXPECT_EQ(data.szInfo[0], 0);

    icon.SetBehavior(bhWin2000);  // the shell keeps the fourth version: the record keeps the timeout
    EXPECT_EQ(data.TimeoutOrVersion.uTimeout, 10000u);

    icon.SetIconVisible(false);
    EXPECT_FALSE(icon.IconVisible());
    EXPECT_FALSE(wintest::ShellHasIcon(icon.Handle(), icon.IconID()));
    EXPECT_EQ(wintest::ShellIconCount(), shellIcons);
    EXPECT_FALSE(icon.NotifyDelete());  // already gone
}

TEST(TrayIcon, IconListAndIndex) {
    fw::Application app(GetModuleHandleW(nullptr));
    fw::UniqueImageList images(ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0));
    ImageList_AddIcon(images.get(), SystemIcon());
    TTrayIcon icon(app, nullptr);
    icon.SetIconIndex(3);
    EXPECT_EQ(icon.IconIndex(), 0);  // no list
    EXPECT_EQ(icon.Icon(), nullptr);
    icon.SetIconList(images.get());
    EXPECT_NE(icon.Icon(), nullptr);
    icon.SetIconIndex(5);
    EXPECT_EQ(icon.IconIndex(), 0);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.Icon(), &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(TrayIcon, IconsShareOneHandlerWindow) {
    fw::Application app(GetModuleHandleW(nullptr));
    ASSERT_EQ(TrayIconWindow().Handle(), nullptr);
    auto first = std::make_unique<TTrayIcon>(app, nullptr);
    auto second = std::make_unique<TTrayIcon>(app, nullptr);
    const HWND window = first->Handle();
    EXPECT_EQ(second->Handle(), window);
    EXPECT_NE(first->IconID(), second->IconID());
    EXPECT_EQ(TrayIconWindow().Count(), 2u);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    EXPECT_STREQ(className, L"TPUtilWindow");
    EXPECT_FALSE(IsWindowVisible(window));

    first.reset();
    EXPECT_TRUE(IsWindow(window));
    second.reset();
    EXPECT_EQ(TrayIconWindow().Handle(), nullptr);
    EXPECT_FALSE(IsWindow(window));
    TTrayIcon third(app, nullptr);
    EXPECT_TRUE(IsWindow(third.Handle()));
}

TEST(TrayIcon, PostedCallbacksMakeClicksAndDoubleClicks) {
    fw::Application app(GetModuleHandleW(nullptr));
    TTrayIcon icon(app, nullptr);
    int clicks = 0, doubleClicks = 0, downs = 0;
    icon.OnClick = [&](TTrayIcon& sender) {
        EXPECT_EQ(&sender, &icon);
        ++clicks;
    };
    icon.OnDblClick = [&](TTrayIcon&) { ++doubleClicks; };
    icon.OnMouseDown = [&](TTrayIcon&, TMouseButton, TShiftState shift, int, int) {
        EXPECT_TRUE(shift & ssLeft);
        ++downs;
    };

    // A single click waits for the double-click time, counted from the press.
    const auto start = std::chrono::steady_clock::now();
    Callback(icon, WM_LBUTTONDOWN);
    Callback(icon, WM_LBUTTONUP);
    ASSERT_TRUE(wintest::WaitFor("the click", [&] { return clicks == 1; }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(GetDoubleClickTime() - 30));
    EXPECT_EQ(downs, 1);

    // A double click: the double-click event only.
    Callback(icon, WM_LBUTTONDOWN);
    Callback(icon, WM_LBUTTONUP);
    Callback(icon, WM_LBUTTONDBLCLK);
    Callback(icon, WM_LBUTTONUP);
    wintest::PumpPending();
    ASSERT_TRUE(wintest::WaitFor("the double-click time over", TimersStopped));
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicks, 1);

    // An identifier no icon has, and a disabled icon: nothing.
    PostMessageW(icon.Handle(), WM_TRAYCALLBACK, icon.IconID() + 1000, WM_LBUTTONDOWN);
    PostMessageW(icon.Handle(), WM_TRAYCALLBACK, icon.IconID() + 1000, WM_LBUTTONUP);
    icon.SetEnabled(false);
    int balloons = 0;
    icon.OnBalloonHintClick = [&](TTrayIcon&) { ++balloons; };
    Callback(icon, WM_LBUTTONDOWN);
    Callback(icon, WM_LBUTTONUP);
    Callback(icon, NIN_BALLOONUSERCLICK);
    wintest::PumpPending();
    ASSERT_TRUE(wintest::WaitFor("the double-click time over", TimersStopped));
    EXPECT_EQ(downs, 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(balloons, 1);
}

TEST(TrayIcon, RightPressOpensTheMenuAndTheChosenItemRuns) {
    fw::Application app(GetModuleHandleW(nullptr));
    fw::PopupMenu menu;
    std::vector<std::string> ran;
    menu.Items = {
        {u"First", [&] { ran.push_back("first"); }}, {u"-", nullptr}, {u"Last", [&] { ran.push_back("last"); }}};
    TTrayIcon icon(app, nullptr);
    icon.SetPopupMenu(&menu);

    // Dismissed: nothing runs.
    std::vector<std::u16string> captions;
    HMENU shown = nullptr;
    {
        MenuProbe probe([&](HWND menuWindow) {
            captions = MenuCaptions(menuWindow);
            shown = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
            EndMenu();
        });
        Callback(icon, WM_RBUTTONDOWN);
        // The menu runs its loop inside the callback's handling: seen means shown and closed.
        ASSERT_TRUE(wintest::WaitFor("the menu", [&] { return probe.Seen(); }));
        wintest::PumpPending();
    }
    EXPECT_EQ(captions, (std::vector<std::u16string>{u"First", u"-", u"Last"}));
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(menu.PopupComponent, &icon);
    EXPECT_FALSE(IsMenu(shown));  // the menu is gone with its showing

    // Chosen with the keyboard: the last item.
    {
        MenuProbe probe([&](HWND menuWindow) {
            PostMessageW(menuWindow, WM_KEYDOWN, VK_UP, 0);
            PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
        });
        Callback(icon, WM_RBUTTONDOWN);
        ASSERT_TRUE(wintest::WaitFor("the chosen item run", [&] { return !ran.empty(); }));
    }
    EXPECT_EQ(ran, std::vector<std::string>{"last"});

    // Disabled, or a menu that does not pop up by itself: no menu.
    for (const bool disabled : {true, false}) {
        icon.SetEnabled(!disabled);
        menu.AutoPopup = disabled;
        MenuProbe probe([](HWND) { EndMenu(); });
        Callback(icon, WM_RBUTTONDOWN);
        wintest::PumpPending();  // a menu would have shown, and the probe seen it, while handling the press
        EXPECT_FALSE(probe.Seen());
    }
}

TEST(TrayIcon, DoubleClickClicksTheDefaultItemUnlessLeftPopup) {
    fw::Application app(GetModuleHandleW(nullptr));
    fw::PopupMenu menu;
    int first = 0, byDefault = 0;
    menu.Items = {{u"First", [&] { ++first; }}, {u"Default", [&] { ++byDefault; }, true}};
    TTrayIcon icon(app, nullptr);
    icon.SetPopupMenu(&menu);
    Callback(icon, WM_LBUTTONDBLCLK);
    wintest::PumpPending();
    EXPECT_EQ(byDefault, 1);
    icon.SetLeftPopup(true);
    Callback(icon, WM_LBUTTONDBLCLK);
    wintest::PumpPending();
    EXPECT_EQ(byDefault, 1);
    EXPECT_EQ(first, 0);
}

TEST(TrayIcon, MinimizingTheApplicationHidesToTheTray) {
    fw::Application app(GetModuleHandleW(nullptr));
    OwnerForm form(app);
    app.SetMainForm(&form);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    TTrayIcon icon(app, &form);
    icon.SetIcon(SystemIcon());
    icon.SetMinimizeToTray(true);

    app.Minimize();
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_FALSE(IsWindowVisible(app.Handle()));  // no taskbar presence
    EXPECT_TRUE(icon.IconVisible());
    EXPECT_TRUE(wintest::ShellHasIcon(icon.Handle(), icon.IconID()));

    // Restoring the application shows the main window again.
    SendMessageW(app.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsWindowVisible(form.Handle()));

    // A recreated taskbar gets the icon back while it is meant to be visible.
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    NOTIFYICONDATAW lost{};
    lost.cbSize = NOTIFYICONDATAW_V2_SIZE;
    lost.hWnd = icon.Handle();
    lost.uID = icon.IconID();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &lost));
    SendMessageW(app.Handle(), taskbarCreated, 0, 0);
    EXPECT_TRUE(wintest::ShellHasIcon(icon.Handle(), icon.IconID()));
    icon.SetIconVisible(false);
    SendMessageW(app.Handle(), taskbarCreated, 0, 0);
    EXPECT_FALSE(wintest::ShellHasIcon(icon.Handle(), icon.IconID()));

    // Without MinimizeToTray the main window stays as it is.
    icon.SetMinimizeToTray(false);
    ShowWindow(app.Handle(), SW_RESTORE);
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    app.Minimize();
    EXPECT_TRUE(IsWindowVisible(form.Handle()));
    app.SetMainForm(nullptr);
}

TEST(TrayIcon, OwnerWindowHooksComeAndGo) {
    fw::Application app(GetModuleHandleW(nullptr));
    OwnerForm form(app);
    {
        TTrayIcon first(app, &form);
        TTrayIcon second(app, &form);  // both watch the owner
        SendMessageW(form.Handle(), WM_APP + 5, 0, 0);
        EXPECT_EQ(form.seen, std::vector<UINT>{WM_APP + 5});

        // A minimize request is taken over only with MinimizeToTray and OnMinimizeToTray.
        int hidden = 0;
        second.SetMinimizeToTray(true);
        second.OnMinimizeToTray = [&](TTrayIcon&) { ++hidden; };
        ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
        EXPECT_EQ(SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
        EXPECT_EQ(hidden, 1);
        EXPECT_FALSE(IsIconic(form.Handle()));
        second.OnMinimizeToTray = nullptr;
        ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
        SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(IsIconic(form.Handle()));

        // A failing handler is reported, and the owner's own handling still takes place.
        app.SetTitle(u"Tray test");
        second.OnMinimizeToTray = [](TTrayIcon&) { throw fw::Error(u"Cannot hide"); };
        ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
        ASSERT_FALSE(IsIconic(form.Handle()));
        wintest::MessageBoxWatcher box(u"Tray test");
        SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
        EXPECT_TRUE(box.Wait(10s));
        EXPECT_EQ(box.Text(), u"Cannot hide.");
        EXPECT_TRUE(IsIconic(form.Handle()));
    }
    SendMessageW(form.Handle(), WM_APP + 6, 0, 0);
    EXPECT_EQ(form.seen.back(), WM_APP + 6u);

    // The first icon goes before the second: the second still watches, and once it goes the owner
    // is left as it was.
    auto first = std::make_unique<TTrayIcon>(app, &form);
    auto second = std::make_unique<TTrayIcon>(app, &form);
    int hidden = 0;
    second->SetMinimizeToTray(true);
    second->OnMinimizeToTray = [&](TTrayIcon&) { ++hidden; };
    first.reset();
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    EXPECT_EQ(SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0), 1);
    EXPECT_EQ(hidden, 1);
    second.reset();
    ShowWindow(form.Handle(), SW_SHOWNOACTIVATE);
    SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(form.Handle()));
    EXPECT_EQ(hidden, 1);
    SendMessageW(form.Handle(), WM_APP + 7, 0, 0);
    EXPECT_EQ(form.seen.back(), WM_APP + 7u);
}

TEST(TrayIcon, IdleIconRunsNoTimer) {
    fw::Application app(GetModuleHandleW(nullptr));
    fw::PopupMenu menu;
    menu.Items = {{u"Exit", [] {}}};
    TTrayIcon icon(app, nullptr);
    icon.SetIcon(SystemIcon());
    icon.SetPopupMenu(&menu);
    icon.OnClick = [](TTrayIcon&) {};
    icon.OnDblClick = [](TTrayIcon&) {};
    icon.SetIconVisible(true);
    // The timer messages the application's loop sees, but the witness's own.
    int timerMessages = 0;
    const wintest::WitnessTimer* witness = nullptr;
    fw::Subscription hook = app.AddMessageHook([&](MSG& message) {
        if (message.message == WM_TIMER && !(witness != nullptr && witness->Owns(message))) ++timerMessages;
        return false;
    });
    // Through the application's loop, so that its hook counts.
    const auto witnessTicks = [&](std::chrono::milliseconds interval, int count) {
        const wintest::WitnessTimer ticking(interval);
        witness = &ticking;
        EXPECT_TRUE(wintest::PumpAppUntil(
            app, [&] { return ticking.Ticks() >= count; }, wintest::kPatience))
            << count << " ticks of a witness timer";
        witness = nullptr;
    };
    witnessTicks(250ms, 5);  // longer than the longest interval of the icon's timers, a second
    EXPECT_EQ(timerMessages, 0);
    EXPECT_EQ(fw::Timer::RunningCount(), 0u);

    // Enter/exit tracking polls every 20 ms while it is wanted, and only then.
    icon.SetWantEnterExitEvents(true);
    EXPECT_TRUE(wintest::PumpAppUntil(
        app, [&] { return timerMessages > 5; }, wintest::kPatience));
    EXPECT_GT(timerMessages, 5);
    icon.SetWantEnterExitEvents(false);
    app.ProcessMessages();
    const int stopped = timerMessages;
    witnessTicks(20ms, 5);
    EXPECT_EQ(timerMessages, stopped);
    hook = {};
}

TEST(TrayIcon, ThousandIconsLeaveNothingBehind) {
    fw::Application app(GetModuleHandleW(nullptr));
    OwnerForm form(app);
    const LONG_PTR originalProc = GetWindowLongPtrW(form.Handle(), GWLP_WNDPROC);
    const int shellIcons = wintest::ShellIconCount();
    const int helperWindows = wintest::CountThreadWindows(L"TPUtilWindow");
    const wintest::GuiObjects before = wintest::CountGuiObjects();
    std::mt19937 random(11);
    std::vector<std::unique_ptr<TTrayIcon>> icons;
    std::vector<std::unique_ptr<TSimpleTimer>> timers;
    std::vector<HICON> copies;
    for (int i = 0; i < 1000; ++i) {
        icons.push_back(std::make_unique<TTrayIcon>(app, i % 10 == 0 ? &form : nullptr));
        TTrayIcon& icon = *icons.back();
        if (i % 10 == 0) {
            icon.SetIcon(SystemIcon());
            copies.push_back(icon.Icon());
            icon.SetHint(u"icon " + fw::Utf8ToUtf16(std::to_string(i)));
        }
        if (i % 100 == 0) icon.SetIconVisible(true);
        if (i % 2 == 0) icon.OnDblClick = [](TTrayIcon&) {};
        if (i % 50 == 0) icon.SetWantEnterExitEvents(true);
        timers.push_back(TSimpleTimer::CreateEx(50 + i % 20, [](TSimpleTimer&) {}));
        timers.back()->SetEnabled(i % 10 == 1);
    }
    EXPECT_EQ(wintest::ShellIconCount(), shellIcons + 10);
    EXPECT_EQ(wintest::CountThreadWindows(L"TPUtilWindow"), helperWindows + 2);  // one for icons, one for timers
    Callback(*icons[0], WM_LBUTTONDOWN);                                         // a click pending while the icons go
    wintest::PumpPending();
    std::shuffle(icons.begin(), icons.end(), random);
    std::shuffle(timers.begin(), timers.end(), random);
    while (!icons.empty() || !timers.empty()) {
        if (!icons.empty()) icons.pop_back();
        if (!timers.empty() && random() % 2 == 0) timers.pop_back();
    }
    wintest::PumpPending();

    EXPECT_EQ(TrayIconWindow().Handle(), nullptr);
    EXPECT_EQ(fw::Timer::SharedWindow().Handle(), nullptr);
    EXPECT_EQ(wintest::CountThreadWindows(L"TPUtilWindow"), helperWindows);
    EXPECT_EQ(wintest::ShellIconCount(), shellIcons);
    EXPECT_EQ(GetWindowLongPtrW(form.Handle(), GWLP_WNDPROC), originalProc);
    const int alive = static_cast<int>(std::count_if(copies.begin(), copies.end(), [](HICON copy) {
        ICONINFO info{};
        if (!GetIconInfo(copy, &info)) return false;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        return true;
    }));
    EXPECT_EQ(alive, 0) << "icon copies not destroyed";
    EXPECT_EQ(wintest::CountGuiObjects(), before);
}

TEST(TrayIcon, MainFormHasTheTrayIconAndItsMenu) {
    fw::Application app(GetModuleHandleW(nullptr));
    app.SetTitle(u"Corvalend");
    const int shellIcons = wintest::ShellIconCount();
    {
        TMainForm form(app);
        EXPECT_EQ(app.MainForm(), &form);
        TTrayIcon& icon = *form.TrayIcon;
        EXPECT_TRUE(icon.IconVisible());
        EXPECT_TRUE(icon.MinimizeToTray());
        EXPECT_EQ(icon.PopupMenu(), &form.TrayPopup);
        EXPECT_EQ(icon.Hint(), u"Corvalend");
        EXPECT_EQ(fw::FromWide(icon.IconData().szTip), u"Corvalend");
        EXPECT_TRUE(wintest::ShellHasIcon(icon.Handle(), icon.IconID()));
        EXPECT_EQ(wintest::ShellIconCount(), shellIcons + 1);

        std::vector<std::u16string> captions;
        MenuProbe probe([&](HWND menuWindow) {
            captions = MenuCaptions(menuWindow);
            PostMessageW(menuWindow, WM_KEYDOWN, VK_UP, 0);  // the last item: Exit
            PostMessageW(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
        });
        Callback(icon, WM_RBUTTONDOWN);
        MSG quit{};
        const auto end = std::chrono::steady_clock::now() + wintest::kPatience;
        while (quit.message != WM_QUIT && std::chrono::steady_clock::now() < end) {
            while (PeekMessageW(&quit, nullptr, 0, 0, PM_REMOVE) && quit.message != WM_QUIT) DispatchMessageW(&quit);
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        ASSERT_EQ(quit.message, static_cast<UINT>(WM_QUIT)) << "Exit did not end the loop";
        EXPECT_EQ(captions,
                  (std::vector<std::u16string>{u"Settings...", u"Show hotkeys...", u"-", u"Pause hotkeys", u"Exit"}));
        EXPECT_EQ(quit.wParam, 0u);
    }
    EXPECT_EQ(wintest::ShellIconCount(), shellIcons);  // the icon goes with the window
    EXPECT_EQ(app.MainForm(), nullptr);
}
