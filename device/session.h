// What a program that talks to the mouse sets up from --simulate[=MEMFILE] and --trace FILE:
// the clock, the transport (hidapi or the simulated mouse) and the report trace; and the
// one parser of those options, shared by nivra-configurator and nivractl.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "device/clock.h"
#include "device/file_access.h"
#include "device/hid_transport.h"
#include "device/report_trace.h"
#include "device/simulated_mouse.h"
#include "image/image.h"

namespace nivra {

struct SessionOptions {
    bool simulate = false;
    std::string simulateFile;   // memory of the simulated mouse; created from `initialMemory` when missing
    std::string traceFile;      // empty: no trace
    Image initialMemory{};      // built-in image 1 for a fresh simulated mouse
    // The simulated mouse waits on the machine's clock too (the window: its restart and
    // re-find then take the time a real mouse takes, with the splash up meanwhile).
    // Otherwise it runs on a virtual clock and no command waits in real time (nivractl).
    bool realTimeSimulation = false;
    // Faults the simulated mouse injects (--simulate-fault KIND@N, repeatable).
    std::vector<ReportFault> faults;
};

// How parseDeviceOption treated the argument at the index it was given.
enum class DeviceOption { NotMine, Taken, Error };

// Parses one device option at args[i]: --simulate, --simulate=MEMFILE, --trace FILE,
// --trace=FILE, --simulate-fault KIND@N, --simulate-fault=KIND@N. Taken: `i` points at the last argument used (the value of "--trace FILE").
// Error: `error` names the problem. NotMine: the program parses args[i] itself.
DeviceOption parseDeviceOption(const std::vector<std::string>& args, std::size_t& i, SessionOptions& options,
                               std::string* error);
// "[--simulate[=MEMFILE]] [--trace FILE]", for usage lines.
inline constexpr const char* kDeviceOptionsUsage =
    "[--simulate[=MEMFILE] [--simulate-fault refuse-set|fail-get|vanish|vanish-return@N]...] [--trace FILE]";

class DeviceSession {
public:
    // Sets everything up; nullptr and a one-line message in `error` when the memory file
    // cannot be read or the trace file cannot be written. The memory file and the report
    // descriptors of the real mouse are read (and the memory file saved) through `files`,
    // which must outlive the session.
    static std::unique_ptr<DeviceSession> open(const SessionOptions& options, FileAccess& files,
                                               std::string* error);
    ~DeviceSession();

    // The virtual clock with --simulate (unless realTimeSimulation), else the system clock.
    Clock& clock() { return *clock_; }
    // Every report through it is traced when --trace was given.
    HidTransport& transport() { return *transport_; }
    // The simulated mouse, or nullptr on real hardware.
    SimulatedMouse* simulatedMouse() { return mouse_.get(); }

    // Saves the simulated mouse's memory back to its file (when one was given). False and a
    // message when that fails; true otherwise.
    bool close(std::string* error);

private:
    explicit DeviceSession(FileAccess& files) : files_(files) {}
    FileAccess& files_;
    SessionOptions options_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<SimulatedMouse> mouse_;
    std::unique_ptr<HidTransport> real_;
    std::shared_ptr<ReportTrace> trace_;
    std::unique_ptr<HidTransport> transport_;
    bool closed_ = false;
};

}  // namespace nivra
