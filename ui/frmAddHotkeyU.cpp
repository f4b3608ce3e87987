// The new-hotkey wizard's two pages, their checks, and Finish saving the new hotkey to the file.
#include "ui/frmAddHotkeyU.h"

#include "core/datau.h"
#include "framework/Application.h"
#include "framework/MessageDlg.h"
#include "framework/Registry.h"
#include "ui/Win32SaveQuestions.h"
#include "ui/frmMemoInputU.h"

namespace corvalend {

TfrmAddHotkey::TfrmAddHotkey(fw::Application& app, HWND owner, TData& data)
    : TWizardForm(app, owner, u"New hotkey", fw::FormPosition::OwnerCenter), app_(app), data_(data) {
    Label1.SetFont(headingFont_);
    Label6.SetFont(headingFont_);
    btnCancel.SetModalResult(fw::mrCancel);
    btnNext.OnClick = [this] { btnNextClick(); };
    cbAction.OnSelect = [this] { cbActionSelect(); };
    HotKey1.OnChange = [this] { FollowTypedModifiers(*this, kWizardModifierBoxes, HotKey1); };
    btnParameters.OnClick = [this] { btnParametersClick(); };
    FormCreate();
}

TfrmAddHotkey::~TfrmAddHotkey() {
    try {
        FormDestroy();
    } catch (...) {
        app_.HandleException();
    }
}

void TfrmAddHotkey::FormCreate() {
    const fw::RegistryIni registry(data_.DataFile(dftRegKey));  // closed on every way out
    HotKeyList_ = std::make_unique<THotkeyList>(data_.HotkeyServices());
    pcClient.SetActivePage(tsKey);
    pcClientChange();
    FillHotKeyFuncs(cbAction);
    const THotKeyFunc last = StrToHotKeyFunc(registry.ReadString(kAddHotKeyFuncValue, u""));
    if (last != hkfNoAction) {
        for (int i = 0; i < cbAction.ItemCount(); ++i) {
            if (cbAction.ItemObject(i) == last) {
                cbAction.SetItemIndex(i);
                cbActionSelect();
                break;
            }
        }
    }
    data_.LoadHotkeyFile(*HotKeyList_, /*OnlyActive=*/false);
}

void TfrmAddHotkey::FormDestroy() {
    fw::RegistryIni registry(data_.DataFile(dftRegKey));
    registry.WriteString(kAddHotKeyFuncValue, GetFunc() == hkfNoAction ? u"" : HotKeyFuncToStr(GetFunc()));
}

void TfrmAddHotkey::btnNextClick() {
    if (!OnLastPage()) {
        if (!ValidatePage(pcClient.ActivePage() == &tsKey ? TWizardPage::Key : TWizardPage::Action)) return;
        if (pcClient.ActivePage() == &tsKey && !AskBeforeSaving(SaveStep::KeyPage)) return;
        ShowNextPage();
        return;
    }
    if (!ValidatePage(TWizardPage::All)) return;
    if (!AskBeforeSaving(SaveStep::Save)) return;
    SaveNewHotkey();
    data_.InitApp();
    SetModalResult(fw::mrOk);
}

bool TfrmAddHotkey::ValidatePage(TWizardPage page) {
    const TWizardEntry entry{.key = HotKey1.Key(),
                             .shift = GetShiftState(),
                             .actionSelected = cbAction.ItemIndex() >= 0,
                             .func = GetFunc(),
                             .params = GetParameters()};
    const std::u16string message = ValidateWizardPage(page, entry, *HotKeyList_, data_.HotKeyList());
    if (message.empty()) return true;
    fw::MessageDlg(Handle(), message, fw::MessageType::Error, fw::MessageButtons::Ok);
    return false;
}

bool TfrmAddHotkey::AskBeforeSaving(SaveStep step) {
    const THotKeyData hotkey =
        NewWizardHotkey(HotKey1.Key(), GetShiftState(), GetFunc(), GetParameters(), GetParameters2(), GetParameters3());
    if (!AskSaveQuestions(Handle(), data_, hotkey, step, keyPageAccepted_)) return false;
    if (step == SaveStep::KeyPage) keyPageAccepted_ = hotkey;
    return true;
}

void TfrmAddHotkey::SaveNewHotkey() {
    AppendAndSaveHotkey(
        *HotKeyList_,
        NewWizardHotkey(HotKey1.Key(), GetShiftState(), GetFunc(), GetParameters(), GetParameters2(), GetParameters3()),
        data_.DataFile(dftHotkeys));
}

void TfrmAddHotkey::cbActionSelect() {
    const ParameterFields fields = ParameterFieldsFor(GetFunc());
    Label10.SetText(fields.delay ? kWizardDelayCaption : kWizardParametersCaption);
    Label10.SetVisible(fields.params);
    edtParameters.SetVisible(fields.params);
    btnParameters.SetVisible(fields.chooser);
    lblAdditionalParameters.SetVisible(fields.params2);
    edtAdditionalParameters.SetVisible(fields.params2);
    cbParam3.SetVisible(fields.windowState);
    if (fields.windowState) {
        FillWindowStates(cbParam3, GetFunc());
        cbParam3.SetItemIndex(0);
    }
}

void TfrmAddHotkey::btnParametersClick() {
    if (GetFunc() == hkfSendKeys) {
        EditParametersAsText(app_, Handle(), edtParameters);
        return;
    }
    OpenDialog1.FileName = edtParameters.Text();
    if (OpenDialog1.Execute(Handle())) edtParameters.SetText(OpenDialog1.FileName);
}

int32_t TfrmAddHotkey::GetShiftState() const {
    return TickedShiftState(*this, kWizardModifierBoxes);
}

THotKeyFunc TfrmAddHotkey::GetFunc() const {
    const int index = cbAction.ItemIndex();
    return index < 0 ? hkfNoAction : static_cast<THotKeyFunc>(cbAction.ItemObject(index));
}

std::u16string TfrmAddHotkey::GetParameters() const {
    return edtParameters.Visible() ? edtParameters.Text() : u"";
}

std::u16string TfrmAddHotkey::GetParameters2() const {
    return edtAdditionalParameters.Visible() ? edtAdditionalParameters.Text() : u"";
}

std::u16string TfrmAddHotkey::GetParameters3() const {
    return cbParam3.Visible() ? WindowStateName(GetFunc(), cbParam3.ItemIndex()) : u"";
}

}  // namespace corvalend
