// Parses the command line of the window program.
#include "app/options.h"

namespace nivra::app {

ParsedOptions parseOptions(const QStringList& args) {
    std::vector<std::string> words;
    for (const QString& a : args) words.push_back(a.toStdString());
    SessionOptions device;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string error;
        switch (parseDeviceOption(words, i, device, &error)) {
            case DeviceOption::Taken: break;
            case DeviceOption::Error: return {std::nullopt, QString::fromStdString(error)};
            case DeviceOption::NotMine:
                return {std::nullopt, QStringLiteral("unknown argument: %1").arg(args[static_cast<qsizetype>(i)])};
        }
    }
    Options o;
    o.simulate = device.simulate;
    o.simulateFile = QString::fromStdString(device.simulateFile);
    o.traceFile = QString::fromStdString(device.traceFile);
    o.faults = device.faults;
    return {o, {}};
}

SessionOptions Options::session() const {
    SessionOptions s;
    s.simulate = simulate;
    s.simulateFile = simulateFile.toStdString();
    s.traceFile = traceFile.toStdString();
    s.faults = faults;
    s.realTimeSimulation = true;
    return s;
}

}  // namespace nivra::app
