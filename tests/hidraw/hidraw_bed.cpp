// The hidraw test bed: umockdev's sysfs and device files plus our ioctl and read() handlers.
#include "tests/hidraw/hidraw_bed.h"

#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <utility>

#include "tests/hidraw/fake_syscalls.h"

namespace nivra::test {

struct HidrawBed::Node {
    std::mutex* mutex = nullptr;   // the bed's
    int n = 0;
    std::string usbPath, interfacePath, hidPath, hidrawPath, devFile;
    std::vector<std::uint8_t> descriptor;
    HidrawBed::FirmwareOpener firmware;
    std::map<UMockdevIoctlClient*, std::shared_ptr<HidHandle>> firmwareOf;   // per open file
    UMockdevIoctlBase* handler = nullptr;
    // Guarded by the bed's mutex.
    std::deque<std::vector<std::uint8_t>> input;
    bool interruptPoll = false;
    std::optional<std::size_t> shortGet;
    bool removed = false;
};

namespace {

HidrawBed* gBed = nullptr;

std::string hex4(unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04x", v & 0xFFFF);
    return buf;
}

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

// The ioctl argument (a pointer in the client) as `len` local bytes, written back when the
// call completes.
UMockdevIoctlData* resolveArg(UMockdevIoctlClient* client, std::size_t len) {
    return umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, len, nullptr);
}

gboolean onIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
    auto& node = *static_cast<HidrawBed::Node*>(data);
    const gulong request = umockdev_ioctl_client_get_request(client);
    const std::size_t size = _IOC_SIZE(request);
    if (_IOC_TYPE(request) != 'H') {
        umockdev_ioctl_client_complete(client, -1, ENOTTY);
        return TRUE;
    }
    switch (_IOC_NR(request)) {
    case _IOC_NR(HIDIOCGRDESCSIZE): {
        UMockdevIoctlData* arg = resolveArg(client, sizeof(int));
        const int n = static_cast<int>(node.descriptor.size());
        std::memcpy(arg->data, &n, sizeof n);
        umockdev_ioctl_client_complete(client, 0, 0);
        g_object_unref(arg);
        return TRUE;
    }
    case _IOC_NR(HIDIOCGRDESC): {
        UMockdevIoctlData* arg = resolveArg(client, sizeof(hidraw_report_descriptor));
        auto* d = reinterpret_cast<hidraw_report_descriptor*>(arg->data);
        const std::size_t n = std::min<std::size_t>({d->size, node.descriptor.size(), sizeof d->value});
        std::memcpy(d->value, node.descriptor.data(), n);
        umockdev_ioctl_client_complete(client, 0, 0);
        g_object_unref(arg);
        return TRUE;
    }
    case 0x06:   // HIDIOCSFEATURE(len)
    case 0x07: { // HIDIOCGFEATURE(len)
        const bool get = _IOC_NR(request) == 0x07;
        UMockdevIoctlData* arg = resolveArg(client, size);
        std::span<std::uint8_t> report(arg->data, size);
        std::shared_ptr<HidHandle> firmware;
        std::size_t n = size;
        {
            std::lock_guard lock(*node.mutex);
            std::shared_ptr<HidHandle>& h = node.firmwareOf[client];
            if (!h && node.firmware) h = node.firmware();
            firmware = h;
            if (get && node.shortGet) n = std::exchange(node.shortGet, std::nullopt).value();
        }
        const bool ok = firmware && (get ? firmware->getFeature(report) : firmware->setFeature(report));
        umockdev_ioctl_client_complete(client, ok ? static_cast<glong>(n) : -1, ok ? 0 : EPIPE);
        g_object_unref(arg);
        return TRUE;
    }
    default:
        umockdev_ioctl_client_complete(client, -1, EINVAL);
        return TRUE;
    }
}

gboolean onRead(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
    auto& node = *static_cast<HidrawBed::Node*>(data);
    UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
    std::vector<std::uint8_t> report;
    {
        std::lock_guard lock(*node.mutex);
        if (node.input.empty()) {
            umockdev_ioctl_client_complete(client, -1, EAGAIN);
            return TRUE;
        }
        report = std::move(node.input.front());
        node.input.pop_front();
    }
    const std::size_t n = std::min<std::size_t>(report.size(), static_cast<std::size_t>(arg->data_len));
    umockdev_ioctl_data_update(arg, 0, report.data(), static_cast<gint>(n));
    umockdev_ioctl_client_complete(client, static_cast<glong>(n), 0);
    return TRUE;
}

void onClientVanished(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer data) {
    auto& node = *static_cast<HidrawBed::Node*>(data);
    std::lock_guard lock(*node.mutex);
    node.firmwareOf.erase(client);
}

}  // namespace

// Reaches the bed's private poll from the C hook.
struct BedAccess {
    static int poll(int node, short* revents, int timeoutMs) {
        return gBed ? gBed->poll(node, revents, timeoutMs) : 0;
    }
};

HidrawBed::HidrawBed() {
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "umockdev")) throw std::runtime_error("not under umockdev-wrapper");
    bed_ = umockdev_testbed_new();
    gchar* root = umockdev_testbed_get_root_dir(bed_);
    root_ = root;
    g_free(root);
    gBed = this;
    nivra_fake_set_poll_hook(&BedAccess::poll);
}

HidrawBed::~HidrawBed() {
    for (auto& [handle, thread] : pumps_) {
        handle->cancelRead();
        thread.join();
    }
    nivra_fake_set_poll_hook(nullptr);
    gBed = nullptr;
    for (auto& [n, node] : nodes_) {
        if (!node->removed) umockdev_testbed_detach_ioctl(bed_, ("/dev/hidraw" + std::to_string(n)).c_str(), nullptr);
        g_object_unref(node->handler);
    }
    g_object_unref(bed_);
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::string HidrawBed::addNode(int n, std::uint16_t vendorId, std::uint16_t productId,
                               std::span<const std::uint8_t> descriptor, FirmwareOpener firmware) {
    auto node = std::make_unique<Node>();
    node->mutex = &mutex_;
    node->n = n;
    node->descriptor.assign(descriptor.begin(), descriptor.end());
    node->firmware = std::move(firmware);
    const std::string usbName = "1-" + std::to_string(n + 1);
    const std::string hidName = "hidraw" + std::to_string(n);
    const std::string vid = hex4(vendorId), pid = hex4(productId);
    // As the kernel names them: "0003:1BCF:08B8.0001" and HID_ID "0003:00001BCF:000008B8".
    const std::string hidDevice = upper("0003:" + vid + ":" + pid + "." + hex4(static_cast<unsigned>(n + 1)));
    const std::string hidId = upper("0003:0000" + vid + ":0000" + pid);
    const std::string phys = "usb-0000:00:14.0-" + std::to_string(n + 1) + "/input0";

    gchar* usb = umockdev_testbed_add_device(bed_, "usb", usbName.c_str(), nullptr, "idVendor", vid.c_str(),
                                             "idProduct", pid.c_str(), "manufacturer", "Nivra", "product",
                                             "Gaming Mouse", "serial", "", nullptr, "DEVTYPE", "usb_device", nullptr);
    gchar* intf = umockdev_testbed_add_device(bed_, "usb", (usbName + ":1.0").c_str(), usb, "bInterfaceNumber", "00",
                                              nullptr, "DEVTYPE", "usb_interface", nullptr);
    gchar* hid = umockdev_testbed_add_device(bed_, "hid", hidDevice.c_str(), intf, nullptr, "HID_ID", hidId.c_str(),
                                             "HID_NAME", "Nivra Gaming Mouse", "HID_PHYS", phys.c_str(), "HID_UNIQ",
                                             "", nullptr);
    umockdev_testbed_set_attribute_binary(bed_, hid, "report_descriptor", node->descriptor.data(),
                                          static_cast<gint>(node->descriptor.size()));
    const std::string major = "241:" + std::to_string(n);
    gchar* raw = umockdev_testbed_add_device(bed_, "hidraw", hidName.c_str(), hid, "dev", major.c_str(), nullptr,
                                             "DEVNAME", ("/dev/" + hidName).c_str(), nullptr);
    // hidraw's "device" link leads to the HID device, where report_descriptor lives.
    umockdev_testbed_set_attribute_link(bed_, raw, "device", "..");
    node->usbPath = usb;
    node->interfacePath = intf;
    node->hidPath = hid;
    node->hidrawPath = raw;
    g_free(usb);
    g_free(intf);
    g_free(hid);
    g_free(raw);

    // umockdev leaves the device file to us; its ioctl socket answers through it.
    node->devFile = root_ + "/dev/" + hidName;
    std::ofstream(node->devFile).flush();
    node->handler = umockdev_ioctl_base_new();
    g_signal_connect(node->handler, "handle-ioctl", G_CALLBACK(onIoctl), node.get());
    g_signal_connect(node->handler, "handle-read", G_CALLBACK(onRead), node.get());
    g_signal_connect(node->handler, "client-vanished", G_CALLBACK(onClientVanished), node.get());
    GError* error = nullptr;
    if (!umockdev_testbed_attach_ioctl(bed_, ("/dev/" + hidName).c_str(), node->handler, &error)) {
        const std::string message = error ? error->message : "?";
        g_clear_error(&error);
        throw std::runtime_error("cannot attach the ioctl handler: " + message);
    }
    const std::string path = "/dev/" + hidName;
    std::lock_guard lock(mutex_);
    nodes_[n] = std::move(node);
    return path;
}

void HidrawBed::removeNode(int n) {
    Node* node;
    {
        std::lock_guard lock(mutex_);
        node = nodes_.at(n).get();
        node->removed = true;
    }
    inputArrived_.notify_all();
    umockdev_testbed_detach_ioctl(bed_, ("/dev/hidraw" + std::to_string(n)).c_str(), nullptr);
    // Children first: umockdev removes one device (and its class links) at a time.
    for (const std::string* path : {&node->hidrawPath, &node->hidPath, &node->interfacePath, &node->usbPath})
        umockdev_testbed_remove_device(bed_, path->c_str());
    std::error_code ec;
    std::filesystem::remove(node->devFile, ec);
}

void HidrawBed::queueInput(int n, std::vector<std::uint8_t> report) {
    {
        std::lock_guard lock(mutex_);
        nodes_.at(n)->input.push_back(std::move(report));
    }
    inputArrived_.notify_all();
}

void HidrawBed::pumpInput(int n, std::shared_ptr<HidHandle> source) {
    std::thread t([this, n, source] {
        std::vector<std::uint8_t> report(64);
        for (;;) {
            const int got = source->readInput(report);
            if (got <= 0) return;
            queueInput(n, std::vector<std::uint8_t>(report.begin(), report.begin() + got));
        }
    });
    pumps_.emplace_back(std::move(source), std::move(t));
}

void HidrawBed::interruptNextPoll(int n) {
    std::lock_guard lock(mutex_);
    nodes_.at(n)->interruptPoll = true;
}

void HidrawBed::shortenNextGet(int n, std::size_t bytes) {
    std::lock_guard lock(mutex_);
    nodes_.at(n)->shortGet = bytes;
}

int HidrawBed::poll(int n, short* revents, int timeoutMs) {
    std::unique_lock lock(mutex_);
    auto it = nodes_.find(n);
    if (it == nodes_.end()) return 0;
    Node& node = *it->second;
    if (std::exchange(node.interruptPoll, false)) {
        errno = EINTR;
        return -1;
    }
    // Waits as the kernel would: until a report is there, the node goes, or the time is up.
    const auto ready = [&] { return !node.input.empty() || node.removed; };
    if (timeoutMs < 0)
        inputArrived_.wait(lock, ready);
    else
        inputArrived_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    if (node.removed) {
        *revents = POLLHUP;
        return 1;
    }
    if (node.input.empty()) return 0;
    *revents = POLLIN;
    return 1;
}

}  // namespace nivra::test
