// Opens the first-use guide and the settings window when the data module's first-run checks ask.
#include "ui/Win32FirstRunWindows.h"

#include <windows.h>

#include "core/datau.h"
#include "framework/Application.h"
#include "ui/MainFormU.h"
#include "ui/SettingsFormU.h"
#include "ui/frmFirstUseU.h"

namespace corvalend {

bool Win32FirstRunWindows::ShowFirstUseGuide(TData& data) {
    return corvalend::ShowFirstUseGuide(data.App(), data).wroteHotkeyFile;
}

void Win32FirstRunWindows::ShowSettingsForMissingFile(TData& data) {
    fw::Application& app = data.App();
    // The tray icon ignores the mouse while the settings window is up, whatever way it ends.
    TTrayIcon* const trayIcon = MainForm != nullptr ? MainForm->TrayIcon.get() : nullptr;
    const auto enableTrayIcon = [trayIcon](bool enabled) {
        if (trayIcon != nullptr) trayIcon->SetEnabled(enabled);
    };
    enableTrayIcon(false);
    try {
        ShowWindow(app.Handle(), SW_HIDE);
        if (MainForm != nullptr) ShowWindow(MainForm->Handle(), SW_HIDE);
        TSettingsForm& settings = OpenSettingsForm(app, data);
        settings.Hide();       // one the tray opened while the guide was up is made modal too
        settings.ShowModal();  // closing frees it and clears the reference
    } catch (...) {
        enableTrayIcon(true);
        throw;
    }
    enableTrayIcon(true);
}

}  // namespace corvalend
