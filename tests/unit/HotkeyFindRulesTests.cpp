// The Find box's rule: a row is found by what its frame shows, in any letter case.
#include <gtest/gtest.h>

#include "framework/Text.h"
#include "tests/support/MemoryFileStore.h"
#include "ui/HotkeyFindRules.h"

using namespace corvalend;

TEST(HotkeyFindRules, FindsTheRowsWhoseFrameShowsTheTextInAnyCaseNamingEachKeyOnce) {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    THotkeyList list{system};
    list.Add(true, 'B', kModCtrl, hkfMaximize, u"hidden", u"", u"");
    list.Add(true, 'B', kModAlt, hkfPlaceInClipboard, u"Grüße", u"", u"");
    list.Add(true, 'E', kModWin, hkfOpenFile, u"c:\\notes.txt", u"-x", u"");
    list.Add(true, 'Q', kModShift, hkfOpenWebsite, u"example.org", u"hidden", u"");
    std::u16string asked;
    const std::vector<std::u16string> rows = HotkeyFindTexts(list, [&](uint16_t key) {
        asked += static_cast<char16_t>(key);
        return u"Key" + std::u16string(1, static_cast<char16_t>(key));
    });
    EXPECT_EQ(asked, u"BEQ");
    // Parameters an action hides are never found, and a find never runs from one part into the next.
    const std::pair<std::u16string, std::vector<int>> cases[] = {
        {u"", {0, 1, 2, 3}}, {u"ctrl + keyb", {0}}, {u"clipboard", {1}}, {u"GRÜßE", {1}},
        {u"-X", {2}},        {u"hidden", {}},       {u"B Maximize", {}}, {u"open", {2, 3}}};
    for (const auto& [find, found] : cases) EXPECT_EQ(FindRows(rows, find), found) << fw::Utf16ToUtf8(find);
    EXPECT_EQ(FoundCountText(1, 364), u"1 of 364 hotkeys");
}
