// The application object: its own hidden top-level window, the one message loop through which
// every message of the user-interface thread passes (with the message hooks), and the default
// error handler.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fw {

// The text the default error handler shows: a period is appended when the text lacks one.
std::u16string ErrorDisplayText(const std::u16string& text);

class Application {
public:
    explicit Application(HINSTANCE instance);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HINSTANCE Instance() const { return instance_; }
    // The hidden window that stands for the application as a whole; hotkeys are registered on it.
    HWND Handle() const;

    const std::u16string& Title() const { return title_; }
    void SetTitle(std::u16string title);

    // Hooks see every message any loop of this thread takes from the queue, before it is
    // translated and dispatched; a hook that sets `handled` stops the dispatch.
    using MessageHook = std::function<void(MSG& message, bool& handled)>;
    int AddMessageHook(MessageHook hook);
    void RemoveMessageHook(int id);

    // Waits for one message and handles it. False once the quit message arrives (it stays posted
    // for any outer loop).
    bool ProcessMessage();
    // Runs until Terminate; the quit message's exit code.
    int Run();
    void Terminate(int exitCode = 0);
    bool Terminated() const { return terminated_; }

    // The default error handler: a stop-icon message box captioned with the title. Call it from
    // a catch block; it never throws.
    void HandleException() noexcept;
    void ShowErrorText(const std::u16string& text) noexcept;

private:
    class AppWindow;
    void RunHooks(MSG& message, bool& handled);
    bool IsDispatching(UINT message, WPARAM wParam, LPARAM lParam) const;

    HINSTANCE instance_;
    std::u16string title_;
    std::unique_ptr<AppWindow> window_;
    std::vector<std::pair<int, MessageHook>> hooks_;
    int nextHookId_ = 1;
    const MSG* dispatching_ = nullptr;  // the message our loop is dispatching right now
    bool terminated_ = false;
    int exitCode_ = 0;
};

}  // namespace fw
