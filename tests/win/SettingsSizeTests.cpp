// The settings window at another size: what follows its width and height, the smallest size it
// takes, and the place it opens at again.
#include <gtest/gtest.h>

#include <memory>

#include "core/datau.h"
#include "framework/Registry.h"
#include "tests/support/FormTest.h"
#include "tests/support/WinTest.h"
#include "tests/win/ProgramData.h"
#include "ui/SettingsFormU.h"
#include "ui/WindowPlacementRules.h"

using namespace corvalend;

namespace {

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Where the window's parts end, as distances from the edges that should carry them, and which of them
// do not have the column's width.
struct Layout {
    LONG tabRight, tabBottom, columnBottom, parameterRight;
    int narrowFrames;
    bool operator==(const Layout&) const = default;
};

Layout Measure(TSettingsForm& form) {
    RECT client{}, column{}, page{};
    GetClientRect(form.Handle(), &client);
    GetClientRect(form.HotKeyPlacement.Handle(), &column);
    GetClientRect(form.tsHotkeys.Handle(), &page);
    THotkeySetting& first = *form.HotKeySettingsList().front();
    Layout layout{client.right - form.pcClient.PixelBounds().right, client.bottom - form.pcClient.PixelBounds().bottom,
                  page.bottom - form.HotKeyPlacement.PixelBounds().bottom,
                  first.PixelBounds().right - first.Editor().edtParameters.PixelBounds().right, 0};
    for (const auto& frame : form.HotKeySettingsList())
        layout.narrowFrames += frame->PixelBounds().right != column.right;
    return layout;
}

class SettingsSize : public wintest::ProgramSuite {
protected:
    void SetUp() override {
        wintest::EmptyHotkeyFile();
        data_ = std::make_unique<wintest::ProgramData>(*app_);
        THotkeyList file(data_->HotkeyServices());
        for (int i = 0; i < 40; ++i) file.Add(true, 'A' + i % 26, MOD_CONTROL + i / 26, hkfSendKeys, u"x", u"", u"");
        file.SaveToFile(data_->DataFile(dftHotkeys));
    }
    void TearDown() override {
        FreeSettingsForms();
        data_.reset();
        wintest::DeleteTree(fw::ExtractFileDir(HotkeyFile()));
    }
    std::u16string HotkeyFile() const { return data_->DataFile(dftHotkeys); }
    TSettingsForm& Open() {
        ShowSettingsForm(*app_, *data_);
        EXPECT_TRUE(wintest::WaitFor("the settings window shown", [] { return SettingsForm->Visible(); }));
        return *SettingsForm;
    }
    // `kept`: what the program's settings hold instead of the place the window was closed at.
    void CloseAndOpen(const std::u16string& kept = u"") {
        const HWND closed = SettingsForm->Handle();
        SettingsForm->Close();
        ASSERT_TRUE(wintest::WaitFor("the settings window freed", [&] { return !IsWindow(closed); }));
        if (!kept.empty()) fw::RegistryIni(kProgramKey).WriteString(kSettingsPlacementValue, kept);
        Open();
    }
    std::unique_ptr<wintest::ProgramData> data_;
};

TEST_F(SettingsSize, EveryPartFollowsTheWindowWhichKeepsItsDesignedSizeAtLeastAndItsPlace) {
    TSettingsForm& form = Open();
    form.HotKeySettingsList().front()->SetEditMode(true);
    const RECT designed = WindowRect(form.Handle());
    const Layout layout = Measure(form);
    const size_t rows = form.HotKeySettingsList().size();
    EXPECT_EQ(layout.narrowFrames, 0);

    const fw::Bounds larger{30, 40, designed.right - designed.left + 300, designed.bottom - designed.top + 150};
    SetWindowPos(form.Handle(), nullptr, larger.left, larger.top, larger.width, larger.height, SWP_NOZORDER);
    EXPECT_EQ(Measure(form), layout) << "the same distances to the right and bottom edges";
    EXPECT_GT(form.HotKeySettingsList().size(), rows) << "the column shows more rows";
    form.HotKeyPlacement.ScrollTo(form.HotKeyPlacement.ColumnHeight());
    EXPECT_EQ(Measure(form).narrowFrames, 0) << "frames made for rows scrolled into view";

    SetWindowPos(form.Handle(), nullptr, 0, 0, 200, 100, SWP_NOZORDER | SWP_NOMOVE);
    const RECT smallest = WindowRect(form.Handle());
    EXPECT_EQ(smallest.right - smallest.left, designed.right - designed.left) << "the designed size is the least";
    EXPECT_EQ(smallest.bottom - smallest.top, designed.bottom - designed.top);

    SetWindowPos(form.Handle(), nullptr, larger.left, larger.top, larger.width, larger.height, SWP_NOZORDER);
    ShowWindow(form.Handle(), SW_MAXIMIZE);
    CloseAndOpen();
    EXPECT_TRUE(SettingsForm->Maximized());
    EXPECT_EQ(SettingsForm->NormalBounds(), larger);
    ShowWindow(SettingsForm->Handle(), SW_RESTORE);
    CloseAndOpen();
    EXPECT_FALSE(SettingsForm->Maximized());
    EXPECT_EQ(SettingsForm->NormalBounds(), larger);

    // Kept on a monitor that is no longer there: centred, as at the first opening.
    CloseAndOpen(u"5000,40,900,600,0");
    const RECT centred = WindowRect(SettingsForm->Handle());
    EXPECT_TRUE(EqualRect(&designed, &centred)) << "centred";
}

}  // namespace
