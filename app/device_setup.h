// What the window program talks to: the mouse through hidapi, or with --simulate the
// simulated mouse (its memory kept in MEMFILE); every report traced with --trace FILE.
#pragma once

#include "app/options.h"
#include "device/backup.h"
#include "device/clock.h"
#include "device/hid_transport.h"
#include "device/report_trace.h"
#include "device/simulated_mouse.h"

#include <memory>
#include <string>

namespace nivra::app {

class DeviceSetup {
public:
    // Null and a one-line reason when the memory file cannot be read or the trace written.
    static std::unique_ptr<DeviceSetup> open(const Options& options, std::string* error);

    Clock& clock() { return *clock_; }
    HidTransport& transport() { return traced_ ? *traced_ : *inner_; }
    SimulatedMouse* simulatedMouse() { return mouse_.get(); }
    BackupStore* backups() { return backups_.get(); }
    // Saves the simulated mouse's memory back to MEMFILE.
    bool close(std::string* error);

private:
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<SimulatedMouse> mouse_;
    std::unique_ptr<HidTransport> hidapi_;
    HidTransport* inner_ = nullptr;
    std::shared_ptr<ReportTrace> trace_;
    std::unique_ptr<HidTransport> traced_;
    std::unique_ptr<BackupStore> backups_;
    std::string memoryFile_;
};

}  // namespace nivra::app
