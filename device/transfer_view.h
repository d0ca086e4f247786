// What the configuration transfers tell their owner (the mouse session): splash, covering
// labels, messages and the refreshes from the working copy. The session turns each call
// into a notification of its observers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "device/link.h"

namespace nivra {

// What a transfer has to tell the user, named by what happened. The session maps each to
// its text of the language tables.
enum class TransferMessage {
    ReadIncomplete,  // the mouse did not hand over its whole configuration, twice
    WriteNotKept,    // the image read after a write differs from what was written
};

// Every call comes on the UI thread, in the order the flow makes it. The splash calls of
// SplashHooks are the same splash the link shows around its reports.
class TransferView : public SplashHooks {
public:
    ~TransferView() override = default;

    // The pages are covered (nothing can be clicked on them) or uncovered.
    virtual void showCoveringLabels() = 0;
    virtual void hideCoveringLabels() = 0;

    // A flow that needs the mouse found none open.
    virtual void noMouseOpen() = 0;
    // The message dialog with a fixed text that is the same in every language
    // ("Loading .bin is error!").
    virtual void showMessageText(std::string_view text) = 0;

    // Hides any open pop-up menu or panel.
    virtual void hideOpenMenus() = 0;
    // The main-mode page a restore opens before it writes.
    virtual void openMainModePage() = 0;
    // After a whole-image read: show page 1, then re-open the page of the selected mode.
    virtual void showFirstAndModePage() = 0;

    // The working copy was replaced: every view refreshes from it (the LED type of the
    // image state has just been taken from it). Runs with the busy flag set.
    virtual void refreshUI() = 0;
    // The device macro listing must be rebuilt from the device-macro-area copy.
    virtual void deviceMacroAreaChanged() = 0;
    // The fire-macro name list must be rebuilt from the fire-macro names.
    virtual void fireMacroNamesChanged() = 0;
    // The device macro texts are cleared before a new image arrives.
    virtual void clearDeviceMacroTexts() = 0;
    // Rebuilds the PC macro library list at the start of a whole-image read.
    virtual void rebuildPcMacroList() = 0;
    // Shows the system's pointer settings again.
    virtual void refreshPointerSettings() = 0;
    // The patch-code check: image bytes 1014-1015 as four upper-case hex digits.
    virtual void showPatchCheck(std::string_view hex4) = 0;
    // The engineer-page buttons, disabled during the full default restore.
    virtual void setEngineerButtonsEnabled(bool enabled) = 0;
    // The result picture of the engineer page, hidden while the full default restore runs.
    virtual void setResultImageVisible(bool visible) = 0;
    // The patch file chosen by "Load BIN" (empty to clear).
    virtual void showPatchFilePath(std::string_view path) = 0;
    // The busy flag of the transfers changed.
    virtual void busyChanged(bool busy) { (void)busy; }
    // The message dialog with the text of `message`; `detail` says more for a caller that can
    // show it (the sections a write did not keep).
    virtual void showMessage(TransferMessage message, std::string_view detail = {}) {
        (void)message;
        (void)detail;
    }
};

// Where a file flow gets its file: the window's dialog (asked at the point the flow needs
// the name, after its own checks), or a name given on the command line. nullopt: cancelled.
using ChoosePath = std::function<std::optional<std::string>()>;
inline ChoosePath givenPath(std::string path) {
    return [path = std::move(path)]() -> std::optional<std::string> { return path; };
}

// A view that does nothing and cancels every dialog; a base for fakes that override a few calls.
class QuietTransferView : public TransferView {
public:
    void showSplash() override {}
    void hideSplash() override {}
    void showCoveringLabels() override {}
    void hideCoveringLabels() override {}
    void noMouseOpen() override {}
    void showMessageText(std::string_view) override {}
    void hideOpenMenus() override {}
    void openMainModePage() override {}
    void showFirstAndModePage() override {}
    void refreshUI() override {}
    void deviceMacroAreaChanged() override {}
    void fireMacroNamesChanged() override {}
    void clearDeviceMacroTexts() override {}
    void rebuildPcMacroList() override {}
    void refreshPointerSettings() override {}
    void showPatchCheck(std::string_view) override {}
    void setEngineerButtonsEnabled(bool) override {}
    void setResultImageVisible(bool) override {}
    void showPatchFilePath(std::string_view) override {}
};

}  // namespace nivra
