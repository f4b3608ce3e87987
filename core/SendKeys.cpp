// The key-string parser and the key events it generates, independent of the system's calls.
#include "core/SendKeys.h"

#include <algorithm>
#include <optional>

#include "framework/Error.h"
#include "framework/Text.h"

namespace corvalend {

namespace {

constexpr uint8_t kVkReturn = 0x0D;
constexpr uint8_t kVkShift = 0x10;
constexpr uint8_t kVkControl = 0x11;
constexpr uint8_t kVkMenu = 0x12;
constexpr uint8_t kVkNumLock = 0x90;

constexpr uint16_t kNoKey = 0xFFFF;
// "{" and "}" are sent as the keys that type them on a US layout, whatever the current layout is.
constexpr uint16_t kOpenBraceKey = 0x01DB;
constexpr uint16_t kCloseBraceKey = 0x01DD;

constexpr uint16_t kShiftBit = 0x0100;
constexpr uint16_t kCtrlBit = 0x0200;
constexpr uint16_t kAltBit = 0x0400;

constexpr uint32_t kExtendedKey = 1;
constexpr uint32_t kKeyUp = 2;

// Bytes in the system's ANSI code page; the count after the space takes up some of them too.
constexpr size_t kNameBufferSize = 20;

struct KeyName {
    std::string_view name;
    uint8_t vk;
};

constexpr KeyName KeyNameTable[] = {
    {"BACKSPACE", 0x08}, {"BKSP", 0x08},   {"BREAK", 0x03},      {"BS", 0x08},      {"CAPSLOCK", 0x14}, {"CLEAR", 0x0C},
    {"DEL", 0x2E},       {"DELETE", 0x2E}, {"DOWN", 0x28},       {"END", 0x23},     {"ENTER", 0x0D},    {"ESC", 0x1B},
    {"ESCAPE", 0x1B},    {"F1", 0x70},     {"F10", 0x79},        {"F11", 0x7A},     {"F12", 0x7B},      {"F13", 0x7C},
    {"F14", 0x7D},       {"F15", 0x7E},    {"F16", 0x7F},        {"F2", 0x71},      {"F3", 0x72},       {"F4", 0x73},
    {"F5", 0x74},        {"F6", 0x75},     {"F7", 0x76},         {"F8", 0x77},      {"F9", 0x78},       {"HELP", 0x2F},
    {"HOME", 0x24},      {"INS", 0x2D},    {"LEFT", 0x25},       {"NUMLOCK", 0x90}, {"PGDN", 0x22},     {"PGUP", 0x21},
    {"PRTSC", 0x2A},     {"RIGHT", 0x27},  {"SCROLLLOCK", 0x91}, {"TAB", 0x09},     {"UP", 0x26},
};
static_assert(std::size(KeyNameTable) == 41);
static_assert(std::is_sorted(std::begin(KeyNameTable),
                             std::end(KeyNameTable),
                             [](const KeyName& a, const KeyName& b) { return a.name < b.name; }),
              "LookUpKeyName halves the table, so it must stay in byte order");

// The navigation keys of the separate block; on the numeric keypad the same virtual keys come without the flag.
constexpr uint8_t ExtendedKeys[] = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2D, 0x2E};

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool IsExtendedKey(uint8_t vk) {
    return std::find(std::begin(ExtendedKeys), std::end(ExtendedKeys), vk) != std::end(ExtendedKeys);
}

// One call's parse state: the flags of the held modifiers and the open group.
class KeySender {
public:
    // With `problem` given the text is only read: no key event is sent, no box shown and no key
    // state changed, and reading stops at the first problem, which is kept there.
    KeySender(KeyboardPort& keyboard, bool wait, KeyStringProblem* problem = nullptr)
        : keyboard_(keyboard), wait_(wait), problem_(problem) {}

    // False for an empty text and when a braced item has no closing brace.
    bool Send(std::u16string_view text);

    // Releases whatever the prefixes pressed, even inside an open group: nothing may stay held for
    // the user once sending has stopped, however it stopped.
    void ReleasePrefixModifiers() {
        groupOpen_ = false;
        ReleaseHeldModifiers();
    }

private:
    // The character at the position; returns the number of units it took.
    size_t SendCharacter(std::u16string_view text, size_t position);
    // False when the item has no closing brace; position then stands at the end of the text.
    bool SendBracedItem(std::u16string_view text, size_t& position);
    void TypeUnicode(std::u16string_view units);

    void PostKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags);
    void PostUnicodeEvent(char16_t unit, bool keyUp);
    void PressKey(uint8_t vk, uint16_t count, bool withRelease);
    void ReleaseKey(uint8_t vk);
    void SendKeyWithModifiers(uint16_t code, uint16_t count, bool withRelease);
    void ReleaseHeldModifiers();
    void ToggleNumLock();
    uint16_t LookUpKeyName(std::string_view name);
    void ShowSendKeysError(std::u16string_view text) { keyboard_.ShowMessageBox(u"SendKeys", text); }
    // A problem with the item: while checking, kept when it is the first; while sending, its
    // message shown, if it has one. True while checking.
    bool Report(KeyStringProblem::Kind kind, size_t position, size_t length, std::u16string_view message);
    bool Checking() const { return problem_ != nullptr; }
    bool Stopped() const { return Checking() && problem_->kind != KeyStringProblem::None; }

    uint8_t ScanCode(uint8_t vk) { return static_cast<uint8_t>(keyboard_.ScanCodeOf(vk) & 0xFF); }

    KeyboardPort& keyboard_;
    const bool wait_;
    KeyStringProblem* const problem_;
    bool groupOpen_ = false;
    bool shiftHeld_ = false;
    bool ctrlHeld_ = false;
    bool altHeld_ = false;
};

bool KeySender::Send(std::u16string_view text) {
    text = text.substr(0, text.find(u'\0'));
    if (text.empty()) return false;

    size_t position = 0;
    while (position < text.size() && !Stopped()) {
        const char16_t c = text[position];
        switch (c) {
            case u'+':
                shiftHeld_ = true;
                PressKey(kVkShift, 1, false);
                ++position;
                break;
            case u'^':
                ctrlHeld_ = true;
                PressKey(kVkControl, 1, false);
                ++position;
                break;
            case u'%':
                altHeld_ = true;
                PressKey(kVkMenu, 1, false);
                ++position;
                break;
            case u'(':
                // Groups do not nest: the first ")" ends whatever was opened.
                groupOpen_ = true;
                ++position;
                break;
            case u')':
                groupOpen_ = false;
                ReleaseHeldModifiers();
                ++position;
                break;
            case u'~':
                PressKey(kVkReturn, 1, true);
                ReleaseHeldModifiers();
                ++position;
                break;
            case u'{':
                if (!SendBracedItem(text, position)) return false;
                break;
            default:
                position += SendCharacter(text, position);
                break;
        }
    }
    ReleaseHeldModifiers();
    return true;
}

size_t KeySender::SendCharacter(std::u16string_view text, size_t position) {
    const std::u16string_view rest = text.substr(position);
    const char16_t c = rest[0];
    // A character beyond the basic plane has no key in any layout.
    if (IsHighSurrogate(c) && rest.size() > 1 && IsLowSurrogate(rest[1])) {
        TypeUnicode(rest.substr(0, 2));
        return 2;
    }
    const uint16_t code = keyboard_.KeyForChar(c);
    if (code != kNoKey) {
        SendKeyWithModifiers(code, 1, true);
        ReleaseHeldModifiers();
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
        // Half a pair is no character; the prefixes stay held for the next key that can be sent.
        Report(KeyStringProblem::CannotType, position, 1, u"Invalid KeyName");
    } else {
        TypeUnicode(rest.substr(0, 1));
    }
    return 1;
}

// With CTRL or ALT down the target would take the character for a command, so the prefixes'
// modifiers are released first; an open group presses them again for the keys that follow.
void KeySender::TypeUnicode(std::u16string_view units) {
    const bool shift = shiftHeld_;
    const bool ctrl = ctrlHeld_;
    const bool alt = altHeld_;
    const bool group = groupOpen_;
    groupOpen_ = false;
    ReleaseHeldModifiers();
    // Each unit goes down and up before the next; the target joins a pair from its two characters.
    for (const char16_t unit : units) {
        PostUnicodeEvent(unit, false);
        PostUnicodeEvent(unit, true);
    }
    groupOpen_ = group;
    if (!group) return;
    if (shift) PressKey(kVkShift, 1, false);
    if (ctrl) PressKey(kVkControl, 1, false);
    if (alt) PressKey(kVkMenu, 1, false);
    shiftHeld_ = shift;
    ctrlHeld_ = ctrl;
    altHeld_ = alt;
}

bool KeySender::SendBracedItem(std::u16string_view text, size_t& position) {
    const size_t start = position;
    if (position + 1 < text.size() && text[position + 1] == u'{') {
        // "{{}": the third character is taken for the closing brace without looking at it.
        SendKeyWithModifiers(kOpenBraceKey, 1, true);
        ReleaseHeldModifiers();
        position += 3;
        return true;
    }

    char buffer[kNameBufferSize];
    size_t used = 0;
    bool closed = false;
    bool lossy = false;
    while (++position < text.size()) {
        char16_t c = text[position];
        if (c == u'}') {
            ++position;
            closed = true;
            break;
        }
        if (used == kNameBufferSize) continue;
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        const std::string bytes = keyboard_.ToAnsi(c);
        // A character the code page cannot hold comes back as its stand-in ("?", say).
        if (Checking() && keyboard_.FromAnsi(bytes) != std::u16string(1, c)) lossy = true;
        for (const char byte : bytes) {
            if (used < kNameBufferSize) buffer[used++] = byte;
        }
    }
    if (!closed) {
        Report(KeyStringProblem::NoClose, start, text.size() - start, u"No Close");
        return false;
    }

    if (position < text.size() && text[position] == u'}') {
        // "{}}" types "}", and so does any content followed by "}}": the content is lost.
        if (position - start > 2) Report(KeyStringProblem::ContentDiscarded, start, position + 1 - start, u"");
        SendKeyWithModifiers(kCloseBraceKey, 1, true);
        ReleaseHeldModifiers();
        ++position;
        return true;
    }

    std::string_view name(buffer, used);
    uint16_t count = 1;
    if (const size_t space = name.find(' '); space != std::string_view::npos) {
        const std::u16string countText = keyboard_.FromAnsi(name.substr(space + 1));
        const std::optional<int32_t> value = fw::ParseInt(countText);
        if (!value) {
            if (Report(KeyStringProblem::UnknownName, start, position - start, u"")) return true;
            fw::ThrowConvertError(countText);
        }
        count = static_cast<uint16_t>(static_cast<uint32_t>(*value) & 0xFFFF);
        name = name.substr(0, space);
    }

    uint16_t code;
    if (name.size() == 1) {
        code = keyboard_.KeyForAnsiChar(name[0]);  // no key for the character: skipped without a word
        if (code == kNoKey || lossy) Report(KeyStringProblem::CannotType, start, position - start, u"");
    } else {
        code = LookUpKeyName(name);
        if (code == kNoKey) Report(KeyStringProblem::UnknownName, start, position - start, u"Invalid Key Name");
    }
    if (code != kNoKey) {
        SendKeyWithModifiers(code, count, true);
        ReleaseHeldModifiers();
    }
    return true;
}

void KeySender::PostKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    if (Checking()) return;
    keyboard_.SendKeyEvent(vk, scan, flags);
    if (wait_) keyboard_.PumpKeyboardMessages();
}

void KeySender::PostUnicodeEvent(char16_t unit, bool keyUp) {
    if (Checking()) return;
    keyboard_.SendUnicodeEvent(unit, keyUp);
    if (wait_) keyboard_.PumpKeyboardMessages();
}

void KeySender::PressKey(uint8_t vk, uint16_t count, bool withRelease) {
    if (vk == kVkNumLock) {
        ToggleNumLock();
        return;
    }
    const uint8_t scan = ScanCode(vk);
    const uint32_t flags = IsExtendedKey(vk) ? kExtendedKey : 0;
    for (uint16_t i = 0; i < count; ++i) {
        PostKeyEvent(vk, scan, flags);
        if (withRelease) PostKeyEvent(vk, scan, flags | kKeyUp);
    }
}

void KeySender::ReleaseKey(uint8_t vk) {
    PostKeyEvent(vk, ScanCode(vk), kKeyUp);
}

void KeySender::SendKeyWithModifiers(uint16_t code, uint16_t count, bool withRelease) {
    if (code & kShiftBit) PressKey(kVkShift, 1, false);
    if (code & kCtrlBit) PressKey(kVkControl, 1, false);
    if (code & kAltBit) PressKey(kVkMenu, 1, false);
    PressKey(static_cast<uint8_t>(code & 0xFF), count, withRelease);
    // Released in the order they were pressed, not reversed.
    if (code & kShiftBit) ReleaseKey(kVkShift);
    if (code & kCtrlBit) ReleaseKey(kVkControl);
    if (code & kAltBit) ReleaseKey(kVkMenu);
}

void KeySender::ReleaseHeldModifiers() {
    if (groupOpen_) return;
    if (shiftHeld_) ReleaseKey(kVkShift);
    if (ctrlHeld_) ReleaseKey(kVkControl);
    if (altHeld_) ReleaseKey(kVkMenu);
    shiftHeld_ = ctrlHeld_ = altHeld_ = false;
}

// Only the calling thread's view of NumLock changes; no key event is sent.
void KeySender::ToggleNumLock() {
    if (Checking()) return;
    const bool toggled = keyboard_.NumLockToggled();
    std::array<uint8_t, 256> state{};
    keyboard_.ReadKeyState(state);
    if (toggled) {
        state[kVkNumLock] &= static_cast<uint8_t>(~1u);
    } else {
        state[kVkNumLock] |= 1;
    }
    keyboard_.WriteKeyState(state);
}

uint16_t KeySender::LookUpKeyName(std::string_view name) {
    const auto found = std::lower_bound(std::begin(KeyNameTable), std::end(KeyNameTable), name,
                                        [](const KeyName& entry, std::string_view key) { return entry.name < key; });
    return found != std::end(KeyNameTable) && found->name == name ? found->vk : kNoKey;
}

bool KeySender::Report(KeyStringProblem::Kind kind, size_t position, size_t length, std::u16string_view message) {
    if (!Checking()) {
        if (!message.empty()) ShowSendKeysError(message);
        return false;
    }
    if (!Stopped()) *problem_ = {.kind = kind, .position = position, .length = length};
    return true;
}

}  // namespace

bool SendKeys(std::u16string_view text, bool wait, KeyboardPort& keyboard) {
    KeySender sender(keyboard, wait);
    bool result;
    try {
        result = sender.Send(text);
    } catch (...) {
        sender.ReleasePrefixModifiers();
        throw;
    }
    sender.ReleasePrefixModifiers();
    return result;
}

KeyStringProblem CheckKeyString(std::u16string_view text, KeyboardPort& keyboard) {
    KeyStringProblem problem;
    KeySender(keyboard, /*wait=*/false, &problem).Send(text);
    return problem;
}

}  // namespace corvalend
