// The link's operations, byte for byte, against a trace of the simulated mouse; and how they
// fail: invalid handles, refused commands, failed reads, a mouse vanishing mid-exchange.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "tests/device/support.h"

namespace nivra {
namespace {

using test::LinkRig;

std::vector<std::string> readTrace(const std::string& name) {
    std::ifstream in(std::string(NIVRA_TEST_DATA) + "/device/trace/" + name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    }
    return lines;
}

struct TraceCase {
    const char* file;
    std::function<bool(Link&)> run;
};

// The edge cases of the protocol, each with the exact reports it must produce. The mouse
// memory is test::mouseImage(), so the replies in the files are its bytes.
const TraceCase kTraceCases[] = {
    {"block_read_1_at_164.trace",
     [](Link& l) { std::array<std::uint8_t, 1> b{}; return l.ReadBlock(164, 1, b).accepted; }},
    {"block_write_12_at_484.trace",
     [](Link& l) {
         const std::array<std::uint8_t, 12> d{0x00, 0x00, 0x02, 0x00, 0x3C, 0x04, 0x00, 0x3C, 0x07, 0x00, 0x3C, 0xE0};
         return l.WriteBlock(484, 12, d);
     }},
    {"block_write_147_at_192.trace",
     [](Link& l) {
         std::array<std::uint8_t, 147> d{};
         for (std::size_t i = 0; i < d.size(); ++i) d[i] = static_cast<std::uint8_t>(i);
         return l.WriteBlock(192, 147, d);
     }},
    {"get_bytes_28_at_164.trace",
     [](Link& l) { std::array<std::uint8_t, 28> b{}; return l.GetBytes(164, 28, b).accepted; }},
    {"set_byte_15_at_164.trace", [](Link& l) { return l.SetBytes(164, 0x0F, 0, 0, 1); }},
    {"set_colour_1_red.trace", [](Link& l) { return l.SetBytes(0x39, 0xFF, 0x80, 0x00, 3); }},
    {"set_16bit_at_48.trace", [](Link& l) { return l.SetBytes(48, 0x01, 0x2C, 0, 2); }},
    {"set_combo_key_3.trace", [](Link& l) { return l.SetBytes4(135, 0x08, 0x01, 0x00, 0x00); }},
    {"xdata_write_7241.trace", [](Link& l) { return l.SendCommand(0x01, 0x72, 0x41, 0x01); }},
    {"xdata_read_7241.trace",
     [](Link& l) {
         if (!l.SendCommand(0x01, 0x72, 0x41, 0x5A) || !l.SendCommand(0x02, 0x72, 0x41, 0x00, 0x01)) return false;
         l.ReadData();
         return l.reply()[0] == 0x5A;
     }},
    {"set_user_section_chunked.trace",
     [](Link& l) {
         std::array<std::uint8_t, 28> d{};
         for (std::size_t i = 0; i < d.size(); ++i) d[i] = static_cast<std::uint8_t>(0xA0 + i);
         return l.SetBytesChunked(164, d);
     }},
};

TEST(LinkTrace, OperationsSendTheExactReports) {
    for (const TraceCase& c : kTraceCases) {
        LinkRig rig;
        EXPECT_TRUE(c.run(rig.link)) << c.file;
        const std::vector<std::string> expected = readTrace(c.file);
        ASSERT_FALSE(expected.empty()) << c.file;
        EXPECT_EQ(rig.trace->lines(), expected) << c.file;
    }
}

TEST(LinkTrace, WritesAndReadsReachTheMouseMemory) {
    LinkRig rig;
    std::array<std::uint8_t, 147> profiles{};
    for (std::size_t i = 0; i < profiles.size(); ++i) profiles[i] = static_cast<std::uint8_t>(0xFF - i);
    ASSERT_TRUE(rig.link.WriteBlock(192, 147, profiles));
    ASSERT_TRUE(rig.link.SetBytes4(135, 0x08, 0x01, 0x00, 0x00));
    ASSERT_TRUE(rig.link.SetBytes(0x39, 0xFF, 0x80, 0x00, 3));
    ASSERT_TRUE(rig.link.SendCommand(0x01, 0x72, 0x41, 0x01));

    Image expected = test::mouseImage();
    std::copy(profiles.begin(), profiles.end(), expected.begin() + 192);
    expected[135] = 0x08, expected[136] = 0x01, expected[137] = 0x00, expected[138] = 0x00;
    expected[0x39] = 0xFF, expected[0x3A] = 0x80, expected[0x3B] = 0x00;
    // The mouse keeps the check byte of the vendor section it changed valid.
    expected[163] = sectionCheckByte(std::span<const std::uint8_t>(expected.data(), 164));
    EXPECT_EQ(rig.mouse.memory(), expected);
    EXPECT_EQ(rig.mouse.xdata(0x7241), 0x01);

    // The whole image: one command and 293 data reports, the last with 4 significant bytes.
    rig.trace->clearLines();
    Image read{};
    ASSERT_TRUE(rig.link.ReadBlock(0, 2048, read, Splash::With));
    EXPECT_EQ(read, expected);
    EXPECT_EQ(rig.trace->lines().size(), 1u + 293u);
    EXPECT_EQ(rig.trace->lines().front(), "SET 40 09 00 00 08 00 00 00");

    // XDATA read: the value is reply byte 1.
    ASSERT_TRUE(rig.link.SendCommand(0x02, 0x72, 0x41, 0x00, 0x01));
    rig.link.ReadData();
    EXPECT_EQ(rig.link.reply()[0], 0x01);
}

TEST(LinkTrace, ChunkedSectionWritesUseThreeBytesPerReport) {
    for (Region r : {region::kVendor, region::kUser}) {
        LinkRig rig;
        Image image = test::mouseImage();
        for (std::size_t i = r.offset; i < r.end(); ++i) image[i] = static_cast<std::uint8_t>(~image[i]);
        ASSERT_TRUE(rig.link.SetBytesChunked(static_cast<std::uint8_t>(r.offset),
                                             std::span(image).subspan(r.offset, r.length)));
        const auto lines = rig.trace->lines();
        ASSERT_EQ(lines.size(), r.length == 164 ? 55u : 10u);
        // The last report carries the remainder as its count: 2 for the vendor, 1 for the user section.
        EXPECT_EQ(lines.back().substr(lines.back().size() - 2), r.length == 164 ? "02" : "01");
        // The section's bytes as sent; its check byte as the mouse keeps it, valid.
        image[r.end() - 1] = sectionCheckByte(std::span<const std::uint8_t>(image.data() + r.offset, r.length));
        EXPECT_EQ(rig.mouse.memory(), image);
    }
}

TEST(LinkFailure, ReadsWhoseDataReportsFailReturnTrueAndLeaveFF) {
    LinkRig rig;
    rig.mouse.failDataReads(true);
    std::array<std::uint8_t, 14> block{};
    std::array<std::uint8_t, 28> user{};
    EXPECT_TRUE(rig.link.ReadBlock(0, 14, block));
    EXPECT_TRUE(rig.link.GetBytes(164, 28, user));
    for (std::uint8_t b : block) EXPECT_EQ(b, 0xFF);
    for (std::uint8_t b : user) EXPECT_EQ(b, 0xFF);
    const std::vector<std::string> expected = {
        "SET 40 09 00 00 00 0E 00 00",
        "GET 41 00 00 00 00 00 00 00 FAIL",
        "GET 41 00 00 00 00 00 00 00 FAIL",
        "SET 40 06 00 A4 00 1C 00 00",
        "GET 41 00 00 00 00 00 00 00 FAIL",
        "GET 41 00 00 00 00 00 00 00 FAIL",
        "GET 41 00 00 00 00 00 00 00 FAIL",
        "GET 41 00 00 00 00 00 00 00 FAIL",
    };
    EXPECT_EQ(rig.trace->lines(), expected);

    // With the splash the buffer is not pre-filled, but every failed report still puts 0xFF there.
    Image image{};
    EXPECT_TRUE(rig.link.ReadBlock(0, 2048, image, Splash::With));
    for (std::uint8_t b : image) ASSERT_EQ(b, 0xFF);
}

TEST(LinkFailure, RefusedCommandSendsNoDataReports) {
    LinkRig rig;
    rig.mouse.refuseCommandReports(true);
    std::array<std::uint8_t, 12> d{};
    EXPECT_FALSE(rig.link.WriteBlock(484, 12, d));
    EXPECT_FALSE(rig.link.ReadBlock(484, 12, d));
    EXPECT_FALSE(rig.link.SetBytes(164, 1, 0, 0, 1));
    std::array<std::uint8_t, 6> vendor{1, 2, 3, 4, 5, 6};
    EXPECT_FALSE(rig.link.SetBytesChunked(0, vendor));   // stops at the first refusal
    const std::vector<std::string> expected = {
        "SET 40 07 01 E4 00 0C 00 00 FAIL",
        "SET 40 09 01 E4 00 0C 00 00 FAIL",
        "SET 40 05 00 A4 01 00 00 01 FAIL",
        "SET 40 05 00 00 01 02 03 03 FAIL",
    };
    EXPECT_EQ(rig.trace->lines(), expected);
    EXPECT_EQ(rig.mouse.memory(), test::mouseImage());
}

TEST(LinkFailure, InvalidHandlesSendNothingAndTouchOnlyThePreFill) {
    LinkRig rig;
    rig.link.clearHandles();
    std::array<std::uint8_t, 4> buf{1, 2, 3, 4};
    EXPECT_FALSE(rig.link.ReadBlock(0, 4, buf, Splash::With));
    EXPECT_EQ(buf, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
    EXPECT_FALSE(rig.link.ReadBlock(0, 3, buf));
    EXPECT_EQ(buf, (std::array<std::uint8_t, 4>{0xFF, 0xFF, 0xFF, 4}));
    buf = {1, 2, 3, 4};
    EXPECT_FALSE(rig.link.GetBytes(0, 2, buf));
    EXPECT_EQ(buf, (std::array<std::uint8_t, 4>{0xFF, 0xFF, 3, 4}));
    EXPECT_FALSE(rig.link.SendCommand(0x0D));
    EXPECT_FALSE(rig.link.WriteData({}));
    EXPECT_FALSE(rig.link.SetBytesChunked(0, {}));
    EXPECT_FALSE(rig.link.SetBytes4(135, 1, 2, 3, 4));
    rig.link.ReadData();
    EXPECT_EQ(rig.link.reply(), (protocol::DataBytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(rig.trace->lines().empty());
}

TEST(LinkFailure, ShortBuffersAreRefusedBeforeAnythingIsSent) {
    LinkRig rig;
    std::array<std::uint8_t, 6> small{};
    EXPECT_FALSE(rig.link.ReadBlock(0, 7, small));
    EXPECT_FALSE(rig.link.GetBytes(0, 7, small));
    EXPECT_FALSE(rig.link.WriteBlock(0, 7, small));
    EXPECT_TRUE(rig.trace->lines().empty());
}

TEST(LinkFailure, MouseVanishingMidExchangeFailsQuietly) {
    LinkRig rig;
    rig.mouse.vanishAfterReports(3);   // the command and two data reports get through
    Image image{};
    EXPECT_TRUE(rig.link.ReadBlock(0, 2048, image));
    const Image memory = test::mouseImage();
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 14, memory.begin()));
    EXPECT_TRUE(std::all_of(image.begin() + 14, image.end(), [](std::uint8_t b) { return b == 0xFF; }));
    // The handle is dead now: the next operations fail at their command report.
    EXPECT_FALSE(rig.link.SetBytes(164, 1, 0, 0, 1));
    EXPECT_FALSE(rig.mouse.present());
}

class CountingSplash : public SplashHooks {
public:
    void showSplash() override {
        ++shown;
        if (duringShow) duringShow();
    }
    void hideSplash() override { ++hidden; }
    int shown = 0, hidden = 0;
    std::function<void()> duringShow;
};

TEST(LinkSplash, ShownAndHiddenAsEachOperationAsks) {
    struct Case {
        const char* what;
        std::function<void(Link&)> run;
        int shown, hidden;
    };
    std::array<std::uint8_t, 20> buf{};
    const Case cases[] = {
        {"set bytes", [](Link& l) { l.SetBytes(164, 1, 0, 0, 1); }, 1, 1},
        {"set bytes 4", [](Link& l) { l.SetBytes4(135, 1, 2, 3, 4); }, 1, 1},
        {"chunked, 7 bytes in 3 reports", [&](Link& l) { l.SetBytesChunked(0, std::span(buf).first(7)); }, 3, 0},
        {"block write of 20 in 3 reports", [&](Link& l) { l.WriteBlock(192, 20, buf); }, 3, 0},
        {"block read with splash", [&](Link& l) { l.ReadBlock(192, 20, buf, Splash::With); }, 3, 0},
        {"block read without", [&](Link& l) { l.ReadBlock(192, 20, buf); }, 0, 0},
        {"get bytes", [&](Link& l) { l.GetBytes(164, 20, buf); }, 0, 0},
    };
    for (const Case& c : cases) {
        LinkRig rig;
        CountingSplash splash;
        rig.link.setSplashHooks(&splash);
        c.run(rig.link);
        EXPECT_EQ(splash.shown, c.shown) << c.what;
        EXPECT_EQ(splash.hidden, c.hidden) << c.what;
    }
}

TEST(LinkSplash, OperationStartedWhileTheUiRepaintsMidExchangeIsRefused) {
    LinkRig rig;
    CountingSplash splash;
    bool nestedResult = true;
    bool fired = false;
    // A UI event handled during the repaint tries a live write between two data reports.
    splash.duringShow = [&] {
        if (fired) return;
        fired = true;
        nestedResult = rig.link.SetBytes(164, 2, 0, 0, 1);
    };
    rig.link.setSplashHooks(&splash);
    std::array<std::uint8_t, 14> d{};
    ASSERT_TRUE(rig.link.WriteBlock(192, 14, d));
    EXPECT_FALSE(nestedResult);
    const std::vector<std::string> expected = {
        "SET 40 07 00 C0 00 0E 00 00",
        "SET 41 00 00 00 00 00 00 00",
        "SET 41 00 00 00 00 00 00 00",
    };
    EXPECT_EQ(rig.trace->lines(), expected);

    // Between operations the same live write goes through.
    EXPECT_TRUE(rig.link.SetBytes(164, 2, 0, 0, 1));
}

TEST(ReportTraceFormat, LinesAreUpperCaseHexWithFailMark) {
    const std::array<std::uint8_t, 3> r{0x42, 0x0a, 0xff};
    EXPECT_EQ(traceLine(TraceKind::In, r, true), "IN 42 0A FF");
    EXPECT_EQ(traceLine(TraceKind::Set, r, false), "SET 42 0A FF FAIL");
}

}  // namespace
}  // namespace nivra
