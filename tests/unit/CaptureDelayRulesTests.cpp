// The capture delay: its parameter as the editors check it, and the countdowns in virtual time.
#include <gtest/gtest.h>

#include "core/CaptureDelayRules.h"
#include "framework/Text.h"
#include "tests/support/MemoryFileStore.h"
#include "ui/HotkeySettingRules.h"
#include "ui/frmAddHotkeyRules.h"

using namespace corvalend;

TEST(CaptureDelayRules, ParameterIsEmptyOrWholeSecondsFromOneToThirty) {
    const std::pair<std::u16string, std::optional<int>> cases[] = {
        {u"", 0},    {u"  ", 0},  {u"1", 1},    {u" 30 ", 30}, {u"05", 5},   {u"0", std::nullopt},
        {u"31", {}}, {u"-1", {}}, {u"2.5", {}}, {u"ten", {}},  {u"5 s", {}}, {u"99999999999", {}},
    };
    for (const auto& [params, expected] : cases) EXPECT_EQ(ParseDelay(params), expected) << fw::Utf16ToUtf8(params);
    EXPECT_EQ(StoredDelay(u"C:\\left\\from\\another\\action.exe"), 0);
    EXPECT_EQ(DelayText(u" 7"), u"Delay 7 s");
    EXPECT_EQ(DelayText(u"31"), u"");
}

TEST(CaptureDelayRules, FrameAndWizardRefuseABadDelayWithOneText) {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    const THotkeyList list{system};
    for (const THotKeyFunc func : {hkfCaptureScreen, hkfCaptureWindow}) {
        const HotkeyEdits edits{.Key = 'P', .Shift = kModCtrl, .Func = func, .Params = u"31"};
        EXPECT_EQ(HotkeyProblemText(CheckHotkey(list, nullptr, edits, list)),
                  u"The delay must be a whole number of seconds from 1 to 30.");
        const TWizardEntry entry{.key = 'P', .shift = kModCtrl, .actionSelected = true, .func = func, .params = u"x"};
        EXPECT_EQ(ValidateWizardPage(TWizardPage::Action, entry, list, list), kDelayProblemText);
    }
    const HotkeyEdits other{.Key = 'P', .Shift = kModCtrl, .Func = hkfOpenWebsite, .Params = u"31"};
    EXPECT_EQ(CheckHotkey(list, nullptr, other, list), HotkeyProblem::None);
    EXPECT_EQ(ParametersCaption(ParameterFieldsFor(hkfCaptureWindow), kParametersCaption), u"Delay in seconds");
}

namespace {

// Records the tip and the timer as the tray and the toolkit would get them.
struct Recorder final : CountdownTimer, Notices {
    void Start(uint32_t milliseconds) override { wake = milliseconds; }
    void Stop() override { wake = 0; }
    void ShowNotice(const std::u16string&, const std::u16string&) override {}
    void ShowCountdown(const std::u16string& text) override { tip = text; }
    uint32_t wake = 0;  // 0: stopped
    std::u16string tip;
};

}  // namespace

TEST(CaptureDelayRules, EachHotkeyCountsDownItsOwnSecondsAndTheTipShowsTheSoonest) {
    Recorder recorder;
    CaptureCountdowns countdowns(recorder, &recorder);
    std::vector<THotKeyFunc> taken;
    const auto capture = [&](THotKeyFunc func) { taken.push_back(func); };
    using Result = CaptureCountdowns::PressResult;
    EXPECT_EQ(countdowns.Press('A', kModCtrl, hkfCaptureScreen, 0, 0), Result::CaptureNow);
    EXPECT_EQ(countdowns.Press('A', kModCtrl, hkfCaptureScreen, 3, 0), Result::Started);
    const std::tuple<uint64_t, std::u16string, uint32_t> steps[] = {{0, u"Capture in 3 s", 1000},
                                                                    {1000, u"Capture in 2 s", 1000},
                                                                    {1990, u"Capture in 2 s", 10},
                                                                    {2000, u"Capture in 1 s", 1000},
                                                                    {3000, u"", 0}};
    for (const auto& [now, tip, wake] : steps) {
        if (now > 0) countdowns.Tick(now, capture);
        EXPECT_EQ(recorder.tip, tip) << now;
        EXPECT_EQ(recorder.wake, wake) << now;
    }
    EXPECT_EQ(taken, (std::vector{hkfCaptureScreen}));

    countdowns.Press('A', kModCtrl, hkfCaptureScreen, 3, 10000);
    EXPECT_EQ(countdowns.Press('B', kModCtrl, hkfCaptureWindow, 1, 10500), Result::Started);
    EXPECT_EQ(recorder.tip, u"Capture in 1 s") << "the soonest";
    EXPECT_EQ(recorder.wake, 500u) << "A's seconds change first";
    EXPECT_EQ(countdowns.Press('A', kModCtrl, hkfCaptureScreen, 3, 10600), Result::Cancelled);
    countdowns.Tick(11500, capture);
    EXPECT_EQ(taken, (std::vector{hkfCaptureScreen, hkfCaptureWindow}));
    EXPECT_EQ(recorder.tip, u"");
    EXPECT_EQ(countdowns.Waiting(), 0u);
}
