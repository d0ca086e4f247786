// Parses the command line of the window program.
#include "app/options.h"

namespace nivra::app {

ParsedOptions parseOptions(const QStringList& args) {
    Options o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--simulate")) {
            o.simulate = true;
        } else if (a.startsWith(QLatin1String("--simulate="))) {
            o.simulate = true;
            o.simulateFile = a.mid(11);
            if (o.simulateFile.isEmpty()) return {std::nullopt, QStringLiteral("--simulate= needs a file name")};
        } else if (a == QLatin1String("--trace")) {
            if (i + 1 >= args.size()) return {std::nullopt, QStringLiteral("--trace needs a file name")};
            o.traceFile = args[++i];
        } else if (a.startsWith(QLatin1String("--trace="))) {
            o.traceFile = a.mid(8);
            if (o.traceFile.isEmpty()) return {std::nullopt, QStringLiteral("--trace= needs a file name")};
        } else {
            return {std::nullopt, QStringLiteral("unknown argument: %1").arg(a)};
        }
    }
    return {o, {}};
}

}  // namespace nivra::app
