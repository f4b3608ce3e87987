// Runs the update check while messages keep flowing, then tells the user and opens the download page.
#include "ui/CheckForUpdates.h"

#include "core/Updater.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/MessageDlg.h"
#include "framework/ShellOpen.h"

namespace corvalend {

namespace {

bool checking = false;

// Lets the application handle its messages, through its hooks and dialog filters, until `done` is
// signalled, the time is up or the program is told to end.
void WaitHandlingMessages(fw::Application& app, HANDLE done, std::chrono::milliseconds timeLimit) {
    const auto deadline = std::chrono::steady_clock::now() + timeLimit;
    for (;;) {
        app.ProcessMessages();
        if (app.Terminated()) return;
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return;
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(1, &done, static_cast<DWORD>(left), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke != WAIT_OBJECT_0 + 1) return;  // done, the time is up, or the wait failed
    }
}

// While a check waits: the flag that keeps a second one from starting, and the control that started
// it disabled (it gets the keyboard focus back when it had it).
class Waiting {
public:
    explicit Waiting(HWND control) : control_(control), hadFocus_(GetFocus() == control) {
        checking = true;
        EnableWindow(control_, FALSE);
    }
    ~Waiting() {
        checking = false;
        if (!IsWindow(control_)) return;
        EnableWindow(control_, TRUE);
        if (hadFocus_ && GetFocus() == nullptr && GetActiveWindow() == GetAncestor(control_, GA_ROOT)) {
            SetFocus(control_);
        }
    }
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;

private:
    HWND control_;
    bool hadFocus_;
};

}  // namespace

void OpenWithShell(HWND window, const std::u16string& address) {
    fw::ShellOpen(address, {.owner = window, .parameters = u"", .directory = u"", .show = SW_SHOWNORMAL});
}

bool CheckingForUpdates() {
    return checking;
}

void CheckForUpdatesFrom(fw::Application& app,
                         HWND window,
                         HWND control,
                         const PageOpener& openPage,
                         std::chrono::milliseconds timeLimit) {
    if (checking) return;
    bool offersUpdate = false;
    try {
        const Waiting waiting(control);
        offersUpdate = TUpdater().Check(timeLimit, [&app](HANDLE done, std::chrono::milliseconds limit) {
            WaitHandlingMessages(app, done, limit);
        });
    } catch (...) {
        if (app.Terminated()) return;
        throw;
    }
    if (app.Terminated()) return;
    if (offersUpdate) {
        if (fw::MessageDlg(window,
                           u"A new version of Corvalend is available.\r\rWould you like to download the new version?",
                           fw::MessageType::Information, fw::MessageButtons::YesNo, fw::mrYes) == fw::mrYes) {
            openPage(window, DownloadPageAddress());
        }
    } else {
        fw::MessageDlg(window, u"There is no new version of Corvalend at this time.", fw::MessageType::Information,
                       fw::MessageButtons::Ok);
    }
}

}  // namespace corvalend
