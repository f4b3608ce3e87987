// The settings window: every hotkey of the hotkey file in its own editor frame, the new-hotkey
// wizard, the log-on option, the update check and the about lines. It edits a private copy of the
// hotkeys; every saved change goes to the hotkey file at once and the live hotkeys are rebuilt
// from it. Closing the window frees it. The tray's window (which the missing-file check also shows)
// belongs to the list of modeless settings windows here; the first-use guide owns the one it opens.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "controls/BControls.h"
#include "controls/SimpleTimer.h"
#include "core/Hotkeys.h"
#include "framework/ControlsContainers.h"
#include "framework/ControlsStandard.h"
#include "framework/Form.h"
#include "ui/CheckForUpdates.h"
#include "ui/HotkeyFindRules.h"
#include "ui/HotkeySettingU.h"

namespace corvalend {

class TData;

// The product's web site and the author's address, as the about lines show them.
inline constexpr char16_t kWebSiteAddress[] = u"https://www.corvalend.example/";
inline constexpr char16_t kAuthorMailAddress[] = u"author@corvalend.example";

class TSettingsForm final : public fw::Form {
public:
    // A hidden window showing the hotkey file's hotkeys. Closing it frees it through its owner.
    TSettingsForm(fw::Application& app, TData& data, HWND owner = nullptr);
    ~TSettingsForm() override;

    fw::Button btnOK{*this,
                     {.text = u"&Close", .bounds = {729, 433, 75, 25}, .anchors = fw::akRight | fw::akBottom},
                     {.isDefault = true, .isCancel = true}};
    fw::PageControl pcClient{*this, {.bounds = {4, 4, 804, 421}, .anchors = fw::kAnchorAll}};

    fw::TabSheet tsHotkeys{pcClient, u"&Hotkeys"};
    fw::Panel Panel1{tsHotkeys, {.bounds = {0, 0, 796, 60}, .anchors = fw::akLeft | fw::akTop | fw::akRight}};
    fw::Button Button1{Panel1, {.text = u"&New hotkey", .bounds = {8, 17, 100, 25}}};
    fw::Label Label1{Panel1,
                     {.text = u"Use this window to manage your hotkeys. Click the \"New Hotkey\" button to add a new "
                              u"hotkey.",
                      .bounds = {120, 14, 668, 13},
                      .anchors = fw::akLeft | fw::akTop | fw::akRight}};
    fw::Label Label2{Panel1,
                     {.text = u"To edit existing hotkeys click the \"Edit\" button to the left of the hotkey you would "
                              u"like to edit. Click \"Save\" when done.",
                      .bounds = {120, 32, 668, 26},
                      .anchors = fw::akLeft | fw::akTop | fw::akRight}};
    // Find: the column shows only the rows whose frame shows the text; Ctrl+F comes here.
    fw::Label lblFind{tsHotkeys, {.text = kFindCaption, .bounds = {8, 67, 40, 13}}, {.wordWrap = false}};
    fw::Edit edtFind{tsHotkeys, {.bounds = {50, 64, 220, 21}}};
    fw::Label lblFound{tsHotkeys, {.bounds = {280, 67, 300, 13}}, {.wordWrap = false, .showAccelChar = false}};
    fw::ColumnScrollBox HotKeyPlacement{tsHotkeys, {.bounds = {0, 90, 796, 305}, .anchors = fw::kAnchorAll}};

    fw::TabSheet tsOtherSettings{pcClient, u"&Other settings"};
    fw::CheckBox chkStartAtWindowsStart{tsOtherSettings,
                                        {.text = u"&Start when you log on Windows", .bounds = {16, 16, 280, 17}}};
    fw::Button btnCheckForUpdates{tsOtherSettings, {.text = u"Check for &updates", .bounds = {16, 44, 120, 25}}};
    fw::Button btnExport{tsOtherSettings, {.text = u"E&xport hotkeys...", .bounds = {16, 84, 120, 25}}};
    fw::Button btnImport{tsOtherSettings, {.text = u"I&mport hotkeys...", .bounds = {16, 114, 120, 25}}};
    fw::Label lblTitle{tsOtherSettings,
                       {.bounds = {480, 16, 300, 13}, .anchors = fw::akTop | fw::akRight},
                       {.wordWrap = false, .showAccelChar = false}};
    fw::Label lblCopyright{tsOtherSettings,
                           {.text = u"Copyright \u00A9 2026 Tamberlo. All rights reserved.",
                            .bounds = {480, 34, 300, 13},
                            .anchors = fw::akTop | fw::akRight},
                           {.wordWrap = false, .showAccelChar = false}};
    TBLabel lblWeb;
    TBLabel lblMail;

    TSimpleTimer tmrDeleteSetting;

    // Opens the web site, the new mail and the download page; the shell's "open" unless replaced.
    PageOpener OpenPage;

    // The working copy, and its frames in list order: the column has frames only for the rows in
    // view and for those in edit mode, whose edits stay while they are scrolled away.
    THotkeyList& HotKeyList() const { return *HotKeyList_; }
    const std::vector<std::unique_ptr<THotkeySetting>>& HotKeySettingsList() const { return HotKeySettingsList_; }

    // Event handlers, also callable as the user's actions.
    void btnOKClick();
    void Button1Click();
    void btnCheckForUpdatesClick();
    void chkStartAtWindowsStartClick();
    void lblWebClick();
    void lblMailClick();
    void edtFindChange();
    // The whole list to a file the user chooses; a chosen file's hotkeys after the list's own.
    void btnExportClick();
    void btnImportClick();

protected:
    // A modeless window leaves its list; any other is freed by whoever made it.
    void DeleteAfterRelease() override;

private:
    void FormCreate();
    void FormShow();
    void FormClose(fw::CloseAction& Action);
    void FormDestroy();
    void HotkeySettingDelete(THotkeySetting& Sender);
    void HotkeySettingSave(THotkeySetting& Sender);
    void tmrDeleteSettingTimer();

    void LoadHotkeys();
    void SaveHotkeys();
    void ClearHotkeySettings();
    void ArrangeFrames();
    void ShowRow(int row);
    bool TabToRow(fw::Control& frame, bool backward);
    std::unique_ptr<THotkeySetting> MakeFrame(TGlobalHotKey& hotkey);
    bool FormKeyDown(UINT key);
    // Applies the find to the working list as it now is (the texts it finds by made again when
    // `listChanged`), from the top of the column or where it is.
    void ApplyFind(bool listChanged, bool fromTop);
    // A hotkey's row in the column, -1 when the find hides it.
    int RowOf(const TGlobalHotKey& hotkey) const;
    // The window opens where it was left when that monitor is still there; it is kept when it goes.
    void RestorePlacement();
    void KeepPlacement();

    fw::Application& app_;
    TData& data_;
    std::unique_ptr<THotkeyList> HotKeyList_;
    // Last: the frames go before the list whose hotkeys they show and before the column.
    std::vector<std::unique_ptr<THotkeySetting>> HotKeySettingsList_;
    THotkeySetting* ToBedeletedSetting = nullptr;
    std::vector<std::u16string> findTexts_;  // per hotkey of the list
    std::vector<int> shownRows_;             // the list's positions of the column's rows
    std::vector<int> rowOfPosition_;         // and back: the row of each position, -1 when hidden
    bool refilling_ = false;                 // the rows in view take the frames there, whichever they showed
    fw::Subscription refusedListener_;       // the frames follow the live hotkeys' refused marks
    // While the update check started here waits, the window refuses to close: it would be freed
    // under the button's handler.
    bool checkingForUpdates_ = false;
    bool shown_ = false;  // only a window that was on the screen has a place to keep
};

// The settings window shown from the tray, null while none is open: a view of the window in the
// list of modeless settings windows, which also keeps a closed one until its handlers have returned.
extern TSettingsForm* SettingsForm;

// The one modeless settings window, made (hidden) when there is none.
TSettingsForm& OpenSettingsForm(fw::Application& app, TData& data);
// Shows the one modeless settings window, making it when there is none.
void ShowSettingsForm(fw::Application& app, TData& data);
// Frees every modeless settings window, open or closed: at the end, before the data module goes.
void FreeSettingsForms();

}  // namespace corvalend
