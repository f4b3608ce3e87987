// Any bytes as a hotkey file: loading never fails, and what was loaded survives a save and a
// second load unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/Hotkeys.h"
#include "tests/support/MemoryFileStore.h"

using namespace corvalend;

namespace {

bool SameData(const THotKeyData& a, const THotKeyData& b) {
    return a.Active == b.Active && a.Key == b.Key && a.Shift == b.Shift && a.Func == b.Func && a.Params == b.Params &&
           a.Params2 == b.Params2 && a.Params3 == b.Params3;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FakeRegistrar registrar;
    MemoryFileStore files;
    fw::Windows1252CodePage ansi;
    HotkeySystem system{registrar, files, ansi};
    const std::u16string file = u"hotkeys.ini";
    files.files[file] = std::string(reinterpret_cast<const char*>(data), size);

    THotkeyList loaded(system);
    loaded.LoadFromFile(file, false);
    loaded.SaveToFile(file);
    THotkeyList reloaded(system);
    reloaded.LoadFromFile(file, false);

    if (reloaded.Count() != loaded.Count()) std::abort();
    for (int i = 0; i < loaded.Count(); ++i) {
        const THotKeyData& d = loaded.GetItem(i)->HotKeyData;
        if (d.Func == hkfNoAction || !SameData(d, reloaded.GetItem(i)->HotKeyData)) std::abort();
    }
    return 0;
}
