// The frame the two wizard-like windows share (the new-hotkey wizard and the first-use guide): a band
// at the top drawn as part of the window frame, the white page area with a page control without
// tabs, and the button row with Previous, Next (Finish on the last page) and Cancel. The pages and
// what Next and Cancel do are the window's own.
#pragma once

#include <windows.h>

#include <string>

#include "framework/ControlsContainers.h"
#include "framework/ControlsStandard.h"
#include "framework/Form.h"

namespace corvalend {

class TWizardForm : public fw::Form {
public:
    fw::Panel pnlTop{*this, {.bounds = {0, 0, 571, 49}, .anchors = fw::akLeft | fw::akTop | fw::akRight}};
    fw::Panel pnlClient{*this, {.bounds = {0, 49, 571, 313}, .anchors = fw::kAnchorAll}, {.color = RGB(255, 255, 255)}};
    fw::PageControl pcClient{pnlClient, {.bounds = {0, 0, 571, 313}, .anchors = fw::kAnchorAll}, /*showTabs=*/false};

    fw::Panel pnlBottom{*this, {.bounds = {0, 362, 571, 41}, .anchors = fw::akLeft | fw::akRight | fw::akBottom}};
    fw::Bevel Bevel1{pnlBottom, {.bounds = {0, 0, 571, 2}, .anchors = fw::akLeft | fw::akTop | fw::akRight}};
    fw::Button btnPrevious{
        pnlBottom,
        {.text = u"&Previous", .bounds = {325, 8, 75, 25}, .anchors = fw::akTop | fw::akRight, .enabled = false}};
    fw::Button btnNext{pnlBottom,
                       {.text = u"&Next", .bounds = {406, 8, 75, 25}, .anchors = fw::akTop | fw::akRight},
                       {.isDefault = true}};
    fw::Button btnCancel{pnlBottom,
                         {.text = u"Cance&l", .bounds = {487, 8, 75, 25}, .anchors = fw::akTop | fw::akRight},
                         {.isCancel = true}};

    // Event handler, also callable as the user's action: the page before, if any.
    void btnPreviousClick();

protected:
    // A fixed-size window without pages yet.
    TWizardForm(fw::Application& app, HWND owner, const std::u16string& caption, fw::FormPosition position);

    bool OnLastPage() const { return pcClient.ActivePageIndex() >= pcClient.PageCount() - 1; }
    // Turns to the next page (the caller knows there is one).
    void ShowNextPage();
    // The buttons follow the page shown: "&Finish" on the last one, Previous beyond the first one.
    void pcClientChange();
};

}  // namespace corvalend
