// The questions before a hotkey is saved, on Windows: the user's keyboard layouts as the system
// reports them, and each question in a Yes/No box.
#pragma once

#include <windows.h>

#include <vector>

#include "ui/SaveQuestions.h"

namespace corvalend {

class TData;

// The keyboard layouts loaded for the user (GetKeyboardLayoutList), as they are when it is made.
class Win32KeyboardLayouts final : public KeyboardLayouts {
public:
    Win32KeyboardLayouts();
    size_t Count() override { return layouts_.size(); }
    std::u16string Name(size_t layout) override;
    std::u16string Typed(size_t layout, uint8_t key, int32_t modifiers) override;

private:
    std::vector<HKL> layouts_;
};

// Asks the questions SaveQuestions finds for the hotkey, one box after the other, each with No as
// the button Enter presses; true when there was none or every one was answered Yes.
bool AskSaveQuestions(HWND owner,
                      const TData& data,
                      const THotKeyData& hotkey,
                      SaveStep step,
                      const THotKeyData& accepted);

}  // namespace corvalend
