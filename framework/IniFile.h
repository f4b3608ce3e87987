// An INI file kept in memory: sections of name=value entries, read by the rules of our settings
// files and written back as text on request.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fw {

class IniModel {
public:
    // Reading rules: every line is stripped of blanks and control characters at both ends; empty
    // lines and lines starting with ";" are skipped; "[name]" opens a section; other lines inside a
    // section split at the first "=" (a line without one holds nothing). Lines before
    // the first section are ignored. Names compare without regard to letter case; for a name that
    // occurs twice the first occurrence counts.
    static IniModel Parse(std::u16string_view text);

    size_t SectionCount() const { return sections_.size(); }
    const std::u16string& SectionName(size_t index) const { return sections_[index].name; }

    std::optional<std::u16string_view> Find(std::u16string_view section, std::u16string_view key) const;
    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const;
    // Integers as `ParseInt` reads them; the default when missing or not a number.
    int32_t ReadInteger(std::u16string_view section, std::u16string_view key, int32_t defaultValue) const;
    // Booleans are integers: non-zero is true.
    bool ReadBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const;

    // Sets the value in the first section of that name, appending the section or the key when missing.
    // Values are written as given: the caller keeps line breaks out of them.
    void WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
    void WriteInteger(std::u16string_view section, std::u16string_view key, int32_t value);
    void WriteBool(std::u16string_view section, std::u16string_view key, bool value);

    void EraseSection(std::u16string_view section);
    void Clear();

    // "[name]", one "key=value" line per entry, then an empty line; lines end in CR LF.
    std::u16string ToText() const;

private:
    struct Entry {
        std::u16string key;
        std::u16string value;
    };
    struct Section {
        std::u16string name;
        std::vector<Entry> entries;
    };

    const Section* FindSection(std::u16string_view name) const;
    Section& SectionForWriting(std::u16string_view name);
    void RebuildIndex();

    std::vector<Section> sections_;
    std::unordered_map<std::u16string, size_t> firstByName_;  // folded name -> first section
};

}  // namespace fw
