// Hands the data module's notices to the tray icon.
#include "ui/TrayIconNotices.h"

#include "ui/MainFormU.h"

namespace corvalend {

void TrayIconNotices::ShowNotice(const std::u16string& title, const std::u16string& text) {
    if (mainForm_.TrayIcon) mainForm_.TrayIcon->ShowNotice(title, text);
}

void TrayIconNotices::ShowCountdown(const std::u16string& tip) {
    if (mainForm_.TrayIcon) mainForm_.ShowCountdown(tip);
}

}  // namespace corvalend
