// The overview popup's layout and texts, free of windows: where each label of the hotkey grid goes,
// how high the popup is for a number of hotkeys, where it goes beside the taskbar, and what a row
// says. Lengths are pixels at 96 DPI unless a function says otherwise.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Hotkeys.h"
#include "framework/FormLayout.h"

inline constexpr int kPopupWidth = 579;   // never changes
inline constexpr int kPopupHeight = 291;  // as designed; each opening sets its own
inline constexpr int kPopupGap = 3;       // between the popup and the taskbar or screen edge

// Opacity of the layered popup: when made, when shown or the pointer comes in, when it went out.
inline constexpr uint8_t kOpacityCreated = 200;
inline constexpr uint8_t kOpacityActive = 240;
inline constexpr uint8_t kOpacityIdle = 180;

inline constexpr uint32_t kHideFormInterval = 1000;  // ms

inline constexpr std::u16string_view kHotkeyHeaders[3] = {u"Hotkey", u"Action", u"Parameters"};
// Follows the hotkey text of a live hotkey whose combination the system gave to someone else.
inline constexpr char16_t kInUseSuffix[] = u" (in use)";

// Bounds of the grid's label in `row` (0 the header, i + 1 hotkey i) and `column` (0 hotkey,
// 1 action, 2 parameters) on a popup `clientWidth` wide.
fw::Bounds HotkeyLabelBounds(int row, int column, int clientWidth);

// The popup's client height for `hotkeyCount` rows below the header.
int PopupClientHeight(int hotkeyCount);

// Screen rectangles and points in device pixels.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool Empty() const { return right <= left || bottom <= top; }
};
struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// The taskbar's edge as the shell reports it (ABE_LEFT ... ABE_BOTTOM).
enum TaskbarEdge : unsigned { tbeLeft = 0, tbeTop = 1, tbeRight = 2, tbeBottom = 3 };

// Where the popup of `width` x `height` goes (its top-left corner) beside the taskbar at `edge`
// with the rectangle `taskbar`, `gap` pixels off it; all in device pixels. Beside a taskbar at the
// top the popup ends `gap` inside the taskbar's right end, as at the bottom, so it is wholly on the
// screen. An unknown edge keeps `current`. When the shell could not tell where the taskbar is (an
// empty rectangle) the popup goes to the bottom-right corner of `workArea`.
ScreenPoint PopupPosition(unsigned edge,
                          const ScreenRect& taskbar,
                          const ScreenRect& workArea,
                          int width,
                          int height,
                          int gap,
                          ScreenPoint current);

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
