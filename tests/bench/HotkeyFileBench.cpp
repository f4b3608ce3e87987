// Loading and saving large hotkey files through a real disk: both must stay linear in the count.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>

#include "core/Hotkeys.h"
#include "framework/Text.h"
#include "tests/support/MemoryFileStore.h"
#include "tests/support/PosixFileStore.h"

using namespace corvalend;

namespace {

struct Fixture {
    FakeRegistrar registrar;
    PosixFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    std::u16string path = fw::Utf8ToUtf16("/tmp/corvalend-bench-" + std::to_string(getpid()) + ".ini");

    void Fill(THotkeyList& list, int count) {
        for (int i = 0; i < count; ++i) {
            list.Add(i % 3 != 0, 0x41 + i % 26, i % 16, static_cast<THotKeyFunc>(1 + i % 12),
                     u"C:\\Program Files\\Some Program\\program" + fw::IntToStr(i) + u".exe", u"--option value",
                     u"MAXIMIZED");
        }
    }
    ~Fixture() { unlink(fw::Utf16ToUtf8(path).c_str()); }
};

void BM_SaveHotkeyFile(benchmark::State& state) {
    Fixture f;
    THotkeyList list(f.system);
    f.Fill(list, static_cast<int>(state.range(0)));
    for (auto _ : state) list.SaveToFile(f.path);
    state.SetComplexityN(state.range(0));
}

void BM_LoadHotkeyFile(benchmark::State& state) {
    Fixture f;
    {
        THotkeyList list(f.system);
        f.Fill(list, static_cast<int>(state.range(0)));
        list.SaveToFile(f.path);
    }
    THotkeyList list(f.system);
    for (auto _ : state) {
        list.LoadFromFile(f.path, false);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_LoadHotkeyFile)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_SaveHotkeyFile)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();
