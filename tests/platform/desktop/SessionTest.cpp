// The session's one program: a later launch's request line, and the channel it travels on.

#include "platform/desktop/SessionBus.h"
#include "platform/desktop/SessionChannel.h"
#include "support/ScopedEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using platform::SessionRequest;
using Action = SessionRequest::Action;

TEST(SessionRequest, KnownWordsOnWholeLinesInTheirOrder) {
    const struct {
        QByteArray bytes;
        std::optional<SessionRequest> request;
        bool goesOn = false;  // more may come: the channel waits instead of answering
    } cases[]{
        {"show\n", SessionRequest{Action::Show, {}, false}},
        {"start\n", SessionRequest{Action::Start, {}, false}},
        {"stop\n", SessionRequest{Action::Stop, {}, false}},
        {"quit\n", SessionRequest{Action::Quit, {}, false}},
        {"quit", std::nullopt, true},    // a line cut short taken whole
        {"QUIT\n", std::nullopt},        // case folded
        {"quit\r\n", std::nullopt},      // a carriage return dropped
        {" quit\n", std::nullopt},       // blanks trimmed
        {"quit\nquit\n", std::nullopt},  // a second line read as the first
        {"quitting\n", std::nullopt},    // a prefix taken for the word
        {"\n", std::nullopt},
        {"map /home/u/my maps/b.ini\nemulation\nstart\n",
         SessionRequest{Action::Start, u"/home/u/my maps/b.ini"_qs, true}},
        {"map /" + QByteArray(platform::MapPathMaxBytes, 'm') + "\nshow\n", {}},  // a path over the bound
        {"map /a\nb.ini\nshow\n", std::nullopt},                // a line feed in the path splits the request
        {"map /a.ini\n", std::nullopt, true},                   // options wait for their action line
        {"profile " + QString(40, u'è').toUtf8() + "\nshow\n",  // two bytes a letter: one request, not two
         SessionRequest{Action::Show, {}, false, QString(40, u'è')}},
        {"profile Film\npad 16\nstart\n", SessionRequest{Action::Start, {}, false, u"Film"_qs, 16}},
        {"profile Film\npad 17\nstart\n", std::nullopt},  // a pad past the slots
        {"profile Film\npad 02\nstart\n", std::nullopt},  // a number written two ways
        {"pad 1\nstart\n", std::nullopt},                 // a pad without a profile to put on it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.left(60).toStdString());
        EXPECT_EQ(platform::ParseRequest(c.bytes), c.request);
        EXPECT_EQ(platform::RequestGoesOn(c.bytes), c.goesOn);
        if (c.request) {
            EXPECT_EQ(platform::RequestLines(*c.request), c.bytes);  // the sender's lines are the receiver's
        }
    }
}

// A session bus that takes the connection and never answers would hold the start for good.
TEST(SessionBus, OneThatNeverAnswersIsToldFromOneThatDoes) {
    EXPECT_EQ(platform::BusSocket(u"unix:path=/run/user/1/bus"_qs), QByteArray("/run/user/1/bus"));
    EXPECT_EQ(platform::BusSocket(u"tcp:host=h,port=1;unix:abstract=/tmp/d,guid=9"_qs),
              QByteArray("\0/tmp/d", 7));  // the first unix address, an abstract name
    EXPECT_EQ(platform::BusSocket(u"tcp:host=h,port=1"_qs), std::nullopt);
    const QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(u"bus"_qs));
    const int bus = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    std::memcpy(where.sun_path, path.constData(), std::size_t(path.size()));
    ASSERT_EQ(bind(bus, reinterpret_cast<const sockaddr*>(&where), sizeof where), 0);
    ASSERT_EQ(listen(bus, 4), 0);  // the kernel takes the connection; nobody ever answers
    ScopedEnvironment environment;
    environment.Set("DBUS_SESSION_BUS_ADDRESS", u"unix:path="_qs + QFile::decodeName(path));
    EXPECT_FALSE(platform::SessionBusAnswers(std::chrono::milliseconds(300)));
    environment.Set("DBUS_SESSION_BUS_ADDRESS", u"unix:path=/nonexistent/bus"_qs);
    EXPECT_TRUE(platform::SessionBusAnswers(std::chrono::milliseconds(300)));  // refused: nothing waits on it
    close(bus);
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
    ScopedEnvironment environment;
    environment.Set("XDG_RUNTIME_DIR", run.path());
    const QString path = platform::SessionSocketPath(u"x11 :0"_qs);
    ASSERT_TRUE(path.startsWith(run.path())) << path.toStdString();
    // A crashed program's socket: bound, nobody listening.
    const int stale = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(stale);

    platform::SessionChannel first(path);
    using Delivery = platform::SessionChannel::Delivery;
    EXPECT_EQ(first.HandOver({}), Delivery::NoneRunning);
    std::vector<Action> done;
    const auto handle = [&done](const SessionRequest& r) {
        done.push_back(r.action);
        QEventLoop box;  // for start, a box open longer than the drop timer
        QTimer::singleShot(r.action == Action::Start ? 1500 : 0, &box, &QEventLoop::quit);
        box.exec();
    };
    ASSERT_TRUE(first.Listen([](const SessionRequest& r) { return r.map != u"/refused.ini"_qs; }, handle));

    const struct {
        const char* name;
        QByteArray bytes, answer;
    } cases[]{
        {"a malformed request done", "reboot\n", "error\n"},
        {"an oversized request read without end", QByteArray(platform::RequestMaxBytes + 1, 'x'), "error\n"},
        {"a slow request holding the program", "sto", ""},
        {"a request refused up front answered ok", "map /refused.ini\nshow\n", "error\n"},
        {"the answer written under a box, to a socket the drop timer freed", "start\n", "ok\n"},
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
    {  // a launch that gave up waiting for a stalled program: its request is not done when it resumes
        QLocalSocket gone;
        gone.connectToServer(path);
        gone.write("quit\n");
        gone.waitForBytesWritten(1000);
    }
    // A launch that has the turn and stalls (a slow login): a later one still reaches the running
    // program, and never takes its socket over.
    QLockFile stalled(path + u".lock"_qs);
    ASSERT_TRUE(stalled.tryLock(0));
    platform::SessionChannel second(path);
    EXPECT_FALSE(second.Listen({}, {}));
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_EQ(Served([&] {
                  return second.HandOver({Action::Show, u"/refused.ini"_qs, false});
              }),
              Delivery::Refused);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(5))
        << "answered at once, not retried";
    EXPECT_EQ(Served([&] { return second.HandOver({Action::Quit, {}, false}); }), Delivery::Done);
    QCoreApplication::processEvents();
    EXPECT_EQ(done, (std::vector{Action::Start, Action::Stop, Action::Quit}));
}

TEST(SessionChannel, OneKeyForEachDisplayServer) {
    ScopedEnvironment environment;
    environment.Set("QT_QPA_PLATFORM", std::nullopt);  // the platform left to Qt: X11 with no Wayland
    environment.Set("WAYLAND_DISPLAY", std::nullopt);
    for (const QString& x : {u":77.0"_qs, u"unix:77.1"_qs, u"/tmp/.X11-unix/X77"_qs}) {
        environment.Set("DISPLAY", x);
        EXPECT_EQ(platform::DisplayKey({}, {}), u"x11 :77"_qs) << x.toStdString();
    }
}

TEST(SessionChannel, OnlyInAFolderNoOneElseCanMakeOrWrite) {
    QTemporaryDir cache;
    ScopedEnvironment environment;
    environment.Set("XDG_CACHE_HOME", cache.path());
    QTemporaryDir open;
    ASSERT_EQ(chmod(QFile::encodeName(open.path()).constData(), 0770), 0);
    const QString tooLong = cache.filePath(QString(100, u'd'));
    ASSERT_TRUE(QDir().mkdir(tooLong));
    const std::optional<QString> cases[]{
        std::nullopt,  // unset: a folder of a known name in /tmp, which another user can make first
        open.path(),   // others may write it
        tooLong,       // a socket's address holds 107 bytes: no channel at all
    };
    for (const auto& runtime : cases) {
        SCOPED_TRACE(runtime.value_or(u"unset"_qs).toStdString());
        environment.Set("XDG_RUNTIME_DIR", runtime);
        const QString path = platform::SessionSocketPath(u"x11 :0"_qs);
        const QString folder = QFileInfo(path).absolutePath();  // both private, neither made by another user
        EXPECT_TRUE(folder == u"/run/user/%1"_qs.arg(getuid()) || folder == cache.filePath(u"corvane"_qs));
        EXPECT_LT(QFile::encodeName(path).size(), 108);
    }
}

}  // namespace
