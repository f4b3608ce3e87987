// The settings window and the new-hotkey wizard used with the keyboard alone: Tab reaches every
// frame of the column, Enter and Space press the focused button, Ctrl+Tab turns the pages, a link
// follows Enter, and a combination typed into the key field ticks its modifier boxes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/datau.h"
#include "framework/Application.h"
#include "tests/support/FormTest.h"
#include "tests/win/ProgramData.h"
#include "ui/SettingsFormU.h"
#include "ui/frmAddHotkeyU.h"

using namespace corvalend;
using wintest::PressCombination;

namespace {

constexpr int kRows = 8;  // twice as many as the column has in view

class KeyboardOrder : public ::testing::Test {
protected:
    static void SetUpTestSuite() { app_ = std::make_unique<fw::Application>(GetModuleHandleW(nullptr)); }
    static void TearDownTestSuite() { app_.reset(); }
    void SetUp() override {
        wintest::EmptyHotkeyFile();
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        THotkeyList file(data_->HotkeyServices());
        for (int row = 0; row < kRows; ++row)
            file.Add(true, 'A' + row, MOD_CONTROL | MOD_ALT, hkfMinimize, u"", u"", u"");
        file.SaveToFile(data_->DataFile(dftHotkeys));
        data_->InitApp();
    }
    void TearDown() override {
        FreeSettingsForms();
        data_.reset();
    }

    // Presses the key until `ready` holds, waiting for each press to be handled; false if it never does.
    bool PressUntil(unsigned modifiers, unsigned key, const std::function<bool()>& ready) {
        for (int press = 0; press < 40 && !ready(); ++press) {
            const HWND before = GetFocus();
            PressCombination(modifiers, key);
            wintest::PumpAppUntil(
                *app_, [&] { return GetFocus() != before || ready(); }, wintest::kPatience);
        }
        return ready();
    }

    inline static std::unique_ptr<fw::Application> app_;
    std::unique_ptr<wintest::ProgramData> data_;
};

bool Focused(const fw::Control& control) {
    return GetFocus() == control.Handle();
}

}  // namespace

TEST_F(KeyboardOrder, SettingsWindowWithKeysAlone) {
    ShowSettingsForm(*app_, *data_);
    TSettingsForm& form = *SettingsForm;
    std::vector<std::u16string> opened;
    form.OpenPage = [&](HWND, const std::u16string& address) { opened.push_back(address); };
    ASSERT_TRUE(wintest::PumpAppUntil(
        *app_, [&] { return wintest::InFront(form); }, wintest::kPatience));
    const auto frame = [&](int row) -> THotkeySetting* {
        for (const auto& f : form.HotKeySettingsList()) {
            if (&f->Hotkey() == form.HotKeyList().GetItem(row)) return f.get();
        }
        return nullptr;
    };
    const auto onRow = [&](int row) { return frame(row) != nullptr && Focused(frame(row)->btnEdit); };
    for (int row = 0; row < kRows; ++row) {
        ASSERT_TRUE(PressUntil(0, VK_TAB, [&] { return onRow(row); })) << "row " << row;
        const RECT place = frame(row)->PixelBounds();
        EXPECT_TRUE(place.top >= 0 && place.bottom <= wintest::ClientRect(form.HotKeyPlacement.Handle()).bottom);
    }
    ASSERT_TRUE(PressUntil(MOD_SHIFT, VK_TAB, [&] { return onRow(kRows - 2); }));  // back one row
    PressCombination(0, VK_RETURN);                                                // Edit, not the window's Close
    THotkeySetting& edited = *frame(kRows - 2);
    ASSERT_TRUE(wintest::PumpAppUntil(
        *app_, [&] { return Focused(edited.Editor().ckbActive); }, wintest::kPatience));
    ASSERT_TRUE(PressUntil(0, VK_TAB, [&] { return Focused(edited.Editor().HotKey1); }));
    PressCombination(MOD_SHIFT, VK_F9);
    ASSERT_TRUE(PressUntil(0, VK_TAB, [&] { return Focused(edited.Editor().Button2); }));
    PressCombination(0, VK_RETURN);  // Save, not the window's Close
    ASSERT_TRUE(wintest::PumpAppUntil(
        *app_, [&] { return !edited.EditMode(); }, wintest::kPatience));
    EXPECT_EQ(form.HotKeyList().GetItem(kRows - 2)->HotKeyData.Key, VK_F9);
    EXPECT_EQ(form.HotKeyList().GetItem(kRows - 2)->HotKeyData.Shift, MOD_SHIFT);
    PressCombination(MOD_CONTROL, VK_TAB);
    ASSERT_TRUE(wintest::PumpAppUntil(
        *app_, [&] { return form.pcClient.ActivePage() == &form.tsOtherSettings; }, wintest::kPatience));
    ASSERT_TRUE(PressUntil(0, VK_TAB, [&] { return Focused(form.lblWeb); }));
    PressCombination(0, VK_RETURN);
    ASSERT_TRUE(wintest::PumpAppUntil(
        *app_, [&] { return !opened.empty(); }, wintest::kPatience));
    EXPECT_EQ(opened, std::vector<std::u16string>{kWebSiteAddress});
    ASSERT_TRUE(PressUntil(0, VK_TAB, [&] { return Focused(form.btnOK); }));
    PressCombination(0, VK_RETURN);
    EXPECT_TRUE(wintest::PumpAppUntil(
        *app_, [] { return SettingsForm == nullptr; }, wintest::kPatience));
}

TEST_F(KeyboardOrder, TypedModifiersTickTheWizardsBoxes) {
    TfrmAddHotkey wizard(*app_, nullptr, *data_);
    wintest::ModalScript script;
    script
        .When(
            "the key field focused", [&] { return wintest::InFront(wizard) && Focused(wizard.HotKey1); },
            [] { PressCombination(MOD_CONTROL | MOD_ALT, 'K'); })
        .When(
            "the key K", [&] { return wizard.HotKey1.Key() == 'K'; },
            [&] {
                EXPECT_TRUE(wizard.ShiftKeyCTRL.Checked() && wizard.ShiftKeyALt.Checked());
                EXPECT_FALSE(wizard.ShiftKeyShift.Checked() || wizard.ShiftKeyWin.Checked());
                PressCombination(0, VK_ESCAPE);
            });
    script.Start([&] { wizard.SetModalResult(fw::mrCancel); });
    EXPECT_EQ(wizard.ShowModal(), fw::mrCancel);
}
