// The data module's notices, shown as balloons of the main window's tray icon.
#pragma once

#include "core/Notices.h"

namespace corvalend {

class TMainForm;

class TrayIconNotices final : public Notices {
public:
    // The main window must outlive this.
    explicit TrayIconNotices(TMainForm& mainForm) : mainForm_(mainForm) {}
    void ShowNotice(const std::u16string& title, const std::u16string& text) override;

private:
    TMainForm& mainForm_;
};

}  // namespace corvalend
