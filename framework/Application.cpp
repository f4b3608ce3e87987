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
    } catch (const Error& error) {
        return error.Text();
    } catch (const std::exception& error) {
        return Utf8ToUtf16(error.what());
    } catch (...) {
        return u"Unknown error";
    }
}

// The box of the error path, captioned `caption` unless the style has one.
void ShowErrorBox(const std::u16string& text, const std::u16string& caption, const ErrorBoxStyle& style) noexcept {
    try {
        const std::u16string& shownCaption = style.caption.empty() ? caption : style.caption;
        if (style.plain) {
            MessageBoxW(/*owner=*/nullptr, AsWide(text), AsWide(shownCaption), MB_OK);
        } else {
            MessageBoxW(GetActiveWindow(), AsWide(ErrorDisplayText(text)), AsWide(shownCaption),
                        MB_OK | MB_ICONSTOP | MB_SETFOREGROUND);
        }
    } catch (...) {
        // Nothing is left to tell the user with.
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
        ShowErrorBox(CurrentExceptionText(), u"Corvalend", {});
    } catch (...) {
        // Nothing is left to tell the user with.
    }
}

void ShowErrorText(const std::u16string& text, const ErrorBoxStyle& style) noexcept {
    if (current != nullptr) {
        current->ShowErrorText(text, style);
    } else {
        ShowErrorBox(text, u"Corvalend", style);
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
        if (App().mainWindowHooks_.Run(message, wParam, lParam, hooked)) return hooked;
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
            default:
                return DefaultProc(message, wParam, lParam);
        }
    }
};

Application::Application(HINSTANCE instance)
    : instance_(instance),
      messageHooks_(HandleCurrentException),
      mainWindowHooks_(HandleCurrentException),
      dialogFilters_(HandleCurrentException),
      previous_(current) {
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
        if (length < buffer.size()) return FromWide(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

void Application::SetTitle(std::u16string title) {
    title_ = std::move(title);
    SetWindowTextW(window_->Handle(), AsWide(title_));
}

Subscription Application::AddDialogFilter(HWND window, DialogFilter filter) {
    return dialogFilters_.Add(
        [window, filter = std::move(filter)](MSG& message, HWND root) { return root == window && filter(message); });
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
    if (messageHooks_.Run(message)) return;
    // A message for a form or one of its controls goes to the form's filter.
    if (message.hwnd != nullptr && dialogFilters_.Run(message, GetAncestor(message.hwnd, GA_ROOT))) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
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

void Application::ShowErrorText(const std::u16string& text, const ErrorBoxStyle& style) noexcept {
    ShowErrorBox(text, title_, style);
}

}  // namespace fw
