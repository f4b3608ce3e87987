// The update check against a small HTTP server inside the test process: the request it sends, how
// it reads the answers, the answer file, its errors, and the messages of the check from a window.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <mutex>
#include <optional>
#include <variant>

#include "core/UpdateRules.h"
#include "core/Updater.h"
#include "core/datau.h"
#include "framework/Application.h"
#include "framework/Error.h"
#include "framework/UniqueHandle.h"
#include "framework/WinText.h"
#include "framework/Window.h"
#include "tests/win/WinTest.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

constexpr char16_t kCouldNotCheck[] = u"Error\r\rCould not check for updates.";

// An HTTP server on 127.0.0.1 and a port the system chooses, serving one answer to every request on
// a thread of its own and remembering the request lines. A silent server accepts and never answers.
class LocalHttpServer {
public:
    struct Answer {
        std::string status = "200 OK";
        std::string body;
        bool silent = false;
    };

    LocalHttpServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0 || listen(listener_, 8) != 0) {
            ADD_FAILURE() << "the test server cannot listen: " << WSAGetLastError();
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }

    ~LocalHttpServer() {
        stop_ = true;
        thread_.join();
        closesocket(listener_);
        for (const SOCKET held : held_) closesocket(held);
        WSACleanup();
    }

    uint16_t Port() const { return port_; }
    std::u16string Host() const { return u"127.0.0.1:" + fw::IntToStr(port_); }

    void SetAnswer(Answer answer) {
        std::lock_guard lock(mutex_);
        answer_ = std::move(answer);
    }
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    // Waits up to 50 ms for the socket to become readable.
    static bool Readable(SOCKET socket) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket, &set);
        timeval wait{0, 50000};
        return select(0, &set, nullptr, nullptr, &wait) == 1;
    }

    void Serve() {
        while (!stop_) {
            if (!Readable(listener_)) continue;
            const SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET) continue;
            std::string head;
            while (!stop_ && head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
                if (!Readable(client)) continue;
                char buffer[4096];
                const int received = recv(client, buffer, sizeof(buffer), 0);
                if (received <= 0) break;
                head.append(buffer, received);
            }
            Answer answer;
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(head.substr(0, head.find("\r\n")));
                answer = answer_;
            }
            if (answer.silent) {
                held_.push_back(client);  // open until the server ends
                continue;
            }
            const std::string response = "HTTP/1.1 " + answer.status +
                                         "\r\nContent-Type: text/plain\r\n"
                                         "Connection: close\r\nContent-Length: " +
                                         std::to_string(answer.body.size()) + "\r\n\r\n" + answer.body;
            for (size_t sent = 0; sent < response.size();) {
                const int chunk = send(client, response.data() + sent,
                                       static_cast<int>(std::min<size_t>(response.size() - sent, 65536)), 0);
                if (chunk <= 0) break;
                sent += chunk;
            }
            shutdown(client, SD_SEND);
            closesocket(client);
        }
    }

    SOCKET listener_ = INVALID_SOCKET;
    uint16_t port_ = 0;
    std::thread thread_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    Answer answer_;
    std::vector<std::string> requests_;
    std::vector<SOCKET> held_;  // the server thread's own
};

// A port on which nobody listens: taken from the system, then given back.
uint16_t ClosedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof(address);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    WSACleanup();
    return ntohs(address.sin_port);
}

std::u16string TempFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return fw::FromW(folder);
}

std::u16string SelfPath() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return fw::FromW(self);
}

std::optional<std::string> FileBytes(const std::u16string& path) {
    fw::UniqueFile file(CreateFileW(fw::W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return std::nullopt;
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    return bytes.substr(0, read);
}

void WriteFileBytes(const std::u16string& path, const std::string& bytes) {
    fw::UniqueFile file(CreateFileW(fw::W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

void UseUpdateServer(const std::u16string& host) {
    SetEnvironmentVariableW(kUpdateServerVariable, fw::W(host));
}

// Runs a check and returns its answer, or the text of its error.
std::variant<bool, std::u16string> CheckOnce() {
    try {
        return TUpdater().Check();
    } catch (const fw::Error& e) {
        return e.Text();
    }
}

struct UpdaterTest : ::testing::Test {
    LocalHttpServer server;
    const std::u16string answerFile = UpdateAnswerFile(TempFolder());

    UpdaterTest() {
        UseUpdateServer(server.Host());
        DeleteFileW(fw::W(answerFile));
    }
    ~UpdaterTest() override { SetEnvironmentVariableW(kUpdateServerVariable, nullptr); }

    // Serves the answer to one check; also checks that the check reached the server and left no file.
    std::variant<bool, std::u16string> Ask(LocalHttpServer::Answer answer) {
        server.SetAnswer(std::move(answer));
        const size_t before = server.Requests().size();
        auto result = CheckOnce();
        EXPECT_EQ(server.Requests().size(), before + 1) << "every check asks the server";
        EXPECT_FALSE(FileBytes(answerFile)) << "the answer file is deleted after the download";
        return result;
    }
};

// Calls the check from its window procedure, as the settings window's button and the overview
// popup's link do; an error reaches the application's default error handler.
class CheckingWindow final : public fw::Window {
public:
    static constexpr UINT kCheck = WM_APP + 1;
    CheckingWindow(fw::Application& app, PageOpener opener) : Window(app), opener_(std::move(opener)) {
        Create({L"Corvalend.UpdateTest"}, {.title = u"updates", .style = WS_POPUP});
    }

protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kCheck) {
            CheckForUpdatesFrom(Handle(), opener_);
            return 0;
        }
        return DefaultProc(message, wParam, lParam);
    }

private:
    PageOpener opener_;
};

struct OpenedPage {
    HWND window;
    std::u16string address;
};

}  // namespace

TEST_F(UpdaterTest, SendsTheProgramsVersion) {
    server.SetAnswer({.body = "[UPDATE]"});
    CheckOnce();
    ASSERT_EQ(server.Requests().size(), 1u);
    // The test program has no version resource of its own; the number formatting of a real version
    // (1.20.1.0 gives 1200100) is checked with the program file and in the unit tests.
    const std::string version = std::to_string(TData::GetFileVersion(SelfPath()));
    EXPECT_EQ(server.Requests()[0], "GET /softwareupdate.php?obj=11&ver=" + version + " HTTP/1.1");
}

TEST_F(UpdaterTest, TheMarkerInTheAnswerDecides) {
    using Result = std::variant<bool, std::u16string>;
    EXPECT_EQ(Ask({.body = "Corvalend\r\n1.21.0.0\r\n[UPDATE]\r\n"}), Result(true));
    EXPECT_EQ(Ask({.body = "Corvalend\r\n1.21.0.0\r\n[update]\r\n"}), Result(false));
    EXPECT_EQ(Ask({.body = "OK"}), Result(false));
    EXPECT_EQ(Ask({.body = ""}), Result(false));
    EXPECT_EQ(Ask({.body = std::string("\x00\x9D\xFF[UPD\x00"
                                       "ATE]\x81\r",
                                       14)}),
              Result(false));
    EXPECT_EQ(Ask({.body = "\xFF\xFE[\0U\0P\0D\0A\0T\0E\0]\0"s}), Result(true));  // UTF-16 with its mark
    EXPECT_EQ(Ask({.body = "version \xE9 [UPDATE] now"}), Result(true));          // ANSI, inside a line

    std::string large;
    while (large.size() < (1u << 20)) large += "a line of padding text in the answer\r\n";
    EXPECT_EQ(Ask({.body = large}), Result(false));
    EXPECT_EQ(Ask({.body = large + "[UPDATE]"}), Result(true));

    // The system stores an error page like any answer (Windows itself may report a failed download).
    const Result missing = Ask({.status = "404 Not Found", .body = "<html>Not Found</html>"});
    EXPECT_TRUE(missing == Result(false) || missing == Result(kCouldNotCheck));
}

TEST_F(UpdaterTest, AFailedDownloadRaisesAndLeavesTheFolderAlone) {
    UseUpdateServer(u"127.0.0.1:" + fw::IntToStr(ClosedPort()));
    WriteFileBytes(answerFile, "an earlier answer");
    EXPECT_EQ(CheckOnce(), (std::variant<bool, std::u16string>(kCouldNotCheck)));
    EXPECT_EQ(FileBytes(answerFile), "an earlier answer");
    DeleteFileW(fw::W(answerFile));

    // From a window the error reaches the default error handler, which adds no second period.
    fw::Application app(GetModuleHandleW(nullptr));
    app.SetTitle(u"Corvalend");
    std::vector<OpenedPage> opened;
    CheckingWindow window(app, [&](HWND owner, const std::u16string& address) { opened.push_back({owner, address}); });
    wintest::MessageBoxWatcher box(u"Corvalend");
    SendMessageW(window.Handle(), CheckingWindow::kCheck, 0, 0);
    ASSERT_TRUE(box.Wait(10s));
    EXPECT_EQ(box.Text(), kCouldNotCheck);
    EXPECT_TRUE(box.HasStopIcon());
    EXPECT_EQ(box.Buttons(), std::vector<int>{IDOK});
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(FileBytes(answerFile));
}

TEST_F(UpdaterTest, TheCheckFromAWindowTellsTheUserAndOpensTheDownloadPage) {
    fw::Application app(GetModuleHandleW(nullptr));
    app.SetTitle(u"Corvalend");
    std::vector<OpenedPage> opened;
    CheckingWindow window(app, [&](HWND owner, const std::u16string& address) { opened.push_back({owner, address}); });

    server.SetAnswer({.body = "x\r\ny\r\n[UPDATE]\r\n"});
    {
        wintest::MessageBoxWatcher box(u"Information", IDNO);
        SendMessageW(window.Handle(), CheckingWindow::kCheck, 0, 0);
        ASSERT_TRUE(box.Seen());
        EXPECT_EQ(box.Text(),
                  u"A new version of Corvalend is available.\r\rWould you like to download the new version?");
        EXPECT_TRUE(box.HasInformationIcon());
        EXPECT_EQ(box.Buttons(), (std::vector<int>{IDYES, IDNO}));
        EXPECT_EQ(box.DefaultButton(), IDYES);
        EXPECT_TRUE(opened.empty()) << "No opens nothing";
    }
    {
        wintest::MessageBoxWatcher box(u"Information", IDYES);
        SendMessageW(window.Handle(), CheckingWindow::kCheck, 0, 0);
        ASSERT_TRUE(box.Seen());
        ASSERT_EQ(opened.size(), 1u) << "Yes opens the download page once";
        EXPECT_EQ(opened[0].window, window.Handle());
        EXPECT_EQ(opened[0].address, u"http://www.corvalend.example/download");
    }
    opened.clear();
    server.SetAnswer({.body = "no news"});
    {
        wintest::MessageBoxWatcher box(u"Information");
        SendMessageW(window.Handle(), CheckingWindow::kCheck, 0, 0);
        ASSERT_TRUE(box.Seen());
        EXPECT_EQ(box.Text(), u"There is no new version of Corvalend at this time.");
        EXPECT_TRUE(box.HasInformationIcon());
        EXPECT_EQ(box.Buttons(), std::vector<int>{IDOK});
    }
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(server.Requests().size(), 3u);
    EXPECT_FALSE(FileBytes(answerFile));
}

// A server that takes the connection and never answers: the check waits for the system's own
// time-out, then fails like any other download. Too slow for every test run; `make bench` runs it.
TEST_F(UpdaterTest, DISABLED_ASilentServerEndsInTheSystemsTimeOut) {
    server.SetAnswer({.body = "", .silent = true});
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CheckOnce(), (std::variant<bool, std::u16string>(kCouldNotCheck)));
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("A silent update server ends the check after %.1f s\n", seconds);
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_FALSE(FileBytes(answerFile));
}
