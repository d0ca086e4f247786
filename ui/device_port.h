// What the main window needs from the device link and the transfers, and what they ask of
// the window (DeviceView). All calls run on the UI thread.
#pragma once

#include <QString>

#include <optional>

namespace nivra::ui {

// Window side of the device flows.
class DeviceView {
public:
    virtual ~DeviceView() = default;
    virtual void showCovers(bool shown) = 0;          // Disable_All_1..5
    virtual void showSplash(bool shown) = 0;          // TFormLoadingUI
    virtual void showMessage(const QString& id) = 0;  // a language id, in the message dialog
    virtual void showMessageText(const QString& text) = 0;  // a fixed text, in the message dialog
    virtual void showRefusal() = 0;                   // "Str107" in a plain message box
    virtual void hideMenus() = 0;
    virtual void enterNoDevice() = 0;                 // page 1, rb_1, page-button pictures reset
    virtual void deviceGone() = 0;                    // covers and "Str100"
    virtual void refreshFromImage() = 0;              // TForm1.RefreshUI
    virtual void openMainModePage() = 0;              // before a restore writes
    virtual void showFirstAndModePage() = 0;          // after a whole-image read
    virtual void showPatchFilePath(const QString& path) = 0;  // lbl_LoadBIN
    // File dialogs; the save dialog appends ".bin" and, when asked, confirms replacing a file.
    virtual std::optional<QString> chooseSaveFile(bool confirmOverwrite) = 0;
    virtual std::optional<QString> chooseOpenFile() = 0;
};

class DevicePort {
public:
    virtual ~DevicePort() = default;
    virtual void attach(DeviceView* view) = 0;
    virtual void start() = 0;                 // presence poll and notification thread
    virtual bool handlesValid() const = 0;    // command and reply handles open
    virtual bool noDevice() const = 0;
    virtual bool busy() const = 0;
    virtual void invalidateHandles() = 0;     // before the window closes
    virtual void enterNoDeviceState() = 0;    // RefreshErrorAP with built-in image 1
    virtual void restoreBuiltin(int n) = 0;   // Confirm1..Confirm3
    virtual void selectProfile(int profile) = 0;
    virtual void saveProfile() = 0;           // Save Profile, dialogs through the view
    virtual void loadProfile() = 0;           // Load Profile
    virtual void openUpdatePage() = 0;        // forgets a loaded patch file
    virtual void loadPatch() = 0;             // Load BIN
    virtual void programPatch() = 0;          // Program (nothing without a loaded patch)
    // Caption of key label k (1..12) of a profile (1..3) from the working copy, in the
    // language in effect.
    virtual QString keyCaption(int profile, int key) const = 0;
};

}  // namespace nivra::ui
