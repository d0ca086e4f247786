// Single-instance handshake: a later start connects, sends "raise" and waits for "ok".
#include "ui/single_instance.h"

#include <QLocalSocket>

#include <unistd.h>

namespace nivra::ui {

namespace {
constexpr char kRaise[] = "raise\n";
constexpr char kOk[] = "ok\n";
}  // namespace

QString SingleInstance::defaultServerName() {
    return QStringLiteral("nivra-configurator-%1").arg(static_cast<qulonglong>(::getuid()));
}

SingleInstance::SingleInstance(QString serverName, QObject* parent) : QObject(parent), name_(std::move(serverName)) {}

bool SingleInstance::askRunningCopyToRaise(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.write(kRaise);
    if (!socket.waitForBytesWritten(timeoutMs)) return false;
    // The running copy answers once it has raised its window.
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs)) return false;
    return socket.readLine() == kOk;
}

SingleInstance::Listen SingleInstance::listen(std::function<void()> onRaise) {
    onRaise_ = std::move(onRaise);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(name_)) {
        // Another copy that started at the same moment holds the name: it stays the one.
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(200)) return Listen::OtherCopy;
        // A copy that crashed leaves its socket file behind; nobody listens on it.
        QLocalServer::removeServer(name_);
        if (!server_.listen(name_)) return Listen::Failed;
    }
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (!socket->canReadLine()) return;
                if (socket->readLine() == kRaise) {
                    if (onRaise_) onRaise_();
                    socket->write(kOk);
                    socket->flush();
                }
                socket->disconnectFromServer();
            });
        }
    });
    return Listen::Listening;
}

}  // namespace nivra::ui
