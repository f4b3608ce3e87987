// The keystroke sender: reads a key string (plain characters, modifier prefixes, groups and braced
// key names) and turns it into synthetic key events for whatever window has the keyboard focus.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace corvalend {

// What sending keystrokes needs from the system. The Win32 side is SystemKeyboard; tests record.
class KeyboardPort {
public:
    virtual ~KeyboardPort() = default;

    // One key event into the system's input stream; flags 1 = extended key, 2 = key up. An event the
    // system refuses raises fw::Error with the system's text, and so does a failed key-state call below.
    virtual void SendKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) = 0;
    // One UTF-16 unit as Unicode input, key down or key up; it reaches the focused window as a
    // character whatever the layout is.
    virtual void SendUnicodeEvent(char16_t unit, bool keyUp) = 0;
    // The scan code of a virtual key; only its low byte is sent.
    virtual uint32_t ScanCodeOf(uint8_t vk) = 0;
    // The key that types a character in the current layout: the virtual key in the low byte, the
    // needed SHIFT (1), CTRL (2) and ALT (4) in the high byte; 0xFFFF when no key types it.
    virtual uint16_t KeyForChar(char16_t c) = 0;
    virtual uint16_t KeyForAnsiChar(char c) = 0;
    // Conversions to and from the system's ANSI code page (one or, on double-byte code pages, two
    // bytes for a character).
    virtual std::string ToAnsi(char16_t c) = 0;
    virtual std::u16string FromAnsi(std::string_view bytes) = 0;
    // The NumLock toggle as the calling thread sees it, and that thread's 256-byte key state.
    virtual bool NumLockToggled() = 0;
    virtual void ReadKeyState(std::array<uint8_t, 256>& state) = 0;
    virtual void WriteKeyState(const std::array<uint8_t, 256>& state) = 0;
    // Dispatches the keyboard messages waiting in the calling thread's queue.
    virtual void PumpKeyboardMessages() = 0;
    // A modal message box without owner; returns when the user has closed it.
    virtual void ShowMessageBox(std::u16string_view caption, std::u16string_view text) = 0;
};

// Sends the keystrokes the text describes; the text ends at its first null character, if any.
// A character outside braces that no key of the layout types is sent as Unicode input, without
// the modifiers the prefixes hold (a group presses them again for the keys after it).
// With wait set, the calling thread's keyboard messages are dispatched after every key event.
// Returns false for an empty text and for a "{" without a closing "}" ("No Close"), true otherwise,
// also after "Invalid KeyName" (half a surrogate pair) or "Invalid Key Name" messages. A repeat
// count that is not an integer raises fw::Error "''<count>'' is not a valid integer value".
// Whichever way it ends, SHIFT, CTRL and ALT pressed by prefixes are released before it returns
// or raises.
bool SendKeys(std::u16string_view text, bool wait, KeyboardPort& keyboard);

// A place in a key string where the keystrokes sent would not be what the text seems to say.
struct KeyStringProblem {
    enum Kind {
        None,
        UnknownName,       // a braced item that is no key: an unknown name, or a count that is no integer
        NoClose,           // a "{" without a later "}"
        ContentDiscarded,  // "}" right after a braced item's "}", which types "}" instead of the item
        CannotType,        // half a surrogate pair; or a one-character braced item that no key of the
                           // current layout types, or that the ANSI code page cannot hold
    };
    Kind kind = None;
    size_t position = 0;  // the item's first unit: its "{", or the character itself
    size_t length = 0;    // the item's units, through its closing brace (to the end of the text for NoClose)
};

// Reads the text as SendKeys does, with the same layout queries, but sends, shows and changes
// nothing: the first problem, if any. A character that no key types is no problem, since SendKeys
// types it as Unicode input.
KeyStringProblem CheckKeyString(std::u16string_view text, KeyboardPort& keyboard);

}  // namespace corvalend
