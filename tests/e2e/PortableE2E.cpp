// A portable copy: the program with the marker beside it keeps its hotkeys and settings in its own
// Data folder and writes nothing to the user's application-data folder or the program's registry key;
// a Data folder it cannot write ends the start with a message and a failed exit code.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "framework/Text.h"
#include "framework/TextFile.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/E2E.h"
#include "tests/support/Front.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

namespace {

constexpr wchar_t kVendorKey[] = L"Software\\Tamberlo";

// A copy of the program in a folder of its own with the marker beside it; no trace of the user before.
class PortableE2E : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = fw::FromWide(temp) + u"portable copy";
        wintest::DeleteTree(folder_);
        wintest::DeleteTree(e2e::VendorFolder());
        RegDeleteTreeW(HKEY_CURRENT_USER, kVendorKey);
        ASSERT_TRUE(fw::ForceDirectories(folder_ + u"\\Data"));
        ASSERT_TRUE(CopyFileW(fw::AsWide(e2e::ProgramPath()), fw::AsWide(Program()), /*failIfExists=*/FALSE));
        files_.Replace(folder_ + u"\\Corvalend.portable", "");
    }
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Run", L"Corvalend");
        wintest::DeleteTree(folder_);
        e2e::PrepareRegistry();
    }
    std::u16string Program() const { return folder_ + u"\\Corvalend.exe"; }
    static void ExpectNothingElsewhere() {
        EXPECT_EQ(GetFileAttributesW(fw::AsWide(e2e::VendorFolder())), INVALID_FILE_ATTRIBUTES);
        HKEY key = nullptr;
        EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kVendorKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    }

    std::u16string folder_;
    fw::Win32FileStore files_;
};

}  // namespace

TEST_F(PortableE2E, KeepsItsHotkeysAndSettingsBesideItselfAndNothingElsewhere) {
    files_.Replace(folder_ + u"\\Data\\hotkeys.ini",
                   fw::EncodeUtf16LE(u"[key0]\r\nactive=1\r\nkey=120\r\nshift=3\r\nfunc=placeinclipboard\r\n"
                                     u"params=from the Data folder\r\nparams2=\r\nparams3=\r\n",
                                     true));
    {
        e2e::RunningProgram program(Program());
        const std::u16string caption = u"Setup Corvalend";
        HWND guide = nullptr;
        ASSERT_TRUE(wintest::WaitFor("the first-use guide", [&] {
            guide = wintest::FindTopWindow(program.ProcessId(), L"Corvalend.Form", &caption);
            return guide != nullptr && IsWindowVisible(guide);
        })) << "no \"FirstUse\" in the Data folder yet";
        ASSERT_TRUE(wintest::BringToFront(guide));
        for (const wchar_t* page : {L"Welcome", L"Startup", L"Hotkeys"}) {
            ASSERT_TRUE(wintest::WaitFor("the guide's next page", [&] {
                const HWND sheet = wintest::FindChildWindow(guide, L"Corvalend.Panel", page);
                return sheet != nullptr && IsWindowVisible(sheet) && wintest::InFront(guide);
            }));
            e2e::Press(0, VK_RETURN);  // on to the next page; on the last, Finish
        }
        ASSERT_TRUE(wintest::WaitFor("the guide gone", [&] { return !IsWindowVisible(guide); }));
        EXPECT_EQ(files_.Read(folder_ + u"\\Data\\settings.ini"),
                  fw::EncodeUtf16LE(u"[Settings]\r\nFirstUse=0\r\n", true));
        wintest::EmptyTheClipboard();
        e2e::Press(MOD_CONTROL | MOD_ALT, VK_F9);
        EXPECT_TRUE(wintest::WaitFor("the hotkey's text", [] {
            return wintest::ClipboardText() == u"from the Data folder";
        })) << "the hotkey of Data\\hotkeys.ini works";
    }
    EXPECT_TRUE(files_.Exists(folder_ + u"\\Data\\hotkeys.ini.bak")) << "the guide's save kept the last file";
    ExpectNothingElsewhere();
}

TEST_F(PortableE2E, ADataFolderThatCannotBeWrittenEndsTheStartWithAMessage) {
    wintest::DeleteTree(folder_ + u"\\Data");
    files_.Replace(folder_ + u"\\Data", "a file where the folder should be");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(
        CreateProcessW(fw::AsWide(Program()), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info));
    const fw::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    const std::optional<std::u16string> text =
        e2e::TakeMessageBox(info.dwProcessId, u"Corvalend", std::chrono::seconds(30));
    ASSERT_TRUE(text.has_value()) << "no message box";
    const std::u16string start =
        u"Corvalend cannot write to its Data folder beside the program (" + folder_ + u"\\Data): ";
    const std::u16string end = u". A portable copy needs a folder it may write to.";
    EXPECT_EQ(text->substr(0, start.size()), start);
    EXPECT_GT(text->size(), start.size() + end.size()) << "with the system's reason";
    EXPECT_TRUE(text->ends_with(end)) << fw::Utf16ToUtf8(*text);
    DWORD exitCode = STILL_ACTIVE;
    wintest::WaitFor("the program's end", [&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; });
    GetExitCodeProcess(process.get(), &exitCode);
    EXPECT_NE(exitCode, 0u);
    EXPECT_NE(exitCode, STILL_ACTIVE);
    ExpectNothingElsewhere();
}
