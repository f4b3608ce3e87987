// The questions asked before a hotkey is saved, once the checks that refuse a hotkey have passed:
// for a hotkey that would most likely not do what the user expects. A combination that types a
// character on one of the user's keyboard layouts takes that character away from them; keystrokes
// the sender cannot read as written, and a file or address left empty, fail at every press. Each
// is a Yes/No question; No saves nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/Hotkeys.h"
#include "core/SendKeys.h"

namespace corvalend {

// The user's installed keyboard layouts, as far as the question about typed characters needs them.
class KeyboardLayouts {
public:
    virtual ~KeyboardLayouts() = default;
    virtual size_t Count() = 0;
    // The name users know the layout by.
    virtual std::u16string Name(size_t layout) = 0;
    // What the key types on the layout with the modifiers (kModCtrl, kModAlt, kModShift) held;
    // empty when it types nothing. A dead key gives the accent it would put on the next letter.
    virtual std::u16string Typed(size_t layout, uint8_t key, int32_t modifiers) = 0;
};

// When the questions are asked: at the wizard's Next on its key page only the one about the
// combination; at the frame's Save and the wizard's Finish all of them.
enum class SaveStep { KeyPage, Save };

// The question about an active combination of CTRL and ALT (with SHIFT or not, without WIN) that
// types a character on one of the layouts, the first such layout named; "" when there is none.
// `keyName` is the key's name as the hotkey texts have it.
std::u16string TypedCharacterQuestion(uint16_t key,
                                      int32_t shift,
                                      std::u16string_view keyName,
                                      KeyboardLayouts& layouts);

// The question about the problem CheckKeyString found in the keystrokes (the hotkey's parameter
// with its placeholders decoded), naming its character position; "" when there is none.
std::u16string KeyStringQuestion(std::u16string_view keys, const KeyStringProblem& problem);

// The question about an action that opens or reads a file or an address when its parameter is
// empty or blank; "" otherwise.
std::u16string EmptyParameterQuestion(THotKeyFunc func, std::u16string_view params);

// Reads keystrokes as the sender would: CheckKeyString with the system's keyboard.
using KeyStringCheck = std::function<KeyStringProblem(std::u16string_view keys)>;

// The questions for the hotkey as it would be stored, in the order to ask them. The combination is
// not asked about again when `accepted` (the hotkey as saved before, or as the key page let it
// pass) is active with the same combination.
std::vector<std::u16string> SaveQuestions(const THotKeyData& hotkey,
                                          SaveStep step,
                                          const THotKeyData& accepted,
                                          std::u16string_view keyName,
                                          KeyboardLayouts& layouts,
                                          const KeyStringCheck& checkKeys);

}  // namespace corvalend
