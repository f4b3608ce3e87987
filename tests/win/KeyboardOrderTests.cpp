// The settings window with the keyboard alone: Tab reaches every frame, each scrolled into view,
// Ctrl+Tab turns the pages, Enter presses the focused link or button. Editing a frame and the
// wizard by keys are walked end to end.
#include <gtest/gtest.h>

#include "framework/Registry.h"
#include "tests/support/FormTest.h"
#include "tests/win/ProgramData.h"
#include "ui/SettingsFormU.h"

using namespace corvalend;

constexpr int kRows = 8;  // twice as many as the column has in view

class KeyboardOrder : public ::testing::Test {
protected:
    static void SetUpTestSuite() { app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr)); }
    static void TearDownTestSuite() { app_.reset(); }
    void SetUp() override {
        wintest::EmptyHotkeyFile();
        fw::RegistryIni(kProgramKey).WriteString(kFirstUseValue, u"0");  // no guide at InitApp
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        THotkeyList file(data_->HotkeyServices());
        for (int row = 0; row < kRows; ++row) file.Add(true, 'A' + row, kModCtrl | kModAlt, hkfMinimize, u"", u"", u"");
        file.SaveToFile(data_->DataFile(dftHotkeys));
    }
    void TearDown() override { FreeSettingsForms(); }
    static bool Pump(const std::function<bool()>& ready) {
        return wintest::PumpAppUntil(*app_, ready, wintest::kPatience);
    }
    // Presses the key until `ready` holds, each press handled first; false if it never does.
    static bool PressUntil(unsigned modifiers, unsigned key, const std::function<bool()>& ready) {
        for (int press = 0; press < 20 && !ready(); ++press) {
            const HWND before = GetFocus();
            wintest::PressCombination(modifiers, key);
            Pump([&] { return GetFocus() != before || ready(); });
        }
        return ready();
    }
    inline static std::unique_ptr<fw::Application> app_;
    std::unique_ptr<wintest::ProgramData> data_;  // made once the hotkey file is there
};

TEST_F(KeyboardOrder, SettingsWindowWithKeysAlone) {
    TSettingsForm& form = OpenSettingsForm(*app_, *data_);
    bool opened = false;
    form.OpenPage = [&](HWND, const std::u16string& address) { opened = address == kWebSiteAddress; };
    form.Show();
    ASSERT_TRUE(Pump([&] { return wintest::InFront(form); }));
    const auto frame = [] {
        return dynamic_cast<THotkeySetting*>(fw::Control::FromHandle(GetParent(GetParent(GetFocus()))));
    };
    const auto onRow = [&](int row) {
        return frame() && frame()->btnEdit.Focused() && form.HotKeyList().IndexOf(&frame()->Hotkey()) == row;
    };
    for (int row = 0; row < kRows; ++row) {
        ASSERT_TRUE(PressUntil(0, VK_TAB, [&] { return onRow(row); })) << "row " << row;
        const RECT place = frame()->PixelBounds();
        EXPECT_TRUE(place.top >= 0 && place.bottom <= wintest::ClientRect(form.HotKeyPlacement.Handle()).bottom);
    }
    ASSERT_TRUE(PressUntil(MOD_CONTROL, VK_TAB, [&] { return form.pcClient.ActivePage() == &form.tsOtherSettings; }));
    ASSERT_TRUE(PressUntil(0, VK_TAB, [&] { return form.lblWeb.Focused(); }));
    EXPECT_TRUE(PressUntil(0, VK_RETURN, [&] { return opened; }));
    ASSERT_TRUE(PressUntil(0, VK_TAB, [&] { return form.btnOK.Focused(); }));
    EXPECT_TRUE(PressUntil(0, VK_RETURN, [] { return SettingsForm == nullptr; }));
}
