// The application's main window. It is created minimized and stays hidden; the program shows itself
// through the tray icon it owns, with the tray menu.
#pragma once

#include <memory>

#include "controls/TrayIcon.h"
#include "framework/PopupMenu.h"
#include "framework/UniqueHandle.h"
#include "framework/Window.h"

class TMainForm final : public fw::Window {
public:
    explicit TMainForm(fw::Application& app);
    ~TMainForm() override;

    // The tray icon's image (one small icon), the tray menu and the icon. The icon is declared last:
    // it goes first, while the images, the menu and this window still exist.
    fw::UniqueImageList TrayImages;
    fw::PopupMenu TrayPopup;
    std::unique_ptr<TTrayIcon> TrayIcon;

    // Tray click and "Show hotkeys...".
    void TrayIconClick();
    // Tray double click and "Settings...".
    void Settings1Click();
    // "Exit".
    void Exit1Click();

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
};

// The main window, null outside the program's run.
extern TMainForm* MainForm;
