// The hotkey editor frame's controls, its view and edit modes, and its edit, save and delete buttons.
#include "ui/HotkeySettingU.h"

#include <array>

#include "core/WindowsCombinations.h"
#include "framework/DialogChar.h"
#include "framework/MessageDlg.h"
#include "framework/Mnemonics.h"
#include "framework/OpenDialog.h"
#include "framework/TabOrder.h"
#include "ui/Win32SaveQuestions.h"
#include "ui/frmMemoInputU.h"

namespace corvalend {

THotkeySetting::THotkeySetting(fw::Container& AOwner, TData& AData, TGlobalHotKey& AHotkey, THotkeyList& AHotkeyList)
    : Frame(AOwner, {.bounds = {0, 0, 820, 225}}), FData(AData), FHotkey(&AHotkey), FHotkeyList(AHotkeyList) {
    btnEdit.OnClick = [this] { btnEditClick(); };
    btnDelete.OnClick = [this] { btnDeleteClick(); };
    // Each frame has the same Alt+keys: the one with the focus takes them.
    fw::MarkMnemonicScope(Handle());
    SetEditMode(false);
    LoadFromHotkey();
}

THotkeyEditPanel& THotkeySetting::Editor() {
    if (FEditor) return *FEditor;
    FEditor = std::make_unique<THotkeyEditPanel>(Panel1);
    THotkeyEditPanel& editor = *FEditor;
    // Its controls are placed for its designed width; then it takes the width of its place, which
    // the frame may have changed since.
    editor.Panel5.SetWidth(Panel1.ClientSize96().width);
    editor.Button2.OnClick = [this] { Button2Click(); };
    editor.Button3.OnClick = [this] { Button3Click(); };
    fw::SetScopeCancelButton(Handle(), editor.Button3.Handle());  // Esc in the editor cancels the edit
    editor.btnParameters.OnClick = [this] { buttonParametersClick(); };
    editor.cbAction.OnSelect = [this] { comboboxActionSelect(); };
    editor.ckbActive.OnClick = [this] { ckbActiveClick(); };
    editor.HotKey1.OnChange = [this] { FollowTypedModifiers(*FEditor, kEditPanelModifierBoxes, FEditor->HotKey1); };
    editor.cbParam3.PlaceAfter(&editor.cbAction);  // read below the action, before the parameters
    FillHotKeyFuncs(editor.cbAction);
    LoadFromHotkey();
    return editor;
}

std::u16string THotkeySetting::ButtonReading(const fw::Button& button) const {
    return fw::WithoutMnemonic(button.Text()) + u" " +
           FData.HotkeyToString(static_cast<uint16_t>(FHotkey->HotKeyData.Key),
                                static_cast<uint16_t>(FHotkey->HotKeyData.Shift));
}

uint16_t THotkeySetting::Key() {
    return Editor().HotKey1.Key();
}

void THotkeySetting::SetKey(uint16_t Value) {
    Editor().HotKey1.SetHotKey(Value);
    ChangeView([&](THotkeyView& view) { view.Key = FData.HotkeyToString(Value, 0); });
}

int32_t THotkeySetting::ShiftState() {
    return TickedShiftState(Editor(), kEditPanelModifierBoxes);
}

void THotkeySetting::SetShiftState(int32_t Value) {
    TickShiftState(Editor(), kEditPanelModifierBoxes, Value);
    ChangeView([&](THotkeyView& view) { view.Ticks = ModifierTicksOf(ShiftState()); });
}

THotKeyFunc THotkeySetting::Func() {
    const fw::ComboBox& cbAction = Editor().cbAction;
    const int index = cbAction.ItemIndex();
    return index < 0 ? hkfNoAction : static_cast<THotKeyFunc>(cbAction.ItemObject(index));
}

void THotkeySetting::SetFunc(THotKeyFunc Value) {
    fw::ComboBox& cbAction = Editor().cbAction;
    cbAction.SetItemIndex(-1);
    for (int i = 0; i < cbAction.ItemCount(); ++i) {
        if (cbAction.ItemObject(i) == Value) {
            cbAction.SetItemIndex(i);
            break;
        }
    }
    comboboxActionSelect();
    ChangeView([&](THotkeyView& view) { view.Action = HotKeyFuncToCaption(Func()); });
}

std::u16string THotkeySetting::Parameters() {
    return Editor().edtParameters.Text();
}

void THotkeySetting::SetParameters(const std::u16string& Value) {
    Editor().edtParameters.SetText(Value);
    ChangeView([&](THotkeyView& view) { view.Params = Value; });
}

std::u16string THotkeySetting::Parameters2() {
    return Editor().edtAdditionalParameters.Text();
}

void THotkeySetting::SetParameters2(const std::u16string& Value) {
    Editor().edtAdditionalParameters.SetText(Value);
    ChangeView([&](THotkeyView& view) { view.Params2 = Value; });
}

std::u16string THotkeySetting::Parameters3() {
    fw::ComboBox& cbParam3 = Editor().cbParam3;
    const TWindowStateList states = WindowStateList(Func());
    if (cbParam3.ItemIndex() < 0) cbParam3.SetItemIndex(0);
    const int index = cbParam3.ItemIndex();
    // The list always holds the states: every write of Parameters3 fills it.
    return index >= 0 && static_cast<size_t>(index) < states.size() ? states[static_cast<size_t>(index)].first
                                                                    : states.front().first;
}

void THotkeySetting::SetParameters3(const std::u16string& Value) {
    fw::ComboBox& cbParam3 = Editor().cbParam3;
    const THotKeyFunc func = Func();
    FillWindowStates(cbParam3, func);
    cbParam3.SetItemIndex(WindowStateIndex(WindowStateList(func), Value));
}

bool THotkeySetting::Active() {
    return Editor().ckbActive.Checked();
}

void THotkeySetting::SetActive(bool Value) {
    THotkeyEditPanel& editor = Editor();
    editor.ckbActive.SetChecked(Value);
    for (fw::Control* control : editor.Panel5.Controls()) {
        if (control != &editor.ckbActive && control != &editor.Panel6) control->SetEnabled(Value);
    }
    comboboxActionSelect();
    ChangeView([&](THotkeyView& view) { view.Active = Value; });
}

void THotkeySetting::SetEditMode(bool Value) {
    // The focus on a button that goes disabled or hidden here would go nowhere: it goes to the
    // first field of the mode shown.
    const HWND focus = GetFocus();
    const bool focusInside = focus != nullptr && IsChild(Handle(), focus);
    FEditMode = Value;
    btnEdit.SetEnabled(!Value);
    btnDelete.SetEnabled(!Value);
    if (Value || FEditor) Editor().Panel5.SetVisible(Value);
    Panel4.SetVisible(!Value);
    SetHeight(100);
    if (focusInside) {
        RootForm().FocusControl(Value ? fw::FirstTabStop(Editor().Panel5.Handle(), /*last=*/false) : btnEdit.Handle());
    }
}

void THotkeySetting::SetHotkey(TGlobalHotKey& Value) {
    FHotkey = &Value;
    SetEditMode(false);
    LoadFromHotkey();
}

void THotkeySetting::LoadFromHotkey() {
    const THotKeyData& data = FHotkey->HotKeyData;
    if (!FEditor) {
        ShowInView(data);  // the edit panel, once made, loads the hotkey itself
    } else {
        SetActive(data.Active);
        SetShiftState(data.Shift);
        SetKey(static_cast<uint16_t>(data.Key));
        SetFunc(data.Func);
        SetParameters(data.Params);
        SetParameters2(data.Params2);
        SetParameters3(data.Params3);
    }
    ShowRefusedMark();
}

void THotkeySetting::ShowRefusedMark() {
    // The saved hotkey's state, whatever is being edited: only a saved hotkey is live.
    const THotKeyData& data = FHotkey->HotKeyData;
    const bool refused = data.Active && FData.HotkeyRefused(data.Key, data.Shift);
    const bool byWindows = refused && FindWindowsCombination(data.Key, data.Shift) != nullptr;
    ChangeView([&](THotkeyView& view) {
        view.Refused = refused;
        view.UsedByWindows = byWindows;
    });
}

// What the properties' writes show in the view panel.
void THotkeySetting::ShowInView(const THotKeyData& data) {
    Panel4.SetView({.Active = data.Active,
                    .Ticks = ModifierTicksOf(data.Shift),
                    .Key = FData.HotkeyToString(static_cast<uint16_t>(data.Key), 0),
                    .Action = HotKeyFuncToCaption(data.Func),
                    .Params = data.Params,
                    .Params2 = data.Params2,
                    .Shown = ParameterFieldsFor(data.Func)});
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
                                               .Params = Parameters(),
                                               .Params2 = {},
                                               .Params3 = {}},
                                              FData.HotKeyList());
    if (problem == HotkeyProblem::None) return true;
    fw::MessageDlg(Handle(), HotkeyProblemText(problem, Key(), ShiftState()), fw::MessageType::Error,
                   fw::MessageButtons::Ok);
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
    THotKeyData edited;  // without the window state, whose reading would select one
    CopyEdits({Active(), Key(), ShiftState(), Func(), Parameters(), /*Params2=*/{}, /*Params3=*/{}}, edited);
    if (!AskSaveQuestions(Handle(), FData, edited, SaveStep::Save, /*accepted=*/FHotkey->HotKeyData)) return;
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
    fw::Edit& edtParameters = Editor().edtParameters;
    if (Func() == hkfSendKeys) {
        EditParametersAsText(FData.App(), RootForm().Handle(), edtParameters);
        return;
    }
    fw::OpenDialog dialog;
    if (!edtParameters.Text().empty()) dialog.FileName = edtParameters.Text();
    if (dialog.Execute(Handle())) edtParameters.SetText(dialog.FileName);
}

void THotkeySetting::comboboxActionSelect() {
    THotkeyEditPanel& editor = Editor();
    const THotKeyFunc func = Func();
    const ParameterFields shown = ParameterFieldsFor(func);
    editor.Label8.SetText(ParametersCaption(shown, kParametersCaption));
    editor.Label8.SetVisible(shown.params);
    editor.edtParameters.SetVisible(shown.params);
    editor.btnParameters.SetVisible(shown.chooser);
    editor.edtAdditionalParameters.SetVisible(shown.params2);
    editor.lblAdditionalParameters.SetVisible(shown.params2);
    editor.cbParam3.SetVisible(shown.windowState);
    ChangeView([&](THotkeyView& view) { view.Shown = shown; });
}

void THotkeySetting::ckbActiveClick() {
    SetActive(Editor().ckbActive.Checked());
}

}  // namespace corvalend
