// The rules of the hotkey actions that need no system: placeholder coding of one-line key strings,
// the parameter fields an action is edited with, window states, web addresses, file content for the
// clipboard and hotkey texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/Hotkeys.h"
#include "framework/TextFile.h"

namespace corvalend {

// "<?CR?>", "<?LF?>" and "<?TAB?>" stand for carriage return, line feed and tab in one-line fields.
std::u16string DecodePlaceholders(std::u16string_view text);
std::u16string EncodePlaceholders(std::u16string_view text);

// The parameter fields the hotkey editors (the wizard's action page and the editor frame) show for an
// action, each with its caption label.
struct ParameterFields {
    bool params = false;       // the first parameter's field
    bool chooser = false;      // "..." beside it: a file dialog, or the text dialog for keystrokes
    bool params2 = false;      // the additional parameters' field
    bool windowState = false;  // the window-state list
    bool delay = false;        // the first parameter is a capture's delay, labelled kDelayCaption
    bool operator==(const ParameterFields&) const = default;
};
ParameterFields ParameterFieldsFor(THotKeyFunc func);

// The show command for an open-file action's window state: "maximized" and "minimized" in any
// letter case, everything else a normal window.
enum class ShowState { Normal = 5, Maximized = 3, Minimized = 2 };
ShowState ShowStateFor(std::u16string_view windowState);

// "http://" in front unless the address starts with "http://" or "https://" (any letter case).
std::u16string WebAddress(std::u16string_view address);

// A text file's lines, each followed by CR LF, as the clipboard gets them.
std::u16string ClipboardTextFromFile(std::string_view bytes, const fw::AnsiCodePage& ansi);

// The keyboard layout's own name of a key, for keys without a fixed name.
class KeyNames {
public:
    virtual ~KeyNames() = default;
    virtual std::u16string LayoutKeyName(uint16_t virtualKey) const = 0;
};

// "ALT + ", "CTRL + ", "SHIFT + ", "WIN + " for the modifier bits, then the key's name.
std::u16string HotkeyToString(uint16_t Key, uint16_t Shift, const KeyNames& names);

}  // namespace corvalend
