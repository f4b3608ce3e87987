// The capture delay: its parameter as the frame and the wizard check it, and the countdowns in virtual time.
#include <gtest/gtest.h>

#include "core/CaptureDelayRules.h"
#include "tests/support/MemoryFileStore.h"
#include "ui/HotkeySettingRules.h"
#include "ui/frmAddHotkeyRules.h"

using namespace corvalend;

TEST(CaptureDelayRules, EmptyOrWholeSecondsFromOneToThirtyElseTheFrameAndTheWizardRefuse) {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    const THotkeyList list{system};
    for (const auto& [params, seconds] : {std::pair<std::u16string, int>{u" ", 0},
                                          {u" 30 ", 30},
                                          {u"05", 5},
                                          {u"0", -1},
                                          {u"31", -1},
                                          {u"2.5", -1},
                                          {u"99999999999", -1}}) {
        EXPECT_EQ(ParseDelay(params).value_or(-1), seconds);
        const std::u16string refused = seconds < 0 ? u"The delay must be a whole number of seconds from 1 to 30." : u"";
        const HotkeyEdits edits{.Key = 'P', .Shift = kModCtrl, .Func = hkfCaptureWindow, .Params = params};
        EXPECT_EQ(HotkeyProblemText(CheckHotkey(list, nullptr, edits, list)), refused);
        const TWizardEntry entry{
            .key = 'P', .shift = kModCtrl, .actionSelected = true, .func = hkfCaptureScreen, .params = params};
        EXPECT_EQ(ValidateWizardPage(TWizardPage::Action, entry, list, list), refused);
    }
}

namespace {

// The timer's wake (0: stopped) and the tip, as the toolkit and the tray would get them.
struct Recorder final : CountdownTimer, Notices {
    void Start(uint32_t milliseconds) override { wake = milliseconds; }
    void Stop() override { wake = 0; }
    void ShowNotice(const std::u16string&, const std::u16string&) override {}
    void ShowCountdown(const std::u16string& text) override { tip = text; }
    uint32_t wake = 0;
    std::u16string tip;
};

}  // namespace

TEST(CaptureDelayRules, EachHotkeyCountsDownOnItsOwnTheTipShowsTheSoonestASecondPressCancels) {
    Recorder recorder;
    CaptureCountdowns countdowns(recorder, &recorder);
    std::vector<THotKeyFunc> taken;
    using enum CaptureCountdowns::PressResult;
    EXPECT_EQ(countdowns.Press('A', kModCtrl, hkfCaptureScreen, 0, 0), CaptureNow);
    EXPECT_EQ(countdowns.Press('A', kModCtrl, hkfCaptureScreen, 2, 0), Started);
    EXPECT_EQ(countdowns.Press('B', kModCtrl, hkfCaptureWindow, 1, 500), Started);
    // A tick now and then: the tip, and the next wake when the soonest whole second changes.
    for (const auto& [now, tip, wake] : {std::tuple<uint64_t, std::u16string, uint32_t>{1000, u"Capture in 1 s", 500},
                                         {1500, u"Capture in 1 s", 500},
                                         {1990, u"Capture in 1 s", 10},
                                         {2000, u"", 0}}) {
        countdowns.Tick(now, [&](THotKeyFunc func) { taken.push_back(func); });
        EXPECT_EQ(std::tie(recorder.tip, recorder.wake), std::tie(tip, wake)) << now;
    }
    EXPECT_EQ(taken, (std::vector{hkfCaptureWindow, hkfCaptureScreen}));
    countdowns.Press('A', kModCtrl, hkfCaptureScreen, 3, 5000);
    EXPECT_EQ(recorder.tip, u"Capture in 3 s");
    EXPECT_EQ(countdowns.Press('A', kModCtrl, hkfCaptureScreen, 3, 5100), Cancelled);
    EXPECT_EQ(std::tie(recorder.tip, recorder.wake), std::make_tuple(u"", 0u));
}
