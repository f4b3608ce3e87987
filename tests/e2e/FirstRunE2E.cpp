// The program's first start for a new user (no program key, no data folder, no log-on entry): the
// first-use guide comes first, with the tray at the user's service; finished with its defaults it
// writes the four suggestions, which work at once and from then on; cancelled, the settings window
// asks for hotkeys while the tray icon waits.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "controls/TrayIconLogic.h"
#include "core/datau.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/E2E.h"
#include "tests/support/Front.h"
#include "tests/support/WinTest.h"

namespace {

constexpr wchar_t kProgramKeyPath[] = L"Software\\Tamberlo\\Corvalend";

// As on a machine where the program never ran for this user.
void ForgetTheUser() {
    RegDeleteTreeW(HKEY_CURRENT_USER, kProgramKeyPath);
    RegDeleteKeyValueW(HKEY_CURRENT_USER, fw::AsWide(corvalend::kRunKey), fw::AsWide(corvalend::kRunValueName));
    wintest::DeleteTree(e2e::VendorFolder());
}

std::optional<std::u16string> RegistryText(HKEY root, const wchar_t* key, const wchar_t* name) {
    wchar_t value[1024] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return std::nullopt;
    return fw::FromWide(value);
}

// The process's visible form with the caption, null when there is none.
HWND VisibleForm(DWORD processId, const std::u16string& caption) {
    const HWND form = wintest::FindTopWindow(processId, L"Corvalend.Form", &caption);
    return form != nullptr && IsWindowVisible(form) ? form : nullptr;
}

// The process's visible form with the caption once it shows; null when it never does (the test
// fails then, naming it).
HWND WaitForForm(DWORD processId, const std::u16string& caption) {
    HWND form = nullptr;
    wintest::WaitFor("the form \"" + fw::Utf16ToUtf8(caption) + "\"",
                     [&] { return (form = VisibleForm(processId, caption)) != nullptr; });
    return form;
}

// The guide's page shows, with its window in front to take the keys.
bool OnPage(HWND guide, const std::u16string& page) {
    return wintest::WaitFor("the guide's page \"" + fw::Utf16ToUtf8(page) + "\"", [&] {
        const HWND sheet = wintest::FindChildWindow(guide, L"Corvalend.Panel", fw::AsWide(page));
        return sheet != nullptr && IsWindowVisible(sheet) && wintest::InFront(guide);
    });
}

std::u16string Suggestion(int index, int key, const std::u16string& func, const std::u16string& params) {
    return u"[key" + fw::IntToStr(index) + u"]\r\nactive=1\r\nkey=" + fw::IntToStr(key) + u"\r\nshift=8\r\nfunc=" +
           func + u"\r\nparams=" + params + u"\r\nparams2=\r\nparams3=\r\n\r\n";
}

// Each test starts as a new user; afterwards the other tests find the guide finished again.
class FirstRunE2E : public ::testing::Test {
protected:
    void SetUp() override { ForgetTheUser(); }
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, fw::AsWide(corvalend::kRunKey), fw::AsWide(corvalend::kRunValueName));
        e2e::PrepareRegistry();
    }
};

}  // namespace

TEST_F(FirstRunE2E, TheGuideFinishedWithItsDefaultsWritesTheSuggestionsThatWorkAtOnce) {
    {
        e2e::RunningProgram program;
        const HWND guide = WaitForForm(program.ProcessId(), u"Setup Corvalend");
        ASSERT_NE(guide, nullptr) << "the first start shows the guide";
        ASSERT_TRUE(wintest::BringToFront(guide));
        ASSERT_TRUE(OnPage(guide, u"Welcome"));
        e2e::Press(0, VK_RETURN);  // Welcome -> Startup
        ASSERT_TRUE(OnPage(guide, u"Startup"));
        e2e::Press(0, VK_RETURN);  // Startup -> Hotkeys
        ASSERT_TRUE(OnPage(guide, u"Hotkeys"));
        e2e::Press(0, VK_RETURN);  // Finish
        ASSERT_TRUE(wintest::WaitFor("the guide gone", [&] { return !IsWindowVisible(guide); }))
            << "Finish ends the guide";

        const std::u16string expected =
            Suggestion(0, VK_DIVIDE, u"minimize", u"") + Suggestion(1, VK_MULTIPLY, u"maximize", u"") +
            Suggestion(2, 'S', u"capturescreen", u"") + Suggestion(3, 'N', u"openfile", u"notepad.exe");
        EXPECT_EQ(fw::Win32FileStore().Read(e2e::HotkeyFile()), fw::EncodeUtf16LE(expected, true))
            << "exactly the four suggestions, in order";
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kProgramKeyPath, L"FirstUse"), u"0");
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, fw::AsWide(corvalend::kRunKey), fw::AsWide(corvalend::kRunValueName)),
                  u"\"" + e2e::ProgramPath() + u"\"");
        // What the guide wrote is live at once, and the file exists, so no settings window follows: it
        // would have come before the menu's answer, and the tray icon would have ignored the button.
        EXPECT_TRUE(wintest::WaitFor("the suggestions live", [] { return !e2e::CanRegister(MOD_WIN, 'S'); }));
        EXPECT_TRUE(e2e::RightButtonOpensTheMenu(program.ProcessId()));
        EXPECT_EQ(VisibleForm(program.ProcessId(), u"Settings"), nullptr);
        e2e::Press(MOD_WIN, 'N');  // the notepad suggestion, without a restart
        EXPECT_TRUE(wintest::WaitFor("the notepad", [] { return FindWindowW(L"Notepad", nullptr) != nullptr; }));
        PostMessageW(FindWindowW(L"Notepad", nullptr), WM_CLOSE, 0, 0);
        EXPECT_TRUE(wintest::WaitFor("the notepad closed", [] { return FindWindowW(L"Notepad", nullptr) == nullptr; }));
        const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
        PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONDOWN);
        PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONUP);
        ASSERT_TRUE(wintest::WaitFor("the popup", [&] { return IsWindowVisible(program.MainWindow()) != FALSE; }));
        for (const wchar_t* text : {L"Minimize active window", L"Capture screen", L"notepad.exe"})
            EXPECT_NE(wintest::FindChildWindow(program.MainWindow(), L"Static", text), nullptr) << "the popup lists it";
        EXPECT_EQ(program.Close(), 0u);
    }
    {
        // The guide would show before the program first waits for messages, which it has done to
        // answer when it was started.
        e2e::RunningProgram program;
        EXPECT_EQ(VisibleForm(program.ProcessId(), u"Setup Corvalend"), nullptr) << "no guide the next time";
        for (const unsigned key : {unsigned{VK_DIVIDE}, unsigned{VK_MULTIPLY}, unsigned{'S'}, unsigned{'N'}}) {
            EXPECT_FALSE(e2e::CanRegister(MOD_WIN, key)) << "the suggestion with key " << key << " is live";
        }
        // WIN+N opens the notepad.
        e2e::Press(MOD_WIN, 'N');
        HWND notepad = nullptr;
        EXPECT_TRUE(wintest::WaitFor("the notepad", [&] {
            return (notepad = FindWindowW(L"Notepad", nullptr)) != nullptr;
        })) << "the notepad suggestion fired";
        if (notepad != nullptr) {
            PostMessageW(notepad, WM_CLOSE, 0, 0);
            EXPECT_TRUE(wintest::WaitFor("the notepad closed", [&] { return !IsWindow(notepad); }));
        }
        EXPECT_EQ(program.Close(), 0u);
    }
}

TEST_F(FirstRunE2E, TheGuideCancelledAtFirstStartLeavesTheSettingsWindowModalWithTheTrayWaiting) {
    e2e::RunningProgram program;
    const HWND guide = WaitForForm(program.ProcessId(), u"Setup Corvalend");
    ASSERT_NE(guide, nullptr);

    // While the guide is up the tray serves the user: a click shows the popup, a double click the
    // settings window (and hides the popup).
    const auto [handler, id] = e2e::FindProgramIcon(program.ProcessId());
    ASSERT_NE(handler, nullptr);
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONDOWN);
    PostMessageW(handler, WM_TRAYCALLBACK, id, WM_LBUTTONUP);
    EXPECT_TRUE(wintest::WaitFor("the popup", [&] { return IsWindowVisible(program.MainWindow()) != FALSE; }))
        << "no popup";
    EXPECT_TRUE(IsWindowEnabled(program.MainWindow()));
    for (const UINT event : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        PostMessageW(handler, WM_TRAYCALLBACK, id, event);
    }
    const HWND opened = WaitForForm(program.ProcessId(), u"Settings");
    EXPECT_NE(opened, nullptr) << "no settings window";
    EXPECT_TRUE(IsWindowEnabled(opened));
    EXPECT_TRUE(wintest::WaitFor("the popup hidden", [&] { return !IsWindowVisible(program.MainWindow()); }));

    ASSERT_TRUE(wintest::BringToFront(guide));
    e2e::Press(0, VK_ESCAPE);
    const std::optional<std::u16string> question =
        e2e::TakeMessageBox(program.ProcessId(), u"Confirm", wintest::kPatience, IDOK);
    EXPECT_EQ(question, u"Close the setup guide?");

    ASSERT_TRUE(wintest::WaitFor("the guide gone", [&] { return !IsWindowVisible(guide); }));
    const HWND settings = WaitForForm(program.ProcessId(), u"Settings");
    ASSERT_NE(settings, nullptr) << "no hotkey file: the settings window follows";
    EXPECT_EQ(settings, opened) << "the one the tray opened, now modal";
    EXPECT_FALSE(e2e::RightButtonOpensTheMenu(program.ProcessId())) << "the tray icon ignores the mouse meanwhile";
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kProgramKeyPath, L"FirstUse"), std::nullopt) << "nothing written";
    EXPECT_EQ(GetFileAttributesW(fw::AsWide(e2e::HotkeyFile())), INVALID_FILE_ATTRIBUTES);

    PostMessageW(settings, WM_CLOSE, 0, 0);
    ASSERT_TRUE(wintest::WaitFor("the settings window destroyed", [&] { return !IsWindow(settings); }));
    EXPECT_TRUE(e2e::RightButtonOpensTheMenu(program.ProcessId())) << "the tray works once the window is closed";
    EXPECT_EQ(program.Close(), 0u);
}
