// The real HID transport: hidapi's hidraw backend, with report lengths measured from each
// interface's report descriptor in sysfs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/file_access.h"
#include "device/hid_transport.h"
#include "device/report_descriptor.h"

namespace nivra {

class HidapiTransport final : public HidTransport {
public:
    // The report descriptors are read from sysfs through `files`, which must outlive it.
    explicit HidapiTransport(FileAccess& files);
    ~HidapiTransport() override;
    HidapiTransport(const HidapiTransport&) = delete;
    HidapiTransport& operator=(const HidapiTransport&) = delete;

    // False when hidapi could not be initialised; every call then finds nothing.
    bool ok() const { return ok_; }

    std::vector<HidInterfaceInfo> enumerate() override;
    // Counts the hidraw nodes present (/sys/class/hidraw), without opening any.
    std::size_t count() override;
    std::unique_ptr<HidHandle> open(const std::string& path) override;
    // EACCES or EPERM on opening the hidraw node.
    bool permissionDenied(const std::string& path) override;
    std::string productName(const std::string& path) override;

private:
    FileAccess& files_;
    bool ok_ = false;
};

// Sets the whole-node lengths and the collections of `info` from a measured descriptor.
void setReportLengths(HidInterfaceInfo& info, const DescriptorLengths& lengths);

// Why a hidraw node cannot be opened for reading and writing: 0 when it can, else the errno
// of the attempt (EACCES: the user lacks the right, which the udev rule gives; ENOENT: gone).
int hidrawOpenError(const std::string& path);

// The udev rule that lets the desktop user open the mouse, as shipped in the source tree.
inline constexpr const char* kUdevRuleFile = "packaging/70-nivra-mouse.rules";

// The report descriptor bytes of a hidraw node ("/dev/hidraw3"), from
// /sys/class/hidraw/hidraw3/device/report_descriptor; empty when unavailable.
std::vector<unsigned char> readSysfsReportDescriptor(const std::string& hidrawPath, FileAccess& files,
                                                     const std::string& sysfsRoot = "/sys/class/hidraw");

}  // namespace nivra
