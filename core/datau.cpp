// The data module at work: start and end, the hotkey file, the hotkeys' presses and the actions.
#include "core/datau.h"

#include <windows.h>

#include <oleauto.h>
#include <shlobj.h>
#include <wtsapi32.h>

#include "core/ActionRules.h"
#include "core/HotkeyFileRules.h"
#include "core/PauseRules.h"
#include "core/SendKeys.h"
#include "core/SystemKeyboard.h"
#include "framework/Application.h"
#include "framework/Clipboard.h"
#include "framework/ComPtr.h"
#include "framework/Error.h"
#include "framework/FileVersion.h"
#include "framework/Registry.h"
#include "framework/ScopeExit.h"
#include "framework/ShellOpen.h"
#include "framework/SystemError.h"
#include "framework/SystemLibrary.h"
#include "framework/Version.h"
#include "framework/WinText.h"
#include "framework/WindowMessages.h"

namespace corvalend {

TData* Data = nullptr;

namespace {

class LayoutKeyNames final : public KeyNames {
public:
    std::u16string LayoutKeyName(uint16_t virtualKey) const override {
        const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
        wchar_t name[256] = {};
        if (scan == 0 || GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 256) <= 0) return u"";
        return fw::FromWide(name);
    }
};

[[noreturn]] void ThrowComError(HRESULT result) {
    throw fw::Error(fw::SystemErrorText(static_cast<DWORD>(result)));
}

// The method itself failed: its own description, or else the text of its error code.
[[noreturn]] void ThrowAutomationException(EXCEPINFO& exception, decltype(&SysFreeString) freeString) {
    if (exception.pfnDeferredFillIn != nullptr) exception.pfnDeferredFillIn(&exception);
    std::u16string text = exception.bstrDescription != nullptr ? fw::FromWide(exception.bstrDescription) : u"";
    const HRESULT code = exception.scode != 0 ? exception.scode : static_cast<HRESULT>(exception.wCode);
    freeString(exception.bstrSource);
    freeString(exception.bstrDescription);
    freeString(exception.bstrHelpFile);
    if (text.empty()) ThrowComError(code);
    throw fw::Error(text);
}

}  // namespace

std::u16string GetSpecialFolder(int csidl) {
    wchar_t path[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathW(/*owner=*/nullptr, path, csidl, /*create=*/FALSE)) return u"";
    return fw::FromWide(path);
}

std::u16string HotkeyFileIn(const std::u16string& appDataFolder) {
    std::u16string path = appDataFolder;
    if (path.empty() || path.back() != u'\\') path += u'\\';
    return path + u"Tamberlo\\Corvalend\\Data\\hotkeys.ini";
}

TData::TData(fw::Application& app,
             FirstRunWindows& firstRun,
             ScreenCaptures& captures,
             Notices* notices,
             std::u16string hotkeyFile)
    : app_(app),
      firstRun_(firstRun),
      captures_(captures),
      refusedListeners_(fw::HandleCurrentException),
      pauseListeners_(fw::HandleCurrentException),
      registrar_([this](uint16_t, uint32_t modifiers, uint32_t key) {
          HotkeyPressed(static_cast<int32_t>(key), static_cast<int32_t>(modifiers));
      }),
      system_{registrar_, files_, ansi_},
      retryTimer_(*this),
      countdowns_(countdownTimer_, notices),
      hotkeyFile_(hotkeyFile.empty() ? HotkeyFileIn(GetSpecialFolder(CSIDL_APPDATA)) : std::move(hotkeyFile)) {
    foregroundGuard_.SetNotices(notices);
    mainWindowHook_ = app_.HookMainWindow([this](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        MainWindowMessage(message, wParam);
        return false;  // the others see it too
    });
    RegisterSessionNotification(true);
    // The program-wide reference before start-up: the first-run windows wait in loops of their
    // own, and meanwhile the tray serves the user through it.
    Data = this;
    try {
        DataModuleCreate();
    } catch (...) {
        // The program goes on to its message loop with what was loaded so far.
        app_.HandleException();
    }
}

TData::~TData() {
    RegisterSessionNotification(false);
    retryTimer_.Stop();
    DataModuleDestroy();
    if (Data == this) Data = nullptr;
}

void TData::DataModuleCreate() {
    HotKeyList_ = std::make_unique<THotkeyList>(system_);
    fw::ForceDirectories(fw::ExtractFileDir(DataFile(dftHotkeys)));  // a failure shows later, when saving
    RestoreDamagedHotkeyFile();
    InitApp();
    MissingFileCheck();
}

// Before anything is loaded: a hotkey file that holds nothing readable any more, with a good backup
// beside it, may be put back. A failure is shown, and the start goes on with the file as it is.
void TData::RestoreDamagedHotkeyFile() {
    try {
        OfferBackupOfDamagedFile(DataFile(dftHotkeys), files_, ansi_, firstRun_.BackupRestoreQuestion());
    } catch (...) {
        app_.HandleException();
    }
}

void TData::DataModuleDestroy() {
    HotKeyList_.reset();  // every hotkey withdrawn, every atom given back
}

void TData::InitApp() {
    LoadLiveHotkeys();
    FirstUseCheck();
}

void TData::LoadLiveHotkeys() {
    ClearHotKeyList();
    LoadHotkeyFile(*HotKeyList_, /*OnlyActive=*/true);
    RegisterAsPauseAllows(*HotKeyList_, paused_);
    retry_.UpdateTimer(*HotKeyList_);
    RefusedChanged();
}

void TData::SetPaused(bool paused) {
    if (paused == paused_ || !HotKeyList_) return;
    paused_ = paused;
    RegisterAsPauseAllows(*HotKeyList_, paused_);
    retry_.UpdateTimer(*HotKeyList_);
    RefusedChanged();
    pauseListeners_.Run();
}

// ---- Refused hotkeys ----

void TData::RetryRefusedHotkeys() {
    if (HotKeyList_ && retry_.Retry(*HotKeyList_)) RefusedChanged();
}

bool TData::HotkeyRefused(int32_t Key, int32_t Shift) const {
    const TGlobalHotKey* live = HotKeyList_ ? HotKeyList_->FindHotKey(Key, Shift) : nullptr;
    return live != nullptr && live->Refused();
}

void TData::RefusedChanged() {
    refusedListeners_.Run();
}

void TData::MainWindowMessage(uint32_t message, uint64_t wParam) {
    switch (message) {
        case WM_POWERBROADCAST:
            if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) RetryRefusedHotkeys();
            break;
        case WM_WTSSESSION_CHANGE:
            if (wParam == WTS_SESSION_UNLOCK || wParam == WTS_CONSOLE_CONNECT || wParam == WTS_REMOTE_CONNECT ||
                wParam == WTS_SESSION_LOGON) {
                RetryRefusedHotkeys();
            }
            break;
        default:
            // The tray icon adds itself again on the same message.
            if (fw::kTaskbarCreatedMessage != 0 && message == fw::kTaskbarCreatedMessage) RetryRefusedHotkeys();
            break;
    }
}

// The session's changes reach the application window only when asked for; the library is loaded
// by this call rather than with the program.
void TData::RegisterSessionNotification(bool on) noexcept {
    if (on == sessionNotification_) return;
    try {
        const fw::SystemLibrary wts(L"wtsapi32.dll");
        if (on) {
            sessionNotification_ = wts.Get<decltype(WTSRegisterSessionNotification)>("WTSRegisterSessionNotification")(
                                       app_.Handle(), NOTIFY_FOR_THIS_SESSION) != FALSE;
        } else {
            wts.Get<decltype(WTSUnRegisterSessionNotification)>("WTSUnRegisterSessionNotification")(app_.Handle());
            sessionNotification_ = false;
        }
    } catch (...) {
        // Without the library the session's changes go unheard: the timer still retries.
    }
}

void TData::LoadHotkeyFile(THotkeyList& list, bool OnlyActive) const {
    const std::u16string file = DataFile(dftHotkeys);
    if (files_.Exists(file)) list.LoadFromFile(file, OnlyActive);
}

void TData::ClearHotKeyList() {
    if (HotKeyList_) HotKeyList_->Clear();
}

std::u16string TData::DataFile(TDataFileType DataFileType) const {
    return DataFileType == dftHotkeys ? hotkeyFile_ : kProgramKey;
}

bool ReadStartAtLogOn() {
    return !fw::RegistryIni(kRunKey).ReadString(kRunValueName, u"").empty();
}

void WriteStartAtLogOn(bool start) {
    fw::RegistryIni(kRunKey).WriteString(kRunValueName, start ? u"\"" + fw::Application::ExeName() + u"\"" : u"");
}

bool ForgetStartAtLogOn() {
    fw::RegistryIni run(kRunKey);
    std::u16string command = run.ReadString(kRunValueName, u"");
    if (command.size() >= 2 && command.front() == u'"' && command.back() == u'"')
        command = command.substr(1, command.size() - 2);
    const std::u16string exeName = fw::Application::ExeName();
    // File names are compared as the file system does: without regard to case.
    const bool ours = !command.empty() &&
                      CompareStringOrdinal(fw::AsWide(command), static_cast<int>(command.size()), fw::AsWide(exeName),
                                           static_cast<int>(exeName.size()), /*ignoreCase=*/TRUE) == CSTR_EQUAL;
    return ours && run.DeleteValue(kRunValueName);
}

void TData::FirstUseCheck() {
    if (!fw::RegistryIni(DataFile(dftRegKey)).ReadBool(kFirstUseValue, true)) return;
    // The file was loaded before the guide wrote it: what the guide wrote goes live now, not at the
    // next start. Not through InitApp, which would show the guide again while it is unfinished.
    if (firstRun_.ShowFirstUseGuide(*this)) LoadLiveHotkeys();
}

void TData::MissingFileCheck() {
    if (!files_.Exists(DataFile(dftHotkeys))) firstRun_.ShowSettingsForMissingFile(*this);
}

// ---- Dispatch ----

void TData::HotkeyPressed(int32_t Key, int32_t Shift) {
    // One action at a time: a hotkey that arrives in a loop the running action waits in (its own
    // message box, say) is dropped.
    if (!HotKeyList_ || actionRunning_) return;
    const TGlobalHotKey* item = HotKeyList_->FindHotKey(Key, Shift);
    // A press still queued when the pause began is dropped as well.
    if (item == nullptr || (paused_ && !KeptWhilePaused(item->HotKeyData.Func))) return;
    // Also when the action fails: the error box comes after it, and hotkeys work there.
    actionRunning_ = true;
    const fw::ScopeExit done([this] { actionRunning_ = false; });
    // A copy: the action may reload the live list (through a window it opens).
    RunAction(THotKeyData(item->HotKeyData));
}

void TData::RunAction(const THotKeyData& hotkey) {
    if (!foregroundGuard_.MayRun(hotkey.Func)) return;
    switch (hotkey.Func) {
        case hkfMaximize:
            DoMaximize();
            break;
        case hkfMinimize:
            DoMinimize();
            break;
        case hkfClose:
            DoClose();
            break;
        case hkfExitWindows:
            DoExitWindows();
            break;
        case hkfOpenFile:
            DoOpenFile(hotkey.Params, hotkey.Params2, hotkey.Params3, u"open");
            break;
        case hkfOpenFileAdmin:
            DoOpenFile(hotkey.Params, hotkey.Params2, hotkey.Params3, u"runas");
            break;
        case hkfSendKeys:
            DoSendKeys(hotkey.Params);
            break;
        case hkfOpenWebsite:
            DoOpenWebsite(hotkey.Params);
            break;
        case hkfPlaceInClipboard:
            DoPlaceInClipboard(hotkey.Params);
            break;
        case hkfPlaceFileContentInClipboard:
            DoPlaceFileContentInClipboard(hotkey.Params);
            break;
        case hkfCaptureWindow:
        case hkfCaptureScreen:
            StartCapture(hotkey);
            break;
        case hkfPauseHotkeys:
            SetPaused(!paused_);
            break;
        case hkfNoAction:
            break;
    }
}

// ---- Window and system actions ----

void TData::DoMaximize() {
    const HWND window = GetForegroundWindow();
    if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_MAXIMIZEBOX)) return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (!GetWindowPlacement(window, &placement)) fw::ThrowLastError();
    ShowWindow(window, placement.showCmd == SW_SHOWMAXIMIZED ? SW_RESTORE : SW_SHOWMAXIMIZED);
}

void TData::DoMinimize() {
    const HWND window = GetForegroundWindow();
    if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_MINIMIZEBOX)) return;
    if (!PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0)) fw::ThrowLastError();
}

void TData::DoClose() {
    // Without a window in front there is nothing to close (posted to no window, the message would
    // come to this program's own queue).
    const HWND window = GetForegroundWindow();
    if (window != nullptr && !PostMessageW(window, WM_CLOSE, 0, 0)) fw::ThrowLastError();
}

void TData::DoExitWindows() {
    // Late-bound, as a script would call it: the shell shows its own shut-down dialog.
    app_.UseOle();
    const fw::SystemLibrary ole(L"ole32.dll");
    const fw::SystemLibrary automation(L"oleaut32.dll");
    CLSID classId{};
    HRESULT result = ole.Get<decltype(CLSIDFromProgID)>("CLSIDFromProgID")(L"Shell.Application", &classId);
    if (FAILED(result)) ThrowComError(result);
    fw::ComPtr<IDispatch> shell;
    result = ole.Get<decltype(CoCreateInstance)>("CoCreateInstance")(
        classId, /*outer=*/nullptr, CLSCTX_ALL, IID_IDispatch, reinterpret_cast<void**>(shell.put()));
    if (FAILED(result)) ThrowComError(result);
    wchar_t method[] = L"ShutdownWindows";
    LPOLESTR names[] = {method};
    DISPID id = 0;
    result = shell->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result)) ThrowComError(result);
    DISPPARAMS noArguments{};
    EXCEPINFO exception{};
    result = shell->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &noArguments, /*result=*/nullptr,
                           &exception, /*argumentError=*/nullptr);
    if (result == DISP_E_EXCEPTION) {
        ThrowAutomationException(exception, automation.Get<decltype(SysFreeString)>("SysFreeString"));
    }
    if (FAILED(result)) ThrowComError(result);
}

// ---- Actions with parameters ----

void TData::DoSendKeys(const std::u16string& Text) {
    const std::u16string keys = DecodePlaceholders(Text);
    if (keys.empty()) return;
    SystemKeyboard keyboard;
    // The user still holds the hotkey: without this its modifiers would combine with what is typed.
    for (int vk = 1; vk <= 254; ++vk) {
        if (!(GetKeyState(vk) & 0x80)) continue;
        const auto key = static_cast<uint8_t>(vk);
        keyboard.SendKeyEvent(key, static_cast<uint8_t>(keyboard.ScanCodeOf(key)), KEYEVENTF_KEYUP);
    }
    SendKeys(keys, /*wait=*/false, keyboard);
}

void TData::DoOpenWebsite(const std::u16string& Address) {
    const std::u16string address = WebAddress(Address);
    fw::ShellOpen(address, {.verb = nullptr});
}

void TData::DoOpenFile(const std::u16string& FileName,
                       const std::u16string& Parameters,
                       const std::u16string& WindowState,
                       const std::u16string& Verb) {
    const std::u16string verb = Verb.empty() ? u"open" : Verb;
    fw::ShellOpen(
        FileName,
        {.verb = verb.c_str(), .parameters = Parameters.c_str(), .show = static_cast<int>(ShowStateFor(WindowState))});
}

void TData::DoPlaceInClipboard(const std::u16string& Text) {
    fw::Clipboard(app_.Handle()).SetText(Text);
}

void TData::DoPlaceFileContentInClipboard(const std::u16string& FileName) {
    DoPlaceInClipboard(ClipboardTextFromFile(files_.ReadExisting(FileName), ansi_));
}

// ---- Capture ----

void TData::DoCapture(bool ActiveWindowOnly) {
    // Taken before the window exists, so the window is never part of its own picture.
    fw::Picture picture = captures_.Take(ActiveWindowOnly);
    captures_.Show(std::move(picture));
}

void TData::StartCapture(const THotKeyData& hotkey) {
    if (countdowns_.Press(hotkey.Key, hotkey.Shift, hotkey.Func, StoredDelay(hotkey.Params), GetTickCount64()) ==
        CaptureCountdowns::PressResult::CaptureNow) {
        DoCapture(hotkey.Func == hkfCaptureWindow);
    }
}

void TData::CaptureCountdownTick() {
    // The window in front now is the one captured, and the one the action's rules are asked about.
    countdowns_.Tick(GetTickCount64(), [this](THotKeyFunc func) {
        if (foregroundGuard_.MayRun(func)) DoCapture(func == hkfCaptureWindow);
    });
}

// ---- Shared helpers ----

std::u16string TData::HotkeyToString(uint16_t Key, uint16_t Shift) const {
    return corvalend::HotkeyToString(Key, Shift, LayoutKeyNames());
}

std::u16string TData::FormatVersion(uint32_t Version) const {
    return fw::FormatVersion(Version);
}

uint32_t TData::GetFileVersion(const std::u16string& Filename) {
    return fw::GetFileVersion(Filename);
}

}  // namespace corvalend
