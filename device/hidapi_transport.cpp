// The hidapi (hidraw) transport. Report lengths come from the report descriptor in sysfs,
// measured by our own parser, since hidapi does not report them.
#include "device/hidapi_transport.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <iterator>
#include <mutex>
#include <set>

#include "device/report_descriptor.h"
#include "image/fields.h"

namespace nivra {
namespace {

std::mutex gInitMutex;
int gInitCount = 0;

// How long one hid_read_timeout waits before the reader looks at its cancel flag again.
constexpr int kReadPollMs = 100;

class HidapiHandle final : public HidHandle {
public:
    explicit HidapiHandle(hid_device* dev) : dev_(dev) {}
    ~HidapiHandle() override { hid_close(dev_); }
    HidapiHandle(const HidapiHandle&) = delete;
    HidapiHandle& operator=(const HidapiHandle&) = delete;

    // hidapi sends and returns the report ID as byte 0 and counts it in the lengths it
    // returns. A report that went out or came back shorter than the whole report failed: a
    // short data report read would leave stale bytes where the caller expects the reply.
    bool setFeature(std::span<const std::uint8_t> report) override {
        const int n = hid_send_feature_report(dev_, report.data(), report.size());
        return n >= 0 && static_cast<std::size_t>(n) == report.size();
    }

    bool getFeature(std::span<std::uint8_t> report) override {
        const int n = hid_get_feature_report(dev_, report.data(), report.size());
        return n >= 0 && static_cast<std::size_t>(n) == report.size();
    }

    int readInput(std::span<std::uint8_t> report) override {
        // hidapi has no way to interrupt a blocking read: wait in short slices instead.
        while (!cancelled_.load()) {
            errno = 0;
            const int n = hid_read_timeout(dev_, report.data(), report.size(), kReadPollMs);
            if (n > 0) return n;
            // A signal that interrupts the wait (EINTR) says nothing about the mouse: wait
            // again. Any other failure means the node is gone.
            if (n < 0 && errno != EINTR) return -1;
        }
        return -1;
    }

    void cancelRead() override { cancelled_ = true; }

private:
    hid_device* dev_;
    std::atomic<bool> cancelled_{false};
};

// A wide string of hidapi (UTF-32 on Linux) as UTF-8, without surrounding blanks.
std::string utf8Of(const wchar_t* text) {
    std::string out;
    for (; *text; ++text) appendUtf8(out, static_cast<char32_t>(*text));
    const auto first = out.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return out.substr(first, out.find_last_not_of(' ') - first + 1);
}

}  // namespace

HidapiTransport::HidapiTransport(FileAccess& files) : files_(files) {
    std::lock_guard lock(gInitMutex);
    if (gInitCount > 0 || hid_init() == 0) {
        ++gInitCount;
        ok_ = true;
    }
}

HidapiTransport::~HidapiTransport() {
    if (!ok_) return;
    std::lock_guard lock(gInitMutex);
    if (--gInitCount == 0) hid_exit();
}

std::vector<HidInterfaceInfo> HidapiTransport::enumerate() {
    std::vector<HidInterfaceInfo> all;
    if (!ok_) return all;
    hid_device_info* list = hid_enumerate(0, 0);
    std::set<std::string> seen;
    for (hid_device_info* d = list; d; d = d->next) {
        // hidapi lists a node once per top-level usage; the interface is the node.
        if (!d->path || !seen.insert(d->path).second) continue;
        HidInterfaceInfo info;
        info.path = d->path;
        info.vendorId = d->vendor_id;
        info.productId = d->product_id;
        const std::vector<unsigned char> descriptor = readSysfsReportDescriptor(info.path, files_);
        setReportLengths(info, measureCollections(descriptor));
        all.push_back(std::move(info));
    }
    hid_free_enumeration(list);
    return all;
}

std::string HidapiTransport::productName(const std::string& path) {
    if (!ok_) return {};
    hid_device_info* list = hid_enumerate(0, 0);
    std::string name;
    for (hid_device_info* d = list; d; d = d->next) {
        if (d->path && path == d->path && d->product_string) {
            name = utf8Of(d->product_string);
            break;
        }
    }
    hid_free_enumeration(list);
    return name;
}

std::size_t HidapiTransport::count() {
    std::error_code ec;
    std::size_t n = 0;
    for (std::filesystem::directory_iterator it("/sys/class/hidraw", ec), end; !ec && it != end; it.increment(ec))
        ++n;
    return n;
}

std::unique_ptr<HidHandle> HidapiTransport::open(const std::string& path) {
    if (!ok_) return nullptr;
    hid_device* dev = hid_open_path(path.c_str());
    if (!dev) return nullptr;
    return std::make_unique<HidapiHandle>(dev);
}

void setReportLengths(HidInterfaceInfo& info, const DescriptorLengths& lengths) {
    info.featureReportLength = lengths.whole.feature;
    info.inputReportLength = lengths.whole.input;
    info.outputReportLength = lengths.whole.output;
    info.collections.clear();
    for (const CollectionLengths& c : lengths.collections)
        info.collections.push_back(HidCollectionInfo{c.usagePage, c.usage, c.lengths.feature, c.lengths.input,
                                                     c.lengths.output});
}

bool HidapiTransport::permissionDenied(const std::string& path) {
    const int err = hidrawOpenError(path);
    return err == EACCES || err == EPERM;
}

int hidrawOpenError(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

std::vector<unsigned char> readSysfsReportDescriptor(const std::string& hidrawPath, FileAccess& files,
                                                     const std::string& sysfsRoot) {
    const std::string node = std::filesystem::path(hidrawPath).filename().string();
    if (node.rfind("hidraw", 0) != 0) return {};
    // The attribute of a device that goes away while it is read fails the read: no descriptor.
    const auto bytes =
        files.read((std::filesystem::path(sysfsRoot) / node / "device" / "report_descriptor").string(),
                   kMaxReportDescriptorBytes);
    if (!bytes) return {};
    return std::vector<unsigned char>(bytes->begin(), bytes->end());
}

}  // namespace nivra
