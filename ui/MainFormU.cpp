// The main window: tray icon and menu, and the overview popup built from the live hotkeys.
#include "ui/MainFormU.h"

#include <algorithm>
#include <string_view>

#include "core/PauseRules.h"
#include "core/datau.h"
#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/GdiObjects.h"
#include "framework/Win32Geometry.h"
#include "ui/CheckForUpdates.h"
#include "ui/MainFormRules.h"
#include "ui/RunningCopy.h"
#include "ui/SettingsFormU.h"

namespace corvalend {

TMainForm* MainForm = nullptr;

namespace {

constexpr size_t kPauseItem = 3;  // in TrayPopup.Items

// The program's icon (resource 1) at the size of a small icon for the screen's density; none when
// the module has no such icon.
fw::UniqueIcon LoadTrayIcon(HINSTANCE instance) {
    const UINT dpi = GetDpiForSystem();
    return fw::UniqueIcon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        GetSystemMetricsForDpi(SM_CXSMICON, dpi),
                                                        GetSystemMetricsForDpi(SM_CYSMICON, dpi), LR_DEFAULTCOLOR)));
}

// The width of a text on one line as a plain label shows it ("&" as it stands), in device pixels.
int TextWidth(HDC dc, std::u16string_view text) {
    RECT extent{};
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS);
    return extent.right;
}

// A cell of the grid. Screen readers read the captions, so every cell is the system's static text,
// which shows the texts as stored ("&" included), on one line: where the parameters column gives way,
// a text that does not fit ends with an ellipsis instead of a cut letter.
std::unique_ptr<fw::Label> MakeHotkeyLabel(fw::Container& parent, const fw::Bounds& bounds, std::u16string_view text) {
    return std::make_unique<fw::Label>(
        parent, fw::ControlInfo{.text = std::u16string(text), .bounds = bounds},
        fw::LabelOptions{.wordWrap = false, .showAccelChar = false, .endEllipsis = true});
}

// The column headers: the popup's font, bold.
fw::Font HeaderFont() {
    return fw::Font(L"Tahoma", 8, fw::SystemColorSpec(COLOR_WINDOWTEXT), FW_BOLD);
}

const TLabelFont kLinkFont{.Style = fsBold | fsUnderline, .Color = clBlue};

// The two links: hand cursor, bold and underlined also while hovered, on the popup's colour.
void SetUpLink(TBLabel& link) {
    link.SetCursor(LoadCursorW(nullptr, IDC_HAND));
    link.SetHoverStyle(fsBold | fsUnderline);
    link.SetColor(SystemColor(COLOR_INFOBK));
}

}  // namespace

TMainForm::TMainForm(fw::Application& app)
    : Form(app,
           /*owner=*/nullptr,
           {.caption = u"Corvalend",
            .clientWidth = kPopupWidth,
            .clientHeight = kPopupHeight,
            .border = fw::FormBorder::None,
            .position = fw::FormPosition::Designed,
            .windowClass = L"Corvalend.MainForm"}),
      HideFormTimer(kHideFormInterval, [this](TSimpleTimer&) { HideFormTimerTimer(); }) {
    if (app.MainForm() == nullptr) app.SetMainForm(this);

    // Not in the taskbar or the task switcher, above every normal window, see-through.
    const HWND hwnd = Handle();
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_LAYERED);
    SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetOpacity(kOpacityCreated);
    SetColor(fw::SystemColorSpec(COLOR_INFOBK));
    // Created minimized: the application then starts minimized, which the tray icon turns into
    // hiding in the tray.
    SetMinimized();
    // Shape1 fills the window: its enter and leave are the window's.
    WatchMouseEnterLeave();
    OnShow = [this] { FormShow(); };
    OnKeyDown = [this](UINT key) { return PopupKeyDown(key); };

    TrayPopup.Items = {
        {u"Settings...", [this] { Settings1Click(); }},
        {u"Show hotkeys...", [this] { TrayIconClick(); }},
        {u"-", nullptr},
        {kPauseMenuCaption, [this] { PauseClick(); }},
        {u"Exit", [this] { Exit1Click(); }},
    };
    TrayPopup.AutoPopup = true;

    TrayIcon = std::make_unique<TTrayIcon>(app, this);
    icon_ = LoadTrayIcon(app.Instance());
    TrayIcon->SetIcon(icon_.get());  // the icon keeps a copy
    TrayIcon->SetCycleInterval(0);
    TrayIcon->SetIconVisible(true);
    TrayIcon->SetPopupMenu(&TrayPopup);
    TrayIcon->SetMinimizeToTray(true);
    TrayIcon->OnClick = [this](TTrayIcon&) { TrayIconClick(); };
    TrayIcon->OnDblClick = [this](TTrayIcon&) { Settings1Click(); };
    TrayIcon->OnKeySelect = [this](TTrayIcon&) { TrayIconKeySelect(); };
    TrayIcon->Loaded();
    // A later start may run at a lower integrity level than this copy.
    ChangeWindowMessageFilterEx(hwnd, LaterStartMessage(), MSGFLT_ALLOW, /*status=*/nullptr);

    FormCreate();
}

TMainForm::TPopupControls::TPopupControls(TMainForm& form)
    : SpeedButton1(form, {.text = u"X", .bounds = {548, 8, 22, 17}, .anchors = fw::akTop | fw::akRight}),
      BLabel1(form,
              {.text = u"Manage hotkeys", .bounds = {8, 270, 120, 13}, .anchors = fw::akLeft | fw::akBottom},
              kLinkFont),
      lblCheckForUpdates(form,
                         // Right-justified: the text ends at 571 whatever the font makes of its width.
                         {.text = u"Check for updates",
                          .bounds = {419, 270, 152, 13},
                          .anchors = fw::akLeft | fw::akRight | fw::akBottom},
                         kLinkFont),
      sbHotkeys(form, {}),
      pnlHotkeys(sbHotkeys, {}) {
    // A flat button in a bold Arial, as a close box.
    SetWindowLongPtrW(SpeedButton1.Handle(), GWL_STYLE, GetWindowLongPtrW(SpeedButton1.Handle(), GWL_STYLE) | BS_FLAT);
    SpeedButton1.SetFont(fw::Font(L"Arial", 8, fw::SystemColorSpec(COLOR_BTNTEXT), FW_BOLD));
    SpeedButton1.OnClick = [&form] { form.SpeedButton1Click(); };
    SetUpLink(BLabel1);
    SetUpLink(lblCheckForUpdates);
    lblCheckForUpdates.SetAlignment(taRightJustify);
    BLabel1.OnClick = [&form](TBLabel&) { form.Settings1Click(); };
    lblCheckForUpdates.OnClick = [&form](TBLabel&) { form.lblCheckForUpdatesClick(); };
    sbHotkeys.OnViewChange = [&form] { form.BindHotkeyBand(); };
    // The marked row's colours and what a screen reader reads: the rows are one stop, on their panel.
    pnlHotkeys.Hook = [&form](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return form.RowsMessage(message, wParam, lParam, result);
    };
    SpeedButton1.Hook = [&form](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return form.CloseButtonMessage(message, wParam, lParam, result);
    };
}

TMainForm::TPopupControls& TMainForm::Popup() {
    if (!popup_) popup_ = std::make_unique<TPopupControls>(*this);
    return *popup_;
}

TMainForm::~TMainForm() {
    FormDestroy();
    TrayIcon.reset();
    if (App().MainForm() == this) App().SetMainForm(nullptr);
}

// ---- Events ----

void TMainForm::FormCreate() {
    TrayIcon->SetHint(TrayTip(App().Title(), /*paused=*/false));
}

void TMainForm::FormShow() {
    // Opened from the tray the grid is there already, built for the height; shown any other way
    // the popup still lists the hotkeys.
    if (!grid_) {
        const PopupGrid grid = BuildHotkeyLabels(fw::WorkAreaOf(Handle()));
        SetClientSize(grid.ClientWidth, grid.ClientHeight);
    }
    SetForegroundWindow(Handle());
    SetOpacity(kOpacityActive);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The application keeps no taskbar button.
    ShowWindow(App().Handle(), SW_HIDE);
}

void TMainForm::FormHide() {
    keyboard_.reset();
    HideFormTimer.SetEnabled(false);
    FreeHotkeyLabels();
    SetMinimized();
    ShowWindow(App().Handle(), SW_HIDE);
}

void TMainForm::FormDestroy() {
    FreeHotkeyLabels();
}

void TMainForm::TrayIconClick() {
    if (Visible()) {
        HidePopup();
        return;
    }
    if (Data == nullptr) return;  // nothing to list before start-up made the data module

    // The size and place the window has when not minimized; restoring it from the minimized state
    // puts it at once where it goes now.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(Handle(), &placement);
    const RECT& normal = placement.rcNormalPosition;  // screen coordinates: a tool window
    const RECT work = fw::WorkAreaOf(Handle());
    Data->RetryRefusedHotkeys();  // what another program let go is listed as taken
    // The grid first: its texts make the size, and the placement below already shows the window.
    const PopupGrid grid = BuildHotkeyLabels(work);
    const int width = fw::ScaleForDpi(grid.ClientWidth, Dpi());
    const int height = fw::ScaleForDpi(grid.ClientHeight, Dpi());
    const APPBARDATA taskbar = TaskbarPos();
    const fw::Point place = PopupPosition(taskbar.uEdge, fw::FromRECT(taskbar.rc), fw::FromRECT(work), width, height,
                                          fw::ScaleForDpi(kPopupGap, Dpi()), {normal.left, normal.top});
    placement.flags = 0;
    placement.showCmd = SW_SHOWNOACTIVATE;
    placement.rcNormalPosition = {place.x, place.y, place.x + width, place.y + height};
    SetWindowPlacement(Handle(), &placement);

    Show();
    HideFormTimer.SetEnabled(true);
}

void TMainForm::Settings1Click() {
    if (Data != nullptr) ShowSettingsForm(App(), *Data);
    HidePopup();
}

void TMainForm::LaterStartClick() {
    if (const HWND modal = fw::ModalWindowInFront()) {
        SetForegroundWindow(modal);
        return;
    }
    Settings1Click();
    if (SettingsForm == nullptr) return;
    const HWND settings = SettingsForm->Handle();
    if (IsIconic(settings)) ShowWindow(settings, SW_RESTORE);
    SetForegroundWindow(settings);
}

void TMainForm::SpeedButton1Click() {
    HidePopup();
}

void TMainForm::PauseClick() {
    if (Data != nullptr) Data->SetPaused(!Data->Paused());
}

void TMainForm::ShowPause() {
    const bool paused = Data != nullptr && Data->Paused();
    TrayPopup.Items[kPauseItem].Checked = paused;
    // The shell offers no greyed look of its own: made once from the icon itself.
    if (paused && !greyedIcon_ && icon_) greyedIcon_ = fw::GreyedIcon(icon_.get());
    TrayIcon->SetIcon(paused && greyedIcon_ ? greyedIcon_.get() : icon_.get());
    ShowTip();
    // The open popup gains or loses its line, and with it a size: it opens again. Walked with the
    // keys, it stays as it is rather than lose the user's place.
    if (Visible() && !keyboard_) {
        HidePopup();
        TrayIconClick();
    }
}

void TMainForm::ShowCountdown(std::u16string tip) {
    countdownTip_ = std::move(tip);
    ShowTip();
}

void TMainForm::ShowTip() {
    // A countdown, while one runs, before the usual tip and the paused one.
    TrayIcon->SetHint(countdownTip_.empty() ? TrayTip(App().Title(), Data != nullptr && Data->Paused())
                                            : countdownTip_);
}

void TMainForm::Exit1Click() {
    App().Terminate();
}

void TMainForm::lblCheckForUpdatesClick() {
    CheckForUpdatesFrom(App(), Handle(), Popup().lblCheckForUpdates.Handle());
}

void TMainForm::Shape1MouseEnter() {
    if (!keyboard_) RestartHideTimer();  // opened from the keyboard it stays till closed
    SetOpacity(kOpacityActive);
}

void TMainForm::Shape1MouseLeave() {
    // Onto the button or a link: still inside. Opened from the keyboard, the pointer has no say.
    if (keyboard_ || (Data != nullptr && CursorInForm(Handle()))) return;
    RestartHideTimer();
    SetOpacity(kOpacityIdle);
}

void TMainForm::HideFormTimerTimer() {
    // Resting on the taskbar, even far from the popup, keeps it open; so does the keyboard.
    if (keyboard_ || (Data != nullptr && (CursorInForm(Handle()) || CursorInTaskbar()))) return;
    HideFormTimer.SetEnabled(false);
    HidePopup();
}

// ---- The grid ----

PopupGrid TMainForm::BuildHotkeyLabels(const RECT& workArea) {
    FreeHotkeyLabels();
    const int count = Data != nullptr ? Data->HotKeyList().Count() : 0;
    rows_.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) rows_.push_back(LiveRow(i));
    const PopupGrid grid = PopupGridLayout(MeasureHotkeyGrid(workArea));

    // The box, its column of all rows and the band sized before the labels come, which then need
    // placing only once.
    bandRows_ = HotkeyBandRows(grid.Rows.height, count);
    TPopupControls& popup = Popup();
    popup.sbHotkeys.SetBounds(grid.Rows);
    popup.sbHotkeys.SetVirtualHeight(grid.RowsHeight);
    popup.pnlHotkeys.SetBounds(HotkeyBandBounds(grid, 0, bandRows_));
    PlaceHotkeyLabels(grid);
    grid_ = grid;
    BindHotkeyBand();
    return grid;
}

HotkeyRowTexts TMainForm::LiveRow(int index) const {
    const TGlobalHotKey& hotkey = *Data->HotKeyList().GetItem(index);
    const THotKeyData& hotkeyData = hotkey.HotKeyData;
    return HotkeyRow(
        hotkeyData,
        Data->HotkeyToString(static_cast<uint16_t>(hotkeyData.Key), static_cast<uint16_t>(hotkeyData.Shift)),
        hotkey.Refused());
}

void TMainForm::ShowRefusedMarks() {
    // The same live hotkeys, some of them taken or refused since the popup opened: only the texts
    // change, and a mark that goes makes its text shorter, so the grid stays.
    if (!grid_ || Data == nullptr || Data->HotKeyList().Count() != static_cast<int>(rows_.size())) return;
    for (size_t i = 0; i < rows_.size(); ++i) rows_[i] = LiveRow(static_cast<int>(i));
    for (int k = 0; k < bandRows_ && bandFirst_ >= 0; ++k) {
        if (band_[static_cast<size_t>(k)].Labels[0]) ShowInBand(k, rows_[static_cast<size_t>(bandFirst_ + k)]);
    }
}

PopupMeasures TMainForm::MeasureHotkeyGrid(const RECT& workArea) const {
    // Every text whole: the columns and the popup take the widths of all texts, the rows out of
    // view included, in the fonts they are shown in (a greyed hotkey has the normal font's metrics).
    const UINT dpi = Dpi();
    const int gap = fw::ScaleForDpi(kPopupGap, dpi);
    PopupMeasures measures{.HotkeyCount = static_cast<int>(rows_.size()),
                           .RoomWidth = workArea.right - workArea.left - 2 * gap,
                           .RoomHeight = workArea.bottom - workArea.top - 2 * gap,
                           .ScrollBarWidth = GetSystemMetricsForDpi(SM_CXVSCROLL, dpi),
                           .Dpi = dpi,
                           .Paused = Data != nullptr && Data->Paused()};
    const fw::UniqueMemoryDC dc(CreateCompatibleDC(nullptr));
    {
        const fw::Font header = HeaderFont();
        const fw::ScopedSelectObject font(dc.get(), header.Handle(dpi));
        for (size_t c = 0; c < 3; ++c) measures.WidestText[c] = TextWidth(dc.get(), kHotkeyHeaders[c]);
    }
    const fw::ScopedSelectObject font(dc.get(), ControlFont().Handle(dpi));
    for (const HotkeyRowTexts& row : rows_) {
        const std::u16string_view texts[3] = {row.Hotkey, row.Action, row.Parameters};
        for (size_t c = 0; c < 3; ++c) {
            measures.WidestText[c] = std::max(measures.WidestText[c], TextWidth(dc.get(), texts[c]));
        }
    }
    return measures;
}

void TMainForm::PlaceHotkeyLabels(const PopupGrid& grid) {
    const auto place = [&](THotkeyLabels& labels, int row) {
        for (int c = 0; c < 3; ++c) {
            const fw::Bounds bounds = HotkeyLabelBounds(grid, row, c);
            fw::Label* label = labels[static_cast<size_t>(c)].get();
            if (label != nullptr && label->DesignBounds() != bounds) label->SetBounds(bounds);
        }
    };
    if (header_[0]) {
        place(header_, 0);
    } else {
        for (size_t c = 0; c < 3; ++c) {
            header_[c] = MakeHotkeyLabel(*this, HotkeyLabelBounds(grid, 0, static_cast<int>(c)), kHotkeyHeaders[c]);
            header_[c]->SetFont(HeaderFont());
        }
    }
    if (grid.Notice.width > 0 && !pausedNotice_) {
        pausedNotice_ = MakeHotkeyLabel(*this, grid.Notice, kPausedPopupText);
    } else if (grid.Notice.width > 0 && pausedNotice_->DesignBounds() != grid.Notice) {
        pausedNotice_->SetBounds(grid.Notice);
    }
    if (pausedNotice_) pausedNotice_->SetVisible(grid.Notice.width > 0);
    // The band's labels kept from other openings; those of rows the band no longer has are hidden,
    // from the screen reader too.
    if (band_.size() < static_cast<size_t>(bandRows_)) band_.resize(static_cast<size_t>(bandRows_));
    for (size_t k = 0; k < band_.size(); ++k) {
        const bool used = k < static_cast<size_t>(bandRows_);
        if (used) place(band_[k].Labels, static_cast<int>(k) + 1);
        for (const auto& label : band_[k].Labels) {
            if (label) label->SetVisible(used);
        }
    }
}

void TMainForm::BindHotkeyBand() {
    if (!grid_ || !popup_) return;
    const fw::Bounds view = popup_->sbHotkeys.View96();
    const int count = static_cast<int>(rows_.size());
    const int first = HotkeyBandFirst(bandFirst_, bandRows_, count, view.top, view.height);
    if (first != bandFirst_) {
        // Each label on the screen would paint at once at its new text; the band paints once instead.
        const fw::ScopedNoRedraw batch(popup_->pnlHotkeys.Handle());
        bandFirst_ = first;
        for (int k = 0; k < bandRows_; ++k) {
            if (band_[static_cast<size_t>(k)].Labels[0]) ShowInBand(k, rows_[static_cast<size_t>(first + k)]);
        }
        popup_->pnlHotkeys.SetBounds(HotkeyBandBounds(*grid_, first, bandRows_));
    }
    // Making windows is what an opening would cost most: it makes those of the rows in view, and
    // the other rows of the band get theirs as they first come into view.
    const HotkeyRowSpan shown = HotkeyRowsInView(count, view.top, view.height);
    for (int r = shown.First; r <= shown.Last; ++r) {
        if (!band_[static_cast<size_t>(r - first)].Labels[0]) ShowInBand(r - first, rows_[static_cast<size_t>(r)]);
    }
}

void TMainForm::ShowInBand(int k, const HotkeyRowTexts& texts) {
    TBandRow& row = band_[static_cast<size_t>(k)];
    const std::u16string* cells[3] = {&texts.Hotkey, &texts.Action, &texts.Parameters};
    for (size_t c = 0; c < 3; ++c) {
        std::unique_ptr<fw::Label>& label = row.Labels[c];
        if (label) {
            label->SetText(*cells[c]);
        } else {
            label =
                MakeHotkeyLabel(popup_->pnlHotkeys, HotkeyLabelBounds(*grid_, k + 1, static_cast<int>(c)), *cells[c]);
        }
    }
    if (row.Greyed != texts.Greyed) {
        row.Labels[0]->SetFont(texts.Greyed ? fw::Font(L"Tahoma", 8, fw::SystemColorSpec(COLOR_GRAYTEXT))
                                            : ControlFont());
        row.Greyed = texts.Greyed;
    }
}

void TMainForm::FreeHotkeyLabels() {
    grid_.reset();
    rows_ = {};
    bandFirst_ = -1;
    // The next opening starts at the top.
    if (popup_) popup_->sbHotkeys.ScrollTo(0);
}

int TMainForm::HotkeyRowCount() const {
    return grid_ ? static_cast<int>(rows_.size()) + 1 : 0;
}

const fw::Label* TMainForm::HotkeyText(int row, int column) const {
    if (!grid_ || column < 0 || column > 2 || row < 0 || row >= HotkeyRowCount()) return nullptr;
    const auto c = static_cast<size_t>(column);
    if (row == 0) return header_[c].get();
    const int k = row - 1 - bandFirst_;
    return bandFirst_ >= 0 && k >= 0 && k < bandRows_ ? band_[static_cast<size_t>(k)].Labels[c].get() : nullptr;
}

// ---- Window ----

void TMainForm::HidePopup() {
    Hide();  // FormHide follows once the window is hidden
}

void TMainForm::SetMinimized() {
    // Only the state, on the hidden window: nothing moves or shows. Opening restores the window.
    SetWindowLongPtrW(Handle(), GWL_STYLE, GetWindowLongPtrW(Handle(), GWL_STYLE) | WS_MINIMIZE);
}

void TMainForm::SetOpacity(uint8_t opacity) {
    SetLayeredWindowAttributes(Handle(), /*key=*/0, opacity, LWA_ALPHA);
}

void TMainForm::RestartHideTimer() {
    HideFormTimer.SetEnabled(false);
    HideFormTimer.SetEnabled(true);
}

void TMainForm::OnPaint(HDC dc, const RECT& /*area*/) {
    // Shape1: the frame along the edges.
    RECT client{};
    GetClientRect(Handle(), &client);
    FrameRect(dc, &client, GetSysColorBrush(COLOR_3DDKSHADOW));
}

LRESULT TMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LaterStartMessage()) {
        if (AnswersLaterStarts()) LaterStartClick();
        return 0;
    }
    switch (message) {
        case WM_SIZE:
            // The frame runs along the edges: all of it moves with the size.
            InvalidateRect(Handle(), /*rect=*/nullptr, /*erase=*/TRUE);
            break;
        case WM_MOUSEWHEEL:
            // The rows are all there is to scroll, wherever the focus is in the popup.
            if (popup_) return SendMessageW(popup_->sbHotkeys.Handle(), message, wParam, lParam);
            break;
        case WM_WINDOWPOSCHANGED:
            if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) {
                const LRESULT result = Form::OnMessage(message, wParam, lParam);
                FormHide();
                return result;
            }
            break;
        case WM_CLOSE:
            // Closing the main window ends the program.
            App().Terminate();
            return 0;
        default:
            break;
    }
    return Form::OnMessage(message, wParam, lParam);
}

// ---- The taskbar and the pointer ----

APPBARDATA TaskbarPos() {
    APPBARDATA bar{};
    bar.cbSize = sizeof(bar);
    SHAppBarMessage(ABM_GETTASKBARPOS, &bar);
    return bar;
}

bool CursorInForm(HWND Form) {
    POINT cursor{};
    RECT bounds{};
    if (!IsWindowVisible(Form) || !GetCursorPos(&cursor) || !ScreenToClient(Form, &cursor) ||
        !GetWindowRect(Form, &bounds)) {
        return false;
    }
    return cursor.x > 0 && cursor.x < bounds.right - bounds.left && cursor.y > 0 &&
           cursor.y < bounds.bottom - bounds.top;
}

bool CursorInTaskbar() {
    POINT cursor{};
    GetCursorPos(&cursor);
    const RECT bar = TaskbarPos().rc;
    return cursor.x > bar.left && cursor.x < bar.right && cursor.y > bar.top && cursor.y < bar.bottom;
}

}  // namespace corvalend
