// The wizard frame both guides share: the drawn top band, the page area and the button row.
#include "ui/WizardForm.h"

namespace corvalend {

TWizardForm::TWizardForm(fw::Application& app, HWND owner, const std::u16string& caption, fw::FormPosition position)
    : Form(app,
           owner,
           {.caption = caption,
            .clientWidth = 571,
            .clientHeight = 403,
            .border = fw::FormBorder::Dialog,
            .position = position}) {
    ExtendFrameIntoBand(pnlTop, 49);
    btnPrevious.OnClick = [this] { btnPreviousClick(); };
}

void TWizardForm::btnPreviousClick() {
    if (pcClient.ActivePageIndex() <= 0) return;
    pcClient.SetActivePageIndex(pcClient.ActivePageIndex() - 1);
    pcClientChange();
}

void TWizardForm::ShowNextPage() {
    pcClient.SetActivePageIndex(pcClient.ActivePageIndex() + 1);
    pcClientChange();
}

void TWizardForm::pcClientChange() {
    const int page = pcClient.ActivePageIndex();
    btnNext.SetText(page == pcClient.PageCount() - 1 ? u"&Finish" : u"&Next");
    btnPrevious.SetEnabled(page > 0);
}

}  // namespace corvalend
