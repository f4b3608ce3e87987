// Parsing key strings and generating their key events, against a keyboard that only counts: the
// sender itself must stay far faster than any system can take the events.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "core/SendKeys.h"
#include "tests/support/UsLayout.h"

using namespace corvalend;

namespace {

class CountingKeyboard final : public KeyboardPort {
public:
    void SendKeyEvent(uint8_t, uint8_t, uint32_t) override { ++events; }
    void SendUnicodeEvent(char16_t, bool) override { ++events; }
    uint32_t ScanCodeOf(uint8_t vk) override { return vk; }
    uint16_t KeyForChar(char16_t c) override { return UsLayoutKey(c); }
    uint16_t KeyForAnsiChar(char c) override { return KeyForChar(static_cast<unsigned char>(c)); }
    std::string ToAnsi(char16_t c) override { return std::string(1, static_cast<char>(c)); }
    std::u16string FromAnsi(std::string_view bytes) override { return std::u16string(bytes.begin(), bytes.end()); }
    bool NumLockToggled() override { return false; }
    void ReadKeyState(std::array<uint8_t, 256>& state) override { state.fill(0); }
    void WriteKeyState(const std::array<uint8_t, 256>&) override {}
    void PumpKeyboardMessages() override {}
    void ShowMessageBox(std::u16string_view, std::u16string_view) override {}

    uint64_t events = 0;
};

std::u16string Repeat(std::u16string_view piece, size_t length) {
    std::u16string text;
    while (text.size() < length) text.append(piece);
    text.resize(length);
    return text;
}

void Run(benchmark::State& state, const std::u16string& text) {
    CountingKeyboard keyboard;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SendKeys(text, false, keyboard));
    }
    const auto chars = static_cast<int64_t>(text.size()) * state.iterations();
    state.SetItemsProcessed(chars);
    state.counters["chars/s"] = benchmark::Counter(static_cast<double>(chars), benchmark::Counter::kIsRate);
    state.counters["events/char"] =
        static_cast<double>(keyboard.events) / static_cast<double>(std::max<int64_t>(chars, 1));
}

void BM_SendKeysPlainText(benchmark::State& state) {
    Run(state, Repeat(u"The quick brown fox jumps over the lazy dog, 1234567890 times.\r",
                      static_cast<size_t>(state.range(0))));
}

void BM_SendKeysMixed(benchmark::State& state) {
    Run(state, Repeat(u"+(hello) ^a{ENTER}{TAB 2}{{}x{}}%f~{PGUP}{LEFT 3}abc", static_cast<size_t>(state.range(0))));
}

}  // namespace

BENCHMARK(BM_SendKeysPlainText)->Arg(64)->Arg(4096)->Arg(65536);
BENCHMARK(BM_SendKeysMixed)->Arg(4096)->Arg(65536);
