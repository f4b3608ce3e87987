// A library of the system loaded by the call that first needs it instead of with the program, so
// that a program idle in the tray does not carry what only a dialog or a download uses.
#pragma once

#include <windows.h>

namespace fw {

// Loads the library from the system folder (a copy beside the program or in the current folder is
// never taken) and pins it: it stays loaded for the rest of the run as an imported library would,
// since code of it may still run after its caller returned (a request thread given up on, objects
// a dialog left behind). Raises an Error naming the library when it cannot be loaded.
class SystemLibrary {
public:
    explicit SystemLibrary(const wchar_t* fileName);

    // The function `name` of the library; raises an Error naming both when it is missing.
    template <class Function>
    Function* Get(const char* name) const {
        // Through the generic function pointer type, which converts to any other without a warning.
        return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(Address(name)));
    }

private:
    FARPROC Address(const char* name) const;

    const wchar_t* fileName_;
    HMODULE module_;
};

}  // namespace fw
