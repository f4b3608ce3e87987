// The offer to restore the hotkey file's backup as the user meets it: the backup's time in the
// user's own date and time formats, and a question box like the program's other questions.
#pragma once

#include "core/HotkeyFileRules.h"

namespace corvalend {

class Win32RestoreQuestion final : public RestoreQuestion {
public:
    std::u16string LastWriteText(const std::u16string& path) const override;
    bool AskYesNo(const std::u16string& question) override;
};

}  // namespace corvalend
