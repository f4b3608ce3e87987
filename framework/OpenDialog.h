// The system's file-open dialog.
//
//     fw::OpenDialog dialog;                 // filter "*.*|*.*": one entry "*.*" for every file
//     dialog.FileName = edtParameters.Text();
//     if (dialog.Execute(Handle())) edtParameters.SetText(dialog.FileName);
#pragma once

#include <windows.h>

#include <string>

namespace fw {

class OpenDialog {
public:
    // Pairs of a shown name and its patterns, separated by "|": "Programs|*.exe|All files|*.*".
    std::u16string Filter = u"*.*|*.*";
    // Preset before Execute (a name the system does not take as a file name is dropped); the
    // chosen file's full path after.
    std::u16string FileName;

    // Shows the dialog owned by `owner`'s top-level window; true when the user chose a file.
    // Raises the system's error when the dialog cannot be shown.
    bool Execute(HWND owner);
};

}  // namespace fw
