// INI files: a model of a file's sections and values as our settings files are read, and a writer
// that produces the text of a file section by section.
#pragma once

#include <cstddef>
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
    // section split at the first "=" (a line without one holds nothing). Lines before the first
    // section are ignored. Names compare without regard to letter case; for a name that occurs
    // twice the first occurrence counts.
    static IniModel Parse(std::u16string text);

    IniModel() = default;
    IniModel(IniModel&&) = default;
    IniModel& operator=(IniModel&&) = default;

    size_t SectionCount() const { return sections_.size(); }

    // Section `index` (below SectionCount) reads the values of the first section of its name.
    std::optional<std::u16string_view> Find(size_t index, std::u16string_view key) const;

    std::u16string ReadString(size_t section, std::u16string_view key, std::u16string_view defaultValue) const {
        return std::u16string(Find(section, key).value_or(defaultValue));
    }
    // Integers as `ParseInt` reads them; the default when missing or not a number.
    int32_t ReadInteger(size_t section, std::u16string_view key, int32_t defaultValue) const {
        return IntegerOr(Find(section, key), defaultValue);
    }
    // Booleans are integers: non-zero is true.
    bool ReadBool(size_t section, std::u16string_view key, bool defaultValue) const {
        return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
    }

private:
    struct Entry {
        std::u16string_view key;
        std::u16string_view value;
    };
    struct Section {
        std::u16string_view name;
        size_t firstEntry;
        size_t endEntry;
        size_t first;  // position of the first section of this name
    };

    static int32_t IntegerOr(std::optional<std::u16string_view> value, int32_t defaultValue);
    std::optional<size_t> FindSection(std::u16string_view name) const;

    std::u16string text_;  // the names and values are views into it
    std::vector<Section> sections_;
    std::vector<Entry> entries_;
    std::unordered_multimap<uint64_t, size_t> byNameHash_;  // folded-name hash -> first section
};

// Builds the text of an INI file: "[name]", one "key=value" line per value, an empty line after
// each section; lines end in CR LF. Values are written as given: callers keep line breaks out.
class IniWriter {
public:
    void Reserve(size_t characters) { text_.reserve(characters); }
    void Section(std::u16string_view name);
    void Value(std::u16string_view key, std::u16string_view value);
    void Integer(std::u16string_view key, int32_t value);
    void Bool(std::u16string_view key, bool value);
    // The whole text, the last section closed; the writer is empty afterwards.
    std::u16string Finish();

private:
    std::u16string text_;
    bool inSection_ = false;
};

}  // namespace fw
