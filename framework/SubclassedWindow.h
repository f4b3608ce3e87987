// A window whose procedure is not ours (a system control, or a window another part of the program
// owns) with our handler put in front of it through the system's subclass chain, so that several
// handlers may come and go in any order. Every message reaches the virtual OnMessage first, and no
// error escapes it: it goes to the default error handler. A window that paints itself gets its paint
// messages as the typed OnPaint, and one that asks for them the pointer's coming and going as
// MouseEnter and MouseLeave, as a Window gets them.
#pragma once

#include <windows.h>

#include "framework/MouseEnterLeave.h"

namespace fw {

class Window;

struct SubclassOptions {
    // OnPaint draws every pixel: the background is not erased first.
    bool paintsItself = false;
};

class SubclassedWindow {
public:
    // Takes the handler away; the window stays.
    virtual ~SubclassedWindow();
    SubclassedWindow(const SubclassedWindow&) = delete;
    SubclassedWindow& operator=(const SubclassedWindow&) = delete;

    // The window, until the handler is taken away or the window destroyed.
    HWND Handle() const { return window_; }

protected:
    SubclassedWindow() = default;
    // Puts the handler in front of the window's procedure; raises the system's error when it cannot.
    void Subclass(HWND window, const SubclassOptions& options = {});
    // Takes the handler away again.
    void Unsubclass();
    // Takes the handler away and destroys the window, for an object that owns its window.
    void DestroyOwnWindow();

    // Every message; what is not handled goes to DefaultProc.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // With paintsItself: paints `area` of the client area (WM_PAINT, inside the paint pair, which an
    // error still ends), or all of it into another context (WM_PRINTCLIENT).
    virtual void OnPaint(HDC /*dc*/, const RECT& /*area*/) {}
    // From now on the pointer coming onto the window and going off it again reach MouseEnter and
    // MouseLeave, through DefaultProc.
    void WatchMouseEnterLeave() { mouse_.Enable(); }
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // The window is being destroyed before the object (its parent went first): the last moment to
    // take back what was stored on it. The handler is taken away right after.
    virtual void OnDestroying() {}
    // The toolkit window whose handlers this one's count as (a control's form): it is not freed while
    // one of them runs.
    virtual Window* KeepAliveWindow() const { return nullptr; }
    // The procedure behind this one; with paintsItself the paint messages go to OnPaint instead. The
    // pointer's coming and going reach MouseEnter and MouseLeave first.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

    HWND window_ = nullptr;
    SubclassOptions options_;
    MouseEnterLeave mouse_;
};

}  // namespace fw
