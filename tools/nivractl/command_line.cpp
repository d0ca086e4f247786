// nivractl's command line: the registry of commands, the global options, then one
// registered command. main() and the in-process tests both run it.
#include "tools/nivractl/command.h"

#include "tools/nivractl/reference.h"

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
}  // namespace

void printHelp(std::ostream& out) {
    out << "usage: nivractl " << nivra::kDeviceOptionsUsage << " COMMAND [ARGS...]\n"
        << "       nivractl --version | --help | --completion bash|zsh|fish\n\ncommands:\n";
    std::vector<const Command*> sorted;
    for (const Command& c : registry()) sorted.push_back(&c);
    std::sort(sorted.begin(), sorted.end(),
              [](const Command* a, const Command* b) { return a->name < b->name; });
    for (const Command* c : sorted) out << "  " << c->usage << '\n';
}

void registerCommand(Command command) { registry().push_back(std::move(command)); }
const std::vector<Command>& commands() { return registry(); }

std::string listingField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        char esc[8];
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(esc, sizeof esc, "\\x%02X", c);
            out += esc;
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080..U+009F in UTF-8: the C1 controls (0x9B starts a terminal sequence).
            std::snprintf(esc, sizeof esc, "\\u%04X", static_cast<unsigned char>(text[++i]));
            out += esc;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int runCommandLine(const std::vector<std::string>& words) {
    const int argc = static_cast<int>(words.size());
    // The reference texts the build installs, and what the completion scripts ask for.
    if (argc == 2 && words[1] == "--man") {
        std::cout << manPage();
        return kOk;
    }
    if (argc >= 2 && words[1] == "--completion") {
        const std::optional<std::string> script = argc == 3 ? completionScript(words[2]) : std::nullopt;
        if (!script) return exitStatus(usageError("", {"--completion takes one shell: bash, zsh or fish"}));
        std::cout << *script;
        return kOk;
    }
    if (argc >= 2 && words[1] == "--complete") {
        const std::size_t from = argc >= 3 && words[2] == "--" ? 3 : 2;
        for (const std::string& c : completions(std::vector<std::string>(words.begin() + static_cast<std::ptrdiff_t>(from), words.end())))
            std::cout << c << '\n';
        return kOk;
    }
    Invocation inv;
    int i = 1;
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
        if (parsed == nivra::DeviceOption::Error) return exitStatus(usageError("", {error}));
        if (parsed == nivra::DeviceOption::Taken) continue;
        if (a.starts_with("-")) return exitStatus(usageError("", {"unknown option " + a}));
        break;
    }
    if (i >= argc) return exitStatus(usageError(""));
    std::string name = words[static_cast<std::size_t>(i++)];
    // A command may be named by two words ("set led"); the two-word name is looked up first.
    if (i < argc) {
        const std::string twoWords = name + " " + words[static_cast<std::size_t>(i)];
        for (const Command& c : commands())
            if (c.name == twoWords) {
                name = twoWords;
                ++i;
                break;
            }
    }
    for (; i < argc; ++i) inv.args.push_back(words[static_cast<std::size_t>(i)]);
    for (const Command& c : commands()) {
        if (c.name == name) return exitStatus(c.run(inv));
    }
    return exitStatus(usageError("", {"unknown command " + name}));
}

}  // namespace nivractl
