// The device port of the shipped program: the link, discovery, presence poll, notification
// thread, transfers and file flows over one HID transport, with the window as their view.
#pragma once

#include "ui/device_port.h"

#include "device/clock.h"
#include "device/device_events.h"
#include "device/discovery.h"
#include "device/hid_transport.h"
#include "device/link.h"
#include "device/notification_thread.h"
#include "device/transfer.h"
#include "device/transfer_view.h"
#include "files/patch_code.h"
#include "files/profile_files.h"
#include "image/code_texts.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

namespace nivra {
class BackupStore;
}

namespace nivra::ui {

class LinkedDevice : public QObject, public DevicePort, public DeviceEvents, public TransferView {
public:
    using TextLookup = std::function<QString(const QString& id)>;

    // `texts` gives the texts of the language in effect (button names); `backups` may be null.
    LinkedDevice(HidTransport& transport, Clock& clock, TextLookup texts, BackupStore* backups = nullptr,
                 std::uint8_t reserveManufacturerId = 0, std::uint8_t reserveProductId = 0);
    ~LinkedDevice() override;

    // One tick of the presence poll, as the DevTimer timer runs it every 3500 ms.
    void pollNow() { discovery_->devTimerTick(); }
    bool pollRunning() const { return devTimer_.isActive(); }
    Transfer& transfer() { return *transfer_; }
    Discovery& discovery() { return *discovery_; }
    const ImageState& imageState() const { return state_; }

    // DevicePort
    void attach(DeviceView* view) override { view_ = view; }
    void start() override;
    bool handlesValid() const override { return transfer_->mouseOpen(); }
    bool noDevice() const override { return transfer_->noDevice(); }
    bool busy() const override { return transfer_->busy(); }
    void invalidateHandles() override;
    void enterNoDeviceState() override { RefreshErrorAP(); }
    void restoreBuiltin(int n) override { transfer_->DefaultParameterConfirm(n); }
    void selectProfile(int profile) override { shownProfile_ = profile; }
    void saveProfile() override { reportSaveResult(files_->Btn_Save_0Click()); }
    void loadProfile() override { files_->Btn_Load_0Click(); }
    void openUpdatePage() override { patch_->Btn_Update_0Click(); }
    void loadPatch() override { patch_->Btn_LoadBINClick(); }
    void programPatch() override { patch_->Btn_ProgramClick(); }
    QString keyCaption(int profile, int key) const override;
    // Tells the user when Save Profile left no file: the mouse did not hand over its whole
    // configuration (Str109), or the file could not be written (Str110).
    void reportSaveResult(const FileResult& result);

    // DeviceEvents
    void BtnRead() override { transfer_->onMouseAccepted(); }
    void ShowIdsRefused() override;
    void ShowMemoryTypeError() override;
    void RefreshErrorAP() override;
    void DeviceGone() override;
    void DevTimerChanged(bool running) override;
    void postToUi(std::function<void()> fn) override;

    // TransferView
    void showSplash() override;
    void hideSplash() override;
    void showCoveringLabels() override;
    void hideCoveringLabels() override;
    void showMessage(std::string_view languageId) override;
    void showMessageText(std::string_view text) override;
    std::optional<std::string> chooseSaveFile(bool confirmOverwrite) override;
    std::optional<std::string> chooseOpenFile() override;
    void hideOpenMenus() override;
    void openMainModePage() override;
    void showFirstAndModePage() override;
    void refreshUI() override;
    void deviceMacroAreaChanged() override {}
    void fireMacroNamesChanged() override {}
    void clearDeviceMacroTexts() override {}
    void rebuildPcMacroList() override {}
    void refreshPointerSettings() override {}
    void showPatchCheck(std::string_view) override {}
    void setEngineerButtonsEnabled(bool) override {}
    void setResultImageVisible(bool) override {}
    void showPatchFilePath(std::string_view path) override;

private:
    Clock& clock_;
    TextLookup texts_;
    DeviceView* view_ = nullptr;
    ImageState state_;
    std::unique_ptr<Link> link_;
    std::unique_ptr<Discovery> discovery_;
    std::unique_ptr<Transfer> transfer_;
    std::unique_ptr<ProfileFiles> files_;
    std::unique_ptr<PatchCodeFiles> patch_;
    std::unique_ptr<NotificationThread> notifications_;
    QTimer devTimer_;
    int shownProfile_ = 1;
};

}  // namespace nivra::ui
