// The shipped udev rule grants access to the mouse the program looks for.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "image/builtin.h"

namespace nivra {
namespace {

TEST(UdevRule, TagsTheHidrawNodesOfTheBuiltinMouseForTheSeatUser) {
    std::ifstream in(std::string(NIVRA_SOURCE_DIR) + "/packaging/70-nivra-mouse.rules");
    ASSERT_TRUE(in);
    const DeviceIdentity id = builtinIdentity();
    char vid[5], pid[5];
    std::snprintf(vid, sizeof vid, "%04x", id.vid);
    std::snprintf(pid, sizeof pid, "%04x", id.pid);
    int rules = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        ++rules;
        EXPECT_NE(line.find("SUBSYSTEM==\"hidraw\""), std::string::npos) << line;
        EXPECT_NE(line.find(std::string("ATTRS{idVendor}==\"") + vid + "\""), std::string::npos) << line;
        EXPECT_NE(line.find(std::string("ATTRS{idProduct}==\"") + pid + "\""), std::string::npos) << line;
        EXPECT_NE(line.find("TAG+=\"uaccess\""), std::string::npos) << line;
    }
    EXPECT_EQ(rules, 1);
}

}  // namespace
}  // namespace nivra
