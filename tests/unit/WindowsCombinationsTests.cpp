// Windows' own combinations: found by their exact modifiers and named, compactly, in the refusals of
// the wizard and the frame and in the popup's mark.
#include <gtest/gtest.h>

#include <tuple>

#include "core/WindowsCombinations.h"
#include "tests/support/MemoryFileStore.h"
#include "ui/HotkeySettingRules.h"
#include "ui/MainFormRules.h"
#include "ui/frmAddHotkeyRules.h"

using namespace corvalend;

namespace {

struct WindowsCombinationsTest : ::testing::Test {
    FakeRegistrar registrar;  // stands in for Windows' shell holding a combination
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    THotkeyList none{system};
};

std::u16string Uses(std::u16string_view what) {
    return kUsedByAnotherProgramText + (u" Windows uses " + std::u16string(what) + u".");
}

}  // namespace

TEST_F(WindowsCombinationsTest, TheWizardNamesThoseTheSystemRefusesAndRefusesThoseThatNeverReachPrograms) {
    const std::tuple<uint16_t, int32_t, bool, std::u16string> cases[] = {
        {'L', kModWin, false, u"Windows keeps WIN+L for itself (lock the computer); no program can use it."},
        {0x2E, kModCtrl | kModAlt, false,
         u"Windows keeps CTRL+ALT+DEL for itself (the security screen); no program can use it."},
        {'E', kModWin, true, Uses(u"WIN+E for File Explorer")},
        {'E', kModWin, false, u""},  // not held here: only the system's refusal proves the shell holds it
        {'S', kModWin | kModShift, true, Uses(u"WIN+SHIFT+S for the screen snip")},
        {0xBE, kModWin, true, Uses(u"WIN+. for the emoji panel")},
        {0xBA, kModWin, true, Uses(u"WIN+; for the emoji panel")},
        {0x09, kModWin, true, Uses(u"WIN+TAB for Task view")},
        {0x86, kModWin | kModShift, true, Uses(u"WIN+SHIFT+F23 for the Copilot key")},
        {'7', kModWin | kModAlt, true, Uses(u"WIN+ALT+7 for the jump list of an app on the taskbar")},
        {'L', kModWin | kModShift, true, kUsedByAnotherProgramText},  // the modifiers count exactly
    };
    for (const auto& [key, shift, held, refusal] : cases) {
        registrar.reserved.clear();
        if (held) registrar.reserved.insert({shift, key});
        EXPECT_EQ(ValidateWizardPage(TWizardPage::Key, {.key = key, .shift = shift}, none, none), refusal);
    }
}

TEST_F(WindowsCombinationsTest, TheFrameRefusesThemAndThePopupMarksThem) {
    HotkeyEdits edits{.Active = true, .Key = 'L', .Shift = kModWin, .Func = hkfClose};
    EXPECT_EQ(CheckHotkey(none, nullptr, edits, none), HotkeyProblem::KeptByWindows);
    EXPECT_EQ(HotkeyProblemText(HotkeyProblem::KeptByWindows, 'L', kModWin), KeptByWindowsText('L', kModWin));
    edits.Active = false;
    EXPECT_EQ(CheckHotkey(none, nullptr, edits, none), HotkeyProblem::None) << "inactive: registers nothing";
    EXPECT_EQ(HotkeyProblemText(HotkeyProblem::UsedByAnotherProgram, 'E', kModWin), Uses(u"WIN+E for File Explorer"));
    EXPECT_EQ(HotkeyRow({.Active = true, .Key = 'E', .Shift = kModWin}, u"WIN + E", true).Hotkey,
              u"WIN + E (used by Windows)");
}
