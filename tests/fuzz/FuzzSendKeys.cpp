// Any key string: sending never crashes or hangs, and whatever way it ends, no key is left down.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/SendKeys.h"
#include "framework/Error.h"

using namespace corvalend;

namespace {

// Counts up to 65535 make a 64 KiB text worth about a billion events; past this many the keyboard
// stops the call, as a failing system would, at a point where no key of the layout is half sent.
constexpr uint64_t kEventBudget = 4'000'000;
struct OutOfBudget {};

// Follows which keys are down and checks every event as it comes; message boxes return at once.
class CheckingKeyboard final : public KeyboardPort {
public:
    explicit CheckingKeyboard(bool wait) : wait_(wait) {}

    void SendKeyEvent(uint8_t vk, uint8_t scan, uint32_t flags) override {
        if (pendingUnit_ != 0 || expectLow_) std::abort();
        if (flags > 3 || scan != static_cast<uint8_t>(vk + 1)) std::abort();
        const bool extended = (vk >= 0x21 && vk <= 0x28) || vk == 0x2D || vk == 0x2E;
        if (((flags & 1) != 0) != extended) std::abort();
        const bool up = (flags & 2) != 0;
        const bool modifier = vk >= 0x10 && vk <= 0x12;
        // Any other key is released by the very next event.
        if (pending_ >= 0 && (!up || vk != pending_)) std::abort();
        pending_ = modifier || up ? -1 : vk;
        down_[vk] = !up;
        ++events_;
    }
    // A character sent as Unicode input: each unit down then up, a pair high then low, never half
    // a pair, and never with a modifier down.
    void SendUnicodeEvent(char16_t unit, bool keyUp) override {
        if (pending_ >= 0 || down_[0x10] || down_[0x11] || down_[0x12]) std::abort();
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
        if (keyUp) {
            if (unit != pendingUnit_) std::abort();
            pendingUnit_ = 0;
            expectLow_ = high;
        } else {
            if (pendingUnit_ != 0 || expectLow_ != low) std::abort();
            pendingUnit_ = unit;
            expectLow_ = false;
        }
        ++events_;
    }
    uint32_t ScanCodeOf(uint8_t vk) override { return 0x7700u | static_cast<uint8_t>(vk + 1); }
    uint16_t KeyForChar(char16_t c) override {
        CheckBudget();
        // Every shape of answer: no key, plain keys, modifier bits and the bits beyond them.
        if (c % 7 == 0) return 0xFFFF;
        if (c == 0x90) return 0x0190;  // a character on the NumLock key
        const auto vk = static_cast<uint8_t>(c);
        if (vk >= 0x10 && vk <= 0x12) return vk;  // a layout may put a modifier on a character
        return static_cast<uint16_t>(((c >> 8) << 8) | vk);
    }
    uint16_t KeyForAnsiChar(char c) override { return KeyForChar(static_cast<unsigned char>(c)); }
    std::string ToAnsi(char16_t c) override {
        CheckBudget();
        if (c < 0x80) return std::string(1, static_cast<char>(c));
        if (c >= 0x3000) return std::string{static_cast<char>(0x81 + c % 0x1F), static_cast<char>(0x40 + c % 0x3F)};
        return "?";
    }
    std::u16string FromAnsi(std::string_view bytes) override {
        return std::u16string(bytes.begin(), bytes.end());  // only the message text depends on it
    }
    bool NumLockToggled() override { return (keyState_[0x90] & 1) != 0; }
    void ReadKeyState(std::array<uint8_t, 256>& state) override { state = keyState_; }
    void WriteKeyState(const std::array<uint8_t, 256>& state) override { keyState_ = state; }
    void PumpKeyboardMessages() override {
        if (!wait_) std::abort();
    }
    void ShowMessageBox(std::u16string_view caption, std::u16string_view text) override {
        if (caption != u"SendKeys" ||
            (text != u"Invalid KeyName" && text != u"Invalid Key Name" && text != u"No Close"))
            std::abort();
        sawNoClose_ = text == u"No Close";
    }

    void CheckEnd(bool result) const {
        if (pending_ >= 0) std::abort();
        for (const bool down : down_) {
            if (down) std::abort();
        }
        if (pendingUnit_ != 0 || expectLow_) std::abort();
        if (sawNoClose_ && result) std::abort();
    }

private:
    void CheckBudget() const {
        if (events_ > kEventBudget) throw OutOfBudget{};
    }

    const bool wait_;
    uint64_t events_ = 0;
    bool down_[256] = {};
    int pending_ = -1;
    char16_t pendingUnit_ = 0;  // a unit down and not yet up
    bool expectLow_ = false;    // a high surrogate went up: its low one must come next
    std::array<uint8_t, 256> keyState_{};
    bool sawNoClose_ = false;
};

bool IsConversionError(const std::u16string& text) {
    const std::u16string_view start = u"''";
    const std::u16string_view end = u"'' is not a valid integer value";
    return text.size() >= start.size() + end.size() && text.starts_with(start) && text.ends_with(end);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool wait = (data[0] & 1) != 0;
    std::u16string text;
    // Mostly one byte per character so that the language's characters come up often; a 0xFF byte
    // takes the next two bytes as one UTF-16 unit.
    for (size_t i = 1; i < size; ++i) {
        if (data[i] == 0xFF && i + 2 < size) {
            text.push_back(static_cast<char16_t>(data[i + 1] | (data[i + 2] << 8)));
            i += 2;
        } else {
            text.push_back(data[i]);
        }
    }
    CheckingKeyboard keyboard(wait);
    if (const auto read = CheckKeyString(text, keyboard); read.position + read.length > text.size()) std::abort();
    try {
        keyboard.CheckEnd(SendKeys(text, wait, keyboard));
    } catch (const fw::Error& error) {
        if (!IsConversionError(error.Text())) std::abort();
        keyboard.CheckEnd(false);
    } catch (const OutOfBudget&) {
        keyboard.CheckEnd(false);
    }
    return 0;
}
