// The text input dialog: one multi-line field for a key string that spans several lines or holds
// tabs. The caller fills the field, shows the dialog modally and reads the field back on OK.
#pragma once

#include <windows.h>

#include "framework/ControlsContainers.h"
#include "framework/ControlsStandard.h"
#include "framework/Form.h"

namespace corvalend {

class TfrmMemoInput final : public fw::Form {
public:
    TfrmMemoInput(fw::Application& app, HWND owner);

    fw::Panel pnlClient{*this, {.bounds = {0, 0, 395, 158}, .anchors = fw::kAnchorAll}};
    fw::Label Label1{pnlClient,
                     {.text = u"Text:", .bounds = {8, 8, 379, 13}, .anchors = fw::akLeft | fw::akTop | fw::akRight}};
    fw::Memo edtText{pnlClient, {.bounds = {8, 21, 379, 137}, .anchors = fw::kAnchorAll}, {.wantTabs = true}};
    fw::Panel pnlBottom{*this, {.bounds = {0, 158, 395, 41}, .anchors = fw::akLeft | fw::akRight | fw::akBottom}};
    fw::Button Button1{pnlBottom,
                       {.text = u"&OK", .bounds = {231, 8, 75, 25}, .anchors = fw::akTop | fw::akRight},
                       {.isDefault = true, .modalResult = fw::mrOk}};
    fw::Button Button2{pnlBottom,
                       {.text = u"&Cancel", .bounds = {312, 8, 75, 25}, .anchors = fw::akTop | fw::akRight},
                       {.isCancel = true, .modalResult = fw::mrCancel}};
};

// The "..." of a keystroke parameter: the one-line field `edtParameters` keeps line breaks and tabs
// as placeholders; the dialog, owned by `owner`, shows them decoded and on OK the field gets the
// dialog's text encoded again. True on OK; on Cancel, Esc or the close box the field is left as it was.
bool EditParametersAsText(fw::Application& app, HWND owner, fw::Edit& edtParameters);

}  // namespace corvalend
