// A key string edited in the multi-line dialog: placeholders decoded going in, encoded coming out.
#include "ui/frmMemoInputU.h"

#include "core/ActionRules.h"

namespace corvalend {

TfrmMemoInput::TfrmMemoInput(fw::Application& app, HWND owner)
    : Form(app,
           owner,
           {.caption = u"Input text",
            .clientWidth = 395,
            .clientHeight = 199,
            .border = fw::FormBorder::SizeableDialog,
            .position = fw::FormPosition::OwnerCenter}) {}

bool EditParametersAsText(fw::Application& app, HWND owner, fw::Edit& edtParameters) {
    // Freed on every way out, a failing step included.
    TfrmMemoInput dialog(app, owner);
    dialog.edtText.SetText(DecodePlaceholders(edtParameters.Text()));
    if (dialog.ShowModal() != fw::mrOk) return false;
    edtParameters.SetText(EncodePlaceholders(dialog.edtText.Text()));
    return true;
}

}  // namespace corvalend
