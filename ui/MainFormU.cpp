#include "ui/MainFormU.h"

#include "framework/Application.h"

TMainForm* MainForm = nullptr;

TMainForm::TMainForm(fw::Application& app) : Window(app) {
    Create({L"Corvalend.MainForm"}, {.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                     .title = u"Corvalend",
                                     .style = WS_POPUP | WS_MINIMIZE,
                                     .x = 0,
                                     .y = 0,
                                     .width = 579,
                                     .height = 291});
}

LRESULT TMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        App().Terminate();
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}
