// The simulated mouse as the firmware behaves: its interfaces, restart, profile re-selection
// and its memory file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "device/session.h"
#include "files/file_bytes.h"
#include "tests/device/support.h"

namespace nivra {
namespace {

using test::LinkRig;

TEST(SimulatedMouse, PresentsTwoInterfacesAndThePcsOtherDevices) {
    VirtualClock clock;
    SimulatedMouse mouse(clock, test::mouseImage());
    auto all = mouse.enumerate();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].path, SimulatedMouse::kPointerPath);
    EXPECT_EQ(all[0].featureReportLength, 2u);
    EXPECT_EQ(all[1].path, SimulatedMouse::kVendorPath);
    EXPECT_EQ(all[1].featureReportLength, 8u);
    EXPECT_EQ(all[1].inputReportLength, 8u);
    for (const auto& i : all) EXPECT_EQ(i.vendorId << 16 | i.productId, 0x1BCF08B8u);

    const std::string kbd = mouse.addOtherDevice(0x046D, 0xC31C);
    EXPECT_EQ(mouse.count(), 3u);
    auto handle = mouse.open(kbd);
    ASSERT_NE(handle, nullptr);
    protocol::Report r = protocol::dataRequest();
    EXPECT_FALSE(handle->getFeature(r));   // answers no vendor reports
    mouse.removeOtherDevice(kbd);
    EXPECT_EQ(mouse.count(), 2u);
    EXPECT_EQ(mouse.open(kbd), nullptr);
}

TEST(SimulatedMouse, RestartIsGoneThenBackWithTheIdsOfItsMemory) {
    LinkRig rig;
    rig.mouse.setRestartDowntime(Clock::Duration(4000));
    // New USB IDs written with a valid vendor check byte take effect at the restart.
    Image image = test::mouseImage();
    image[0] = 0x12, image[1] = 0x34, image[2] = 0x56, image[3] = 0x78;
    image[163] = sectionCheckByte(std::span<const std::uint8_t>(image.data(), 164));
    ASSERT_TRUE(rig.link.WriteBlock(0, 2048, image));
    EXPECT_EQ(rig.mouse.vendorId(), 0x1BCF);
    ASSERT_TRUE(rig.link.SendCommand(0x0E));
    EXPECT_EQ(rig.mouse.restartCount(), 1);
    EXPECT_TRUE(rig.mouse.enumerate().empty());
    rig.clock.advance(Clock::Duration(3990));
    EXPECT_FALSE(rig.mouse.present());
    rig.clock.advance(Clock::Duration(10));
    ASSERT_TRUE(rig.mouse.present());
    EXPECT_EQ(rig.mouse.enumerate()[1].vendorId, 0x1234);
    EXPECT_EQ(rig.mouse.enumerate()[1].productId, 0x5678);

    // An erased vendor section falls back to the default IDs.
    auto h = std::shared_ptr<HidHandle>(rig.mouse.open(SimulatedMouse::kVendorPath));
    rig.link.setHandles(h, h);
    Image erased;
    erased.fill(0xFF);
    ASSERT_TRUE(rig.link.WriteBlock(0, 2048, erased));
    ASSERT_TRUE(rig.link.SendCommand(0x0E));
    rig.clock.advance(Clock::Duration(4000));
    EXPECT_EQ(rig.mouse.vendorId(), 0x1BCF);
    EXPECT_EQ(rig.mouse.productId(), 0x08B8);
}

TEST(SimulatedMouse, ProfileByteRewriteReselectsTheProfile) {
    LinkRig rig;
    ASSERT_EQ(rig.mouse.activeProfile(), 2);   // mode byte 0x7F of the test memory: low nibble 15, clamped
    ASSERT_TRUE(rig.link.SetBytes(164, 0x01, 0, 0, 1));
    EXPECT_EQ(rig.mouse.activeProfile(), 2);   // a plain write does not re-select
    ASSERT_TRUE(rig.link.SetBytes(164, 0x0F, 0, 0, 1));
    ASSERT_TRUE(rig.link.SetBytes(164, 0x41, 0, 0, 1));
    EXPECT_EQ(rig.mouse.activeProfile(), 1);
    EXPECT_EQ(rig.mouse.memory()[164], 0x41);
}

TEST(SimulatedMouse, MemoryFileRoundTripAndRefusal) {
    // The memory file as the programs use it: loaded when the session opens, saved back
    // atomically when it closes, refused (and left alone) when it is not a 2048-byte image.
    const auto dir = std::filesystem::temp_directory_path() / ("nivra-sim-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "mouse.bin").string();
    SessionOptions options;
    options.simulate = true;
    options.simulateFile = file;
    options.initialMemory = test::mouseImage();
    std::string error;
    Image changed = test::mouseImage();
    changed[1000] = 0x42;
    {
        auto session = DeviceSession::open(options, diskFiles(), &error);  // no file yet: a fresh mouse
        ASSERT_TRUE(session) << error;
        EXPECT_EQ(session->simulatedMouse()->memory(), test::mouseImage());
        session->simulatedMouse()->setMemory(changed);
        ASSERT_TRUE(session->close(&error)) << error;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
    {
        auto session = DeviceSession::open(options, diskFiles(), &error);
        ASSERT_TRUE(session) << error;
        EXPECT_EQ(session->simulatedMouse()->memory(), changed);
    }

    std::ofstream(dir / "short.bin", std::ios::binary) << "too short";
    std::ofstream(dir / "long.bin", std::ios::binary) << std::string(2049, 'x');
    const struct {
        std::filesystem::path path;
        const char* says;
    } refused[] = {{dir / "short.bin", "not 2048"}, {dir / "long.bin", "is longer than 2048 bytes"},
                   {dir, "cannot read"}};  // a folder: a failed read, not an exception
    for (const auto& c : refused) {
        options.simulateFile = c.path.string();
        error.clear();
        EXPECT_FALSE(DeviceSession::open(options, diskFiles(), &error)) << c.path;
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
    EXPECT_EQ(std::filesystem::file_size(dir / "short.bin"), 9u);  // not overwritten by a fresh memory

    VirtualClock clock;
    SimulatedMouse other(clock, changed);
    EXPECT_FALSE(other.loadMemory(std::vector<std::uint8_t>(kImageSize - 1, 0), &error));
    EXPECT_EQ(other.memory(), changed);
    std::filesystem::remove_all(dir);
}

TEST(SimulatedMouse, ReportFaultsFallOnTheReportNumberedOrTheNextThatFits) {
    // A block read of 14 bytes is reports 1 (SET) and 2, 3 (GET): a refused send asked for
    // at report 2 falls on the next send, report 4; a failed read at 2 loses that answer only.
    LinkRig rig;
    rig.mouse.addReportFault({ReportFaultKind::FailGet, 2});
    rig.mouse.addReportFault({ReportFaultKind::RefuseSet, 2});
    std::array<std::uint8_t, 14> buf{};
    const ReadResult r = rig.link.ReadBlock(0, 14, buf);
    EXPECT_TRUE(r.accepted);
    EXPECT_EQ(r.failedReports, 1u);
    EXPECT_EQ(buf[7], test::mouseImage()[7]) << "the answer after the lost one is its own";
    EXPECT_FALSE(rig.link.SetBytes(200, 1, 0, 0, 1)) << "report 4: the refused send";
    EXPECT_TRUE(rig.link.SetBytes(200, 1, 0, 0, 1));
    EXPECT_EQ(rig.mouse.runReportCount(), 5u);
    const auto lines = rig.trace->lines();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(lines[1].ends_with(" FAIL"));
    EXPECT_TRUE(lines[3].ends_with(" FAIL"));

    // vanish: gone for good; vanish-return: back at the next enumeration.
    for (ReportFaultKind kind : {ReportFaultKind::Vanish, ReportFaultKind::VanishReturn}) {
        LinkRig v;
        v.mouse.addReportFault({kind, 1});
        EXPECT_FALSE(v.link.SetBytes(200, 1, 0, 0, 1));
        EXPECT_FALSE(v.mouse.present());
        v.transport->enumerate();
        EXPECT_EQ(v.mouse.present(), kind == ReportFaultKind::VanishReturn) << reportFaultName(kind);
    }
}

}  // namespace
}  // namespace nivra
