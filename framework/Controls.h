// The building blocks of our windows.
//
// Control: one child window of a system class (STATIC, BUTTON, EDIT, ...) or of our plain panel
// class, placed on a Container with bounds in pixels at 96 DPI. The bounds are scaled for the
// window's DPI, and the anchors keep the control's distances to its parent's edges when the parent
// changes size. Notifications the system sends to the parent (WM_COMMAND, WM_NOTIFY) come back to
// the control, which turns them into plain std::function events (OnClick, OnChange, ...).
//
// Container: a window holding controls (a form, a panel, a frame, a page, a scroll box). It lays
// its controls out, hands their notifications back to them, and paints its background in its own
// colour or the one of its parent, which its labels and check boxes share.
//
// Tab order is creation order (PlaceAfter changes it); control identifiers are handed out by the
// form. A control object owns its window: destroying the object destroys the window. Declare
// controls as members after the containers they sit on.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/FormLayout.h"
#include "framework/GdiObjects.h"
#include "framework/SubclassedWindow.h"

namespace fw {

class Container;
class Form;

struct ControlInfo {
    std::u16string text = {};  // the caption, also what screen readers read
    Bounds bounds = {};        // in the parent's client area, pixels at 96 DPI
    Anchors anchors = akLeft | akTop;
    bool visible = true;
    bool enabled = true;
};

class Control : public SubclassedWindow {
public:
    ~Control() override;

    Container* Parent() const { return parent_; }
    int Id() const { return id_; }
    // The control object of a window made by this toolkit, or null.
    static Control* FromHandle(HWND window);

    std::u16string Text() const;
    void SetText(const std::u16string& text);

    // Bounds at 96 DPI in the parent's client area as they now are; setting them takes the parent's
    // present size as the size the anchors keep distances to.
    Bounds DesignBounds() const { return design_; }
    void SetBounds(const Bounds& bounds);
    void SetHeight(int height);
    void SetWidth(int width);
    // The window's place in device pixels of the parent's client area.
    RECT PixelBounds() const;

    // The control's own flag; a visible control on a hidden parent is not on the screen.
    bool Visible() const;
    void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);

    void SetFocus();
    bool Focused() const;
    // Moves the control right after `previous` in the tab order (to the front when null).
    void PlaceAfter(const Control* previous);

    // A font of its own (e.g. a 12-point heading) instead of the form's. Controls drawn on their
    // parent's colour (labels) draw their text in the font's colour.
    void SetFont(const Font& font);
    // The colour of the text: its own font's, or else the window-text colour.
    COLORREF TextColor() const;

protected:
    struct WindowClass {
        const wchar_t* className;
        DWORD style;  // WS_CHILD and the visible/disabled state are added
        DWORD exStyle = 0;
        bool paintsItself = false;  // drawn by OnPaint instead of the class's own painting
    };
    Control(Container& parent, const ControlInfo& info, const WindowClass& window);

    // Every message of the window goes to OnMessage (SubclassedWindow), what is not handled to
    // DefaultProc.
    // Notifications from the window to its parent.
    virtual void OnCommand(WORD /*code*/) {}
    virtual LRESULT OnNotify(NMHDR& /*header*/) { return 0; }
    // Labels, check boxes and buttons are drawn on their parent's colour.
    virtual bool UsesParentColor() const { return false; }
    // Where the window goes, given the place its bounds and anchors make for it in device pixels of
    // the parent's client area: there, unless the control reaches beyond it (the list of a
    // drop-down) or fits itself in it (a label sized to its text).
    virtual Bounds WindowBounds(const Bounds& placed) const { return placed; }
    // The form's font or the control's own, at the form's DPI.
    virtual void ApplyFont();

    Form& OwnerForm() const;
    UINT Dpi() const;
    // Puts the window where its bounds, anchors and WindowBounds say, when it is not there already.
    void Place();

    // The control's handlers are its form's: the form is not freed while one of them runs.
    Window* KeepAliveWindow() const override;
    void OnDestroying() override;

private:
    friend class Container;
    void Detach() { parent_ = nullptr; }

    Container* parent_;
    int id_;
    Bounds design_;
    Size parentDesign_;
    Anchors anchors_;
    std::optional<Font> font_;
};

class Container {
public:
    virtual ~Container();
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    virtual HWND ContainerHandle() const = 0;
    virtual Form& RootForm() const = 0;
    UINT Dpi() const;
    // The client area in pixels at 96 DPI.
    Size ClientSize96() const;

    // The background: its own colour, or else its parent's (a form's is the dialog colour). In high
    // contrast an own colour gives way to the scheme's (ColorRole::Background).
    void SetColor(ColorSpec color);
    void ClearColor();  // back to the parent's
    COLORREF Color() const;
    HBRUSH BackgroundBrush() const;

    const std::vector<Control*>& Controls() const { return controls_; }
    // Places every control again (and the controls of the containers among them).
    void Realign();

    // Tab is about to take the focus out of `child`, one of this container's controls: true when
    // the container has moved it itself (a column that brings its next row into view).
    virtual bool TabOut(Control& /*child*/, bool /*backward*/) { return false; }
    // The keyboard brought the focus to `child` or into it: a container that scrolls shows it.
    virtual void ShowFocused(Control& /*child*/) {}

protected:
    Container() = default;
    virtual Container* ParentContainer() const = 0;
    // Places the controls; the default keeps them at their anchors.
    virtual void LayoutControls();
    // Places one control whose bounds or visibility changed.
    virtual void LayoutControl(Control& control);
    // A control was destroyed.
    virtual void ControlRemoved() {}
    virtual bool ErasesBackground() const { return true; }
    // The messages every container handles alike: notifications of its controls, their colours,
    // its own size and background. True when the message was handled.
    bool HandleContainerMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The font and places of every control below this one, after the DPI changed.
    void RescaleControls();

private:
    friend class Control;
    void Attach(Control& control) { controls_.push_back(&control); }
    void Detach(Control& control);

    std::vector<Control*> controls_;
    std::optional<ColorSpec> color_;
    std::optional<Brush> brush_;  // for an own colour that is not a system colour
};

// Holds back the painting of a shown window and its children while many of them change (a label on
// the screen paints at once at each new text); they paint once, as usual, after the end. A hidden
// window would be shown at the end.
class ScopedNoRedraw {
public:
    explicit ScopedNoRedraw(HWND window);
    ~ScopedNoRedraw();
    ScopedNoRedraw(const ScopedNoRedraw&) = delete;
    ScopedNoRedraw& operator=(const ScopedNoRedraw&) = delete;

private:
    HWND window_;
};

}  // namespace fw
