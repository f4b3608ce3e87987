// The new-hotkey wizard's rules: the checks of its pages and the hotkey that Finish appends to the
// hotkey file.
#include <gtest/gtest.h>

#include "core/Hotkeys.h"
#include "framework/Error.h"
#include "framework/TextFile.h"
#include "tests/support/MemoryFileStore.h"
#include "ui/frmAddHotkeyRules.h"

using namespace corvalend;

namespace {

const std::u16string kFile = u"C:\\Data\\hotkeys.ini";

struct AddHotkeyRules : ::testing::Test {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    THotkeyList hotkeys{system};
    THotkeyList live{system};  // the registered hotkeys
};

}  // namespace

TEST_F(AddHotkeyRules, KeyPageChecksKeyThenModifiersThenActiveHotkeysInUse) {
    hotkeys.Add(false, 'A', kModCtrl, hkfClose, u"", u"", u"");  // inactive: does not block
    hotkeys.Add(true, 'B', kModCtrl | kModAlt, hkfMaximize, u"", u"", u"");

    EXPECT_EQ(ValidateWizardPage(TWizardPage::Key, {.key = 0, .shift = kModCtrl}, hotkeys, live), kMsgNoKey);
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Key, {.key = 0, .shift = 0}, hotkeys, live), kMsgNoKey)
        << "first check wins";
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Key, {.key = 'B', .shift = 0}, hotkeys, live), kMsgNoShiftKey);
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Key, {.key = 'B', .shift = kModCtrl | kModAlt}, hotkeys, live),
              kMsgHotkeyInUse);
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Key, {.key = 'B', .shift = kModCtrl}, hotkeys, live), u"")
        << "other modifiers";
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Key, {.key = 'A', .shift = kModCtrl}, hotkeys, live), u"")
        << "inactive one";
    // The key page alone does not look at the action.
    EXPECT_EQ(
        ValidateWizardPage(TWizardPage::Key, {.key = 'C', .shift = kModWin, .actionSelected = false}, hotkeys, live),
        u"");

    EXPECT_TRUE(HotkeyInUse(hotkeys, 'B', kModCtrl | kModAlt));
    EXPECT_FALSE(HotkeyInUse(hotkeys, 'A', kModCtrl));
    EXPECT_FALSE(HotkeyInUse(hotkeys, 'B', kModCtrl | kModAlt | kModShift));
}

TEST_F(AddHotkeyRules, KeyPageRefusesAnotherProgramsCombinationAfterOurs) {
    registrar.reserved.insert({kModCtrl | kModAlt, 'R'});
    hotkeys.Add(true, 'B', kModCtrl, hkfMaximize, u"", u"", u"");
    live.Add(true, 'B', kModCtrl, hkfMaximize, u"", u"", u"");
    live.RegisterKeys();
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Key, {.key = 'R', .shift = kModCtrl | kModAlt}, hotkeys, live),
              kUsedByAnotherProgramText);
    EXPECT_EQ(ValidateWizardPage(TWizardPage::All, {.key = 'R', .shift = kModCtrl | kModAlt}, hotkeys, live),
              kUsedByAnotherProgramText)
        << "before the action page's message";
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Key, {.key = 'B', .shift = kModCtrl}, hotkeys, live), kMsgHotkeyInUse)
        << "our own hotkey's combination";
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Action, {.key = 'R', .shift = kModCtrl | kModAlt, .actionSelected = true},
                                 hotkeys, live),
              u"");
}

TEST_F(AddHotkeyRules, ActionPageAndAllPages) {
    hotkeys.Add(true, 'B', kModCtrl, hkfMaximize, u"", u"", u"");
    // The action page alone does not look at the key.
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Action, {.key = 0, .actionSelected = false}, hotkeys, live),
              kMsgNoAction);
    EXPECT_EQ(ValidateWizardPage(TWizardPage::Action, {.key = 0, .actionSelected = true}, hotkeys, live), u"");
    // All pages: the key page's messages come first.
    EXPECT_EQ(ValidateWizardPage(TWizardPage::All, {.key = 0, .actionSelected = false}, hotkeys, live), kMsgNoKey);
    EXPECT_EQ(ValidateWizardPage(TWizardPage::All, {.key = 'B', .shift = 0, .actionSelected = true}, hotkeys, live),
              kMsgNoShiftKey);
    EXPECT_EQ(
        ValidateWizardPage(TWizardPage::All, {.key = 'B', .shift = kModCtrl, .actionSelected = true}, hotkeys, live),
        kMsgHotkeyInUse);
    EXPECT_EQ(
        ValidateWizardPage(TWizardPage::All, {.key = 'C', .shift = kModCtrl, .actionSelected = false}, hotkeys, live),
        kMsgNoAction);
    EXPECT_EQ(
        ValidateWizardPage(TWizardPage::All, {.key = 'C', .shift = kModCtrl, .actionSelected = true}, hotkeys, live),
        u"");
}

TEST_F(AddHotkeyRules, NewHotkeyIsActiveAndKeepsOnlyTheShownFields) {
    THotKeyData h = NewWizardHotkey('N', kModWin, hkfOpenFile, u"C:\\a.exe", u"-x", u"MAXIMIZED");
    EXPECT_TRUE(h.Active);
    EXPECT_EQ(h.Key, 'N');
    EXPECT_EQ(h.Shift, kModWin);
    EXPECT_EQ(h.Func, hkfOpenFile);
    EXPECT_EQ(h.Params, u"C:\\a.exe");
    EXPECT_EQ(h.Params2, u"-x");
    EXPECT_EQ(h.Params3, u"MAXIMIZED");
    EXPECT_EQ(NewWizardHotkey('N', kModWin, hkfOpenFileAdmin, u"", u"", u"MINIMIZED").Params3, u"MINIMIZED");
    EXPECT_EQ(NewWizardHotkey('N', kModWin, hkfOpenFileAdmin, u"", u"", u"maximized\r\n").Params3, u"")
        << "only a stored name";
    EXPECT_EQ(WindowStateName(hkfOpenFile, 0), u"NORMAL");
    EXPECT_EQ(WindowStateName(hkfOpenFile, 1), u"MAXIMIZED");
    EXPECT_EQ(WindowStateName(hkfOpenFile, 2), u"MINIMIZED");
    EXPECT_EQ(WindowStateName(hkfOpenFile, -1), u"") << "nothing selected";
    EXPECT_EQ(WindowStateName(hkfOpenFile, 3), u"");

    // A parameter typed for "Open file" and left behind by switching to "Close active window" is not saved.
    h = NewWizardHotkey('P', kModAlt, hkfClose, u"C:\\a.exe", u"-x", u"MAXIMIZED");
    EXPECT_EQ(h.Params, u"");
    EXPECT_EQ(h.Params2, u"");
    EXPECT_EQ(h.Params3, u"");
    h = NewWizardHotkey('P', kModAlt, hkfOpenWebsite, u"https://example.org/", u"-x", u"MAXIMIZED");
    EXPECT_EQ(h.Params, u"https://example.org/");
    EXPECT_EQ(h.Params2, u"");
    EXPECT_EQ(h.Params3, u"");
}

TEST_F(AddHotkeyRules, PastedLineBreaksCannotBreakTheHotkeyFile) {
    EXPECT_EQ(OneLineParameter(u"a\r\nb\rc\nd\te"), u"a<?CR?><?LF?>b<?CR?>c<?LF?>d\te");
    EXPECT_EQ(OneLineParameter(u"plain <?CR?>"), u"plain <?CR?>");

    const std::u16string injected = u"x\r\n[key9]\r\nactive=1\r\nfunc=exitwindows\r\n";
    const THotKeyData h = NewWizardHotkey('K', kModCtrl, hkfOpenFile, injected, u"1\n2", u"NORMAL");
    EXPECT_EQ(h.Params.find_first_of(u"\r\n"), std::u16string::npos);
    EXPECT_EQ(h.Params2, u"1<?LF?>2");
    AppendAndSaveHotkey(hotkeys, h, kFile);

    THotkeyList reread(system);
    reread.LoadFromFile(kFile, false);
    ASSERT_EQ(reread.Count(), 1) << "no section smuggled in";
    const THotKeyData& r = reread.GetItem(0)->HotKeyData;
    EXPECT_EQ(r.Func, hkfOpenFile);
    EXPECT_EQ(r.Params, h.Params);
    EXPECT_EQ(r.Params2, u"1<?LF?>2");
    EXPECT_EQ(r.Params3, u"NORMAL");
}

TEST_F(AddHotkeyRules, AppendKeepsEveryEarlierHotkeyAndWritesTheWholeList) {
    hotkeys.Add(true, 'A', kModCtrl, hkfClose, u"", u"", u"");
    hotkeys.Add(false, 'B', kModAlt, hkfSendKeys, u"hi<?CR?><?LF?>", u"", u"");
    hotkeys.SaveToFile(kFile);
    THotkeyList wizard(system);
    wizard.LoadFromFile(kFile, false);

    AppendAndSaveHotkey(wizard, NewWizardHotkey('B', kModAlt, hkfMaximize, u"", u"", u""), kFile);
    THotkeyList reread(system);
    reread.LoadFromFile(kFile, false);
    ASSERT_EQ(reread.Count(), 3);
    EXPECT_TRUE(reread.GetItem(0)->HotKeyData.Active);
    EXPECT_FALSE(reread.GetItem(1)->HotKeyData.Active);
    EXPECT_EQ(reread.GetItem(1)->HotKeyData.Params, u"hi<?CR?><?LF?>");
    const THotKeyData& added = reread.GetItem(2)->HotKeyData;
    EXPECT_TRUE(added.Active);
    EXPECT_EQ(added.Key, 'B');
    EXPECT_EQ(added.Shift, kModAlt);
    EXPECT_EQ(added.Func, hkfMaximize);
    EXPECT_EQ(registrar.RegisteredCount(), 0u) << "the wizard's list is never registered";

    // Without a file the list starts empty and Finish makes the file with the new hotkey alone.
    THotkeyList fresh(system);
    fresh.LoadFromFile(u"C:\\Data\\none.ini", false);
    AppendAndSaveHotkey(fresh, NewWizardHotkey('Z', kModShift, hkfCaptureWindow, u"", u"", u""), u"C:\\Data\\new.ini");
    EXPECT_EQ(files.files[u"C:\\Data\\new.ini"],
              fw::EncodeUtf16LE(u"[key0]\r\nactive=1\r\nkey=90\r\nshift=4\r\nfunc=capturewindow\r\n"
                                u"params=\r\nparams2=\r\nparams3=\r\n\r\n",
                                true));
}

TEST_F(AddHotkeyRules, FailedWriteLeavesTheListAsItWas) {
    hotkeys.Add(true, 'A', kModCtrl, hkfClose, u"", u"", u"");
    files.unwritable.insert(kFile);
    const THotKeyData h = NewWizardHotkey('B', kModCtrl, hkfMaximize, u"", u"", u"");
    EXPECT_THROW(AppendAndSaveHotkey(hotkeys, h, kFile), fw::Error);
    ASSERT_EQ(hotkeys.Count(), 1);
    EXPECT_EQ(
        ValidateWizardPage(TWizardPage::All, {.key = 'B', .shift = kModCtrl, .actionSelected = true}, hotkeys, live),
        u"")
        << "a second Finish is not refused by the hotkey that was never saved";
    files.unwritable.clear();
    AppendAndSaveHotkey(hotkeys, h, kFile);
    EXPECT_EQ(hotkeys.Count(), 2);
}
