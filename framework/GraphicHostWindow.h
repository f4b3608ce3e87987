// A window of our own class that hosts graphic controls (GraphicControl.h): it paints them over its
// own content and routes its mouse messages, its leave notice, its capture changes and its cursor
// requests to them, by the routing rules told there. What no control takes reaches the window's
// own hooks. Its content covers every pixel: no background is erased first.
#pragma once

#include <windows.h>

#include "framework/GraphicControl.h"
#include "framework/Window.h"

namespace fw {

class GraphicHostWindow : public Window {
public:
    // The controls over the window's content, in its client coordinates.
    GraphicHost& Host() { return host_; }

protected:
    // Made before the derived window's controls, and gone after them.
    explicit GraphicHostWindow(Application& app);

    // A derived window hands on what it does not handle itself; what the routing does not handle
    // goes to DefaultProc.
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Paints the window's own content under the controls: `area` of the client area (WM_PAINT), or
    // all of it into another context (WM_PRINTCLIENT).
    virtual void PaintContent(HDC /*dc*/, const RECT& /*area*/) {}
    // A mouse message no control took, in client pixels.
    virtual void OwnMouse(const MouseEvent& /*event*/) {}
    // Another window took the mouse capture (a control that held the mouse has had its release).
    virtual void CaptureLost() {}

private:
    void OnPaint(HDC dc, const RECT& area) final;
    void MouseLeave() final;

    GraphicHost host_{*this};
};

}  // namespace fw
