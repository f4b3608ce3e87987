// The hotkey editor's rules: the in-use and missing-action checks, the window state by name and the
// copy of the edits into the hotkey.
#include <gtest/gtest.h>

#include "tests/support/MemoryFileStore.h"
#include "ui/HotkeySettingRules.h"

using namespace corvalend;

namespace {

struct HotkeySettingRulesTest : ::testing::Test {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    THotkeyList list{system};
    // Ctrl+Alt+N, active; Ctrl+Alt+M, inactive; the edited one, Win+E, inactive.
    TGlobalHotKey* activeOther = list.Add(true, 'N', kModCtrl | kModAlt, hkfMaximize, u"", u"", u"");
    TGlobalHotKey* inactiveOther = list.Add(false, 'M', kModCtrl | kModAlt, hkfMinimize, u"", u"", u"");
    TGlobalHotKey* edited = list.Add(false, 'E', kModWin, hkfOpenFile, u"c:\\a.txt", u"-x", u"MAXIMIZED");
    THotkeyList live{system};  // the registered hotkeys, none unless a test adds them

    HotkeyEdits EditsOf(const TGlobalHotKey& hotkey) const {
        const THotKeyData& d = hotkey.HotKeyData;
        return {d.Active, static_cast<uint16_t>(d.Key), d.Shift, d.Func, d.Params, d.Params2, d.Params3};
    }
};

}  // namespace

TEST_F(HotkeySettingRulesTest, InUseOnlyAgainstOtherActiveHotkeys) {
    HotkeyEdits edits = EditsOf(*edited);
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::None) << "unchanged never conflicts with itself";

    edits.Key = 'N';
    edits.Shift = kModCtrl | kModAlt;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::InUse) << "the edited one stays inactive";
    edits.Active = true;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::InUse);
    edits.Shift = kModCtrl;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::None) << "the modifiers differ";

    edits.Key = 'M';
    edits.Shift = kModCtrl | kModAlt;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::None) << "inactive hotkeys never conflict";
    inactiveOther->HotKeyData.Active = true;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::InUse);

    // The one in the list is the edited object itself: no conflict even with the same values.
    EXPECT_EQ(CheckHotkey(list, activeOther, EditsOf(*activeOther), live), HotkeyProblem::None);
}

TEST_F(HotkeySettingRulesTest, MissingActionComesAfterInUseAndEmptyKeysPass) {
    HotkeyEdits edits = EditsOf(*edited);
    edits.Func = hkfNoAction;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::NoAction);
    edits.Key = 'N';
    edits.Shift = kModCtrl | kModAlt;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::InUse) << "only the in-use message";

    edits = EditsOf(*edited);
    edits.Key = 0;
    edits.Shift = 0;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::None) << "no test for an empty key or modifier";
    EXPECT_EQ(HotkeyProblemText(HotkeyProblem::InUse), u"The selected hotkey is already in use.");
    EXPECT_EQ(HotkeyProblemText(HotkeyProblem::NoAction), u"You must select an action for your hotkey.");
    EXPECT_EQ(HotkeyProblemText(HotkeyProblem::None), u"");
}

TEST_F(HotkeySettingRulesTest, AnotherProgramsCombinationIsRefusedOursIsNot) {
    registrar.reserved.insert({kModCtrl | kModShift, 'Q'});
    HotkeyEdits edits = EditsOf(*edited);
    edits.Active = true;
    edits.Key = 'Q';
    edits.Shift = kModCtrl | kModShift;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::UsedByAnotherProgram);
    EXPECT_EQ(HotkeyProblemText(HotkeyProblem::UsedByAnotherProgram),
              u"The selected hotkey is used by another program.");
    edits.Func = hkfNoAction;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::UsedByAnotherProgram) << "before the action";
    edits.Active = false;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::NoAction) << "inactive: registers nothing";

    // The edited hotkey's own registration: the system refuses the combination, yet it may be saved.
    edits = EditsOf(*edited);
    edits.Active = true;
    live.Add(true, 'E', kModWin, hkfOpenFile, u"", u"", u"");
    live.RegisterKeys();
    ASSERT_TRUE(registrar.IsRegistered(kModWin, 'E'));
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::None);
    // A second hotkey of ours on that combination is in use, not another program's.
    edited->HotKeyData.Active = true;
    EXPECT_EQ(CheckHotkey(list, inactiveOther, edits, live), HotkeyProblem::InUse);
    // A live hotkey the system refused does not hold its combination.
    live.Add(true, 'Q', kModCtrl | kModShift, hkfClose, u"", u"", u"");
    live.RegisterKeys();
    edits.Key = 'Q';
    edits.Shift = kModCtrl | kModShift;
    EXPECT_EQ(CheckHotkey(list, edited, edits, live), HotkeyProblem::UsedByAnotherProgram);
}

TEST(HotkeySettingRules, WindowStatesByName) {
    const TWindowStateList states = WindowStateList(hkfOpenFile);
    EXPECT_EQ(WindowStateIndex(states, u"NORMAL"), 0);
    EXPECT_EQ(WindowStateIndex(states, u"maximized"), 1);
    EXPECT_EQ(WindowStateIndex(states, u"MiniMized"), 2);
    EXPECT_EQ(WindowStateIndex(states, u""), -1);
    EXPECT_EQ(WindowStateIndex(states, u"hidden"), -1);
}

TEST_F(HotkeySettingRulesTest, SaveCopiesEverythingAndKeepsParametersOnOneLine) {
    const HotkeyEdits edits{true, 'K', kModCtrl | kModShift, hkfMaximize, u"keep", u"hidden too", u"NORMAL"};
    CopyEdits(edits, edited->HotKeyData);
    const THotKeyData& d = edited->HotKeyData;
    EXPECT_TRUE(d.Active);
    EXPECT_EQ(d.Key, 'K');
    EXPECT_EQ(d.Shift, kModCtrl | kModShift);
    EXPECT_EQ(d.Func, hkfMaximize);
    EXPECT_EQ(d.Params, u"keep") << "hidden parameters are kept";
    EXPECT_EQ(d.Params2, u"hidden too");
    EXPECT_EQ(d.Params3, u"NORMAL");

    // Text pasted with line breaks: stored as placeholders, so the file keeps its lines and the
    // list reads back exactly what was saved.
    CopyEdits({true, 'K', kModCtrl, hkfSendKeys, u"one\r\ntwo\nthree\r\tfour", u"x\r\n[key9]", u""},
              edited->HotKeyData);
    EXPECT_EQ(d.Params, u"one<?CR?><?LF?>two<?LF?>three<?CR?>\tfour");
    EXPECT_EQ(d.Params2, u"x<?CR?><?LF?>[key9]");
    list.SaveToFile(u"/h.ini");
    THotkeyList reread(system);
    reread.LoadFromFile(u"/h.ini", false);
    ASSERT_EQ(reread.Count(), 3);
    EXPECT_EQ(reread.GetItem(2)->HotKeyData.Params, d.Params);
    EXPECT_EQ(reread.GetItem(2)->HotKeyData.Params2, d.Params2);
}
