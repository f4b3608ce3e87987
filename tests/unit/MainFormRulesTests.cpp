// The overview popup's grid geometry, height, placement beside the taskbar and row texts.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "ui/MainFormRules.h"

namespace {

const ScreenRect kScreen{0, 0, 1920, 1080};

ScreenPoint Place(unsigned edge, ScreenRect taskbar, int height, ScreenPoint current = {11, 22}) {
    return PopupPosition(edge, taskbar, kScreen, kPopupWidth, height, kPopupGap, current);
}

THotKeyData Hotkey(THotKeyFunc func, std::u16string params = {}, std::u16string params2 = {}) {
    THotKeyData d;
    d.Active = true;
    d.Key = 'K';
    d.Shift = kModCtrl;
    d.Func = func;
    d.Params = std::move(params);
    d.Params2 = std::move(params2);
    d.Params3 = u"MAXIMIZED";
    return d;
}

}  // namespace

TEST(MainFormRules, GridRowsAre21PixelsApartBelowTheHeader) {
    // The header: three 100-pixel labels on a 130-pixel pitch.
    EXPECT_EQ(HotkeyLabelBounds(0, 0, kPopupWidth), (fw::Bounds{8, 8, 100, 13}));
    EXPECT_EQ(HotkeyLabelBounds(0, 1, kPopupWidth), (fw::Bounds{138, 8, 100, 13}));
    EXPECT_EQ(HotkeyLabelBounds(0, 2, kPopupWidth), (fw::Bounds{268, 8, 100, 13}));
    // Three hotkeys at 25, 46 and 67; the parameters reach 16 pixels short of the right edge.
    const int tops[] = {25, 46, 67};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(HotkeyLabelBounds(i + 1, 0, kPopupWidth), (fw::Bounds{8, tops[i], 120, 13}));
        EXPECT_EQ(HotkeyLabelBounds(i + 1, 1, kPopupWidth), (fw::Bounds{138, tops[i], 120, 13}));
        EXPECT_EQ(HotkeyLabelBounds(i + 1, 2, kPopupWidth), (fw::Bounds{268, tops[i], 295, 13}));
    }
    EXPECT_EQ(HotkeyLabelBounds(1, 2, 600).width, 316);
}

TEST(MainFormRules, HeightFollowsTheNumberOfHotkeys) {
    EXPECT_EQ(PopupClientHeight(0), 57);  // the header row alone
    EXPECT_EQ(PopupClientHeight(1), 74);
    EXPECT_EQ(PopupClientHeight(2), 95);
    EXPECT_EQ(PopupClientHeight(3), 116);
    for (int n = 1; n <= 40; ++n) EXPECT_EQ(PopupClientHeight(n), 21 * n + 53) << n;
}

TEST(MainFormRules, PlacementBesideEachTaskbarEdge) {
    // Bottom, 40 pixels high, two hotkeys.
    EXPECT_EQ(Place(tbeBottom, {0, 1040, 1920, 1080}, 95), (ScreenPoint{1338, 942}));
    // Right, no hotkeys.
    EXPECT_EQ(Place(tbeRight, {1858, 0, 1920, 1080}, 57), (ScreenPoint{1276, 1020}));
    // Left: 3 pixels from the screen's left edge, on the taskbar, level with its bottom.
    EXPECT_EQ(Place(tbeLeft, {0, 0, 62, 1080}, 57), (ScreenPoint{3, 1020}));
    // Top: on the taskbar, ending 3 pixels inside its right end so that it is wholly on the screen.
    const ScreenPoint top = Place(tbeTop, {0, 0, 1920, 40}, 95);
    EXPECT_EQ(top, (ScreenPoint{1338, 3}));
    EXPECT_LE(top.x + kPopupWidth, 1920);
}

TEST(MainFormRules, PlacementWithoutAKnownTaskbar) {
    // An edge the shell does not define keeps the popup where it was.
    EXPECT_EQ(Place(4, {0, 1040, 1920, 1080}, 95), (ScreenPoint{11, 22}));
    EXPECT_EQ(Place(0xFFFFFFFFu, {0, 1040, 1920, 1080}, 95), (ScreenPoint{11, 22}));
    // A failed query gives edge 0 and an empty rectangle: the bottom-right corner of the work area,
    // not above the screen's top.
    const ScreenRect work{0, 0, 1920, 1040};
    EXPECT_EQ(PopupPosition(tbeLeft, {}, work, kPopupWidth, 95, kPopupGap, {}), (ScreenPoint{1338, 942}));
}

TEST(MainFormRules, PlacementScalesWithTheGap) {
    // At 144 DPI: 869 x 143 device pixels (2 hotkeys), gap 5 (3 scaled, rounded).
    const int gap = fw::ScaleForDpi(kPopupGap, 144);
    EXPECT_EQ(gap, 5);
    EXPECT_EQ(PopupPosition(tbeBottom, {0, 1020, 2880, 1080}, kScreen, fw::ScaleForDpi(kPopupWidth, 144),
                            fw::ScaleForDpi(PopupClientHeight(2), 144), gap, {}),
              (ScreenPoint{2880 - 869 - 5, 1020 - 143 - 5}));
}

TEST(MainFormRules, RowTexts) {
    THotKeyData openFile = Hotkey(hkfOpenFile, u"a.txt", u"-x");
    HotkeyRowTexts row = HotkeyRow(openFile, u"CTRL + K", /*refused=*/false);
    EXPECT_EQ(row.Hotkey, u"CTRL + K");
    EXPECT_EQ(row.Action, u"Open file");
    EXPECT_EQ(row.Parameters, u"a.txt, -x");  // the window state is never shown
    EXPECT_FALSE(row.Greyed);

    openFile.Func = hkfOpenFileAdmin;
    openFile.Params2.clear();
    EXPECT_EQ(HotkeyRow(openFile, u"x", false).Parameters, u"a.txt");

    // Params2 of an action that takes none is not shown; placeholders stay as stored.
    const THotKeyData keys = Hotkey(hkfSendKeys, u"a<?CR?>b", u"stale");
    row = HotkeyRow(keys, u"WIN + K", false);
    EXPECT_EQ(row.Action, u"Send keystrokes");
    EXPECT_EQ(row.Parameters, u"a<?CR?>b");

    // A combination the system refused: the text says so and is greyed; the rest is as always.
    row = HotkeyRow(keys, u"WIN + K", /*refused=*/true);
    EXPECT_EQ(row.Hotkey, u"WIN + K (in use)");
    EXPECT_TRUE(row.Greyed);
    EXPECT_EQ(row.Action, u"Send keystrokes");
    EXPECT_EQ(row.Parameters, u"a<?CR?>b");

    EXPECT_EQ(HotkeyRow(Hotkey(hkfMaximize), u"F1", false).Parameters, u"");
}
