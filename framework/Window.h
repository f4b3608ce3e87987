// A thin wrapper of one system window: the object is stored with the window at creation, every
// message reaches the virtual OnMessage, and no error escapes the window procedure.
#pragma once

#include <windows.h>

#include <string>

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

protected:
    explicit Window(Application& app) : app_(app) {}

    // Registers the class on first use and creates the window; raises the system's error on failure.
    void Create(const WindowClassInfo& windowClass, const WindowCreateInfo& info);

    // Everything not handled here goes to DefaultProc.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    Application& app_;
    HWND hwnd_ = nullptr;
};

// The work area (the screen without the taskbar) of the monitor the window is on, or of the
// primary monitor when it is on none.
RECT WorkAreaOf(HWND window);

}  // namespace fw
