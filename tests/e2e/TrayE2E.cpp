// The program in the notification area as a user meets it: an icon from the start and no visible
// window or taskbar button, the tray menu on the right button, and "Exit" ending the program with
// its icon and hotkeys given back.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <utility>
#include <vector>

#include "controls/TrayIconLogic.h"
#include "tests/e2e/E2E.h"
#include "tests/win/WinTest.h"

using namespace std::chrono_literals;

namespace {

struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> windows;
};

std::vector<HWND> TopWindowsOf(DWORD processId) {
    ProcessWindows found{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* of = reinterpret_cast<ProcessWindows*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == of->processId) of->windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

// The program's notification icon as the shell knows it: its window (a hidden helper window of the
// program) and identifier.
std::pair<HWND, UINT> FindProgramIcon(DWORD processId) {
    for (const HWND window : TopWindowsOf(processId)) {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (wcscmp(className, L"TPUtilWindow") != 0) continue;
        for (UINT id = 1; id <= 16; ++id) {
            if (wintest::ShellHasIcon(window, id)) return {window, id};
        }
    }
    return {nullptr, 0};
}

HWND WaitForMenu(DWORD processId, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        const HWND menu = wintest::FindTopWindow(processId, L"#32768");
        if (menu != nullptr && IsWindowVisible(menu)) return menu;
        std::this_thread::sleep_for(20ms);
    }
    return nullptr;
}

}  // namespace

TEST(TrayE2E, IconFromTheStartMenuOnTheRightButtonAndExit) {
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(u"[key0]\r\nactive=1\r\nkey=119\r\nshift=6\r\nfunc=maximize\r\n");
    ASSERT_TRUE(e2e::CanRegister(MOD_CONTROL | MOD_SHIFT, VK_F8));
    const int iconsBefore = wintest::ShellIconCount();

    e2e::RunningProgram program;
    EXPECT_FALSE(e2e::CanRegister(MOD_CONTROL | MOD_SHIFT, VK_F8));
    const auto [handler, id] = FindProgramIcon(program.ProcessId());
    ASSERT_NE(handler, nullptr) << "the shell has no icon of the program";
    EXPECT_EQ(wintest::ShellIconCount(), iconsBefore + 1);
    EXPECT_FALSE(IsWindowVisible(handler));

    // Nothing on the screen or the taskbar: no window of the program is visible.
    EXPECT_FALSE(IsWindowVisible(program.MainWindow()));
    EXPECT_FALSE(IsWindowVisible(program.AppWindow()));
    for (const HWND window : TopWindowsOf(program.ProcessId())) {
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        EXPECT_FALSE(IsWindowVisible(window)) << "visible window of class " << testing::PrintToString(className);
    }

    // The right button opens the tray menu at once.
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_RBUTTONDOWN);
    const HWND menu = WaitForMenu(program.ProcessId(), 10s);
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
