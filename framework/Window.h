// A thin wrapper of one system window: the object is stored with the window at creation, every
// message reaches the virtual OnMessage, and no error escapes the window procedure. Work that must
// not run under one of the window's own handlers (freeing the window, rebuilding its controls) is
// deferred until none of them is on the stack.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

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
    Application& App() const { return app_; }

    // Runs `action` from the message loop once no handler of this window is running (for a form,
    // no handler of its controls either): a handler that waits in a nested loop (a modal form, a
    // message box) holds it back until it has returned. Dropped when the object is deleted first.
    void Defer(std::function<void()> action);
    // Frees the object the same way, after the deferred actions (which must not free it themselves).
    // An object freed by other means before then is not touched again.
    void Release();

    // Counts a handler of the window as running while it lives. The window procedure keeps one for
    // every message; controls keep one on their form.
    class HandlerScope {
    public:
        explicit HandlerScope(Window& window) : window_(window) { ++window_.handlers_; }
        ~HandlerScope();
        HandlerScope(const HandlerScope&) = delete;
        HandlerScope& operator=(const HandlerScope&) = delete;

    private:
        Window& window_;
    };

protected:
    explicit Window(Application& app) : app_(app) {}

    // Registers the class on first use and creates the window; raises the system's error on failure.
    void Create(const WindowClassInfo& windowClass, const WindowCreateInfo& info);

    // Everything not handled here goes to DefaultProc.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // How Release frees the object: `delete this` (made with new, owned by nobody) unless its owner
    // frees it.
    virtual void FreeReleased() { delete this; }
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool HasDeferredWork() const { return !deferred_.empty() || releasing_; }
    void PostDeferredWork();
    void RunDeferredWork();

    Application& app_;
    HWND hwnd_ = nullptr;
    int handlers_ = 0;
    std::vector<std::function<void()>> deferred_;
    bool releasing_ = false;
};

// The work area (the screen without the taskbar) of the monitor the window is on, or of the
// primary monitor when it is on none.
RECT WorkAreaOf(HWND window);

}  // namespace fw
