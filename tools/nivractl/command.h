// nivractl's command registry: each cmd_*.cpp file registers the commands it offers
// with a static NIVRACTL_COMMAND object, so main() never lists them by hand.
#pragma once

#include "tools/nivractl/cli.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nivractl {

struct Command {
    std::string name;
    std::string usage;                // one line, shown by `nivractl help`
    std::function<Result(const Invocation&)> run;
};

void registerCommand(Command command);
const std::vector<Command>& commands();
// `nivractl help`: the synopsis and every command's usage, sorted by name.
void printHelp(std::ostream& out);

// A text from the mouse or a file (a macro name) as one field of a listing line: control
// characters (tab and newline among them, and the C1 controls) and the backslash are
// written as C escapes (\t, \n, \\, \x1B, \u009B), so no name can split a line or a field
// or send a terminal control sequence.
std::string listingField(std::string_view text);

// Runs one command line (words[0] the program name): the global options, then a registered
// command; returns the exit status. Messages go to std::cerr, results to std::cout.
int runCommandLine(const std::vector<std::string>& words);

struct Registrar {
    explicit Registrar(Command command) { registerCommand(std::move(command)); }
};

}  // namespace nivractl

#define NIVRACTL_CONCAT2(a, b) a##b
#define NIVRACTL_CONCAT(a, b) NIVRACTL_CONCAT2(a, b)
// NIVRACTL_COMMAND("name", "usage", [](const nivractl::Invocation& inv) { ... });
#define NIVRACTL_COMMAND(...) \
    static const ::nivractl::Registrar NIVRACTL_CONCAT(nivractlRegistrar_, __LINE__){ ::nivractl::Command{__VA_ARGS__} }
