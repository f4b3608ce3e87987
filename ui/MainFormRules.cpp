#include "ui/MainFormRules.h"

namespace {

constexpr int kMargin = 8;
constexpr int kLabelHeight = 13;
constexpr int kHeaderWidth = 100;
constexpr int kColumnPitch = 130;
constexpr int kCellWidth = 120;
constexpr int kParametersRightMargin = 284 - 268;  // the parameters column ends 16 before the edge
constexpr int kRowGap = 8;
constexpr int kFirstRowTop = 25;  // the header row is a little closer to the first hotkey than rows to each other
constexpr int kLinksBand = 28;    // below the last row: the two links

}  // namespace

fw::Bounds HotkeyLabelBounds(int row, int column, int clientWidth) {
    if (row == 0) return {kMargin + kColumnPitch * column, kMargin, kHeaderWidth, kLabelHeight};
    const int top = kFirstRowTop + (row - 1) * (kLabelHeight + kRowGap);
    const int left = kMargin + kColumnPitch * column;
    const int width = column == 2 ? clientWidth - left - kParametersRightMargin : kCellWidth;
    return {left, top, width, kLabelHeight};
}

int PopupClientHeight(int hotkeyCount) {
    const fw::Bounds last = HotkeyLabelBounds(hotkeyCount, 0, kPopupWidth);
    return last.top + last.height + kRowGap + kLinksBand;
}

ScreenPoint PopupPosition(unsigned edge,
                          const ScreenRect& taskbar,
                          const ScreenRect& workArea,
                          int width,
                          int height,
                          int gap,
                          ScreenPoint current) {
    if (taskbar.Empty()) return {workArea.right - width - gap, workArea.bottom - height - gap};
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
    if (refused) row.Hotkey += kInUseSuffix;
    row.Greyed = refused;
    row.Action = HotKeyFuncToCaption(hotkey.Func);
    // Shown as stored: placeholders stay, and the window state is never shown.
    row.Parameters = hotkey.Params;
    if (!hotkey.Params2.empty() && HotKeyFuncHasParams2(hotkey.Func)) row.Parameters += u", " + hotkey.Params2;
    return row;
}
