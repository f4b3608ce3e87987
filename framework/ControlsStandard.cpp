// The standard controls on the system's classes: texts, buttons, check boxes, edits, lists, key fields.
#include "framework/ControlsStandard.h"

#include <commctrl.h>

#include "framework/Form.h"
#include "framework/WinText.h"

namespace fw {

// Label

Label::Label(Container& parent, const ControlInfo& info, const LabelOptions& options)
    : Control(parent,
              info,
              {L"STATIC", static_cast<DWORD>((options.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP) |
                                             (options.showAccelChar ? 0 : SS_NOPREFIX) |
                                             (options.endEllipsis ? SS_ENDELLIPSIS : 0))}) {}

// Button

Button::Button(Container& parent, const ControlInfo& info, const ButtonOptions& options)
    : Control(parent,
              info,
              {L"BUTTON", static_cast<DWORD>((options.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP)}),
      modalResult_(options.modalResult) {
    Form& form = OwnerForm();
    if (options.isDefault) form.SetDefaultButton(this);
    if (options.isCancel) form.SetCancelButton(this);
}

Button::~Button() = default;

void Button::Click() {
    if (Handle() == nullptr || !IsWindowEnabled(Handle())) return;
    // Hidden, or on a hidden panel or page; a click from code on a form not shown yet still counts.
    for (HWND window = Handle(); window != OwnerForm().Handle(); window = GetParent(window)) {
        if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) == 0) return;
    }
    if (modalResult_ != mrNone) OwnerForm().SetModalResult(modalResult_);
    if (OnClick) OnClick();
}

LRESULT Button::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETFOCUS:
            OwnerForm().ButtonFocused(this);
            break;
        case WM_KILLFOCUS:
            OwnerForm().ButtonFocused(nullptr);
            break;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void Button::OnCommand(WORD code) {
    if (code == BN_CLICKED) Click();
}

// CheckBox

CheckBox::CheckBox(Container& parent, const ControlInfo& info, bool checked)
    : Control(parent, info, {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP}) {
    SetChecked(checked);
}

bool CheckBox::Checked() const {
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::OnCommand(WORD code) {
    if (code == BN_CLICKED && OnClick) OnClick();
}

// Edit

Edit::Edit(Container& parent, const ControlInfo& info) : Edit(parent, info, ES_AUTOHSCROLL) {}

Edit::Edit(Container& parent, const ControlInfo& info, DWORD style)
    : Control(parent, info, {L"EDIT", style | ES_LEFT | WS_TABSTOP, WS_EX_CLIENTEDGE}) {}

void Edit::OnCommand(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange();
}

// Memo

Memo::Memo(Container& parent, const ControlInfo& info, const MemoOptions& options)
    : Edit(parent,
           info,
           static_cast<DWORD>(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | (options.wantReturns ? ES_WANTRETURN : 0) |
                              (options.wordWrap ? 0 : ES_AUTOHSCROLL | WS_HSCROLL))),
      options_(options) {}

LRESULT Memo::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (options_.wantTabs && message == WM_KEYDOWN && wParam == VK_TAB) return 0;  // its character follows
    if (options_.wantTabs && message == WM_CHAR && wParam == u'\t') {
        // Typed here: some text fields in dialog mode move the focus or drop the character instead.
        SendMessageW(Handle(), EM_REPLACESEL, /*undo=*/TRUE, reinterpret_cast<LPARAM>(L"\t"));
        return 0;
    }
    if (message != WM_GETDLGCODE) return Edit::OnMessage(message, wParam, lParam);
    // The multi-line field asks for every key; the form keeps Esc, and Tab and Enter unless wanted.
    LRESULT code = DefaultProc(message, wParam, lParam);
    const auto* key = reinterpret_cast<const MSG*>(lParam);
    if (key == nullptr || (key->message != WM_KEYDOWN && key->message != WM_CHAR)) {
        return options_.wantTabs ? code | DLGC_WANTTAB : code & ~DLGC_WANTTAB;
    }
    bool wanted = true;
    switch (key->wParam) {
        case VK_ESCAPE:
            wanted = false;
            break;
        case VK_TAB:
            wanted = options_.wantTabs;
            break;
        case VK_RETURN:
            wanted = options_.wantReturns;
            break;
        default:
            return code;
    }
    if (wanted) return code | DLGC_WANTMESSAGE | (key->wParam == VK_TAB ? DLGC_WANTTAB : 0);
    return code & ~(DLGC_WANTMESSAGE | DLGC_WANTTAB);
}

// ComboBox

ComboBox::ComboBox(Container& parent, const ControlInfo& info, int dropDownCount)
    : Control(parent, info, {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP}), dropDownCount_(dropDownCount) {
    // The list's height depends on the font: placed again now that the font is set.
    SetBounds(DesignBounds());
}

void ComboBox::Clear() {
    SendMessageW(Handle(), CB_RESETCONTENT, 0, 0);
}

void ComboBox::AddItem(const std::u16string& text, intptr_t object) {
    const LRESULT index = SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AsWide(text)));
    if (index >= 0) SendMessageW(Handle(), CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(object));
}

int ComboBox::ItemCount() const {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0));
}

std::u16string ComboBox::ItemText(int index) const {
    const LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0) return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const LRESULT copied =
        SendMessageW(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied < 0 ? 0 : static_cast<size_t>(copied));
    return text;
}

intptr_t ComboBox::ItemObject(int index) const {
    return static_cast<intptr_t>(SendMessageW(Handle(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int ComboBox::ItemIndex() const {
    return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
    SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ComboBox::OnCommand(WORD code) {
    if (code == CBN_SELCHANGE && OnSelect) OnSelect();
}

Bounds ComboBox::WindowBounds(const Bounds& placed) const {
    if (Handle() == nullptr) return placed;
    const LRESULT item = SendMessageW(Handle(), CB_GETITEMHEIGHT, 0, 0);
    Bounds window = placed;
    if (item > 0) window.height += static_cast<int>(item) * dropDownCount_ + 2;
    return window;
}

// HotKeyEdit

HotKeyEdit::HotKeyEdit(Container& parent, const ControlInfo& info, bool bareKey)
    : Control(parent, info, {HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE}) {
    if (bareKey) {
        // Every combination with a modifier is invalid and replaced by none.
        constexpr WPARAM kWithModifiers =
            HKCOMB_S | HKCOMB_C | HKCOMB_A | HKCOMB_SC | HKCOMB_SA | HKCOMB_CA | HKCOMB_SCA;
        SendMessageW(Handle(), HKM_SETRULES, kWithModifiers, MAKELPARAM(0, 0));
    }
}

uint16_t HotKeyEdit::Key() const {
    return LOBYTE(LOWORD(SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0)));
}

uint8_t HotKeyEdit::Modifiers() const {
    return HIBYTE(LOWORD(SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0)));
}

void HotKeyEdit::SetHotKey(uint16_t key, uint8_t modifiers) {
    SendMessageW(Handle(), HKM_SETHOTKEY, MAKEWORD(static_cast<BYTE>(key), modifiers), 0);
}

UINT HotKeyEdit::HeldModifiers() const {
    // The keyboard's state as of the key message the field is handling.
    const auto held = [](int key) { return GetKeyState(key) < 0; };
    if (Key() == 0 || !held(Key())) return 0;
    return (held(VK_MENU) ? MOD_ALT : 0) | (held(VK_CONTROL) ? MOD_CONTROL : 0) | (held(VK_SHIFT) ? MOD_SHIFT : 0) |
           (held(VK_LWIN) || held(VK_RWIN) ? MOD_WIN : 0);
}

void HotKeyEdit::OnCommand(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange();
}

// Bevel

namespace {

DWORD BevelStyle(BevelShape shape) {
    switch (shape) {
        case BevelShape::HorizontalLine:
            return SS_ETCHEDHORZ;
        case BevelShape::VerticalLine:
            return SS_ETCHEDVERT;
        case BevelShape::Frame:
            return SS_ETCHEDFRAME;
    }
    return SS_ETCHEDHORZ;
}

}  // namespace

Bevel::Bevel(Container& parent, const ControlInfo& info, BevelShape shape)
    : Control(parent, info, {L"STATIC", BevelStyle(shape)}) {}

}  // namespace fw
