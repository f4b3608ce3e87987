// The filter of the file dialogs: "JPEG|*.jpg|Bitmap|*.bmp" as the system wants it, each part
// ending with a null and the list with two.
#pragma once

#include <algorithm>
#include <string>

namespace fw {

inline std::u16string SystemDialogFilter(const std::u16string& filter) {
    std::u16string result = filter;
    std::replace(result.begin(), result.end(), u'|', u'\0');
    result.push_back(u'\0');
    result.push_back(u'\0');
    return result;
}

}  // namespace fw
