// The update request: one HTTP GET on a thread of its own, given up when the time limit passes.
#include "core/Updater.h"

#include <windows.h>

#include <winhttp.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/FileVersion.h"
#include "framework/SystemLibrary.h"
#include "framework/UniqueHandle.h"
#include "framework/Win32CodePage.h"
#include "framework/WinText.h"

namespace corvalend {

namespace {

using Clock = std::chrono::steady_clock;

// The HTTP functions, with their library loaded by the request that first needs them: a program
// that never checks for updates never loads it.
struct WinHttp {
    fw::SystemLibrary library{L"winhttp.dll"};
    decltype(&WinHttpCrackUrl) CrackUrl = library.Get<decltype(WinHttpCrackUrl)>("WinHttpCrackUrl");
    decltype(&WinHttpOpen) Open = library.Get<decltype(WinHttpOpen)>("WinHttpOpen");
    decltype(&WinHttpCloseHandle) CloseHandle = library.Get<decltype(WinHttpCloseHandle)>("WinHttpCloseHandle");
    decltype(&WinHttpSetTimeouts) SetTimeouts = library.Get<decltype(WinHttpSetTimeouts)>("WinHttpSetTimeouts");
    decltype(&WinHttpSetOption) SetOption = library.Get<decltype(WinHttpSetOption)>("WinHttpSetOption");
    decltype(&WinHttpConnect) Connect = library.Get<decltype(WinHttpConnect)>("WinHttpConnect");
    decltype(&WinHttpOpenRequest) OpenRequest = library.Get<decltype(WinHttpOpenRequest)>("WinHttpOpenRequest");
    decltype(&WinHttpSendRequest) SendRequest = library.Get<decltype(WinHttpSendRequest)>("WinHttpSendRequest");
    decltype(&WinHttpReceiveResponse) ReceiveResponse =
        library.Get<decltype(WinHttpReceiveResponse)>("WinHttpReceiveResponse");
    decltype(&WinHttpQueryHeaders) QueryHeaders = library.Get<decltype(WinHttpQueryHeaders)>("WinHttpQueryHeaders");
    decltype(&WinHttpQueryDataAvailable) QueryDataAvailable =
        library.Get<decltype(WinHttpQueryDataAvailable)>("WinHttpQueryDataAvailable");
    decltype(&WinHttpReadData) ReadData = library.Get<decltype(WinHttpReadData)>("WinHttpReadData");
};

struct CloseInternetHandle {
    decltype(&WinHttpCloseHandle) close;
    void operator()(HINTERNET handle) const { close(handle); }
};
using UniqueInternet = std::unique_ptr<void, CloseInternetHandle>;

std::u16string UpdateServerHost() {
    wchar_t value[256] = {};
    const DWORD length = GetEnvironmentVariableW(kUpdateServerVariable, value, 256);
    return length > 0 && length < 256 ? fw::FromWide(value, length) : std::u16string(kUpdateServerHost);
}

// Milliseconds left until the deadline; 0 once it has passed.
DWORD MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<DWORD>(left) : 0;
}

// Sets one of the request's time-outs to end at the deadline; false when it has passed.
bool EndAt(const WinHttp& http, HINTERNET request, DWORD timeoutOption, Clock::time_point deadline) {
    DWORD left = MillisecondsLeft(deadline);
    return left > 0 && http.SetOption(request, timeoutOption, &left, sizeof(left));
}

// The answer to a GET of `address` when the server answers with a success status and at most
// kLargestUpdateAnswer bytes before the deadline; nothing otherwise. A longer answer is not read on.
// Raises the library's error when it cannot be loaded.
std::optional<std::string> Download(const std::u16string& address, Clock::time_point deadline) {
    const WinHttp http;
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!http.CrackUrl(fw::AsWide(address), /*length=*/0, /*flags=*/0, &parts)) return std::nullopt;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    const std::wstring pathAndQuery(parts.lpszUrlPath, parts.dwUrlPathLength + parts.dwExtraInfoLength);

    const CloseInternetHandle close{http.CloseHandle};
    UniqueInternet session(http.Open(L"Corvalend", WINHTTP_ACCESS_TYPE_AUTOMATIC_PROXY, WINHTTP_NO_PROXY_NAME,
                                     WINHTTP_NO_PROXY_BYPASS, /*flags=*/0),
                           close);
    if (!session) {  // systems before Windows 8.1 know only the configured proxy
        session.reset(http.Open(L"Corvalend", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                WINHTTP_NO_PROXY_BYPASS, /*flags=*/0));
    }
    const int left = static_cast<int>(MillisecondsLeft(deadline));
    if (!session || left == 0 || !http.SetTimeouts(session.get(), left, left, left, left)) return std::nullopt;
    const UniqueInternet connection(http.Connect(session.get(), host.c_str(), parts.nPort, /*reserved=*/0), close);
    if (!connection) return std::nullopt;
    const UniqueInternet request(
        http.OpenRequest(connection.get(), L"GET", pathAndQuery.c_str(),
                         /*version=*/nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, /*flags=*/0),
        close);
    if (!request ||
        !http.SendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !EndAt(http, request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, deadline) ||
        !http.ReceiveResponse(request.get(), /*reserved=*/nullptr)) {
        return std::nullopt;
    }

    DWORD status = 0, size = sizeof(status);
    if (!http.QueryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                           WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX) ||
        status < 200 || status > 299) {
        return std::nullopt;
    }
    DWORD announced = 0;
    size = sizeof(announced);
    if (http.QueryHeaders(request.get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                          WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size, WINHTTP_NO_HEADER_INDEX) &&
        announced > kLargestUpdateAnswer) {
        return std::nullopt;
    }

    // Room for one byte more than the largest answer: filling it tells that the answer is too long.
    std::string answer(kLargestUpdateAnswer + 1, '\0');
    size_t filled = 0;
    for (;;) {
        DWORD available = 0;
        if (!EndAt(http, request.get(), WINHTTP_OPTION_RECEIVE_TIMEOUT, deadline) ||
            !http.QueryDataAvailable(request.get(), &available)) {
            return std::nullopt;
        }
        if (available == 0) break;  // the whole answer is in
        DWORD read = 0;
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(available, answer.size() - filled));
        if (!http.ReadData(request.get(), answer.data() + filled, wanted, &read)) return std::nullopt;
        filled += read;
        if (filled > kLargestUpdateAnswer) return std::nullopt;
    }
    answer.resize(filled);
    return answer;
}

// What the request's thread hands to the check. The thread keeps a share of it: it may end after
// a check that stopped waiting for it (its time-outs end at the check's deadline).
struct Outcome {
    fw::UniqueKernelHandle done{CreateEventW(/*attributes=*/nullptr, /*manualReset=*/TRUE, FALSE, nullptr)};
    std::mutex mutex;
    bool finished = false;
    std::optional<std::string> answer;
};

}  // namespace

bool TUpdater::Check(std::chrono::milliseconds timeLimit, const UpdateWait& wait) {
    const fw::Error couldNotCheck(u"Error\r\rCould not check for updates.");
    const uint32_t version = fw::GetFileVersion(fw::Application::ExeName());
    const std::u16string address = UpdateQueryAddress(UpdateServerHost(), version);
    const Clock::time_point deadline = Clock::now() + timeLimit;
    const auto outcome = std::make_shared<Outcome>();
    if (!outcome->done) throw couldNotCheck;
    std::thread([outcome, address, deadline] {
        std::optional<std::string> answer;
        try {
            answer = Download(address, deadline);
        } catch (...) {  // the library missing, or out of memory: no answer
        }
        {
            const std::lock_guard lock(outcome->mutex);
            outcome->answer = std::move(answer);
            outcome->finished = true;
        }
        SetEvent(outcome->done.get());
    }).detach();

    if (wait) {
        wait(outcome->done.get(), timeLimit);
    } else {
        WaitForSingleObject(outcome->done.get(), MillisecondsLeft(deadline));
    }
    const std::lock_guard lock(outcome->mutex);
    if (!outcome->finished || !outcome->answer) throw couldNotCheck;
    return AnswerOffersUpdate(*outcome->answer, fw::SystemAnsiCodePage());
}

}  // namespace corvalend
