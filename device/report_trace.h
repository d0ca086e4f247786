// The report trace (--trace FILE): one line per report, "SET", "GET" or "IN", the report
// bytes as upper-case hex, " FAIL" when the platform call failed. A transport wrapper
// writes it for every program that talks to the mouse.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "device/hid_transport.h"

namespace nivra {

enum class TraceKind { Set, Get, In };

// One trace line without its newline: "SET 40 09 00 A4 00 01 00 00" or "GET 41 ... FAIL".
std::string traceLine(TraceKind kind, std::span<const std::uint8_t> report, bool ok);

// Thread-safe line writer; each line is flushed as it is written so a trace survives a crash.
class ReportTrace {
public:
    // Opens (truncates) the file; ok() tells whether that worked.
    explicit ReportTrace(const std::string& path);
    // Keeps the lines in memory (tests compare them with lines()).
    ReportTrace();
    ~ReportTrace();
    ReportTrace(const ReportTrace&) = delete;
    ReportTrace& operator=(const ReportTrace&) = delete;

    bool ok() const { return file_ != nullptr || inMemory_; }
    void record(TraceKind kind, std::span<const std::uint8_t> report, bool ok);
    // The lines recorded in memory so far; clearLines() forgets them.
    std::vector<std::string> lines() const;
    void clearLines();

private:
    mutable std::mutex mutex_;
    std::FILE* file_ = nullptr;
    bool inMemory_ = false;
    std::vector<std::string> lines_;
};

// Wraps a transport so that every feature report sent or got and every input report read
// on its handles is recorded. For GET the line shows the bytes received, or the request
// buffer when the call failed. A failed or cancelled input read is not recorded.
std::unique_ptr<HidTransport> tracedTransport(std::unique_ptr<HidTransport> inner,
                                              std::shared_ptr<ReportTrace> trace);

// The same around a transport the caller keeps owning (e.g. a SimulatedMouse it inspects).
std::unique_ptr<HidTransport> tracedTransport(HidTransport& inner, std::shared_ptr<ReportTrace> trace);

}  // namespace nivra
