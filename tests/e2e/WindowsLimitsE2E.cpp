// What Windows keeps or types itself, met in the settings window: named for the user, not passed over.
#include "tests/e2e/SettingsE2E.h"

using namespace settings_e2e;

// A combination Windows keeps, held here as Windows' shell would hold it: marked and refused by name.
TEST_F(SettingsE2E, WindowsOwnCombinationIsMarkedAndRefusedByName) {
    const wintest::HeldCombination held(MOD_WIN, 'E');
    ASSERT_TRUE(held.Held());
    Start(u"[key0]\r\nactive=1\r\nkey=69\r\nshift=8\r\nfunc=placeinclipboard\r\nparams=explorer\r\n");
    const auto [handler, id] = e2e::FindProgramIcon(Pid());
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONDOWN);
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONUP);
    EXPECT_TRUE(wintest::WaitFor("the popup's row marked", [&] {
        return !Descendants(program_->MainWindow(), u"STATIC", u"WIN + E (used by Windows)").empty();
    }));
    DoubleClickTrayIcon();
    const HWND settings = WaitForWindow("the settings window", [this] { return Settings(); });
    ASSERT_NE(settings, nullptr);
    const HWND frame = FrameShowing(settings, u"explorer");
    ASSERT_NE(frame, nullptr);
    const std::u16string reading = u"Active: yes. Shift key: WIN. Key: E (used by Windows). Action: Place in clipboard";
    EXPECT_FALSE(Descendants(frame, u"STATIC", reading + u". Parameters: explorer").empty());
    ASSERT_TRUE(StartEditing(settings, frame));
    e2e::ClickCentre(Descendant(frame, L"BUTTON", u"Sa&ve"));
    EXPECT_EQ(TakeBox(u"Error"),
              u"The selected hotkey is used by another program. Windows uses WIN+E for File Explorer.");
    EXPECT_TRUE(InEditMode(frame)) << "nothing was saved";
}

// Under Wine "@" on Q stands for "€" on E, and the layout is named after the language (AsciiByKeyScan).
TEST_F(SettingsE2E, CombinationThatTypesACharacterIsQuestionedAndNoSavesNothing) {
    const auto setMap = [](std::string map) {  // read by Wine when a program starts
        std::string program = "setxkbmap";     // on this test's display, through Wine's own call
        char* const argv[] = {program.data(), map.data(), nullptr};
        return fw::SystemLibrary(L"ntdll.dll").Get<long(char* const*, int)>("__wine_unix_spawnvp")(argv, 1) == 0;
    };
    ASSERT_TRUE(setMap("de"));
    const fw::ScopeExit usMap([&] { EXPECT_TRUE(setMap("us")); });
    const HWND settings = StartWithSettings(kPreparedFile);
    ASSERT_NE(settings, nullptr);
    e2e::ClickCentre(Descendant(settings, L"BUTTON", u"&New hotkey"));
    const HWND wizard = WaitForWindow("the wizard", [this] { return FindForm(u"New hotkey"); });
    const HWND keyField = Descendants(wizard, u"msctls_hotkey32", std::nullopt).at(0);
    Ask(keyField, HKM_SETHOTKEY, 'Q');
    for (const char16_t* name : {u"&CTRL", u"&ALT", u"&Next"}) e2e::ClickCentre(Descendant(wizard, L"BUTTON", name));
    const std::u16string question = TakeBox(u"Confirm", IDNO).value_or(u"(no question)");
    EXPECT_TRUE(question.starts_with(u"On the ") && !question.starts_with(u"On the  ") &&
                question.ends_with(u" keyboard layout, CTRL+ALT+Q types \"@\". Use it as a hotkey anyway?"))
        << fw::Utf16ToUtf8(question);
    EXPECT_TRUE(IsWindowVisible(keyField)) << "No stays on the key page";
    e2e::ClickCentre(Descendant(wizard, L"BUTTON", u"Cance&l"));
    EXPECT_TRUE(wintest::WaitFor("the wizard closed", [&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }));
    EXPECT_TRUE(FileHolds(kPreparedFile)) << Printable(HotkeyFileBytes());
}
