// nivractl commands that move configurations between the mouse and files: save, load,
// restore, patch, export-macros and backups.
#include "files/backup.h"
#include "files/config_file.h"
#include "files/profile_files.h"
#include "device/transfer.h"
#include "settings/mouse_session.h"
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace {

using namespace nivra;
using nivractl::Connected;
using nivractl::english;
using nivractl::Result;

// The result of a flow that wrote to the mouse and restarted it.
Result afterRestart(Connected& s, std::size_t readsBefore, int refusalsBefore) {
    // The mouse came back with IDs the check refuses: that refusal is the news, not a
    // mouse that was never found again.
    if (s.session().refusals() > refusalsBefore) return nivractl::fail(english("Str107"));
    if (s.session().transfer().readRuns() <= readsBefore || s.session().wentAway())
        return nivractl::fail("the mouse was written but not found again after its restart");
    // What the mouse holds after the restart must be what was written.
    const Transfer::WriteVerification& v = s.session().transfer().lastVerification();
    if (!v.readBack) return nivractl::fail("the mouse was written but could not be read back whole after its restart");
    if (!v.ok()) return nivractl::fail(english("Str822") + " (" + v.sections() + ")");
    return nivractl::ok();
}

Result runSave(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("save");
    return nivractl::withMouse(inv, [&](Connected& s) {
        const FileResult r = s.session().saveProfile(givenPath(inv.args[0]));
        return r.ok() ? nivractl::ok() : nivractl::fail(inv.args[0] + ": " + r.detail);
    });
}

Result runLoad(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("load");
    return nivractl::withMouse(inv, [&](Connected& s) {
        const std::size_t reads = s.session().transfer().readRuns();
        const int refusals = s.session().refusals();
        const FileResult r = s.session().loadProfile(givenPath(inv.args[0]));
        if (r.outcome == FileOutcome::Refused)
            return nivractl::fail(inv.args[0] + ": " + std::string(kLoadBinErrorText) + " (" + r.detail + ")");
        if (!r.ok()) return nivractl::fail(inv.args[0] + ": " + s.firstMessage(r.detail));
        return afterRestart(s, reads, refusals);
    }, /*spare=*/inv.args[0]);
}

Result runRestore(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("restore");
    const std::string& what = inv.args[0];
    if (what != "1" && what != "2" && what != "3" && what != "defaults") return nivractl::usageError("restore");
    return nivractl::withMouse(inv, [&](Connected& s) {
        const std::size_t reads = s.session().transfer().readRuns();
        const int refusals = s.session().refusals();
        if (what == "defaults")
            s.session().restoreDefaults();
        else
            s.session().restoreBuiltin(what[0] - '0');
        return afterRestart(s, reads, refusals);
    });
}

Result runPatch(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("patch");
    return nivractl::withMouse(inv, [&](Connected& s) {
        const std::size_t reads = s.session().transfer().readRuns();
        const int refusals = s.session().refusals();
        const FileResult r = s.session().patchInOneStep(givenPath(inv.args[0]));
        if (r.outcome == FileOutcome::Refused)
            return nivractl::fail(inv.args[0] + ": " + std::string(kLoadBinErrorText) + " (" + r.detail + ")");
        if (!r.ok()) return nivractl::fail(inv.args[0] + ": " + s.firstMessage(r.detail));
        return afterRestart(s, reads, refusals);
    });
}

Result runExportMacros(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("export-macros");
    return nivractl::withMouse(inv, [&](Connected& s) {
        const FileResult r = s.session().exportMacros(givenPath(inv.args[0]));
        return r.ok() ? nivractl::ok() : nivractl::fail(inv.args[0] + ": " + r.detail);
    });
}

Result runBackups(const nivractl::Invocation& inv) {
    if (!inv.args.empty()) return nivractl::usageError("backups");
    const auto dir = BackupStore::defaultDirectory();
    if (dir.empty()) return nivractl::fail("no folder for backups: neither XDG_STATE_HOME nor HOME is set");
    for (const BackupEntry& e : BackupStore(dir).list()) std::cout << e.path.string() << '\n';
    return nivractl::ok();
}

}  // namespace

NIVRACTL_COMMAND("save", "save FILE               read the mouse's configuration into FILE (2048 bytes)", runSave);
NIVRACTL_COMMAND("load", "load FILE               write a configuration file (or a backup) to the mouse", runLoad);
NIVRACTL_COMMAND("restore", "restore 1|2|3|defaults  restore a built-in image or the defaults into the mouse",
                 runRestore);
NIVRACTL_COMMAND("patch", "patch FILE              write the patch code of a 528-byte patch file to the mouse",
                 runPatch);
NIVRACTL_COMMAND("export-macros", "export-macros FILE      write the mouse's device macro area to FILE (512 bytes)",
                 runExportMacros);
NIVRACTL_COMMAND("backups", "backups                 list the kept backups of the mouse's configuration, newest first",
                 runBackups);
