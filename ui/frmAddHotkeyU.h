// The new-hotkey wizard: page one takes the key and its modifiers, page two the action and its
// parameters. Finish appends the hotkey to the wizard's own copy of the hotkey file, writes the file
// and has the data module reload and register the live hotkeys. The action chosen last is kept in
// the registry and offered again the next time.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "core/Hotkeys.h"
#include "framework/AccessibleName.h"
#include "framework/ControlsContainers.h"
#include "framework/ControlsStandard.h"
#include "framework/GdiObjects.h"
#include "framework/OpenDialog.h"
#include "ui/HotkeySettingRules.h"
#include "ui/ModifierBoxes.h"
#include "ui/SaveQuestions.h"
#include "ui/WizardForm.h"
#include "ui/frmAddHotkeyRules.h"

namespace corvalend {

class TData;

// The registry value, in the program's key, with the stored name of the action chosen last.
inline constexpr char16_t kAddHotKeyFuncValue[] = u"AddHotKey_Func";

class TfrmAddHotkey final : public TWizardForm {
public:
    // `data` is the data module whose hotkey file the wizard extends and whose live hotkeys it reloads.
    TfrmAddHotkey(fw::Application& app, HWND owner, TData& data);
    ~TfrmAddHotkey() override;

    // Page 1: the key.
    fw::TabSheet tsKey{pcClient, u"Key"};

    fw::Label Label1{tsKey, {.text = u"Choose a key", .bounds = {32, 16, 500, 19}}};
    fw::Label Label4{tsKey,
                     {.text = u"Type a \"Key\" in the key edit box and select one or more shift keys in the checkboxes "
                              u"below.",
                      .bounds = {32, 44, 520, 26}}};
    fw::Label Label5{
        tsKey,
        {.text = u"Shift keys are the keys which is held down while pressing the key.", .bounds = {32, 72, 520, 13}}};
    fw::Label Label2{tsKey, {.text = u"&Key:", .bounds = {32, 107, 70, 13}}};
    fw::HotKeyEdit HotKey1{tsKey, {.bounds = {106, 104, 150, 21}}, /*bareKey=*/true};
    fw::Label Label3{tsKey, {.text = u"Shift key:", .bounds = {32, 137, 70, 13}}};
    fw::CheckBox ShiftKeyWin{tsKey, {.text = u"&WIN", .bounds = {106, 136, 97, 17}}};
    fw::CheckBox ShiftKeyALt{tsKey, {.text = u"&ALT", .bounds = {106, 159, 97, 17}}};
    fw::CheckBox ShiftKeyCTRL{tsKey, {.text = u"&CTRL", .bounds = {106, 182, 97, 17}}};
    fw::CheckBox ShiftKeyShift{tsKey, {.text = u"&SHIFT", .bounds = {106, 205, 97, 17}}};

    // Page 2: the action.
    fw::TabSheet tsAction{pcClient, u"Action"};
    fw::Label Label6{tsAction, {.text = u"Choose an action", .bounds = {32, 16, 500, 19}}};
    fw::Label Label7{tsAction,
                     {.text = u"Select the action to be executed when the hotkey is pressed in the box below.",
                      .bounds = {32, 48, 500, 13}}};
    fw::Label Label8{tsAction,
                     {.text = u"Some actions need additional parameters to run. You can type those in the box called "
                              u"parameters below.",
                      .bounds = {32, 68, 500, 26}}};
    fw::Label Label9{tsAction, {.text = u"Ac&tion:", .bounds = {32, 115, 88, 13}}};
    fw::ComboBox cbAction{tsAction, {.bounds = {126, 112, 200, 21}}, /*dropDownCount=*/12};
    // Two lines high for the delay's longer caption.
    fw::Label Label10{tsAction, {.text = kWizardParametersCaption, .bounds = {32, 146, 88, 26}, .visible = false}};
    fw::Edit edtParameters{tsAction, {.bounds = {126, 143, 377, 21}, .visible = false}};
    fw::Button btnParameters{tsAction, {.text = u"&...", .bounds = {509, 142, 23, 23}, .visible = false}};
    fw::AccessibleName btnParametersName{btnParameters.Handle(), [] { return std::u16string(kChooseParametersName); }};
    fw::Label lblAdditionalParameters{
        tsAction,
        {.text = u"Additional paramters:", .bounds = {32, 174, 88, 26}, .visible = false}};
    fw::Edit edtAdditionalParameters{tsAction, {.bounds = {126, 174, 377, 21}, .visible = false}};
    fw::ComboBox cbParam3{tsAction, {.bounds = {126, 205, 200, 21}, .visible = false}};
    // The window state has no label of its own for the system to take its name from.
    fw::AccessibleName cbParam3Name{cbParam3.Handle(), [] { return std::u16string(kWindowStateName); }};

    fw::OpenDialog OpenDialog1;

    // The hotkeys of the file as it was when the wizard was made, with the new one once added.
    const THotkeyList& HotKeyList() const { return *HotKeyList_; }

private:
    void FormCreate();
    void FormDestroy();
    void btnNextClick();
    void cbActionSelect();
    void btnParametersClick();

    // The message of the first failing check, shown as an error; false when one failed.
    bool ValidatePage(TWizardPage page);
    // The questions before saving (SaveQuestions) in Yes/No boxes; false when one was answered No.
    bool AskBeforeSaving(SaveStep step);
    void SaveNewHotkey();
    int32_t GetShiftState() const;
    THotKeyFunc GetFunc() const;
    std::u16string GetParameters() const;
    std::u16string GetParameters2() const;
    std::u16string GetParameters3() const;

    fw::Application& app_;
    TData& data_;
    fw::Font headingFont_{L"Tahoma", 12, fw::SystemColorSpec(COLOR_WINDOWTEXT)};
    std::unique_ptr<THotkeyList> HotKeyList_;
    // The hotkey as the key page let it pass: Finish does not ask about its combination again.
    THotKeyData keyPageAccepted_;
};

inline constexpr TModifierBoxes<TfrmAddHotkey> kWizardModifierBoxes{
    &TfrmAddHotkey::ShiftKeyALt, &TfrmAddHotkey::ShiftKeyCTRL, &TfrmAddHotkey::ShiftKeyShift,
    &TfrmAddHotkey::ShiftKeyWin};

}  // namespace corvalend
