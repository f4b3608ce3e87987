// The data module's notices, shown as balloons of the main window's tray icon, and its countdowns
// in the icon's tip.
#pragma once

#include "core/Notices.h"

namespace corvalend {

class TMainForm;

class TrayIconNotices final : public Notices {
public:
    // The main window must outlive this.
    explicit TrayIconNotices(TMainForm& mainForm) : mainForm_(mainForm) {}
    void ShowNotice(const std::u16string& title, const std::u16string& text) override;
    void ShowCountdown(const std::u16string& tip) override;

private:
    TMainForm& mainForm_;
};

}  // namespace corvalend
