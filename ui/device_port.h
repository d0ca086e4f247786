// What the main window needs from the device link and the transfers. The window calls these
// on the UI thread; the link calls back through DeviceView.
#pragma once

#include <QString>

namespace nivra::ui {

// Window side of the device flows: the link and the transfers call these.
class DeviceView {
public:
    virtual ~DeviceView() = default;
    virtual void showCovers(bool shown) = 0;       // Disable_All_1..5
    virtual void showSplash(bool shown) = 0;       // TFormLoadingUI
    virtual void showMessage(const QString& id) = 0;  // language id, in the message dialog
    virtual void showRefusal() = 0;                // "Str107" in a plain message box
    virtual void enterNoDevice() = 0;              // page 1, rb_1, page-button pictures reset
    virtual void deviceGone() = 0;                 // covers and "Str100"
    virtual void refreshFromImage() = 0;           // DataBufToUI / RefreshUI
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
    virtual bool saveProfile(const QString& path, QString* error) = 0;
    virtual bool loadProfile(const QString& path, QString* error) = 0;
    virtual bool loadPatch(const QString& path, QString* error) = 0;  // Load BIN
    virtual void clearPatch() = 0;            // opening the update page
    virtual void programPatch() = 0;          // Program (nothing without a loaded patch)
    // Caption of key label k (1..12) of a profile (1..3), from the working copy.
    virtual QString keyCaption(int profile, int key) const = 0;
};

// No link: every handle invalid, nothing ever connects.
class NoDevicePort : public DevicePort {
public:
    void attach(DeviceView* view) override { view_ = view; }
    void start() override {}
    bool handlesValid() const override { return false; }
    bool noDevice() const override { return true; }
    bool busy() const override { return false; }
    void invalidateHandles() override {}
    void enterNoDeviceState() override {
        if (view_) view_->enterNoDevice();
    }
    void restoreBuiltin(int) override {}
    void selectProfile(int) override {}
    bool saveProfile(const QString&, QString*) override { return false; }
    bool loadProfile(const QString&, QString*) override { return false; }
    bool loadPatch(const QString&, QString*) override { return false; }
    void clearPatch() override {}
    void programPatch() override {}
    QString keyCaption(int, int) const override { return {}; }

private:
    DeviceView* view_ = nullptr;
};

}  // namespace nivra::ui
