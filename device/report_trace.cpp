// The report trace: line format, the thread-safe writer and the tracing transport wrapper.
#include "device/report_trace.h"

namespace nivra {

std::string traceLine(TraceKind kind, std::span<const std::uint8_t> report, bool ok) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line = kind == TraceKind::Set ? "SET" : kind == TraceKind::Get ? "GET" : "IN";
    for (std::uint8_t b : report) {
        line += ' ';
        line += kHex[b >> 4];
        line += kHex[b & 0xF];
    }
    if (!ok) line += " FAIL";
    return line;
}

ReportTrace::ReportTrace(const std::string& path) : file_(std::fopen(path.c_str(), "w")) {}

ReportTrace::ReportTrace() : inMemory_(true) {}

ReportTrace::~ReportTrace() {
    if (file_) std::fclose(file_);
}

void ReportTrace::record(TraceKind kind, std::span<const std::uint8_t> report, bool ok) {
    std::string line = traceLine(kind, report, ok);
    std::lock_guard lock(mutex_);
    if (inMemory_) {
        lines_.push_back(std::move(line));
    } else if (file_) {
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), file_);
        std::fflush(file_);
    }
}

std::vector<std::string> ReportTrace::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

void ReportTrace::clearLines() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

namespace {

class TracedHandle final : public HidHandle {
public:
    TracedHandle(std::unique_ptr<HidHandle> inner, std::shared_ptr<ReportTrace> trace)
        : inner_(std::move(inner)), trace_(std::move(trace)) {}

    bool setFeature(std::span<const std::uint8_t> report) override {
        const bool ok = inner_->setFeature(report);
        trace_->record(TraceKind::Set, report, ok);
        return ok;
    }
    bool getFeature(std::span<std::uint8_t> report) override {
        // On failure the buffer may hold anything: trace what was asked for.
        std::vector<std::uint8_t> request(report.begin(), report.end());
        const bool ok = inner_->getFeature(report);
        trace_->record(TraceKind::Get, ok ? std::span<const std::uint8_t>(report) : request, ok);
        return ok;
    }
    int readInput(std::span<std::uint8_t> report) override {
        const int n = inner_->readInput(report);
        if (n > 0) trace_->record(TraceKind::In, report.first(static_cast<std::size_t>(n)), true);
        return n;
    }
    void cancelRead() override { inner_->cancelRead(); }

private:
    std::unique_ptr<HidHandle> inner_;
    std::shared_ptr<ReportTrace> trace_;
};

class TracedTransport final : public HidTransport {
public:
    TracedTransport(std::unique_ptr<HidTransport> owned, HidTransport& inner, std::shared_ptr<ReportTrace> trace)
        : owned_(std::move(owned)), inner_(inner), trace_(std::move(trace)) {}

    std::vector<HidInterfaceInfo> enumerate() override { return inner_.enumerate(); }
    std::size_t count() override { return inner_.count(); }
    std::unique_ptr<HidHandle> open(const std::string& path) override {
        auto h = inner_.open(path);
        if (!h) return nullptr;
        return std::make_unique<TracedHandle>(std::move(h), trace_);
    }
    bool permissionDenied(const std::string& path) override { return inner_.permissionDenied(path); }
    std::string productName(const std::string& path) override { return inner_.productName(path); }

private:
    std::unique_ptr<HidTransport> owned_;
    HidTransport& inner_;
    std::shared_ptr<ReportTrace> trace_;
};

}  // namespace

std::unique_ptr<HidTransport> tracedTransport(std::unique_ptr<HidTransport> inner,
                                              std::shared_ptr<ReportTrace> trace) {
    HidTransport& ref = *inner;
    return std::make_unique<TracedTransport>(std::move(inner), ref, std::move(trace));
}

std::unique_ptr<HidTransport> tracedTransport(HidTransport& inner, std::shared_ptr<ReportTrace> trace) {
    return std::make_unique<TracedTransport>(nullptr, inner, std::move(trace));
}

}  // namespace nivra
