// Setting up the clock, transport and trace of a program from its device options.
#include "device/session.h"

#include <optional>

#include "device/hidapi_transport.h"

namespace nivra {
namespace {

// Passes every call through to a transport owned elsewhere.
class Forward final : public HidTransport {
public:
    explicit Forward(HidTransport& inner) : inner_(inner) {}
    std::vector<HidInterfaceInfo> enumerate() override { return inner_.enumerate(); }
    std::size_t count() override { return inner_.count(); }
    std::unique_ptr<HidHandle> open(const std::string& path) override { return inner_.open(path); }
    bool permissionDenied(const std::string& path) override { return inner_.permissionDenied(path); }
    std::string productName(const std::string& path) override { return inner_.productName(path); }

private:
    HidTransport& inner_;
};

}  // namespace

std::unique_ptr<DeviceSession> DeviceSession::open(const SessionOptions& options, FileAccess& files,
                                                   std::string* error) {
    std::unique_ptr<DeviceSession> s(new DeviceSession(files));
    s->options_ = options;
    // Until setup has worked there is nothing to save: a memory file that failed to load
    // must not be overwritten by the fresh memory when the half-made session goes away.
    s->closed_ = true;
    HidTransport* inner = nullptr;
    if (options.simulate) {
        if (options.realTimeSimulation) s->clock_ = std::make_unique<SystemClock>();
        else s->clock_ = std::make_unique<VirtualClock>();
        s->mouse_ = std::make_unique<SimulatedMouse>(*s->clock_, options.initialMemory);
        const std::string& path = options.simulateFile;
        if (!path.empty() && files.exists(path)) {
            // One byte more than an image, so that a longer file is told apart.
            std::string why;
            const std::optional<std::vector<std::uint8_t>> bytes = files.read(path, kImageSize + 1, &why);
            if (!bytes) {
                if (error) *error = why;
                return nullptr;
            }
            if (bytes->size() > kImageSize) {
                if (error) *error = path + " is longer than 2048 bytes, the size of the mouse's memory";
                return nullptr;
            }
            if (!s->mouse_->loadMemory(*bytes, &why)) {
                if (error) *error = path + " " + why;
                return nullptr;
            }
        }
        for (const ReportFault& f : options.faults) s->mouse_->addReportFault(f);
        inner = s->mouse_.get();
    } else {
        if (!options.faults.empty()) {
            if (error) *error = "--simulate-fault needs --simulate: faults are injected by the simulated mouse";
            return nullptr;
        }
        s->clock_ = std::make_unique<SystemClock>();
        s->real_ = std::make_unique<HidapiTransport>(files);
        inner = s->real_.get();
    }
    if (!options.traceFile.empty()) {
        s->trace_ = std::make_shared<ReportTrace>(options.traceFile);
        if (!s->trace_->ok()) {
            if (error) *error = "cannot write the trace file " + options.traceFile;
            return nullptr;
        }
        s->transport_ = tracedTransport(*inner, s->trace_);
    } else {
        s->transport_ = std::make_unique<Forward>(*inner);
    }
    s->closed_ = false;
    return s;
}

DeviceSession::~DeviceSession() {
    if (!closed_) close(nullptr);
}

bool DeviceSession::close(std::string* error) {
    closed_ = true;
    if (!mouse_ || options_.simulateFile.empty()) return true;
    const Image memory = mouse_->memory();
    return files_.write(options_.simulateFile, memory, error);
}

DeviceOption parseDeviceOption(const std::vector<std::string>& args, std::size_t& i, SessionOptions& o,
                               std::string* error) {
    auto fail = [error](const char* text) {
        if (error) *error = text;
        return DeviceOption::Error;
    };
    const std::string& a = args[i];
    if (a == "--simulate") {
        o.simulate = true;
    } else if (a.starts_with("--simulate=")) {
        o.simulate = true;
        o.simulateFile = a.substr(11);
        if (o.simulateFile.empty()) return fail("--simulate= needs a file name");
    } else if (a == "--simulate-fault" || a.starts_with("--simulate-fault=")) {
        std::string value;
        if (a == "--simulate-fault") {
            if (i + 1 >= args.size()) return fail("--simulate-fault needs KIND@N");
            value = args[++i];
        } else {
            value = a.substr(17);
        }
        const std::optional<ReportFault> f = parseReportFault(value);
        if (!f) {
            if (error)
                *error = "--simulate-fault " + value +
                         ": not KIND@N (KIND refuse-set, fail-get, vanish or vanish-return; N a report number from 1)";
            return DeviceOption::Error;
        }
        o.faults.push_back(*f);
    } else if (a == "--trace") {
        if (i + 1 >= args.size()) return fail("--trace needs a file name");
        o.traceFile = args[++i];
    } else if (a.starts_with("--trace=")) {
        o.traceFile = a.substr(8);
        if (o.traceFile.empty()) return fail("--trace= needs a file name");
    } else {
        return DeviceOption::NotMine;
    }
    return DeviceOption::Taken;
}

}  // namespace nivra
