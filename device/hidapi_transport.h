// The real HID transport: hidapi's hidraw backend, with report lengths measured from each
// interface's report descriptor in sysfs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/hid_transport.h"

namespace nivra {

class HidapiTransport final : public HidTransport {
public:
    HidapiTransport();
    ~HidapiTransport() override;
    HidapiTransport(const HidapiTransport&) = delete;
    HidapiTransport& operator=(const HidapiTransport&) = delete;

    // False when hidapi could not be initialised; every call then finds nothing.
    bool ok() const { return ok_; }

    std::vector<HidInterfaceInfo> enumerate() override;
    // Counts the hidraw nodes present (/sys/class/hidraw), without opening any.
    std::size_t count() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;

private:
    bool ok_ = false;
};

// The report descriptor bytes of a hidraw node ("/dev/hidraw3"), from
// /sys/class/hidraw/hidraw3/device/report_descriptor; empty when unavailable.
std::vector<unsigned char> readSysfsReportDescriptor(const std::string& hidrawPath,
                                                     const std::string& sysfsRoot = "/sys/class/hidraw");

}  // namespace nivra
