// The platform layer for HID: enumerating interfaces, opening one, feature reports and
// blocking input reads. Implemented by hidapi (hidapi_transport.h) and by the simulated mouse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace nivra {

// One top-level collection of an interface, with the report lengths of its own reports.
struct HidCollectionInfo {
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
    std::size_t featureReportLength = 0;
    std::size_t inputReportLength = 0;
    std::size_t outputReportLength = 0;
};

// One HID interface of the PC (a hidraw node: the whole USB interface). Report lengths are
// in bytes and include the report ID byte (also for a descriptor without report IDs); 0 when
// the interface has no report of that kind or its descriptor could not be read or parsed.
struct HidInterfaceInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::size_t featureReportLength = 0;
    std::size_t inputReportLength = 0;
    std::size_t outputReportLength = 0;
    // Its top-level collections; empty when the interface is known only as a whole, which
    // then counts as one collection with the lengths above.
    std::vector<HidCollectionInfo> collections;
};

// An open interface. Every call may be made from any thread; readInput() and cancelRead()
// are meant for one reader thread while other threads use the feature calls of another
// handle of the same interface.
class HidHandle {
public:
    virtual ~HidHandle() = default;

    // Sends a feature report; report[0] is the report ID. True when the platform accepted it.
    virtual bool setFeature(std::span<const std::uint8_t> report) = 0;

    // Gets a feature report into `report`, whose byte 0 holds the report ID asked for.
    // True on success; on failure the buffer content is unspecified.
    virtual bool getFeature(std::span<std::uint8_t> report) = 0;

    // Blocks until an input report arrives and copies it (report ID first) into `report`.
    // Returns the number of bytes stored, or -1 when the read failed, the interface went
    // away, or cancelRead() was called.
    virtual int readInput(std::span<std::uint8_t> report) = 0;

    // Makes a blocked readInput() (now or later) return -1. Callable from any thread.
    virtual void cancelRead() = 0;
};

class HidTransport {
public:
    virtual ~HidTransport() = default;

    // Every present HID interface, in the platform's order.
    virtual std::vector<HidInterfaceInfo> enumerate() = 0;

    // How many present HID interfaces could be opened; cheaper than enumerate().
    virtual std::size_t count() { return enumerate().size(); }

    // Opens an interface by path; nullptr when it is absent or cannot be opened.
    virtual std::unique_ptr<HidHandle> open(const std::string& path) = 0;

    // The interface is present but this user may not open it (the device node's rights):
    // what a missing udev rule looks like, as opposed to an absent interface.
    virtual bool permissionDenied(const std::string& path) {
        (void)path;
        return false;
    }

    // The product string of the USB description of the device at `path`; empty when it
    // gives none or is not present.
    virtual std::string productName(const std::string& path) {
        (void)path;
        return {};
    }
};

}  // namespace nivra
