// Paused from the tray menu, the program lets its hotkeys go but the pause hotkey, which resumes.
#include <gtest/gtest.h>

#include <windows.h>

#include "controls/TrayIconLogic.h"
#include "tests/support/E2E.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

TEST(PauseE2E, PausedFromTheMenuOnlyThePauseHotkeyFiresAndResumes) {
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(
        u"[key0]\r\nactive=1\r\nkey=119\r\nshift=6\r\nfunc=placeinclipboard\r\nparams=fired\r\n\r\n"
        u"[key1]\r\nactive=1\r\nkey=120\r\nshift=6\r\nfunc=pausehotkeys\r\n");
    e2e::RunningProgram program;
    const auto registered = [] { return GlobalFindAtomW(L"corvalend-119-6") != 0; };  // F8 held, asked harmlessly
    const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_RBUTTONDOWN);
    const HWND menu = e2e::WaitForMenu(program.ProcessId(), wintest::kPatience);
    for (const WPARAM key : {VK_UP, VK_UP, VK_RETURN}) PostMessageW(menu, WM_KEYDOWN, key, 0);  // above "Exit"
    ASSERT_TRUE(wintest::WaitFor("the hotkey let go", [&] { return !registered(); }));
    // Pressed while paused, the hotkey's action would come before the pause hotkey's.
    wintest::EmptyTheClipboard();
    e2e::Press(MOD_CONTROL | MOD_SHIFT, VK_F8);
    e2e::Press(MOD_CONTROL | MOD_SHIFT, VK_F9);
    ASSERT_TRUE(wintest::WaitFor("resumed by the pause hotkey", registered));
    EXPECT_EQ(wintest::ClipboardText(), u"");
    e2e::Press(MOD_CONTROL | MOD_SHIFT, VK_F8);
    EXPECT_TRUE(wintest::WaitFor("the hotkey fires again", [] { return wintest::ClipboardText() == u"fired"; }));
}
