// The program's first start for a new user (no program key, no data folder, no log-on entry): the
// first-use guide comes first, with the tray at the user's service; finished with its defaults it
// writes the four suggestions, which work from the next start on; cancelled, the settings window
// asks for hotkeys while the tray icon waits.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "core/datau.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "framework/WindowMessages.h"
#include "tests/support/E2E.h"
#include "tests/support/WinTest.h"

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kProgramKeyPath[] = L"Software\\Tamberlo\\Corvalend";

// As on a machine where the program never ran for this user.
void ForgetTheUser() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKeyPath);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, fw::W(corvalend::kRunKey), fw::W(corvalend::kRunValueName));
    wintest::DeleteTree(e2e::VendorFolder());
}

std::optional<std::u16string> RegistryText(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return std::nullopt;
    return fw::FromW(value);
}

HWND WaitForForm(DWORD processId, const std::u16string& caption, std::chrono::milliseconds timeout) {
    HWND form = nullptr;
    wintest::PumpUntil(
        [&] {
            form = wintest::FindTopWindow(processId, L"Corvalend.Form", &caption);
            return form != nullptr && IsWindowVisible(form);
        },
        timeout);
    return form != nullptr && IsWindowVisible(form) ? form : nullptr;
}

// Brings the window to the front and waits for Wine's late focus events before keys are pressed.
void Activate(HWND window) {
    SetForegroundWindow(window);
    wintest::PumpUntil([&] { return GetForegroundWindow() == window; }, 5s);
    wintest::PumpUntil([] { return false; }, 300ms);
}

void Press(unsigned key) {
    wintest::PressCombination(0, key);
    wintest::PumpUntil([] { return false; }, 150ms);
}

std::u16string Suggestion(int index, int key, const std::u16string& func, const std::u16string& params) {
    return u"[key" + fw::IntToStr(index) + u"]\r\nactive=1\r\nkey=" + fw::IntToStr(key) + u"\r\nshift=8\r\nfunc=" +
           func + u"\r\nparams=" + params + u"\r\nparams2=\r\nparams3=\r\n\r\n";
}

bool RightButtonOpensTheMenu(const e2e::RunningProgram& program, std::chrono::milliseconds timeout) {
    const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
    if (handler == nullptr) return false;
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_RBUTTONDOWN);
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_RBUTTONUP);
    const HWND menu = e2e::WaitForMenu(program.ProcessId(), timeout);
    if (menu != nullptr) PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    return menu != nullptr;
}

// Each test starts as a new user; afterwards the other tests find the guide finished again.
class FirstRunE2E : public ::testing::Test {
protected:
    void SetUp() override { ForgetTheUser(); }
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, fw::W(corvalend::kRunKey), fw::W(corvalend::kRunValueName));
        e2e::PrepareRegistry();
    }
};

}  // namespace

TEST_F(FirstRunE2E, TheGuideFinishedWithItsDefaultsWritesTheSuggestionsThatWorkFromTheNextStart) {
    {
        e2e::RunningProgram program;
        const HWND guide = WaitForForm(program.ProcessId(), u"Setup Corvalend", 10s);
        ASSERT_NE(guide, nullptr) << "the first start shows the guide";
        Activate(guide);
        Press(VK_RETURN);  // Welcome -> Startup
        Press(VK_RETURN);  // Startup -> Hotkeys
        Press(VK_RETURN);  // Finish
        ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(guide); }, 10s)) << "Finish ends the guide";

        const std::u16string expected =
            Suggestion(0, VK_DIVIDE, u"minimize", u"") + Suggestion(1, VK_MULTIPLY, u"maximize", u"") +
            Suggestion(2, 'S', u"capturescreen", u"") + Suggestion(3, 'N', u"openfile", u"notepad.exe");
        EXPECT_EQ(fw::Win32FileStore().Read(e2e::HotkeyFile()), fw::EncodeUtf16LE(expected, true))
            << "exactly the four suggestions, in order";
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kProgramKeyPath, L"FirstUse"), u"0");
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, fw::W(corvalend::kRunKey), fw::W(corvalend::kRunValueName)),
                  u"\"" + e2e::ProgramPath() + u"\"");
        // The check that showed the guide had loaded the file before: nothing is live yet, and
        // the file exists, so no settings window follows.
        EXPECT_TRUE(e2e::CanRegister(MOD_WIN, 'S'));
        EXPECT_EQ(WaitForForm(program.ProcessId(), u"Settings", 1s), nullptr);
        EXPECT_TRUE(RightButtonOpensTheMenu(program, 10s));
        EXPECT_EQ(program.Close(), 0u);
    }
    {
        e2e::RunningProgram program;
        EXPECT_EQ(WaitForForm(program.ProcessId(), u"Setup Corvalend", 2s), nullptr) << "no guide the next time";
        for (const unsigned key : {unsigned{VK_DIVIDE}, unsigned{VK_MULTIPLY}, unsigned{'S'}, unsigned{'N'}}) {
            EXPECT_FALSE(e2e::CanRegister(MOD_WIN, key)) << "the suggestion with key " << key << " is live";
        }
        // WIN+N opens the notepad.
        wintest::PressCombination(MOD_WIN, 'N');
        HWND notepad = nullptr;
        EXPECT_TRUE(wintest::PumpUntil([&] { return (notepad = FindWindowW(L"Notepad", nullptr)) != nullptr; }, 10s))
            << "the notepad suggestion fired";
        if (notepad != nullptr) PostMessageW(notepad, WM_CLOSE, 0, 0);
        EXPECT_EQ(program.Close(), 0u);
    }
}

TEST_F(FirstRunE2E, TheGuideCancelledAtFirstStartLeavesTheSettingsWindowModalWithTheTrayWaiting) {
    e2e::RunningProgram program;
    const HWND guide = WaitForForm(program.ProcessId(), u"Setup Corvalend", 10s);
    ASSERT_NE(guide, nullptr);

    // While the guide is up the tray serves the user: a click shows the popup, a double click the
    // settings window (and hides the popup).
    const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
    ASSERT_NE(handler, nullptr);
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONDOWN);
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONUP);
    EXPECT_TRUE(wintest::PumpUntil([&] { return IsWindowVisible(program.MainWindow()) != FALSE; }, 10s)) << "no popup";
    EXPECT_TRUE(IsWindowEnabled(program.MainWindow()));
    for (const UINT event : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        PostMessageW(handler, WM_TRAYCALLBACK, id, event);
    }
    const HWND opened = WaitForForm(program.ProcessId(), u"Settings", 10s);
    EXPECT_NE(opened, nullptr) << "no settings window";
    EXPECT_TRUE(IsWindowEnabled(opened));
    EXPECT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(program.MainWindow()); }, 5s));

    Activate(guide);
    Press(VK_ESCAPE);
    const std::optional<std::u16string> question = e2e::TakeMessageBox(program.ProcessId(), u"Confirm", 10s, IDOK);
    EXPECT_EQ(question, u"Close the setup guide?");

    ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindowVisible(guide); }, 10s));
    const HWND settings = WaitForForm(program.ProcessId(), u"Settings", 10s);
    ASSERT_NE(settings, nullptr) << "no hotkey file: the settings window follows";
    EXPECT_EQ(settings, opened) << "the one the tray opened, now modal";
    EXPECT_FALSE(RightButtonOpensTheMenu(program, 1500ms)) << "the tray icon ignores the mouse meanwhile";
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kProgramKeyPath, L"FirstUse"), std::nullopt) << "nothing written";
    EXPECT_EQ(GetFileAttributesW(fw::W(e2e::HotkeyFile())), INVALID_FILE_ATTRIBUTES);

    PostMessageW(settings, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wintest::PumpUntil([&] { return !IsWindow(settings); }, 10s));
    EXPECT_TRUE(RightButtonOpensTheMenu(program, 10s)) << "the tray works once the window is closed";
    EXPECT_EQ(program.Close(), 0u);
}
