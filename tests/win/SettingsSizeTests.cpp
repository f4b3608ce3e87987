// The settings window at another size: what follows it, its least size, and its place kept.
#include <gtest/gtest.h>

#include "framework/Registry.h"
#include "tests/support/FormTest.h"
#include "tests/win/ProgramData.h"
#include "ui/SettingsFormU.h"
#include "ui/WindowPlacementRules.h"

using namespace corvalend;

namespace {

RECT Client(const fw::Control& control) {
    RECT rect{};
    GetClientRect(control.Handle(), &rect);
    return rect;
}

// How far the tab, the column and a frame's parameter field end from the edges that carry them, and
// how many frames are not as wide as the column.
std::array<LONG, 5> Layout(TSettingsForm& form) {
    RECT window{};
    GetClientRect(form.Handle(), &window);
    THotkeySetting& first = *form.HotKeySettingsList().front();
    std::array<LONG, 5> layout{window.right - form.pcClient.PixelBounds().right,
                               window.bottom - form.pcClient.PixelBounds().bottom,
                               Client(form.tsHotkeys).bottom - form.HotKeyPlacement.PixelBounds().bottom,
                               first.PixelBounds().right - first.Editor().edtParameters.PixelBounds().right, 0};
    for (const auto& frame : form.HotKeySettingsList())
        layout[4] += frame->PixelBounds().right != Client(form.HotKeyPlacement).right;
    return layout;
}

RECT Reopen(fw::Application& app, TData& data, const std::u16string& kept = u"") {
    const HWND closed = SettingsForm != nullptr ? SettingsForm->Handle() : nullptr;
    if (SettingsForm != nullptr) SettingsForm->Close();
    EXPECT_TRUE(wintest::WaitFor("the settings window freed", [&] { return !IsWindow(closed); }));
    if (!kept.empty()) fw::RegistryIni(kProgramKey).WriteString(kSettingsPlacementValue, kept);
    ShowSettingsForm(app, data);
    RECT rect{};
    GetWindowRect(SettingsForm->Handle(), &rect);
    return rect;
}

class SettingsSize : public wintest::ProgramSuite {};

TEST_F(SettingsSize, EveryPartFollowsTheWindowWhichKeepsItsDesignedSizeAtLeastAndItsPlace) {
    wintest::EmptyHotkeyFile();
    wintest::ProgramData data(*app_);
    THotkeyList file(data.HotkeyServices());
    for (int i = 0; i < 40; ++i) file.Add(true, 'A' + i % 26, MOD_CONTROL + i / 26, hkfSendKeys, u"x", u"", u"");
    file.SaveToFile(data.DataFile(dftHotkeys));
    const RECT designed = Reopen(*app_, data);
    TSettingsForm& form = *SettingsForm;
    form.HotKeySettingsList().front()->SetEditMode(true);
    const auto layout = Layout(form);
    const size_t rows = form.HotKeySettingsList().size();
    const fw::Bounds larger{30, 40, designed.right - designed.left + 300, designed.bottom - designed.top + 150};
    SetWindowPos(form.Handle(), nullptr, larger.left, larger.top, larger.width, larger.height, SWP_NOZORDER);
    EXPECT_EQ(Layout(form), layout);
    EXPECT_EQ(layout[4], 0) << "frames as wide as the column";
    EXPECT_GT(form.HotKeySettingsList().size(), rows) << "the column shows more rows";
    form.HotKeyPlacement.ScrollTo(form.HotKeyPlacement.ColumnHeight());
    EXPECT_EQ(Layout(form)[4], 0) << "frames made for rows scrolled into view";
    SetWindowPos(form.Handle(), nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_EQ(form.NormalBounds().width, designed.right - designed.left) << "the designed size is the least";
    EXPECT_EQ(form.NormalBounds().height, designed.bottom - designed.top);
    SetWindowPos(form.Handle(), nullptr, larger.left, larger.top, larger.width, larger.height, SWP_NOZORDER);
    for (const int show : {SW_MAXIMIZE, SW_RESTORE}) {
        ShowWindow(SettingsForm->Handle(), show);
        Reopen(*app_, data);
        EXPECT_EQ(SettingsForm->Maximized(), show == SW_MAXIMIZE);
        EXPECT_EQ(SettingsForm->NormalBounds(), larger);
    }
    const RECT centred = Reopen(*app_, data, u"5000,40,900,600,0");  // its monitor is gone
    EXPECT_TRUE(EqualRect(&designed, &centred));
    FreeSettingsForms();
}

}  // namespace
