// The one parser of the device options, shared by nivra-configurator and nivractl.
#include <gtest/gtest.h>

#include "device/session.h"

namespace nivra {
namespace {

struct Parsed {
    std::vector<DeviceOption> results;
    SessionOptions options;
    std::string error;
};

Parsed parseAll(std::vector<std::string> args) {
    Parsed p;
    for (std::size_t i = 0; i < args.size(); ++i) {
        p.results.push_back(parseDeviceOption(args, i, p.options, &p.error));
        if (p.results.back() != DeviceOption::Taken) break;
    }
    return p;
}

TEST(DeviceOptions, SimulateAndTraceInBothForms) {
    Parsed p = parseAll({"--simulate=/tmp/m.bin", "--trace", "t.txt"});
    EXPECT_EQ(p.results, (std::vector<DeviceOption>{DeviceOption::Taken, DeviceOption::Taken}));
    EXPECT_TRUE(p.options.simulate);
    EXPECT_EQ(p.options.simulateFile, "/tmp/m.bin");
    EXPECT_EQ(p.options.traceFile, "t.txt");

    p = parseAll({"--simulate", "--trace=u.txt"});
    EXPECT_TRUE(p.options.simulate);
    EXPECT_TRUE(p.options.simulateFile.empty());
    EXPECT_EQ(p.options.traceFile, "u.txt");
}

TEST(DeviceOptions, OtherWordsAreLeftToTheProgramAndMissingNamesAreErrors) {
    EXPECT_EQ(parseAll({"save", "F.bin"}).results, std::vector<DeviceOption>{DeviceOption::NotMine});
    EXPECT_EQ(parseAll({"--language", "3"}).results, std::vector<DeviceOption>{DeviceOption::NotMine});
    for (const char* bad : {"--trace", "--simulate=", "--trace="}) {
        const Parsed p = parseAll({bad});
        EXPECT_EQ(p.results, std::vector<DeviceOption>{DeviceOption::Error}) << bad;
        EXPECT_FALSE(p.error.empty()) << bad;
    }
}

TEST(DeviceOptions, SimulatedFaultsAreRepeatableAndChecked) {
    const Parsed p = parseAll({"--simulate", "--simulate-fault", "refuse-set@3", "--simulate-fault=vanish-return@120"});
    ASSERT_EQ(p.options.faults.size(), 2u);
    EXPECT_EQ(p.options.faults[0].kind, ReportFaultKind::RefuseSet);
    EXPECT_EQ(p.options.faults[0].at, 3u);
    EXPECT_EQ(p.options.faults[1].kind, ReportFaultKind::VanishReturn);
    EXPECT_EQ(p.options.faults[1].at, 120u);
    for (const char* bad : {"refuse-set", "refuse-set@0", "fail@3", "vanish@x", "vanish@"}) {
        const Parsed q = parseAll({"--simulate-fault", bad});
        EXPECT_EQ(q.results, std::vector<DeviceOption>{DeviceOption::Error}) << bad;
        EXPECT_FALSE(q.error.empty()) << bad;
    }
    EXPECT_EQ(parseAll({"--simulate-fault"}).results, std::vector<DeviceOption>{DeviceOption::Error});
}

}  // namespace
}  // namespace nivra
