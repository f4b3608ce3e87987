// The data module in this process: where the hotkey file lives, and the live list that follows it.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "core/datau.h"
#include "framework/UniqueHandle.h"
#include "framework/WinText.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/SettingsFormU.h"

using namespace corvalend;

TEST(DataLocations, HotkeyFileBelowTheApplicationDataFolder) {
    EXPECT_EQ(HotkeyFileIn(u"C:\\Users\\a\\AppData\\Roaming"),
              u"C:\\Users\\a\\AppData\\Roaming\\Tamberlo\\Corvalend\\Data\\hotkeys.ini");
    EXPECT_EQ(HotkeyFileIn(u"C:\\Roaming\\"), u"C:\\Roaming\\Tamberlo\\Corvalend\\Data\\hotkeys.ini");

    const std::u16string appData = GetSpecialFolder(CSIDL_APPDATA);
    ASSERT_FALSE(appData.empty());
    EXPECT_EQ(GetSpecialFolder(0x7777), u"");  // no such folder

    fw::Application app(GetModuleHandleW(nullptr));
    wintest::EmptyHotkeyFile();
    wintest::ProgramData data(app);
    EXPECT_EQ(data.DataFile(dftHotkeys), HotkeyFileIn(appData));
    EXPECT_EQ(data.DataFile(dftRegKey), u"Software\\Tamberlo\\Corvalend\\");
}

TEST(DataModule, LiveListHoldsTheActiveHotkeysRegistered) {
    fw::Application app(GetModuleHandleW(nullptr));
    const std::u16string dataFolder = GetSpecialFolder(CSIDL_APPDATA) + u"\\Tamberlo";
    wintest::DeleteTree(dataFolder + u"\\Corvalend\\Data");

    {
        // No file yet: the folder is made, the list stays empty, and the settings window is shown
        // modally until the user closes it.
        HWND settings = nullptr;
        bool modal = false;
        wintest::ModalScript script;
        script.When(
            "the settings window",
            [&] {
                const std::u16string caption = u"Settings";
                settings = wintest::FindTopWindow(GetCurrentProcessId(), L"Corvalend.Form", &caption);
                return settings != nullptr && IsWindowVisible(settings);
            },
            [&] {
                modal = SettingsForm != nullptr && SettingsForm->Modal();
                PostMessageW(settings, WM_CLOSE, 0, 0);
            });
        script.Start([&] { PostMessageW(settings, WM_CLOSE, 0, 0); });
        wintest::ProgramData data(app);
        EXPECT_TRUE(modal) << "the settings window was shown modally";
        EXPECT_EQ(SettingsForm, nullptr);
        EXPECT_TRUE(wintest::WaitFor("the settings window gone", [&] { return !IsWindow(settings); }))
            << "closing it freed it";
        EXPECT_TRUE(wintest::FolderExists(dataFolder + u"\\Corvalend\\Data"));
        EXPECT_EQ(data.HotKeyList().Count(), 0);

        THotkeyList edit(data.HotkeyServices());
        edit.Add(true, VK_F6, MOD_CONTROL | MOD_ALT, hkfMaximize, u"", u"", u"");
        edit.Add(false, VK_F5, MOD_CONTROL | MOD_ALT, hkfMinimize, u"", u"", u"");
        edit.Add(true, VK_F4, MOD_CONTROL | MOD_ALT, hkfClose, u"", u"", u"");
        edit.SaveToFile(data.DataFile(dftHotkeys));
        data.InitApp();

        ASSERT_EQ(data.HotKeyList().Count(), 2);
        EXPECT_EQ(data.HotKeyList().GetItem(1)->HotKeyData.Func, hkfClose);
        EXPECT_NE(data.HotKeyList().GetItem(0)->Atom(), 0);
        EXPECT_EQ(edit.GetItem(0)->Atom(), 0);  // editing copies are never registered
        EXPECT_NE(GlobalFindAtomW(L"corvalend-117-3"), 0);
        EXPECT_FALSE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F6));

        // The file changes: InitApp follows it.
        edit.Delete(0);
        edit.SaveToFile(data.DataFile(dftHotkeys));
        data.InitApp();
        EXPECT_EQ(data.HotKeyList().Count(), 1);
        EXPECT_EQ(GlobalFindAtomW(L"corvalend-117-3"), 0);
        ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F6));
        UnregisterHotKey(nullptr, 1);
    }
    // Destroying the data module withdrew everything.
    EXPECT_EQ(GlobalFindAtomW(L"corvalend-115-3"), 0);
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, VK_F4));
    UnregisterHotKey(nullptr, 1);
    wintest::DeleteTree(dataFolder);
}

TEST(DataModule, UnreadableFileIsReportedAndStartUpGoesOn) {
    fw::Application app(GetModuleHandleW(nullptr));
    app.SetTitle(u"Corvalend");
    const std::u16string file = HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA));
    fw::ForceDirectories(fw::ExtractFileDir(file));
    fw::Win32FileStore().Replace(file, "\xFF\xFE");
    fw::UniqueFile held(CreateFileW(fw::AsWide(file), GENERIC_READ, /*share=*/0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);

    wintest::MessageBoxWatcher watcher(u"Corvalend");
    wintest::ProgramData data(app);
    ASSERT_TRUE(watcher.Wait(wintest::kPatience));
    EXPECT_EQ(watcher.Text().rfind(u"Cannot open file \"" + file + u"\". ", 0), 0u) << fw::Utf16ToUtf8(watcher.Text());
    EXPECT_EQ(watcher.Text().back(), u'.');
    EXPECT_EQ(data.HotKeyList().Count(), 0);
    held.reset();
    wintest::DeleteTree(GetSpecialFolder(CSIDL_APPDATA) + u"\\Tamberlo");
}
