// Save Profile, Load Profile and Export All.
#include "files/profile_files.h"

#include "files/file_bytes.h"
#include "files/config_file.h"

namespace nivra {

FileResult ProfileFiles::saveProfile(const ChoosePath& choose) {
    Transfer::Flow flow(t_);
    if (!flow.entered()) return {FileOutcome::Busy, {}, "another transfer is running"};
    TransferView& view = t_.view();
    view.hideOpenMenus();
    if (!t_.mouseOpen()) {
        view.noMouseOpen();
        return {FileOutcome::NoMouse, {}, "no mouse is open"};
    }
    const auto chosen = choose();
    if (!chosen) return {FileOutcome::Cancelled, {}, {}};

    const bool read = t_.readWholeImage();
    // Only a configuration the mouse handed over is saved: an empty or stale file would
    // pass for a saved profile and could replace a good one.
    if (!t_.connectedI2c()) return {FileOutcome::NotRead, *chosen, "the mouse's memory is not I2C"};
    if (!read) return {FileOutcome::NotRead, *chosen, "the mouse did not answer the read"};
    if (!t_.lastReadComplete())
        return {FileOutcome::NotRead, *chosen, "the mouse stopped answering during the read"};
    std::string error;
    if (!writeFileAtomically(*chosen, t_.state().transfer, &error))
        return {FileOutcome::WriteFailed, *chosen, error};
    return {FileOutcome::Done, *chosen, {}};
}

FileResult ProfileFiles::loadProfile(const ChoosePath& choose) {
    Transfer::Flow flow(t_);
    if (!flow.entered()) return {FileOutcome::Busy, {}, "another transfer is running"};
    TransferView& view = t_.view();
    t_.setBusy(true);
    view.hideOpenMenus();
    FileResult result;
    if (!t_.mouseOpen()) {
        view.noMouseOpen();
        result = {FileOutcome::NoMouse, {}, "no mouse is open"};
    } else if (const auto chosen = choose(); !chosen) {
        result = {FileOutcome::Cancelled, {}, {}};
    } else {
        result.path = *chosen;
        bool accepted = true;
        if (t_.connectedI2c()) {
            // Read into a buffer of its own so that a refused file leaves nothing behind.
            Image file;
            if (readConfigurationFile(*chosen, file, &result.detail)) {
                t_.state().transfer = file;
            } else {
                accepted = false;
                view.showMessageText(kLoadBinErrorText);
                result.outcome = FileOutcome::Refused;
            }
        }
        if (accepted) writeLoadedImage();
    }
    t_.setBusy(false);
    return result;
}

void ProfileFiles::writeLoadedImage() {
    TransferView& view = t_.view();
    view.hideOpenMenus();
    t_.discovery().StopDevTimer();
    view.showCoveringLabels();
    if (t_.connectedI2c()) t_.distributeTransferBuffer();
    t_.DataBufToUI();
    view.showSplash();
    t_.writeTransferBuffer();
}

FileResult ProfileFiles::exportDeviceMacros(const ChoosePath& choose) {
    TransferView& view = t_.view();
    const auto chosen = choose();
    if (!chosen) return {FileOutcome::Cancelled, {}, {}};
    view.hideOpenMenus();
    if (!t_.connectedI2c()) return {FileOutcome::NotRead, *chosen, "the mouse's memory is not I2C"};
    std::string error;
    if (!writeFileAtomically(*chosen, t_.state().work.deviceMacros(), &error))
        return {FileOutcome::WriteFailed, *chosen, error};
    return {FileOutcome::Done, *chosen, {}};
}

}  // namespace nivra
