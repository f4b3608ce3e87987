// The program's exception type, and the texts of conversion and list-index errors.
#include "framework/Error.h"

#include "framework/Text.h"

namespace fw {

Error::Error(std::u16string text) : text_(std::move(text)), utf8_(Utf16ToUtf8(text_)) {}

void ThrowListIndexError(long long index) {
    throw Error(u"List index out of bounds (" + IntToStr(index) + u")");
}

void ThrowConvertError(const std::u16string& text) {
    throw Error(u"''" + text + u"'' is not a valid integer value");
}

}  // namespace fw
