// A simulated mouse under the program's one MouseSession on a virtual clock, with a report
// trace and a view that records every notification. Shared by the transfer and the file tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "files/backup.h"
#include "device/discovery.h"
#include "device/link.h"
#include "device/report_trace.h"
#include "device/simulated_mouse.h"
#include "device/transfer.h"
#include "image/builtin.h"
#include "settings/mouse_session.h"
#include "tests/support/temp_dir.h"

namespace nivra::testing {

inline std::vector<std::uint8_t> bytesOf(const Image& image) { return {image.begin(), image.end()}; }

// Records what the session tells its observers as one string per notification, named
// after the window's handlers; the splash calls of the link too. File dialogs are the
// save and open answers, asked through saveDialog() and openDialog().
class RecordingView {
public:
    std::vector<std::string> calls;
    std::optional<std::string> saveAnswer;   // what the save dialog returns
    std::optional<std::string> openAnswer;   // what the open dialog returns
    bool splashShown = false;
    bool coveringShown = false;

    void clear() { calls.clear(); }
    std::size_t count(const std::string& call) const { return std::count(calls.begin(), calls.end(), call); }
    bool has(const std::string& call) const { return count(call) > 0; }
    // Calls other than the splash, which the link shows around every report.
    std::vector<std::string> withoutSplash() const {
        std::vector<std::string> out;
        for (const auto& c : calls)
            if (c != "showSplash" && c != "hideSplash") out.push_back(c);
        return out;
    }

    // The save dialog (it confirms replacing a file) and the open dialog.
    ChoosePath saveDialog() {
        return [this] {
            calls.push_back("chooseSaveFile confirm");
            return saveAnswer;
        };
    }
    ChoosePath openDialog() {
        return [this] {
            calls.push_back("chooseOpenFile");
            return openAnswer;
        };
    }

    void showSplash() { splashShown = true; calls.push_back("showSplash"); }
    void hideSplash() { splashShown = false; calls.push_back("hideSplash"); }
    void showCoveringLabels() { coveringShown = true; calls.push_back("showCoveringLabels"); }
    void hideCoveringLabels() { coveringShown = false; calls.push_back("hideCoveringLabels"); }
    void showMessage(std::string_view id) { calls.push_back("showMessage " + std::string(id)); }
    void showMessageText(std::string_view text) { calls.push_back("showMessageText " + std::string(text)); }

    // Listens to every notification of `session`.
    void attach(MouseSession& s) {
        auto on = [&s](auto signal, auto slot) { QObject::connect(&s, signal, slot); };
        auto record = [this](const char* name) { return [this, name] { calls.push_back(name); }; };
        on(&MouseSession::splash, [this](bool shown) { shown ? showSplash() : hideSplash(); });
        on(&MouseSession::covers, [this](bool shown) { shown ? showCoveringLabels() : hideCoveringLabels(); });
        on(&MouseSession::message, [this](const QString& id) { showMessage(id.toStdString()); });
        on(&MouseSession::messageText, [this](const QString& t) { showMessageText(t.toStdString()); });
        on(&MouseSession::hideMenusRequested, record("hideOpenMenus"));
        on(&MouseSession::mainModePageRequested, record("openMainModePage"));
        on(&MouseSession::firstAndModePageRequested, record("showFirstAndModePage"));
        on(&MouseSession::imageReplaced, record("refreshUI"));
        on(&MouseSession::deviceMacroAreaChanged, record("deviceMacroAreaChanged"));
        on(&MouseSession::fireMacroNamesChanged, record("fireMacroNamesChanged"));
        on(&MouseSession::deviceMacroTextsCleared, record("clearDeviceMacroTexts"));
        on(&MouseSession::pcMacroListRebuildRequested, record("rebuildPcMacroList"));
        on(&MouseSession::pointerSettingsRefreshRequested, record("refreshPointerSettings"));
        on(&MouseSession::patchCheckChanged,
           [this](const QString& hex) { calls.push_back("showPatchCheck " + hex.toStdString()); });
        on(&MouseSession::engineerButtonsEnabled,
           [this](bool on) { calls.push_back(on ? "engineerButtons on" : "engineerButtons off"); });
        on(&MouseSession::resultImageVisible,
           [this](bool on) { calls.push_back(on ? "resultImage on" : "resultImage off"); });
        on(&MouseSession::patchFilePathChanged,
           [this](const QString& path) { calls.push_back("showPatchFilePath " + path.toStdString()); });
        on(&MouseSession::refused, record("ShowIdsRefused"));
        // The window's part of the device-gone handling: covers and "Str100".
        on(&MouseSession::gone, [this] {
            calls.push_back("DeviceGone");
            showCoveringLabels();
            showMessage("Str100");
        });
    }
};

// The simulated mouse behind a report trace, on a virtual clock, with the one MouseSession
// of the program built over it (as the window builds it), and a view that records its
// notifications. `state`, `transfer`, `link`, `discovery` and `backups` point into the session.
class Rig {
public:
    explicit Rig(const Image& memory = builtinImage(1), bool withBackups = false)
        : mouse(clock, memory),
          tracePath(dir.path() / "trace.txt"),
          trace(std::make_shared<ReportTrace>(tracePath.string())),
          transport(tracedTransport(mouse, trace)),
          session(std::make_unique<MouseSession>(*transport, clock, config(withBackups))),
          state(session->state()),
          transfer(&session->transfer()),
          link(&session->link()),
          discovery(&session->discovery()),
          backups(session->backups()) {
        view.attach(*session);
        // The no-device state the program starts in: built-in image 1 in the working copy.
        session->enterNoDevice();
        view.clear();
    }

    // The first presence poll: the mouse is found, identified, accepted and read.
    void connect() {
        discovery->StartDevTimer();
        discovery->DevTimerTimer();
        ASSERT_TRUE(transfer->mouseOpen());
        ASSERT_TRUE(transfer->connectedI2c());
    }

    // The session's one editor.
    ImageEditor& editor() { return session->editor(); }

    // Trace lines written from now on are the ones lines() returns.
    void mark() { marked = allLines().size(); view.clear(); }
    std::vector<std::string> lines() const {
        auto all = allLines();
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(marked, all.size())), all.end()};
    }
    std::vector<std::string> allLines() const {
        std::ifstream in(tracePath);
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);) out.push_back(line);
        return out;
    }

    TempDir dir;
    VirtualClock clock;
    SimulatedMouse mouse;
    std::filesystem::path tracePath;
    std::shared_ptr<ReportTrace> trace;
    std::unique_ptr<HidTransport> transport;
    RecordingView view;
    std::unique_ptr<MouseSession> session;
    ImageState& state;
    Transfer* transfer;
    Link* link;
    Discovery* discovery;
    BackupStore* backups;
    std::size_t marked = 0;

private:
    MouseSessionConfig config(bool withBackups) const {
        MouseSessionConfig c;
        if (withBackups) c.backupDirectory = dir.path() / "backups";
        return c;
    }
};

// "SET 40 09 00 00 08 00 00 00" for a report built by the protocol functions.
inline std::string setLine(const protocol::Report& r) { return traceLine(TraceKind::Set, r, true); }

inline std::size_t countPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

}  // namespace nivra::testing
