// `nivractl devices`, `descriptor` and `info` run as processes on the simulated mouse:
// outputs, exit statuses, the trace file and the memory file written back.
#include "tests/support/run_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "image/builtin.h"

namespace {

namespace fs = std::filesystem;

using Result = nivra::testing::CommandResult;
using nivra::testing::readText;

class NivractlDevice : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(tmp_.path().empty());
        dir_ = tmp_.path();
    }

    Result run(const std::string& args) const {
        return nivra::testing::runCommand(std::string(NIVRACTL_BIN) + " " + args, dir_);
    }

    fs::path memoryFile(std::uint8_t manufacturer, std::uint8_t product) const {
        nivra::Image m = nivra::builtinImage(1);
        m[484] = manufacturer;
        m[485] = product;
        const fs::path p = dir_ / "mouse.bin";
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(m.data()), m.size());
        return p;
    }

    nivra::testing::TempDir tmp_;
    fs::path dir_;
};

TEST_F(NivractlDevice, DevicesListsBothInterfacesOfTheSimulatedMouse) {
    const Result r = run("--simulate devices");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "sim:mouse/pointer 1BCF:08B8 feature=2 input=7\n"
              "sim:mouse/vendor 1BCF:08B8 feature=8 input=8\n");
}

TEST_F(NivractlDevice, DescriptorMeasuresFilesAndRefusesMalformedOnes) {
    const std::string data = std::string(NIVRA_TEST_DATA) + "/device/";
    Result r = run("descriptor " + data + "keyboard_ids.bin");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "feature=17 input=15 output=2\n"
              "collection 1 usage=0001:0006 input=9 output=2 feature=0\n"
              "collection 2 usage=0001:0006 input=15 output=0 feature=0\n"
              "collection 3 usage=000C:0001 input=3 output=0 feature=0\n"
              "collection 4 usage=FF00:0001 input=0 output=0 feature=17\n"
              "does not qualify\n");

    // The mouse's vendor collection beside a keyboard whose feature report is longer.
    r = run("descriptor " + data + "vendor_beside_keyboard.bin");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "feature=17 input=9 output=2\n"
              "collection 1 usage=0001:0006 input=9 output=2 feature=17\n"
              "collection 2 usage=FF00:0001 input=8 output=0 feature=8\n"
              "qualifies\n");

    // A malformed descriptor (cut inside its collection) and one without a collection
    // describe no interface: a failure, not lengths of zero.
    std::ofstream(dir_ / "cut.bin", std::ios::binary) << std::string("\x05\x01\x09\x02\xA1\x01\x75", 7);
    std::ofstream(dir_ / "bare.bin", std::ios::binary) << std::string("\x05\x01\x09\x02", 4);
    for (const char* name : {"cut.bin", "bare.bin"}) {
        r = run("descriptor " + (dir_ / name).string());
        EXPECT_EQ(r.status, 1) << name;
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find((dir_ / name).string() + " is no report descriptor"), std::string::npos) << r.err;
    }

    for (const fs::path& unreadable : {dir_ / "missing.bin", dir_}) {
        r = run("descriptor " + unreadable.string());
        EXPECT_EQ(r.status, 1) << unreadable;
        EXPECT_NE(r.err.find("cannot read"), std::string::npos) << unreadable;
    }
    // A file without end is no file: refused before it is read.
    r = run("descriptor /dev/zero");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("/dev/zero: it is a device, not a regular file"), std::string::npos) << r.err;
    std::ofstream(dir_ / "huge.bin", std::ios::binary) << std::string(65536, '\0');
    r = run("descriptor " + (dir_ / "huge.bin").string());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("longer than a report descriptor"), std::string::npos) << r.err;
}

TEST_F(NivractlDevice, InfoIdentifiesAndChecksTheMouseWithATrace) {
    const fs::path trace = dir_ / "info.trace";
    const Result r = run("--simulate --trace " + trace.string() + " info");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "path: sim:mouse/vendor\n"
              "device: 1BCF:08B8\n"
              "memory type: I2C\n"
              "manufacturer id: 255\n"
              "product id: 255\n");
    // The open's identify, the identify of the check, then the 12-byte identity block at 484.
    const std::string expected =
        "SET 40 0D 00 00 00 00 00 00\n"
        "GET 41 10 3A C0 00 00 00 00\n"
        "SET 40 0D 00 00 00 00 00 00\n"
        "GET 41 10 3A C0 00 00 00 00\n"
        "SET 40 09 01 E4 00 0C 00 00\n";
    EXPECT_EQ(readText(trace).substr(0, expected.size()), expected);
}

TEST_F(NivractlDevice, InfoRefusesForeignIdsAndKeepsTheMemoryFile) {
    const fs::path mem = memoryFile(0x12, 0x34);
    const std::string before = readText(mem);
    Result r = run("--simulate=" + mem.string() + " info");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("manufacturer id: 18\nproduct id: 52\n"), std::string::npos);
    EXPECT_NE(r.err.find("The mouse manufacturer or product id error"), std::string::npos) << r.err;
    EXPECT_TRUE(readText(mem) == before);

    // 0/0 is accepted through the reserve IDs.
    memoryFile(0, 0);
    r = run("--simulate=" + mem.string() + " info");
    EXPECT_EQ(r.status, 0) << r.err;
}

TEST_F(NivractlDevice, SimulateFileIsCreatedFromBuiltinImage1OrRefusedWhenBroken) {
    const fs::path fresh = dir_ / "fresh.bin";
    Result r = run("--simulate=" + fresh.string() + " info");
    EXPECT_EQ(r.status, 0) << r.err;
    const nivra::Image& image1 = nivra::builtinImage(1);
    EXPECT_TRUE(readText(fresh) == std::string(image1.begin(), image1.end()));

    std::ofstream(dir_ / "short.bin", std::ios::binary) << "short";
    r = run("--simulate=" + (dir_ / "short.bin").string() + " info");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("not 2048"), std::string::npos) << r.err;
    EXPECT_EQ(readText(dir_ / "short.bin"), "short");   // a file that failed to load is not overwritten

    // A folder named as the memory file: a message, not an abort.
    r = run("--simulate=" + dir_.string() + " info");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot read"), std::string::npos) << r.err;
}

}  // namespace
