// The overview popup's columns, label bounds, height, placement and row texts, computed without windows.
#include "ui/MainFormRules.h"

#include <algorithm>
#include <cstdint>

#include "core/CaptureDelayRules.h"
#include "core/WindowsCombinations.h"

namespace corvalend {

namespace {

constexpr int kMargin = 8;
constexpr int kLabelHeight = 13;
constexpr int kCellWidth = 120;  // the hotkey and the action as designed, on a 130 pitch
constexpr int kColumnGap = 10;
constexpr int kParametersRightMargin = 16;  // the parameters column ends this far before the right edge
constexpr int kDesignedWidth[3] = {kCellWidth, kCellWidth,
                                   kPopupWidth - (kMargin + 2 * (kCellWidth + kColumnGap)) - kParametersRightMargin};
constexpr int kRowPitch = kLabelHeight + 8;
constexpr int kFirstRowTop = 25;  // the header row is a little closer to the first hotkey than rows to each other
constexpr int kLinksBand = 28;    // below the last row: the two links
constexpr int kCloseBoxClearance = 31 + 4;  // the "X" (31 from the right edge to its left) and a gap
constexpr int kFrame = 1;                   // the dark line around the popup, which the rows' box keeps clear of
// Below the "X" (8 + 20): scrolling rows start here, so the scroll bar is whole.
constexpr int kScrollingRowsTop = 29;

// Device pixels at `dpi` in pixels at 96 DPI: rounded up for a text, so that scaled again it still
// fits; rounded down for room, so that scaled again it is no more than there is.
int TextAt96(int pixels, unsigned dpi) {
    if (dpi == 0 || pixels <= 0) return std::max(pixels, 0);
    return static_cast<int>((static_cast<int64_t>(pixels) * 96 + dpi - 1) / dpi);
}
int RoomAt96(int pixels, unsigned dpi) {
    if (dpi == 0 || pixels <= 0) return std::max(pixels, 0);
    return static_cast<int>(static_cast<int64_t>(pixels) * 96 / dpi);
}

}  // namespace

int PopupClientHeight(int hotkeyCount) {
    if (hotkeyCount <= 0) return kMargin + kLabelHeight + 8 + kLinksBand;  // the header row alone
    return kFirstRowTop + hotkeyCount * kRowPitch + kLinksBand;
}

PopupGrid PopupGridLayout(const PopupMeasures& measures) {
    PopupGrid grid;
    const int count = std::max(measures.HotkeyCount, 0);
    const int roomWidth = RoomAt96(measures.RoomWidth, measures.Dpi);
    const int roomHeight = RoomAt96(measures.RoomHeight, measures.Dpi);
    const int scrollBar = TextAt96(measures.ScrollBarWidth, measures.Dpi);

    grid.RowsHeight = count * kRowPitch;
    const int notice = measures.Paused ? kRowPitch : 0;
    const int height = PopupClientHeight(count) + notice;
    grid.Scrolls = height > roomHeight;
    grid.ClientHeight = std::min(height, roomHeight);
    const int noticeTop = grid.Scrolls ? kScrollingRowsTop : kFirstRowTop;
    const int rowsTop = noticeTop + notice;

    int left = kMargin;
    for (size_t c = 0; c < 3; ++c) {
        grid.ColumnLeft[c] = left;
        grid.ColumnWidth[c] = std::max(kDesignedWidth[c], TextAt96(measures.WidestText[c], measures.Dpi));
        left += grid.ColumnWidth[c] + kColumnGap;
    }
    const int rightMargin = kParametersRightMargin + (grid.Scrolls ? scrollBar : 0);
    const int wanted = grid.ColumnLeft[2] + grid.ColumnWidth[2] + rightMargin;
    grid.ClientWidth = std::min(wanted, roomWidth);
    // Too wide for the screen: the parameters end where the popup does.
    grid.ColumnWidth[2] = std::max(0, grid.ClientWidth - grid.ColumnLeft[2] - rightMargin);

    grid.Rows = {kFrame, rowsTop, std::max(0, grid.ClientWidth - 2 * kFrame),
                 grid.Scrolls ? std::max(0, grid.ClientHeight - rowsTop - kLinksBand) : grid.RowsHeight};
    if (measures.Paused) grid.Notice = {kMargin, noticeTop, std::max(0, grid.ClientWidth - 2 * kMargin), kLabelHeight};
    return grid;
}

fw::Bounds HotkeyLabelBounds(const PopupGrid& grid, int row, int column) {
    const auto c = static_cast<size_t>(column);
    if (row == 0) {
        // The header's parameters end before the "X" in the top-right corner.
        const int width =
            c == 2 ? std::min(grid.ColumnWidth[c], grid.ClientWidth - kCloseBoxClearance - grid.ColumnLeft[c])
                   : grid.ColumnWidth[c];
        return {grid.ColumnLeft[c], kMargin, std::max(width, 0), kLabelHeight};
    }
    return {grid.ColumnLeft[c] - grid.Rows.left, (row - 1) * kRowPitch, grid.ColumnWidth[c], kLabelHeight};
}

int HotkeyBandRows(int boxHeight, int rowCount) {
    // A row partly in view at the top and one at the bottom, and the ones between.
    const int inView = std::max(boxHeight, 0) / kRowPitch + 2;
    return std::clamp(2 * inView, 0, std::max(rowCount, 0));
}

HotkeyRowSpan HotkeyRowsInView(int rowCount, int viewTop, int viewHeight) {
    const int top = std::max(viewTop, 0);
    return {top / kRowPitch, std::min((top + std::max(viewHeight, 0)) / kRowPitch, rowCount - 1)};
}

int HotkeyBandFirst(int current, int bandRows, int rowCount, int viewTop, int viewHeight) {
    const HotkeyRowSpan view = HotkeyRowsInView(rowCount, viewTop, viewHeight);
    if (current >= 0 && view.First >= current && view.Last < current + bandRows) return current;
    const int first = current < 0 || view.First >= current ? view.First : view.Last - bandRows + 1;
    return std::clamp(first, 0, std::max(rowCount - bandRows, 0));
}

fw::Bounds HotkeyBandBounds(const PopupGrid& grid, int first, int bandRows) {
    return {0, first * kRowPitch, grid.Rows.width, bandRows * kRowPitch};
}

fw::Point PopupPosition(unsigned edge,
                        const fw::Rect& taskbar,
                        const fw::Rect& workArea,
                        int width,
                        int height,
                        int gap,
                        fw::Point current) {
    if (taskbar.IsEmpty()) return {workArea.right - width - gap, workArea.bottom - height - gap};
    switch (edge) {
        case tbeLeft:
            return {gap, taskbar.bottom - height - gap};
        case tbeTop:
            return {taskbar.right - width - gap, taskbar.top + gap};
        case tbeRight:
            return {taskbar.left - width - gap, taskbar.bottom - height - gap};
        case tbeBottom:
            return {taskbar.right - width - gap, taskbar.top - height - gap};
        default:
            return current;
    }
}

HotkeyRowTexts HotkeyRow(const THotKeyData& hotkey, std::u16string hotkeyText, bool refused) {
    HotkeyRowTexts row;
    row.Hotkey = std::move(hotkeyText);
    if (refused) row.Hotkey += RefusedMark(hotkey.Key, hotkey.Shift, kInUseSuffix);
    row.Greyed = refused;
    row.Action = HotKeyFuncToCaption(hotkey.Func);
    // Shown as stored: placeholders stay, and the window state is never shown. A capture's delay
    // reads as one ("Delay 5 s"), and a parameter it does not use not at all.
    row.Parameters = TakesDelay(hotkey.Func) ? DelayText(hotkey.Params) : hotkey.Params;
    if (!hotkey.Params2.empty() && HotKeyFuncHasParams2(hotkey.Func)) row.Parameters += u", " + hotkey.Params2;
    return row;
}

std::u16string HotkeyRowName(const HotkeyRowTexts& row) {
    std::u16string name = row.Hotkey + u", " + row.Action;
    if (!row.Parameters.empty()) name += u", " + row.Parameters;
    return name;
}

PopupStop NextPopupStop(PopupStop current, bool back, int rowCount) {
    constexpr int kStops = 4;
    int stop = static_cast<int>(current);
    do {
        stop = (stop + (back ? kStops - 1 : 1)) % kStops;
    } while (stop == static_cast<int>(PopupStop::Rows) && rowCount <= 0);
    return static_cast<PopupStop>(stop);
}

int MoveHotkeyRow(int row, RowKey key, int rowCount, int viewHeight) {
    if (rowCount <= 0) return 0;
    const int page = std::max(std::max(viewHeight, 0) / kRowPitch, 1);
    int moved = row;
    switch (key) {
        case RowKey::Up:
            moved = row - 1;
            break;
        case RowKey::Down:
            moved = row + 1;
            break;
        case RowKey::Home:
            moved = 0;
            break;
        case RowKey::End:
            moved = rowCount - 1;
            break;
        case RowKey::PageUp:
            moved = row - page;
            break;
        case RowKey::PageDown:
            moved = row + page;
            break;
    }
    return std::clamp(moved, 0, rowCount - 1);
}

int ViewTopShowingRow(int row, int viewTop, int viewHeight) {
    const int top = row * kRowPitch;
    if (top < viewTop) return top;
    if (top + kRowPitch > viewTop + viewHeight) return std::max(top + kRowPitch - viewHeight, 0);
    return viewTop;
}

}  // namespace corvalend
