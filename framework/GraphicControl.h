// Controls without a window of their own ("graphic controls"): they live in a parent window, are
// painted into the parent's device context and get the parent's mouse input for their area.
//
// The parent is a GraphicHostWindow (GraphicHostWindow.h): it owns the GraphicHost, paints the
// controls over its own content and hands them its mouse messages, its leave notice, its capture
// changes and its cursor requests; what no control takes is the window's own.
//
// Routing rules:
// - A press goes to the topmost visible control under the mouse. That control then holds the mouse
//   (the parent window takes the system's mouse capture): it gets every move and every further
//   press and release, also outside its bounds and outside the parent, until no button is held.
// - If capture is taken away (another window captures the mouse), the holding control is given a
//   release of the button that started it at the last known position, so it never stays "pressed".
// - Without a holding control, moves and releases go to the topmost visible control under the
//   mouse; with none there, the message is the parent's own.
// - While the parent has captured the mouse for a drag of its own (SetCapture without a control
//   holding the mouse), every mouse message stays with the parent and hover does not change.
// - MouseEnter/MouseLeave follow the control under the mouse; leaving the parent window counts as
//   leaving. While a control holds the mouse they are put off: after the final release the host
//   compares again and sends what changed.
// - Coordinates given to a control are its own: (0, 0) is its top-left corner.
//
// Bounds are in the parent's client pixels, right and bottom exclusive. A control whose width or
// height is zero or negative covers no pixels: it is neither painted nor hit, but keeps its bounds.
// Controls should be destroyed before their host (those of the host window's own always are); a
// host that goes first detaches the remaining controls, which then stay inert.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "framework/Geometry.h"
#include "framework/MouseInput.h"
#include "framework/Picture.h"
#include "framework/UniqueHandle.h"

namespace fw {

class GraphicHost;
class GraphicHostWindow;
class Window;

// A mouse message of a window's client area, read.
struct MouseEvent {
    enum Kind { Move, Press, Release };
    UINT message;  // the message it was read from
    Kind kind;
    MouseButton button;  // of a press or a release
    // The keys and buttons held: for a press including the pressed button (and Double for the
    // second press of a double click), for a release without it.
    ShiftState shift;
    bool buttonsHeld;  // a button is down after the message, the X buttons included
    int x;             // client pixels
    int y;
};

// The mouse message read, or nothing for another message.
std::optional<MouseEvent> ReadMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);

class GraphicControl {
public:
    // The new control is visible, at (0, 0) with no size, on top of the host's other controls.
    explicit GraphicControl(GraphicHost& host);
    virtual ~GraphicControl();
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rect BoundsRect() const { return ToRect(Bounds{left_, top_, width_, height_}); }

    // Each change repaints the old and the new area and then calls Resize; setting the bounds
    // the control already has does nothing.
    void SetBounds(int left, int top, int width, int height);
    void SetLeft(int value) { SetBounds(value, top_, width_, height_); }
    void SetTop(int value) { SetBounds(left_, value, width_, height_); }
    void SetWidth(int value) { SetBounds(left_, top_, value, height_); }
    void SetHeight(int value) { SetBounds(left_, top_, width_, value); }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }

    // The cursor over the control; null leaves the choice to the parent. A change shows at once
    // when the control is the one under (or holding) the mouse.
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor);
    // The system's cursor for a toolkit cursor id; crDefault and ids without one leave the choice to
    // the parent.
    void SetCursorId(CursorId id);

    // Asks for a repaint of the control's area (done with the parent's next WM_PAINT).
    void Invalidate();
    // Makes the control the topmost one of its host.
    void BringToFront();

    // Null once the host is gone.
    GraphicHost* Host() const { return host_; }
    HWND ParentHandle() const;
    UINT Dpi() const;

protected:
    // dc's origin is the control's top-left corner and drawing is clipped to the control.
    virtual void Paint(HDC /*dc*/) {}
    // After any change of the bounds, moves included.
    virtual void Resize() {}
    // Positions in control pixels; shift holds the keys and buttons down (for a press including
    // the pressed button, for a release without it).
    virtual void MouseDown(MouseButton /*button*/, ShiftState /*shift*/, int /*x*/, int /*y*/) {}
    virtual void MouseMove(ShiftState /*shift*/, int /*x*/, int /*y*/) {}
    virtual void MouseUp(MouseButton /*button*/, ShiftState /*shift*/, int /*x*/, int /*y*/) {}
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}

private:
    friend class GraphicHost;
    bool Covers(int x, int y) const;

    GraphicHost* host_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    HCURSOR cursor_ = nullptr;
};

// A device context on the parent window for drawing a control outside WM_PAINT: origin at the
// control's top-left, clipped to the control. Empty (null) when the control is hidden or its
// parent has no window yet.
class ControlDC {
public:
    explicit ControlDC(const GraphicControl& control);
    HDC get() const { return dc_.get(); }

private:
    UniqueWindowDC dc_;
};

// The controls of one GraphicHostWindow: only that window makes it and hands it what it routes.
class GraphicHost {
public:
    ~GraphicHost();
    GraphicHost(const GraphicHost&) = delete;
    GraphicHost& operator=(const GraphicHost&) = delete;

    HWND Handle() const;

    // The topmost visible control covering the point (parent client pixels), or null.
    GraphicControl* ControlAt(int x, int y) const;
    // The control holding the mouse, or null.
    GraphicControl* CaptureControl() const { return capture_; }
    // The control the mouse is over as far as enter/leave go, or null.
    GraphicControl* MouseControl() const { return hover_; }

private:
    friend class GraphicControl;
    friend class GraphicHostWindow;
    explicit GraphicHost(const Window& parent) : parent_(parent) {}

    // Paints the visible controls, bottom to top, into a DC in the parent's client coordinates.
    void PaintControls(HDC dc);
    // True when a control took the mouse message; see the routing rules above.
    bool Route(const MouseEvent& event);
    // The pointer left the parent window.
    void PointerLeft();
    // The parent's mouse capture went to `owner` (null: to no window).
    void CaptureChanged(HWND owner);
    // True when the cursor was set for a control (WM_SETCURSOR is answered TRUE then).
    bool HandleSetCursor(WPARAM wParam, LPARAM lParam);

    void Add(GraphicControl& control) { controls_.push_back(&control); }
    void Remove(GraphicControl& control);
    void Hidden(GraphicControl& control);
    void BringToFront(GraphicControl& control);
    void InvalidateArea(const Rect& rect) const;

    bool Press(MouseButton button, ShiftState shift, int x, int y);
    bool Release(MouseButton button, ShiftState shift, bool buttonsHeld, int x, int y);
    bool Move(ShiftState shift, int x, int y);
    void CaptureLost();
    void SetHover(GraphicControl* control);
    void HoverAt(int x, int y);
    bool ParentDrags() const;

    const Window& parent_;
    std::vector<GraphicControl*> controls_;  // bottom to top
    GraphicControl* capture_ = nullptr;
    MouseButton captureButton_ = MouseButton::Left;
    GraphicControl* hover_ = nullptr;
    int lastX_ = 0;
    int lastY_ = 0;
};

}  // namespace fw
