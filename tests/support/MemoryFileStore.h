// Test doubles for the system: files kept in memory and a registrar that records its calls.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/Hotkeys.h"
#include "framework/FileStore.h"

class MemoryFileStore final : public fw::FileStore {
public:
    bool Exists(const std::u16string& path) const override { return files.count(path) != 0; }
    std::optional<std::string> Read(const std::u16string& path) const override;
    void Replace(const std::u16string& path, std::string_view bytes) override;
    // The replaced content goes to `backup` in `files`.
    void ReplaceKeepingBackup(const std::u16string& path,
                              std::string_view bytes,
                              const std::u16string& backup) override;

    std::map<std::u16string, std::string> files;
    std::set<std::u16string> unreadable;  // exist but refuse reading
    std::set<std::u16string> unwritable;  // refuse writing
};

// Behaves like the system's global atoms and hotkeys: reference-counted atoms from 0xC000 up,
// one registration per combination.
class FakeRegistrar final : public corvalend::HotkeyRegistrar {
public:
    uint16_t AddAtomName(const std::u16string& name) override;
    void DeleteAtom(uint16_t atom) override;
    bool RegisterHotKey(uint16_t id, uint32_t modifiers, uint32_t key) override;
    bool UnregisterHotKey(uint16_t id) override;
    bool CombinationFree(uint32_t modifiers, uint32_t key) override;

    int AtomRefs(const std::u16string& name) const;
    bool IsRegistered(uint32_t modifiers, uint32_t key) const;
    size_t RegisteredCount() const { return registered.size(); }

    struct Atom {
        std::u16string name;
        int refs = 0;
    };
    std::map<uint16_t, Atom> atoms;
    std::map<uint16_t, std::pair<uint32_t, uint32_t>> registered;  // id -> (modifiers, key)
    std::set<std::pair<uint32_t, uint32_t>> reserved;              // combinations another program holds
    bool atomTableFull = false;
    std::vector<std::string> calls;
};
