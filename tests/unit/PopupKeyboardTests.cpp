// The popup opened from the keyboard: the order of its Tab stops, the moves of its marked row and
// the view that follows it, and what a screen reader reads for a row.
#include <gtest/gtest.h>

#include "ui/MainFormRules.h"

using namespace corvalend;

namespace {

// The row pitch as the popup shows it: the distance from the first row's top to the second's.
int RowPitch() {
    const PopupGrid grid = PopupGridLayout({.HotkeyCount = 2, .RoomWidth = 2000, .RoomHeight = 2000});
    return HotkeyLabelBounds(grid, 2, 0).top - HotkeyLabelBounds(grid, 1, 0).top;
}

}  // namespace

TEST(PopupKeyboard, TabGoesRoundTheStopsAndPassesOverMissingRows) {
    using enum PopupStop;
    const PopupStop order[] = {Rows, Close, ManageHotkeys, CheckForUpdates, Rows};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(NextPopupStop(order[i], false, 3), order[i + 1]) << i;
        EXPECT_EQ(NextPopupStop(order[i + 1], true, 3), order[i]) << i;
    }
    EXPECT_EQ(NextPopupStop(CheckForUpdates, false, 0), Close);
    EXPECT_EQ(NextPopupStop(Close, true, 0), CheckForUpdates);
}

TEST(PopupKeyboard, KeysMoveTheRowWithinTheRowsAndAPageIsTheWholeRowsInView) {
    const int pitch = RowPitch();
    struct Case {
        int row;
        RowKey key;
        int expected;
    };
    const Case cases[] = {
        {0, RowKey::Up, 0},       {0, RowKey::Down, 1},   {9, RowKey::Down, 9},
        {5, RowKey::Home, 0},     {5, RowKey::End, 9},    {0, RowKey::PageDown, 3},
        {8, RowKey::PageDown, 9}, {5, RowKey::PageUp, 2}, {2, RowKey::PageUp, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MoveHotkeyRow(c.row, c.key, 10, 3 * pitch + pitch / 2), c.expected)
            << c.row << " key " << static_cast<int>(c.key);
    }
    EXPECT_EQ(MoveHotkeyRow(4, RowKey::PageDown, 10, pitch / 2), 5);  // a page is at least a row
    EXPECT_EQ(MoveHotkeyRow(0, RowKey::End, 0, 100), 0);
}

TEST(PopupKeyboard, TheViewMovesOnlyAsFarAsTheMarkedRowNeeds) {
    const int pitch = RowPitch();
    const int view = 3 * pitch;
    EXPECT_EQ(ViewTopShowingRow(1, 0, view), 0);                  // in view
    EXPECT_EQ(ViewTopShowingRow(3, 0, view), pitch);              // below: it ends the view
    EXPECT_EQ(ViewTopShowingRow(2, 5 * pitch, view), 2 * pitch);  // above: it starts it
}

TEST(PopupKeyboard, ARowReadsItsTextsInReadingOrderWithTheMarkAsShown) {
    EXPECT_EQ(HotkeyRowName({.Hotkey = u"ALT + CTRL + SHIFT + F10", .Action = u"Minimize active window"}),
              u"ALT + CTRL + SHIFT + F10, Minimize active window");
    EXPECT_EQ(HotkeyRowName({.Hotkey = u"ALT + A (in use)", .Action = u"Run", .Parameters = u"notepad.exe"}),
              u"ALT + A (in use), Run, notepad.exe");
}
