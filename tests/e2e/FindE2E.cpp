// Finding one hotkey among 364 in the settings window, with the keys alone.
#include "tests/e2e/SettingsE2E.h"

using namespace settings_e2e;

TEST_F(SettingsE2E, CtrlFAndTypingFindOneHotkeyAmong364AndEscShowsThemAllAgain) {
    std::u16string file;
    for (int i = 0; i < 364; ++i) {
        file +=
            Section(i, false, 'A' + i % 26, u"placeinclipboard", i == 300 ? u"The needle" : u"hay " + fw::IntToStr(i));
    }
    const HWND settings = StartWithSettings(file);
    ASSERT_NE(settings, nullptr);
    const auto count = [&](const std::u16string& text) {
        return WaitForWindow("the count", [&] { return Descendant(settings, L"Static", text); }) != nullptr;
    };
    Press('F', MOD_CONTROL);
    const HWND box = GetWindow(Descendant(settings, L"Static", u"&Find:"), GW_HWNDNEXT);
    ASSERT_TRUE(Focused(box));
    e2e::Type(u"NEEDLE");
    EXPECT_TRUE(count(u"1 of 364 hotkeys"));
    EXPECT_TRUE(wintest::WaitFor(
        "the one frame", [&] { return Frames(settings).size() == 1 && Shows(Frames(settings)[0], u"The needle"); }));
    Press(VK_ESCAPE);
    EXPECT_TRUE(count(u"364 of 364 hotkeys"));
    EXPECT_TRUE(Settings() != nullptr && TextOf(box).empty()) << "Esc in the box with text did not only clear it";

    // "New hotkey" during a find: the find goes, and the column shows the new hotkey, the last of 365.
    e2e::Type(u"needle");
    EXPECT_TRUE(count(u"1 of 364 hotkeys"));
    Press('N', MOD_ALT);
    const HWND wizard = WaitForWindow("the wizard", [this] { return FindForm(u"New hotkey"); });
    ASSERT_NE(wizard, nullptr);
    EXPECT_TRUE(TextOf(box).empty());
    Press(VK_F10, kCtrlAlt);
    Press(VK_RETURN);
    ASSERT_NE(WaitForWindow("the action page", [&] { return Descendant(wizard, L"BUTTON", u"&Finish"); }), nullptr);
    Press('T', MOD_ALT);
    e2e::Type(u"p");
    Press('R', MOD_ALT);
    e2e::Type(kWizardText);
    Press(VK_RETURN);
    EXPECT_TRUE(count(u"365 of 365 hotkeys"));
    EXPECT_TRUE(
        wintest::WaitFor("the new frame in view", [&] { return FrameShowing(settings, kWizardText) != nullptr; }));
}
