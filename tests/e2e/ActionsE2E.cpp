// Hotkeys pressed as a user presses them, with the program running in its own process: what each
// action does to the clipboard, to other programs' windows and to the keyboard.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <memory>

#include "core/datau.h"
#include "framework/SystemError.h"
#include "framework/TextFile.h"
#include "framework/UniqueHandle.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/E2E.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"

namespace {

using namespace std::chrono_literals;

constexpr unsigned kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr unsigned kCtrlShift = MOD_CONTROL | MOD_SHIFT;

std::u16string TempFile(const std::u16string& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return fw::FromWide(temp) + name;
}

std::u16string Section(int index,
                       int key,
                       int shift,
                       const std::u16string& func,
                       const std::u16string& params,
                       const std::u16string& params2 = u"") {
    return u"[key" + fw::IntToStr(index) + u"]\r\nactive=1\r\nkey=" + fw::IntToStr(key) + u"\r\nshift=" +
           fw::IntToStr(shift) + u"\r\nfunc=" + func + u"\r\nparams=" + params + u"\r\nparams2=" + params2 +
           u"\r\nparams3=\r\n\r\n";
}

const char16_t kKeys[] = u"ab+cd~e{LEFT}X{END}+(xy){{}{}}<?TAB?>z<?CR?>w+\u20AC\U0001F600";
const char16_t kTyped[] = u"abCd\r\nXeXY{}\tz\r\nw\u20AC\U0001F600";

// The tests share one running program: none changes its hotkeys, and each answers every box it
// brings up and closes the windows it made.
class ActionsE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fw::Win32FileStore files;
        files.Replace(ContentFile(), "\xEF\xBB\xBFone\ntwo\r\n\xC3\xA4");
        e2e::PrepareRegistry();
        e2e::WriteHotkeyFile(
            Section(0, VK_F1, kCtrlAlt, u"placeinclipboard", u"Hello <?CR?> world \u00E4\u4E2D") +
            Section(1, VK_F2, kCtrlAlt, u"placeinclipboard", u"first") +
            Section(2, VK_F2, kCtrlAlt, u"placeinclipboard", u"second") +
            Section(3, VK_F3, kCtrlAlt, u"placefilecontentinclipboard", ContentFile()) +
            Section(4, VK_F1, kCtrlShift, u"sendkeystrokes", kKeys) + Section(5, VK_F2, kCtrlShift, u"maximize", u"") +
            Section(6, VK_F3, kCtrlShift, u"minimize", u"") + Section(7, VK_F5, kCtrlShift, u"close", u"") +
            Section(8, VK_F6, kCtrlShift, u"openfile", u"cmd.exe", u"/c echo opened with parameters>" + OpenedFile()) +
            Section(9, VK_F8, kCtrlShift, u"placefilecontentinclipboard", u"C:\\nowhere\\missing.txt") +
            Section(10, VK_F9, kCtrlShift, u"exitwindows", u"") +
            Section(11, VK_F10, kCtrlShift, u"placefilecontentinclipboard", LockedFile()) +
            Section(12, VK_F11, kCtrlShift, u"placefilecontentinclipboard", u"") +
            Section(13, VK_F12, kCtrlShift, u"sendkeystrokes", u"") +
            Section(14, VK_F4, kCtrlShift, u"sendkeystrokes", u"{NOSUCHKEY}"));
        program_ = new e2e::RunningProgram();
    }
    static void TearDownTestSuite() {
        EXPECT_EQ(program_->Close(), 0u);
        delete program_;
        program_ = nullptr;
    }

    static std::u16string ContentFile() { return TempFile(u"corvalend-content.txt"); }
    static std::u16string OpenedFile() { return TempFile(u"corvalend-opened.txt"); }
    static std::u16string LockedFile() { return TempFile(u"corvalend-locked.txt"); }

    // Hotkeys run one after the other: once a later clipboard hotkey has acted, every earlier one has.
    static void WaitUntilHandled() {
        wintest::EmptyTheClipboard();
        e2e::Press(kCtrlAlt, VK_F2);
        ASSERT_TRUE(
            wintest::WaitFor("\"first\" on the clipboard", [] { return wintest::ClipboardText() == u"first"; }));
    }

    // Nothing of the program's is left for the next test: no box (a box of its own would be a failure
    // of the test that left it).
    void TearDown() override {
        for (const char16_t* caption : {u"Corvalend", u"SendKeys"}) {
            const std::u16string title = caption;
            EXPECT_EQ(wintest::FindTopWindow(program_->ProcessId(), L"#32770", &title), nullptr) << "a box left up";
        }
    }

    static e2e::RunningProgram* program_;
};

e2e::RunningProgram* ActionsE2E::program_ = nullptr;

}  // namespace

TEST_F(ActionsE2E, ClipboardGetsTheExactTextAndTheFirstOfTwinHotkeysRuns) {
    wintest::EmptyTheClipboard();
    e2e::Press(kCtrlAlt, VK_F1);
    EXPECT_TRUE(wintest::WaitFor("a text on the clipboard", [] { return !wintest::ClipboardText().empty(); }));
    EXPECT_EQ(wintest::ClipboardText(), u"Hello <?CR?> world \u00E4\u4E2D");  // placed literally

    for (int i = 0; i < 3; ++i) WaitUntilHandled();  // "first", never "second"

    wintest::EmptyTheClipboard();
    e2e::Press(kCtrlAlt, VK_F3);
    EXPECT_TRUE(wintest::WaitFor("a text on the clipboard", [] { return !wintest::ClipboardText().empty(); }));
    EXPECT_EQ(wintest::ClipboardText(), u"one\r\ntwo\r\n\u00E4\r\n");
}

TEST_F(ActionsE2E, SendKeystrokesTypesIntoTheFocusedWindowAndLeavesNoModifierDown) {
    e2e::TestWindow window(WS_OVERLAPPEDWINDOW, /*withEdit=*/true);
    e2e::Press(kCtrlShift, VK_F1);
    EXPECT_TRUE(wintest::WaitFor("the keystrokes typed", [&] { return window.EditText() == kTyped; }))
        << fw::Utf16ToUtf8(window.EditText());
    // The last key the program sends may come after the last character shows.
    EXPECT_TRUE(wintest::WaitFor("every modifier released", [] {
        for (const int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN}) {
            if (GetAsyncKeyState(vk) & 0x8000) return false;
        }
        return true;
    }));
    for (const int vk : {VK_SHIFT, VK_CONTROL, VK_MENU, VK_LWIN}) {
        EXPECT_FALSE(GetAsyncKeyState(vk) & 0x8000) << "key still down: " << vk;
    }
}

TEST_F(ActionsE2E, MaximizeTogglesAndLeavesWindowsWithoutMaximizeBoxAlone) {
    e2e::TestWindow window(WS_OVERLAPPEDWINDOW, false);
    e2e::Press(kCtrlShift, VK_F2);
    EXPECT_TRUE(wintest::WaitFor("the window maximized", [&] { return IsZoomed(window.Handle()) != FALSE; }));
    e2e::Press(kCtrlShift, VK_F2);
    EXPECT_TRUE(wintest::WaitFor("the window restored", [&] { return !IsZoomed(window.Handle()); }));

    e2e::TestWindow dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU, false);
    e2e::Press(kCtrlShift, VK_F2);
    WaitUntilHandled();
    EXPECT_FALSE(IsZoomed(dialog.Handle()));
}

TEST_F(ActionsE2E, MinimizeAndCloseActOnTheForegroundWindow) {
    e2e::TestWindow window(WS_OVERLAPPEDWINDOW, false);
    e2e::Press(kCtrlShift, VK_F3);
    EXPECT_TRUE(wintest::WaitFor("the window minimized", [&] { return IsIconic(window.Handle()) != FALSE; }));

    e2e::TestWindow fixed(WS_POPUP | WS_CAPTION | WS_SYSMENU, false);  // no minimize box
    e2e::Press(kCtrlShift, VK_F3);
    WaitUntilHandled();
    EXPECT_FALSE(IsIconic(fixed.Handle()));

    e2e::Press(kCtrlShift, VK_F5);
    EXPECT_TRUE(wintest::WaitFor("the window asked to close", [&] { return fixed.CloseRequests() == 1; }));
}

TEST_F(ActionsE2E, OpenFileStartsTheProgramWithItsParameters) {
    DeleteFileW(fw::AsWide(OpenedFile()));
    e2e::Press(kCtrlShift, VK_F6);
    fw::Win32FileStore files;
    std::optional<std::string> written;
    EXPECT_TRUE(wintest::WaitFor("the opened program's line in the file", [&] {
        written = files.Read(OpenedFile());
        return written.has_value() && written->find("\r\n") != std::string::npos;
    }));
    EXPECT_EQ(written.value_or(""), "opened with parameters\r\n");
}

TEST_F(ActionsE2E, FailuresAreShownAndTheProgramGoesOn) {
    const auto boxShows = [](const std::u16string& caption) {
        return wintest::WaitFor("the message box", [&] {
            const HWND box = wintest::FindTopWindow(program_->ProcessId(), L"#32770", &caption);
            return box != nullptr && IsWindowVisible(box);
        });
    };
    const auto takeBox = [](const std::u16string& caption) {
        return e2e::TakeMessageBox(program_->ProcessId(), caption, wintest::kPatience);
    };
    // One action at a time: while the key sender's own box is up, another hotkey is dropped. The
    // box's answer is handled after the hotkey pressed before it: had that run, the clipboard would
    // hold its text by the time the box is gone.
    e2e::Press(kCtrlShift, VK_F4);
    ASSERT_TRUE(boxShows(u"SendKeys"));
    wintest::EmptyTheClipboard();
    e2e::Press(kCtrlAlt, VK_F2);
    EXPECT_EQ(takeBox(u"SendKeys"), u"Invalid Key Name");
    EXPECT_EQ(wintest::ClipboardText(), u"") << "ran inside the action";
    WaitUntilHandled();

    // The error box of a failed action comes after the action: hotkeys work there.
    e2e::Press(kCtrlShift, VK_F8);
    ASSERT_TRUE(boxShows(u"Corvalend"));
    WaitUntilHandled();
    auto text = takeBox(u"Corvalend");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text,
              u"Cannot open file \"C:\\nowhere\\missing.txt\". " + fw::SystemErrorText(ERROR_PATH_NOT_FOUND) + u".");

    // Another program holds the clipboard.
    {
        e2e::TestWindow holder(WS_OVERLAPPEDWINDOW, false);
        ASSERT_TRUE(OpenClipboard(holder.Handle()));
        e2e::Press(kCtrlAlt, VK_F1);
        text = takeBox(u"Corvalend");
        CloseClipboard();
    }
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->rfind(u"Cannot open clipboard: ", 0), 0u) << fw::Utf16ToUtf8(*text);
    EXPECT_EQ(text->back(), u'.');

    // The shell's shut-down prompt is not to be had under Wine: the error is what the user sees.
    e2e::Press(kCtrlShift, VK_F9);
    text = takeBox(u"Corvalend");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, fw::SystemErrorText(static_cast<DWORD>(E_NOTIMPL)) + u".");

    // A file another program holds open without sharing, and an empty parameter.
    fw::Win32FileStore().Replace(LockedFile(), "locked");
    {
        fw::UniqueFile held(
            CreateFileW(fw::AsWide(LockedFile()), GENERIC_READ, /*share=*/0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        e2e::Press(kCtrlShift, VK_F10);
        text = takeBox(u"Corvalend");
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, u"Cannot open file \"" + LockedFile() + u"\". " +
                             fw::SystemErrorText(ERROR_SHARING_VIOLATION) + u".");
    }
    e2e::Press(kCtrlShift, VK_F11);
    text = takeBox(u"Corvalend");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, u"Cannot open file \"\". " + fw::SystemErrorText(ERROR_PATH_NOT_FOUND) + u".");

    // An empty key string sends nothing and shows nothing. A box would be up by the time a later
    // hotkey has acted: the program runs them one after the other, and a failed action's box comes
    // before the hotkeys it lets through.
    e2e::Press(kCtrlShift, VK_F12);
    WaitUntilHandled();
    EXPECT_FALSE(e2e::TakeMessageBox(program_->ProcessId(), u"Corvalend", 0ms).has_value());
    EXPECT_FALSE(e2e::TakeMessageBox(program_->ProcessId(), u"SendKeys", 0ms).has_value());
}
