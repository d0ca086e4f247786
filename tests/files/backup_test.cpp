// Backups per connection: naming, replacing within a connection, pruning, the folder
// choice, and the atomic write underneath.
#include "files/backup.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace nivra {
namespace {

namespace fs = std::filesystem;
using nivra::testing::TempDir;



Image filled(std::uint8_t v) {
    Image img;
    img.fill(v);
    return img;
}

std::vector<std::string> names(const fs::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

// A wall clock the test moves by hand: 2026-12-10 10:31:40 UTC plus the given seconds.
struct FakeWall {
    std::int64_t seconds = 1796898700;
    BackupStore::WallClock clock() {
        return [this] { return std::chrono::system_clock::time_point(std::chrono::seconds(seconds)); };
    }
};

const BackupIds kIds{0x1BCF, 0x08B8, 0xFF, 0xFF};

TEST(BackupStore, OneFilePerConnectionNamedByTimeAndIds) {
    TempDir dir;
    FakeWall wall;
    BackupStore store(dir.path() / "nivra" / "backups", 20, wall.clock());

    store.beginConnection();
    ASSERT_TRUE(store.keep(filled(0x11), kIds));
    EXPECT_EQ(store.currentPath().filename(), "20261210-103140Z-1BCF-08B8-FF-FF.bin");
    // A later read in the same connection replaces that connection's file.
    wall.seconds += 30;
    ASSERT_TRUE(store.keep(filled(0x22), kIds));
    EXPECT_EQ(store.list().size(), 1u);
    EXPECT_EQ(nivra::testing::readBytes(store.currentPath()), std::vector<std::uint8_t>(kImageSize, 0x22));
    // Reading the same bytes again leaves the file as it is (no new file swapped in).
    struct stat before {}, after {};
    ASSERT_EQ(::stat(store.currentPath().c_str(), &before), 0);
    ASSERT_TRUE(store.keep(filled(0x22), kIds));
    ASSERT_EQ(::stat(store.currentPath().c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);

    // A new connection in the same second as the previous file's name gets its own file,
    // listed as the newest.
    wall.seconds -= 30;
    store.beginConnection();
    ASSERT_TRUE(store.keep(filled(0x33), kIds));
    const auto listed = store.list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].name, "20261210-103140Z-1BCF-08B8-FF-FF-2.bin");
    EXPECT_EQ(listed[1].name, "20261210-103140Z-1BCF-08B8-FF-FF.bin");
    EXPECT_EQ(listed[0].size, kImageSize);
    EXPECT_EQ(nivra::testing::readBytes(listed[1].path), std::vector<std::uint8_t>(kImageSize, 0x22));
}

TEST(BackupStore, KeepsTheNewestAndLeavesOtherFilesAlone) {
    TempDir dir;
    FakeWall wall;
    BackupStore store(dir.path(), 3, wall.clock());
    { std::ofstream(dir.path() / "notes.txt") << "mine"; }
    { std::ofstream(dir.path() / "20200101-000000Z-1BCF-08B8-FF-FF.bin.bak") << "mine"; }

    for (int i = 0; i < 5; ++i) {
        wall.seconds += 3600 * 24 * 40;  // later days, later months: names must sort by time
        store.beginConnection();
        ASSERT_TRUE(store.keep(filled(static_cast<std::uint8_t>(i)), {0x1BCF, 0x08B8, 0x00, static_cast<std::uint8_t>(i)}));
    }
    const auto listed = store.list();
    ASSERT_EQ(listed.size(), 3u);
    EXPECT_EQ(nivra::testing::readBytes(listed[0].path)[0], 4);
    EXPECT_EQ(nivra::testing::readBytes(listed[1].path)[0], 3);
    EXPECT_EQ(nivra::testing::readBytes(listed[2].path)[0], 2);
    EXPECT_TRUE(fs::exists(dir.path() / "notes.txt"));
    EXPECT_TRUE(fs::exists(dir.path() / "20200101-000000Z-1BCF-08B8-FF-FF.bin.bak"));

    // A spared backup (one about to be loaded back) outlives the pruning, even named
    // through another path.
    const fs::path oldest = listed[2].path;
    store.spare(dir.path() / "." / oldest.filename());
    wall.seconds += 3600;
    store.beginConnection();
    ASSERT_TRUE(store.keep(filled(9), kIds));
    EXPECT_TRUE(fs::exists(oldest));
    EXPECT_EQ(store.list().size(), 4u);
}

TEST(BackupStore, AnUnchangedMouseDoesNotPushOutOlderConfigurations) {
    TempDir dir;
    FakeWall wall;
    BackupStore store(dir.path(), 2, wall.clock());
    store.beginConnection();
    ASSERT_TRUE(store.keep(filled(0x01), kIds));  // the user's own configuration
    wall.seconds += 60;
    store.beginConnection();
    ASSERT_TRUE(store.keep(filled(0x02), kIds));  // after a wrong restore
    // Reconnected many times, unchanged: no new files, the configuration before stays.
    for (int i = 0; i < 5; ++i) {
        wall.seconds += 60;
        store.beginConnection();
        ASSERT_TRUE(store.keep(filled(0x02), kIds));
    }
    auto listed = store.list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(nivra::testing::readBytes(listed[1].path)[0], 0x01);

    // Another mouse with the same bytes gets its own file.
    wall.seconds += 60;
    store.beginConnection();
    ASSERT_TRUE(store.keep(filled(0x02), {0x1BCF, 0x08B9, 0xFF, 0xFF}));
    EXPECT_NE(store.currentPath().filename().string().find("-08B9-"), std::string::npos);

    // A connection that first reads the unchanged image and then a changed one makes a file
    // of its own and leaves the earlier connection's file as it was.
    wall.seconds += 60;
    store.beginConnection();
    ASSERT_TRUE(store.keep(filled(0x02), kIds));
    EXPECT_TRUE(store.currentPath().empty());
    ASSERT_TRUE(store.keep(filled(0x03), kIds));
    listed = store.list();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(nivra::testing::readBytes(listed[0].path)[0], 0x03);
    EXPECT_EQ(nivra::testing::readBytes(listed[1].path)[0], 0x02);
}

TEST(BackupStore, FolderFromXdgStateHomeOrHome) {
    const char* oldState = std::getenv("XDG_STATE_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string savedState = oldState ? oldState : "";
    const std::string savedHome = oldHome ? oldHome : "";

    struct Case {
        const char* state;  // nullptr = unset
        const char* home;
        const char* expected;
    } cases[] = {
        {"/state", "/home/u", "/state/nivra/backups"},
        {"relative/state", "/home/u", "/home/u/.local/state/nivra/backups"},
        {"", "/home/u", "/home/u/.local/state/nivra/backups"},
        {nullptr, "/home/u", "/home/u/.local/state/nivra/backups"},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        if (c.state) ::setenv("XDG_STATE_HOME", c.state, 1); else ::unsetenv("XDG_STATE_HOME");
        if (c.home) ::setenv("HOME", c.home, 1); else ::unsetenv("HOME");
        EXPECT_EQ(BackupStore::defaultDirectory(), fs::path(c.expected)) << (c.state ? c.state : "(unset)");
    }
    if (oldState) ::setenv("XDG_STATE_HOME", savedState.c_str(), 1); else ::unsetenv("XDG_STATE_HOME");
    if (oldHome) ::setenv("HOME", savedHome.c_str(), 1); else ::unsetenv("HOME");
}

TEST(BackupStore, UnwritableFolderIsReported) {
    TempDir dir;
    { std::ofstream(dir.path() / "file") << "x"; }
    BackupStore store(dir.path() / "file" / "backups");
    std::string error;
    EXPECT_FALSE(store.keep(filled(0), kIds, &error));
    EXPECT_FALSE(error.empty());
}

TEST(AtomicWrite, ReplacesCompletelyOrLeavesTheOldFile) {
    TempDir dir;
    const fs::path target = dir.path() / "profile.bin";
    { std::ofstream(target, std::ios::binary) << "old content"; }

    ASSERT_TRUE(writeFileAtomically(target, std::vector<std::uint8_t>(kImageSize, 0xAB)));
    EXPECT_EQ(nivra::testing::readBytes(target), std::vector<std::uint8_t>(kImageSize, 0xAB));
    EXPECT_EQ(names(dir.path()), std::vector<std::string>{"profile.bin"});  // no temporary left

    // The target is a folder: rename fails, the folder stays, no temporary is left.
    fs::create_directory(dir.path() / "folder");
    fs::path blocker = dir.path() / "folder" / "inner";
    { std::ofstream(blocker) << "keep"; }
    std::string error;
    EXPECT_FALSE(writeFileAtomically(dir.path() / "folder", std::vector<std::uint8_t>(4, 1), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));
    EXPECT_EQ(names(dir.path()), (std::vector<std::string>{"folder", "profile.bin"}));

    // A symbolic link: the file it names gets the bytes, the link stays a link.
    fs::create_directory(dir.path() / "elsewhere");
    const fs::path real = dir.path() / "elsewhere" / "real.bin";
    { std::ofstream(real, std::ios::binary) << "old"; }
    fs::create_symlink(real, dir.path() / "link.bin");
    ASSERT_TRUE(writeFileAtomically(dir.path() / "link.bin", std::vector<std::uint8_t>(4, 7)));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.bin"));
    EXPECT_EQ(nivra::testing::readBytes(real), std::vector<std::uint8_t>(4, 7));
    EXPECT_EQ(names(dir.path() / "elsewhere"), std::vector<std::string>{"real.bin"});

    // A missing folder: nothing is created.
    EXPECT_FALSE(writeFileAtomically(dir.path() / "missing" / "x.bin", std::vector<std::uint8_t>(4, 1), &error));
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

}  // namespace
}  // namespace nivra
