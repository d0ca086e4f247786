// Two starts of the window program: the second asks the first to raise its window and ends.
// Both run headless with their own temporary folder, so they meet only each other.
#include "app/options.h"
#include "ui/single_instance.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QProcessEnvironment isolated(const QString& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TMPDIR"), dir);  // the local socket lives in the temporary folder
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
    env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
    return env;
}

// Reads the output (standard error merged in) until it holds TEXT or the process ends.
bool waitForText(QProcess& p, const QByteArray& text, QByteArray& seen) {
    while (!seen.contains(text)) {
        if (!p.waitForReadyRead(30000)) return seen.contains(text);
        seen += p.readAll();
    }
    return true;
}

TEST(SingleInstance, SecondStartRaisesTheFirstWindowAndEnds) {
    int argc = 1;
    char name[] = "test_app";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    QProcess first;
    first.setProcessEnvironment(isolated(dir.path()));
    first.setProcessChannelMode(QProcess::MergedChannels);
    first.start(QStringLiteral(NIVRA_CONFIGURATOR), {});
    ASSERT_TRUE(first.waitForStarted());
    QByteArray firstErr;
    ASSERT_TRUE(waitForText(first, "window shown", firstErr)) << firstErr.toStdString();

    QProcess second;
    second.setProcessEnvironment(isolated(dir.path()));
    second.start(QStringLiteral(NIVRA_CONFIGURATOR), {});
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardError().contains("already running"));
    EXPECT_TRUE(waitForText(first, "raised by a second start", firstErr)) << firstErr.toStdString();
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
}

// The handshake in one process: a copy that listens, a stale socket file left by a crashed
// copy, a copy that starts while another listens, and peers that are not ours.
TEST(SingleInstance, ListensOverAStaleSocketRaisesOnAskAndIgnoresStrangers) {
    int argc = 1;
    char name[] = "test_app";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("instance.socket"));
    // A crashed copy leaves its socket file behind with nobody listening.
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = QFile::encodeName(path);
        std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
        ::close(fd);
    }
    using nivra::ui::SingleInstance;
    SingleInstance first(path);
    EXPECT_FALSE(first.askRunningCopyToRaise(200));
    int raised = 0;
    ASSERT_EQ(first.listen([&raised] { ++raised; }), SingleInstance::Listen::Listening);

    SingleInstance second(path);
    EXPECT_EQ(second.listen([] {}), SingleInstance::Listen::OtherCopy);

    // The copy that listens answers from its event loop, so the asking runs on a thread.
    auto ask = [&](const QByteArray& send) {
        std::atomic<bool> done{false};
        bool answered = false;
        std::thread asker([&] {
            if (send.isEmpty()) {
                answered = SingleInstance(path).askRunningCopyToRaise(5000);
            } else {
                // A stranger: says something else and hangs up.
                const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                const QByteArray bytes = QFile::encodeName(path);
                std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
                if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
                    (void)::send(fd, send.constData(), static_cast<std::size_t>(send.size()), MSG_NOSIGNAL);
                    char reply[8];
                    answered = ::recv(fd, reply, sizeof reply, 0) > 0;
                }
                ::close(fd);
            }
            done = true;
        });
        while (!done) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        asker.join();
        return answered;
    };
    EXPECT_TRUE(ask({}));
    EXPECT_EQ(raised, 1);
    EXPECT_FALSE(ask("hello\n"));
    EXPECT_FALSE(ask(QByteArray(200, 'x')));  // no line break in sight: dropped
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(ask({}));
    EXPECT_EQ(raised, 2);
}

TEST(Options, SimulateAndTraceAreReadAndStrangersRefused) {
    using nivra::app::parseOptions;
    auto o = parseOptions({QStringLiteral("--simulate=/tmp/m.bin"), QStringLiteral("--trace"), QStringLiteral("t.txt")});
    ASSERT_TRUE(o.options);
    EXPECT_TRUE(o.options->simulate);
    EXPECT_EQ(o.options->simulateFile, QStringLiteral("/tmp/m.bin"));
    EXPECT_EQ(o.options->traceFile, QStringLiteral("t.txt"));
    auto plain = parseOptions({QStringLiteral("--simulate")});
    ASSERT_TRUE(plain.options);
    EXPECT_TRUE(plain.options->simulateFile.isEmpty());
    for (const QStringList& bad : {QStringList{QStringLiteral("--trace")}, QStringList{QStringLiteral("--simulate=")},
                                   QStringList{QStringLiteral("--frobnicate")}}) {
        auto r = parseOptions(bad);
        EXPECT_FALSE(r.options) << bad.join(' ').toStdString();
        EXPECT_FALSE(r.error.isEmpty());
    }
}

}  // namespace
