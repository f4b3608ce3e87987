// The application's main window. It is created minimized and stays hidden; closing it ends the program.
#pragma once

#include "framework/Window.h"

class TMainForm final : public fw::Window {
public:
    explicit TMainForm(fw::Application& app);

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// The main window, null outside the program's run.
extern TMainForm* MainForm;
