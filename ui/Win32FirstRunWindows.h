// The first-run windows as the data module's checks ask for them: the first-use guide, and the
// settings window while there is no hotkey file.
#pragma once

#include "core/DataWindows.h"
#include "ui/Win32RestoreQuestion.h"

namespace corvalend {

class Win32FirstRunWindows final : public FirstRunWindows {
public:
    bool ShowFirstUseGuide(TData& data) override;
    void ShowSettingsForMissingFile(TData& data) override;
    RestoreQuestion& BackupRestoreQuestion() override { return restoreQuestion_; }

private:
    Win32RestoreQuestion restoreQuestion_;
};

}  // namespace corvalend
