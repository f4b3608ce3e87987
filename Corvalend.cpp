// Corvalend: system-wide hotkeys from the notification area. The program's start and end.
#include <windows.h>

#include <chrono>
#include <memory>

#include "capture/Win32ScreenCaptures.h"
#include "core/SystemDataFolder.h"
#include "core/datau.h"
#include "framework/Application.h"
#include "framework/ScopeExit.h"
#include "ui/MainFormU.h"
#include "ui/RunningCopy.h"
#include "ui/SettingsFormU.h"
#include "ui/TrayIconNotices.h"
#include "ui/Win32FirstRunWindows.h"

namespace {

// The installer runs the program with one of these switches before it writes or removes the
// program's files, and the program ends at once:
//   "/end" (an upgrade): a running copy is asked to end (it frees its hotkeys and loses nothing);
//   "/uninstall" (a removal): the same, and the log-on entry goes with the program.
// The user's hotkeys and settings stay. Returns false when the command line is neither.
bool RunInstallerSwitch(PCWSTR commandLine, int& exitCode) {
    const auto is = [&](PCWSTR name) {
        return CompareStringOrdinal(commandLine, -1, name, -1, /*ignoreCase=*/TRUE) == CSTR_EQUAL;
    };
    const bool removal = is(L"/uninstall");
    if (!removal && !is(L"/end")) return false;
    if (removal) {
        try {
            corvalend::ForgetStartAtLogOn();
        } catch (...) {
            // Nothing to show: the removal goes on without a message.
        }
    }
    exitCode = corvalend::AskRunningCopiesToEnd(std::chrono::seconds(5)) ? 0 : 1;
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR commandLine, int /*show*/) {
    using namespace corvalend;
    if (int exitCode = 0; RunInstallerSwitch(commandLine != nullptr ? commandLine : L"", exitCode)) return exitCode;
    // One copy per session: a later start brings the running copy's settings window to the front and
    // ends before anything is loaded.
    const TSessionMutex mutex;
    if (mutex.HeldElsewhere()) {
        AskRunningCopyToShowSettings(std::chrono::seconds(5));
        return 0;
    }

    int exitCode = 1;
    try {
        // Where the hotkeys and the settings are kept, chosen once for the run. A portable copy that
        // cannot write beside itself says so here and ends: nothing goes elsewhere instead.
        const ProgramDataPlaces dataPlaces;
        fw::Application app(instance);
        app.SetTitle(u"Corvalend");
        try {
            // The program-wide references never outlive what they name, also when start-up fails.
            const fw::ScopeExit clearReferences([] {
                Data = nullptr;
                MainForm = nullptr;
            });
            auto mainForm = std::make_unique<TMainForm>(app);
            MainForm = mainForm.get();
            // The windows the data module opens when it decides to.
            auto captures = std::make_unique<Win32ScreenCaptures>(app);
            Win32FirstRunWindows firstRun;
            TrayIconNotices notices(*mainForm);
            auto data = std::make_unique<TData>(app, firstRun, *captures, &notices,
                                                dataPlaces.Places().hotkeyFile);  // sets Data at once
            captures->KeepSavesIn(data->DataFile(dftRegKey));
            // The popup, while open, follows hotkeys taken or refused (the data module goes first).
            const fw::Subscription refusedMarks = data->AddRefusedListener([] {
                if (MainForm != nullptr) MainForm->ShowRefusedMarks();
            });
            // The tray icon, its menu and the popup follow a pause, from the menu or a hotkey.
            const fw::Subscription pauseShown = data->AddPauseListener([] {
                if (MainForm != nullptr) MainForm->ShowPause();
            });
            // The settings windows edit the data module's hotkeys: they go before it, also when the loop fails.
            const fw::ScopeExit freeSettingsWindows([] { FreeSettingsForms(); });

            // The ending of "Exit", of closing the main window and of the end of the session alike.
            // Reverse order of creation: the settings windows still there go first (an edit not saved
            // is dropped, as on closing them), the hotkeys are withdrawn and the capture windows still
            // open freed before the main window, and with it the tray icon, goes.
            const auto ending = [&] {
                FreeSettingsForms();  // clears the reference
                Data = nullptr;
                data.reset();
                captures.reset();
                MainForm = nullptr;
                mainForm.reset();
            };
            app.SetEnding(ending);
            const fw::ScopeExit forgetEnding([&app] { app.SetEnding(nullptr); });

            exitCode = app.Run();
            ending();
        } catch (...) {
            app.HandleException();
            exitCode = 1;
        }
    } catch (...) {
        // Not even the application object could be made: a plain error box, and a failed start.
        fw::HandleCurrentException();
        exitCode = 1;
    }
    return exitCode;
}
