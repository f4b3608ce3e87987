// Handing a file, a document or an address to the shell, as a double click in the shell would open
// it (or with another of its verbs).
#pragma once

#include <windows.h>

#include <string>

namespace fw {

// What goes with the target; null texts are passed as null.
struct ShellOpenOptions {
    HWND owner = nullptr;            // the parent of anything the shell shows
    const char16_t* verb = u"open";  // null: the target's default verb
    const char16_t* parameters = nullptr;
    const char16_t* directory = nullptr;  // null: the program's current folder
    int show = SW_SHOW;
};

// Whatever the shell then does, fails to find or is refused is not reported: the shell shows its
// own messages, and a link that leads nowhere simply does nothing.
void ShellOpen(const std::u16string& target, const ShellOpenOptions& options = {});

}  // namespace fw
