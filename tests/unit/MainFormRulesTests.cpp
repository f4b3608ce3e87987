// The overview popup's grid geometry, height, placement beside the taskbar and row texts.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

#include "ui/MainFormRules.h"

using namespace corvalend;

namespace {

const fw::Rect kScreen{0, 0, 1920, 1080};

fw::Point Place(unsigned edge, fw::Rect taskbar, int height, fw::Point current = {11, 22}) {
    return PopupPosition(edge, taskbar, kScreen, kPopupWidth, height, kPopupGap, current);
}

// A grid of `count` hotkeys whose widest texts are `widest`, on a 1280 x 800 screen by default.
PopupMeasures Measures(int count,
                       std::array<int, 3> widest,
                       unsigned dpi = 96,
                       int roomWidth = 1280 - 6,
                       int roomHeight = 800 - 6) {
    return {.HotkeyCount = count,
            .WidestText = widest,
            .RoomWidth = roomWidth,
            .RoomHeight = roomHeight,
            .ScrollBarWidth = fw::ScaleForDpi(17, dpi),
            .Dpi = dpi};
}

// A hotkey cell in the popup's client area.
fw::Bounds InPopup(const PopupGrid& grid, int row, int column) {
    const fw::Bounds cell = HotkeyLabelBounds(grid, row, column);
    return {grid.Rows.left + cell.left, grid.Rows.top + cell.top, cell.width, cell.height};
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

TEST(MainFormRules, ShortTextsKeepTheDesignedGrid) {
    const PopupGrid grid = PopupGridLayout(Measures(3, {60, 110, 40}));
    EXPECT_EQ(grid.ClientWidth, kPopupWidth);
    EXPECT_EQ(grid.ClientHeight, 116);
    EXPECT_FALSE(grid.Scrolls);
    // The header at the top; three hotkeys at 25, 46 and 67 on a 130-pixel pitch, 120 wide, the
    // parameters reaching 16 pixels short of the right edge.
    for (int c = 0; c < 3; ++c) EXPECT_EQ(HotkeyLabelBounds(grid, 0, c).top, 8) << c;
    const int tops[] = {25, 46, 67};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(InPopup(grid, i + 1, 0), (fw::Bounds{8, tops[i], 120, 13}));
        EXPECT_EQ(InPopup(grid, i + 1, 1), (fw::Bounds{138, tops[i], 120, 13}));
        EXPECT_EQ(InPopup(grid, i + 1, 2), (fw::Bounds{268, tops[i], 295, 13}));
    }
    // The rows' box holds them all, inside the frame, above the links 21 pixels from the bottom.
    EXPECT_EQ(grid.RowsHeight, 63);
    EXPECT_EQ(grid.Rows.height, 63);
    EXPECT_GE(grid.Rows.left, 1);
    EXPECT_LE(grid.Rows.left + grid.Rows.width, kPopupWidth - 1);
    EXPECT_LE(grid.Rows.top + grid.Rows.height, 116 - 21);
}

TEST(MainFormRules, HeightFollowsTheNumberOfHotkeys) {
    EXPECT_EQ(PopupClientHeight(0), 57);  // the header row alone
    EXPECT_EQ(PopupGridLayout(Measures(0, {})).ClientHeight, 57);
    for (int n = 1; n <= 40; ++n) EXPECT_EQ(PopupClientHeight(n), 21 * n + 53) << n;
}

TEST(MainFormRules, EachColumnIsAsWideAsItsWidestText) {
    struct Case {
        const char* name;
        unsigned dpi;
        std::array<int, 3> widest;  // device pixels
        int clientWidth;            // at 96 DPI
    };
    const Case cases[] = {
        // "ALT + CTRL + SHIFT + F10": 152 pixels in a column designed 120 wide.
        {"long combination", 96, {152, 100, 50}, kPopupWidth + 32},
        {"long action and parameters", 96, {100, 160, 400}, 8 + 120 + 10 + 160 + 10 + 400 + 16},
        // Rounded up at 96 DPI, so that the scaled column is never a pixel short.
        {"150 %", 144, {229, 100, 100}, kPopupWidth + 33},
        {"175 %", 168, {216, 100, 100}, kPopupWidth + 4},  // 123.4 at 96 DPI: 123 would scale to 215
        // Wider than the screen: the popup takes the room's width and the parameters give way.
        {"parameters beyond the screen", 96, {100, 100, 5000}, 1274},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PopupGrid grid = PopupGridLayout(Measures(2, c.widest, c.dpi));
        EXPECT_EQ(grid.ClientWidth, c.clientWidth);
        EXPECT_LE(fw::ScaleForDpi(grid.ClientWidth, c.dpi), 1274);
        for (int column = 0; column < 3; ++column) {
            const fw::Bounds header = HotkeyLabelBounds(grid, 0, column);
            const fw::Bounds cell = InPopup(grid, 1, column);
            EXPECT_EQ(cell.left, header.left);
            EXPECT_GE(cell.width, column < 2 ? 120 : 295) << "never narrower than designed";
            if (column < 2 || c.widest[2] < 1000) {
                EXPECT_GE(fw::ScaleForDpi(cell.width, c.dpi), c.widest[static_cast<size_t>(column)]) << column;
            }
            if (column < 2) EXPECT_GE(HotkeyLabelBounds(grid, 0, column + 1).left, cell.left + cell.width + 10);
        }
        EXPECT_EQ(InPopup(grid, 1, 2).left + InPopup(grid, 1, 2).width, grid.ClientWidth - 16);
    }
}

TEST(MainFormRules, RowsHigherThanTheScreenScrollBetweenHeaderAndLinks) {
    // 364 hotkeys want 7,697 pixels; a 1280 x 800 screen has 794 less the gaps.
    PopupGrid grid = PopupGridLayout(Measures(364, {100, 100, 100}));
    EXPECT_TRUE(grid.Scrolls);
    EXPECT_EQ(grid.ClientHeight, 794);
    EXPECT_EQ(grid.RowsHeight, 364 * 21);
    EXPECT_GE(grid.Rows.top, 8 + 20) << "below the header and the X";
    EXPECT_LE(grid.Rows.top + grid.Rows.height, 794 - 21) << "above the links";
    EXPECT_GE(grid.Rows.top + grid.Rows.height, 794 - 28) << "no room wasted";
    // The scroll bar takes its room beside the parameters, which keep their width.
    EXPECT_EQ(grid.ClientWidth, kPopupWidth + 17);
    EXPECT_EQ(grid.ColumnWidth[2], 295);
    EXPECT_EQ(InPopup(grid, 364, 0).top, grid.Rows.top + 363 * 21) << "in the scrolled area";

    // Exactly the room's height still fits; a pixel less scrolls.
    EXPECT_FALSE(PopupGridLayout(Measures(30, {}, 96, 1274, 21 * 30 + 53)).Scrolls);
    EXPECT_TRUE(PopupGridLayout(Measures(30, {}, 96, 1274, 21 * 30 + 52)).Scrolls);

    // At 150 %: the room rounded down, so the scaled popup is no higher than the screen.
    grid = PopupGridLayout(Measures(364, {}, 144, 1914, 1075));
    EXPECT_TRUE(grid.Scrolls);
    EXPECT_LE(fw::ScaleForDpi(grid.ClientHeight, 144), 1075);
    EXPECT_GE(fw::ScaleForDpi(grid.ClientHeight, 144), 1073);
}

TEST(MainFormRules, ABandOfLabelRowsCoversTheViewAndMovesAboutOnceAScreen) {
    EXPECT_EQ(HotkeyBandRows(63, 3), 3) << "rows that all fit have a window each";
    EXPECT_EQ(HotkeyBandRows(0, 0), 0);
    // 1,000 rows in a box of 697 pixels.
    const int count = 1000;
    const int box = 697;
    const int bandRows = HotkeyBandRows(box, count);
    const int inView = box / 21 + 2;
    EXPECT_GE(bandRows, inView);
    EXPECT_LE(bandRows, 3 * inView);
    int first = -1;
    int moves = 0;
    const auto view = [&](int top) {
        const int now = HotkeyBandFirst(first, bandRows, count, top, box);
        moves += now != first;
        first = now;
        ASSERT_GE(first, 0) << top;
        ASSERT_LE(first + bandRows, count) << top;
        ASSERT_LE(first * 21, top) << "the rows at the top of the view";
        ASSERT_GE((first + bandRows) * 21, top + box) << "the rows at the bottom of the view";
    };
    const int end = count * 21 - box;
    for (int top = 0; top <= end; ++top) view(top);
    EXPECT_LE(moves, end / box + 2) << "down a pixel at a time";
    moves = 0;
    for (int top = end; top >= 0; --top) view(top);
    EXPECT_LE(moves, end / box + 2) << "up a pixel at a time";
    for (const int top : {500 * 21 + 5, 10, end, 0, end / 2, end / 2 - box / 2}) view(top);
}

TEST(MainFormRules, AScrollingPopupStaysOnTheScreenBesideEveryTaskbarEdge) {
    struct Case {
        unsigned edge;
        fw::Rect taskbar;
        fw::Rect work;
    };
    const Case cases[] = {
        {tbeBottom, {0, 1040, 1920, 1080}, {0, 0, 1920, 1040}},
        {tbeTop, {0, 0, 1920, 40}, {0, 40, 1920, 1080}},
        {tbeRight, {1858, 0, 1920, 1080}, {0, 0, 1858, 1080}},
        {tbeLeft, {0, 0, 62, 1080}, {62, 0, 1920, 1080}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.edge);
        const int roomWidth = c.work.Width() - 2 * kPopupGap;
        const int roomHeight = c.work.Height() - 2 * kPopupGap;
        const PopupGrid grid = PopupGridLayout(Measures(364, {100, 100, 9000}, 96, roomWidth, roomHeight));
        const fw::Point p =
            PopupPosition(c.edge, c.taskbar, c.work, grid.ClientWidth, grid.ClientHeight, kPopupGap, {});
        EXPECT_GE(p.x, 0);
        EXPECT_GE(p.y, 0);
        EXPECT_LE(p.x + grid.ClientWidth, kScreen.right);
        EXPECT_LE(p.y + grid.ClientHeight, kScreen.bottom);
        // Beside a taskbar at the bottom or the right the popup is wholly in the work area.
        if (c.edge == tbeBottom || c.edge == tbeRight) {
            EXPECT_GE(p.x, c.work.left);
            EXPECT_GE(p.y, c.work.top);
            EXPECT_LE(p.x + grid.ClientWidth, c.work.right);
            EXPECT_LE(p.y + grid.ClientHeight, c.work.bottom);
        }
    }
}

TEST(MainFormRules, PlacementBesideEachTaskbarEdge) {
    // Bottom, 40 pixels high, two hotkeys.
    EXPECT_EQ(Place(tbeBottom, {0, 1040, 1920, 1080}, 95), (fw::Point{1338, 942}));
    // Right, no hotkeys.
    EXPECT_EQ(Place(tbeRight, {1858, 0, 1920, 1080}, 57), (fw::Point{1276, 1020}));
    // Left: 3 pixels from the screen's left edge, on the taskbar, level with its bottom.
    EXPECT_EQ(Place(tbeLeft, {0, 0, 62, 1080}, 57), (fw::Point{3, 1020}));
    // Top: on the taskbar, ending 3 pixels inside its right end so that it is wholly on the screen.
    const fw::Point top = Place(tbeTop, {0, 0, 1920, 40}, 95);
    EXPECT_EQ(top, (fw::Point{1338, 3}));
    EXPECT_LE(top.x + kPopupWidth, 1920);
}

TEST(MainFormRules, PlacementWithoutAKnownTaskbar) {
    // An edge the shell does not define keeps the popup where it was.
    EXPECT_EQ(Place(4, {0, 1040, 1920, 1080}, 95), (fw::Point{11, 22}));
    EXPECT_EQ(Place(0xFFFFFFFFu, {0, 1040, 1920, 1080}, 95), (fw::Point{11, 22}));
    // A failed query gives edge 0 and an empty rectangle: the bottom-right corner of the work area,
    // not above the screen's top.
    const fw::Rect work{0, 0, 1920, 1040};
    EXPECT_EQ(PopupPosition(tbeLeft, {}, work, kPopupWidth, 95, kPopupGap, {}), (fw::Point{1338, 942}));
}

TEST(MainFormRules, PlacementScalesWithTheGap) {
    // At 144 DPI: 869 x 143 device pixels (2 hotkeys), gap 5 (3 scaled, rounded).
    const int gap = fw::ScaleForDpi(kPopupGap, 144);
    EXPECT_EQ(gap, 5);
    EXPECT_EQ(PopupPosition(tbeBottom, {0, 1020, 2880, 1080}, kScreen, fw::ScaleForDpi(kPopupWidth, 144),
                            fw::ScaleForDpi(PopupClientHeight(2), 144), gap, {}),
              (fw::Point{2880 - 869 - 5, 1020 - 143 - 5}));
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
