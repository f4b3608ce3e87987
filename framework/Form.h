// A form: a top-level window of our own, designed in pixels at 96 DPI and scaled for its monitor
// (it follows WM_DPICHANGED), with the dialog font Tahoma 8 pt for all its controls, dialog
// keyboard navigation (Tab and Shift+Tab in creation order, Enter for the default button, Esc for
// the cancel button, Alt+letter for captions with "&"), modal showing with a modal result and
// modeless showing with a close action.
//
//     class TfrmExample final : public fw::Form {
//     public:
//         explicit TfrmExample(fw::Application& app, HWND owner)
//             : Form(app, owner, {.caption = u"Example", .clientWidth = 300, .clientHeight = 120}) {}
//         fw::Button btnOK{*this, {.text = u"OK", .bounds = {217, 87, 75, 25}, .anchors = fw::akRight | fw::akBottom},
//                          {.isDefault = true, .modalResult = fw::mrOk}};
//     };
//     TfrmExample dialog(app, owner);
//     if (dialog.ShowModal() == fw::mrOk) ...
//
// The modal loop goes through fw::Application, so the application's message hooks keep working
// while a modal form is up.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/GdiObjects.h"
#include "framework/Window.h"

namespace fw {

class Button;
class Panel;

// Modal results; the values are the system's dialog-box command identifiers (IDOK, ...).
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};

enum class FormBorder {
    Sizeable,        // caption, minimize, maximize and close boxes, sizing frame
    SizeableDialog,  // sizing frame, only the close box
    Dialog,          // fixed size, only the close box
    None,            // no caption and no frame: a popup the program places itself
};

enum class FormPosition {
    OwnerCenter,   // centred on the owner window; on its monitor's work area when the owner is hidden
    ScreenCenter,  // centred on the work area of the owner's monitor (the primary one without owner)
    Designed,      // where it was put (SetPosition) or the system's default place
};

// What closing a modeless form (close box, Close) does with it.
enum class CloseAction { None, Hide, Free, Minimize };

struct FormInfo {
    std::u16string caption = {};
    int clientWidth = 0;  // pixels at 96 DPI
    int clientHeight = 0;
    FormBorder border = FormBorder::Sizeable;
    FormPosition position = FormPosition::OwnerCenter;
    const wchar_t* windowClass = nullptr;  // a class of its own, for windows others look for; null: the forms' class
    HICON icon = nullptr;                  // the icon of its own class (caption and taskbar)
};

class Form : public Window, public Container {
public:
    // The window is made at once, hidden. The form stays in front of `owner` (any window; its
    // top-level window is taken), which is disabled while the form is modal. Null: no owner.
    Form(Application& app, HWND owner, const FormInfo& info);
    ~Form() override;

    HWND Handle() const { return Window::Handle(); }
    HWND ContainerHandle() const override { return Handle(); }
    Form& RootForm() const override { return const_cast<Form&>(*this); }
    UINT Dpi() const { return dpi_; }
    const Font& ControlFont() const { return font_; }

    std::u16string Caption() const;
    void SetCaption(const std::u16string& caption);
    void SetClientSize(int width, int height);  // pixels at 96 DPI
    // The window's top-left corner on the screen, in device pixels.
    void SetPosition(int x, int y);
    // The smallest client area the user can size the window to, pixels at 96 DPI; none until set.
    void SetMinClientSize(int width, int height);
    // That smallest size as the whole window has it on a monitor of `dpi`, in device pixels.
    Size MinWindowSize(UINT dpi) const;
    // The window's rectangle on the screen while neither maximized nor minimized, in device pixels,
    // and whether it is maximized: what a window that remembers its place keeps.
    Bounds NormalBounds() const;
    bool Maximized() const { return IsZoomed(Handle()) != FALSE; }
    // Puts the hidden form there: showing it keeps that place instead of centring it, maximized when asked.
    void PlaceAt(const Bounds& normal, bool maximized);

    // Shows the form modally: the owner and every other visible top-level window of the thread are
    // disabled (windows that appear meanwhile are not), and the loop runs until the modal result is
    // set (a button with a modal result, SetModalResult, the close box or Esc: mrCancel) and the
    // close is allowed; then the windows are enabled again, the form is hidden, the window that was
    // active (or the owner) is activated and the result returned. When the application quits
    // meanwhile, mrCancel.
    int ShowModal();
    bool Modal() const { return modal_; }
    void SetModalResult(int result) { modalResult_ = result; }

    // Shows the form modeless and activates it; a modal form that keeps it disabled stays in front.
    void Show();
    void Hide();
    bool Visible() const;
    // As the close box: a modal form ends with mrCancel; a modeless one asks OnCloseQuery, then
    // OnClose with the close action (Hide unless set otherwise) and carries it out.
    void Close();
    // Free: Release, so the form goes once no handler of it or of its controls is running.
    void SetCloseAction(CloseAction action) { closeAction_ = action; }

    // Draws the top band of the client area, `height` pixels at 96 DPI, as part of the window frame
    // where the system composes window frames; `band`, the panel covering it, is then painted black,
    // which the composition shows as frame. Elsewhere the band keeps its own colour.
    void ExtendFrameIntoBand(Panel& band, int height);

    // Focuses a control of the form as the keyboard does, scrolling the containers it is in to it.
    void FocusControl(HWND control);
    // The control the focus goes to when the form is next activated (the first tab stop otherwise).
    void SetActiveControl(HWND control) { focus_ = control; }

    Button* DefaultButton() const { return defaultButton_; }
    Button* CancelButton() const { return cancelButton_; }

    // Events.
    std::function<void()> OnShow;               // after the form became visible
    std::function<bool()> OnCloseQuery;         // false keeps the form open
    std::function<void(CloseAction&)> OnClose;  // may change what happens
    // A key pressed anywhere in the form (WM_KEYDOWN's virtual key), offered before the dialog keys
    // (Tab, Enter, Esc, the arrows between controls); true when the form has handled it.
    std::function<bool(UINT key)> OnKeyDown;

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    Container* ParentContainer() const override { return nullptr; }

private:
    friend class Control;
    friend class Button;
    int NextControlId() { return nextControlId_++; }
    void SetDefaultButton(Button* button) { defaultButton_ = button; }
    void SetCancelButton(Button* button) { cancelButton_ = button; }
    void ButtonFocused(Button* button);
    void ControlDestroyed(Control& control);

    bool DialogKey(MSG& message);
    bool NavigationKey(MSG& message);
    void TabFrom(HWND focus, bool backward);
    bool TurnPage(HWND focus, bool backward);
    void ShowWindowNow();
    void PlaceOnScreen();
    void RestoreFocus();
    void NextControl(HWND control);
    bool CloseQuery();
    void CloseModal();
    void EnableDisabledWindows();
    void DpiChanged(UINT dpi, const RECT& suggested);
    void ApplyFrameBand();
    void ColorsChanged();
    DWORD Style() const;
    DWORD ExStyle() const;

    FormInfo info_;
    UINT dpi_ = 96;
    Font font_;
    int nextControlId_ = 100;  // clear of IDOK, IDCANCEL and the other command identifiers
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
    HWND focus_ = nullptr;  // the control to focus when the form is active again
    bool modal_ = false;
    int modalResult_ = mrNone;
    std::vector<HWND> disabledWindows_;  // by this form's modal state
    Form* outerModal_ = nullptr;         // the modal form this one is shown from within
    CloseAction closeAction_ = CloseAction::Hide;
    Size minClient_;       // at 96 DPI; zero: no minimum
    bool placed_ = false;  // PlaceAt put it: it shows where it is
    bool showMaximized_ = false;
    Panel* frameBand_ = nullptr;
    int frameBandHeight_ = 0;
    Subscription dialogFilter_;  // taken off first as the form goes
};

// The modal window of this thread in front: a message box or file dialog, else the innermost modal
// form; null while none is up.
HWND ModalWindowInFront();

}  // namespace fw
