// nivractl commands for macros: compiling and building listings, the PC macro library file,
// and the mouse's device macros (through the Macro page's model, so the reports sent are the
// window's).
#include "files/file_bytes.h"
#include "macro/byte_code.h"
#include "macro/library.h"
#include "macro/listing.h"
#include "settings/image_editor.h"
#include "settings/macro_model.h"
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace {

using namespace nivra;
using namespace nivra::macro;

using nivractl::Connected;
using nivractl::english;
using nivractl::Result;

std::string hex2(std::uint8_t b) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02X", b);
    return buf;
}

std::string hex4(std::uint16_t v) { return hex2(static_cast<std::uint8_t>(v >> 8)) + hex2(static_cast<std::uint8_t>(v)); }

// The library file the window uses: the layout key "Path", or the program's data folder.
std::filesystem::path windowLibraryFile() { return nivractl::layoutConfig().libraryFile; }

// Hex digits from the words (blanks between pairs optional); nothing when one is not hex.
std::optional<std::vector<std::uint8_t>> hexBytes(const std::vector<std::string>& words, std::size_t from) {
    std::string digits;
    for (std::size_t i = from; i < words.size(); ++i) digits += words[i];
    if (digits.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        unsigned v = 0;
        for (char c : digits.substr(i, 2)) {
            v <<= 4;
            if (c >= '0' && c <= '9') v |= static_cast<unsigned>(c - '0');
            else if (c >= 'A' && c <= 'F') v |= static_cast<unsigned>(c - 'A' + 10);
            else if (c >= 'a' && c <= 'f') v |= static_cast<unsigned>(c - 'a' + 10);
            else return std::nullopt;
        }
        out.push_back(static_cast<std::uint8_t>(v));
    }
    return out;
}

Result runCompile(const nivractl::Invocation& inv) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!readFileUpTo(inv.args[1], bytes, kMaxTextFileSize, &error)) return nivractl::fail(error);
    Listing listing;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        listing.push_back(line);
    }
    const std::vector<std::uint8_t> code = CompileMacroListing(listing);
    std::string out;
    for (std::uint8_t b : code) out += (out.empty() ? "" : " ") + hex2(b);
    std::cout << out << '\n';
    return nivractl::ok();
}

Result runBuild(const nivractl::Invocation& inv) {
    const auto bytes = hexBytes(inv.args, 1);
    if (!bytes) return nivractl::fail("the bytes must be pairs of hex digits");
    const std::optional<std::size_t> len = scanMacroLength(*bytes);
    if (!len) return nivractl::fail("the bytes are no macro: they end before an end marker (00)");
    if ((*bytes)[*len - 1] != op::kEnd)
        return nivractl::fail("the bytes are no macro: byte " + std::to_string(*len - 1) + " (" +
                              hex2((*bytes)[*len - 1]) + ") is no instruction");
    for (const std::string& line : BuildMacroListing(*bytes, *len).lines) std::cout << line << '\n';
    return nivractl::ok();
}

// Runs `body` on the library (loaded, or created from the default library).
template <typename Body>
Result withLibrary(const std::filesystem::path& file, Body body) {
    MacroLibrary lib(file);
    const LibraryResult loaded = lib.CheckPCMacro();
    if (loaded == LibraryResult::Damaged)
        return nivractl::fail(lib.error() + " ('nivractl library reset' replaces it with the default library)");
    if (loaded != LibraryResult::Done) return nivractl::fail(lib.error());
    return body(lib);
}

Result libraryFailure(const MacroLibrary& lib, LibraryResult r, const std::string& what) {
    switch (r) {
    case LibraryResult::Done: return nivractl::ok();
    case LibraryResult::Exists: return nivractl::fail(what + ": " + english("Str106"));
    case LibraryResult::BadFile: return nivractl::fail(what + ": Loading .bin is error!");
    case LibraryResult::BadName: return nivractl::fail(what + ": " + english("Str820"));
    case LibraryResult::FileError:
    case LibraryResult::Damaged: return nivractl::fail(lib.error());
    case LibraryResult::Ignored: return nivractl::fail(what + ": nothing was done (the library is full or the name is empty)");
    }
    return nivractl::fail(lib.error());
}

std::optional<std::size_t> indexOf(const std::vector<std::string>& names, const std::string& name) {
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name) return i;
    return std::nullopt;
}

Result runLibrary(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    if (a.empty()) return nivractl::usageError("library");
    const std::string& sub = a[0];
    if (sub == "list" && a.size() <= 2) {
        const std::filesystem::path file = a.size() == 2 ? std::filesystem::path(a[1]) : windowLibraryFile();
        const auto list = [](MacroLibrary& lib) {
            const auto names = lib.names();
            for (std::size_t i = 0; i < names.size(); ++i)
                std::cout << i << '\t' << nivractl::listingField(names[i]) << '\t' << lib.macroLength(i) << '\n';
            return nivractl::ok();
        };
        // Listing never writes: a missing file is not created from the defaults. The window's
        // own library, not made yet, lists the default library it will start from.
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) {
            if (a.size() == 2) return nivractl::fail("cannot read " + a[1] + ": no such file");
            MacroLibrary lib;
            lib.loadBytes(defaultLibraryData());
            return list(lib);
        }
        return withLibrary(file, list);
    }
    if (sub == "reset" && a.size() <= 2) {
        // The user's explicit choice to replace the library file (damaged or not).
        MacroLibrary lib(a.size() == 2 ? std::filesystem::path(a[1]) : windowLibraryFile());
        const LibraryResult r = lib.replaceWithDefault();
        return r == LibraryResult::Done ? nivractl::ok() : nivractl::fail(lib.error());
    }
    if (sub == "export" && a.size() == 3) {
        return withLibrary(windowLibraryFile(), [&](MacroLibrary& lib) {
            const auto i = indexOf(lib.names(), a[1]);
            if (!i) return nivractl::fail("no macro named " + a[1] + " in the library");
            std::string error;
            if (!writeWhole(a[2], lib.recordBytes(*i), &error)) return nivractl::fail(error);
            return nivractl::ok();
        });
    }
    if (sub == "import" && a.size() == 2) {
        return withLibrary(windowLibraryFile(), [&](MacroLibrary& lib) {
            std::vector<std::uint8_t> bytes;
            std::string error;
            if (!readWholeFile(a[1], bytes, &error, kRecordSize)) return nivractl::fail(error);
            if (lib.count() >= kLibraryRecords - 1) return nivractl::fail(a[1] + ": the library holds 99 or more macros");
            return libraryFailure(lib, lib.importOne(bytes), a[1]);
        });
    }
    if (sub == "rename" && a.size() == 3) {
        return withLibrary(windowLibraryFile(), [&](MacroLibrary& lib) {
            const auto i = indexOf(lib.names(), a[1]);
            if (!i) return nivractl::fail("no macro named " + a[1] + " in the library");
            if (utf16Units(a[2]) > kNameUnits) return nivractl::fail(a[2] + ": a name has at most 8 characters");
            return libraryFailure(lib, lib.rename(*i, a[2]), a[2]);
        });
    }
    if (sub == "delete" && a.size() == 2) {
        return withLibrary(windowLibraryFile(), [&](MacroLibrary& lib) {
            const auto i = indexOf(lib.names(), a[1]);
            if (!i) return nivractl::fail("no macro named " + a[1] + " in the library");
            return libraryFailure(lib, lib.remove(*i), a[1]);
        });
    }
    return nivractl::usageError("library");
}

// The Macro page's model on a connected mouse; messages are kept for the error line.
struct DeviceMacroRun {
    explicit DeviceMacroRun(Connected& s) : editor(s.editor()), model(s.macros()), told(model) {}
    Result result(const std::string& what) const {
        if (!told.empty()) return told.result(what);
        if (!editor.lastWriteOk()) return nivractl::fail(what + ": the mouse did not accept the write");
        return nivractl::ok();
    }
    ImageEditor& editor;
    MacroModel& model;
    nivractl::ModelMessages<MacroModel> told;
};

Result runMacro(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    if (a.empty()) return nivractl::usageError("macro");
    const std::string& sub = a[0];
    if (sub == "compile" && a.size() == 2) return runCompile(inv);
    if (sub == "build" && a.size() >= 2) return runBuild(inv);
    if (sub == "list" && a.size() == 1) {
        return nivractl::withMouse(inv, [](Connected& t) {
            DeviceMacroRun run(t);
            const DeviceMacros& d = run.model.deviceMacros();
            for (std::size_t k = 0; k < d.count(); ++k)
                std::cout << nivractl::listingField(d.name(k)) << '\t' << hex4(d.slot(k).address) << '\t' << d.macroLength(k) << '\n';
            return nivractl::ok();
        });
    }
    if (sub == "add" && a.size() == 2) {
        return nivractl::withMouse(inv, [&](Connected& t) {
            DeviceMacroRun run(t);
            if (!run.model.CheckPCMacro()) return run.result(a[1]);
            const auto i = indexOf(run.model.libraryNames(), a[1]);
            if (!i) return nivractl::fail("no macro named " + a[1] + " in the library");
            const std::size_t before = run.model.deviceMacros().count();
            run.model.LB_PCMacroNameClick(*i);
            run.model.Btn_AddMacroClick();
            if (run.told.empty() && run.model.deviceMacros().count() == before)
                return nivractl::fail(a[1] + ": the mouse holds 15 macros already");
            return run.result(a[1]);
        });
    }
    if (sub == "delete" && a.size() == 2) {
        return nivractl::withMouse(inv, [&](Connected& t) {
            DeviceMacroRun run(t);
            const auto k = indexOf(run.model.deviceNames(), a[1]);
            if (!k) return nivractl::fail("no macro named " + a[1] + " on the mouse");
            run.model.LB_MacroNameClick(*k);
            run.model.Btn_DelMacroClick();
            return run.result(a[1]);
        });
    }
    if (sub == "export" && a.size() == 2) {
        return nivractl::withMouse(inv, [&](Connected& t) {
            DeviceMacroRun run(t);
            std::string error;
            if (!writeWhole(a[1], run.model.deviceMacros().area(), &error)) return nivractl::fail(error);
            return nivractl::ok();
        });
    }
    if (sub == "import" && a.size() == 2) {
        return nivractl::withMouse(inv, [&](Connected& t) {
            DeviceMacroRun run(t);
            run.model.importBaseMacroFile(a[1]);
            return run.result(a[1]);
        });
    }
    return nivractl::usageError("macro");
}

}  // namespace

NIVRACTL_COMMAND("macro",
                 "macro compile FILE | build HEX... | list | add NAME | delete NAME | export FILE | import FILE\n"
                 "                          a listing (header first) to byte code, byte code to a listing; the\n"
                 "                          mouse's device macros (name, address, byte length); add a library\n"
                 "                          macro, delete one (its buttons re-pointed), the 512-byte base macro file",
                 runMacro);
NIVRACTL_COMMAND("library",
                 "library list [FILE] | export NAME FILE | import FILE | rename OLD NEW | delete NAME | reset [FILE]\n"
                 "                          the PC macro library (index, name, byte length); one macro to or from\n"
                 "                          a 272-byte file (- for standard output); the library file replaced by\n"
                 "                          the default library",
                 runLibrary);
