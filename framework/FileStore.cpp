// The texts shown when a file cannot be opened or created.
#include "framework/FileStore.h"

namespace fw {

std::u16string CannotOpenFileText(const std::u16string& path, const std::u16string& reason) {
    return u"Cannot open file \"" + path + u"\". " + reason;
}

std::u16string CannotCreateFileText(const std::u16string& path, const std::u16string& reason) {
    return u"Cannot create file \"" + path + u"\". " + reason;
}

}  // namespace fw
