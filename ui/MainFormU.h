// The application's main window: hidden in the tray at start, it owns the tray icon and menu and
// shows itself as the hotkey overview, a small borderless, always-on-top, see-through popup beside
// the taskbar listing the live hotkeys, with a close button and links to the settings window and
// the update check. It hides again once the pointer has stayed away from it and the taskbar.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "controls/BControls.h"
#include "controls/SimpleTimer.h"
#include "controls/TrayIcon.h"
#include "framework/ControlsContainers.h"
#include "framework/ControlsStandard.h"
#include "framework/Form.h"
#include "framework/PopupMenu.h"
#include "framework/UniqueHandle.h"
#include "ui/MainFormRules.h"

namespace corvalend {

// A container the pointer passes through to the popup, as it does through the labels on it, so
// that the popup sees the pointer come and go; a scroll bar of the container still takes it.
template <class Container>
class THitTransparent final : public Container {
public:
    using Container::Container;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        const LRESULT result = Container::OnMessage(message, wParam, lParam);
        return message == WM_NCHITTEST && result == HTCLIENT ? HTTRANSPARENT : result;
    }
};

// A control whose messages the popup sees first: `Hook` answers those it takes.
template <class Control>
class THooked : public Control {
public:
    using Control::Control;
    std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> Hook;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT result = 0;
        if (Hook && Hook(message, wParam, lParam, result)) return result;
        return Control::OnMessage(message, wParam, lParam);
    }
};

class TMainForm final : public fw::Form {
public:
    // Hidden and in the minimized state; the tray icon is in the notification area.
    explicit TMainForm(fw::Application& app);
    ~TMainForm() override;

    // The popup's controls, made when it first opens: a program resting in the tray has no control
    // windows, nor the system's library for them.
    struct TPopupControls {
        explicit TPopupControls(TMainForm& form);

        THooked<fw::Button> SpeedButton1;  // reads "Close"
        TBLabel BLabel1;
        TBLabel lblCheckForUpdates;
        // The hotkey rows, between the header and the links; they scroll when the screen is too
        // low for them. Placed at each opening. The box's column is as high as all rows, and
        // pnlHotkeys holds the windows of the band of rows in view and about a screen beyond (see
        // HotkeyBandRows).
        THitTransparent<fw::ColumnScrollBox> sbHotkeys;
        THitTransparent<THooked<fw::Panel>> pnlHotkeys;
    };
    // Makes them at the first call.
    TPopupControls& Popup();

    TSimpleTimer HideFormTimer;

    // The tray menu and the tray icon. The icon is declared last: it goes first, while the menu and
    // this window still exist.
    fw::PopupMenu TrayPopup;
    std::unique_ptr<TTrayIcon> TrayIcon;

    // The grid shown now: row 0 the column headers (on the popup), row i + 1 live hotkey i (on
    // pnlHotkeys); the columns are the hotkey, the action and the parameters. No rows while the
    // popup is hidden.
    int HotkeyRowCount() const;
    // The label showing `column` of grid row `row`, or null when the row has no window: only the
    // rows in view are sure to have one (see BindHotkeyBand).
    const fw::Label* HotkeyText(int row, int column) const;

    // Tray click and "Show hotkeys...": opens the popup beside the taskbar, or closes it.
    void TrayIconClick();
    // Enter or Space on the tray icon: the popup in keyboard mode. It takes the focus, stays while
    // the pointer is away, marks a row in the system's highlight colours and closes with Esc,
    // handing the focus back to the window that had it.
    void TrayIconKeySelect();
    // In keyboard mode: the stop with the focus and the marked row (grid row minus one).
    bool KeyboardMode() const { return keyboard_.has_value(); }
    PopupStop FocusedStop() const { return keyboard_ ? keyboard_->Stop : PopupStop::Rows; }
    int MarkedRow() const { return keyboard_ ? keyboard_->Row : -1; }
    // Tray double click, "Settings..." and "Manage hotkeys": the settings window; the popup hides.
    void Settings1Click();
    // A later start of the program: the settings window in front, as the double click shows it; while
    // a modal window is up, that one comes to the front instead.
    void LaterStartClick();
    // "X".
    void SpeedButton1Click();
    // "Pause hotkeys": pauses, or resumes when ticked.
    void PauseClick();
    // The tray icon (greyed), its tip, the menu's tick and the open popup follow the pause.
    void ShowPause();
    // The tip counts a delayed capture down ("Capture in 3 s"); empty, it is the usual (or paused) one.
    void ShowCountdown(std::u16string tip);
    // "Exit".
    void Exit1Click();
    // "Check for updates".
    void lblCheckForUpdatesClick();
    // The open popup follows the live hotkeys' refused marks.
    void ShowRefusedMarks();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint(HDC dc, const RECT& area) override;
    void MouseEnter() override { Shape1MouseEnter(); }
    void MouseLeave() override { Shape1MouseLeave(); }

private:
    void FormCreate();
    void FormShow();
    void FormHide();
    void FormDestroy();
    void Shape1MouseEnter();
    void Shape1MouseLeave();
    void HideFormTimerTimer();
    // Builds the grid and returns the popup's layout for it on the screen of `workArea`.
    PopupGrid BuildHotkeyLabels(const RECT& workArea);
    PopupMeasures MeasureHotkeyGrid(const RECT& workArea) const;
    // The row of live hotkey `index`.
    HotkeyRowTexts LiveRow(int index) const;
    // Makes the header when there is none yet, and places the labels kept from other openings.
    void PlaceHotkeyLabels(const PopupGrid& grid);
    // The rows' band covers the rows in view again (the box scrolled or changed its size).
    void BindHotkeyBand();
    // Row `k` of the band shows `texts`; its labels are made when it has none.
    void ShowInBand(int k, const HotkeyRowTexts& texts);
    // The grid goes; its label windows stay, hidden with the popup, for the next opening.
    void FreeHotkeyLabels();

    void HidePopup();
    // Keyboard mode: a key of the popup, true when taken; the stop that takes the focus; the
    // marked row moved to `row` and scrolled into view.
    bool PopupKeyDown(UINT key);
    void FocusStop(PopupStop stop);
    void ActivateStop(PopupStop stop);
    void MarkRow(int row);
    void CloseFromKeyboard();
    HWND StopWindow(PopupStop stop);
    bool IsMarkedLabel(HWND label) const;
    bool RowsMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool CloseButtonMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void SetMinimized();
    void SetOpacity(uint8_t opacity);
    void RestartHideTimer();
    void ShowTip();

    std::unique_ptr<TPopupControls> popup_;
    fw::UniqueIcon icon_;
    fw::UniqueIcon greyedIcon_;    // made at the first pause
    std::u16string countdownTip_;  // while a delayed capture counts down
    std::unique_ptr<fw::Label> pausedNotice_;
    using THotkeyLabels = std::array<std::unique_ptr<fw::Label>, 3>;
    struct TBandRow {
        THotkeyLabels Labels;
        bool Greyed = false;  // the hotkey's label has the greyed font
    };

    std::optional<PopupGrid> grid_;     // while the popup shows
    std::vector<HotkeyRowTexts> rows_;  // of every live hotkey, while the popup shows
    THotkeyLabels header_;
    // The band: its first bandRows_ rows are in use and show the rows from bandFirst_ on (-1 while
    // none are bound). A row has its labels from the moment it first came into view.
    std::vector<TBandRow> band_;
    int bandRows_ = 0;
    int bandFirst_ = -1;

    struct TKeyboard {
        PopupStop Stop = PopupStop::Rows;
        int Row = 0;
        HWND ForegroundBefore = nullptr;  // where the focus goes back to
        HWND FocusBefore = nullptr;
    };
    std::optional<TKeyboard> keyboard_;  // while open from the keyboard
};

// The main window, null outside the program's run.
extern TMainForm* MainForm;

// Where the popup goes and when it stays: the taskbar's edge and bounds, and whether the pointer is
// inside a visible window (its outermost pixels count as outside) or on the taskbar.
APPBARDATA TaskbarPos();
bool CursorInForm(HWND Form);
bool CursorInTaskbar();

}  // namespace corvalend
