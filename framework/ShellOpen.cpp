// Hands a target to the shell with a verb, parameters and a window state; the shell reports its own failures.
#include "framework/ShellOpen.h"

#include <shellapi.h>

#include "framework/Application.h"
#include "framework/WinText.h"

namespace fw {

namespace {

const wchar_t* Wide(const char16_t* text) {
    return reinterpret_cast<const wchar_t*>(text);
}

}  // namespace

void ShellOpen(const std::u16string& target, const ShellOpenOptions& options) {
    // The shell may hand the target to extensions of its own, which are COM objects.
    UseOle();
    ShellExecuteW(options.owner, Wide(options.verb), AsWide(target), Wide(options.parameters), Wide(options.directory),
                  options.show);
}

}  // namespace fw
