// A thin wrapper of one system window of our own class: the object is stored with the window at
// creation, every message reaches the virtual OnMessage (and through DefaultProc the typed OnPaint,
// MouseEnter and MouseLeave), and no error escapes the window procedure, the one window procedure
// the program defines for its classes.
// Work that must not run under one of the window's own handlers (freeing the window, rebuilding
// its controls) is deferred until none of them is on the stack.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/CallbackList.h"
#include "framework/MouseEnterLeave.h"

namespace fw {

class Application;

struct WindowClassInfo {
    const wchar_t* name;
    UINT style = 0;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

// Registers the class on first use (a class registered before stays as it is); raises the system's
// error on failure. Windows of the toolkit's own classes use Window::Proc; a class for windows that
// a subclass drives (SubclassedWindow) may give DefWindowProcW.
void RegisterWindowClass(HINSTANCE instance, const WindowClassInfo& windowClass, WNDPROC procedure);

struct WindowCreateInfo {
    DWORD exStyle = 0;
    std::u16string title;
    DWORD style = WS_OVERLAPPEDWINDOW;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HMENU menu = nullptr;
};

class Window {
public:
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    // The application the window belongs to (not for a window made without one).
    Application& App() const { return *app_; }

    // Runs `action` from the message loop once no handler of this window is running (for a form,
    // no handler of its controls either): a handler that waits in a nested loop (a modal form, a
    // message box) holds it back until it has returned. Dropped when the object is deleted first.
    void Defer(std::function<void()> action);
    // Frees the object the same way, after the deferred actions (which must not free it themselves).
    // An object freed by other means before then is not touched again.
    void Release();
    // A handler of the window is running now: the object may not be deleted before it returns
    // (Release waits for it).
    bool Handling() const { return handlers_ > 0; }

    // Hooks see each message of the window before its own handling, in the order they were added,
    // while their subscription lives; one that returns true has handled the message with `result`.
    // This is how another part of the program watches a window of ours.
    using MessageHooks = CallbackList<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
    [[nodiscard]] Subscription HookMessages(MessageHooks::Callback hook) { return hooks_.Add(std::move(hook)); }

    // Counts a handler of the window as running while it lives. The window procedure keeps one for
    // every message; controls keep one on their form.
    class HandlerScope {
    public:
        explicit HandlerScope(Window& window);
        ~HandlerScope();
        // Handlers of any window of this thread running now.
        static int Running();
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        Window& window_;
    };

protected:
    explicit Window(Application& app);
    // A window of no application object, for objects that live without one (the shared hidden
    // windows): its errors go to the current application's error handler.
    Window();

    // Registers the class on first use and creates the window; raises the system's error on failure.
    void Create(const WindowClassInfo& windowClass, const WindowCreateInfo& info);

    // Everything not handled here goes to DefaultProc.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Paints `area` of the client area (WM_PAINT, inside the paint pair, which an error still
    // ends), or all of it into another context (WM_PRINTCLIENT). The default paints nothing.
    virtual void OnPaint(HDC /*dc*/, const RECT& /*area*/) {}
    // From now on the pointer coming onto the window and going off it again reach MouseEnter and
    // MouseLeave, through DefaultProc as the paint messages reach OnPaint.
    void WatchMouseEnterLeave() { mouse_.Enable(); }
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // How Release frees the object: `delete this` (made with new, owned by nobody) unless its owner
    // frees it.
    virtual void DeleteAfterRelease() { delete this; }
    // The system's default handling; the paint messages go to OnPaint, the pointer's coming and
    // going to MouseEnter and MouseLeave.
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool HasDeferredWork() const { return !deferred_.empty() || releasing_; }
    void PostDeferredWork();
    void RunDeferredWork();
    void HandleError() noexcept;

    Application* app_;
    HWND hwnd_ = nullptr;
    int handlers_ = 0;
    std::vector<std::function<void()>> deferred_;
    bool releasing_ = false;
    MessageHooks hooks_;
    MouseEnterLeave mouse_;
};

// The work area (the screen without the taskbar) of the monitor the window is on, or of the
// primary monitor when it is on none.
RECT WorkAreaOf(HWND window);

}  // namespace fw
