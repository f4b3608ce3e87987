// The system's ANSI code page for text files without a byte-order mark.
#pragma once

#include "framework/TextFile.h"

namespace fw {

class SystemAnsiCodePage final : public AnsiCodePage {
public:
    std::u16string ToUtf16(std::string_view bytes) const override;
};

}  // namespace fw
