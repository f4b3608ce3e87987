// The first-use guide's rules: which hotkey counts as a suggestion, the merge of the ticked
// suggestions into the hotkey file's list, and the boxes a list ticks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Hotkeys.h"
#include "framework/Text.h"
#include "framework/TextFile.h"
#include "tests/support/MemoryFileStore.h"
#include "ui/frmFirstUseRules.h"

using namespace corvalend;

namespace {

constexpr TSuggestionTicks kAll{true, true, true, true};
constexpr TSuggestionTicks kNone{false, false, false, false};

struct FirstUseRules : ::testing::Test {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    THotkeyList hotkeys{system};

    // The list as "<on|off> <key> <shift> <func> <params>" lines.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < hotkeys.Count(); ++i) {
            const THotKeyData& d = hotkeys.GetItem(i)->HotKeyData;
            lines.push_back(std::string(d.Active ? "on " : "off ") + std::to_string(d.Key) + " " +
                            std::to_string(d.Shift) + " " + fw::Utf16ToUtf8(HotKeyFuncToStr(d.Func)) + " " +
                            fw::Utf16ToUtf8(d.Params) + "|" + fw::Utf16ToUtf8(d.Params2) + "|" +
                            fw::Utf16ToUtf8(d.Params3));
        }
        return lines;
    }
};

const std::string kMinimize = "on 111 8 minimize ||";
const std::string kMaximize = "on 106 8 maximize ||";
const std::string kCapture = "on 83 8 capturescreen ||";
const std::string kNotepad = "on 78 8 openfile notepad.exe||";

}  // namespace

TEST_F(FirstUseRules, AnEmptyListGetsTheTickedSuggestionsInBoxOrder) {
    MergeSuggestions(hotkeys, kAll);
    EXPECT_EQ(Lines(), (std::vector<std::string>{kMinimize, kMaximize, kCapture, kNotepad}));
    EXPECT_EQ(SuggestionTicks(hotkeys), kAll);
    EXPECT_EQ(registrar.RegisteredCount(), 0u) << "an editing copy is never registered";

    hotkeys.Clear();
    MergeSuggestions(hotkeys, {true, false, true, true});
    EXPECT_EQ(Lines(), (std::vector<std::string>{kMinimize, kCapture, kNotepad})) << "maximize unticked";
    EXPECT_EQ(SuggestionTicks(hotkeys), (TSuggestionTicks{true, false, true, true}));

    hotkeys.Clear();
    MergeSuggestions(hotkeys, kNone);
    EXPECT_EQ(hotkeys.Count(), 0);
    EXPECT_EQ(SuggestionTicks(hotkeys), kNone);
}

TEST_F(FirstUseRules, SuggestionsAlreadyThereMoveToTheEndOthersStayInPlace) {
    hotkeys.Add(true, 'S', kModWin, hkfCaptureScreen, u"", u"", u"");  // the suggestion
    hotkeys.Add(true, 'Q', kModCtrl, hkfClose, u"", u"", u"");
    hotkeys.Add(true, 106, kModWin, hkfMaximize, u"x", u"y", u"z");  // counts: only key, mask and action matter
    hotkeys.Add(true, 'S', kModWin | kModAlt, hkfCaptureScreen, u"", u"", u"");  // other modifiers
    hotkeys.Add(true, 'E', kModWin, hkfSendKeys, u"abc", u"", u"");
    MergeSuggestions(hotkeys, kAll);
    EXPECT_EQ(Lines(),
              (std::vector<std::string>{"on 81 2 close ||", "on 83 9 capturescreen ||", "on 69 8 sendkeystrokes abc||",
                                        kMinimize, kMaximize, kCapture, kNotepad}));
    MergeSuggestions(hotkeys, kAll);
    EXPECT_EQ(hotkeys.Count(), 7) << "merging again changes nothing";

    MergeSuggestions(hotkeys, kNone);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"on 81 2 close ||", "on 83 9 capturescreen ||",
                                                 "on 69 8 sendkeystrokes abc||"}))
        << "unticked suggestions are taken out";
}

TEST_F(FirstUseRules, AnotherActionOnTheSuggestedCombinationIsKeptBesideTheSuggestion) {
    hotkeys.Add(true, 111, kModWin, hkfClose, u"", u"", u"");  // WIN + keypad slash: Close
    EXPECT_EQ(FindSuggestion(hotkeys, sgMinimize), nullptr);
    MergeSuggestions(hotkeys, {true, false, false, false});
    EXPECT_EQ(Lines(), (std::vector<std::string>{"on 111 8 close ||", kMinimize}));
    // Only the first hotkey with the combination counts, and that is the Close one.
    EXPECT_EQ(FindSuggestion(hotkeys, sgMinimize), nullptr);
    EXPECT_EQ(SuggestionTicks(hotkeys), kNone);
    MergeSuggestions(hotkeys, kNone);
    EXPECT_EQ(hotkeys.Count(), 2) << "nothing counts as the suggestion, so nothing is removed";
}

TEST_F(FirstUseRules, NotepadCountsInAnyLetterCaseButNotAnotherProgram) {
    hotkeys.Add(false, 'N', kModWin, hkfOpenFile, u"NOTEPAD.EXE", u"-x", u"MAXIMIZED");
    EXPECT_EQ(FindSuggestion(hotkeys, sgOpenNotepad), hotkeys.GetItem(0));
    EXPECT_EQ(SuggestionTicks(hotkeys), kNone) << "inactive: not ticked";
    MergeSuggestions(hotkeys, {false, false, false, true});
    EXPECT_EQ(Lines(), (std::vector<std::string>{kNotepad})) << "replaced by a fresh active one";
    hotkeys.GetItem(0)->HotKeyData.Params = u"Notepad.Exe";
    EXPECT_EQ(SuggestionTicks(hotkeys), (TSuggestionTicks{false, false, false, true}));

    hotkeys.Clear();
    hotkeys.Add(true, 'N', kModWin, hkfOpenFile, u"c:\\windows\\notepad.exe", u"", u"");
    hotkeys.Add(true, 'N', kModWin, hkfOpenFileAdmin, u"notepad.exe", u"", u"");
    EXPECT_EQ(FindSuggestion(hotkeys, sgOpenNotepad), nullptr) << "a path is another program";
    MergeSuggestions(hotkeys, {false, false, false, true});
    EXPECT_EQ(Lines(), (std::vector<std::string>{"on 78 8 openfile c:\\windows\\notepad.exe||",
                                                 "on 78 8 openfileadmin notepad.exe||", kNotepad}));
    EXPECT_EQ(SuggestionTicks(hotkeys), kNone) << "the first WIN + N is not the suggestion";
}

TEST_F(FirstUseRules, InactiveSuggestionsAreReplacedWhenTickedAndRemovedWhenNot) {
    hotkeys.Add(false, 111, kModWin, hkfMinimize, u"", u"", u"");
    hotkeys.Add(true, 'Q', kModCtrl, hkfClose, u"", u"", u"");
    hotkeys.Add(false, 106, kModWin, hkfMaximize, u"", u"", u"");
    hotkeys.Add(true, 'S', kModWin, hkfCaptureScreen, u"", u"", u"");
    EXPECT_EQ(SuggestionTicks(hotkeys), (TSuggestionTicks{false, false, true, false})) << "only active ones tick";
    MergeSuggestions(hotkeys, {true, false, false, false});
    EXPECT_EQ(Lines(), (std::vector<std::string>{"on 81 2 close ||", kMinimize}));
}

TEST_F(FirstUseRules, OnlyTheFirstOfTwoEqualSuggestionsIsReplaced) {
    hotkeys.Add(true, 'S', kModWin, hkfCaptureScreen, u"", u"", u"");
    hotkeys.Add(false, 'S', kModWin, hkfCaptureScreen, u"", u"", u"");
    MergeSuggestions(hotkeys, kNone);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"off 83 8 capturescreen ||"}));
    EXPECT_EQ(SuggestionTicks(hotkeys), kNone) << "the one left is inactive";
}
