// Driving a system save dialog from another thread or process, as a user would: wait for it, type
// a file name, pick a file type, press OK or Cancel.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>

#include <chrono>
#include <string>

#include "framework/Text.h"
#include "framework/WinText.h"
#include "tests/support/WinTest.h"

namespace wintest {

// The name field: a combo box in newer dialogs, an edit control in older ones (and under Wine).
inline HWND SaveDialogNameField(HWND dialog) {
    const HWND combo = GetDlgItem(dialog, cmb13);
    return combo != nullptr ? combo : GetDlgItem(dialog, edt1);
}

// The process's visible dialog with the title, once its name field is there; null after the time
// (the test fails then, naming the dialog). Any thread may wait, one of its own included.
inline HWND WaitForSaveDialog(DWORD processId, const std::u16string& title, std::chrono::milliseconds timeout) {
    HWND dialog = nullptr;
    const bool shown = WaitFor(
        "the save dialog \"" + fw::Utf16ToUtf8(title) + "\"",
        [&] {
            dialog = FindTopWindow(processId, L"#32770", &title);
            return dialog != nullptr && IsWindowVisible(dialog) && SaveDialogNameField(dialog) != nullptr;
        },
        timeout);
    return shown ? dialog : nullptr;
}

inline std::u16string SaveDialogFileName(HWND dialog) {
    wchar_t text[1024] = {};
    SendMessageW(SaveDialogNameField(dialog), WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return fw::FromWide(text);
}

inline void SetSaveDialogFileName(HWND dialog, const std::u16string& name) {
    SendMessageW(SaveDialogNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(fw::AsWide(name)));
}

// Picks the file type (counted from 1) as a choice in the type list would.
inline void SelectSaveDialogType(HWND dialog, int filterIndex) {
    const HWND types = GetDlgItem(dialog, cmb1);
    SendMessageW(types, CB_SETCURSEL, static_cast<WPARAM>(filterIndex - 1), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
}

inline void PressSaveDialogButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

}  // namespace wintest
