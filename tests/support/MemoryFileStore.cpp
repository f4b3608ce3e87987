// Test doubles: the in-memory file store and the recording registrar with the system's atom rules.
#include "tests/support/MemoryFileStore.h"

#include "framework/Error.h"
#include "framework/Text.h"

std::optional<std::string> MemoryFileStore::Read(const std::u16string& path) const {
    if (unreadable.count(path)) throw fw::Error(fw::CannotOpenFileText(path, u"Access is denied"));
    const auto it = files.find(path);
    if (it == files.end()) return std::nullopt;
    return it->second;
}

void MemoryFileStore::Replace(const std::u16string& path, std::string_view bytes) {
    if (unwritable.count(path)) throw fw::Error(fw::CannotCreateFileText(path, u"Access is denied"));
    files[path] = std::string(bytes);
}

void MemoryFileStore::ReplaceKeepingBackup(const std::u16string& path,
                                           std::string_view bytes,
                                           const std::u16string& backup) {
    if (unwritable.count(path) || unwritable.count(backup))
        throw fw::Error(fw::CannotCreateFileText(path, u"Access is denied"));
    const auto old = files.find(path);
    if (old != files.end()) files[backup] = old->second;
    files[path] = std::string(bytes);
}

uint16_t FakeRegistrar::AddAtomName(const std::u16string& name) {
    calls.push_back("AddAtom " + fw::Utf16ToUtf8(name));
    if (atomTableFull) return 0;
    for (auto& [id, atom] : atoms) {
        if (fw::SameText(atom.name, name)) {
            ++atom.refs;
            return id;
        }
    }
    uint16_t id = 0xC000;
    while (atoms.count(id)) ++id;
    atoms[id] = {name, 1};
    return id;
}

void FakeRegistrar::DeleteAtom(uint16_t atom) {
    calls.push_back("DeleteAtom " + std::to_string(atom));
    const auto it = atoms.find(atom);
    if (it != atoms.end() && --it->second.refs == 0) atoms.erase(it);
}

bool FakeRegistrar::RegisterHotKey(uint16_t id, uint32_t modifiers, uint32_t key) {
    calls.push_back("RegisterHotKey " + std::to_string(id) + " " + std::to_string(modifiers) + " " +
                    std::to_string(key));
    if (registered.count(id) || reserved.count({modifiers, key}) || IsRegistered(modifiers, key)) return false;
    registered[id] = {modifiers, key};
    return true;
}

bool FakeRegistrar::UnregisterHotKey(uint16_t id) {
    calls.push_back("UnregisterHotKey " + std::to_string(id));
    return registered.erase(id) != 0;
}

bool FakeRegistrar::CombinationFree(uint32_t modifiers, uint32_t key) {
    calls.push_back("CombinationFree " + std::to_string(modifiers) + " " + std::to_string(key));
    return !reserved.count({modifiers, key}) && !IsRegistered(modifiers, key);
}

int FakeRegistrar::AtomRefs(const std::u16string& name) const {
    for (const auto& [id, atom] : atoms) {
        if (fw::SameText(atom.name, name)) return atom.refs;
    }
    return 0;
}

bool FakeRegistrar::IsRegistered(uint32_t modifiers, uint32_t key) const {
    for (const auto& [id, combo] : registered) {
        if (combo == std::make_pair(modifiers, key)) return true;
    }
    return false;
}
