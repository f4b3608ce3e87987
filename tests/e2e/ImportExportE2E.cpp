// A list exported through the save dialog and imported into an empty one gives the same hotkey file.
#include "tests/e2e/SettingsE2E.h"
#include "tests/support/SaveDialogDriver.h"

namespace settings_e2e {

TEST_F(SettingsE2E, AListExportedAndImportedIntoAnEmptyOneIsTheSameFile) {
    const std::u16string exported = fw::ExtractFileDir(e2e::HotkeyFile()) + u"\\exported.ini";
    const auto choose = [&](HWND settings, const wchar_t* button, const std::u16string& title) {
        const HWND pressed = wintest::FindChildWindow(settings, L"Button", button);
        ASSERT_TRUE(pressed != nullptr && InFront(settings));
        Press(VK_TAB, MOD_CONTROL);  // to the Other settings tab
        ASSERT_TRUE(wintest::WaitFor("the Other settings tab", [&] { return IsWindowVisible(pressed) != FALSE; }));
        e2e::ClickCentre(pressed);
        const HWND dialog = wintest::WaitForSaveDialog(Pid(), title, wintest::kPatience);
        ASSERT_NE(dialog, nullptr);
        wintest::SetSaveDialogFileName(dialog, exported);
        wintest::PressSaveDialogButton(dialog, IDOK);
    };
    DeleteFileW(fw::AsWide(exported));
    choose(StartWithSettings(kFirst + kOldInactive), L"E&xport hotkeys...", u"Export hotkeys");
    std::optional<std::string> bytes;
    ASSERT_TRUE(wintest::WaitFor("the exported file",
                                 [&] { return (bytes = fw::Win32FileStore().Read(exported)).has_value(); }));
    EXPECT_EQ(bytes, HotkeyFileBytes());
    ASSERT_EQ(program_->Close(), 0u);
    choose(StartWithSettings(u""), L"I&mport hotkeys...", u"Import hotkeys");
    EXPECT_EQ(TakeBox(u"Information"), u"Imported 2 hotkeys.");
    EXPECT_EQ(HotkeyFileBytes(), bytes) << Printable(HotkeyFileBytes());
}

}  // namespace settings_e2e
