// What the system's open and save dialogs share: the dialog library, loaded with the first use; OLE
// for the shell view in them; the filter and the name buffer; the result; and the error raised when
// the dialog itself fails. OpenDialog and SaveDialog say what is theirs.
#pragma once

#include <windows.h>

#include <commdlg.h>

#include <string>

namespace fw {

struct FileDialogRequest {
    bool save = false;  // the save dialog rather than the open dialog
    HWND owner = nullptr;
    std::u16string filter;  // pairs separated by "|": "JPEG|*.jpg|Bitmap|*.bmp"
    int filterIndex = 1;    // counted from 1
    std::u16string fileName;
    std::u16string initialDir{};  // "" for the system's choice
    DWORD flags = 0;            // besides explorer style, sizing, no read-only box and no change of folder
    const wchar_t* title = nullptr;
    const wchar_t* defaultExt = nullptr;
    LPOFNHOOKPROC hook = nullptr;
    LPARAM hookData = 0;
    // A preset name the system refuses (quotes, arguments, an address) would keep the dialog from
    // showing at all: it opens without one instead.
    bool dropRefusedName = false;
    // The error's text, before " (error N)".
    std::u16string failure;
};

struct FileDialogResult {
    bool chosen = false;
    std::u16string fileName;
    int filterIndex = 1;
};

// Shows the dialog modally; raises the failure with the system's code when the dialog fails.
FileDialogResult ShowFileDialog(const FileDialogRequest& request);

}  // namespace fw
