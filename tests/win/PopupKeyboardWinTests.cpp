// The tray icon and the popup by keyboard alone, with the fourth version's messages as the shell sends them.
#include <gtest/gtest.h>

#include <windows.h>

#include <shlobj.h>

#include <functional>
#include <memory>
#include <string_view>

#include "core/SystemHotkeys.h"
#include "core/datau.h"
#include "framework/Registry.h"
#include "framework/Win32CodePage.h"
#include "framework/Win32FileStore.h"
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

class PopupKeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {  // 36 hotkeys: the last row is out of view at first
        app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr));
        fw::RegistryIni(kProgramKey).WriteString(u"FirstUse", u"0");
        const std::u16string file = HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA));
        fw::ForceDirectories(fw::ExtractFileDir(file));
        SystemHotkeys registrar(/*onPress=*/nullptr);  // saves the file only
        fw::Win32FileStore files;
        fw::SystemAnsiCodePage ansi;
        THotkeyList list(HotkeySystem{registrar, files, ansi});
        for (int i = 0; i < 36; ++i)
            list.Add(true, VK_F1 + i % 12, MOD_CONTROL | MOD_ALT | (i / 12) * MOD_SHIFT, hkfMinimize, u"", u"", u"");
        list.SaveToFile(file);
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        Data = data_.get();
        form_ = std::make_unique<TMainForm>(*app_);
    }
    void TearDown() override {
        FreeSettingsForms();  // the popup, the data module and the application go after, in this order
        Data = nullptr;
        wintest::DeleteTree(fw::ExtractFileDir(HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA))));
    }

    TMainForm& Form() { return *form_; }
    // Waits with the keys going through the program's own loop, which offers them to the form.
    bool WaitFor(std::string_view what, const std::function<bool()>& ready) {
        return wintest::WaitFor(what, [&] { return app_->ProcessMessages(), ready(); });
    }

    std::unique_ptr<fw::Application> app_;
    std::unique_ptr<wintest::ProgramData> data_;
    std::unique_ptr<TMainForm> form_;
};

}  // namespace

// Opening it from the tray, Esc handing the focus back and "Manage hotkeys" by keys are walked end
// to end; here, what only the program's objects tell: the marked row, the timer, the X.
TEST_F(PopupKeyboardTest, EnterMarksTheFirstRowEndTheLastInViewTabReachesTheXAndTheTimerStaysOff) {
    ShellSends(*Form().TrayIcon, NIN_KEYSELECT);
    TMainForm::TPopupControls& popup = Form().Popup();
    ASSERT_TRUE(WaitFor("the popup in keyboard mode, the first row marked and focused", [&] {
        return Form().Visible() && Form().MarkedRow() == 0 && GetFocus() == popup.pnlHotkeys.Handle();
    }));

    PressCombination(0, VK_END);
    ASSERT_TRUE(WaitFor("the last row marked", [&] { return Form().MarkedRow() == 35; }));
    EXPECT_NE(Form().HotkeyText(36, 0), nullptr) << "the last row is in view";

    for (UINT key : {VK_TAB, VK_TAB}) PressCombination(0, key);
    ASSERT_TRUE(WaitFor("Manage hotkeys focused", [&] { return GetFocus() == popup.BLabel1.Handle(); }));
    PressCombination(MOD_SHIFT, VK_TAB);
    ASSERT_TRUE(WaitFor("the X focused", [&] { return GetFocus() == popup.SpeedButton1.Handle(); }));
    EXPECT_FALSE(Form().HideFormTimer.Enabled());
    PressCombination(0, VK_ESCAPE);
    EXPECT_TRUE(WaitFor("the popup closed", [&] { return !Form().Visible(); }));
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
    EXPECT_TRUE(firstSelected && menuAt.left == 300 && menuAt.top == 200) << menuAt.left << "," << menuAt.top;
}
