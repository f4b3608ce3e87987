// The program with the keyboard alone, from the tray icon's notifications as the shell sends them
// to a hotkey edited in the settings window and one added through the wizard.
#include "tests/e2e/SettingsE2E.h"

#include <shellapi.h>

using namespace settings_e2e;

namespace {

// Ctrl+Alt+F3 .. Ctrl+Alt+F9 after "first": more frames than the column has in view.
std::u16string RowsFile() {
    std::u16string file = kFirst;
    for (int row = 1; row < 8; ++row)
        file += Section(row, true, VK_F2 + row, u"placeinclipboard", u"row " + fw::IntToStr(row));
    return file;
}

// The version-4 notification the shell sends for the focused icon: the event and the icon in
// lParam, the icon's anchor in wParam.
void ShellSends(DWORD pid, UINT event) {
    const auto [handler, id] = e2e::FindProgramIcon(pid);
    ASSERT_NE(handler, nullptr) << "no tray icon";
    PostMessageW(handler, WM_TRAYCALLBACK, MAKEWPARAM(700, 590), MAKELPARAM(event, id));
}

// Presses the key, each press handled before the next, until the focus in the window is as `ready` wants.
bool PressUntil(HWND window, unsigned key, unsigned modifiers, const std::function<bool(HWND focus)>& ready) {
    if (!InFront(window)) return false;
    for (int press = 0; press < 30 && !ready(wintest::FocusOf(window)); ++press) {
        const HWND before = wintest::FocusOf(window);
        Press(key, modifiers);
        wintest::PumpUntil([&] { return wintest::FocusOf(window) != before; }, 3s);
    }
    return ready(wintest::FocusOf(window));
}

}  // namespace

TEST_F(SettingsE2E, KeysAloneOpenThePopupEditAHotkeyAndAddOneThroughTheWizard) {
    Start(RowsFile());
    e2e::TestWindow before(WS_OVERLAPPEDWINDOW, /*withEdit=*/false);
    before.BringToFront();

    // Enter on the icon: two notifications for one key, one popup, which takes the focus; Esc hands it back.
    ShellSends(Pid(), NIN_KEYSELECT);
    ShellSends(Pid(), NIN_KEYSELECT);
    const HWND popup = WaitForWindow("the popup", [&] {
        const HWND form = wintest::FindTopWindow(Pid(), L"Corvalend.MainForm");
        return form != nullptr && IsWindowVisible(form) && wintest::InFront(form) ? form : nullptr;
    });
    ASSERT_NE(popup, nullptr);
    Press(VK_END);
    ASSERT_TRUE(PressUntil(popup, VK_TAB, 0, [](HWND focus) { return TextOf(focus) == u"Manage hotkeys"; }));
    Press(VK_ESCAPE);
    ASSERT_TRUE(wintest::WaitFor("the popup gone", [&] { return !IsWindowVisible(popup); }));
    EXPECT_TRUE(InFront(before.Handle())) << "the focus is not back where it was";

    // Space on the icon, then "Manage hotkeys" with Enter.
    ShellSends(Pid(), NIN_SELECT);
    ASSERT_TRUE(InFront(popup));
    ASSERT_TRUE(PressUntil(popup, VK_TAB, 0, [](HWND focus) { return TextOf(focus) == u"Manage hotkeys"; }));
    Press(VK_RETURN);
    const HWND settings = WaitForWindow("the settings window", [this] { return Settings(); });
    ASSERT_TRUE(settings != nullptr && InFront(settings));

    // Tab to the frame of "row 6", beyond the first in view: Enter edits it (the window stays), Esc
    // cancels, Enter edits again.
    HWND edit = nullptr;
    ASSERT_TRUE(PressUntil(settings, VK_TAB, 0, [&](HWND focus) {
        return TextOf(focus) == u"&Edit" && Shows(GetParent(GetParent(focus)), u"row 6") && (edit = focus);
    }));
    const HWND frame = GetParent(GetParent(edit));
    RECT seen{}, place{};
    GetWindowRect(GetParent(frame), &seen);
    GetWindowRect(frame, &place);
    EXPECT_TRUE(place.top >= seen.top && place.bottom <= seen.bottom) << "the focused frame is out of view";
    Press(VK_RETURN);
    ASSERT_TRUE(wintest::WaitFor("the editor with the focus",
                                 [&] { return InEditMode(frame) && IsChild(frame, wintest::FocusOf(settings)); }));
    Press(VK_ESCAPE);
    ASSERT_TRUE(Focused(edit)) << "Esc did not leave the editor for its Edit button";
    EXPECT_FALSE(InEditMode(frame));
    Press(VK_RETURN);
    const HWND keyField = Descendants(frame, u"msctls_hotkey32", std::nullopt).at(0);
    ASSERT_TRUE(PressUntil(settings, VK_TAB, 0, [&](HWND focus) { return focus == keyField; }));
    Press(VK_F11);
    ASSERT_TRUE(KeyFieldShows(keyField, VK_F11));
    ASSERT_TRUE(PressUntil(settings, VK_TAB, 0, [](HWND focus) { return TextOf(focus) == u"Sa&ve"; }));
    Press(VK_RETURN);
    ASSERT_TRUE(wintest::WaitFor("the frame saved", [&] { return !InEditMode(frame); }));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F11), u"row 6");

    // Alt+N: the wizard. The typed combination ticks its boxes; the action page is filled by keys.
    Press('N', MOD_ALT);
    const HWND wizard = WaitForWindow("the wizard", [this] { return FindForm(u"New hotkey"); });
    ASSERT_TRUE(wizard != nullptr && InFront(wizard));
    Press(VK_F10, kCtrlAlt);
    EXPECT_TRUE(BoxShows(Descendant(wizard, L"BUTTON", u"&CTRL"), BST_CHECKED) &&
                BoxShows(Descendant(wizard, L"BUTTON", u"&ALT"), BST_CHECKED));
    Press(VK_RETURN);
    ASSERT_NE(WaitForWindow("the action page", [&] { return Descendant(wizard, L"BUTTON", u"&Finish"); }), nullptr);
    Press('T', MOD_ALT);
    e2e::Type(u"p");  // "Place in clipboard", the first action with a P
    Press('R', MOD_ALT);
    e2e::Type(kWizardText);
    Press(VK_RETURN);
    ASSERT_TRUE(wintest::WaitFor("the wizard gone", [&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }));
    EXPECT_EQ(PressedText(kCtrlAlt, VK_F10), kWizardText);

    // Esc closes the settings window, the program goes on.
    ASSERT_TRUE(InFront(settings));
    Press(VK_ESCAPE);
    EXPECT_TRUE(wintest::WaitFor("the settings window gone", [this] { return Settings() == nullptr; }));
}
