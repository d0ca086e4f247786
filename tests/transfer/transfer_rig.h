// A simulated mouse wired to the link, the discovery and the transfers on a virtual clock,
// with a report trace and a view that records every call. Shared by the transfer and the
// file tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "device/backup.h"
#include "device/discovery.h"
#include "device/link.h"
#include "device/report_trace.h"
#include "device/simulated_mouse.h"
#include "device/transfer.h"
#include "image/builtin.h"
#include "tests/support/temp_dir.h"

namespace nivra::testing {



inline std::vector<std::uint8_t> bytesOf(const Image& image) { return {image.begin(), image.end()}; }

// Records the window side as one string per call; the splash calls of the link too.
class RecordingView : public TransferView {
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

    void showSplash() override { splashShown = true; calls.push_back("showSplash"); }
    void hideSplash() override { splashShown = false; calls.push_back("hideSplash"); }
    void showCoveringLabels() override { coveringShown = true; calls.push_back("showCoveringLabels"); }
    void hideCoveringLabels() override { coveringShown = false; calls.push_back("hideCoveringLabels"); }
    void showMessage(std::string_view id) override { calls.push_back("showMessage " + std::string(id)); }
    void showMessageText(std::string_view text) override { calls.push_back("showMessageText " + std::string(text)); }
    std::optional<std::string> chooseSaveFile(bool confirm) override {
        calls.push_back(confirm ? "chooseSaveFile confirm" : "chooseSaveFile");
        return saveAnswer;
    }
    std::optional<std::string> chooseOpenFile() override {
        calls.push_back("chooseOpenFile");
        return openAnswer;
    }
    void hideOpenMenus() override { calls.push_back("hideOpenMenus"); }
    void openMainModePage() override { calls.push_back("openMainModePage"); }
    void showFirstAndModePage() override { calls.push_back("showFirstAndModePage"); }
    void refreshUI() override { calls.push_back("refreshUI"); }
    void deviceMacroAreaChanged() override { calls.push_back("deviceMacroAreaChanged"); }
    void fireMacroNamesChanged() override { calls.push_back("fireMacroNamesChanged"); }
    void clearDeviceMacroTexts() override { calls.push_back("clearDeviceMacroTexts"); }
    void rebuildPcMacroList() override { calls.push_back("rebuildPcMacroList"); }
    void refreshPointerSettings() override { calls.push_back("refreshPointerSettings"); }
    void showPatchCheck(std::string_view hex) override { calls.push_back("showPatchCheck " + std::string(hex)); }
    void setEngineerButtonsEnabled(bool on) override {
        calls.push_back(on ? "engineerButtons on" : "engineerButtons off");
    }
    void setResultImageVisible(bool on) override { calls.push_back(on ? "resultImage on" : "resultImage off"); }
    void showPatchFilePath(std::string_view path) override { calls.push_back("showPatchFilePath " + std::string(path)); }
};

// The mouse, the link and the transfers, connected as the window connects them: the
// discovery's BtnRead starts a new connection's whole-image read; the device-gone handling
// enters the no-device state.
class Rig : public DeviceEvents {
public:
    explicit Rig(const Image& memory = builtinImage(1), bool withBackups = false) : mouse(clock, memory) {
        tracePath = dir.path() / "trace.txt";
        trace = std::make_shared<ReportTrace>(tracePath.string());
        transport = tracedTransport(mouse, trace);
        link = std::make_unique<Link>(&view);
        discovery = std::make_unique<Discovery>(*transport, clock, *link,
                                                DiscoveryConfig::fromBuiltinImage(builtinImage(1)), *this);
        if (withBackups) backups = std::make_unique<BackupStore>(dir.path() / "backups");
        transfer = std::make_unique<Transfer>(*link, *discovery, clock, state, view, backups.get());
        // The no-device state the program starts in: built-in image 1 in the working copy.
        transfer->InitNoDevice();
        view.clear();
    }

    // The first presence poll: the mouse is found, identified, accepted and read.
    void connect() {
        discovery->StartDevTimer();
        discovery->DevTimerTimer();
        ASSERT_TRUE(transfer->mouseOpen());
        ASSERT_TRUE(transfer->connectedI2c());
    }

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

    // DeviceEvents, as the window implements them.
    void BtnRead() override { transfer->onMouseAccepted(); }
    void DeviceGone() override {
        view.calls.push_back("DeviceGone");
        transfer->setNoDevice(false);
        RefreshErrorAP();
        view.showCoveringLabels();
        view.showMessage("Str100");
    }
    void RefreshErrorAP() override { transfer->InitNoDevice(); }

    TempDir dir;
    VirtualClock clock;
    SimulatedMouse mouse;
    std::filesystem::path tracePath;
    std::shared_ptr<ReportTrace> trace;
    std::unique_ptr<HidTransport> transport;
    RecordingView view;
    std::unique_ptr<Link> link;
    ImageState state;
    std::unique_ptr<Discovery> discovery;
    std::unique_ptr<BackupStore> backups;
    std::unique_ptr<Transfer> transfer;
    std::size_t marked = 0;
};

// "SET 40 09 00 00 08 00 00 00" for a report built by the protocol functions.
inline std::string setLine(const protocol::Report& r) { return traceLine(TraceKind::Set, r, true); }

inline std::size_t countPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; });
}

}  // namespace nivra::testing
