// The settings window: one editor frame per hotkey, the wizard, the log-on box and the update check.
#include "ui/SettingsFormU.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/datau.h"
#include "framework/Application.h"
#include "framework/ShellOpen.h"
#include "framework/WinText.h"
#include "ui/frmAddHotkeyU.h"

namespace corvalend {

TSettingsForm* SettingsForm = nullptr;

namespace {

// The modeless settings windows: the open one (SettingsForm), and one closed while a handler of it
// still runs, until the handler has returned.
std::vector<std::unique_ptr<TSettingsForm>> modelessForms;

TLabelFont LinkFont() {
    return {.Style = fsUnderline, .Color = RGB(0, 0, 255)};
}

void OpenInShell(HWND window, const std::u16string& target) {
    fw::ShellOpen(target, {.owner = window});
}

}  // namespace

TSettingsForm::TSettingsForm(fw::Application& app, TData& data, HWND owner)
    : Form(app,
           owner,
           {.caption = u"Settings",
            .clientWidth = 812,
            .clientHeight = 466,
            .border = fw::FormBorder::Sizeable,
            .position = fw::FormPosition::ScreenCenter}),
      lblWeb(app,
             tsOtherSettings,
             {.text = kWebSiteAddress, .bounds = {480, 58, 300, 13}, .anchors = fw::akTop | fw::akRight},
             LinkFont()),
      lblMail(app,
              tsOtherSettings,
              {.text = kAuthorMailAddress, .bounds = {480, 76, 300, 13}, .anchors = fw::akTop | fw::akRight},
              LinkFont()),
      tmrDeleteSetting(10, [this](TSimpleTimer&) { tmrDeleteSettingTimer(); }),
      app_(app),
      data_(data) {
    // The pages' own size depends on the tab control's metrics: fit the hotkey page's parts to it.
    const fw::Bounds page = pcClient.PageBounds96();
    Panel1.SetBounds({0, 0, page.width, 60});
    HotKeyPlacement.SetBounds({0, 60, page.width, page.height - 60});
    for (TBLabelPanel* link : {&lblWeb, &lblMail}) {
        link->Label().SetCursor(LoadCursorW(nullptr, IDC_HAND));
        link->Label().SetHoverColor(RGB(0, 0, 255));
    }

    btnOK.OnClick = [this] { btnOKClick(); };
    Button1.OnClick = [this] { Button1Click(); };
    btnCheckForUpdates.OnClick = [this] { btnCheckForUpdatesClick(); };
    chkStartAtWindowsStart.OnClick = [this] { chkStartAtWindowsStartClick(); };
    lblWeb.Label().OnClick = [this](TBLabel&) { lblWebClick(); };
    lblMail.Label().OnClick = [this](TBLabel&) { lblMailClick(); };
    OpenPage = OpenInShell;
    OnShow = [this] { FormShow(); };
    OnClose = [this](fw::CloseAction& action) { FormClose(action); };
    OnCloseQuery = [this] { return !checkingForUpdates_; };
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
    HotKeyList_ = std::make_unique<THotkeyList>(data_.System());
    LoadHotkeys();
    lblTitle.SetText(app_.Title() + u" " + data_.FormatVersion(TData::GetFileVersion(fw::Application::ExeName())));
}

void TSettingsForm::FormShow() {
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
    ClearHotkeySettings();
    HotKeyList_.reset();
    ShowWindow(app_.Handle(), SW_HIDE);
}

void TSettingsForm::LoadHotkeys() {
    ClearHotkeySettings();
    data_.LoadHotkeyFile(*HotKeyList_, /*OnlyActive=*/false);
    // The column keeps list order, the first hotkey at the top.
    for (int i = 0; i < HotKeyList_->Count(); ++i) {
        auto frame = std::make_unique<THotkeySetting>(HotKeyPlacement, data_, *HotKeyList_->GetItem(i), *HotKeyList_);
        frame->OnDelete = [this](THotkeySetting& sender) { HotkeySettingDelete(sender); };
        frame->OnSave = [this](THotkeySetting& sender) { HotkeySettingSave(sender); };
        HotKeySettingsList_.push_back(std::move(frame));
    }
    chkStartAtWindowsStart.SetChecked(ReadStartAtLogOn());
}

void TSettingsForm::SaveHotkeys() {
    const std::u16string file = data_.DataFile(dftHotkeys);
    HotKeyList_->SaveToFile(file);
    WriteStartAtLogOn(chkStartAtWindowsStart.Checked());
    const std::optional<std::string> saved = data_.System().files.Read(file);
    data_.InitApp();
    // The first-use guide that InitApp may show writes its suggestions into the file: the working
    // copy follows, or the next save would write the old list over them. The column is rebuilt
    // once the handler that saved (a frame's Save, whose frame goes too) has returned.
    if (data_.System().files.Read(file) != saved) Defer([this] { LoadHotkeys(); });
}

void TSettingsForm::ClearHotkeySettings() {
    ToBedeletedSetting = nullptr;
    tmrDeleteSetting.SetEnabled(false);
    HotKeySettingsList_.clear();
}

void TSettingsForm::HotkeySettingSave(THotkeySetting& /*Sender*/) {
    SaveHotkeys();
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
    SaveHotkeys();
}

void TSettingsForm::btnOKClick() {
    Close();
}

void TSettingsForm::Button1Click() {
    TfrmAddHotkey wizard(app_, Handle(), data_);
    if (wizard.ShowModal() == fw::mrOk) LoadHotkeys();
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

void TSettingsForm::FreeReleased() {
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
