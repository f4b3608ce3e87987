// A portable copy keeps everything in its Data folder, nothing in the user's application-data folder or
// the program's registry key; a Data folder it cannot write to ends the start with a message.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/SystemError.h"
#include "framework/TextFile.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/E2E.h"
#include "tests/support/Front.h"
#include "tests/support/WinTest.h"

namespace {

constexpr wchar_t kVendorKey[] = L"Software\\Tamberlo";

// A copy of the program in a folder of its own with the marker beside it, no trace of the user before.
class PortableE2E : public ::testing::Test {
protected:
    void SetUp() override {
        wintest::DeleteTree(e2e::VendorFolder());
        RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
        wintest::DeleteTree(folder_);
        ASSERT_TRUE(fw::ForceDirectories(folder_ + u"\\Data"));
        ASSERT_TRUE(CopyFileW(fw::AsWide(e2e::ProgramPath()), fw::AsWide(program_), /*failIfExists=*/FALSE));
        files_.Replace(folder_ + u"\\Corvalend.portable", "");
    }
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Corvalend");
        wintest::DeleteTree(folder_);
        e2e::PrepareRegistry();
    }
    static void ExpectNothingElsewhere() {
        EXPECT_EQ(GetFileAttributesW(fw::AsWide(e2e::VendorFolder())), INVALID_FILE_ATTRIBUTES);
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kVendorKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    }

    const std::u16string folder_ = fw::ExtractFileDir(e2e::ProgramPath()) + u"\\portable copy";
    const std::u16string program_ = folder_ + u"\\Corvalend.exe";
    fw::Win32FileStore files_;
};

}  // namespace

TEST_F(PortableE2E, KeepsItsHotkeysAndSettingsBesideItselfAndNothingElsewhere) {
    files_.Replace(
        folder_ + u"\\Data\\hotkeys.ini",
        fw::EncodeUtf16LE(u"[key0]\r\nactive=1\r\nkey=120\r\nshift=3\r\nfunc=placeinclipboard\r\nparams=from Data\r\n",
                          true));
    {
        e2e::RunningProgram program(program_);
        const std::u16string caption = u"Setup Corvalend";  // no "FirstUse" in the Data folder yet
        const HWND guide = wintest::FindTopWindow(program.ProcessId(), L"Corvalend.Form", &caption);
        ASSERT_TRUE(guide != nullptr && wintest::BringToFront(guide)) << "the first-use guide";
        for (const wchar_t* page : {L"Welcome", L"Startup", L"Hotkeys"}) {  // Enter: the next page, Finish
            ASSERT_TRUE(wintest::WaitFor("the guide's next page", [&] {
                const HWND sheet = wintest::FindChildWindow(guide, L"Corvalend.Panel", page);
                return sheet != nullptr && IsWindowVisible(sheet) && wintest::InFront(guide);
            }));
            e2e::Press(0, VK_RETURN);
        }
        ASSERT_TRUE(wintest::WaitFor("the guide gone", [&] { return !IsWindowVisible(guide); }));
        EXPECT_EQ(files_.Read(folder_ + u"\\Data\\settings.ini"),
                  fw::EncodeUtf16LE(u"[Settings]\r\nFirstUse=0\r\n", true));
        // The guide's end reloads the live hotkeys, which may still be under way when its window has gone.
        EXPECT_TRUE(e2e::PlacesWhenPressed(MOD_CONTROL | MOD_ALT, VK_F9, u"from Data"));
    }
    ExpectNothingElsewhere();
}

TEST_F(PortableE2E, ADataFolderThatCannotBeWrittenEndsTheStartWithAMessage) {
    wintest::DeleteTree(folder_ + u"\\Data");
    files_.Replace(folder_ + u"\\Data", "a file where the folder should be");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(
        CreateProcessW(fw::AsWide(program_), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    const fw::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    EXPECT_EQ(e2e::TakeMessageBox(info.dwProcessId, u"Corvalend", std::chrono::seconds(30)),
              u"Corvalend cannot write to its Data folder beside the program (" + folder_ + u"\\Data): " +
                  fw::SystemErrorText(ERROR_DIRECTORY) + u". A portable copy needs a folder it may write to.");
    ASSERT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_EQ(exitCode, 1u);
    ExpectNothingElsewhere();
}
