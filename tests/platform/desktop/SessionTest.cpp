// The session's one program: a later launch's request line, and the channel it travels on.

#include "platform/desktop/SessionChannel.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <future>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using platform::SessionRequest;

TEST(SessionRequest, OnlyOneKnownWordOnOneWholeLine) {
    const struct {
        QByteArray line;
        std::optional<SessionRequest> request;
    } cases[]{
        {"show\n", SessionRequest::Show},
        {"start\n", SessionRequest::Start},
        {"stop\n", SessionRequest::Stop},
        {"quit\n", SessionRequest::Quit},
        {"quit", std::nullopt},          // a line cut short taken whole
        {"QUIT\n", std::nullopt},        // case folded
        {"quit\r\n", std::nullopt},      // a carriage return dropped
        {" quit\n", std::nullopt},       // blanks trimmed
        {"quit\nquit\n", std::nullopt},  // a second line read as the first
        {"quitting\n", std::nullopt},    // a prefix taken for the word
        {"\n", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        EXPECT_EQ(platform::ParseRequest(c.line), c.request);
        if (c.request) {
            EXPECT_EQ(platform::RequestLine(*c.request), c.line);  // the sender's word is the receiver's
        }
    }
}

// Runs `send` on its own thread while this one serves the channel's events.
template<typename Send>
auto Served(Send send) {
    auto answer = std::async(std::launch::async, send);
    while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    return answer.get();
}

TEST(SessionChannel, TakesOverAStaleSocketAndAnswersOnlyWellFormedRequests) {
    QTemporaryDir run;
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run.path()));
    const QString path = platform::SessionSocketPath();
    ASSERT_TRUE(path.startsWith(run.path())) << path.toStdString();
    // A crashed program's socket: bound, nobody listening.
    const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(stale);

    platform::SessionChannel first(path);
    ASSERT_TRUE(first.Lock());
    EXPECT_EQ(first.Send(SessionRequest::Show), platform::SessionChannel::Delivery::NoneRunning);
    std::vector<SessionRequest> done;
    ASSERT_TRUE(first.Listen([&done](SessionRequest r) { done.push_back(r); return true; }));

    const struct {
        const char* name;
        QByteArray bytes, answer;
    } cases[]{
        {"a malformed request done", "reboot\n", "error\n"},
        {"an oversized request read without end", QByteArray(4096, 'x'), "error\n"},
        {"a slow request holding the program", "sto", ""},
        {"a good request after bad ones refused", "stop\n", "ok\n"},
    };
    for (const auto& c : cases) {
        const QByteArray answer = Served([&] {  // what the program answers once it has closed the connection
            QLocalSocket socket;
            socket.connectToServer(path);
            socket.write(c.bytes);
            socket.waitForBytesWritten(1000);
            return socket.waitForDisconnected(3000) ? socket.readAll() : QByteArray("kept open");
        });
        EXPECT_EQ(answer, c.answer) << c.name;
    }
    platform::SessionChannel second(path);
    ASSERT_TRUE(second.Lock());
    EXPECT_EQ(Served([&] { return second.Send(SessionRequest::Quit); }), platform::SessionChannel::Delivery::Done);
    EXPECT_EQ(done, (std::vector{SessionRequest::Stop, SessionRequest::Quit}));
}

TEST(SessionChannel, NeverUsesAFolderOthersMayWrite) {
    QTemporaryDir run;
    ASSERT_EQ(chmod(QFile::encodeName(run.path()).constData(), 0770), 0);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(run.path()));
    const QString path = platform::SessionSocketPath();
    struct stat folder {};
    ASSERT_EQ(stat(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700U) << path.toStdString();  // its own private one instead
    EXPECT_EQ(folder.st_uid, getuid());
}

}  // namespace
