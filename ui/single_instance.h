// Single instance of the window program through a local socket: the first start listens,
// a later start asks it to raise its window and then ends.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>

namespace nivra::ui {

class SingleInstance : public QObject {
public:
    // The server name is per user, so two users of one PC each get their own copy.
    static QString defaultServerName();

    explicit SingleInstance(QString serverName = defaultServerName(), QObject* parent = nullptr);

    // True when another copy is running and has been asked to raise its window.
    bool askRunningCopyToRaise(int timeoutMs = 1000);
    enum class Listen { Listening, OtherCopy, Failed };
    // Starts listening; onRaise runs whenever a later start asks. OtherCopy when a copy that
    // started at the same moment holds the name; Failed when no local socket can be made.
    Listen listen(std::function<void()> onRaise);

private:
    QString name_;
    QLocalServer server_;
    std::function<void()> onRaise_;
};

}  // namespace nivra::ui
