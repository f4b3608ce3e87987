// The program started as a user starts it: its hotkeys taken from the system while it runs and
// given back when it ends, its data folder made, and a clean end on closing its main window or at
// the end of the session.
#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <vector>

#include "framework/UniqueHandle.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "framework/WindowMessages.h"
#include "tests/support/E2E.h"
#include "tests/support/WinTest.h"

namespace {

struct Combination {
    unsigned modifiers;
    unsigned key;
};

// Starts the program and waits for it to end, handling this thread's messages meanwhile; its exit
// code, or STILL_ACTIVE when it never ends (the test fails then).
DWORD RunToTheEnd() {
    std::u16string commandLine = u"\"" + e2e::ProgramPath() + u"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(fw::AsWide(e2e::ProgramPath()), reinterpret_cast<wchar_t*>(commandLine.data()), nullptr,
                        nullptr,
                        /*inherit=*/FALSE, 0, nullptr, nullptr, &startup, &info)) {
        return GetLastError();
    }
    const fw::UniqueKernelHandle process(info.hProcess), thread(info.hThread);
    wintest::WaitFor("the later start's end", [&] { return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0; });
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.get(), &exitCode);
    return exitCode;
}

}  // namespace

// The ways the program is asked to end from outside: an installer or a user closing its main window,
// and Windows ending the session (after which the process may be killed at any moment, so all is
// given back before the message returns).
enum class Ending { CloseMainWindow, EndSession };

class StartupEndingE2E : public testing::TestWithParam<Ending> {};

TEST_P(StartupEndingE2E, ActiveHotkeysAreTakenWhileRunningAndGivenBackAtTheEnd) {
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(
        u"[key0]\r\nactive=1\r\nkey=78\r\nshift=8\r\nfunc=openfile\r\nparams=notepad.exe\r\n\r\n"
        u"[key1]\r\nactive=0\r\nkey=119\r\nshift=3\r\nfunc=maximize\r\n\r\n"
        u"[key2]\r\nactive=1\r\nkey=118\r\nshift=6\r\nfunc=sendkeystrokes\r\nparams=x<?CR?>\r\n\r\n"
        u"[key3]\r\nactive=1\r\nkey=117\r\nshift=5\r\nfunc=Maximize\r\n\r\n"  // unknown action: dropped
        u"[key4]\r\nactive=1\r\nkey=0x75\r\nshift=0\r\nfunc=capturescreen\r\n\r\n"
        u"[key5]\r\nfunc=close\r\nkey=116\r\nshift=1\r\n\r\n");  // no "active": inactive
    const auto fileBefore = fw::Win32FileStore().Read(e2e::HotkeyFile());
    ASSERT_TRUE(fileBefore.has_value());
    const Combination active[] = {{MOD_WIN, 'N'}, {MOD_CONTROL | MOD_SHIFT, VK_F7}, {0, VK_F6}};
    const Combination inactive[] = {{MOD_ALT | MOD_CONTROL, VK_F8}, {MOD_ALT | MOD_SHIFT, VK_F6}, {MOD_ALT, VK_F5}};
    for (const auto& c : active) ASSERT_TRUE(e2e::CanRegister(c.modifiers, c.key)) << c.key;

    e2e::RunningProgram program;
    for (const auto& c : active) {
        EXPECT_FALSE(e2e::CanRegister(c.modifiers, c.key)) << "active hotkey not taken: " << c.key;
        EXPECT_EQ(GetLastError(), 1409u);  // hotkey already registered
    }
    for (const auto& c : inactive) EXPECT_TRUE(e2e::CanRegister(c.modifiers, c.key)) << c.key;
    const auto [iconWindow, iconId] = e2e::FindProgramIcon(program.ProcessId());
    ASSERT_NE(iconWindow, nullptr);
    // The settings window open (a later start shows it) goes with the rest.
    EXPECT_EQ(RunToTheEnd(), 0u);
    const std::u16string caption = u"Settings";
    ASSERT_TRUE(wintest::WaitFor("the running copy's settings window", [&] {
        const HWND settings = wintest::FindTopWindow(program.ProcessId(), L"Corvalend.Form", &caption);
        return settings != nullptr && IsWindowVisible(settings);
    }));

    if (GetParam() == Ending::CloseMainWindow) {
        EXPECT_EQ(program.Close(), 0u);
    } else {
        DWORD_PTR answer = 0;
        ASSERT_NE(SendMessageTimeoutW(program.AppWindow(), WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP, SMTO_BLOCK,
                                      10000, &answer),
                  0);
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "the program holds up the end of the session";
        ASSERT_NE(SendMessageTimeoutW(program.AppWindow(), WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP, SMTO_BLOCK, 10000,
                                      &answer),
                  0);
        // At once, while the process may still be running: it could be killed now.
        EXPECT_FALSE(wintest::ShellHasIcon(iconWindow, iconId)) << "the tray icon outlives the session";
        for (const auto& c : active) EXPECT_TRUE(e2e::CanRegister(c.modifiers, c.key)) << c.key;
        EXPECT_EQ(program.WaitForExit(std::chrono::seconds(10)), 0u);
    }
    EXPECT_FALSE(wintest::ShellHasIcon(iconWindow, iconId));
    for (const auto& c : active) EXPECT_TRUE(e2e::CanRegister(c.modifiers, c.key)) << c.key;
    EXPECT_EQ(GlobalFindAtomW(L"corvalend-78-8"), 0);
    EXPECT_EQ(fw::Win32FileStore().Read(e2e::HotkeyFile()), fileBefore) << "the hotkey file was touched";
}

INSTANTIATE_TEST_SUITE_P(Endings,
                         StartupEndingE2E,
                         testing::Values(Ending::CloseMainWindow, Ending::EndSession),
                         [](const testing::TestParamInfo<Ending>& info) {
                             return info.param == Ending::CloseMainWindow ? "CloseMainWindow" : "EndSession";
                         });

TEST(StartupE2E, WithoutAHotkeyFileTheSettingsWindowComesFirstAndTheTrayWaits) {
    e2e::PrepareRegistry();
    wintest::DeleteTree(e2e::VendorFolder());
    ASSERT_FALSE(wintest::FolderExists(e2e::VendorFolder()));
    e2e::RunningProgram program;
    EXPECT_TRUE(wintest::FolderExists(e2e::VendorFolder() + u"\\Corvalend\\Data"));
    EXPECT_NE(program.AppWindow(), nullptr);
    EXPECT_FALSE(IsWindowVisible(program.MainWindow()));  // never shown as an ordinary window
    EXPECT_TRUE(IsIconic(program.MainWindow()));

    const std::u16string caption = u"Settings";
    HWND settings = nullptr;
    ASSERT_TRUE(wintest::WaitFor("the settings window", [&] {
        settings = wintest::FindTopWindow(program.ProcessId(), L"Corvalend.Form", &caption);
        return settings != nullptr && IsWindowVisible(settings);
    })) << "the settings window asks for hotkeys";

    // While it is up, the tray icon ignores the mouse: no menu on the right button.
    ASSERT_NE(e2e::FindProgramIcon(program.ProcessId()).first, nullptr);
    EXPECT_FALSE(e2e::RightButtonOpensTheMenu(program.ProcessId()));

    // Closed: start-up goes on to the tray, whose icon takes the mouse again.
    PostMessageW(settings, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wintest::WaitFor("the settings window destroyed", [&] { return !IsWindow(settings); }));
    EXPECT_EQ(GetFileAttributesW(fw::AsWide(e2e::HotkeyFile())), INVALID_FILE_ATTRIBUTES) << "nothing saved";
    EXPECT_TRUE(e2e::RightButtonOpensTheMenu(program.ProcessId()));
    EXPECT_EQ(program.Close(), 0u);
}

TEST(StartupE2E, ALaterStartShowsTheRunningCopysSettingsWindowAndEndsLeavingTheFileAlone) {
    e2e::PrepareRegistry();
    e2e::WriteHotkeyFile(u"[key0]\r\nactive=1\r\nkey=121\r\nshift=2\r\nfunc=placeinclipboard\r\nparams=backup\r\n");
    const std::u16string backup = e2e::HotkeyFile() + u".bak";
    DeleteFileW(fw::AsWide(backup));
    const auto fileState = [] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExW(fw::AsWide(e2e::HotkeyFile()), GetFileExInfoStandard, &data);
        const ULONGLONG written =
            (ULONGLONG{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
        return std::make_pair(fw::Win32FileStore().Read(e2e::HotkeyFile()), written);
    };
    const auto before = fileState();
    ASSERT_TRUE(before.first.has_value());

    e2e::RunningProgram first;
    const std::u16string caption = u"Settings";
    const auto settingsWindows = [&] {
        std::vector<HWND> found;
        for (const HWND window : e2e::TopWindowsOf(first.ProcessId())) {
            wchar_t name[32] = {};
            GetClassNameW(window, name, 32);
            if (std::wstring_view(name) == L"Corvalend.Form" && IsWindowVisible(window)) found.push_back(window);
        }
        return found;
    };
    ASSERT_TRUE(settingsWindows().empty());
    // Twice: the first opens the settings window, the second finds it open behind another program's
    // window and brings it back.
    std::optional<e2e::TestWindow> other;
    for (int start = 0; start < 2; ++start) {
        EXPECT_EQ(RunToTheEnd(), 0u) << start;
        HWND settings = nullptr;
        EXPECT_TRUE(wintest::WaitFor(
            "the running copy's settings window in front",
            [&] {
                settings = wintest::FindTopWindow(first.ProcessId(), L"Corvalend.Form", &caption);
                return settings != nullptr && IsWindowVisible(settings) && GetForegroundWindow() == settings;
            }))
            << "the running copy's settings window is not in front, start " << start;
        if (start == 0) other.emplace(WS_OVERLAPPEDWINDOW, /*withEdit=*/false);
    }
    EXPECT_EQ(settingsWindows().size(), 1u);
    EXPECT_EQ(fileState(), before) << "the hotkey file was touched";
    EXPECT_EQ(GetFileAttributesW(fw::AsWide(backup)), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(e2e::CanRegister(MOD_CONTROL, VK_F10)) << "the running copy lost its hotkey";
    EXPECT_EQ(first.Close(), 0u);
}

// A hotkey file cut off by a crash (zeros) beside a good backup: the start offers the backup, and Yes
// puts it in place, the damaged file kept aside, before the hotkeys are loaded.
TEST(StartupE2E, ADamagedHotkeyFileIsRestoredFromItsBackupWhenTheUserSaysYes) {
    e2e::PrepareRegistry();
    const std::u16string file = e2e::HotkeyFile(), backup = file + u".bak";
    e2e::WriteHotkeyFile(u"[key0]\r\nactive=1\r\nkey=121\r\nshift=2\r\nfunc=placeinclipboard\r\nparams=backup\r\n");
    ASSERT_TRUE(MoveFileExW(fw::AsWide(file), fw::AsWide(backup), MOVEFILE_REPLACE_EXISTING));
    fw::Win32FileStore().Replace(file, std::string(300, '\0'));
    e2e::RunningProgram program;
    const std::u16string question =
        e2e::TakeMessageBox(program.ProcessId(), u"Confirm", wintest::kPatience, IDYES).value_or(u"<none>");
    EXPECT_TRUE(
        question.starts_with(u"The hotkey file holds no hotkeys Corvalend can read. Restore the copy saved on "))
        << fw::Utf16ToUtf8(question);
    EXPECT_TRUE(e2e::PlacesWhenPressed(MOD_CONTROL, VK_F10, u"backup")) << "the backup's hotkey";
    EXPECT_EQ(fw::Win32FileStore().Read(file), fw::Win32FileStore().Read(backup));
    EXPECT_EQ(fw::Win32FileStore().Read(file + u".damaged"), std::string(300, '\0'));
    EXPECT_EQ(program.Close(), 0u);
}
