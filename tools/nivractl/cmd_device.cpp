// nivractl commands on HID devices and the mouse: `devices` lists the PC's HID interfaces,
// `descriptor` measures a report descriptor file, `info` finds and checks the mouse.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "device/discovery.h"
#include "device/hidapi_transport.h"
#include "device/report_descriptor.h"
#include "device/session.h"
#include "files/file_bytes.h"
#include "image/builtin.h"
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"

namespace {

using namespace nivra;

using nivractl::english;
using nivractl::Result;

std::string hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFF);
    return buf;
}

std::unique_ptr<DeviceSession> openSession(const nivractl::Invocation& inv, std::string* error) {
    SessionOptions o;
    o.simulate = inv.global.simulate;
    o.simulateFile = inv.global.simulateFile;
    o.traceFile = inv.global.traceFile;
    o.initialMemory = builtinImage(1);
    return DeviceSession::open(o, diskFiles(), error);
}

// Ends a session: the simulated mouse's memory goes back to its file.
Result finish(DeviceSession& session, Result status) {
    std::string error;
    if (!session.close(&error)) return nivractl::andThen(std::move(status), nivractl::fail(error));
    return status;
}

Result runDevices(const nivractl::Invocation& inv) {
    if (!inv.args.empty()) return nivractl::usageError("devices");
    std::string error;
    auto session = openSession(inv, &error);
    if (!session) return nivractl::fail(error);
    for (const HidInterfaceInfo& i : session->transport().enumerate()) {
        std::cout << i.path << ' ' << hex4(i.vendorId) << ':' << hex4(i.productId) << " feature="
                  << i.featureReportLength << " input=" << i.inputReportLength << '\n';
    }
    return finish(*session, nivractl::ok());
}

Result runDescriptor(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("descriptor");
    // One byte more than the longest descriptor tells a file that cannot be one.
    std::string error;
    const std::optional<std::vector<std::uint8_t>> read = readFileBytes(inv.args[0], kMaxReportDescriptorBytes + 1, &error);
    if (!read) return nivractl::fail(error);
    const std::vector<std::uint8_t>& bytes = *read;
    if (bytes.size() > kMaxReportDescriptorBytes)
        return nivractl::fail(inv.args[0] + " is longer than a report descriptor can be (65535 bytes)");
    // A malformed descriptor measures 0 everywhere and has no collections; one without a
    // collection describes no interface either.
    HidInterfaceInfo info;
    setReportLengths(info, measureCollections(bytes));
    if (info.collections.empty())
        return nivractl::fail(inv.args[0] + " is no report descriptor: it is malformed or holds no collection");
    std::cout << "feature=" << info.featureReportLength << " input=" << info.inputReportLength
              << " output=" << info.outputReportLength << '\n';
    int k = 0;
    for (const HidCollectionInfo& c : info.collections) {
        std::cout << "collection " << ++k << " usage=" << hex4(c.usagePage) << ':' << hex4(c.usage)
                  << " input=" << c.inputReportLength << " output=" << c.outputReportLength
                  << " feature=" << c.featureReportLength << '\n';
    }
    std::cout << (vendorCollection(info) ? "qualifies" : "does not qualify") << '\n';
    return nivractl::ok();
}

Result runInfo(const nivractl::Invocation& inv) {
    if (!inv.args.empty()) return nivractl::usageError("info");
    std::string error;
    auto session = openSession(inv, &error);
    if (!session) return nivractl::fail(error);

    const nivractl::LayoutConfig layout = nivractl::layoutConfig();
    const DiscoveryConfig config = DiscoveryConfig::fromBuiltinImage(builtinImage(1), layout.reserveManufacturerId,
                                                                     layout.reserveProductId);
    Link link;
    DeviceEvents quiet;
    IdentifyResult result;
    std::string path;
    std::uint32_t vendorId = 0, productId = 0;
    MemoryType memoryType = MemoryType::None;
    bool opened = false;
    std::optional<HidInterfaceInfo> denied;  // a present mouse that this user may not open
    {
        Discovery discovery(session->transport(), session->clock(), link, config, quiet);
        for (const DeviceId& entry : config.deviceTable) {
            if (entry.tried() && discovery.OpenMouse(entry.vendorId, entry.productId)) {
                opened = true;
                break;
            }
        }
        if (!opened) denied = discovery.deniedMouseInterface();
        if (opened) {
            result = discovery.ReadDevInfo();
            const Connection c = discovery.connection();
            path = c.path;
            vendorId = c.vendorId;
            productId = c.productId;
            memoryType = discovery.connectedMemoryType();
        }
    }   // the mouse's handles close here, before the session ends

    if (!opened) {
        // A mouse that is there but may not be opened is not "no mouse": say what fixes it.
        if (denied) return finish(*session, nivractl::fail(nivractl::deniedMessage(*denied)));
        const DeviceId& want = config.deviceTable[0];
        return finish(*session, nivractl::fail("no mouse found: no HID interface " + hex4(want.vendorId) + ":" +
                                               hex4(want.productId) + " with an 8-byte feature report"));
    }
    std::cout << "path: " << path << '\n' << "device: " << hex4(vendorId) << ':' << hex4(productId) << '\n';
    switch (result.outcome) {
    case IdentifyOutcome::NotIdentified:
        return finish(*session, nivractl::fail("the mouse did not identify itself as one with an I2C configuration memory"));
    case IdentifyOutcome::MemoryTypeError:
        return finish(*session, nivractl::fail(english("Str102")));
    case IdentifyOutcome::IdsRefused:
    case IdentifyOutcome::Accepted:
        break;
    }
    std::cout << "memory type: " << memoryTypeName(memoryType) << '\n'
              << "manufacturer id: " << unsigned{result.manufacturerId} << '\n'
              << "product id: " << unsigned{result.productId} << '\n';
    if (result.outcome == IdentifyOutcome::IdsRefused)
        return finish(*session, nivractl::fail(english("Str107")));
    return finish(*session, nivractl::ok());
}

NIVRACTL_COMMAND("devices", "devices                 list the HID interfaces: path, VID:PID, feature and input lengths",
                 runDevices);
NIVRACTL_COMMAND("descriptor",
                 "descriptor FILE         measure a binary HID report descriptor, whole and per collection",
                 runDescriptor);
NIVRACTL_COMMAND("info", "info                    find, identify and check the mouse", runInfo);

}  // namespace
