// The hotkey editor frame: one hotkey of the settings window's working list, shown read-only in a
// view panel or edited in place in an edit panel with Save and Cancel. The frame never writes the
// hotkey file and never registers hotkeys: Save copies its values into the hotkey and raises
// OnSave; Delete, once confirmed, raises OnDelete. Its owner handles both.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/Hotkeys.h"
#include "core/datau.h"
#include "framework/AccessibleName.h"
#include "framework/ControlsContainers.h"
#include "framework/ControlsStandard.h"
#include "ui/HotkeySettingRules.h"
#include "ui/HotkeyViewPanel.h"
#include "ui/ModifierBoxes.h"

namespace corvalend {

// The edit panel of a hotkey editor frame, its controls in keyboard order. A frame makes it the
// first time it needs it: most frames of a column are only ever looked at.
struct THotkeyEditPanel {
    explicit THotkeyEditPanel(fw::Container& owner) : Owner(owner) {}

    fw::Container& Owner;
    fw::Panel Panel5{Owner,
                     {.bounds = {0, 0, 754, 97}, .anchors = fw::akLeft | fw::akTop | fw::akRight, .visible = false},
                     {.color = RGB(255, 255, 255)}};

    fw::Bevel Bevel2{Panel5, {.bounds = {0, 0, 2, 97}}, fw::BevelShape::VerticalLine};
    fw::Bevel Bevel3{Panel5, {.bounds = {0, 95, 754, 2}, .anchors = fw::akLeft | fw::akTop | fw::akRight}};
    fw::CheckBox ckbActive{Panel5, {.text = u"Ac&tive", .bounds = {6, 24, 62, 17}}};
    fw::Label Label6{Panel5, {.text = u"Shift key:", .bounds = {76, 8, 120, 13}}};
    fw::CheckBox ShiftKeyAlt{Panel5, {.text = u"&ALT", .bounds = {76, 24, 60, 17}}};
    fw::CheckBox ShiftKeyShift{Panel5, {.text = u"SH&IFT", .bounds = {141, 24, 60, 17}}};
    fw::CheckBox ShiftKeyCtrl{Panel5, {.text = u"CT&RL", .bounds = {76, 44, 60, 17}}};
    fw::CheckBox ShiftKeyWin{Panel5, {.text = u"&WIN", .bounds = {141, 44, 60, 17}}};
    fw::Label Label5{Panel5, {.text = u"Key:", .bounds = {206, 8, 76, 13}}};
    fw::HotKeyEdit HotKey1{Panel5, {.bounds = {206, 24, 76, 21}}, /*bareKey=*/true};
    fw::Label Label7{Panel5, {.text = u"Action:", .bounds = {288, 8, 190, 13}}};
    // Wide enough for the longest action with the list's arrow, at 96 and 144 DPI.
    fw::ComboBox cbAction{Panel5, {.bounds = {288, 24, 190, 21}}, 12};
    // The parameter captions end with their fields: a narrow frame moves Save and Cancel over them.
    fw::Label Label8{Panel5,
                     {.text = kParametersCaption,
                      .bounds = {486, 8, 147, 13},
                      .anchors = fw::akLeft | fw::akTop | fw::akRight,
                      .visible = false}};
    fw::Edit edtParameters{
        Panel5,
        {.bounds = {486, 24, 147, 21}, .anchors = fw::akLeft | fw::akTop | fw::akRight, .visible = false}};
    fw::Button btnParameters{Panel5,
                             {.text = u"&...", .bounds = {635, 24, 23, 21}, .anchors = fw::akTop | fw::akRight}};
    fw::AccessibleName btnParametersName{btnParameters.Handle(), [] { return std::u16string(kChooseParametersName); }};
    fw::Label lblAdditionalParameters{Panel5,
                                      {.text = kAdditionalParametersCaption,
                                       .bounds = {486, 50, 172, 13},
                                       .anchors = fw::akLeft | fw::akTop | fw::akRight,
                                       .visible = false}};
    fw::Edit edtAdditionalParameters{
        Panel5,
        {.bounds = {486, 66, 172, 21}, .anchors = fw::akLeft | fw::akTop | fw::akRight, .visible = false}};
    fw::Panel Panel6{Panel5, {.bounds = {664, 0, 90, 95}, .anchors = fw::akTop | fw::akRight}};
    fw::Button Button2{Panel6, {.text = u"Sa&ve", .bounds = {8, 8, 75, 25}}};
    fw::Button Button3{Panel6, {.text = u"Cance&l", .bounds = {8, 38, 75, 25}}};
    fw::ComboBox cbParam3{Panel5, {.bounds = {288, 50, 160, 21}, .visible = false}};
    // The window state has no label of its own for the system to take its name from.
    fw::AccessibleName cbParam3Name{cbParam3.Handle(), [] { return std::u16string(kWindowStateName); }};
};

inline constexpr TModifierBoxes<THotkeyEditPanel> kEditPanelModifierBoxes{
    &THotkeyEditPanel::ShiftKeyAlt, &THotkeyEditPanel::ShiftKeyCtrl, &THotkeyEditPanel::ShiftKeyShift,
    &THotkeyEditPanel::ShiftKeyWin};

class THotkeySetting final : public fw::Frame {
public:
    using TNotifyEvent = std::function<void(THotkeySetting& Sender)>;

    // A frame on `AOwner` (a column of frames, usually) showing `AHotkey`, an item of
    // `AHotkeyList`; neither is owned. `AData` names keys and runs the dialogs' loops.
    THotkeySetting(fw::Container& AOwner, TData& AData, TGlobalHotKey& AHotkey, THotkeyList& AHotkeyList);

    // The controls' values (the hotkey itself changes only on Save).
    uint16_t Key();
    void SetKey(uint16_t Value);
    int32_t ShiftState();
    void SetShiftState(int32_t Value);
    THotKeyFunc Func();
    void SetFunc(THotKeyFunc Value);
    std::u16string Parameters();
    void SetParameters(const std::u16string& Value);
    std::u16string Parameters2();
    void SetParameters2(const std::u16string& Value);
    // The window state's stored name; reading selects "NORMAL" when nothing is selected.
    std::u16string Parameters3();
    void SetParameters3(const std::u16string& Value);
    bool Active();
    void SetActive(bool Value);
    TGlobalHotKey& Hotkey() const { return *FHotkey; }
    // Shows another hotkey of the list, in view mode: a column with frames only for the rows in
    // view moves its frames from row to row as it scrolls.
    void SetHotkey(TGlobalHotKey& Value);
    bool EditMode() const { return FEditMode; }
    void SetEditMode(bool Value);

    // The edit panel, made when first needed: for edit mode, or when a property is read or written.
    // Until then the view panel alone shows the hotkey, and the edit panel starts from it.
    THotkeyEditPanel& Editor();

    // Shows the hotkey's stored values, discarding every edit.
    void LoadFromHotkey();
    // Marks the key in the view when the live hotkey of the stored values is refused by the system.
    void ShowRefusedMark();
    // The check before a save; shows the error and returns false when the hotkey cannot be saved.
    bool ValidateHotkey();

    // Event handlers, also callable as the user's actions.
    void btnEditClick();
    void btnDeleteClick();
    void Button2Click();
    void Button3Click();
    void buttonParametersClick();
    void comboboxActionSelect();
    void ckbActiveClick();

    TNotifyEvent OnDelete;  // the user confirmed Delete
    TNotifyEvent OnSave;    // the hotkey holds the saved values

private:
    HotkeyEdits Edits();
    // A button's caption and the stored hotkey's text, "Edit ALT + A".
    std::u16string ButtonReading(const fw::Button& button) const;
    void ShowInView(const THotKeyData& data);
    // Changes what the view panel shows.
    template <class Change>
    void ChangeView(Change change) {
        THotkeyView view = Panel4.View();
        change(view);
        Panel4.SetView(view);
    }

    TData& FData;
    TGlobalHotKey* FHotkey;
    THotkeyList& FHotkeyList;
    bool FEditMode = false;

public:
    // Left column.
    fw::Panel Panel2{*this, {.bounds = {0, 0, 66, 223}, .anchors = fw::akLeft | fw::akTop | fw::akBottom}};
    fw::Button btnEdit{Panel2, {.text = u"&Edit", .bounds = {5, 8, 56, 25}}};
    fw::Button btnDelete{Panel2, {.text = u"&Delete", .bounds = {5, 38, 56, 25}}};
    // Edit and Delete read which hotkey they act on, as the row beside them shows it.
    fw::AccessibleName btnEditName{btnEdit.Handle(), [this] { return ButtonReading(btnEdit); }};
    fw::AccessibleName btnDeleteName{btnDelete.Handle(), [this] { return ButtonReading(btnDelete); }};
    fw::Panel Panel1{*this, {.bounds = {66, 0, 754, 223}, .anchors = fw::kAnchorAll}};

    // View panel.
    THotkeyViewPanel Panel4{Panel1, {.bounds = {0, 0, 754, 88}, .anchors = fw::akLeft | fw::akTop | fw::akRight}};

    fw::Bevel Bevel1{*this, {.bounds = {0, 223, 820, 2}, .anchors = fw::akLeft | fw::akRight | fw::akBottom}};

private:
    std::unique_ptr<THotkeyEditPanel> FEditor;  // last: it goes before the panel it sits on
};

}  // namespace corvalend
