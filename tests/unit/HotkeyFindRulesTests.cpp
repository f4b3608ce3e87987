// The Find box's rule: a row is found by what its frame shows, in any letter case.
#include <gtest/gtest.h>

#include "framework/Text.h"
#include "ui/HotkeyFindRules.h"

using namespace corvalend;

TEST(HotkeyFindRules, FindsTheRowsWhoseFrameShowsTheTextInAnyCase) {
    const std::vector<std::u16string> rows = {
        HotkeyFindText(u"CTRL + B", {.Func = hkfMaximize, .Params = u"hidden"}),
        HotkeyFindText(u"ALT + F5", {.Func = hkfPlaceInClipboard, .Params = u"Grüße"}),
        HotkeyFindText(u"WIN + E", {.Func = hkfOpenFile, .Params = u"c:\\notes.txt", .Params2 = u"-x"}),
        HotkeyFindText(u"SHIFT + Q", {.Func = hkfOpenWebsite, .Params = u"example.org", .Params2 = u"hidden"})};
    // Parameters an action hides are never found, and a find never runs from one part into the next.
    const std::pair<std::u16string, std::vector<int>> cases[] = {
        {u"", {0, 1, 2, 3}}, {u"ctrl + b", {0}}, {u"clipboard", {1}}, {u"GRÜßE", {1}},
        {u"-X", {2}},        {u"hidden", {}},    {u"B Maximize", {}}, {u"open", {2, 3}}};
    for (const auto& [find, found] : cases) EXPECT_EQ(FindRows(rows, find), found) << fw::Utf16ToUtf8(find);
    EXPECT_EQ(FoundCountText(1, 364), u"1 of 364 hotkeys");
}
