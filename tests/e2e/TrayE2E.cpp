// The program in the notification area as a user meets it: an icon from the start and no visible
// window or taskbar button, the tray menu on the right button, and "Exit" ending the program with
// its icon and hotkeys given back; a click shows the active hotkeys in the popup, those another
// program holds marked, and takes those it let go, as does the taskbar coming back.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "controls/TrayIconLogic.h"
#include "framework/Text.h"
#include "framework/WinText.h"
#include "tests/support/E2E.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

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
    const HWND menu = e2e::WaitForMenu(program.ProcessId(), wintest::kPatience);
    ASSERT_NE(menu, nullptr) << "no menu";
    // Where the system lets another process read the menu (not under Wine), it has its five items.
    const auto items = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    if (const int count = GetMenuItemCount(items); count >= 0) {
        EXPECT_EQ(count, 5);
    }

    // "Exit" is the last item.
    PostMessageW(menu, WM_KEYDOWN, VK_UP, 0);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(program.WaitForExit(wintest::kPatience), 0u);

    EXPECT_FALSE(wintest::ShellHasIcon(handler, id)) << "icon left behind";
    EXPECT_EQ(wintest::ShellIconCount(), iconsBefore);
    EXPECT_TRUE(e2e::CanRegister(MOD_CONTROL | MOD_SHIFT, VK_F8));
    EXPECT_EQ(GlobalFindAtomW(L"corvalend-119-6"), 0);
}

namespace {

// The texts of the program's popup labels (its links included), top to bottom and left to right,
// and the popup's client size.
struct PopupView {
    struct Label {
        RECT rect;  // in the popup's client area
        std::u16string text;
    };
    std::vector<Label> labels;
    std::vector<std::u16string> texts;
    RECT client{};
};

PopupView ReadPopup(HWND popup) {
    PopupView view;
    // Every static text below the popup, the ones on its inner panels too.
    EnumChildWindows(
        popup,
        [](HWND child, LPARAM data) -> BOOL {
            auto& view = *reinterpret_cast<PopupView*>(data);
            wchar_t kind[16] = {};
            GetClassNameW(child, kind, 16);
            if (lstrcmpiW(kind, L"Static") != 0 || !IsWindowVisible(child)) return TRUE;
            wchar_t text[256] = {};
            DWORD_PTR length = 0;
            SendMessageTimeoutW(child, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK, 5000, &length);
            RECT rect{};
            GetWindowRect(child, &rect);
            MapWindowPoints(HWND_DESKTOP, GetAncestor(child, GA_ROOT), reinterpret_cast<POINT*>(&rect), 2);
            view.labels.push_back({rect, fw::FromWide(text)});
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&view));
    std::sort(view.labels.begin(), view.labels.end(), [](const PopupView::Label& a, const PopupView::Label& b) {
        return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
    for (const PopupView::Label& label : view.labels) view.texts.push_back(label.text);
    GetClientRect(popup, &view.client);
    return view;
}

}  // namespace

TEST(TrayE2E, AClickShowsTheActiveHotkeysBesideTheTaskbarUntilThePointerLeaves) {
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(
        u"[key0]\r\nactive=1\r\nkey=119\r\nshift=6\r\nfunc=maximize\r\n\r\n"
        u"[key1]\r\nactive=0\r\nkey=120\r\nshift=6\r\nfunc=minimize\r\n\r\n"
        u"[key2]\r\nactive=1\r\nkey=121\r\nshift=6\r\nfunc=openfile\r\nparams=a.txt\r\nparams2=-x\r\n\r\n"
        u"[key3]\r\nactive=1\r\nkey=122\r\nshift=6\r\nfunc=placeinclipboard\r\nparams=hello\r\n");
    e2e::RunningProgram program;
    const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
    ASSERT_NE(handler, nullptr);
    const HWND popup = program.MainWindow();

    // A single click opens the popup once the double-click time has passed.
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONDOWN);
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONUP);
    ASSERT_TRUE(wintest::WaitFor("the popup", [&] { return IsWindowVisible(popup) != FALSE; })) << "no popup";
    EXPECT_TRUE(GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(popup, GWL_EXSTYLE) & WS_EX_LAYERED);
    // Shown with its grid: the hotkeys are listed before the window comes up.
    const PopupView view = ReadPopup(popup);
    EXPECT_EQ(view.client.bottom, 21 * 3 + 53) << "three active hotkeys";
    ASSERT_EQ(view.texts.size(), 14u) << "a header row, three rows (the inactive hotkey left out) and two links";
    EXPECT_EQ((std::vector<std::u16string>(view.texts.begin(), view.texts.begin() + 3)),
              (std::vector<std::u16string>{u"Hotkey", u"Action", u"Parameters"}));
    EXPECT_EQ((std::vector<std::u16string>(view.texts.begin() + 4, view.texts.begin() + 6)),
              (std::vector<std::u16string>{u"Maximize active window", u""}));
    EXPECT_EQ(view.texts[7], u"Open file");
    EXPECT_EQ(view.texts[8], u"a.txt, -x");
    EXPECT_EQ(view.texts[10], u"Place in clipboard");
    EXPECT_EQ(view.texts[11], u"hello");
    // The links along the bottom, "Check for updates" ending 8 pixels before the right edge.
    EXPECT_EQ(view.texts[12], u"Manage hotkeys");
    EXPECT_EQ(view.texts[13], u"Check for updates");
    EXPECT_EQ(view.labels[13].rect.right, view.client.right - 8);
    EXPECT_NE(view.texts[3].find(u"F8"), std::u16string::npos)
        << testing::PrintToString(fw::Utf16ToUtf8(view.texts[3]));

    // The pointer far from the popup and the taskbar: it hides at a timer tick.
    RECT rect{};
    GetWindowRect(popup, &rect);
    SetCursorPos(rect.left > 200 ? 20 : rect.right + 100, rect.top > 200 ? 20 : rect.bottom + 100);
    EXPECT_TRUE(wintest::WaitFor("the popup hidden", [&] { return !IsWindowVisible(popup); })) << "the popup stays";
    EXPECT_EQ(program.Close(), 0u);
}

TEST(TrayE2E, RefusedHotkeysAreMarkedThenTakenWhenThePopupOpensOrTheTaskbarComesBack) {
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(
        u"[key0]\r\nactive=1\r\nkey=118\r\nshift=6\r\nfunc=placeinclipboard\r\nparams=first\r\n\r\n"
        u"[key1]\r\nactive=1\r\nkey=119\r\nshift=6\r\nfunc=placeinclipboard\r\nparams=second\r\n");
    // Another program holds both combinations when the program starts.
    e2e::TestWindow holder(WS_OVERLAPPEDWINDOW, false);
    ASSERT_TRUE(RegisterHotKey(holder.Handle(), 1, MOD_CONTROL | MOD_SHIFT, VK_F7));
    ASSERT_TRUE(RegisterHotKey(holder.Handle(), 2, MOD_CONTROL | MOD_SHIFT, VK_F8));
    const int iconsBefore = wintest::ShellIconCount();
    e2e::RunningProgram program;
    const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
    ASSERT_NE(handler, nullptr);
    const HWND popup = program.MainWindow();
    const auto hotkeyTexts = [&] {
        const PopupView view = ReadPopup(popup);
        return view.texts.size() > 6 ? std::vector<std::u16string>{view.texts[3], view.texts[6]}
                                     : std::vector<std::u16string>{};
    };
    const auto pressed = [](unsigned key, const std::u16string& text) {
        wintest::EmptyTheClipboard();
        e2e::Press(MOD_CONTROL | MOD_SHIFT, key);
        return wintest::WaitFor("the hotkey's text on the clipboard", [&] { return wintest::ClipboardText() == text; });
    };
    const auto marked = [](const std::u16string& text) { return text.ends_with(u" (in use)"); };

    // The first let go after the start: opening the popup takes it; the second is still held and
    // marked. The pointer rests on the popup, which keeps it open.
    ASSERT_TRUE(UnregisterHotKey(holder.Handle(), 1));
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONDOWN);
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONUP);
    ASSERT_TRUE(wintest::WaitFor("the popup", [&] { return IsWindowVisible(popup) != FALSE; })) << "no popup";
    RECT rect{};
    GetWindowRect(popup, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    std::vector<std::u16string> texts = hotkeyTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_FALSE(marked(texts[0])) << testing::PrintToString(fw::Utf16ToUtf8(texts[0]));
    EXPECT_TRUE(marked(texts[1])) << testing::PrintToString(fw::Utf16ToUtf8(texts[1]));

    // The second let go, and the shell made again without the program's icon: the message that
    // tells so brings the icon back and takes the hotkey, and the open popup drops its mark.
    ASSERT_TRUE(UnregisterHotKey(holder.Handle(), 2));
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = handler;
    icon.uID = id;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &icon));
    ASSERT_FALSE(wintest::ShellHasIcon(handler, id));
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(program.AppWindow(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0, SMTO_BLOCK, 5000,
                        &ignored);
    texts = hotkeyTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_FALSE(marked(texts[1])) << testing::PrintToString(fw::Utf16ToUtf8(texts[1]));
    SetCursorPos(rect.left > 200 ? 20 : rect.right + 100, rect.top > 200 ? 20 : rect.bottom + 100);
    EXPECT_TRUE(wintest::WaitFor("the popup hidden", [&] { return !IsWindowVisible(popup); })) << "the popup stays";

    EXPECT_TRUE(pressed(VK_F8, u"second"));
    EXPECT_TRUE(pressed(VK_F7, u"first"));
    EXPECT_TRUE(wintest::ShellHasIcon(handler, id));
    EXPECT_EQ(wintest::ShellIconCount(), iconsBefore + 1);
    EXPECT_EQ(program.Close(), 0u);
}
