// The Win32 side of the actions and helpers: the clipboard, version information, key names,
// the popup's cursor tests, hotkeys that arrive while a loop that is not ours runs, and the system
// libraries loaded at their first use.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "core/datau.h"
#include "framework/Clipboard.h"
#include "framework/Error.h"
#include "framework/SystemLibrary.h"
#include "framework/WinText.h"
#include "tests/support/Pictures.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/MainFormU.h"

using namespace corvalend;

namespace {

using namespace std::chrono_literals;

std::u16string SelfPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fw::FromWide(self);
}

struct DataTest : ::testing::Test {
    fw::Application app{GetModuleHandleW(nullptr)};
    std::unique_ptr<wintest::ProgramData> data;
    DataTest() {
        app.SetTitle(u"Corvalend");
        wintest::DeleteTree(GetSpecialFolder(CSIDL_APPDATA) + u"\\Tamberlo");
        wintest::EmptyHotkeyFile();
        data = std::make_unique<wintest::ProgramData>(app);
    }
};

}  // namespace

TEST(SystemLibrary, FunctionsOfALoadedLibraryAndErrorsForWhatIsMissing) {
    const fw::SystemLibrary kernel(L"kernel32.dll");
    EXPECT_EQ(kernel.Get<decltype(GetCurrentProcessId)>("GetCurrentProcessId")(), GetCurrentProcessId());
    try {
        kernel.Get<decltype(GetCurrentProcessId)>("NoSuchFunction");
        ADD_FAILURE() << "a missing function was found";
    } catch (const fw::Error& e) {
        EXPECT_EQ(e.Text().rfind(u"kernel32.dll (NoSuchFunction) could not be loaded: ", 0), 0u) << e.what();
    }
    try {
        fw::SystemLibrary missing(L"corvalend-no-such-library.dll");
        ADD_FAILURE() << "a missing library was loaded";
    } catch (const fw::Error& e) {
        EXPECT_EQ(e.Text().rfind(u"corvalend-no-such-library.dll could not be loaded: ", 0), 0u) << e.what();
    }
}

TEST(Clipboard, PlacesUnicodeTextAndReportsAHeldClipboard) {
    fw::Application app(GetModuleHandleW(nullptr));
    fw::Clipboard(app.Handle()).SetText(u"a<?CR?>b \u00E4\u4E2D\r\n");
    EXPECT_EQ(wintest::ClipboardText(), u"a<?CR?>b \u00E4\u4E2D\r\n");

    {
        const wintest::HeldClipboard held;
        ASSERT_TRUE(held.Held());
        try {
            fw::Clipboard clipboard(app.Handle());
            ADD_FAILURE() << "opened a held clipboard";
        } catch (const fw::Error& e) {
            EXPECT_EQ(e.Text().rfind(u"Cannot open clipboard: ", 0), 0u) << e.what();
            EXPECT_GT(e.Text().size(), 24u);
        }
    }
    EXPECT_EQ(wintest::ClipboardText(), u"a<?CR?>b \u00E4\u4E2D\r\n");  // left unchanged
}

TEST_F(DataTest, VersionOfTheProgramFile) {
    std::u16string program = SelfPath();
    program = program.substr(0, program.find_last_of(u'\\')) + u"\\Corvalend.exe";
    EXPECT_EQ(data->GetFileVersion(program), 1200100u);
    EXPECT_EQ(data->FormatVersion(data->GetFileVersion(program)), u"01.20.01.00");
    EXPECT_EQ(data->GetFileVersion(SelfPath()), 0u);  // no version information
    EXPECT_EQ(data->GetFileVersion(u"C:\\nowhere\\missing.exe"), 0u);
}

TEST_F(DataTest, HotkeyTextsUseFixedNamesAndTheLayouts) {
    EXPECT_EQ(data->HotkeyToString(78, 8), u"WIN + N");
    EXPECT_EQ(data->HotkeyToString(116, 6), u"CTRL + SHIFT + F5");
    EXPECT_EQ(data->HotkeyToString(0x60, 0), u"0");
    const std::u16string other = data->HotkeyToString(VK_CAPITAL, kModCtrl);
    EXPECT_EQ(other.rfind(u"CTRL + ", 0), 0u);
    EXPECT_GT(other.size(), 7u) << "the layout names the key";
    EXPECT_EQ(data->HotkeyToString(0x100, kModAlt), u"ALT + ");
}

TEST(Popup, CursorTests) {
    const HWND form =
        CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"", WS_POPUP, 200, 150, 100, 80, nullptr, nullptr, nullptr, nullptr);
    SetCursorPos(250, 190);
    EXPECT_FALSE(CursorInForm(form));  // hidden
    ShowWindow(form, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(CursorInForm(form));
    SetCursorPos(200, 190);  // the leftmost column counts as outside
    EXPECT_FALSE(CursorInForm(form));
    SetCursorPos(201, 151);
    EXPECT_TRUE(CursorInForm(form));
    SetCursorPos(299, 229);
    EXPECT_TRUE(CursorInForm(form));
    SetCursorPos(300, 229);
    EXPECT_FALSE(CursorInForm(form));
    DestroyWindow(form);

    const RECT bar = TaskbarPos().rc;
    if (bar.right - bar.left > 2 && bar.bottom - bar.top > 2) {
        SetCursorPos((bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2);
        EXPECT_TRUE(CursorInTaskbar());
    }
    SetCursorPos(bar.left, bar.top);  // on the edge: outside
    EXPECT_FALSE(CursorInTaskbar());
}

TEST_F(DataTest, HotkeysRunWhileAMessageBoxIsOpen) {
    THotkeyList edit(data->HotkeyServices());
    edit.Add(true, VK_F12, MOD_CONTROL | MOD_ALT, hkfPlaceInClipboard, u"from a nested loop", u"", u"");
    edit.SaveToFile(data->DataFile(dftHotkeys));
    data->InitApp();
    ASSERT_EQ(data->HotKeyList().Count(), 1);
    fw::Clipboard(app.Handle()).SetText(u"before");

    // While the box's own loop runs, the hotkey is pressed; then the box is closed.
    std::atomic<bool> boxSeen{false};
    std::thread presser([&] {
        HWND box = nullptr;
        boxSeen = wintest::WaitFor("the message box",
                                   [&] { return (box = FindWindowW(L"#32770", L"Corvalend")) != nullptr; });
        wintest::PressCombination(MOD_CONTROL | MOD_ALT, VK_F12);
        wintest::WaitFor("the hotkey's text on the clipboard",
                         [] { return wintest::ClipboardText() == u"from a nested loop"; });
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    app.ShowErrorText(u"waiting");
    presser.join();
    EXPECT_TRUE(boxSeen);
    EXPECT_EQ(wintest::ClipboardText(), u"from a nested loop");
}
