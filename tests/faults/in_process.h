// nivractl command lines run in process on a simulated mouse whose memory file and program
// folders live in one test folder: exit status, messages, the memory and the files after.
#pragma once

#include "tests/support/temp_dir.h"
#include "tools/nivractl/command.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace nivra::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

inline void writeBytes(const fs::path& p, const Bytes& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::optional<Bytes> contentOf(const fs::path& p) {
    std::error_code ec;
    if (!fs::exists(p, ec)) return std::nullopt;
    return readBytes(p);
}

inline std::vector<std::string> linesOf(const fs::path& p) {
    std::ifstream in(p);
    std::vector<std::string> out;
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

struct Outcome {
    int status = 0;
    std::string err;
    std::optional<Bytes> memory;
    std::map<std::string, std::optional<Bytes>> files;
};

// One nivractl command line in process, on the simulated mouse whose memory is `dir`/mouse.bin,
// with the program's folders inside `dir`. `{dir}` in an argument stands for `dir`.
inline Outcome runIn(const fs::path& dir, const std::vector<std::string>& args, const std::vector<std::string>& watched,
              const std::vector<std::string>& extraOptions = {}) {
    ::setenv("XDG_STATE_HOME", (dir / "state").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (dir / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    std::vector<std::string> words{"nivractl", "--simulate=" + (dir / "mouse.bin").string()};
    words.insert(words.end(), extraOptions.begin(), extraOptions.end());
    for (std::string a : args) {
        for (std::size_t at; (at = a.find("{dir}")) != std::string::npos;) a.replace(at, 5, dir.string());
        words.push_back(a);
    }
    std::ostringstream out, err;
    std::streambuf* oldOut = std::cout.rdbuf(out.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
    Outcome o;
    o.status = nivractl::runCommandLine(words);
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    o.err = err.str();
    o.memory = contentOf(dir / "mouse.bin");
    for (const std::string& f : watched) o.files[f] = contentOf(dir / f);
    return o;
}

}  // namespace nivra::testing
