// Message dialogs: the system's message box with a caption and icon for the kind of message.
//
//     if (fw::MessageDlg(Handle(), u"Are you sure?", fw::MessageType::Confirmation,
//                        fw::MessageButtons::YesNo) == fw::mrYes) ...
//
// The message box runs its own loop, which dispatches the messages posted to the program's other
// windows (its timers' and hidden windows') as the application's loop does.
#pragma once

#include <windows.h>

#include <string>

namespace fw {

enum class MessageType {
    Warning,       // "Warning", exclamation icon
    Error,         // "Error", stop icon
    Information,   // "Information", information icon
    Confirmation,  // "Confirm", question icon
};

enum class MessageButtons { Ok, OkCancel, YesNo };

// Shows `text` above the buttons, owned by `owner`'s top-level window (the active window when
// null), and returns the modal result of the button pressed (mrOk, mrCancel, mrYes, mrNo). Esc and
// the close box give mrCancel, or mrOk when OK is the only button; a Yes/No box has neither.
// `defaultResult` picks the button Enter presses; mrNone is the first.
int MessageDlg(HWND owner, const std::u16string& text, MessageType type, MessageButtons buttons, int defaultResult = 0);

}  // namespace fw
