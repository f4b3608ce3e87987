// The one exception type of the program: it carries the exact text the user is shown.
#pragma once

#include <exception>
#include <string>

namespace fw {

class Error : public std::exception {
public:
    explicit Error(std::u16string text);

    const std::u16string& Text() const noexcept { return text_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::u16string text_;
    std::string utf8_;
};

// "List index out of bounds (%d)"
[[noreturn]] void ThrowListIndexError(long long index);

// "''%s'' is not a valid integer value"
[[noreturn]] void ThrowConvertError(const std::u16string& text);

}  // namespace fw
