// nivractl commands that move configurations between the mouse and files: save, load,
// restore, patch, export-macros, backups, and the mouse side of `show --json`.
#include "device/backup.h"
#include "device/discovery.h"
#include "device/link.h"
#include "device/session.h"
#include "device/transfer.h"
#include "files/config_file.h"
#include "files/patch_code.h"
#include "files/profile_files.h"
#include "image/builtin.h"
#include "skin/language_table.h"
#include "tools/nivractl/command.h"
#include "tools/nivractl/image_json.h"
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

// The window side for a shell: both file dialogs answer with the file named on the command
// line, messages are kept for the error line.
class ShellView final : public QuietTransferView {
public:
    std::string file;
    std::vector<std::string> messages;

    std::optional<std::string> chooseSaveFile(bool) override { return file; }
    std::optional<std::string> chooseOpenFile() override { return file; }
    void showMessage(std::string_view id) override {
        const std::string text = english(id);
        if (!text.empty()) messages.push_back(text);
    }
    void showMessageText(std::string_view text) override { messages.emplace_back(text); }
};

// The mouse of the global options (simulated or real), the link, the discovery and the
// transfers, connected as the window connects them.
class Session final : public DeviceEvents {
public:
    ShellView view;
    ImageState state;
    std::unique_ptr<Transfer> transfer;
    bool idsRefused = false;
    bool memoryTypeError = false;

    // False with a message when the memory file or the trace file cannot be used.
    bool open(const nivractl::GlobalOptions& g, std::string& error) {
        SessionOptions o;
        o.simulate = g.simulate;
        o.simulateFile = g.simulateFile;
        o.traceFile = g.traceFile;
        o.initialMemory = builtinImage(1);
        device_ = DeviceSession::open(o, &error);
        if (!device_) return false;
        link_ = std::make_unique<Link>(&view);
        discovery_ = std::make_unique<Discovery>(device_->transport(), device_->clock(), *link_,
                                                 DiscoveryConfig::fromBuiltinImage(builtinImage(1)), *this);
        if (const auto dir = BackupStore::defaultDirectory(); !dir.empty())
            backups_ = std::make_unique<BackupStore>(dir);
        transfer = std::make_unique<Transfer>(*link_, *discovery_, device_->clock(), state, view, backups_.get());
        transfer->InitNoDevice();
        return true;
    }

    // Finds, identifies and reads the mouse. False with the reason when it is not usable.
    bool connect(std::string& error) {
        const std::size_t before = transfer->readRuns();
        if (!discovery_->ReFindDev()) {
            error = english("Str022");
            return false;
        }
        if (idsRefused) {
            error = english("Str107");
            return false;
        }
        if (memoryTypeError) {
            error = english("Str102");
            return false;
        }
        if (transfer->readRuns() == before || !transfer->connectedI2c()) {
            error = "the mouse did not identify itself as a mouse with an I2C configuration memory";
            return false;
        }
        if (!transfer->lastReadAccepted()) {
            error = "the mouse did not answer the read of its configuration";
            return false;
        }
        return true;
    }

    // After a flow that restarts the mouse: it must have been read again.
    bool cameBack(std::size_t readsBefore) const { return transfer->readRuns() > readsBefore && !gone_; }

    BackupStore* backups() { return backups_.get(); }

    // Closes the mouse, then saves the simulated memory back to its file.
    bool close(std::string& error) {
        if (!device_) return true;
        transfer.reset();
        discovery_.reset();
        return device_->close(&error);
    }

    // DeviceEvents, as the window handles them.
    void BtnRead() override { transfer->onMouseAccepted(); }
    void ShowIdsRefused() override { idsRefused = true; }
    void ShowMemoryTypeError() override { memoryTypeError = true; }
    void RefreshErrorAP() override { transfer->InitNoDevice(); }
    void DeviceGone() override {
        gone_ = true;
        transfer->setNoDevice(false);
        RefreshErrorAP();
    }

private:
    std::unique_ptr<DeviceSession> device_;
    std::unique_ptr<Link> link_;
    std::unique_ptr<Discovery> discovery_;
    std::unique_ptr<BackupStore> backups_;
    bool gone_ = false;
};

// Runs `body` on a connected session; the simulated memory is saved back afterwards.
// `spare` names a file the connection's backup must not prune away before `body` reads it.
template <typename Body>
int withMouse(const nivractl::Invocation& inv, Body body, const std::string& spare = {}) {
    Session s;
    std::string error;
    if (!s.open(inv.global, error)) return nivractl::fail(error);
    if (!spare.empty() && s.backups()) s.backups()->spare(spare);
    int status = s.connect(error) ? body(s) : nivractl::fail(error);
    if (!s.close(error)) status = nivractl::fail(error);
    return status;
}

std::string firstMessage(const Session& s, const std::string& fallback) {
    return s.view.messages.empty() ? fallback : s.view.messages.front();
}

// The result of a flow that wrote to the mouse and restarted it.
int afterRestart(const Session& s, std::size_t readsBefore) {
    if (!s.cameBack(readsBefore)) return nivractl::fail("the mouse was written but not found again after its restart");
    return nivractl::kOk;
}

int runSave(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("save");
    return withMouse(inv, [&](Session& s) {
        s.view.file = inv.args[0];
        const FileResult r = ProfileFiles(*s.transfer).Btn_Save_0Click();
        return r.ok() ? nivractl::kOk : nivractl::fail(inv.args[0] + ": " + r.detail);
    });
}

int runLoad(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("load");
    return withMouse(inv, [&](Session& s) {
        s.view.file = inv.args[0];
        const std::size_t reads = s.transfer->readRuns();
        const FileResult r = ProfileFiles(*s.transfer).Btn_Load_0Click();
        if (r.outcome == FileOutcome::Refused)
            return nivractl::fail(inv.args[0] + ": " + std::string(kLoadBinErrorText) + " (" + r.detail + ")");
        if (!r.ok()) return nivractl::fail(inv.args[0] + ": " + firstMessage(s, r.detail));
        return afterRestart(s, reads);
    }, /*spare=*/inv.args[0]);
}

int runRestore(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("restore");
    const std::string& what = inv.args[0];
    if (what != "1" && what != "2" && what != "3" && what != "defaults") return nivractl::usageError("restore");
    return withMouse(inv, [&](Session& s) {
        const std::size_t reads = s.transfer->readRuns();
        if (what == "defaults")
            s.transfer->Btn_DefaultClick();
        else
            s.transfer->DefaultParameterConfirm(what[0] - '0');
        return afterRestart(s, reads);
    });
}

int runPatch(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("patch");
    return withMouse(inv, [&](Session& s) {
        s.view.file = inv.args[0];
        const std::size_t reads = s.transfer->readRuns();
        const FileResult r = PatchCodeFiles(*s.transfer).Btn_PatchCodeClick();
        if (r.outcome == FileOutcome::Refused)
            return nivractl::fail(inv.args[0] + ": " + std::string(kLoadBinErrorText) + " (" + r.detail + ")");
        if (!r.ok()) return nivractl::fail(inv.args[0] + ": " + firstMessage(s, r.detail));
        return afterRestart(s, reads);
    });
}

int runExportMacros(const nivractl::Invocation& inv) {
    if (inv.args.size() != 1) return nivractl::usageError("export-macros");
    return withMouse(inv, [&](Session& s) {
        s.view.file = inv.args[0];
        const FileResult r = ProfileFiles(*s.transfer).Btn_DevExportClick();
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

int showMouseImage(const Invocation& inv) {
    return withMouse(inv, [](Session& s) { return printImageJson(s.state.transfer); });
}

int withConnectedMouse(const Invocation& inv, const std::function<int(nivra::Transfer&)>& body) {
    return withMouse(inv, [&](Session& s) { return body(*s.transfer); });
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
