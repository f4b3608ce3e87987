// The system's save-file dialog with the settings a program keeps between uses (title, filter,
// default extension, selected type, file name) and a notification when the user picks another
// file type, during which the open dialog's default extension and file name can be changed.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace fw {

class SaveDialog {
public:
    SaveDialog() = default;
    SaveDialog(const SaveDialog&) = delete;
    SaveDialog& operator=(const SaveDialog&) = delete;

    std::u16string Title;
    // Pairs of description and pattern separated by "|": "JPEG|*.jpg|Bitmap|*.bmp".
    std::u16string Filter;
    // Types count from 1, in the order of the filter.
    int FilterIndex = 1;
    std::u16string FileName;
    // The folder the dialog opens in; "" leaves it to the system (the folder last used, as it keeps it).
    std::u16string InitialDir;
    // Asks before an existing file is replaced.
    bool OverwritePrompt = false;

    // Appended by the dialog to a name typed without an extension ("" for none); changing it while
    // the dialog is open changes what the open dialog appends.
    const std::u16string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const std::u16string& ext);

    // The user picked another type; FilterIndex is the new one.
    std::function<void(SaveDialog& sender)> OnTypeChange;

    // While the dialog is open: the file name as it stands in the dialog's name field.
    std::u16string DialogFileName() const;
    void SetDialogFileName(const std::u16string& name);

    // Shows the dialog modally. True when the user chose a file (FileName and FilterIndex then hold
    // the choice); false when cancelled. A failure of the dialog itself raises its error code.
    bool Execute(HWND owner);

private:
    static UINT_PTR CALLBACK Hook(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    HWND NameField() const;
    void TypeChanged();

    std::u16string defaultExt_;
    wchar_t defaultExtBuffer_[32] = {};  // what the open dialog reads its default extension from
    HWND dialog_ = nullptr;              // while open
    std::exception_ptr error_;           // raised in the notification, rethrown once the dialog is closed
};

}  // namespace fw
