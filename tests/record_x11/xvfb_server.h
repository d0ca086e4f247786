// A private Xvfb server for one test program, started on first use and ended with the
// program; $DISPLAY points at it from then on, so X clients the tests start (xdotool) talk
// to it and never to the desktop of whoever runs the tests.
#pragma once

#include <csignal>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace nivra::test {

class XvfbServer {
public:
    // The display name (":N"), or "" when Xvfb could not be started.
    static const std::string& display() {
        static XvfbServer server;
        return server.display_;
    }

    static bool haveProgram(const char* name) {
        const std::string cmd = std::string("command -v ") + name + " >/dev/null 2>&1";
        return std::system(cmd.c_str()) == 0;
    }

private:
    XvfbServer() {
        if (!haveProgram("Xvfb")) return;
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const int null = open("/dev/null", O_RDWR);
            dup2(null, 1);
            dup2(null, 2);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "640x480x24",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        if (pid_ < 0) {
            close(fds[0]);
            return;
        }
        // Xvfb writes its display number once it accepts clients; end of file means it failed.
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (number.empty()) return;
        display_ = ":" + number;
        setenv("DISPLAY", display_.c_str(), 1);
    }
    ~XvfbServer() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    pid_t pid_ = -1;
    std::string display_;
};

}  // namespace nivra::test
