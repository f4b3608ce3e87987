// Text-file loading: byte-order-mark detection, the ANSI code page fallback, line splitting,
// and the UTF-16 little-endian writing form of our settings files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Decodes bytes in the system's ANSI code page. The Win32 side asks the system; elsewhere
// Windows-1252 stands in for it.
class AnsiCodePage {
public:
    virtual ~AnsiCodePage() = default;
    virtual std::u16string ToUtf16(std::string_view bytes) const = 0;
};

class Windows1252CodePage final : public AnsiCodePage {
public:
    std::u16string ToUtf16(std::string_view bytes) const override;
};

// A leading byte-order mark selects UTF-8 (EF BB BF), UTF-16 LE (FF FE) or UTF-16 BE (FE FF);
// without one the bytes are in the ANSI code page. A trailing odd byte of UTF-16 is dropped.
std::u16string DecodeText(std::string_view bytes, const AnsiCodePage& ansi);

// Splits at carriage return, line feed, or both together. A final line break does not start
// another line; empty text has no lines.
std::vector<std::u16string_view> SplitLines(std::u16string_view text);

// UTF-16 little-endian bytes, with the byte-order mark FF FE in front when asked.
std::string EncodeUtf16LE(std::u16string_view text, bool withBom);

}  // namespace fw
