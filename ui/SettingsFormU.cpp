// The settings window: one editor frame per hotkey, the wizard, the log-on box and the update check.
#include "ui/SettingsFormU.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/HotkeyImportRules.h"
#include "core/datau.h"
#include "framework/Application.h"
#include "framework/FileDialog.h"
#include "framework/MessageDlg.h"
#include "framework/Registry.h"
#include "framework/SaveDialog.h"
#include "framework/ScopeExit.h"
#include "framework/ShellOpen.h"
#include "framework/TabOrder.h"
#include "framework/WinText.h"
#include "ui/WindowPlacementRules.h"
#include "ui/frmAddHotkeyU.h"

namespace corvalend {

TSettingsForm* SettingsForm = nullptr;

namespace {

// The modeless settings windows: the open one (SettingsForm), and one closed while a handler of it
// still runs, until the handler has returned.
std::vector<std::unique_ptr<TSettingsForm>> modelessForms;

// A frame's height in the column, at 96 DPI.
constexpr int kFrameHeight = 100;
// The column's top on the hotkey page, below the panel and the find box, at 96 DPI.
constexpr int kColumnTop = 90;

TLabelFont LinkFont() {
    return {.Style = fsUnderline, .Color = RGB(0, 0, 255)};
}

void OpenInShell(HWND window, const std::u16string& target) {
    fw::ShellOpen(target, {.owner = window});
}

// The window's designed client size, also its smallest.
constexpr fw::Size kDesignedClient{812, 466};

constexpr char16_t kHotkeyFilesFilter[] = u"Hotkey files (*.ini)|*.ini|All files (*.*)|*.*";

// A monitor is there for a kept place when the place meets one; the smallest window is the form's
// at its present DPI (on a monitor of another DPI the system asks the form again as it sizes it).
class FormMonitors final : public MonitorLookup {
public:
    explicit FormMonitors(const fw::Form& form) : form_(form) {}
    std::optional<TMonitorRoom> MonitorOf(const fw::Bounds& bounds) const override {
        const RECT rect{bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
        const HMONITOR monitor = MonitorFromRect(&rect, MONITOR_DEFAULTTONULL);
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) return std::nullopt;
        const RECT& work = info.rcWork;
        return TMonitorRoom{{work.left, work.top, work.right - work.left, work.bottom - work.top},
                            form_.MinWindowSize(form_.Dpi())};
    }

private:
    const fw::Form& form_;
};

}  // namespace

TSettingsForm::TSettingsForm(fw::Application& app, TData& data, HWND owner)
    : Form(app,
           owner,
           {.caption = u"Settings",
            .clientWidth = kDesignedClient.width,
            .clientHeight = kDesignedClient.height,
            .border = fw::FormBorder::Sizeable,
            .position = fw::FormPosition::ScreenCenter}),
      lblWeb(tsOtherSettings,
             {.text = kWebSiteAddress, .bounds = {480, 58, 300, 13}, .anchors = fw::akTop | fw::akRight},
             LinkFont()),
      lblMail(tsOtherSettings,
              {.text = kAuthorMailAddress, .bounds = {480, 76, 300, 13}, .anchors = fw::akTop | fw::akRight},
              LinkFont()),
      tmrDeleteSetting(10, [this](TSimpleTimer&) { tmrDeleteSettingTimer(); }),
      app_(app),
      data_(data) {
    // The pages' own size depends on the tab control's metrics: fit the hotkey page's parts to it.
    const fw::Bounds page = pcClient.PageBounds96();
    Panel1.SetBounds({0, 0, page.width, 60});
    HotKeyPlacement.SetBounds({0, kColumnTop, page.width, page.height - kColumnTop});
    for (TBLabel* link : {&lblWeb, &lblMail}) {
        link->SetCursor(LoadCursorW(nullptr, IDC_HAND));
        link->SetHoverColor(RGB(0, 0, 255));
    }

    btnOK.OnClick = [this] { btnOKClick(); };
    Button1.OnClick = [this] { Button1Click(); };
    btnCheckForUpdates.OnClick = [this] { btnCheckForUpdatesClick(); };
    btnExport.OnClick = [this] { btnExportClick(); };
    btnImport.OnClick = [this] { btnImportClick(); };
    chkStartAtWindowsStart.OnClick = [this] { chkStartAtWindowsStartClick(); };
    lblWeb.OnClick = [this](TBLabel&) { lblWebClick(); };
    lblMail.OnClick = [this](TBLabel&) { lblMailClick(); };
    edtFind.OnChange = [this] { edtFindChange(); };
    OnKeyDown = [this](UINT key) { return FormKeyDown(key); };
    OpenPage = OpenInShell;
    OnShow = [this] { FormShow(); };
    OnClose = [this](fw::CloseAction& action) { FormClose(action); };
    OnCloseQuery = [this] { return !checkingForUpdates_; };
    HotKeyPlacement.OnViewChange = [this] { ArrangeFrames(); };
    HotKeyPlacement.OnTabOut = [this](fw::Control& frame, bool backward) { return TabToRow(frame, backward); };
    HotKeyPlacement.OnShowFocused = [this](fw::Control& frame) {
        if (const auto* setting = dynamic_cast<THotkeySetting*>(&frame)) {
            if (const int row = RowOf(setting->Hotkey()); row >= 0) ShowRow(row);
        }
    };
    btnOK.PlaceAfter(&pcClient);  // the keyboard reads the window from the tabs down to Close
    SetMinClientSize(kDesignedClient.width, kDesignedClient.height);
    RestorePlacement();
    FormCreate();
}

TSettingsForm::~TSettingsForm() {
    try {
        FormDestroy();
    } catch (...) {
        app_.HandleException();
    }
}

void TSettingsForm::FormCreate() {
    pcClient.SetActivePage(tsHotkeys);
    ShowWindow(app_.Handle(), SW_HIDE);
    HotKeyList_ = std::make_unique<THotkeyList>(data_.HotkeyServices());
    LoadHotkeys();
    refusedListener_ = data_.AddRefusedListener([this] {
        for (const auto& frame : HotKeySettingsList_) frame->ShowRefusedMark();
    });
    lblTitle.SetText(app_.Title() + u" " + data_.FormatVersion(TData::GetFileVersion(fw::Application::ExeName())));
}

void TSettingsForm::FormShow() {
    shown_ = true;
    data_.RetryRefusedHotkeys();  // the frames show what it takes
    BringWindowToTop(app_.Handle());
    BringWindowToTop(Handle());
    SetForegroundWindow(Handle());
    ShowWindow(app_.Handle(), SW_HIDE);
}

void TSettingsForm::FormClose(fw::CloseAction& Action) {
    Action = fw::CloseAction::Free;
    if (SettingsForm == this) SettingsForm = nullptr;
}

void TSettingsForm::FormDestroy() {
    if (SettingsForm == this) SettingsForm = nullptr;  // also when destroyed without closing
    KeepPlacement();                                   // closed, modal or modeless, or still open at the program's end
    HotKeyPlacement.OnViewChange = nullptr;
    edtFind.OnChange = nullptr;
    ClearHotkeySettings();
    HotKeyList_.reset();
    ShowWindow(app_.Handle(), SW_HIDE);
}

void TSettingsForm::LoadHotkeys() {
    ClearHotkeySettings();
    data_.LoadHotkeyFile(*HotKeyList_, /*OnlyActive=*/false);
    // The column keeps list order, the first hotkey at the top; the frames come with its height.
    ApplyFind(/*listChanged=*/true, /*fromTop=*/true);
    chkStartAtWindowsStart.SetChecked(ReadStartAtLogOn());
}

std::unique_ptr<THotkeySetting> TSettingsForm::MakeFrame(TGlobalHotKey& hotkey) {
    auto frame = std::make_unique<THotkeySetting>(HotKeyPlacement, data_, hotkey, *HotKeyList_);
    frame->OnDelete = [this](THotkeySetting& sender) { HotkeySettingDelete(sender); };
    frame->OnSave = [this](THotkeySetting& sender) { HotkeySettingSave(sender); };
    return frame;
}

// Each row in view gets a frame: its own, one that a row out of view no longer needs, or a new
// one. A frame in edit mode or about to go keeps its row, and waits just outside the view while
// it is away.
void TSettingsForm::ArrangeFrames() {
    const fw::Bounds view = HotKeyPlacement.View96();
    if (view.height <= 0) return;  // minimized: the frames wait for the view to come back
    const int first = view.top / kFrameHeight;
    const int end =
        std::min(static_cast<int>(shownRows_.size()), (view.top + view.height + kFrameHeight - 1) / kFrameHeight);
    const auto rowOf = [this](const auto& frame) { return RowOf(frame->Hotkey()); };

    std::vector<bool> framed(static_cast<size_t>(std::max(0, end - first)));
    std::vector<std::unique_ptr<THotkeySetting>> spare;
    for (auto& frame : HotKeySettingsList_) {
        const int row = rowOf(frame);
        const bool keeps = frame->EditMode() || frame.get() == ToBedeletedSetting;
        if (row >= first && row < end && (keeps || !refilling_)) {
            framed[static_cast<size_t>(row - first)] = true;
        } else if (!keeps) {
            spare.push_back(std::move(frame));
        }
    }
    std::erase(HotKeySettingsList_, nullptr);
    // The spare frames are taken in their order: the rows then keep the windows' order, which is
    // slow to change, and a find that changes every row in view moves no window.
    size_t reused = 0;
    for (int row = first; row < end; ++row) {
        if (framed[static_cast<size_t>(row - first)]) continue;
        TGlobalHotKey& hotkey = *HotKeyList_->GetItem(shownRows_[static_cast<size_t>(row)]);
        if (reused == spare.size()) {
            HotKeySettingsList_.push_back(MakeFrame(hotkey));
        } else {
            spare[reused]->SetHotkey(hotkey);
            HotKeySettingsList_.push_back(std::move(spare[reused++]));
        }
    }
    spare.clear();

    std::ranges::sort(HotKeySettingsList_, {}, rowOf);
    const THotkeySetting* previous = nullptr;
    for (const auto& frame : HotKeySettingsList_) {
        const int row = rowOf(frame);
        fw::Bounds bounds = frame->DesignBounds();
        bounds.top = row < first ? view.top - kFrameHeight : row >= end ? view.top + view.height : row * kFrameHeight;
        if (bounds.top != frame->DesignBounds().top) frame->SetBounds(bounds);
        frame->PlaceAfter(previous);  // the keyboard goes through the rows in list order
        previous = frame.get();
    }
}

void TSettingsForm::ShowRow(int row) {
    HotKeyPlacement.ScrollIntoView(fw::ScaleForDpi(row * kFrameHeight, Dpi()),
                                   fw::ScaleForDpi((row + 1) * kFrameHeight, Dpi()));
}

// Only the rows in view have frames: Tab past a frame brings the next row into view and focuses its
// first control, Shift+Tab the row before and its last control.
bool TSettingsForm::TabToRow(fw::Control& frame, bool backward) {
    const auto* setting = dynamic_cast<THotkeySetting*>(&frame);
    if (setting == nullptr) return false;
    const int shown = RowOf(setting->Hotkey());
    const int row = shown + (backward ? -1 : 1);
    if (shown < 0 || row < 0 || row >= static_cast<int>(shownRows_.size())) return false;
    ShowRow(row);
    for (const auto& next : HotKeySettingsList_) {
        if (RowOf(next->Hotkey()) != row) continue;
        const HWND stop = fw::FirstTabStop(next->Handle(), /*last=*/backward);
        if (stop == nullptr) return false;
        FocusControl(stop);
        return true;
    }
    return false;
}

void TSettingsForm::SaveHotkeys() {
    const std::u16string file = data_.DataFile(dftHotkeys);
    HotKeyList_->SaveToFile(file);
    WriteStartAtLogOn(chkStartAtWindowsStart.Checked());
    const std::optional<std::string> saved = data_.HotkeyServices().files.Read(file);
    data_.InitApp();
    // The first-use guide that InitApp may show writes its suggestions into the file: the working
    // copy follows, or the next save would write the old list over them. The column is rebuilt
    // once the handler that saved (a frame's Save, whose frame goes too) has returned.
    if (data_.HotkeyServices().files.Read(file) != saved) Defer([this] { LoadHotkeys(); });
}

void TSettingsForm::ClearHotkeySettings() {
    ToBedeletedSetting = nullptr;
    tmrDeleteSetting.SetEnabled(false);
    HotKeySettingsList_.clear();
}

void TSettingsForm::HotkeySettingSave(THotkeySetting& /*Sender*/) {
    SaveHotkeys();
    // The saved texts may no longer hold the find: once the frame's Save has returned, for the frame
    // may go.
    Defer([this] { ApplyFind(/*listChanged=*/true, /*fromTop=*/false); });
}

// A frame is never destroyed inside its own Delete button's handler: the timer does it.
void TSettingsForm::HotkeySettingDelete(THotkeySetting& Sender) {
    ToBedeletedSetting = &Sender;
    tmrDeleteSetting.SetEnabled(true);
}

void TSettingsForm::tmrDeleteSettingTimer() {
    tmrDeleteSetting.SetEnabled(false);
    THotkeySetting* const frame = std::exchange(ToBedeletedSetting, nullptr);
    const auto found = std::find_if(HotKeySettingsList_.begin(), HotKeySettingsList_.end(),
                                    [frame](const auto& item) { return item.get() == frame; });
    if (found == HotKeySettingsList_.end()) return;
    HotKeyList_->Delete(HotKeyList_->IndexOf(&frame->Hotkey()));
    HotKeySettingsList_.erase(found);
    ApplyFind(/*listChanged=*/true, /*fromTop=*/false);  // the column closes the gap
    SaveHotkeys();
}

void TSettingsForm::btnOKClick() {
    Close();
}

void TSettingsForm::Button1Click() {
    edtFind.SetText(u"");  // the new hotkey is to be seen
    TfrmAddHotkey wizard(app_, Handle(), data_);
    if (wizard.ShowModal() != fw::mrOk) return;
    LoadHotkeys();
    ShowRow(HotKeyList_->Count() - 1);  // the wizard appends it
}

void TSettingsForm::edtFindChange() {
    ApplyFind(/*listChanged=*/false, /*fromTop=*/true);
}

bool TSettingsForm::FormKeyDown(UINT key) {
    // Ctrl+F in a frame's key box is a key being chosen, not a find.
    const bool inKeyBox = dynamic_cast<fw::HotKeyEdit*>(fw::Control::FromHandle(GetFocus())) != nullptr;
    if (key == 'F' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0 && !inKeyBox) {
        pcClient.SetActivePage(tsHotkeys);
        FocusControl(edtFind.Handle());
        return true;
    }
    // Esc clears a find first; in an empty box it closes the window as anywhere else.
    if (key != VK_ESCAPE || GetFocus() != edtFind.Handle() || edtFind.Text().empty()) return false;
    edtFind.SetText(u"");
    return true;
}

void TSettingsForm::ApplyFind(bool listChanged, bool fromTop) {
    // Made with the list, not at the first key: naming the keys of many hotkeys takes the system a while.
    if (listChanged) {
        findTexts_ = HotkeyFindTexts(*HotKeyList_, [this](uint16_t key) { return data_.HotkeyToString(key, 0); });
    }
    shownRows_ = FindRows(findTexts_, edtFind.Text());
    rowOfPosition_.assign(static_cast<size_t>(HotKeyList_->Count()), -1);
    for (size_t row = 0; row < shownRows_.size(); ++row)
        rowOfPosition_[static_cast<size_t>(shownRows_[row])] = static_cast<int>(row);
    lblFound.SetText(FoundCountText(shownRows_.size(), static_cast<size_t>(HotKeyList_->Count())));
    // A new find fills the rows in view with the frames there, in their order: none moves.
    refilling_ = fromTop;
    const fw::ScopeExit refilled([this] { refilling_ = false; });
    if (fromTop && HotKeyPlacement.ScrollPosition() != 0) HotKeyPlacement.ScrollTo(0);
    HotKeyPlacement.SetVirtualHeight(static_cast<int>(shownRows_.size()) * kFrameHeight);  // places the frames
}

int TSettingsForm::RowOf(const TGlobalHotKey& hotkey) const {
    const int position = HotKeyList_->IndexOf(&hotkey);
    return position < 0 || position >= static_cast<int>(rowOfPosition_.size())
               ? -1
               : rowOfPosition_[static_cast<size_t>(position)];
}

void TSettingsForm::btnCheckForUpdatesClick() {
    checkingForUpdates_ = true;
    try {
        CheckForUpdatesFrom(app_, Handle(), btnCheckForUpdates.Handle(), OpenPage);
    } catch (...) {
        checkingForUpdates_ = false;
        throw;
    }
    checkingForUpdates_ = false;
}

// The log-on entry follows the box at once, not only with the next hotkey save.
void TSettingsForm::chkStartAtWindowsStartClick() {
    try {
        WriteStartAtLogOn(chkStartAtWindowsStart.Checked());
    } catch (...) {
        chkStartAtWindowsStart.SetChecked(ReadStartAtLogOn());
        throw;
    }
}

void TSettingsForm::lblWebClick() {
    OpenPage(Handle(), kWebSiteAddress);
}

void TSettingsForm::lblMailClick() {
    OpenPage(Handle(), std::u16string(u"mailto:") + kAuthorMailAddress);
}

void TSettingsForm::btnExportClick() {
    fw::SaveDialog dialog;
    dialog.Title = u"Export hotkeys";
    dialog.Filter = kHotkeyFilesFilter;
    dialog.FileName = u"hotkeys.ini";
    dialog.SetDefaultExt(u"ini");
    dialog.OverwritePrompt = true;
    if (!dialog.Execute(Handle())) return;
    data_.HotkeyServices().files.Replace(dialog.FileName, HotKeyList_->FileBytes());
}

void TSettingsForm::btnImportClick() {
    const fw::FileDialogResult chosen = fw::ShowFileDialog({.owner = Handle(),
                                                            .filter = kHotkeyFilesFilter,
                                                            .fileName = {},
                                                            .flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST,
                                                            .title = L"Import hotkeys",
                                                            .failure = u"The file dialog could not be shown"});
    if (!chosen.chosen) return;
    const std::optional<TImportCount> count = ImportHotkeyFile(*HotKeyList_, chosen.fileName, data_.HotkeyServices());
    if (!count) {
        fw::MessageDlg(Handle(), kNothingImportedText, fw::MessageType::Information, fw::MessageButtons::Ok);
        return;
    }
    if (count->imported > 0) {
        try {
            SaveHotkeys();
        } catch (...) {
            LoadHotkeys();  // the working copy as the file still is, without what could not be saved
            throw;
        }
        LoadHotkeys();
    }
    fw::MessageDlg(Handle(), ImportedText(*count), fw::MessageType::Information, fw::MessageButtons::Ok);
}

void TSettingsForm::RestorePlacement() {
    const fw::RegistryIni settings(data_.DataFile(dftRegKey));
    const std::optional<TWindowPlacement> placement =
        RestoredPlacement(settings.ReadString(kSettingsPlacementValue, u""), FormMonitors(*this));
    if (placement) PlaceAt(placement->normal, placement->maximized);
}

void TSettingsForm::KeepPlacement() {
    if (!shown_ || !IsWindow(Handle())) return;
    fw::RegistryIni(data_.DataFile(dftRegKey))
        .WriteString(kSettingsPlacementValue, PlacementToText({.normal = NormalBounds(), .maximized = Maximized()}));
}

void TSettingsForm::DeleteAfterRelease() {
    const auto found = std::find_if(modelessForms.begin(), modelessForms.end(),
                                    [this](const auto& form) { return form.get() == this; });
    if (found == modelessForms.end()) return;
    const std::unique_ptr<TSettingsForm> freed = std::move(*found);
    modelessForms.erase(found);
}

TSettingsForm& OpenSettingsForm(fw::Application& app, TData& data) {
    if (SettingsForm == nullptr) {
        modelessForms.push_back(std::make_unique<TSettingsForm>(app, data));
        SettingsForm = modelessForms.back().get();
    }
    return *SettingsForm;
}

void ShowSettingsForm(fw::Application& app, TData& data) {
    OpenSettingsForm(app, data).Show();
}

void FreeSettingsForms() {
    // One at a time, newest first: a window going does not find itself in a half-cleared list.
    while (!modelessForms.empty()) {
        const std::unique_ptr<TSettingsForm> last = std::move(modelessForms.back());
        modelessForms.pop_back();
    }
}

}  // namespace corvalend
