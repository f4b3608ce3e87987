// The overview popup opened from the keyboard: its stops, the marked row, Esc back to where the
// focus was, and the names a screen reader reads for the rows and the "X".
#include <oleacc.h>

#include <utility>

#include "core/datau.h"
#include "framework/AccessibleName.h"
#include "ui/MainFormU.h"

namespace corvalend {

void TMainForm::TrayIconKeySelect() {
    if (Data == nullptr) return;
    TKeyboard keyboard;
    if (!Visible()) {
        // Where the focus was, for Esc: another program's window has its focus on its own thread.
        keyboard.ForegroundBefore = GetForegroundWindow();
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        if (GetGUIThreadInfo(GetWindowThreadProcessId(keyboard.ForegroundBefore, nullptr), &thread)) {
            keyboard.FocusBefore = thread.hwndFocus;
        }
        TrayIconClick();
        if (!Visible()) return;
    } else if (keyboard_) {
        keyboard = *keyboard_;
    }
    keyboard_ = keyboard;
    HideFormTimer.SetEnabled(false);
    SetForegroundWindow(Handle());
    FocusStop(rows_.empty() ? PopupStop::Close : PopupStop::Rows);
    if (!rows_.empty()) MarkRow(0);
}

bool TMainForm::PopupKeyDown(UINT key) {
    if (!keyboard_) return false;  // opened with the mouse: as ever
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const int count = static_cast<int>(rows_.size());
    switch (key) {
        case VK_TAB:
            FocusStop(NextPopupStop(keyboard_->Stop, shift, count));
            return true;
        case VK_ESCAPE:
            CloseFromKeyboard();
            return true;
        case VK_RETURN:
        case VK_SPACE:
            ActivateStop(keyboard_->Stop);  // it may close the popup and end keyboard mode
            return true;
        default:
            break;
    }
    static constexpr std::pair<UINT, RowKey> kRowKeys[] = {
        {VK_UP, RowKey::Up},   {VK_DOWN, RowKey::Down},    {VK_HOME, RowKey::Home},
        {VK_END, RowKey::End}, {VK_PRIOR, RowKey::PageUp}, {VK_NEXT, RowKey::PageDown},
    };
    for (const auto& [virtualKey, rowKey] : kRowKeys) {
        if (key != virtualKey || keyboard_->Stop != PopupStop::Rows) continue;
        MarkRow(MoveHotkeyRow(keyboard_->Row, rowKey, count, popup_->sbHotkeys.View96().height));
        return true;
    }
    return false;
}

void TMainForm::ActivateStop(PopupStop stop) {
    switch (stop) {
        case PopupStop::Close:
            SpeedButton1Click();
            return;
        case PopupStop::ManageHotkeys:
            Settings1Click();
            return;
        case PopupStop::CheckForUpdates:
            lblCheckForUpdatesClick();
            return;
        case PopupStop::Rows:
            return;
    }
}

HWND TMainForm::StopWindow(PopupStop stop) {
    TPopupControls& popup = Popup();
    switch (stop) {
        case PopupStop::Rows:
            return popup.pnlHotkeys.Handle();
        case PopupStop::Close:
            return popup.SpeedButton1.Handle();
        case PopupStop::ManageHotkeys:
            return popup.BLabel1.Handle();
        case PopupStop::CheckForUpdates:
            return popup.lblCheckForUpdates.Handle();
    }
    return Handle();
}

void TMainForm::FocusStop(PopupStop stop) {
    keyboard_->Stop = stop;
    ::SetFocus(StopWindow(stop));
    if (stop == PopupStop::Rows) fw::NotifyAccessibleFocus(popup_->pnlHotkeys.Handle());
}

void TMainForm::MarkRow(int row) {
    keyboard_->Row = row;
    fw::Bounds view = popup_->sbHotkeys.View96();
    const int top = ViewTopShowingRow(row, view.top, view.height);
    if (top != view.top) popup_->sbHotkeys.ScrollTo(top);
    RedrawWindow(popup_->pnlHotkeys.Handle(), /*rect=*/nullptr, /*region=*/nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (keyboard_->Stop == PopupStop::Rows) fw::NotifyAccessibleFocus(popup_->pnlHotkeys.Handle());
}

void TMainForm::CloseFromKeyboard() {
    const TKeyboard keyboard = *keyboard_;
    HidePopup();
    if (keyboard.ForegroundBefore == nullptr || !IsWindow(keyboard.ForegroundBefore)) return;
    SetForegroundWindow(keyboard.ForegroundBefore);
    if (keyboard.FocusBefore != nullptr &&
        GetWindowThreadProcessId(keyboard.FocusBefore, nullptr) == GetCurrentThreadId()) {
        ::SetFocus(keyboard.FocusBefore);
    }
}

bool TMainForm::IsMarkedLabel(HWND label) const {
    if (!keyboard_ || bandFirst_ < 0) return false;
    const int k = keyboard_->Row - bandFirst_;
    if (k < 0 || k >= bandRows_) return false;
    for (const auto& cell : band_[static_cast<size_t>(k)].Labels) {
        if (cell && cell->Handle() == label) return true;
    }
    return false;
}

bool TMainForm::RowsMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_CTLCOLORSTATIC && IsMarkedLabel(reinterpret_cast<HWND>(lParam))) {
        const auto dc = reinterpret_cast<HDC>(wParam);
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHT));
        return true;
    }
    if (message == WM_GETOBJECT && keyboard_ && keyboard_->Row < static_cast<int>(rows_.size())) {
        const HotkeyRowTexts& row = rows_[static_cast<size_t>(keyboard_->Row)];
        result = fw::AccessibleNameAnswer(popup_->pnlHotkeys.Handle(), wParam, lParam, HotkeyRowName(row),
                                          ROLE_SYSTEM_LISTITEM);
        return result != 0;
    }
    return false;
}

bool TMainForm::CloseButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != WM_GETOBJECT) return false;
    result = fw::AccessibleNameAnswer(popup_->SpeedButton1.Handle(), wParam, lParam, u"Close", /*role=*/0);
    return result != 0;
}

}  // namespace corvalend
