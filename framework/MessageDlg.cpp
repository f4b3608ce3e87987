// The message dialog: caption, icon and buttons for each kind of message, on the system's message box.
#include "framework/MessageDlg.h"

#include "framework/Form.h"
#include "framework/SystemError.h"
#include "framework/WinText.h"

namespace fw {

namespace {

struct TypeLook {
    const wchar_t* caption;
    UINT icon;
};

TypeLook LookOf(MessageType type) {
    switch (type) {
        case MessageType::Warning:
            return {L"Warning", MB_ICONWARNING};
        case MessageType::Error:
            return {L"Error", MB_ICONSTOP};
        case MessageType::Information:
            return {L"Information", MB_ICONINFORMATION};
        case MessageType::Confirmation:
            return {L"Confirm", MB_ICONQUESTION};
    }
    return {L"Information", MB_ICONINFORMATION};
}

UINT ButtonsStyle(MessageButtons buttons, int defaultResult) {
    switch (buttons) {
        case MessageButtons::Ok:
            return MB_OK;
        case MessageButtons::OkCancel:
            return MB_OKCANCEL | (defaultResult == mrCancel ? MB_DEFBUTTON2 : MB_DEFBUTTON1);
        case MessageButtons::YesNo:
            return MB_YESNO | (defaultResult == mrNo ? MB_DEFBUTTON2 : MB_DEFBUTTON1);
    }
    return MB_OK;
}

}  // namespace

int MessageDlg(HWND owner, const std::u16string& text, MessageType type, MessageButtons buttons, int defaultResult) {
    owner = owner != nullptr ? GetAncestor(owner, GA_ROOT) : GetActiveWindow();
    const TypeLook look = LookOf(type);
    const int result = MessageBoxW(owner, AsWide(text), look.caption,
                                   look.icon | ButtonsStyle(buttons, defaultResult) | MB_SETFOREGROUND);
    if (result == 0) ThrowLastError();
    return result;
}

}  // namespace fw
