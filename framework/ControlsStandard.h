// The standard controls, each the system's own window class: texts, buttons, check boxes, text
// fields, drop-down lists, the key-capture field and etched lines. Bounds and anchors are in
// ControlInfo (Controls.h); a second argument holds what is particular to the kind.
//
//     fw::Button btnOK{pnlBottom, {.text = u"OK", .bounds = {231, 8, 75, 25}, .anchors = fw::akTop | fw::akRight},
//                      {.isDefault = true, .modalResult = fw::mrOk}};
//     btnOK.OnClick = [this] { ... };
//
// Events fire on the user's actions. Setting a value from code raises no event, except OnChange of
// the text fields, which follows every change of their text (as the system reports it).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "framework/Controls.h"
#include "framework/ItemList.h"

namespace fw {

struct LabelOptions {
    bool wordWrap = true;       // long captions break into lines within the bounds
    bool showAccelChar = true;  // "&K" underlines K and Alt+K focuses the next control in tab order
    bool endEllipsis = false;   // on one line, a text longer than the bounds ends with "..."
};

// A text (STATIC).
class Label : public Control {
public:
    Label(Container& parent, const ControlInfo& info, const LabelOptions& options = {});

protected:
    bool UsesParentColor() const override { return true; }
};

struct ButtonOptions {
    bool isDefault = false;  // Enter presses it (unless another button has the focus)
    bool isCancel = false;   // Esc presses it
    int modalResult = 0;     // set on the form before OnClick runs; a modal form then closes
};

// A push button (BUTTON).
class Button : public Control {
public:
    Button(Container& parent, const ControlInfo& info, const ButtonOptions& options = {});
    ~Button() override;

    // What a click does: the modal result, then OnClick. Nothing when the button is disabled or
    // hidden (itself or a container it is on; a hidden form does not count).
    void Click();
    void SetModalResult(int result) { modalResult_ = result; }

    std::function<void()> OnClick;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(WORD code) override;
    bool UsesParentColor() const override { return true; }

private:
    int modalResult_;
};

// A check box (BUTTON, BS_AUTOCHECKBOX).
class CheckBox : public Control {
public:
    CheckBox(Container& parent, const ControlInfo& info, bool checked = false);

    bool Checked() const;
    void SetChecked(bool checked);  // raises no OnClick

    std::function<void()> OnClick;  // after the user changed the state

protected:
    void OnCommand(WORD code) override;
    bool UsesParentColor() const override { return true; }
};

// A one-line text field (EDIT).
class Edit : public Control {
public:
    Edit(Container& parent, const ControlInfo& info);

    std::function<void()> OnChange;

protected:
    Edit(Container& parent, const ControlInfo& info, DWORD style);
    void OnCommand(WORD code) override;
};

struct MemoOptions {
    bool wantTabs = false;    // Tab types a tab character instead of moving the focus
    bool wantReturns = true;  // Enter starts a new line instead of pressing the default button
    bool wordWrap = true;
};

// A multi-line text field with a vertical scroll bar. Line breaks are CR LF.
class Memo : public Edit {
public:
    Memo(Container& parent, const ControlInfo& info, const MemoOptions& options = {});

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    MemoOptions options_;
};

// A drop-down list the user picks from but cannot type into (COMBOBOX, CBS_DROPDOWNLIST). Each item
// is a text with a number carried alongside. The bounds' height is the closed box's.
class ComboBox : public Control, public ItemList {
public:
    ComboBox(Container& parent, const ControlInfo& info, int dropDownCount = 8);

    void Clear() override;
    void AddItem(const std::u16string& text, intptr_t object = 0) override;
    int ItemCount() const;
    std::u16string ItemText(int index) const;
    intptr_t ItemObject(int index) const;
    // -1 when nothing is selected; setting -1 clears the selection. Raises no OnSelect.
    int ItemIndex() const;
    void SetItemIndex(int index);

    std::function<void()> OnSelect;  // the user picked an item

protected:
    void OnCommand(WORD code) override;
    // The window reaches down over its list.
    Bounds WindowBounds(const Bounds& placed) const override;

private:
    int dropDownCount_;
};

// The system's key-capture field (msctls_hotkey32). With `bareKey` every modifier held while a key
// is pressed is dropped, so the field records the key alone.
class HotKeyEdit : public Control {
public:
    HotKeyEdit(Container& parent, const ControlInfo& info, bool bareKey = true);

    // The virtual-key code, 0 when empty.
    uint16_t Key() const;
    // HOTKEYF_SHIFT, HOTKEYF_CONTROL, HOTKEYF_ALT and HOTKEYF_EXT.
    uint8_t Modifiers() const;
    void SetHotKey(uint16_t key, uint8_t modifiers = 0);
    // In OnChange, while the key in the field is being typed: MOD_ALT, MOD_CONTROL, MOD_SHIFT and
    // MOD_WIN of the modifier keys held with it (a field for a bare key keeps only the key). Zero
    // at any other change, such as a modifier let go after the key.
    UINT HeldModifiers() const;

    std::function<void()> OnChange;

protected:
    void OnCommand(WORD code) override;
};

enum class BevelShape { HorizontalLine, VerticalLine, Frame };

// An etched line or frame (STATIC); a line is drawn along the top or left edge of its bounds.
class Bevel : public Control {
public:
    Bevel(Container& parent, const ControlInfo& info, BevelShape shape = BevelShape::HorizontalLine);

protected:
    bool UsesParentColor() const override { return true; }
};

}  // namespace fw
