// Every command of nivractl that writes to the mouse or to a file, run in process against the
// simulated mouse with one injected fault (refuse-set, fail-get, vanish, vanish-return) at
// each report position: every report of short runs, and for long ones the first and last
// report of every block plus an even sample. A command that exits 0 must leave the mouse
// as the fault-free run leaves it; any other exit must say why; a file it writes holds its
// old or its complete new content. The table of results is printed at the end.
#include "device/simulated_mouse.h"
#include "image/builtin.h"
#include "tests/faults/in_process.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace nivra::testing {
namespace {

constexpr ReportFaultKind kKinds[] = {ReportFaultKind::RefuseSet, ReportFaultKind::FailGet, ReportFaultKind::Vanish,
                                      ReportFaultKind::VanishReturn};
// Positions tried at most per kind beside the block edges; runs up to this long are tried
// at every report.
constexpr std::size_t kSamples = 24;

struct Flow {
    std::string name;
    std::vector<std::string> args;
    std::vector<std::string> watched;  // files (in the case folder) the command may write
    int image = 1;                     // the built-in image the mouse starts with
    std::function<void(const fs::path&)> setup;  // more of the starting folder
};

// Runs a set-up command fault-free and insists it worked.
void prepare(const fs::path& dir, const std::vector<std::string>& args) {
    const Outcome o = runIn(dir, args, {});
    ASSERT_EQ(o.status, 0) << args[0] << ": " << o.err;
}

std::vector<Flow> flows() {
    auto bytesOfImage = [](int n) {
        const Image i = builtinImage(n);
        return Bytes(i.begin(), i.end());
    };
    std::vector<Flow> f;
    f.push_back({"load", {"load", "{dir}/cfg.bin"}, {}, 1, [=](const fs::path& d) { writeBytes(d / "cfg.bin", bytesOfImage(2)); }});
    f.push_back({"patch", {"patch", "{dir}/patch.bin"}, {}, 1, [=](const fs::path& d) {
                     // The patch area of image 1 with a new code byte; the header's first 8
                     // bytes zero: the command computes them.
                     const Bytes img = bytesOfImage(1);
                     Bytes p(img.begin() + 1008, img.begin() + 1536);
                     std::fill(p.begin(), p.begin() + 8, 0);
                     p[16 + 5] ^= 0x5A;
                     writeBytes(d / "patch.bin", p);
                 }});
    f.push_back({"restore 1", {"restore", "1"}, {}, 2, nullptr});
    f.push_back({"restore 2", {"restore", "2"}, {}, 1, nullptr});
    f.push_back({"restore 3", {"restore", "3"}, {}, 1, nullptr});
    f.push_back({"restore defaults", {"restore", "defaults"}, {}, 2, nullptr});
    f.push_back({"save", {"save", "{dir}/out.bin"}, {"out.bin"}, 1, nullptr});
    f.push_back({"export-macros", {"export-macros", "{dir}/area.bin"}, {"area.bin"}, 1,
                 [](const fs::path& d) { prepare(d, {"macro", "add", "Copy"}); }});
    f.push_back({"macro add", {"macro", "add", "Paste"}, {}, 1, [](const fs::path& d) { prepare(d, {"macro", "add", "Copy"}); }});
    f.push_back({"macro delete", {"macro", "delete", "Copy"}, {}, 1, [](const fs::path& d) {
                     prepare(d, {"macro", "add", "Copy"});
                     prepare(d, {"macro", "add", "Paste"});
                     prepare(d, {"set", "button", "2", "4", "macro:Paste"});
                 }});
    f.push_back({"macro import", {"macro", "import", "{dir}/in.bin"}, {}, 1, [](const fs::path& d) {
                     // An area of two macros, made on a copy of the mouse.
                     const fs::path other = d / "other";
                     fs::create_directories(other);
                     fs::copy_file(d / "mouse.bin", other / "mouse.bin");
                     prepare(other, {"macro", "add", "Cut"});
                     prepare(other, {"macro", "add", "Paste"});
                     prepare(other, {"export-macros", (d / "in.bin").string()});
                     fs::remove_all(other);
                 }});
    f.push_back({"fire import", {"fire", "import", "{dir}/fire.bin"}, {}, 1, [](const fs::path& d) {
                     prepare(d, {"fire", "export", (d / "fire.bin").string()});
                     Bytes b = readBytes(d / "fire.bin");
                     b[1] = 'N';  // "Macro1" becomes "Nacro1"
                     writeBytes(d / "fire.bin", b);
                 }});
    f.push_back({"library import", {"library", "import", "{dir}/one.bin"}, {"data/nivra/Nivra-Macro.bin"}, 1,
                 [](const fs::path& d) {
                     prepare(d, {"library", "export", "Copy", (d / "one.bin").string()});
                     Bytes b = readBytes(d / "one.bin");
                     b[1] = 'K';  // "Copy" becomes "Kopy"
                     writeBytes(d / "one.bin", b);
                 }});
    f.push_back({"set button", {"set", "button", "2", "3", "DPI Up"}, {}, 1, nullptr});
    f.push_back({"set slot", {"set", "slot", "5", "code:09010000"}, {}, 1, nullptr});
    f.push_back({"set profile", {"set", "profile", "2"}, {}, 1, nullptr});
    f.push_back({"set switch", {"set", "switch", "middle"}, {}, 1, nullptr});
    f.push_back({"set led-chord", {"set", "led-chord", "off"}, {}, 1, nullptr});
    f.push_back({"set gun-switch", {"set", "gun-switch", "on"}, {}, 1, nullptr});
    f.push_back({"set cpi", {"set", "cpi", "level", "2", "1600"}, {}, 1, nullptr});
    f.push_back({"set aim", {"set", "aim", "1600"}, {}, 1,
                 [](const fs::path& d) { prepare(d, {"set", "button", "2", "9", "AIM Key"}); }});
    f.push_back({"set rate", {"set", "rate", "500"}, {}, 1, nullptr});
    f.push_back({"set cpi-option", {"set", "cpi-option", "indication", "1"}, {}, 1, nullptr});
    f.push_back({"set fire", {"set", "fire", "1", "7", "123"}, {}, 1, nullptr});
    f.push_back({"set led", {"set", "led", "speed", "5"}, {}, 1, nullptr});
    f.push_back({"gun set", {"gun", "set", "1", "1", "count", "5"}, {}, 1, nullptr});
    f.push_back({"gun assign", {"gun", "assign", "1", "2", "3"}, {}, 1, nullptr});
    return f;
}

// The report positions to try: every one of a short run; else the first and last report of
// every block (a command report and the data reports after it) and an even sample.
std::set<std::size_t> positionsOf(const std::vector<std::string>& trace) {
    std::set<std::size_t> at;
    const std::size_t n = trace.size();
    if (n <= 2 * kSamples) {
        for (std::size_t i = 1; i <= n; ++i) at.insert(i);
        return at;
    }
    for (std::size_t i = 1; i <= n; ++i) {
        const bool command = trace[i - 1].rfind("SET 40", 0) == 0;
        const bool lastOfBlock = i == n || trace[i].rfind("SET 40", 0) == 0;
        if (command || lastOfBlock) at.insert(i);
    }
    const std::size_t step = (n + kSamples - 1) / kSamples;
    for (std::size_t i = 1; i <= n; i += step) at.insert(i);
    return at;
}

struct Row {
    std::string flow;
    std::size_t reports = 0;
    std::map<ReportFaultKind, std::array<std::size_t, 4>> cells;  // positions, passes, exit 0, exit 1
};

TEST(FaultMatrix, EveryWriteFlowUnderEveryFaultTellsTheTruth) {
    // Thousands of runs each write the memory file and a backup: in memory where the machine
    // offers it, so the run is bound by the work and not by the disk.
    if (fs::is_directory("/dev/shm")) ::setenv("TMPDIR", "/dev/shm", 1);
    TempDir root;
    std::vector<Row> table;
    std::size_t failures = 0;
    for (const Flow& flow : flows()) {
        SCOPED_TRACE(flow.name);
        const fs::path base = root.path() / "base";
        fs::remove_all(base);
        fs::create_directories(base);
        const Image start = builtinImage(flow.image);
        writeBytes(base / "mouse.bin", Bytes(start.begin(), start.end()));
        if (flow.setup) flow.setup(base);
        if (::testing::Test::HasFatalFailure()) return;

        const auto freshCase = [&] {
            const fs::path dir = root.path() / "case";
            fs::remove_all(dir);
            fs::copy(base, dir, fs::copy_options::recursive);
            return dir;
        };
        std::map<std::string, std::optional<Bytes>> old;
        for (const std::string& w : flow.watched) old[w] = contentOf(base / w);

        // The fault-free run: its memory, files and report count are the reference.
        const fs::path clean = freshCase();
        const Outcome ref = runIn(clean, flow.args, flow.watched, {"--trace", (clean / "trace.txt").string()});
        ASSERT_EQ(ref.status, 0) << ref.err;
        const std::vector<std::string> trace = linesOf(clean / "trace.txt");
        Row row{flow.name, trace.size(), {}};

        for (ReportFaultKind kind : kKinds) {
            auto& cell = row.cells[kind];
            cell = {0, 0, 0, 0};
            for (std::size_t n : positionsOf(trace)) {
                const fs::path dir = freshCase();
                const std::string fault = std::string(reportFaultName(kind)) + "@" + std::to_string(n);
                const Outcome o = runIn(dir, flow.args, flow.watched, {"--simulate-fault", fault});
                std::string problem;
                if (o.status == 0) {
                    if (o.memory != ref.memory) problem = "exit 0, but the mouse differs from the fault-free run";
                    for (const auto& [name, content] : o.files)
                        if (content != ref.files.at(name)) problem = "exit 0, but " + name + " is not the new content";
                } else {
                    // "nivractl: " and a reason.
                    if (o.err.rfind("nivractl: ", 0) != 0 || o.err.size() < 20) problem = "no message: '" + o.err + "'";
                    for (const auto& [name, content] : o.files)
                        if (content != old.at(name) && content != ref.files.at(name))
                            problem = name + " holds neither its old nor its complete new content";
                }
                ++cell[0];
                ++cell[o.status == 0 ? 2 : 3];
                if (problem.empty()) {
                    ++cell[1];
                } else if (++failures <= 40) {
                    ADD_FAILURE() << flow.name << " " << fault << " (exit " << o.status << "): " << problem
                                  << "\n  " << o.err;
                }
            }
        }
        table.push_back(row);
    }
    EXPECT_EQ(failures, 0u);

    // The table: flow, reports of the fault-free run, then per kind positions tried / passed
    // (exits 0 / exits 1).
    std::ostringstream t;
    t << "| flow | reports |";
    for (ReportFaultKind k : kKinds) t << ' ' << reportFaultName(k) << " |";
    t << "\n|---|---|---|---|---|---|\n";
    for (const Row& r : table) {
        t << "| " << r.flow << " | " << r.reports << " |";
        for (ReportFaultKind k : kKinds) {
            const auto& c = r.cells.at(k);
            t << ' ' << c[1] << '/' << c[0] << " (" << c[2] << '/' << c[3] << ") |";
        }
        t << '\n';
    }
    std::cout << "Cells: passed/positions (exit 0/exit 1)\n" << t.str();
    if (const char* out = std::getenv("NIVRA_FAULT_TABLE")) std::ofstream(out) << t.str();
}

}  // namespace
}  // namespace nivra::testing
