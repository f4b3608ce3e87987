// Decoding text files by byte-order mark or ANSI code page, splitting lines, writing UTF-16.
#include "framework/TextFile.h"

#include <bit>
#include <cstring>

#include "framework/Text.h"

namespace fw {

namespace {

// Windows-1252 positions 0x80 to 0x9F; the five unassigned ones map to themselves as the system does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out(bytes.size() / 2, u'\0');
    if (bigEndian == (std::endian::native == std::endian::big)) {
        std::memcpy(out.data(), bytes.data(), out.size() * 2);
        return out;
    }
    for (size_t i = 0; i < out.size(); ++i) {
        const auto a = static_cast<unsigned char>(bytes[2 * i]);
        const auto b = static_cast<unsigned char>(bytes[2 * i + 1]);
        out[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return out;
}

bool StartsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::u16string Windows1252CodePage::ToUtf16(std::string_view bytes) const {
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b;
    }
    return out;
}

std::u16string DecodeText(std::string_view bytes, const AnsiCodePage& ansi) {
    if (StartsWith(bytes, "\xEF\xBB\xBF")) return Utf8ToUtf16(bytes.substr(3));
    if (StartsWith(bytes, "\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
    if (StartsWith(bytes, "\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
    return ansi.ToUtf16(bytes);
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.push_back(text.substr(start, i - start));
            i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

std::string EncodeUtf16LE(std::u16string_view text, bool withBom) {
    std::string out;
    out.resize(text.size() * 2 + (withBom ? 2 : 0));
    size_t o = 0;
    if (withBom) {
        out[o++] = '\xFF';
        out[o++] = '\xFE';
    }
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out.data() + o, text.data(), text.size() * 2);
        return out;
    }
    for (char16_t c : text) {
        out[o++] = static_cast<char>(c & 0xFF);
        out[o++] = static_cast<char>(c >> 8);
    }
    return out;
}

}  // namespace fw
