// The file reader and the atomic writer against what may stand where a file is expected: a
// FIFO, a device node, /dev/zero, a folder, symbolic links to a terminal, a pipe or nothing;
// standard output as "-"; the temporary files of killed writers.
#include "files/file_bytes.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace nivra {
namespace {

namespace fs = std::filesystem;
using nivra::testing::TempDir;

std::vector<std::string> names(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// The things that are no regular file, made in `dir`: each with what a message about it says.
struct Odd {
    fs::path path;
    std::string says;
};

std::vector<Odd> oddFiles(const TempDir& dir) {
    std::vector<Odd> odd;
    const fs::path fifo = dir.path() / "fifo";
    if (::mkfifo(fifo.c_str(), 0600) == 0) odd.push_back({fifo, "a pipe (FIFO)"});
    // A character device node of its own (the numbers of /dev/null), where the test may
    // make one; /dev/zero stands for devices in any case.
    const fs::path node = dir.path() / "node";
    if (::mknod(node.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) odd.push_back({node, "a device"});
    odd.push_back({"/dev/zero", "a device"});
    fs::create_directory(dir.path() / "folder");
    odd.push_back({dir.path() / "folder", "a folder"});
    if (fs::exists(fifo)) {
        fs::create_symlink(fifo, dir.path() / "fifo-link");
        odd.push_back({dir.path() / "fifo-link", "a pipe (FIFO)"});
    }
    return odd;
}

TEST(FileRead, RefusesWhatIsNoRegularFileWithoutWaiting) {
    TempDir dir;
    const std::vector<Odd> odd = oddFiles(dir);
    EXPECT_GE(odd.size(), 5u);
    for (const Odd& o : odd) {
        std::string error;
        // A FIFO without a writer would block an ordinary open for ever; /dev/zero would
        // fill any buffer.
        EXPECT_FALSE(readFileBytes(o.path.string(), 1 << 20, &error)) << o.path;
        std::vector<std::uint8_t> bytes;
        EXPECT_FALSE(readWholeFile(o.path, bytes, &error, 1 << 20)) << o.path;
        EXPECT_NE(error.find(o.path.string()), std::string::npos) << error;
        EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
        EXPECT_NE(error.find(o.says), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(readFileBytes((dir.path() / "missing").string(), 10, &error));
    EXPECT_NE(error.find("missing: No such file or directory"), std::string::npos) << error;
}

TEST(FileRead, TakesAtMostTheLimitAndTellsALongerFile) {
    TempDir dir;
    const fs::path file = dir.file("f.bin", std::vector<std::uint8_t>(2049, 0x5A));
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(readWholeFile(file, bytes, nullptr, 2048));
    EXPECT_EQ(bytes.size(), 2048u);
    std::string error;
    EXPECT_FALSE(readFileUpTo(file, bytes, 2048, &error));
    EXPECT_NE(error.find(file.string() + ": it is longer than 2048 bytes"), std::string::npos) << error;
    ASSERT_TRUE(readFileUpTo(file, bytes, 2049, &error)) << error;
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(2049, 0x5A));
    // A symbolic link to a regular file is read through.
    fs::create_symlink(file, dir.path() / "link");
    ASSERT_TRUE(readFileUpTo(dir.path() / "link", bytes, 4096, &error)) << error;
    EXPECT_EQ(bytes.size(), 2049u);
}

TEST(AtomicWrite, RefusesToReplaceWhatIsNoRegularFile) {
    TempDir dir;
    std::vector<Odd> odd = oddFiles(dir);
    // A link that leads nowhere: writing through it would make a file in an unexpected place.
    fs::create_symlink(dir.path() / "nowhere" / "x", dir.path() / "dangling");
    odd.push_back({dir.path() / "dangling", "leads nowhere"});
    const std::vector<std::string> before = names(dir.path());
    for (const Odd& o : odd) {
        if (o.path == "/dev/zero") continue;  // never written, even as a test
        const auto kindBefore = fs::symlink_status(o.path).type();
        std::string error;
        EXPECT_FALSE(writeFileAtomically(o.path, std::vector<std::uint8_t>(4, 1), &error)) << o.path;
        EXPECT_NE(error.find(o.path.string()), std::string::npos) << error;
        EXPECT_NE(error.find(o.says), std::string::npos) << error;
        EXPECT_EQ(fs::symlink_status(o.path).type(), kindBefore) << o.path;
    }
    EXPECT_EQ(names(dir.path()), before);  // no temporary file left anywhere
}

// Standard output made a pipe for the life of the object (whatever the test runner gave it).
class StdoutPipe {
public:
    StdoutPipe() {
        std::fflush(stdout);
        if (::pipe(ends_) == 0) {
            saved_ = ::dup(STDOUT_FILENO);
            ::dup2(ends_[1], STDOUT_FILENO);
        }
    }
    ~StdoutPipe() {
        if (saved_ >= 0) {
            ::dup2(saved_, STDOUT_FILENO);
            ::close(saved_);
        }
        ::close(ends_[0]);
        ::close(ends_[1]);
    }

private:
    int ends_[2] = {-1, -1};
    int saved_ = -1;
};

TEST(AtomicWrite, ALinkToStandardOutputIsNeitherReadNorReplaced) {
    TempDir dir;
    const fs::path link = dir.path() / "out";
    fs::create_symlink("/proc/self/fd/1", link);
    std::string readError, writeError;
    bool read = false, written = false;
    {
        StdoutPipe pipe;
        read = readFileBytes(link.string(), 100, &readError).has_value();
        written = writeFileAtomically(link, std::vector<std::uint8_t>(4, 1), &writeError);
    }
    EXPECT_FALSE(read);
    EXPECT_NE(readError.find(link.string() + ": it is a pipe (FIFO), not a regular file"), std::string::npos)
        << readError;
    EXPECT_FALSE(written);
    EXPECT_NE(writeError.find(link.string() + ": it is a symbolic link to a pipe (FIFO), not to a regular file"),
              std::string::npos)
        << writeError;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), "/proc/self/fd/1");
    EXPECT_EQ(names(dir.path()), std::vector<std::string>{"out"});
}

TEST(AtomicWrite, DashWritesToStandardOutput) {
    TempDir dir;
    const fs::path captured = dir.path() / "stdout.bin";
    const int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(file, 0);
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    ::dup2(file, STDOUT_FILENO);
    const bool written = writeFileAtomically("-", std::vector<std::uint8_t>{0x00, 0xFF, 0x0A});
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(file);
    EXPECT_TRUE(written);
    EXPECT_EQ(nivra::testing::readBytes(captured), (std::vector<std::uint8_t>{0x00, 0xFF, 0x0A}));
    EXPECT_FALSE(fs::exists("-"));
}

TEST(AtomicWrite, RemovesTheTemporaryFilesOfWritersThatDied) {
    TempDir dir;
    // A PID that no process has now: a child that has exited and been reaped.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = std::to_string(child);
    const std::string alive = std::to_string(::getppid());
    const std::vector<std::uint8_t> some(3, 9);
    for (const std::string& name : {"x.bin.tmp-" + dead + "-0", "x.bin.tmp-" + dead + "-17",
                                    "x.bin.tmp-" + alive + "-0", "x.bin.tmp-" + dead, "x.bin.tmp-" + dead + "-1x",
                                    "y.bin.tmp-" + dead + "-0", "x.bin.tmp-" + dead + "-2.keep"})
        dir.file(name, some);
    ASSERT_TRUE(writeFileAtomically(dir.path() / "x.bin", some));
    // Only this file's temporaries of the dead writer went; a living writer's, other files'
    // and names of another form stay.
    std::vector<std::string> kept{"x.bin", "x.bin.tmp-" + dead, "x.bin.tmp-" + dead + "-1x",
                                  "x.bin.tmp-" + dead + "-2.keep", "x.bin.tmp-" + alive + "-0",
                                  "y.bin.tmp-" + dead + "-0"};
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(names(dir.path()), kept);
}

}  // namespace
}  // namespace nivra
