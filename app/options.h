// Command line of nivra-configurator: the device options (parsed as nivractl parses them).
#pragma once

#include "device/session.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace nivra::app {

struct Options {
    bool simulate = false;
    QString simulateFile;  // empty: the simulated mouse keeps its memory only while running
    QString traceFile;
    std::vector<ReportFault> faults;  // --simulate-fault KIND@N, for trying faults by hand

    // The device part, for MouseSession::open.
    SessionOptions session() const;
};

// The parsed options, or an error text naming the bad argument.
struct ParsedOptions {
    std::optional<Options> options;
    QString error;
};
ParsedOptions parseOptions(const QStringList& arguments);  // arguments without the program name

}  // namespace nivra::app
