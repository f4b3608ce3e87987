#include "ui/MainFormU.h"

#include "core/datau.h"
#include "framework/Application.h"
#include "ui/SettingsFormU.h"

TMainForm* MainForm = nullptr;

namespace {

// The program's icon (resource 1) at the size of a small icon for the screen's density; an empty
// list when the module has no such icon.
fw::UniqueImageList MakeTrayImages(HINSTANCE instance) {
    const UINT dpi = GetDpiForSystem();
    const int cx = GetSystemMetricsForDpi(SM_CXSMICON, dpi);
    const int cy = GetSystemMetricsForDpi(SM_CYSMICON, dpi);
    fw::UniqueImageList images(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 1, 0));
    const fw::UniqueIcon icon(
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR)));
    if (images && icon) ImageList_AddIcon(images.get(), icon.get());
    return images;
}

}  // namespace

TMainForm::TMainForm(fw::Application& app) : Window(app) {
    Create({L"Corvalend.MainForm"}, {.exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                                     .title = u"Corvalend",
                                     .style = WS_POPUP | WS_MINIMIZE,
                                     .x = 0,
                                     .y = 0,
                                     .width = 579,
                                     .height = 291});
    if (app.MainForm() == nullptr) app.SetMainForm(this);

    TrayImages = MakeTrayImages(app.Instance());
    TrayPopup.Items = {
        {u"Settings...", [this] { Settings1Click(); }},
        {u"Show hotkeys...", [this] { TrayIconClick(); }},
        {u"-", nullptr},
        {u"Exit", [this] { Exit1Click(); }},
    };
    TrayPopup.AutoPopup = true;

    TrayIcon = std::make_unique<TTrayIcon>(app, this);
    TrayIcon->SetIconList(TrayImages.get());
    TrayIcon->SetCycleInterval(0);
    TrayIcon->SetIconVisible(true);
    TrayIcon->SetIconIndex(0);
    TrayIcon->SetPopupMenu(&TrayPopup);
    TrayIcon->SetMinimizeToTray(true);
    TrayIcon->OnClick = [this](TTrayIcon&) { TrayIconClick(); };
    TrayIcon->OnDblClick = [this](TTrayIcon&) { Settings1Click(); };
    TrayIcon->Loaded();

    FormCreate();
}

TMainForm::~TMainForm() {
    TrayIcon.reset();
    if (App().MainForm() == this) App().SetMainForm(nullptr);
}

void TMainForm::FormCreate() {
    TrayIcon->SetHint(App().Title());
}

void TMainForm::TrayIconClick() {
    // Opens or closes the hotkey overview; the overview comes with the popup's own layout.
}

void TMainForm::Settings1Click() {
    if (Data != nullptr) ShowSettingsForm(App(), *Data);
}

void TMainForm::Exit1Click() {
    App().Terminate();
}

LRESULT TMainForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        App().Terminate();
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}
