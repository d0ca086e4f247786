// Sets up the transport of the window program.
#include "app/device_setup.h"

#include "device/hidapi_transport.h"
#include "image/builtin.h"

#include <filesystem>

namespace nivra::app {

std::unique_ptr<DeviceSetup> DeviceSetup::open(const Options& o, std::string* error) {
    auto s = std::unique_ptr<DeviceSetup>(new DeviceSetup);
    // The window waits on the machine's clock with the simulated mouse too: its restart
    // and re-find then take the time a real mouse takes, with the splash up meanwhile.
    s->clock_ = std::make_unique<SystemClock>();
    if (o.simulate) {
        s->mouse_ = std::make_unique<SimulatedMouse>(*s->clock_, builtinImage(1));
        s->memoryFile_ = o.simulateFile.toStdString();
        if (!s->memoryFile_.empty() && std::filesystem::exists(s->memoryFile_) &&
            !s->mouse_->loadMemory(s->memoryFile_, error))
            return nullptr;
        s->inner_ = s->mouse_.get();
    } else {
        s->hidapi_ = std::make_unique<HidapiTransport>();
        s->inner_ = s->hidapi_.get();
    }
    if (!o.traceFile.isEmpty()) {
        s->trace_ = std::make_shared<ReportTrace>(o.traceFile.toStdString());
        if (!s->trace_->ok()) {
            if (error) *error = "cannot write the trace " + o.traceFile.toStdString();
            return nullptr;
        }
        s->traced_ = tracedTransport(*s->inner_, s->trace_);
    }
    if (const auto dir = BackupStore::defaultDirectory(); !dir.empty())
        s->backups_ = std::make_unique<BackupStore>(dir);
    return s;
}

bool DeviceSetup::close(std::string* error) {
    if (!mouse_ || memoryFile_.empty()) return true;
    return mouse_->saveMemory(memoryFile_, error);
}

}  // namespace nivra::app
