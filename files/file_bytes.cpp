// Whole-file reads through istream::read, which turns a failing read into a bad stream, and
// the atomic file write (temporary file, fsync, rename).
#include "files/file_bytes.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace nivra {

namespace fs = std::filesystem;

namespace {

void setError(std::string* error, std::string text) {
    if (error) *error = std::move(text);
}

std::string errnoText(const std::string& what, const fs::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

// A name no other writer in this or another process picks at the same time.
fs::path temporaryPathFor(const fs::path& path) {
    static std::atomic<unsigned> counter{0};
    const unsigned n = counter.fetch_add(1);
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".tmp-%ld-%u", static_cast<long>(::getpid()), n);
    fs::path tmp = path;
    tmp += suffix;
    return tmp;
}

}  // namespace


std::optional<std::vector<std::uint8_t>> readFileBytes(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    constexpr std::size_t kChunk = 4096;
    while (bytes.size() < limit) {
        const std::size_t at = bytes.size();
        const std::size_t want = std::min(kChunk, limit - at);
        bytes.resize(at + want);
        in.read(reinterpret_cast<char*>(bytes.data() + at), static_cast<std::streamsize>(want));
        if (in.bad()) return std::nullopt;
        bytes.resize(at + static_cast<std::size_t>(in.gcount()));
        if (!in) break;   // end of file
    }
    return bytes;
}

bool writeFileAtomically(const fs::path& given, std::span<const std::uint8_t> bytes, std::string* error) {
    if (given.empty() || given.filename().empty()) {
        setError(error, "no file name given");
        return false;
    }
    // A symbolic link is followed: the file it points to is replaced and the link stays,
    // rather than the link being replaced by a file and the file it names left stale.
    fs::path path = given;
    std::error_code linkError;
    if (fs::is_symlink(given, linkError)) {
        fs::path resolved = fs::canonical(given, linkError);
        if (!linkError) path = std::move(resolved);
    }
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
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            setError(error, errnoText("cannot write", path));
            ::close(fd);
            ::unlink(tmp.c_str());
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
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
    std::error_code ec;
    if (fs::is_directory(path, ec)) {
        setError(error, "cannot read " + path.string() + ": it is a folder");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        setError(error, errnoText("cannot open", path));
        return false;
    }
    out.resize(limit);
    in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(limit));
    if (in.bad()) {
        setError(error, "cannot read " + path.string());
        out.clear();
        return false;
    }
    out.resize(static_cast<std::size_t>(in.gcount()));
    return true;
}

namespace {

class DiskFiles final : public FileAccess {
public:
    bool exists(const std::string& path) override {
        std::error_code ec;
        return fs::exists(path, ec);
    }
    std::optional<std::vector<std::uint8_t>> read(const std::string& path, std::size_t limit) override {
        return readFileBytes(path, limit);
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
