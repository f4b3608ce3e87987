// The first-use guide's three pages, their controls, and Finish writing the file and the registry.
#include "ui/frmFirstUseU.h"

#include <algorithm>
#include <initializer_list>
#include <memory>

#include "core/WindowsCombinations.h"
#include "core/datau.h"
#include "framework/Application.h"
#include "framework/MessageDlg.h"
#include "framework/Mnemonics.h"
#include "framework/Registry.h"
#include "framework/ScopeExit.h"
#include "ui/SettingsFormU.h"

namespace corvalend {

TfrmFirstUse* frmFirstUse = nullptr;

TfrmFirstUse::TfrmFirstUse(fw::Application& app, HWND owner, TData& data)
    : TWizardForm(app, owner, u"Setup Corvalend", fw::FormPosition::ScreenCenter),
      lblLink(tsWelcome,
              {.text = u"Visit Tamberlo Sotware on the web", .bounds = {32, 272, 250, 13}},
              {.Style = fsUnderline, .Color = clBlue}),
      app_(app),
      data_(data) {
    for (fw::Label* heading : {&Label10, &Label1, &Label2}) heading->SetFont(headingFont_);
    lblLink.SetCursor(LoadCursorW(nullptr, IDC_HAND));
    lblLink.SetExecute(kMakerWebSite);
    lblLink.SetExecuteFile(true);

    btnNext.OnClick = [this] { btnNextClick(); };
    btnCancel.OnClick = [this] { btnCancelClick(); };
    btnSetupMoreHotkeys.OnClick = [this] { btnSetupMoreHotkeysClick(); };
    // Enter goes on with the guide, as its first page says; the link above is a Shift+Tab away.
    OnShow = [this] { btnNext.SetFocus(); };
    FormCreate();
}

TfrmFirstUse::~TfrmFirstUse() = default;

fw::CheckBox& TfrmFirstUse::SuggestionBox(TSuggestion suggestion) {
    switch (suggestion) {
        case sgMinimize:
            return chkKeyMinimize;
        case sgMaximize:
            return chkKeyMaximize;
        case sgScreenCapture:
            return chkKeyScreenCapture;
        case sgOpenNotepad:
            break;
    }
    return chkKeyOpenNotepad;
}

// The boxes open ticked whatever the hotkey file holds: the guide offers the suggestions afresh.
void TfrmFirstUse::FormCreate() {
    pcClient.SetActivePage(tsWelcome);
    pcClientChange();
    // The boxes' Alt+keys are free ones of their combinations (the key itself, where it can be): the
    // guide's buttons and its log-on box have theirs, "&Finish" on the last page included.
    std::u16string taken{u'F'};
    for (const fw::Control* control : std::initializer_list<const fw::Control*>{
             &btnPrevious, &btnNext, &btnCancel, &chkStartAtWindowsStart, &btnSetupMoreHotkeys}) {
        taken += fw::MnemonicOf(control->Text());
    }
    for (int i = 0; i < kSuggestionCount; ++i) {
        const auto suggestion = static_cast<TSuggestion>(i);
        const TSuggestedHotkey& hotkey = kSuggestions[suggestion];
        const std::u16string caption = fw::WithMnemonicAvoiding(
            data_.HotkeyToString(static_cast<uint16_t>(hotkey.Key), static_cast<uint16_t>(kSuggestionShift)), taken);
        taken += fw::MnemonicOf(caption);
        SuggestionBox(suggestion).SetText(caption);
    }
}

void TfrmFirstUse::btnNextClick() {
    if (!OnLastPage()) {
        ShowNextPage();
        if (pcClient.ActivePage() == &tsHotkeys && !suggestionsTested_) MarkSuggestionsHeldByOthers();
        return;
    }
    SaveSuggestions();
    SetModalResult(fw::mrOk);
}

// The close box ends the guide without this question (Form::Close on a modal form).
void TfrmFirstUse::btnCancelClick() {
    if (fw::MessageDlg(Handle(), u"Close the setup guide?", fw::MessageType::Confirmation,
                       fw::MessageButtons::OkCancel) == fw::mrOk) {
        SetModalResult(fw::mrCancel);
    }
}

void TfrmFirstUse::btnSetupMoreHotkeysClick() {
    SaveSuggestions();
    // The settings window asks to be freed when it closes; this one is the guide's and is freed here
    // (also when a step fails), and the request then leaves it alone.
    const fw::ScopeExit freeWindow([this] { moreHotkeys_.reset(); });
    moreHotkeys_ = std::make_unique<TSettingsForm>(app_, data_, Handle());
    moreHotkeys_->ShowModal();
    LoadSuggestions();
}

// Once, when the page first shows: a suggestion another program holds says so and starts unticked,
// so that the hotkeys a new user takes all work; the user may tick it all the same.
void TfrmFirstUse::MarkSuggestionsHeldByOthers() {
    suggestionsTested_ = true;
    const TSuggestionTicks held = SuggestionsHeldByOthers(data_.HotKeyList());
    if (std::find(held.begin(), held.end(), true) == held.end()) return;
    // The longer captions need a wider column of boxes; the descriptions move right beside them.
    fw::Label* const descriptions[kSuggestionCount] = {&Label6, &Label7, &Label8, &Label9};
    for (int i = 0; i < kSuggestionCount; ++i) {
        fw::CheckBox& box = SuggestionBox(static_cast<TSuggestion>(i));
        box.SetWidth(260);
        fw::Bounds description = descriptions[i]->DesignBounds();
        description.left = 300;
        description.width = 260;
        descriptions[i]->SetBounds(description);
        if (!held[static_cast<size_t>(i)]) continue;
        const TSuggestedHotkey& suggestion = kSuggestions[static_cast<size_t>(i)];
        box.SetText(box.Text() +
                    std::u16string(RefusedMark(suggestion.Key, kSuggestionShift, kUsedByAnotherProgramMark)));
        box.SetChecked(false);
    }
}

void TfrmFirstUse::LoadSuggestions() {
    THotkeyList hotkeys(data_.HotkeyServices());
    data_.LoadHotkeyFile(hotkeys, /*OnlyActive=*/false);
    const TSuggestionTicks ticks = SuggestionTicks(hotkeys);
    for (int i = 0; i < kSuggestionCount; ++i) {
        SuggestionBox(static_cast<TSuggestion>(i)).SetChecked(ticks[static_cast<size_t>(i)]);
    }
    chkStartAtWindowsStart.SetChecked(ReadStartAtLogOn());
}

void TfrmFirstUse::SaveSuggestions() {
    THotkeyList hotkeys(data_.HotkeyServices());
    data_.LoadHotkeyFile(hotkeys, /*OnlyActive=*/false);
    TSuggestionTicks ticked{};
    for (int i = 0; i < kSuggestionCount; ++i) {
        ticked[static_cast<size_t>(i)] = SuggestionBox(static_cast<TSuggestion>(i)).Checked();
    }
    MergeSuggestions(hotkeys, ticked);
    hotkeys.SaveToFile(data_.DataFile(dftHotkeys));
    wroteHotkeyFile_ = true;
    fw::RegistryIni(data_.DataFile(dftRegKey)).WriteBool(kFirstUseValue, false);
    WriteStartAtLogOn(chkStartAtWindowsStart.Checked());
}

TFirstUseGuideEnd ShowFirstUseGuide(fw::Application& app, TData& data) {
    if (frmFirstUse != nullptr) return {};
    const auto guide = std::make_unique<TfrmFirstUse>(app, /*owner=*/nullptr, data);
    frmFirstUse = guide.get();
    const fw::ScopeExit clearReference([] { frmFirstUse = nullptr; });
    const int modalResult = guide->ShowModal();
    return {modalResult, guide->WroteHotkeyFile()};
}

}  // namespace corvalend
