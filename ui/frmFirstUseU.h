// The first-use guide: three pages that welcome the user, offer the log-on start and four suggested
// hotkeys, and can open the settings window for more. Finish writes the chosen suggestions into the
// hotkey file, marks the guide as done in the registry and writes the log-on entry; Cancel and the
// close box leave everything as it was, so the guide comes back until it has been finished once.
#pragma once

#include <windows.h>

#include <memory>

#include "controls/BControls.h"
#include "framework/ControlsContainers.h"
#include "framework/ControlsStandard.h"
#include "framework/GdiObjects.h"
#include "ui/WizardForm.h"
#include "ui/frmFirstUseRules.h"

namespace corvalend {

class TData;
class TSettingsForm;

// The maker's web site behind the guide's link.
inline constexpr char16_t kMakerWebSite[] = u"https://www.tamberlo.example/";

class TfrmFirstUse final : public TWizardForm {
public:
    // `data` is the data module whose hotkey file and registry key the guide writes. Centred on the
    // screen; `owner` may be null.
    TfrmFirstUse(fw::Application& app, HWND owner, TData& data);
    ~TfrmFirstUse() override;

    // Page 1: welcome.
    fw::TabSheet tsWelcome{pcClient, u"Welcome"};
    fw::Label Label10{tsWelcome, {.text = u"Setup Corvalend", .bounds = {32, 16, 500, 19}}};
    fw::Label Label11{
        tsWelcome,
        {.text = u"Use this simple guide to setup the most basic features of Corvalend.", .bounds = {32, 48, 500, 13}}};
    fw::Label Label12{tsWelcome,
                      {.text = u"Click the Next button below to go to the next page.", .bounds = {32, 68, 500, 13}}};
    fw::Label Label13{tsWelcome, {.text = u"Thank you for choosing Corvalend", .bounds = {32, 252, 500, 13}}};
    TBLabel lblLink;

    // Page 2: start at log-on.
    fw::TabSheet tsStartup{pcClient, u"Startup"};
    fw::Label Label1{tsStartup, {.text = u"Start this program when you log on", .bounds = {32, 16, 500, 19}}};
    fw::Label Label4{tsStartup,
                     {.text = u"Check the checkbox below to let Corvalend start when you start your computer.",
                      .bounds = {32, 48, 500, 13}}};
    fw::CheckBox chkStartAtWindowsStart{tsStartup,
                                        {.text = u"&Start when you log on Windows", .bounds = {32, 76, 300, 17}},
                                        /*checked=*/true};

    // Page 3: the suggested hotkeys.
    fw::TabSheet tsHotkeys{pcClient, u"Hotkeys"};
    fw::Label Label2{tsHotkeys, {.text = u"Suggested new hotkeys", .bounds = {32, 16, 500, 19}}};
    fw::Label Label3{tsHotkeys,
                     {.text = u"Use the checkboxes below to enable or disable the suggested global hotkeys.",
                      .bounds = {32, 48, 500, 13}}};
    fw::Label Label5{tsHotkeys,
                     {.text = u"Click the button More Hotkeys to setup other hotkeys than the suggested list below.",
                      .bounds = {32, 68, 500, 13}}};
    fw::CheckBox chkKeyMinimize{tsHotkeys, {.text = u"WIN + NUM /", .bounds = {32, 100, 140, 17}}, true};
    fw::Label Label6{tsHotkeys, {.text = u"Minimize active window", .bounds = {180, 102, 320, 13}}};
    fw::CheckBox chkKeyMaximize{tsHotkeys, {.text = u"WIN + NUM *", .bounds = {32, 124, 140, 17}}, true};
    fw::Label Label7{tsHotkeys, {.text = u"Maximize or restore active window", .bounds = {180, 126, 320, 13}}};
    fw::CheckBox chkKeyScreenCapture{tsHotkeys, {.text = u"WIN + S", .bounds = {32, 148, 140, 17}}, true};
    fw::Label Label8{tsHotkeys, {.text = u"Save screen capture", .bounds = {180, 150, 320, 13}}};
    fw::CheckBox chkKeyOpenNotepad{tsHotkeys, {.text = u"WIN + N", .bounds = {32, 172, 140, 17}}, true};
    fw::Label Label9{tsHotkeys, {.text = u"Open notepad", .bounds = {180, 174, 320, 13}}};
    fw::Button btnSetupMoreHotkeys{tsHotkeys, {.text = u"Setup more &hotkeys", .bounds = {32, 204, 130, 25}}};

    // The suggestion boxes in the order of TSuggestion.
    fw::CheckBox& SuggestionBox(TSuggestion suggestion);
    // The settings window "&Setup more hotkeys" shows, while it is open.
    TSettingsForm* MoreHotkeysWindow() const { return moreHotkeys_.get(); }
    // True once Finish or "&Setup more hotkeys" has written the hotkey file.
    bool WroteHotkeyFile() const { return wroteHotkeyFile_; }

    // Event handlers, also callable as the user's actions.
    void btnNextClick();
    void btnCancelClick();
    void btnSetupMoreHotkeysClick();

private:
    void FormCreate();
    void MarkSuggestionsHeldByOthers();
    void LoadSuggestions();
    void SaveSuggestions();

    fw::Application& app_;
    TData& data_;
    fw::Font headingFont_{L"Tahoma", 12, RGB(0x31, 0x69, 0xC6)};
    std::unique_ptr<TSettingsForm> moreHotkeys_;
    bool suggestionsTested_ = false;
    bool wroteHotkeyFile_ = false;
};

// The guide the first-run check shows, null while none is open.
extern TfrmFirstUse* frmFirstUse;

struct TFirstUseGuideEnd {
    int modalResult = fw::mrNone;  // mrOk after Finish, mrCancel otherwise; mrNone when none was shown
    bool wroteHotkeyFile = false;
};

// Shows the guide modally as the first-run check does: made owned by no window, set as frmFirstUse
// while it is open, freed afterwards (also when showing it fails). Nothing happens while a guide
// is open already.
TFirstUseGuideEnd ShowFirstUseGuide(fw::Application& app, TData& data);

}  // namespace corvalend
