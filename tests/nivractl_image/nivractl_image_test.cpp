// `nivractl builtin` and `nivractl show` run as processes: outputs, exit statuses, messages,
// and that bad input leaves no file behind.
#include "image/builtin.h"
#include "image/fields.h"

#include "tests/support/run_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

namespace fs = std::filesystem;

using Result = nivra::testing::CommandResult;
using nivra::testing::readText;

class NivractlImage : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(tmp_.path().empty());
        dir_ = tmp_.path();
    }

    Result run(const std::string& args) const {
        return nivra::testing::runCommand(std::string(NIVRACTL_BIN) + " " + args, dir_);
    }

    fs::path writeFile(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
        return dir_ / name;
    }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir_)) names.push_back(e.path().filename().string());
        return names;
    }

    nivra::testing::TempDir tmp_;
    fs::path dir_;
};

TEST_F(NivractlImage, BuiltinOutputPassesShowWithEverySectionValid) {
    for (int n = 1; n <= 3; ++n) {
        const fs::path file = dir_ / ("cfg" + std::to_string(n) + ".bin");
        const Result b = run("builtin " + std::to_string(n) + " " + file.string());
        ASSERT_EQ(b.status, 0) << b.err;
        const nivra::Image& img = nivra::builtinImage(n);
        EXPECT_EQ(readText(file), std::string(img.begin(), img.end()));

        const Result s = run("show --json --file " + file.string());
        ASSERT_EQ(s.status, 0) << s.err;
        EXPECT_NE(s.out.find(R"("sections": {"vendor": "valid", "user": "valid", "profile1": "valid", )"
                             R"("profile2": "valid", "profile3": "valid"})"),
                  std::string::npos)
            << s.out;
        EXPECT_NE(s.out.find(R"("patch_check": "261A")"), std::string::npos);
        EXPECT_NE(s.out.find(R"("fire_macros": [{"name": "Macro1", "length": 18}, )"), std::string::npos);
        EXPECT_NE(s.out.find(R"({"name": "Macro10", "length": 18}],)"), std::string::npos);
        EXPECT_NE(s.out.find(R"("vid": "1BCF", "pid": "08B8", "manufacturer": 255, "product": 255)"),
                  std::string::npos);
        EXPECT_NE(s.out.find(R"("memory": "I2C")"), std::string::npos);
        EXPECT_NE(s.out.find(R"({"code": "01010000", "id": "Str210", "name": "Left Key"})"), std::string::npos);
        EXPECT_NE(s.out.find(R"({"code": "07D1F020", "id": "Str252", "name": "Game Mode"})"), std::string::npos);
        EXPECT_TRUE(s.err.empty());
    }
}

TEST_F(NivractlImage, ShowNamesCodesInEnglish) {
    const fs::path file = dir_ / "cfg1.bin";
    ASSERT_EQ(run("builtin 1 " + file.string()).status, 0);
    const Result s = run("show --json --file " + file.string());
    ASSERT_EQ(s.status, 0) << s.err;
    for (const char* expected : {R"({"code": "01010000", "id": "Str210", "name": "Left Key"})",
                                 R"({"code": "02080700", "id": "Str293", "name": "Desktop"})",
                                 R"({"code": "00000000", "id": "Str277", "name": "Key Off"})"})
        EXPECT_NE(s.out.find(expected), std::string::npos) << expected << "\n" << s.out;
}

TEST_F(NivractlImage, ShowReportsRepairsAndTheRepairedContent) {
    nivra::Image img = nivra::builtinImage(1);
    img[1] = 0x00;       // vendor ID: vendor section no longer matches its check byte
    img[250] ^= 0x10;    // a profile 2 code
    img[111] = '"';      // a quote in the USB text must stay valid JSON
    const fs::path file = writeFile("bad.bin", std::string(img.begin(), img.end()));
    const Result s = run("show --json --file " + file.string());
    ASSERT_EQ(s.status, 0) << s.err;
    EXPECT_NE(s.out.find(R"("vendor": "repaired", "user": "valid", "profile1": "valid", "profile2": "repaired")"),
              std::string::npos)
        << s.out;
    // The repaired vendor section carries the default identity and USB text.
    EXPECT_NE(s.out.find(R"("vid": "1BCF")"), std::string::npos);
    EXPECT_NE(s.out.find(R"("usb_string": "HID Gaming mouse")"), std::string::npos);

    // Only the profile section is damaged: the user's USB text is kept, escaped.
    img = nivra::builtinImage(1);
    img[111] = '"';
    img[112] = 0x01;
    img[113] = 0xE9;
    img[163] = nivra::sectionCheckByte(std::span(img).first(164));
    const Result t = run("show --json --file " + writeFile("text.bin", std::string(img.begin(), img.end())).string());
    ASSERT_EQ(t.status, 0) << t.err;
    EXPECT_NE(t.out.find(R"("usb_string": "\"\u0001\u00E9eMouse")"), std::string::npos) << t.out;
}

TEST_F(NivractlImage, BadInputExitsOneWithOneLineAndWritesNothing) {
    writeFile("short.bin", std::string(2047, '\0'));
    writeFile("long.bin", std::string(2049, '\0'));
    fs::create_directory(dir_ / "folder");
    const std::string cases[] = {
        "show --json --file " + (dir_ / "missing.bin").string(),
        "show --json --file " + (dir_ / "short.bin").string(),
        "show --json --file " + (dir_ / "long.bin").string(),
        "show --json --file " + (dir_ / "folder").string(),
        "builtin 1 " + (dir_ / "no-such-folder" / "x.bin").string(),
        "builtin 2 " + (dir_ / "folder").string(),
    };
    const std::vector<std::string> before = entries();
    for (const std::string& args : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        ASSERT_FALSE(r.err.empty()) << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << args << ": " << r.err;
    }
    EXPECT_EQ(entries(), before);
    EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
}

TEST_F(NivractlImage, BadUsageExitsTwo) {
    const std::string file = (dir_ / "x.bin").string();
    const std::string cases[] = {
        "builtin", "builtin 1", "builtin 0 " + file, "builtin 4 " + file, "builtin one " + file,
        "builtin 1 " + file + " extra", "show", "show --file " + file, "show --json --file",
        "show --json --file " + file + " --verbose",
    };
    for (const std::string& args : cases) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_FALSE(fs::exists(file)) << args;
    }
}

TEST_F(NivractlImage, BuiltinReplacesAnExistingFileWhole) {
    const fs::path file = writeFile("cfg.bin", std::string(5000, 'x'));
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(run("builtin 3 " + file.string()).status, 0);
    const nivra::Image& img = nivra::builtinImage(3);
    EXPECT_EQ(readText(file), std::string(img.begin(), img.end()));
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(entries(), std::vector<std::string>{"cfg.bin"});  // no temporary left behind

    // Through a symbolic link the linked file is replaced and the link stays.
    fs::create_symlink(file, dir_ / "link.bin");
    ASSERT_EQ(run("builtin 1 " + (dir_ / "link.bin").string()).status, 0);
    EXPECT_TRUE(fs::is_symlink(dir_ / "link.bin"));
    const nivra::Image& first = nivra::builtinImage(1);
    EXPECT_EQ(readText(file), std::string(first.begin(), first.end()));
}

}  // namespace

namespace {

// What stands where a file is expected but is none: nivractl neither waits on it, nor reads
// it without end, nor replaces it. The link to /proc/self/fd/1 runs with standard output a
// pipe, as in `nivractl builtin 1 out | less`.
TEST_F(NivractlImage, FilesThatAreNoRegularFilesAreRefusedAndKept) {
    ASSERT_EQ(::mkfifo((dir_ / "fifo").c_str(), 0600), 0);
    const bool node = ::mknod((dir_ / "node").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0;
    fs::create_symlink("/proc/self/fd/1", dir_ / "out");
    const std::vector<std::string> before = entries();
    struct Case {
        std::string args;
        std::string says;
    };
    std::vector<Case> cases = {
        {"show --json --file " + (dir_ / "fifo").string(), (dir_ / "fifo").string() + ": it is a pipe (FIFO)"},
        {"show --json --file /dev/zero", "/dev/zero: it is a device"},
        {"builtin 1 " + (dir_ / "fifo").string(), (dir_ / "fifo").string() + ": it is a pipe (FIFO)"},
        {"builtin 1 " + (dir_ / "out").string(),
         (dir_ / "out").string() + ": it is a symbolic link to a pipe (FIFO), not to a regular file"},
    };
    if (node) cases.push_back({"builtin 2 " + (dir_ / "node").string(), (dir_ / "node").string() + ": it is a device"});
    for (const Case& c : cases) {
        // `timeout` ends a run that would block on the FIFO (status 124); standard output
        // is a pipe, the status nivractl's.
        const Result r = nivra::testing::runCommand(
            "bash -c 'set -o pipefail; timeout 20 " + std::string(NIVRACTL_BIN) + " " + c.args + " | cat'", dir_);
        EXPECT_EQ(r.status, 1) << c.args;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << c.args << ": " << r.err;
    }
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(fs::status(dir_ / "fifo").type(), fs::file_type::fifo);
    if (node) {
        EXPECT_EQ(fs::status(dir_ / "node").type(), fs::file_type::character);
    }
    EXPECT_EQ(fs::read_symlink(dir_ / "out"), "/proc/self/fd/1");
}

TEST_F(NivractlImage, DashWritesTheImageToStandardOutput) {
    const Result r = run("builtin 2 -");
    ASSERT_EQ(r.status, 0) << r.err;
    const nivra::Image& img = nivra::builtinImage(2);
    EXPECT_EQ(r.out, std::string(img.begin(), img.end()));
    EXPECT_FALSE(fs::exists(dir_ / "-"));
}

}  // namespace
