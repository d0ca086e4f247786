// nivractl commands for the ten fire macros: their names and lengths, one as a listing, and
// the 480-byte fire macro file, through the fire macro editor's model (so an import sends
// the window's reports).
#include "macro/fire_listing.h"
#include "settings/fire_macro_model.h"
#include "settings/mouse_session.h"
#include "tools/nivractl/cli.h"
#include "tools/nivractl/command.h"

#include <iostream>

namespace {

using namespace nivra;

using nivractl::Connected;
using nivractl::english;
using nivractl::Result;

// The editor's model on a connected mouse; messages are kept for the error line while
// the run lasts.
struct FireRun {
    explicit FireRun(Connected& s) : editor(s.editor()), model(s.fireMacros()), told(model) {}
    Result result(const std::string& what) const { return told.result(what); }
    ImageEditor& editor;
    FireMacroModel& model;
    nivractl::ModelMessages<FireMacroModel> told;
};

Result runFire(const nivractl::Invocation& inv) {
    const auto& a = inv.args;
    if (a.empty()) return nivractl::usageError("fire");
    const std::string& sub = a[0];
    if (sub == "list" && a.size() == 1) {
        return nivractl::withMouse(inv, [](Connected& s) {
            FireRun run(s);
            const std::vector<std::string> names = run.model.RefreshFireMacroName();
            for (std::size_t i = 0; i < names.size(); ++i)
                std::cout << i << '\t' << nivractl::listingField(names[i]) << '\t' << run.model.length(i) << '\n';
            return nivractl::ok();
        });
    }
    if (sub == "show" && a.size() == 2) {
        const auto slot = nivractl::parseInteger(a[1], 0, 9);
        if (!slot) return nivractl::fail(a[1] + ": a fire macro is numbered 0..9");
        return nivractl::withMouse(inv, [&](Connected& s) {
            FireRun run(s);
            run.model.LB_FireMacroNameClick(static_cast<std::size_t>(*slot));
            for (const std::string& line : run.model.listing()) std::cout << line << '\n';
            return nivractl::ok();
        });
    }
    if (sub == "import" && a.size() == 2) {
        return nivractl::withMouse(inv, [&](Connected& s) {
            FireRun run(s);
            const bool imported = run.model.Btn_ImportGunMacroClick(a[1]);
            if (imported && s.session().state().deviceMemory == MemoryType::I2C && !run.editor.lastWriteOk())
                return nivractl::fail(a[1] + ": the mouse did not accept the write");
            return run.result(a[1]);
        });
    }
    if (sub == "export" && a.size() == 2) {
        return nivractl::withMouse(inv, [&](Connected& s) {
            FireRun run(s);
            run.model.exportFireMacroFile(a[1]);
            return run.result(a[1]);
        });
    }
    return nivractl::usageError("fire");
}

}  // namespace

NIVRACTL_COMMAND("fire",
                 "fire list | show N | import FILE | export FILE\n"
                 "                          the ten fire macros (slot, name, byte length), fire macro N (0..9)\n"
                 "                          as a listing, the 480-byte fire macro file (an import writes the\n"
                 "                          fire-macro area to the mouse)",
                 runFire);
