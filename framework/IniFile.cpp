#include "framework/IniFile.h"

#include "framework/Text.h"
#include "framework/TextFile.h"

namespace fw {

IniModel IniModel::Parse(std::u16string_view text) {
    IniModel model;
    Section* current = nullptr;
    for (std::u16string_view line : SplitLines(text)) {
        line = Trim(line);
        if (line.empty() || line[0] == u';') continue;
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            model.sections_.push_back({std::u16string(Trim(line.substr(1, line.size() - 2))), {}});
            current = &model.sections_.back();
            model.firstByName_.try_emplace(FoldCase(current->name), model.sections_.size() - 1);
            continue;
        }
        if (current == nullptr) continue;
        const size_t eq = line.find(u'=');
        if (eq == std::u16string_view::npos) continue;  // holds no value
        current->entries.push_back(
            {std::u16string(Trim(line.substr(0, eq))), std::u16string(Trim(line.substr(eq + 1)))});
    }
    return model;
}

const IniModel::Section* IniModel::FindSection(std::u16string_view name) const {
    const auto it = firstByName_.find(FoldCase(name));
    return it == firstByName_.end() ? nullptr : &sections_[it->second];
}

std::optional<std::u16string_view> IniModel::Find(std::u16string_view section, std::u16string_view key) const {
    const Section* s = FindSection(section);
    if (s == nullptr) return std::nullopt;
    for (const Entry& e : s->entries) {
        if (SameText(e.key, key)) return std::u16string_view(e.value);
    }
    return std::nullopt;
}

std::u16string IniModel::ReadString(std::u16string_view section, std::u16string_view key,
                                    std::u16string_view defaultValue) const {
    return std::u16string(Find(section, key).value_or(defaultValue));
}

int32_t IniModel::ReadInteger(std::u16string_view section, std::u16string_view key, int32_t defaultValue) const {
    const auto value = Find(section, key);
    if (!value) return defaultValue;
    return ParseInt(*value).value_or(defaultValue);
}

bool IniModel::ReadBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const {
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

IniModel::Section& IniModel::SectionForWriting(std::u16string_view name) {
    const auto [it, added] = firstByName_.try_emplace(FoldCase(name), sections_.size());
    if (added) sections_.push_back({std::u16string(name), {}});
    return sections_[it->second];
}

void IniModel::WriteString(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    Section& s = SectionForWriting(section);
    for (Entry& e : s.entries) {
        if (SameText(e.key, key)) {
            e.value = value;
            return;
        }
    }
    s.entries.push_back({std::u16string(key), std::u16string(value)});
}

void IniModel::WriteInteger(std::u16string_view section, std::u16string_view key, int32_t value) {
    WriteString(section, key, IntToStr(value));
}

void IniModel::WriteBool(std::u16string_view section, std::u16string_view key, bool value) {
    WriteString(section, key, value ? u"1" : u"0");
}

void IniModel::EraseSection(std::u16string_view section) {
    const std::u16string folded = FoldCase(section);
    std::erase_if(sections_, [&](const Section& s) { return FoldCase(s.name) == folded; });
    RebuildIndex();
}

void IniModel::Clear() {
    sections_.clear();
    firstByName_.clear();
}

void IniModel::RebuildIndex() {
    firstByName_.clear();
    for (size_t i = 0; i < sections_.size(); ++i) firstByName_.try_emplace(FoldCase(sections_[i].name), i);
}

std::u16string IniModel::ToText() const {
    size_t size = 0;
    for (const Section& s : sections_) {
        size += s.name.size() + 6;
        for (const Entry& e : s.entries) size += e.key.size() + e.value.size() + 3;
    }
    std::u16string text;
    text.reserve(size);
    for (const Section& s : sections_) {
        text.append(u"[").append(s.name).append(u"]\r\n");
        for (const Entry& e : s.entries) text.append(e.key).append(u"=").append(e.value).append(u"\r\n");
        text.append(u"\r\n");
    }
    return text;
}

}  // namespace fw
