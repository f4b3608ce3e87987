// The hotkey editor frame's controls, its view and edit modes, and its edit, save and delete buttons.
#include "ui/HotkeySettingU.h"

#include <array>

#include "framework/MessageDlg.h"
#include "framework/OpenDialog.h"
#include "ui/frmMemoInputU.h"

namespace corvalend {

THotkeySetting::THotkeySetting(fw::Container& AOwner, TData& AData, TGlobalHotKey& AHotkey, THotkeyList& AHotkeyList)
    : Frame(AOwner, {.bounds = {0, 0, 820, 225}}), FData(AData), FHotkey(&AHotkey), FHotkeyList(AHotkeyList) {
    btnEdit.OnClick = [this] { btnEditClick(); };
    btnDelete.OnClick = [this] { btnDeleteClick(); };
    Button2.OnClick = [this] { Button2Click(); };
    Button3.OnClick = [this] { Button3Click(); };
    btnParameters.OnClick = [this] { buttonParametersClick(); };
    cbAction.OnSelect = [this] { comboboxActionSelect(); };
    ckbActive.OnClick = [this] { ckbActiveClick(); };

    FillHotKeyFuncs(cbAction);
    SetEditMode(false);
    LoadFromHotkey();
}

uint16_t THotkeySetting::Key() const {
    return HotKey1.Key();
}

void THotkeySetting::SetKey(uint16_t Value) {
    HotKey1.SetHotKey(Value);
    lblKey.SetText(FData.HotkeyToString(Value, 0));
}

int32_t THotkeySetting::ShiftState() const {
    return ShiftStateOf(
        {ShiftKeyAlt.Checked(), ShiftKeyCtrl.Checked(), ShiftKeyShift.Checked(), ShiftKeyWin.Checked()});
}

void THotkeySetting::SetShiftState(int32_t Value) {
    // The edit panel's boxes and the view panel's marks, in the order of kModifiers.
    const std::array<fw::CheckBox*, kModifiers.size()> boxes{&ShiftKeyAlt, &ShiftKeyCtrl, &ShiftKeyShift, &ShiftKeyWin};
    const std::array<fw::Shape*, kModifiers.size()> marks{&shpALTChecked, &shpCTRLChecked, &shpSHIFTChecked,
                                                          &shpWINChecked};
    const TModifierTicks ticks = ModifierTicksOf(Value);
    for (size_t i = 0; i < ticks.size(); ++i) {
        boxes[i]->SetChecked(ticks[i]);
        marks[i]->SetVisible(boxes[i]->Checked());
    }
}

THotKeyFunc THotkeySetting::Func() const {
    const int index = cbAction.ItemIndex();
    return index < 0 ? hkfNoAction : static_cast<THotKeyFunc>(cbAction.ItemObject(index));
}

void THotkeySetting::SetFunc(THotKeyFunc Value) {
    cbAction.SetItemIndex(-1);
    for (int i = 0; i < cbAction.ItemCount(); ++i) {
        if (cbAction.ItemObject(i) == Value) {
            cbAction.SetItemIndex(i);
            break;
        }
    }
    comboboxActionSelect();
    lblAction.SetText(HotKeyFuncToCaption(Func()));
}

std::u16string THotkeySetting::Parameters() const {
    return edtParameters.Text();
}

void THotkeySetting::SetParameters(const std::u16string& Value) {
    edtParameters.SetText(Value);
    lblParameters.SetText(Value);
}

std::u16string THotkeySetting::Parameters2() const {
    return edtAdditionalParameters.Text();
}

void THotkeySetting::SetParameters2(const std::u16string& Value) {
    edtAdditionalParameters.SetText(Value);
    Label10.SetText(Value);
}

std::u16string THotkeySetting::Parameters3() {
    const TWindowStateList states = WindowStateList(Func());
    if (cbParam3.ItemIndex() < 0) cbParam3.SetItemIndex(0);
    const int index = cbParam3.ItemIndex();
    // The list always holds the states: every write of Parameters3 fills it.
    return index >= 0 && static_cast<size_t>(index) < states.size() ? states[static_cast<size_t>(index)].first
                                                                    : states.front().first;
}

void THotkeySetting::SetParameters3(const std::u16string& Value) {
    const THotKeyFunc func = Func();
    FillWindowStates(cbParam3, func);
    cbParam3.SetItemIndex(WindowStateIndex(WindowStateList(func), Value));
}

bool THotkeySetting::Active() const {
    return ckbActive.Checked();
}

void THotkeySetting::SetActive(bool Value) {
    ckbActive.SetChecked(Value);
    for (fw::Control* control : Panel5.Controls()) {
        if (control != &ckbActive && control != &Panel6) control->SetEnabled(Value);
    }
    comboboxActionSelect();
    shpActiveChecked.SetVisible(Value);
}

void THotkeySetting::SetEditMode(bool Value) {
    FEditMode = Value;
    btnEdit.SetEnabled(!Value);
    btnDelete.SetEnabled(!Value);
    Panel5.SetVisible(Value);
    Panel4.SetVisible(!Value);
    SetHeight(100);
}

void THotkeySetting::SetHotkey(TGlobalHotKey& Value) {
    FHotkey = &Value;
    SetEditMode(false);
    LoadFromHotkey();
}

void THotkeySetting::LoadFromHotkey() {
    const THotKeyData& data = FHotkey->HotKeyData;
    SetActive(data.Active);
    SetShiftState(data.Shift);
    SetKey(static_cast<uint16_t>(data.Key));
    SetFunc(data.Func);
    SetParameters(data.Params);
    SetParameters2(data.Params2);
    SetParameters3(data.Params3);
}

HotkeyEdits THotkeySetting::Edits() {
    return {.Active = Active(),
            .Key = Key(),
            .Shift = ShiftState(),
            .Func = Func(),
            .Params = Parameters(),
            .Params2 = Parameters2(),
            .Params3 = Parameters3()};
}

bool THotkeySetting::ValidateHotkey() {
    // Reading the window state would select one: the check leaves the controls as they are.
    const HotkeyProblem problem = CheckHotkey(FHotkeyList, FHotkey,
                                              {.Active = Active(),
                                               .Key = Key(),
                                               .Shift = ShiftState(),
                                               .Func = Func(),
                                               .Params = {},
                                               .Params2 = {},
                                               .Params3 = {}});
    if (problem == HotkeyProblem::None) return true;
    fw::MessageDlg(Handle(), HotkeyProblemText(problem), fw::MessageType::Error, fw::MessageButtons::Ok);
    return false;
}

void THotkeySetting::btnEditClick() {
    SetEditMode(true);
}

void THotkeySetting::btnDeleteClick() {
    if (!OnDelete) return;
    if (fw::MessageDlg(Handle(), kDeleteHotkeyQuestion, fw::MessageType::Confirmation, fw::MessageButtons::YesNo) ==
        fw::mrYes) {
        OnDelete(*this);
    }
}

void THotkeySetting::Button2Click() {
    if (!OnSave) return;
    if (!ValidateHotkey()) return;
    CopyEdits(Edits(), FHotkey->HotKeyData);
    LoadFromHotkey();
    OnSave(*this);
    SetEditMode(false);
}

void THotkeySetting::Button3Click() {
    SetEditMode(false);
    LoadFromHotkey();
}

void THotkeySetting::buttonParametersClick() {
    if (Func() == hkfSendKeys) {
        EditParametersAsText(FData.App(), RootForm().Handle(), edtParameters);
        return;
    }
    fw::OpenDialog dialog;
    if (!edtParameters.Text().empty()) dialog.FileName = edtParameters.Text();
    if (dialog.Execute(Handle())) edtParameters.SetText(dialog.FileName);
}

void THotkeySetting::comboboxActionSelect() {
    const ParameterFields shown = ParameterFieldsFor(Func());
    for (fw::Control* control :
         {static_cast<fw::Control*>(&Label8), static_cast<fw::Control*>(&Label4),
          static_cast<fw::Control*>(&lblParameters), static_cast<fw::Control*>(&edtParameters)}) {
        control->SetVisible(shown.params);
    }
    btnParameters.SetVisible(shown.chooser);
    for (fw::Control* control :
         {static_cast<fw::Control*>(&edtAdditionalParameters), static_cast<fw::Control*>(&lblAdditionalParameters),
          static_cast<fw::Control*>(&Label9), static_cast<fw::Control*>(&Label10)}) {
        control->SetVisible(shown.params2);
    }
    cbParam3.SetVisible(shown.windowState);
}

void THotkeySetting::ckbActiveClick() {
    SetActive(ckbActive.Checked());
}

}  // namespace corvalend
