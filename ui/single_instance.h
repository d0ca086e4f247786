// Single instance of the window program through a local (AF_UNIX) socket: the first start
// listens, a later start asks it to raise its window and then ends.
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>

class QSocketNotifier;

namespace nivra::ui {

class SingleInstance : public QObject {
public:
    // The socket's path: in the user's runtime folder ($XDG_RUNTIME_DIR), else in the
    // temporary folder with the user id in its name, so two users of one PC each get their
    // own copy.
    static QString defaultServerName();

    explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when another copy is running and has been asked to raise its window.
    bool askRunningCopyToRaise(int timeoutMs = 1000);
    enum class Listen { Listening, OtherCopy, Failed };
    // Starts listening; onRaise runs whenever a later start asks. OtherCopy when a copy that
    // started at the same moment holds the name; Failed when no local socket can be made.
    Listen listen(std::function<void()> onRaise);

private:
    struct Peer;
    void acceptPeers();
    void readPeer(int fd);
    void dropPeer(int fd);

    QString name_;
    int listenFd_ = -1;
    QSocketNotifier* listenNotifier_ = nullptr;
    std::map<int, std::unique_ptr<Peer>> peers_;
    std::function<void()> onRaise_;
};

}  // namespace nivra::ui
