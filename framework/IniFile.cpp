// Parsing INI text into sections and values, and writing it section by section.
#include "framework/IniFile.h"

#include "framework/Text.h"

namespace fw {

namespace {

uint64_t FoldedHash(std::u16string_view name) {
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (char16_t c : name) hash = (hash ^ FoldCase(c)) * 1099511628211ull;
    return hash;
}

}  // namespace

IniModel IniModel::Parse(std::u16string text) {
    IniModel model;
    model.text_ = std::move(text);
    const std::u16string_view all = model.text_;
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = pos;
        while (end < all.size() && all[end] != u'\r' && all[end] != u'\n') ++end;
        const std::u16string_view line = Trim(all.substr(pos, end - pos));
        pos = end + ((end + 1 < all.size() && all[end] == u'\r' && all[end + 1] == u'\n') ? 2 : 1);

        if (line.empty() || line[0] == u';') continue;
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            const std::u16string_view name = Trim(line.substr(1, line.size() - 2));
            const size_t index = model.sections_.size();
            const std::optional<size_t> first = model.FindSection(name);
            if (!first) model.byNameHash_.emplace(FoldedHash(name), index);
            model.sections_.push_back({name, model.entries_.size(), model.entries_.size(), first.value_or(index)});
            continue;
        }
        if (model.sections_.empty()) continue;
        const size_t eq = line.find(u'=');
        if (eq == std::u16string_view::npos) continue;  // holds no value
        model.entries_.push_back({Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
        model.sections_.back().endEntry = model.entries_.size();
    }
    return model;
}

std::optional<size_t> IniModel::FindSection(std::u16string_view name) const {
    const auto [begin, end] = byNameHash_.equal_range(FoldedHash(name));
    for (auto it = begin; it != end; ++it) {
        if (SameText(sections_[it->second].name, name)) return it->second;
    }
    return std::nullopt;
}

std::optional<std::u16string_view> IniModel::Find(size_t index, std::u16string_view key) const {
    const Section& section = sections_[sections_[index].first];
    for (size_t e = section.firstEntry; e < section.endEntry; ++e) {
        if (SameText(entries_[e].key, key)) return entries_[e].value;
    }
    return std::nullopt;
}

int32_t IniModel::IntegerOr(std::optional<std::u16string_view> value, int32_t defaultValue) {
    return value ? ParseInt(*value).value_or(defaultValue) : defaultValue;
}

void IniWriter::Section(std::u16string_view name) {
    if (inSection_) text_.append(u"\r\n");
    text_.append(u"[").append(name).append(u"]\r\n");
    inSection_ = true;
}

void IniWriter::Value(std::u16string_view key, std::u16string_view value) {
    text_.append(key).append(u"=").append(value).append(u"\r\n");
}

void IniWriter::Integer(std::u16string_view key, int32_t value) {
    Value(key, IntToStr(value));
}

void IniWriter::Bool(std::u16string_view key, bool value) {
    Value(key, value ? u"1" : u"0");
}

std::u16string IniWriter::Finish() {
    if (inSection_) text_.append(u"\r\n");
    inSection_ = false;
    return std::move(text_);
}

}  // namespace fw
