// The overview popup's layout and texts, free of windows: how wide the grid's columns are and where
// each label goes, how large the popup is and whether its rows scroll, where it goes beside the
// taskbar, and what a row says. Lengths are pixels at 96 DPI unless a function says otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/Hotkeys.h"
#include "framework/FormLayout.h"

namespace corvalend {

inline constexpr int kPopupWidth = 579;   // as designed: the narrowest the popup gets while it fits on the screen
inline constexpr int kPopupHeight = 291;  // as designed; each opening sets its own
inline constexpr int kPopupGap = 3;       // between the popup and the taskbar or screen edge

// Opacity of the layered popup: when made, when shown or the pointer comes in, when it went out.
inline constexpr uint8_t kOpacityCreated = 200;
inline constexpr uint8_t kOpacityActive = 240;
inline constexpr uint8_t kOpacityIdle = 180;

inline constexpr uint32_t kHideFormInterval = 1000;  // ms

inline constexpr std::u16string_view kHotkeyHeaders[3] = {u"Hotkey", u"Action", u"Parameters"};
// Follows the hotkey text of a live hotkey whose combination the system gave to someone else
// (kUsedByWindowsMark instead when Windows keeps it).
inline constexpr char16_t kInUseSuffix[] = u" (in use)";

// The popup's client height for `hotkeyCount` rows below the header, when they all fit.
int PopupClientHeight(int hotkeyCount);

// What the grid holds and the room it has, as measured on the screen: device pixels at `Dpi`.
struct PopupMeasures {
    int HotkeyCount = 0;
    std::array<int, 3> WidestText{};  // the widest text of each column, its header included
    int RoomWidth = 0;                // the work area less the gap on each side
    int RoomHeight = 0;
    int ScrollBarWidth = 0;  // of a vertical scroll bar
    unsigned Dpi = 96;
    bool Paused = false;  // hotkeys paused: a line says so between the header and the rows
};

// The popup's layout, in pixels at 96 DPI. Each column is as wide as its widest text, never
// narrower than designed, and the popup widens for them up to the room's width, where the
// parameters column gives way. When the rows are higher than the room, the popup takes the room's
// height and the rows scroll in their box between the header (and the "X") and the links.
struct PopupGrid {
    int ClientWidth = 0;
    int ClientHeight = 0;
    std::array<int, 3> ColumnLeft{};
    std::array<int, 3> ColumnWidth{};
    fw::Bounds Rows;     // the box the hotkey rows scroll in, in the client area
    int RowsHeight = 0;  // all rows together
    bool Scrolls = false;
    fw::Bounds Notice;  // the line saying hotkeys are paused; empty when they are not
};

PopupGrid PopupGridLayout(const PopupMeasures& measures);

// Bounds of the grid's label in `row` and `column` (0 hotkey, 1 action, 2 parameters): row 0 is
// the header, in the popup's client area; row i + 1 shows hotkey i, in the area of all rows.
fw::Bounds HotkeyLabelBounds(const PopupGrid& grid, int row, int column);

// Only some hotkey rows have label windows: a band of rows at a time, that covers the rows in view
// of the rows' box and about a screen beyond, and is bound to other rows as the box scrolls. The
// band's rows, for a box `boxHeight` high (96 DPI): as many as can be in view at once, and as many
// again, but no more than there are rows.
int HotkeyBandRows(int boxHeight, int rowCount);

// The rows in view, from `viewTop` for `viewHeight` pixels of all `rowCount` rows (96 DPI), with the
// row of the pixel below the view (scaled positions may be a pixel off). Last < First: none.
struct HotkeyRowSpan {
    int First = 0;
    int Last = -1;
};
HotkeyRowSpan HotkeyRowsInView(int rowCount, int viewTop, int viewHeight);

// The first row of a band of `bandRows` rows that covers the rows in view: `current` while it
// covers them (-1: no band yet). Scrolling down, the view goes to the band's top, so that the
// screen beyond is below; up, to its bottom. The band never reaches past the last row.
int HotkeyBandFirst(int current, int bandRows, int rowCount, int viewTop, int viewHeight);

// Bounds of the band from row `first` in the area of all rows. Its labels are placed by
// HotkeyLabelBounds as though its first row were the first hotkey's.
fw::Bounds HotkeyBandBounds(const PopupGrid& grid, int first, int bandRows);

// The taskbar's edge as the shell reports it (ABE_LEFT ... ABE_BOTTOM).
enum TaskbarEdge : unsigned { tbeLeft = 0, tbeTop = 1, tbeRight = 2, tbeBottom = 3 };

// Where the popup of `width` x `height` goes (its top-left corner) beside the taskbar at `edge`
// with the rectangle `taskbar`, `gap` pixels off it; all in device pixels. Beside a taskbar at the
// top the popup ends `gap` inside the taskbar's right end, as at the bottom, so it is wholly on the
// screen. An unknown edge keeps `current`. When the shell could not tell where the taskbar is (an
// empty rectangle) the popup goes to the bottom-right corner of `workArea`.
fw::Point PopupPosition(unsigned edge,
                        const fw::Rect& taskbar,
                        const fw::Rect& workArea,
                        int width,
                        int height,
                        int gap,
                        fw::Point current);

// What one hotkey's row shows.
struct HotkeyRowTexts {
    std::u16string Hotkey;
    std::u16string Action;
    std::u16string Parameters;
    bool Greyed = false;  // the combination is not the program's: the hotkey text is drawn greyed
};

// The row of a live hotkey, with its combination already as text; `refused` when the system refused
// to register it.
HotkeyRowTexts HotkeyRow(const THotKeyData& hotkey, std::u16string hotkeyText, bool refused);

// What a screen reader reads for a row: its texts in reading order, as shown (a mark included).
std::u16string HotkeyRowName(const HotkeyRowTexts& row);

// The popup opened from the keyboard. Tab and Shift+Tab go round its stops in this order, the rows
// being one stop, in which the arrows and the page keys move the marked row.
enum class PopupStop { Rows, Close, ManageHotkeys, CheckForUpdates };
// The stop after `current` (before it, going back); without rows their stop is passed over.
PopupStop NextPopupStop(PopupStop current, bool back, int rowCount);

enum class RowKey { Up, Down, Home, End, PageUp, PageDown };
// The marked row after `key`, among `rowCount` rows of which `viewHeight` pixels (96 DPI) are in
// view: a page is the rows the view holds whole, at least one. It stays within the rows.
int MoveHotkeyRow(int row, RowKey key, int rowCount, int viewHeight);
// The view's top (96 DPI) that shows `row` whole, moving the view from `viewTop` as little as can be.
int ViewTopShowingRow(int row, int viewTop, int viewHeight);

}  // namespace corvalend
