// Runs a program of the project as its own process (a shell command line), for tests of
// its exit status and of what it prints on stdout and stderr.
#pragma once

#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>
#include <sys/wait.h>

namespace nivra::testing {

struct CommandResult {
    int status;        // exit status, -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// `command` runs through the shell with its output sent to files in `scratch`.
inline CommandResult runCommand(const std::string& command, const std::filesystem::path& scratch) {
    const auto out = scratch / ".command-out";
    const auto err = scratch / ".command-err";
    const std::string line = command + " >" + out.string() + " 2>" + err.string();
    const int raw = std::system(line.c_str());
    CommandResult r{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readText(out), readText(err)};
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return r;
}

// The non-empty lines of a text (a report trace written by --trace).
inline std::vector<std::string> nonEmptyLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace nivra::testing
