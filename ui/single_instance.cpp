// Single-instance handshake: a later start connects, sends "raise" and waits for "ok".
// A plain AF_UNIX stream socket watched by the event loop; it keeps the program free of a
// network library for one local handshake.
#include "ui/single_instance.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace nivra::ui {

namespace {
constexpr char kRaise[] = "raise\n";
constexpr char kOk[] = "ok\n";
// A peer that sends more than this without a line break is not one of ours.
constexpr std::size_t kMaxLine = 64;

bool socketAddress(const QString& path, sockaddr_un& address) {
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || static_cast<std::size_t>(bytes.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
}

int newSocket() { return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0); }

// Connects to a listening copy; -1 when nobody listens on the path.
int connectTo(const QString& path) {
    sockaddr_un address;
    if (!socketAddress(path, address)) return -1;
    const int fd = newSocket();
    if (fd < 0) return -1;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Waits until fd is ready for events or the time left runs out.
bool waitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, static_cast<int>(left.count()));
        if (n > 0) return true;
        if (n < 0 && errno != EINTR) return false;
    }
}
}  // namespace

struct SingleInstance::Peer {
    QSocketNotifier* notifier;
    QByteArray line;
};

QString SingleInstance::defaultServerName() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(QFile::decodeName(runtime)).exists())
        return QFile::decodeName(runtime) + QStringLiteral("/nivra-configurator.socket");
    return QDir::tempPath() + QStringLiteral("/nivra-configurator-%1.socket").arg(static_cast<qulonglong>(::getuid()));
}

SingleInstance::SingleInstance(QString serverName, QObject* parent) : QObject(parent), name_(std::move(serverName)) {}

SingleInstance::~SingleInstance() {
    for (auto& [fd, peer] : peers_) {
        delete peer->notifier;
        ::close(fd);
    }
    if (listenFd_ >= 0) {
        delete listenNotifier_;
        ::close(listenFd_);
        QFile::remove(name_);
    }
}

bool SingleInstance::askRunningCopyToRaise(int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const int fd = connectTo(name_);
    if (fd < 0) return false;
    bool ok = ::send(fd, kRaise, sizeof kRaise - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof kRaise - 1);
    // The running copy answers once it has raised its window.
    QByteArray answer;
    while (ok && !answer.contains('\n') && answer.size() < static_cast<qsizetype>(kMaxLine)) {
        char buffer[16];
        if (!waitFor(fd, POLLIN, deadline)) {
            ok = false;
            break;
        }
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else answer.append(buffer, static_cast<qsizetype>(n));
    }
    ::close(fd);
    return ok && answer == kOk;
}

SingleInstance::Listen SingleInstance::listen(std::function<void()> onRaise) {
    onRaise_ = std::move(onRaise);
    sockaddr_un address;
    if (!socketAddress(name_, address)) return Listen::Failed;
    const int fd = newSocket();
    if (fd < 0) return Listen::Failed;
    auto bindAndListen = [&] {
        return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 && ::listen(fd, 8) == 0;
    };
    if (!bindAndListen()) {
        if (errno != EADDRINUSE) {
            ::close(fd);
            return Listen::Failed;
        }
        // Another copy that started at the same moment holds the name: it stays the one.
        if (const int probe = connectTo(name_); probe >= 0) {
            ::close(probe);
            ::close(fd);
            return Listen::OtherCopy;
        }
        // A copy that crashed leaves its socket file behind; nobody listens on it.
        ::unlink(address.sun_path);
        if (!bindAndListen()) {
            ::close(fd);
            return Listen::Failed;
        }
    }
    // Only this user may ask.
    ::chmod(address.sun_path, S_IRUSR | S_IWUSR);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    listenFd_ = fd;
    listenNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Read);
    connect(listenNotifier_, &QSocketNotifier::activated, this, [this] { acceptPeers(); });
    return Listen::Listening;
}

void SingleInstance::acceptPeers() {
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        auto peer = std::make_unique<Peer>();
        peer->notifier = new QSocketNotifier(fd, QSocketNotifier::Read);
        connect(peer->notifier, &QSocketNotifier::activated, this, [this, fd] { readPeer(fd); });
        peers_.emplace(fd, std::move(peer));
    }
}

void SingleInstance::readPeer(int fd) {
    const auto it = peers_.find(fd);
    if (it == peers_.end()) return;
    Peer& peer = *it->second;
    char buffer[64];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return;
    if (n > 0) peer.line.append(buffer, static_cast<qsizetype>(n));
    const qsizetype end = peer.line.indexOf('\n');
    if (end < 0 && n > 0 && static_cast<std::size_t>(peer.line.size()) <= kMaxLine) return;
    if (end >= 0 && peer.line.left(end + 1) == kRaise) {
        if (onRaise_) onRaise_();
        ::send(fd, kOk, sizeof kOk - 1, MSG_NOSIGNAL);
    }
    dropPeer(fd);
}

void SingleInstance::dropPeer(int fd) {
    const auto it = peers_.find(fd);
    if (it == peers_.end()) return;
    it->second->notifier->setEnabled(false);
    it->second->notifier->deleteLater();
    peers_.erase(it);
    ::close(fd);
}

}  // namespace nivra::ui
