// nivractl entry point: global options, then one registered command.
#include "tools/nivractl/command.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string_view>

namespace nivractl {

namespace {
std::vector<Command>& registry() {
    static std::vector<Command> all;
    return all;
}

void printHelp(std::ostream& out) {
    out << "usage: nivractl " << nivra::kDeviceOptionsUsage << " COMMAND [ARGS...]\n"
        << "       nivractl --version | --help\n\ncommands:\n";
    std::vector<const Command*> sorted;
    for (const Command& c : registry()) sorted.push_back(&c);
    std::sort(sorted.begin(), sorted.end(),
              [](const Command* a, const Command* b) { return a->name < b->name; });
    for (const Command* c : sorted) out << "  " << c->usage << '\n';
}
}  // namespace

void registerCommand(Command command) { registry().push_back(std::move(command)); }
const std::vector<Command>& commands() { return registry(); }

int fail(const std::string& message) {
    std::cerr << "nivractl: " << message << '\n';
    return kBadInput;
}

int usageError(const std::string& commandName) {
    for (const Command& c : registry()) {
        if (c.name == commandName) {
            std::cerr << "usage: nivractl " << c.usage << '\n';
            return kBadUsage;
        }
    }
    printHelp(std::cerr);
    return kBadUsage;
}

}  // namespace nivractl

int main(int argc, char** argv) {
    using namespace nivractl;
    Invocation inv;
    int i = 1;
    const std::vector<std::string> words(argv, argv + argc);
    for (std::size_t at = 1; at < words.size(); ++at, i = static_cast<int>(at)) {
        const std::string& a = words[at];
        if (a == "--help" || a == "-h" || a == "help") {
            printHelp(std::cout);
            return kOk;
        }
        if (a == "--version") {
            std::cout << "nivractl " << NIVRA_VERSION << '\n';
            return kOk;
        }
        std::string error;
        const nivra::DeviceOption parsed = nivra::parseDeviceOption(words, at, inv.global, &error);
        if (parsed == nivra::DeviceOption::Error) {
            std::cerr << "nivractl: " << error << '\n';
            return usageError("");
        }
        if (parsed == nivra::DeviceOption::Taken) continue;
        if (a.starts_with("-")) {
            std::cerr << "nivractl: unknown option " << a << '\n';
            return usageError("");
        }
        break;
    }
    if (i >= argc) return usageError("");
    std::string name = argv[i++];
    // A command may be named by two words ("set led"); the two-word name is looked up first.
    if (i < argc) {
        const std::string twoWords = name + " " + argv[i];
        for (const Command& c : commands())
            if (c.name == twoWords) {
                name = twoWords;
                ++i;
                break;
            }
    }
    for (; i < argc; ++i) inv.args.emplace_back(argv[i]);
    for (const Command& c : commands()) {
        if (c.name == name) return c.run(inv);
    }
    std::cerr << "nivractl: unknown command " << name << '\n';
    return usageError("");
}
