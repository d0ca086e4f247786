// A test bed of emulated hidraw nodes (umockdev): sysfs entries of a USB device, its
// interface, the HID device and the hidraw node, and an ioctl and read() handler per node
// that passes the feature reports to a HidHandle (the simulated mouse's firmware) and returns
// the input reports queued for the node. The program under test runs hidapi unchanged.
#pragma once

#include <umockdev.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/hid_transport.h"

namespace nivra::test {

class HidrawBed {
public:
    // Needs the umockdev preload library (umockdev-wrapper); sets $UMOCKDEV_DIR for this
    // process and the programs it starts.
    HidrawBed();
    ~HidrawBed();
    HidrawBed(const HidrawBed&) = delete;
    HidrawBed& operator=(const HidrawBed&) = delete;

    // Opens the firmware's side for one open file of a node (as each open of a hidraw node
    // is its own file); nullptr refuses the reports.
    using FirmwareOpener = std::function<std::unique_ptr<HidHandle>()>;

    // Adds USB device `n` with one interface whose hidraw node is /dev/hidraw<n>. Feature
    // reports go to a handle `firmware` opens for each open file of the node; without it
    // every feature report fails, as on an interface whose device refuses them.
    std::string addNode(int n, std::uint16_t vendorId, std::uint16_t productId,
                        std::span<const std::uint8_t> descriptor, FirmwareOpener firmware);
    // The node goes away (unplugged): sysfs entries and device file.
    void removeNode(int n);

    // Queues an input report on node `n` (report ID first).
    void queueInput(int n, std::vector<std::uint8_t> report);
    // Forwards every input report that `source` gives (the firmware's notifications) to node
    // `n`, from a thread of the bed, until the bed goes.
    void pumpInput(int n, std::shared_ptr<HidHandle> source);
    // The next poll() on node `n` fails with EINTR, as when a signal arrives.
    void interruptNextPoll(int n);
    // The next feature report read on node `n` returns only `bytes` bytes.
    void shortenNextGet(int n, std::size_t bytes);

    struct Node;

private:
    friend struct BedAccess;
    int poll(int node, short* revents, int timeoutMs);

    UMockdevTestbed* bed_ = nullptr;
    std::string root_;
    std::mutex mutex_;
    std::condition_variable inputArrived_;
    std::map<int, std::unique_ptr<Node>> nodes_;
    std::vector<std::pair<std::shared_ptr<HidHandle>, std::thread>> pumps_;
};

}  // namespace nivra::test
