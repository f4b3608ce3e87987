// The update check as the settings window's button and the overview popup's link start it: it asks
// the update server while the program's messages keep running (hotkeys work, the windows paint),
// tells the user the outcome and, when a new version exists and the user agrees, opens the download
// page.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "core/UpdateRules.h"

namespace fw {
class Application;
}

namespace corvalend {

// Opens an address through the shell, the window being the parent of anything that shows.
using PageOpener = std::function<void(HWND window, const std::u16string& address)>;
void OpenWithShell(HWND window, const std::u16string& address);

// True while a check started here waits for the server.
bool CheckingForUpdates();

// `window` owns the messages and is the parent of the opened page; `control`, the button or link
// that started the check, is disabled while it waits. A check asked for while another one waits
// does nothing. Errors of the check reach the caller, unless the program is told to end meanwhile:
// then the check ends without a word.
void CheckForUpdatesFrom(fw::Application& app,
                         HWND window,
                         HWND control,
                         const PageOpener& openPage = OpenWithShell,
                         std::chrono::milliseconds timeLimit = kUpdateTimeLimit);

}  // namespace corvalend
