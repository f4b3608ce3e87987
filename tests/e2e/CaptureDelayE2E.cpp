// A capture hotkey with a delay: the tray's tip counts down, other hotkeys work meanwhile, a window
// opened after the press is in the capture, and a second press cancels.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "framework/Bitmap.h"
#include "framework/PictureOps.h"
#include "framework/UniqueHandle.h"
#include "framework/WinText.h"
#include "tests/support/CaptureDriver.h"
#include "tests/support/E2E.h"
#include "tests/support/Front.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

namespace {

// What the tooltip says for the window `icon`, asked in the tooltip's process through memory lent there.
std::u16string ToolTipText(HWND tooltip, HWND icon) {
    DWORD pid = 0;
    GetWindowThreadProcessId(tooltip, &pid);
    const fw::UniqueKernelHandle process(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, /*inherit=*/FALSE, pid));
    struct Lent {
        TTTOOLINFOW info;
        wchar_t text[1024];
    };
    auto* lent = static_cast<Lent*>(
        VirtualAllocEx(process.get(), nullptr, sizeof(Lent), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (lent == nullptr) return u"";
    TTTOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = icon;
    info.uId = reinterpret_cast<UINT_PTR>(icon);
    info.lpszText = lent->text;
    Lent read{};  // the text only
    WriteProcessMemory(process.get(), &lent->info, &info, sizeof(info), nullptr);
    SendMessageW(tooltip, TTM_GETTEXTW, std::size(read.text), reinterpret_cast<LPARAM>(&lent->info));
    ReadProcessMemory(process.get(), lent->text, read.text, sizeof(read.text) - sizeof(wchar_t), nullptr);
    VirtualFreeEx(process.get(), lent, 0, MEM_RELEASE);
    return fw::FromWide(read.text);
}

// True when the shell shows `tip` for one of its icons. Wine's own tray keeps a tooltip per icon in
// its process, owned by the tray window that holds the icons' windows.
bool ShellShowsTip(const std::u16string& tip) {
    for (HWND tooltip = nullptr; (tooltip = FindWindowExW(nullptr, tooltip, TOOLTIPS_CLASSW, nullptr)) != nullptr;) {
        const HWND tray = GetWindow(tooltip, GW_OWNER);
        for (HWND icon = nullptr; (icon = FindWindowExW(tray, icon, nullptr, nullptr)) != nullptr;) {
            if (ToolTipText(tooltip, icon) == tip) return true;
        }
    }
    return false;
}

}  // namespace

TEST(CaptureDelayE2E, TipCountsDownAWindowOpenedMeanwhileIsCapturedAndASecondPressCancels) {
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(
        u"[key0]\r\nactive=1\r\nkey=116\r\nshift=3\r\nfunc=capturescreen\r\nparams=2\r\n\r\n"
        u"[key1]\r\nactive=1\r\nkey=119\r\nshift=6\r\nfunc=placeinclipboard\r\nparams=meanwhile\r\n");
    e2e::RunningProgram program;
    const auto tip = [](const char16_t* text) { return [text] { return ShellShowsTip(text); }; };
    ASSERT_TRUE(wintest::WaitFor("the usual tip", tip(u"Corvalend")));
    wintest::EmptyTheClipboard();
    e2e::Press(MOD_CONTROL | MOD_ALT, VK_F5);
    ASSERT_TRUE(wintest::WaitFor("the countdown from 2", tip(u"Capture in 2 s")));
    const e2e::PatternWindow pattern(30, 20, 320, 240);  // waits until it shows
    const fw::Picture opened = fw::GrabScreen(pattern.Rect());
    e2e::Press(MOD_CONTROL | MOD_SHIFT, VK_F8);
    EXPECT_TRUE(wintest::WaitFor("the other hotkey", [] { return wintest::ClipboardText() == u"meanwhile"; }));
    const HWND window = e2e::WaitForCaptureWindow(program.ProcessId(), wintest::kPatience);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(wintest::WaitFor("the usual tip after the capture", tip(u"Corvalend")));
    ASSERT_TRUE(wintest::WaitInFront(window));
    e2e::Press(MOD_CONTROL, 'C');
    fw::Picture copied;
    ASSERT_TRUE(wintest::WaitFor("a copy", [&] { return !(copied = wintest::ClipboardPicture()).Empty(); }));
    EXPECT_TRUE(fw::CopyRect(copied, pattern.Rect()).pixels == opened.pixels) << "the window opened meanwhile";
    ASSERT_TRUE(e2e::WaitNoCaptureWindow(program.ProcessId(), wintest::kPatience));
    e2e::Press(MOD_CONTROL | MOD_ALT, VK_F5);
    ASSERT_TRUE(wintest::WaitFor("the second countdown", tip(u"Capture in 2 s")));
    e2e::Press(MOD_CONTROL | MOD_ALT, VK_F5);
    ASSERT_TRUE(wintest::WaitFor("the usual tip after the cancel", tip(u"Corvalend")));
    EXPECT_EQ(wintest::FindTopWindow(program.ProcessId(), L"Corvalend.SaveCapture"), nullptr);
    EXPECT_EQ(program.Close(), 0u);
}
