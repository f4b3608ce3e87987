// The update check: one synchronous HTTP request that carries the program's version; the server's
// answer says whether a newer version exists. Also the check as the windows start it, with its
// messages and the download page.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// For testing only: the environment variable CORVALEND_UPDATE_SERVER, when set, names the update
// server ("host" or "host:port") in place of the program's own.
inline constexpr wchar_t kUpdateServerVariable[] = L"CORVALEND_UPDATE_SERVER";

class TUpdater {
public:
    // True when a newer version is available. Raises "Error\r\rCould not check for updates." when
    // the download does not succeed; the answer file is deleted after every successful download.
    bool Check();
};

// Opens an address through the shell, the window being the parent of anything that shows.
using PageOpener = std::function<void(HWND window, const std::u16string& address)>;

// The check started from a window (the settings window's button, the overview popup's link): asks
// the server, tells the user the outcome and, when a new version exists and the user agrees, opens
// the download page. Errors of the check reach the caller.
void CheckForUpdatesFrom(HWND window);
void CheckForUpdatesFrom(HWND window, const PageOpener& openPage);
