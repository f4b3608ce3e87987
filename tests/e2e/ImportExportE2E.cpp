// Export and import through the real dialogs: a list exported, then imported into an empty one, gives
// the same hotkey file.
#include "tests/e2e/SettingsE2E.h"
#include "tests/support/SaveDialogDriver.h"

namespace settings_e2e {
namespace {

class ImportExportE2E : public SettingsE2E {
protected:
    // Presses the button of the Other settings tab, names the file in the dialog with the title.
    void ChooseFile(HWND settings,
                    const std::u16string& button,
                    const std::u16string& title,
                    const std::u16string& file) {
        const HWND pressed = Descendant(settings, L"Button", button);
        ASSERT_NE(pressed, nullptr) << fw::Utf16ToUtf8(button);
        ASSERT_TRUE(InFront(settings));
        Press(VK_TAB, MOD_CONTROL);  // the next tab
        ASSERT_TRUE(wintest::WaitFor("the Other settings tab", [&] { return IsWindowVisible(pressed) != FALSE; }));
        e2e::ClickCentre(pressed);
        const HWND dialog = wintest::WaitForSaveDialog(Pid(), title, wintest::kPatience);
        ASSERT_NE(dialog, nullptr);
        wintest::SetSaveDialogFileName(dialog, file);
        wintest::PressSaveDialogButton(dialog, IDOK);
    }
};

TEST_F(ImportExportE2E, AListExportedAndImportedIntoAnEmptyOneIsTheSameFile) {
    const std::u16string exported = fw::ExtractFileDir(e2e::HotkeyFile()) + u"\\exported.ini";
    DeleteFileW(fw::AsWide(exported));
    ChooseFile(StartWithSettings(kFirst + kOldInactive), u"E&xport hotkeys...", u"Export hotkeys", exported);
    std::optional<std::string> bytes;
    ASSERT_TRUE(wintest::WaitFor("the exported file",
                                 [&] { return (bytes = fw::Win32FileStore().Read(exported)).has_value(); }));
    EXPECT_EQ(bytes, HotkeyFileBytes());

    ASSERT_EQ(program_->Close(), 0u);
    ChooseFile(StartWithSettings(u""), u"I&mport hotkeys...", u"Import hotkeys", exported);
    EXPECT_EQ(TakeBox(u"Information"), u"Imported 2 hotkeys.");
    EXPECT_EQ(HotkeyFileBytes(), bytes) << Printable(HotkeyFileBytes());
    DeleteFileW(fw::AsWide(exported));
}

}  // namespace
}  // namespace settings_e2e
