// The popup from the keyboard: its Tab stops, the marked row's moves and view, a row's name.
#include <gtest/gtest.h>

#include <tuple>

#include "ui/MainFormRules.h"

using namespace corvalend;

TEST(PopupKeyboard, TabGoesRoundTheStopsAndPassesOverMissingRows) {
    using enum PopupStop;
    const PopupStop order[] = {Rows, Close, ManageHotkeys, CheckForUpdates, Rows};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(NextPopupStop(order[i], false, 3), order[i + 1]) << i;
        EXPECT_EQ(NextPopupStop(order[i + 1], true, 3), order[i]) << i;
    }
    EXPECT_EQ(NextPopupStop(CheckForUpdates, false, 0), Close);
}

TEST(PopupKeyboard, TheRowMovesWithinTheRowsByAPageOfWholeRowsTheViewFollowsAndItReadsAsShown) {
    const PopupGrid grid = PopupGridLayout({.HotkeyCount = 2, .RoomWidth = 2000, .RoomHeight = 2000});
    const int pitch = HotkeyLabelBounds(grid, 2, 0).top - HotkeyLabelBounds(grid, 1, 0).top;
    const int view = 3 * pitch + pitch / 2;  // three rows whole
    const std::tuple<int, RowKey, int> cases[] = {
        {0, RowKey::Up, 0},       {0, RowKey::Down, 1},   {9, RowKey::Down, 9},
        {5, RowKey::Home, 0},     {5, RowKey::End, 9},    {0, RowKey::PageDown, 3},
        {8, RowKey::PageDown, 9}, {5, RowKey::PageUp, 2}, {2, RowKey::PageUp, 0}};
    for (const auto& [row, key, expected] : cases) EXPECT_EQ(MoveHotkeyRow(row, key, 10, view), expected) << row;
    EXPECT_EQ(MoveHotkeyRow(4, RowKey::PageDown, 10, pitch / 2), 5);
    EXPECT_EQ(ViewTopShowingRow(1, 0, 3 * pitch), 0);
    EXPECT_EQ(ViewTopShowingRow(3, 0, 3 * pitch), pitch);
    EXPECT_EQ(ViewTopShowingRow(2, 5 * pitch, 3 * pitch), 2 * pitch);
    EXPECT_EQ(HotkeyRowName({.Hotkey = u"ALT + A (in use)", .Action = u"Run", .Parameters = u"notepad.exe"}),
              u"ALT + A (in use), Run, notepad.exe");
}
