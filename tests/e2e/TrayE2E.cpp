// The program in the notification area as a user meets it: an icon from the start and no visible
// window or taskbar button, the tray menu on the right button, and "Exit" ending the program with
// its icon and hotkeys given back.
#include <gtest/gtest.h>

#include <chrono>

#include "controls/TrayIconLogic.h"
#include "tests/e2e/E2E.h"
#include "tests/win/WinTest.h"

using namespace std::chrono_literals;

TEST(TrayE2E, IconFromTheStartMenuOnTheRightButtonAndExit) {
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(u"[key0]\r\nactive=1\r\nkey=119\r\nshift=6\r\nfunc=maximize\r\n");
    ASSERT_TRUE(e2e::CanRegister(MOD_CONTROL | MOD_SHIFT, VK_F8));
    const int iconsBefore = wintest::ShellIconCount();

    e2e::RunningProgram program;
    EXPECT_FALSE(e2e::CanRegister(MOD_CONTROL | MOD_SHIFT, VK_F8));
    const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
    ASSERT_NE(handler, nullptr) << "the shell has no icon of the program";
    EXPECT_EQ(wintest::ShellIconCount(), iconsBefore + 1);
    EXPECT_FALSE(IsWindowVisible(handler));

    // Nothing on the screen or the taskbar: no window of the program is visible.
    EXPECT_FALSE(IsWindowVisible(program.MainWindow()));
    EXPECT_FALSE(IsWindowVisible(program.AppWindow()));
    for (const HWND window : e2e::TopWindowsOf(program.ProcessId())) {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        EXPECT_FALSE(IsWindowVisible(window)) << "visible window of class " << testing::PrintToString(className);
    }

    // The right button opens the tray menu at once.
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_RBUTTONDOWN);
    const HWND menu = e2e::WaitForMenu(program.ProcessId(), 10s);
    ASSERT_NE(menu, nullptr) << "no menu";
    // Where the system lets another process read the menu (not under Wine), it has its four items.
    const auto items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    if (const int count = GetMenuItemCount(items); count >= 0) {
        EXPECT_EQ(count, 4);
    }

    // "Exit" is the last item.
    PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(program.WaitForExit(10s), 0u);

    EXPECT_FALSE(wintest::ShellHasIcon(handler, id)) << "icon left behind";
    EXPECT_EQ(wintest::ShellIconCount(), iconsBefore);
    EXPECT_TRUE(e2e::CanRegister(MOD_CONTROL | MOD_SHIFT, VK_F8));
    EXPECT_EQ(GlobalFindAtomW(L"corvalend-119-6"), 0);
}
