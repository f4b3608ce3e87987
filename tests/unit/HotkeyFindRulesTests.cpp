// The Find box's rule: a row is found by what its frame shows, in any letter case.
#include <gtest/gtest.h>

#include "framework/Text.h"
#include "ui/HotkeyFindRules.h"

using namespace corvalend;

namespace {

const std::vector<std::u16string> kRows = {
    HotkeyFindText(u"CTRL + B", {.Func = hkfMaximize, .Params = u"hidden, the action shows none"}),
    HotkeyFindText(u"ALT + F5", {.Func = hkfPlaceInClipboard, .Params = u"Grüße"}),
    HotkeyFindText(u"WIN + E", {.Func = hkfOpenFile, .Params = u"c:\\notes.txt", .Params2 = u"-x"}),
    HotkeyFindText(u"SHIFT + Q", {.Func = hkfOpenWebsite, .Params = u"example.org", .Params2 = u"-x hidden"}),
};

TEST(HotkeyFindRules, FindsTheRowsWhoseFrameShowsTheTextInAnyCase) {
    const struct {
        std::u16string find;
        std::vector<int> rows;
    } cases[] = {
        {u"", {0, 1, 2, 3}},    {u"ctrl + b", {0}},  // the hotkey's text
        {u"clipboard", {1}},                         // the action's caption
        {u"GRÜßE", {1}},                             // the parameters
        {u"-X", {2}},                                // the additional parameters where the action shows them
        {u"hidden", {}},                             // never what the action hides
        {u"B Maximize", {}},                         // a find stays within one part
        {u" + ", {0, 1, 2, 3}}, {u"open", {2, 3}},
    };
    for (const auto& c : cases) EXPECT_EQ(FindRows(kRows, c.find), c.rows) << fw::Utf16ToUtf8(c.find);
}

TEST(HotkeyFindRules, CountsTheRowsShownOfAll) {
    EXPECT_EQ(FoundCountText(1, 364), u"1 of 364 hotkeys");
    EXPECT_EQ(FoundCountText(0, 0), u"0 of 0 hotkeys");
}

}  // namespace
