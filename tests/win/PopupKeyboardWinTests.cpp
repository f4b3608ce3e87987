// The tray icon and the overview popup by keyboard alone, with the tray messages of the fourth
// version posted as the shell sends them: Enter opens the popup once, the keys walk its rows and
// stops, Esc hands the focus back; Shift+F10 opens the menu with its first item selected; the rows
// and the "X" read back through the accessibility library.
#include <gtest/gtest.h>

#include <windows.h>

#include <oleacc.h>
#include <shlobj.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/SystemHotkeys.h"
#include "core/datau.h"
#include "framework/ComPtr.h"
#include "framework/Registry.h"
#include "framework/Text.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"
#include "framework/WinText.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/MainFormU.h"
#include "ui/SettingsFormU.h"

using namespace corvalend;
using wintest::PressCombination;

namespace {

// A callback of the fourth version: the notification and the icon in lParam, the anchor in wParam.
void ShellSends(const TTrayIcon& icon, UINT notification, int x = 700, int y = 590) {
    PostMessageW(icon.Handle(), WM_TRAYCALLBACK, MAKEWPARAM(x, y), MAKELPARAM(notification, icon.IconID()));
}

// What the accessibility library reads for a window's client object. Wine 8 cannot carry an object
// a program made itself back to the caller (its unmarshalling answers E_NOINTERFACE), so there
// `given` is false and only Windows checks the names.
struct ReadBack {
    bool given = true;
    std::u16string name;
    long role = 0;
};
ReadBack Read(HWND window) {
    fw::ComPtr<IAccessible> object;
    ReadBack read;
    const HRESULT found = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                                     reinterpret_cast<void**>(object.put()));
    if (found == E_NOINTERFACE) {
        std::printf("[   wine   ] no accessible object of the program's own for reading back\n");
        read.given = false;
        return read;
    }
    if (FAILED(found)) {
        ADD_FAILURE() << "no accessible object: " << std::hex << found;
        return read;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (SUCCEEDED(object->get_accName(self, &name)) && name != nullptr) {
        read.name = fw::FromWide(name);
        SysFreeString(name);
    }
    VARIANT role{};
    if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) read.role = role.lVal;
    return read;
}

class PopupKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        fw::RegistryIni(kProgramKey).WriteString(u"FirstUse", u"0");
        const std::u16string file = HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA));
        fw::ForceDirectories(fw::ExtractFileDir(file));
        SystemHotkeys registrar(/*onPress=*/nullptr);
        fw::Win32FileStore files;
        fw::SystemAnsiCodePage ansi;
        THotkeyList list(HotkeySystem{registrar, files, ansi});
        // Enough rows that the last is out of view at first.
        for (int i = 0; i < 40; ++i)
            list.Add(true, VK_F1 + i % 12, MOD_CONTROL | MOD_ALT | (i / 12) * MOD_SHIFT, hkfMinimize, u"", u"", u"");
        list.SaveToFile(file);
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        Data = data_.get();
        form_ = std::make_unique<TMainForm>(*app_);
    }
    void TearDown() override {
        if (form_->Visible()) form_->SpeedButton1Click();
        FreeSettingsForms();
        form_.reset();
        Data = nullptr;
        data_.reset();
        app_.reset();
        wintest::DeleteTree(fw::ExtractFileDir(HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA))));
    }

    TMainForm& Form() { return *form_; }
    // Waits with the keys going through the program's own loop, which offers them to the form.
    bool WaitFor(std::string_view what, const std::function<bool()>& ready) {
        return wintest::WaitFor(what, [&] {
            app_->ProcessMessages();
            return ready();
        });
    }
    bool Focused(HWND window) { return GetFocus() == window; }

    std::unique_ptr<fw::Application> app_;
    std::unique_ptr<wintest::ProgramData> data_;
    std::unique_ptr<TMainForm> form_;
};

}  // namespace

TEST_F(PopupKeyboardTest, EnterOpensItOnceTheKeysWalkItAndEscHandsTheFocusBack) {
    // The window the user was in.
    fw::Form before(*app_, nullptr, {.caption = u"before", .clientWidth = 200, .clientHeight = 100});
    before.Show();
    ASSERT_TRUE(WaitFor("the window before in front", [&] { return GetForegroundWindow() == before.Handle(); }));

    ShellSends(*Form().TrayIcon, NIN_KEYSELECT);
    ShellSends(*Form().TrayIcon, NIN_KEYSELECT);  // the same Enter's second notification
    TMainForm::TPopupControls& popup = Form().Popup();
    ASSERT_TRUE(WaitFor("the popup in keyboard mode with its rows focused",
                        [&] { return Form().Visible() && Focused(popup.pnlHotkeys.Handle()); }));
    EXPECT_TRUE(Form().KeyboardMode());
    EXPECT_EQ(Form().MarkedRow(), 0);
    const std::u16string first = Form().HotkeyText(1, 0)->Text() + u", " + Form().HotkeyText(1, 1)->Text();
    if (const ReadBack row = Read(popup.pnlHotkeys.Handle()); row.given) {
        EXPECT_EQ(row.name, first);
        EXPECT_EQ(row.role, ROLE_SYSTEM_LISTITEM);
    }
    if (const ReadBack close = Read(popup.SpeedButton1.Handle()); close.given) {
        EXPECT_EQ(close.name, u"Close");
    }

    PressCombination(0, VK_DOWN);
    ASSERT_TRUE(WaitFor("the second row marked", [&] { return Form().MarkedRow() == 1; }));
    PressCombination(0, VK_END);
    ASSERT_TRUE(WaitFor("the last row marked", [&] { return Form().MarkedRow() == 39; }));
    EXPECT_NE(Form().HotkeyText(40, 0), nullptr) << "the last row is in view";

    // Round the stops and back; the pointer far away hides nothing.
    wintest::MouseMoveTo(5, 5);
    PressCombination(0, VK_TAB);
    ASSERT_TRUE(WaitFor("the X focused", [&] { return Focused(popup.SpeedButton1.Handle()); }));
    PressCombination(0, VK_TAB);
    ASSERT_TRUE(WaitFor("Manage hotkeys focused", [&] { return Focused(popup.BLabel1.Handle()); }));
    PressCombination(MOD_SHIFT, VK_TAB);
    ASSERT_TRUE(WaitFor("the X focused again", [&] { return Focused(popup.SpeedButton1.Handle()); }));
    wintest::PumpUntil([] { return false; }, std::chrono::milliseconds(kHideFormInterval * 2));
    EXPECT_TRUE(Form().Visible());

    PressCombination(0, VK_ESCAPE);
    ASSERT_TRUE(WaitFor("the popup closed", [&] { return !Form().Visible(); }));
    EXPECT_TRUE(WaitFor("the focus back", [&] { return GetForegroundWindow() == before.Handle(); }));
}

TEST_F(PopupKeyboardTest, EnterOnManageHotkeysOpensTheSettingsWindow) {
    ShellSends(*Form().TrayIcon, NIN_SELECT);  // Space: NIN_SELECT with no click before it
    ASSERT_TRUE(WaitFor("the popup in keyboard mode", [&] { return Form().KeyboardMode(); }));
    PressCombination(0, VK_TAB);
    PressCombination(0, VK_TAB);
    ASSERT_TRUE(WaitFor("Manage hotkeys focused", [&] { return Focused(Form().Popup().BLabel1.Handle()); }));
    PressCombination(0, VK_RETURN);
    EXPECT_TRUE(WaitFor("the settings window", [] { return SettingsForm != nullptr; }));
    EXPECT_FALSE(Form().Visible());
}

TEST_F(PopupKeyboardTest, AClickOfVersion4StillOpensThePopupAsTheMouseDoes) {
    for (UINT n : {UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP}, UINT{NIN_SELECT}}) ShellSends(*Form().TrayIcon, n);
    ASSERT_TRUE(WaitFor("the popup shown", [&] { return Form().Visible(); }));
    EXPECT_FALSE(Form().KeyboardMode());
}

TEST_F(PopupKeyboardTest, ShiftF10OpensTheMenuAtTheAnchorWithItsFirstItemSelected) {
    bool firstSelected = false;
    RECT menuAt{};
    wintest::ModalScript script;
    HWND menu = nullptr;
    script.When(
        "the tray menu", [&] { return (menu = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(menu); },
        [&] {
            const auto handle = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
            firstSelected = (GetMenuState(handle, 0, MF_BYPOSITION) & MF_HILITE) != 0;
            GetWindowRect(menu, &menuAt);
            PressCombination(0, VK_ESCAPE);
        });
    script.Start([] { PressCombination(0, VK_ESCAPE); });
    ShellSends(*Form().TrayIcon, WM_CONTEXTMENU, 300, 200);
    ASSERT_TRUE(WaitFor("the menu closed", [&] { return script.Done() && !IsWindowVisible(menu); }));
    EXPECT_TRUE(firstSelected);
    EXPECT_EQ(menuAt.left, 300);
    EXPECT_EQ(menuAt.top, 200);
}
