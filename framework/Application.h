// The application object: its own hidden top-level window, the one message loop through which
// every message of the user-interface thread passes (with the message hooks), and the default
// error handler.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/CallbackList.h"

namespace fw {

class Window;

// The text the default error handler shows: a period is appended when the text lacks one.
std::u16string ErrorDisplayText(const std::u16string& text);

// How a box of the error path looks. The default is the default error handler's own box: captioned
// with the application's title, a stop icon, the text ending in a period, owned by the active window
// and brought to the front.
struct ErrorBoxStyle {
    // A caption of its own in place of the title.
    std::u16string caption;
    // A plain box: no icon, the text as it is, no owner, not brought to the front (the keystroke
    // sender's messages, which it has always shown so).
    bool plain = false;
};

class Application {
public:
    explicit Application(HINSTANCE instance);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    HINSTANCE Instance() const { return instance_; }
    // The hidden window that stands for the application as a whole: its taskbar presence, and the
    // broadcasts every top-level window receives.
    HWND Handle() const;

    const std::u16string& Title() const { return title_; }
    // The full path of the running program file.
    static std::u16string ExeName();
    void SetTitle(std::u16string title);

    // Hooks see every message the application's loops take from the queue, before it is translated
    // and dispatched, while their subscription lives; a hook that returns true has handled the
    // message: the rest do not see it and it is not dispatched.
    using MessageHook = std::function<bool(MSG& message)>;
    [[nodiscard]] Subscription AddMessageHook(MessageHook hook) { return messageHooks_.Add(std::move(hook)); }

    // Keyboard navigation of forms (Tab, Enter, Esc, Alt+letter): a message for the window or one of
    // its child windows is offered to its filter (typically IsDialogMessage) after the hooks,
    // before it is translated and dispatched. A filter that returns true has handled the message.
    using DialogFilter = std::function<bool(MSG& message)>;
    [[nodiscard]] Subscription AddDialogFilter(HWND window, DialogFilter filter);

    // The application's main form: the first form the program creates. Run shows it, or minimizes the
    // application when the form was created minimized (its WS_MINIMIZE style); with ShowMainForm
    // false it does neither.
    Window* MainForm() const { return mainForm_; }
    void SetMainForm(Window* form) { mainForm_ = form; }
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool show) { showMainForm_ = show; }

    // Hooks on the messages of the application window (Handle): its size changes when the
    // application is minimized or restored, its system commands, and the broadcasts every top-level
    // window receives. They run before the window's own handling, in the order they were added; a
    // hook that returns true has handled the message with `result` and stops the rest.
    using MainWindowHook = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
    [[nodiscard]] Subscription HookMainWindow(MainWindowHook hook) { return mainWindowHooks_.Add(std::move(hook)); }

    // Minimizing the application minimizes its window (shown minimized, not activated); restoring
    // brings it back from that state.
    void Minimize();
    void Restore();

    // Handles every message that waits in the queue, then returns.
    void ProcessMessages();
    // Waits for one message and handles it. False once the quit message arrives (it stays posted
    // for any outer loop).
    bool ProcessMessage();
    // Runs until Terminate; the quit message's exit code.
    int Run();
    void Terminate(int exitCode = 0);
    bool Terminated() const { return terminated_; }

    // The program's ending: what it releases once Run returns (its windows, the hotkeys, the tray
    // icon). When the session ends (WM_ENDSESSION) the system may end the process as soon as the
    // message returns, so the ending runs inside that message when nothing of the program is running
    // below it (Run's loop is waiting for a message); the loop then ends as on Terminate. It must be
    // safe to run twice: the program runs it again after Run.
    void SetEnding(std::function<void()> ending) { ending_ = std::move(ending); }

    // COM with OLE on the application's thread, for the calls that want it (shell execution, the
    // shell's automation objects, the file dialogs): started by the first of them rather than with
    // the program, and ended with the application object. Call it on the application's thread. A
    // failure is not raised: the call that wanted OLE then reports its own.
    void UseOle() noexcept;

    // The default error handler: a stop-icon message box captioned with the title. Call it from
    // a catch block; it never throws.
    void HandleException() noexcept;
    void ShowErrorText(const std::u16string& text, const ErrorBoxStyle& style = {}) noexcept;

private:
    class AppWindow;
    void HandleMessage(MSG& message);
    void EndSession();

    HINSTANCE instance_;
    std::u16string title_;
    CallbackList<bool(MSG& message)> messageHooks_;
    CallbackList<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> mainWindowHooks_;
    // Each filter passes the messages for other windows than its own.
    CallbackList<bool(MSG& message, HWND root)> dialogFilters_;
    std::unique_ptr<AppWindow> window_;
    Window* mainForm_ = nullptr;
    bool showMainForm_ = true;
    Application* previous_ = nullptr;  // the current application before this one
    bool terminated_ = false;
    bool running_ = false;  // inside Run, past the showing of the main form
    int handling_ = 0;      // messages of our loops being handled now
    std::function<void()> ending_;
    int exitCode_ = 0;
    void(WINAPI* oleUninitialize_)() = nullptr;  // once UseOle started OLE
};

// The application object that is alive (the most recently created one), or null. Parts of the
// program that have no window of their own, such as the shared hidden windows of the timers and
// tray icons, reach the default error handler through it.
Application* CurrentApplication() noexcept;

// UseOle of the current application, when there is one.
void UseOle() noexcept;

// Reports the exception being handled through the current application's default error handler, or,
// without an application, in a plain stop-icon message box captioned "Corvalend". Call it from a
// catch block; it never throws.
void HandleCurrentException() noexcept;
// Shows a text on the same path: the current application's ShowErrorText or, without one, the same
// box captioned "Corvalend" unless the style gives a caption.
void ShowErrorText(const std::u16string& text, const ErrorBoxStyle& style = {}) noexcept;

}  // namespace fw
