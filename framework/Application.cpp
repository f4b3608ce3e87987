// The one message loop with its hooks, and the error handler every callback hands its errors to.
#include "framework/Application.h"

#include <ole2.h>

#include <utility>
#include <vector>

#include "framework/Error.h"
#include "framework/ScopeExit.h"
#include "framework/SystemLibrary.h"
#include "framework/Text.h"
#include "framework/WinText.h"
#include "framework/Window.h"

namespace fw {

namespace {

Application* current = nullptr;

// The text of the exception being handled.
std::u16string CurrentExceptionText() {
    try {
        throw;
    } catch (const Error& e) {
        return e.Text();
    } catch (const std::exception& e) {
        return Utf8ToUtf16(e.what());
    } catch (...) {
        return u"Unknown error";
    }
}

}  // namespace

Application* CurrentApplication() noexcept {
    return current;
}

void HandleCurrentException() noexcept {
    if (current != nullptr) {
        current->HandleException();
        return;
    }
    try {
        MessageBoxW(GetActiveWindow(), W(ErrorDisplayText(CurrentExceptionText())), L"Corvalend",
                    MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
    } catch (...) {
        // Nothing is left to tell the user with.
    }
}

std::u16string ErrorDisplayText(const std::u16string& text) {
    if (text.empty() || text.back() == u'.') return text;
    return text + u".";
}

// A top-level window, never shown, so that it also receives the broadcasts a message-only
// window would miss (end of session, taskbar re-creation).
class Application::AppWindow final : public Window {
public:
    explicit AppWindow(Application& app) : Window(app) {
        Create({L"Corvalend.Application"}, {.exStyle = WS_EX_TOOLWINDOW,
                                            .title = app.Title(),
                                            .style = WS_POPUP,
                                            .x = 0,
                                            .y = 0,
                                            .width = 0,
                                            .height = 0});
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        LRESULT hooked = 0;
        if (App().RunMainWindowHooks(message, wParam, lParam, hooked)) return hooked;
        switch (message) {
            case WM_CLOSE:
                App().Terminate();
                return 0;
            case WM_QUERYENDSESSION:
                // Everything the user made is saved as it is made: nothing holds the session up.
                return TRUE;
            case WM_ENDSESSION:
                if (wParam) App().EndSession();
                return 0;
            case WM_HOTKEY:
                // Loops that are not ours (message boxes, system dialogs, menus) dispatch hotkey
                // messages straight to us: the hooks must see them all the same.
                if (!App().IsDispatching(message, wParam, lParam)) {
                    MSG hotkey{Handle(), message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
                    const DWORD pos = GetMessagePos();
                    hotkey.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
                    bool handled = false;
                    App().RunHooks(hotkey, handled);
                }
                return 0;
            default:
                return DefaultProc(message, wParam, lParam);
        }
    }
};

Application::Application(HINSTANCE instance) : instance_(instance), previous_(current) {
    current = this;
    try {
        window_ = std::make_unique<AppWindow>(*this);
    } catch (...) {
        current = previous_;
        throw;
    }
}

Application::~Application() {
    window_.reset();
    if (oleUninitialize_ != nullptr) oleUninitialize_();
    if (current == this) current = previous_;
}

void Application::UseOle() noexcept {
    if (oleUninitialize_ != nullptr) return;
    try {
        const SystemLibrary ole(L"ole32.dll");
        const auto initialize = ole.Get<decltype(OleInitialize)>("OleInitialize");
        const auto uninitialize = ole.Get<decltype(OleUninitialize)>("OleUninitialize");
        if (SUCCEEDED(initialize(/*reserved=*/nullptr))) oleUninitialize_ = uninitialize;
    } catch (...) {
        // Without the library there is no OLE to start.
    }
}

void UseOle() noexcept {
    if (current != nullptr) current->UseOle();
}

HWND Application::Handle() const {
    return window_->Handle();
}

std::u16string Application::ExeName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(/*module=*/nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) return FromW(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

void Application::SetTitle(std::u16string title) {
    title_ = std::move(title);
    SetWindowTextW(window_->Handle(), W(title_));
}

int Application::AddMessageHook(MessageHook hook) {
    hooks_.emplace_back(nextHookId_, std::move(hook));
    return nextHookId_++;
}

void Application::RemoveMessageHook(int id) {
    std::erase_if(hooks_, [id](const auto& entry) { return entry.first == id; });
}

int Application::HookMainWindow(MainWindowHook hook) {
    mainWindowHooks_.emplace_back(nextHookId_, std::move(hook));
    return nextHookId_++;
}

void Application::UnhookMainWindow(int id) {
    std::erase_if(mainWindowHooks_, [id](const auto& entry) { return entry.first == id; });
}

int Application::AddDialogFilter(HWND window, DialogFilter filter) {
    dialogWindows_.push_back({nextHookId_, window, std::move(filter)});
    return nextHookId_++;
}

void Application::RemoveDialogFilter(int id) {
    std::erase_if(dialogWindows_, [id](const DialogWindow& entry) { return entry.id == id; });
}

bool Application::RunDialogFilter(MSG& message) {
    if (message.hwnd == nullptr || dialogWindows_.empty()) return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    for (auto it = dialogWindows_.rbegin(); it != dialogWindows_.rend(); ++it) {
        if (it->window != root) continue;
        const DialogFilter filter = it->filter;  // a copy: the filter may remove itself
        try {
            return filter(message);
        } catch (...) {
            HandleException();
            return true;
        }
    }
    return false;
}

bool Application::RunMainWindowHooks(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // A copy: a hook may add or remove hooks while it runs. Errors go up to the window procedure.
    const auto hooks = mainWindowHooks_;
    for (const auto& [id, hook] : hooks) {
        if (hook(message, wParam, lParam, result)) return true;
    }
    return false;
}

void Application::Minimize() {
    ShowWindow(Handle(), SW_SHOWMINNOACTIVE);
}

void Application::Restore() {
    if (IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
}

void Application::ProcessMessages() {
    MSG message{};
    while (PeekMessageW(&message, /*window=*/nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            terminated_ = true;
            exitCode_ = static_cast<int>(message.wParam);
            PostQuitMessage(exitCode_);  // the loop that runs us ends on it
            return;
        }
        HandleMessage(message);
    }
}

bool Application::ProcessMessage() {
    MSG message{};
    const BOOL got = GetMessageW(&message, /*window=*/nullptr, 0, 0);
    if (got == 0 || got == -1) {
        terminated_ = true;
        if (got == 0) exitCode_ = static_cast<int>(message.wParam);
        PostQuitMessage(exitCode_);  // outer loops end too
        return false;
    }
    HandleMessage(message);
    return true;
}

void Application::HandleMessage(MSG& message) {
    ++handling_;
    const ScopeExit leaving([this] { --handling_; });
    bool handled = false;
    RunHooks(message, handled);
    if (!handled && !RunDialogFilter(message)) {
        const MSG* outer = std::exchange(dispatching_, &message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
        dispatching_ = outer;
    }
}

void Application::RunHooks(MSG& message, bool& handled) {
    try {
        // A copy: a hook may add or remove hooks while it runs.
        const auto hooks = hooks_;
        for (const auto& [id, hook] : hooks) {
            hook(message, handled);
            if (handled) break;
        }
    } catch (...) {
        HandleException();
    }
}

bool Application::IsDispatching(UINT message, WPARAM wParam, LPARAM lParam) const {
    return dispatching_ != nullptr && dispatching_->message == message && dispatching_->wParam == wParam &&
           dispatching_->lParam == lParam && dispatching_->hwnd == Handle();
}

int Application::Run() {
    if (mainForm_ != nullptr && showMainForm_) {
        // A form stored minimized is not shown: the application is minimized instead.
        if (GetWindowLongPtrW(mainForm_->Handle(), GWL_STYLE) & WS_MINIMIZE) {
            Minimize();
        } else {
            ShowWindow(mainForm_->Handle(), SW_SHOW);
        }
    }
    running_ = true;
    while (ProcessMessage()) {
    }
    running_ = false;
    // The outermost loop is done: the quit message must not end message boxes shown while shutting down.
    MSG quit;
    PeekMessageW(&quit, /*window=*/nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    return exitCode_;
}

void Application::Terminate(int exitCode) {
    exitCode_ = exitCode;
    PostQuitMessage(exitCode);
}

void Application::EndSession() {
    Terminate();
    // Only this window's own handler may be running: a handler below it (a modal loop, a message
    // box, an action) would come back to freed objects. Then the quit message ends those loops and
    // the ending runs after Run.
    if (running_ && handling_ == 0 && Window::HandlerScope::Running() == 1 && ending_) ending_();
}

void Application::HandleException() noexcept {
    try {
        ShowErrorText(CurrentExceptionText());
    } catch (...) {
        ShowErrorText(u"Unknown error");
    }
}

void Application::ShowErrorText(const std::u16string& text) noexcept {
    try {
        const std::u16string shown = ErrorDisplayText(text);
        MessageBoxW(GetActiveWindow(), W(shown), W(title_), MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
    } catch (...) {
        // Nothing is left to tell the user with.
    }
}

}  // namespace fw
