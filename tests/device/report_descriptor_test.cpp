// Report lengths measured from real mouse and keyboard descriptors, and malformed ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "device/hidapi_transport.h"
#include "device/report_descriptor.h"
#include "device/simulated_mouse.h"
#include "files/file_bytes.h"

namespace nivra {
namespace {

std::vector<std::uint8_t> readData(const std::string& name) {
    std::ifstream in(std::string(NIVRA_TEST_DATA) + "/device/" + name, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct DescriptorCase {
    const char* file;
    ReportLengths expected;   // input, output, feature
};

const DescriptorCase kRealDescriptors[] = {
    // No report IDs: the length still counts the report ID byte.
    {"boot_mouse.bin", {4, 0, 0}},
    {"boot_keyboard.bin", {9, 2, 0}},
    {"vendor_no_ids.bin", {33, 0, 8}},
    // Report IDs: the largest report of each kind wins.
    {"gaming_mouse_ids.bin", {32, 32, 64}},
    {"keyboard_ids.bin", {15, 2, 17}},
    // The mouse's vendor collection beside a keyboard with a 16-byte feature report.
    {"vendor_beside_keyboard.bin", {9, 2, 17}},
};

TEST(ReportDescriptor, RealDescriptorsGiveTheLargestReportPlusTheIdByte) {
    for (const DescriptorCase& c : kRealDescriptors) {
        const std::vector<std::uint8_t> d = readData(c.file);
        ASSERT_FALSE(d.empty()) << c.file;
        const ReportLengths got = measureReportDescriptor(d);
        EXPECT_EQ(got.input, c.expected.input) << c.file;
        EXPECT_EQ(got.output, c.expected.output) << c.file;
        EXPECT_EQ(got.feature, c.expected.feature) << c.file;
    }
}

TEST(ReportDescriptor, EachTopLevelCollectionIsMeasuredOnItsOwn) {
    struct Case {
        const char* file;
        std::vector<CollectionLengths> expected;   // usage page, usage, {input, output, feature}
    };
    const Case cases[] = {
        {"boot_mouse.bin", {{0x0001, 0x0002, {4, 0, 0}}}},
        {"vendor_no_ids.bin", {{0xFF00, 0x0001, {33, 0, 8}}}},
        // The node's 17-byte feature report is the keyboard's; the vendor collection's is 8.
        {"vendor_beside_keyboard.bin", {{0x0001, 0x0006, {9, 2, 17}}, {0xFF00, 0x0001, {8, 0, 8}}}},
        {"gaming_mouse_ids.bin",
         {{0x0001, 0x0002, {9, 0, 0}},
          {0x000C, 0x0001, {3, 0, 0}},
          {0x0001, 0x0080, {2, 0, 0}},
          {0xFF01, 0x0001, {32, 32, 64}}}},
        {"keyboard_ids.bin",
         {{0x0001, 0x0006, {9, 2, 0}},
          {0x0001, 0x0006, {15, 0, 0}},
          {0x000C, 0x0001, {3, 0, 0}},
          {0xFF00, 0x0001, {0, 0, 17}}}},
    };
    for (const Case& c : cases) {
        const std::vector<std::uint8_t> d = readData(c.file);
        const DescriptorLengths got = measureCollections(d);
        EXPECT_EQ(got.whole, measureReportDescriptor(d)) << c.file;
        EXPECT_EQ(got.collections, c.expected) << c.file;
    }
}

TEST(ReportDescriptor, CollectionUsagesAndItemsOutsideCollections) {
    // A 4-byte usage names its own page; a nested collection adds to its top-level one;
    // a report item outside every collection counts for the node only; a malformed
    // descriptor has no collections.
    const std::vector<std::uint8_t> d = {
        0x75, 0x08, 0x95, 0x03, 0xB1, 0x02,                      // feature of 3 bytes, outside
        0x0B, 0x01, 0x00, 0x0C, 0x00, 0xA1, 0x01,                // Usage (000C:0001), Collection
        0x95, 0x02, 0x81, 0x02,                                  //   input of 2 bytes
        0xA1, 0x00, 0x95, 0x07, 0xB1, 0x02, 0xC0,                //   nested: feature of 7 bytes
        0xC0,
        0x06, 0x00, 0xFF, 0xA1, 0x01, 0x95, 0x01, 0x91, 0x02, 0xC0,  // no usage: page only
    };
    const DescriptorLengths got = measureCollections(d);
    EXPECT_EQ(got.whole, (ReportLengths{3, 2, 11}));
    EXPECT_EQ(got.collections, (std::vector<CollectionLengths>{{0x000C, 0x0001, {3, 0, 8}}, {0xFF00, 0x0000, {0, 2, 0}}}));
    EXPECT_TRUE(measureCollections(std::span(d).first(d.size() - 1)).collections.empty());
}

TEST(ReportDescriptor, SimulatedInterfacesMeasureLikeTheMouse) {
    EXPECT_EQ(measureReportDescriptor(SimulatedMouse::vendorDescriptor()), (ReportLengths{8, 0, 8}));
    // The ordinary mouse interface: feature length 2, which the device search skips.
    EXPECT_EQ(measureReportDescriptor(SimulatedMouse::pointerDescriptor()), (ReportLengths{7, 0, 2}));
}

TEST(ReportDescriptor, MalformedDescriptorsGiveZeroLengths) {
    struct Case {
        const char* what;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"item data cut short", {0x06, 0x00}},
        {"collection never closed", {0xA1, 0x01, 0x75, 0x08, 0x95, 0x07, 0xB1, 0x02}},
        {"end collection without collection", {0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0}},
        {"pop without push", {0xA1, 0x01, 0xB4, 0xC0}},
        {"report ID 0", {0xA1, 0x01, 0x85, 0x00, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0}},
        {"report ID above 255", {0xA1, 0x01, 0x86, 0x00, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0xC0}},
        {"reserved item type", {0xA1, 0x01, 0x0C, 0xC0}},
        {"unknown main item", {0xA1, 0x01, 0xD0, 0xC0}},
        {"long item cut short", {0xFE, 0x05, 0x10, 0x01}},
        {"report without ID next to one with ID",
         {0xA1, 0x01, 0x75, 0x08, 0x95, 0x01, 0x81, 0x02, 0x85, 0x01, 0x81, 0x02, 0xC0}},
        {"absurd report count", {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0xC0}},
    };
    for (const Case& c : cases) EXPECT_EQ(measureReportDescriptor(c.bytes), ReportLengths{}) << c.what;
}

TEST(ReportDescriptor, EveryTruncationOfARealDescriptorIsRejectedOrSmaller) {
    // Cut anywhere, a descriptor is either refused (an open collection or a cut item) or, when
    // the cut falls between complete top-level collections, measures no more than the whole.
    for (const DescriptorCase& c : kRealDescriptors) {
        const std::vector<std::uint8_t> d = readData(c.file);
        for (std::size_t n = 0; n < d.size(); ++n) {
            const ReportLengths got = measureReportDescriptor(std::span(d).first(n));
            EXPECT_LE(got.input, c.expected.input) << c.file << " cut at " << n;
            EXPECT_LE(got.output, c.expected.output) << c.file << " cut at " << n;
            EXPECT_LE(got.feature, c.expected.feature) << c.file << " cut at " << n;
        }
        // Inside the first collection nothing is measured.
        EXPECT_EQ(measureReportDescriptor(std::span(d).first(d.size() / 4)), ReportLengths{}) << c.file;
    }
}

TEST(ReportDescriptor, LongItemsAreSkipped) {
    const std::vector<std::uint8_t> d = {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0xA1, 0x01, 0x75, 0x08,
                                         0x95, 0x03, 0x81, 0x02, 0xC0};
    EXPECT_EQ(measureReportDescriptor(d), (ReportLengths{4, 0, 0}));
}

}  // namespace
}  // namespace nivra

namespace nivra {
namespace {

TEST(SysfsReportDescriptor, ReadFromTheHidrawNodesDeviceFolder) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("nivra-sysfs-" + std::to_string(::getpid()));
    fs::create_directories(root / "hidraw7" / "device");
    const std::vector<std::uint8_t> bytes = readData("boot_mouse.bin");
    std::ofstream(root / "hidraw7" / "device" / "report_descriptor", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    const auto got = readSysfsReportDescriptor("/dev/hidraw7", diskFiles(), root.string());
    EXPECT_EQ(std::vector<std::uint8_t>(got.begin(), got.end()), bytes);
    EXPECT_TRUE(readSysfsReportDescriptor("/dev/hidraw8", diskFiles(), root.string()).empty());
    // An attribute whose read fails (as one of a device unplugged meanwhile) gives no descriptor.
    fs::create_directories(root / "hidraw9" / "device" / "report_descriptor");
    EXPECT_TRUE(readSysfsReportDescriptor("/dev/hidraw9", diskFiles(), root.string()).empty());
    EXPECT_TRUE(readSysfsReportDescriptor("/dev/input/event3", diskFiles(), root.string()).empty());
    fs::remove_all(root);
}

}  // namespace
}  // namespace nivra
