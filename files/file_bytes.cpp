// Whole-file reads through a non-blocking descriptor checked with fstat, and the atomic file
// write (temporary file, fsync, rename) with its checks of what the target is.
#include "files/file_bytes.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace nivra {

namespace fs = std::filesystem;

namespace {

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

std::string errnoText(const std::string& what, const fs::path& path, int err = errno) {
    return what + " " + path.string() + ": " + std::strerror(err);
}

// What a file of a kind other than a regular file is, for the messages.
std::string kindName(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISFIFO(mode)) return "a pipe (FIFO)";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a symbolic link";
    return "not a regular file";
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

constexpr const char kTemporaryMark[] = ".tmp-";

// A name no other writer in this or another process picks at the same time:
// "NAME.tmp-PID-N".
fs::path temporaryPathFor(const fs::path& path) {
    static std::atomic<unsigned> counter{0};
    const unsigned n = counter.fetch_add(1);
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "%s%ld-%u", kTemporaryMark, static_cast<long>(::getpid()), n);
    fs::path tmp = path;
    tmp += suffix;
    return tmp;
}

// The PID of a temporary file of `target`'s ("NAME.tmp-PID-N"); 0 for any other name.
long temporaryPid(const std::string& name, const std::string& target) {
    const std::string prefix = target + kTemporaryMark;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return 0;
    const char* p = name.c_str() + prefix.size();
    long pid = 0;
    const char* digits = p;
    while (*p >= '0' && *p <= '9' && pid < LONG_MAX / 10) pid = pid * 10 + (*p++ - '0');
    if (p == digits || *p++ != '-') return 0;
    const char* counter = p;
    while (*p >= '0' && *p <= '9') ++p;
    return (p != counter && *p == '\0') ? pid : 0;
}

// Temporary files of `path` left by writers that were killed before they could remove
// them. A file of a process that still runs may be in use and stays.
void removeStaleTemporaries(const fs::path& path) {
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const std::string target = path.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        const long pid = temporaryPid(name, target);
        if (pid <= 0 || pid == static_cast<long>(::getpid()) || pid > INT_MAX) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || it->is_symlink(typeError)) continue;
        ::unlink(it->path().c_str());
    }
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The file that a write to `given` replaces: `given` itself, or the regular file a symbolic
// link names. Empty with a message when the target is anything but a regular file or a
// name still free.
std::optional<fs::path> replaceableTarget(const fs::path& given, std::string* error) {
    struct stat st {};
    if (::lstat(given.c_str(), &st) != 0) {
        if (errno == ENOENT) return given;  // a new file (a missing folder fails at create)
        setError(error, errnoText("cannot write", given));
        return std::nullopt;
    }
    if (S_ISREG(st.st_mode)) return given;
    if (!S_ISLNK(st.st_mode)) {
        setError(error, "cannot write " + given.string() + ": it is " + kindName(st.st_mode) +
                            ", not a regular file");
        return std::nullopt;
    }
    // A link is followed only to an existing regular file, which is then replaced and the
    // link kept. Links to devices, pipes or descriptors (/dev/stdout, /proc/self/fd/N) and
    // dangling links are refused: renaming over them would replace the link itself.
    if (::stat(given.c_str(), &st) != 0) {
        setError(error, errnoText("cannot write", given) + " (a symbolic link that leads nowhere)");
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        setError(error, "cannot write " + given.string() + ": it is a symbolic link to " + kindName(st.st_mode) +
                            ", not to a regular file");
        return std::nullopt;
    }
    // The file's own name, for the rename; a descriptor link to a deleted or unnamed file
    // (/proc/self/fd/N) has none.
    char* resolved = ::realpath(given.c_str(), nullptr);
    struct stat named {};
    if (!resolved || ::lstat(resolved, &named) != 0 || !S_ISREG(named.st_mode) || named.st_ino != st.st_ino ||
        named.st_dev != st.st_dev) {
        std::free(resolved);
        setError(error, "cannot write " + given.string() + ": the file it links to has no name to replace");
        return std::nullopt;
    }
    const fs::path target(resolved);
    std::free(resolved);
    return target;
}

bool writeStandardOutput(std::span<const std::uint8_t> bytes, std::string* error) {
    std::fflush(stdout);  // text already printed comes first
    if (!writeAll(STDOUT_FILENO, bytes)) {
        setError(error, std::string("cannot write to standard output: ") + std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace


std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path, std::size_t limit,
                                                       std::string* error) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait forever; the fstat
    // below then refuses it (and any device) before a read is tried.
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        setError(error, errnoText("cannot read", path));
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        setError(error, errnoText("cannot read", path));
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        setError(error, "cannot read " + path + ": it is " + kindName(st.st_mode) + ", not a regular file");
        return std::nullopt;
    }
    // The size fstat gives is only a hint (files in /proc and /sys say 0 or 4096): read to
    // the end or the limit.
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t kChunk = 4096;
    while (bytes.size() < limit) {
        const std::size_t at = bytes.size();
        const std::size_t want = std::min(kChunk, limit - at);
        bytes.resize(at + want);
        const ssize_t n = ::read(fd.get(), bytes.data() + at, want);
        if (n < 0 && errno == EINTR) {
            bytes.resize(at);
            continue;
        }
        if (n < 0) {
            setError(error, errnoText("cannot read", path));
            return std::nullopt;
        }
        bytes.resize(at + static_cast<std::size_t>(n));
        if (n == 0) break;  // end of file
    }
    return bytes;
}

bool writeFileAtomically(const fs::path& given, std::span<const std::uint8_t> bytes, std::string* error) {
    if (given == "-") return writeStandardOutput(bytes, error);
    if (given.empty() || given.filename().empty()) {
        setError(error, "no file name given");
        return false;
    }
    const std::optional<fs::path> target = replaceableTarget(given, error);
    if (!target) return false;
    const fs::path& path = *target;
    removeStaleTemporaries(path);
    const fs::path tmp = temporaryPathFor(path);
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        setError(error, errnoText("cannot create", path));
        return false;
    }
    // A replaced file keeps its permissions; a new one gets those of any new file (0666
    // less the umask, applied by open).
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
        setError(error, errnoText("cannot write", path));
        ::close(fd);
        ::unlink(tmp.c_str());
        return false;
    }
    if (::close(fd) != 0) {
        setError(error, errnoText("cannot write", path));
        ::unlink(tmp.c_str());
        return false;
    }
    if (::rename(tmp.c_str(), path.c_str()) != 0) {
        setError(error, errnoText("cannot replace", path));
        ::unlink(tmp.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder's entry.
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

bool readWholeFile(const fs::path& path, std::vector<std::uint8_t>& out, std::string* error,
                   std::size_t limit) {
    out.clear();
    std::optional<std::vector<std::uint8_t>> bytes = readFileBytes(path.string(), limit, error);
    if (!bytes) return false;
    out = std::move(*bytes);
    return true;
}

bool readFileUpTo(const fs::path& path, std::vector<std::uint8_t>& out, std::size_t maxSize, std::string* error) {
    if (!readWholeFile(path, out, error, maxSize + 1)) return false;
    if (out.size() > maxSize) {
        setError(error, "cannot read " + path.string() + ": it is longer than " + std::to_string(maxSize) +
                            " bytes, more than a file of its kind holds");
        out.clear();
        return false;
    }
    return true;
}

namespace {

class DiskFiles final : public FileAccess {
public:
    bool exists(const std::string& path) override {
        std::error_code ec;
        return fs::exists(path, ec);
    }
    std::optional<std::vector<std::uint8_t>> read(const std::string& path, std::size_t limit,
                                                  std::string* error) override {
        return readFileBytes(path, limit, error);
    }
    bool write(const std::string& path, std::span<const std::uint8_t> bytes, std::string* error) override {
        return writeFileAtomically(path, bytes, error);
    }
};

}  // namespace

FileAccess& diskFiles() {
    static DiskFiles files;
    return files;
}

}  // namespace nivra
