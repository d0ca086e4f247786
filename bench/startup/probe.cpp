// Starts one program and measures it from outside: the time from exec to the first map of the
// program's own top-level window (a MapNotify on the root window whose _NET_WM_PID is the
// child) and the CPU time its main thread and any others had used by then, its peak resident
// set and proportional set size after it settled, and the CPU time it takes while idle.
// Prints one line of key=value pairs and ends the program.
//
//   startup_probe [--settle SECONDS] [--idle SECONDS] -- COMMAND [ARGS...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// A window may be gone by the time its properties are read; that is not an error here.
int ignoreXError(Display*, XErrorEvent*) { return 0; }

long windowPid(Display* display, Window window, Atom pidAtom) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    long pid = -1;
    if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data && format == 32 && count == 1)
        pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
    if (data) XFree(data);
    return pid;
}

// A value in kB from a /proc file of "Name:   value kB" lines.
long procKiB(pid_t pid, const char* file, const char* key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    const std::size_t keyLength = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, keyLength, key) == 0 && line.size() > keyLength && line[keyLength] == ':')
            return std::strtol(line.c_str() + keyLength + 1, nullptr, 10);
    return -1;
}

// utime + stime in clock ticks.
long cpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    // The command name may hold spaces: fields are counted after its closing parenthesis.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    const char* p = stat.c_str() + close + 2;  // field 3
    long fields[16] = {};
    for (int field = 3; field <= 15; ++field) {
        char* end = nullptr;
        fields[field] = field == 3 ? 0 : std::strtol(p, &end, 10);
        if (field == 3) {
            while (*p && *p != ' ') ++p;
        } else {
            p = end;
        }
        while (*p == ' ') ++p;
    }
    return fields[14] + fields[15];
}

// CPU time of all the process's threads in nanoseconds (schedstat: run time of each task),
// finer than the clock ticks of /proc/PID/stat; -1 when the kernel does not keep it.
long long cpuNs(pid_t pid) {
    long long total = 0;
    bool any = false;
    const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = opendir(taskDir.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream in(taskDir + "/" + entry->d_name + "/schedstat");
            long long ns = 0;
            if (in >> ns) {
                total += ns;
                any = true;
            }
        }
        closedir(dir);
    }
    return any ? total : -1;
}

void sleepUntil(double deadlineMs) {
    for (double left = deadlineMs - nowMs(); left > 0; left = deadlineMs - nowMs()) {
        timespec ts{static_cast<time_t>(left / 1e3), static_cast<long>(std::fmod(left, 1e3) * 1e6)};
        nanosleep(&ts, nullptr);
    }
}

}  // namespace

int main(int argc, char** argv) {
    double settleS = 10, idleS = 30;
    int first = 1;
    for (; first < argc; ++first) {
        if (std::strcmp(argv[first], "--") == 0) {
            ++first;
            break;
        }
        if (first + 1 < argc && std::strcmp(argv[first], "--settle") == 0) settleS = std::atof(argv[++first]);
        else if (first + 1 < argc && std::strcmp(argv[first], "--idle") == 0) idleS = std::atof(argv[++first]);
        else {
            std::fprintf(stderr, "usage: startup_probe [--settle S] [--idle S] -- COMMAND [ARGS...]\n");
            return 2;
        }
    }
    if (first >= argc) {
        std::fprintf(stderr, "startup_probe: no command\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 1;
    }
    XSetErrorHandler(ignoreXError);
    const Window root = DefaultRootWindow(display);
    const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = nowMs();
    const pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(argv[first], argv + first);
        std::perror("startup_probe: exec");
        _exit(127);
    }

    double mapMs = -1;
    long long mapCpuNs = -1;
    const double giveUp = start + 20000;
    while (mapMs < 0 && nowMs() < giveUp) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && windowPid(display, event.xmap.window, pidAtom) == child) {
                mapMs = nowMs() - start;
                mapCpuNs = cpuNs(child);
                break;
            }
        }
        if (mapMs >= 0) break;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "startup_probe: %s ended before it mapped a window\n", argv[first]);
            return 1;
        }
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, 50);
    }
    XCloseDisplay(display);
    if (mapMs < 0) {
        std::fprintf(stderr, "startup_probe: no window of %s was mapped\n", argv[first]);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        return 1;
    }

    sleepUntil(start + settleS * 1e3);
    const long hwm = procKiB(child, "status", "VmHWM");
    const long pss = procKiB(child, "smaps_rollup", "Pss");
    const long ticks0 = cpuTicks(child);
    const long long ns0 = cpuNs(child);
    const double idleStart = nowMs();
    sleepUntil(idleStart + idleS * 1e3);
    const long ticks1 = cpuTicks(child);
    const long long ns1 = cpuNs(child);
    const double idleMs = nowMs() - idleStart;
    // utime + stime in clock ticks; the nanoseconds of schedstat when the kernel keeps them
    // (a tick over 30 s is already 0.03 %).
    double cpuPct = -1;
    if (idleS > 0 && ns0 >= 0 && ns1 >= ns0)
        cpuPct = 100.0 * static_cast<double>(ns1 - ns0) / 1e6 / idleMs;
    else if (idleS > 0 && ticks0 >= 0 && ticks1 >= 0)
        cpuPct = 100.0 * static_cast<double>(ticks1 - ticks0) / static_cast<double>(sysconf(_SC_CLK_TCK)) / (idleMs / 1e3);
    kill(child, SIGTERM);
    int status = 0;
    waitpid(child, &status, 0);
    std::printf("map_ms=%.2f map_cpu_ms=%.2f hwm_kib=%ld pss_kib=%ld cpu_pct=%.4f\n", mapMs,
                mapCpuNs >= 0 ? static_cast<double>(mapCpuNs) / 1e6 : -1.0, hwm, pss, cpuPct);
    return 0;
}
