// nivractl commands that move configurations between the mouse and files: save, load,
// restore, patch, export-macros, backups, and the mouse side of `show --json`.
#include "files/backup.h"
#include "files/config_file.h"
#include "files/profile_files.h"
#include "settings/mouse_session.h"
#include "skin/ini_reader.h"
#include "skin/language_table.h"
#include "tools/nivractl/advanced_session.h"
#include "tools/nivractl/command.h"
#include "tools/nivractl/image_json.h"
#include "tools/nivractl/mouse_editor.h"
#include "tools/nivractl/mouse_access.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

namespace {

using namespace nivra;

// The English text of a language id; the id itself when the tables lack it.
std::string english(std::string_view id) {
    const std::string text = skin::builtInText(3, id);
    return text.empty() ? std::string(id) : text;
}

// Layout key Rev_Manu_ID / Rev_Pro_ID of the shipped ORG table, as the window reads them.
std::uint8_t reserveId(const char* key) {
    const skin::Checked<skin::IniTable> org = skin::loadLayoutTable(QStringLiteral("ORG"));
    if (!org) return 0;
    const int v = org->section(u"org").integer(QString::fromLatin1(key)).valueOr(0);
    return v >= 0 && v <= 0xFF ? static_cast<std::uint8_t>(v) : 0;
}

// The program's one MouseSession from the global options, with what a shell needs of its
// notifications: the messages for the error line, the refusals, the device-gone handling.
class Session {
public:
    std::unique_ptr<MouseSession> session;
    std::vector<std::string> messages;
    bool memoryTypeError = false;

    // False with a message when the memory file or the trace file cannot be used.
    bool open(const nivractl::GlobalOptions& g, std::string& error) {
        MouseSessionConfig config;
        config.reserveManufacturerId = reserveId("Rev_Manu_ID");
        config.reserveProductId = reserveId("Rev_Pro_ID");
        session = MouseSession::open(g, config, &error);
        if (!session) return false;
        QObject::connect(session.get(), &MouseSession::message, [this](const QString& id) {
            if (id == QLatin1String("Str102")) memoryTypeError = true;
            const std::string text = english(id.toStdString());
            if (!text.empty()) messages.push_back(text);
        });
        QObject::connect(session.get(), &MouseSession::messageText,
                         [this](const QString& text) { messages.push_back(text.toStdString()); });
        QObject::connect(session.get(), &MouseSession::refused,
                         [this] { messages.push_back(english("Str107")); });
        session->enterNoDevice();
        return true;
    }

    Transfer& transfer() { return session->transfer(); }
    ImageState& state() { return session->state(); }

    // Finds, identifies and reads the mouse. False with the reason when it is not usable.
    bool connect(std::string& error) {
        const std::size_t before = transfer().readRuns();
        if (!session->findNow()) {
            error = nivractl::mouseNotOpenedReason(session->discovery(), english("Str022"));
            return false;
        }
        if (session->refusals() > 0) {
            error = english("Str107");
            return false;
        }
        if (memoryTypeError) {
            error = english("Str102");
            return false;
        }
        if (transfer().readRuns() == before || !transfer().connectedI2c()) {
            error = "the mouse did not identify itself as a mouse with an I2C configuration memory";
            return false;
        }
        if (!transfer().lastReadAccepted()) {
            error = "the mouse did not answer the read of its configuration";
            return false;
        }
        // Some reports of the read were lost, twice: nothing is shown or changed.
        if (!transfer().lastReadComplete()) {
            error = english("Str821");
            return false;
        }
        return true;
    }

    BackupStore* backups() { return session->backups(); }

    // Closes the mouse, then saves the simulated memory back to its file.
    bool close(std::string& error) { return !session || session->close(&error); }
};

constexpr const char* kNotAccepted = "the mouse did not accept every report of the change";

// Runs `body` on a connected session; the simulated memory is saved back afterwards. A body
// that reports success while a write of its change was refused exits 1 with a message.
// `spare` names a file the connection's backup must not prune away before `body` reads it.
template <typename Body>
int withMouse(const nivractl::Invocation& inv, Body body, const std::string& spare = {}) {
    Session s;
    std::string error;
    if (!s.open(inv.global, error)) return nivractl::fail(error);
    if (!spare.empty() && s.backups()) s.backups()->spare(spare);
    int status = nivractl::kBadInput;
    if (!s.connect(error)) {
        status = nivractl::fail(error);
    } else {
        // Every report of the command's change counts, not only the last one.
        ImageEditor::WriteCheck writes(s.session->editor());
        status = body(s);
        if (status == nivractl::kOk && !writes.allAccepted()) status = nivractl::fail(kNotAccepted);
    }
    // The configuration read was to be kept as a backup: a backup that could not be written
    // (a full disk, a folder without rights) fails the command rather than pass unseen.
    if (const std::string failure = s.session->backupFailure(); !failure.empty() && status == nivractl::kOk)
        status = nivractl::fail("no backup of the mouse's configuration was kept: " + failure);
    if (!s.close(error)) status = nivractl::fail(error);
    return status;
}

}  // namespace

namespace nivractl {

int withEditorAndRestart(const Invocation& inv,
                         const std::function<int(nivra::ImageEditor&, const RestartMouse&)>& body) {
    return withMouse(inv, [&](Session& s) {
        // The session's one editor; the whole-image read that ends a restart announces the
        // new image to it.
        const RestartMouse restart = [&] {
            const std::size_t reads = s.transfer().readRuns();
            s.transfer().restartAndRefind();
            // Back means found, accepted and read whole: a read that lost reports is no mouse
            // whose configuration is known.
            return s.transfer().readRuns() > reads && !s.session->wentAway() && s.transfer().lastReadComplete();
        };
        return body(s.session->editor(), restart);
    });
}

}  // namespace nivractl

namespace {

std::string firstMessage(const Session& s, const std::string& fallback) {
    return s.messages.empty() ? fallback : s.messages.front();
}

// The result of a flow that wrote to the mouse and restarted it.
int afterRestart(Session& s, std::size_t readsBefore, int refusalsBefore) {
    // The mouse came back with IDs the check refuses: that refusal is the news, not a
    // mouse that was never found again.
    if (s.session->refusals() > refusalsBefore) return nivractl::fail(english("Str107"));
    if (s.transfer().readRuns() <= readsBefore || s.session->wentAway())
        return nivractl::fail("the mouse was written but not found again after its restart");
    // What the mouse holds after the restart must be what was written.
    const Transfer::WriteVerification& v = s.transfer().lastVerification();
    if (!v.readBack) return nivractl::fail("the mouse was written but could not be read back whole after its restart");
    if (!v.ok()) return nivractl::fail(english("Str822") + " (" + v.sections() + ")");
    return nivractl::kOk;
}

int runSave(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("save");
    return withMouse(inv, [&](Session& s) {
        const FileResult r = s.session->saveProfile(givenPath(inv.args[0]));
        return r.ok() ? nivractl::kOk : nivractl::fail(inv.args[0] + ": " + r.detail);
    });
}

int runLoad(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("load");
    return withMouse(inv, [&](Session& s) {
        const std::size_t reads = s.transfer().readRuns();
        const int refusals = s.session->refusals();
        const FileResult r = s.session->loadProfile(givenPath(inv.args[0]));
        if (r.outcome == FileOutcome::Refused)
            return nivractl::fail(inv.args[0] + ": " + std::string(kLoadBinErrorText) + " (" + r.detail + ")");
        if (!r.ok()) return nivractl::fail(inv.args[0] + ": " + firstMessage(s, r.detail));
        return afterRestart(s, reads, refusals);
    }, /*spare=*/inv.args[0]);
}

int runRestore(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("restore");
    const std::string& what = inv.args[0];
    if (what != "1" && what != "2" && what != "3" && what != "defaults") return nivractl::usageError("restore");
    return withMouse(inv, [&](Session& s) {
        const std::size_t reads = s.transfer().readRuns();
        const int refusals = s.session->refusals();
        if (what == "defaults")
            s.session->restoreDefaults();
        else
            s.session->restoreBuiltin(what[0] - '0');
        return afterRestart(s, reads, refusals);
    });
}

int runPatch(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("patch");
    return withMouse(inv, [&](Session& s) {
        const std::size_t reads = s.transfer().readRuns();
        const int refusals = s.session->refusals();
        const FileResult r = s.session->patchInOneStep(givenPath(inv.args[0]));
        if (r.outcome == FileOutcome::Refused)
            return nivractl::fail(inv.args[0] + ": " + std::string(kLoadBinErrorText) + " (" + r.detail + ")");
        if (!r.ok()) return nivractl::fail(inv.args[0] + ": " + firstMessage(s, r.detail));
        return afterRestart(s, reads, refusals);
    });
}

int runExportMacros(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("export-macros");
    return withMouse(inv, [&](Session& s) {
        const FileResult r = s.session->exportMacros(givenPath(inv.args[0]));
        return r.ok() ? nivractl::kOk : nivractl::fail(inv.args[0] + ": " + r.detail);
    });
}

int runBackups(const nivractl::Invocation& inv) {
    if (!inv.args.empty()) return nivractl::usageError("backups");
    const auto dir = BackupStore::defaultDirectory();
    if (dir.empty()) return nivractl::fail("no folder for backups: neither XDG_STATE_HOME nor HOME is set");
    for (const BackupEntry& e : BackupStore(dir).list()) std::cout << e.path.string() << '\n';
    return nivractl::kOk;
}

}  // namespace

namespace nivractl {

int withImageEditor(const Invocation& inv, const std::function<int(nivra::ImageEditor&)>& body) {
    return withMouse(inv, [&](Session& s) { return body(s.session->editor()); });
}

int showMouseImage(const Invocation& inv) {
    return withMouse(inv, [](Session& s) { return printImageJson(s.state().transfer); });
}

int withConnectedMouse(const Invocation& inv, const std::function<int(nivra::MouseSession&)>& body) {
    return withMouse(inv, [&](Session& s) { return body(*s.session); });
}

}  // namespace nivractl

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
