// Values of one INI section read and changed line by line, so that what the user wrote stays.
#include "framework/IniSettings.h"

#include <vector>

#include "framework/Text.h"

namespace fw {

namespace {

// Where a value stands in the lines of a text, found by the rules IniModel reads with.
struct ValuePlace {
    bool sectionFound = false;
    size_t sectionEnd = 0;  // the line after the section's last value (or after its heading)
    std::optional<size_t> line;
    std::u16string_view value;
};

ValuePlace FindValue(const std::vector<std::u16string_view>& lines,
                     std::u16string_view section,
                     std::u16string_view name) {
    ValuePlace place;
    bool inside = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::u16string_view line = Trim(lines[i]);
        if (line.empty() || line[0] == u';') continue;
        if (line.size() >= 2 && line.front() == u'[' && line.back() == u']') {
            // Only the first section of the name counts.
            inside = !place.sectionFound && SameText(Trim(line.substr(1, line.size() - 2)), section);
            if (inside) place.sectionEnd = i + 1;
            place.sectionFound = place.sectionFound || inside;
            continue;
        }
        const size_t eq = line.find(u'=');
        if (!inside || eq == std::u16string_view::npos) continue;
        place.sectionEnd = i + 1;
        if (!place.line && SameText(Trim(line.substr(0, eq)), name)) {
            place.line = i;
            place.value = Trim(line.substr(eq + 1));
        }
    }
    return place;
}

}  // namespace

std::optional<std::u16string> ReadIniValue(std::u16string_view text,
                                           std::u16string_view section,
                                           std::u16string_view name) {
    const std::vector<std::u16string_view> lines = SplitLines(text);
    const ValuePlace place = FindValue(lines, section, name);
    if (!place.line) return std::nullopt;
    return std::u16string(place.value);
}

std::u16string SetIniValue(std::u16string_view text,
                           std::u16string_view section,
                           std::u16string_view name,
                           std::optional<std::u16string_view> value) {
    std::vector<std::u16string> lines;
    for (const std::u16string_view line : SplitLines(text)) lines.emplace_back(line);
    const std::vector<std::u16string_view> views(lines.begin(), lines.end());
    const ValuePlace place = FindValue(views, section, name);
    const std::u16string valueLine = std::u16string(name) + u"=" + std::u16string(value.value_or(u""));
    if (place.line) {
        if (value) {
            lines[*place.line] = valueLine;
        } else {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*place.line));
        }
    } else if (value && place.sectionFound) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(place.sectionEnd), valueLine);
    } else if (value) {
        if (!lines.empty() && !Trim(lines.back()).empty()) lines.emplace_back();
        lines.push_back(u"[" + std::u16string(section) + u"]");
        lines.push_back(valueLine);
    }
    std::u16string result;
    for (const std::u16string& line : lines) result.append(line).append(u"\r\n");
    return result;
}

IniSettings::IniSettings(FileStore& files, const AnsiCodePage& ansi, std::u16string path, std::u16string section)
    : files_(files), ansi_(ansi), path_(std::move(path)), section_(std::move(section)) {}

std::u16string IniSettings::Text() const {
    const std::optional<std::string> bytes = files_.Read(path_);
    return bytes ? DecodeText(*bytes, ansi_) : std::u16string();
}

std::optional<std::u16string> IniSettings::Read(std::u16string_view name) const {
    return ReadIniValue(Text(), section_, name);
}

void IniSettings::Write(std::u16string_view name, std::u16string_view value) {
    files_.Replace(path_, EncodeUtf16LE(SetIniValue(Text(), section_, name, value), /*withBom=*/true));
}

bool IniSettings::Delete(std::u16string_view name) {
    const std::u16string text = Text();
    if (!ReadIniValue(text, section_, name)) return false;
    files_.Replace(path_, EncodeUtf16LE(SetIniValue(text, section_, name, std::nullopt), /*withBom=*/true));
    return true;
}

}  // namespace fw
