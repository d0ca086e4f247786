// Loading and programming the patch code.
#include "files/patch_code.h"

#include <algorithm>

#include "files/config_file.h"
#include "files/file_bytes.h"

namespace nivra {

bool PatchCodeFiles::openUpdatePage() {
    if (!t_.mouseOpen()) {
        t_.view().noMouseOpen();
        return false;
    }
    if (t_.noDevice()) return false;
    t_.view().hideOpenMenus();
    t_.view().showPatchFilePath("");
    patchLoaded_ = false;
    fileRead_ = false;
    return true;
}

bool PatchCodeFiles::readInto(const std::string& path, std::string& detail) {
    PatchHeader header;
    PatchCode code;
    if (!readPatchFile(path, header, code, &detail)) return false;
    WorkingCopy& work = t_.state().work;
    std::copy(header.begin(), header.end(), work.patchHeader().begin());
    std::copy(code.begin(), code.end(), work.patchCode().begin());
    return true;
}

bool PatchCodeFiles::patchSized(const std::string& path, std::string& detail) {
    std::vector<std::uint8_t> bytes;
    if (!readWholeFile(path, bytes, nullptr, kPatchFileSize + 1) || bytes.size() == kPatchFileSize) return true;
    detail = path + (bytes.size() > kPatchFileSize ? " holds more than " : " holds fewer than ") +
             std::to_string(kPatchFileSize) + " bytes";
    return false;
}

FileResult PatchCodeFiles::loadPatchFile(const ChoosePath& choose) {
    TransferView& view = t_.view();
    const auto chosen = choose();
    if (!chosen) return {FileOutcome::Cancelled, {}, {}};
    FileResult result{FileOutcome::Done, *chosen, {}};
    if (!patchSized(*chosen, result.detail)) {
        // "Program" must not write an earlier file after this one was refused.
        patchLoaded_ = false;
        fileRead_ = false;
        view.showPatchFilePath("");
        result.outcome = FileOutcome::WrongSize;
        return result;
    }
    view.showPatchFilePath(*chosen);
    fileRead_ = false;
    if (t_.connectedI2c()) {
        if (!readPatchFile(*chosen, loadedHeader_, loadedCode_, &result.detail)) {
            // "Program" must not write an earlier file after this one was refused.
            patchLoaded_ = false;
            view.showPatchFilePath("");
            view.showMessageText(kLoadBinErrorText);
            result.outcome = FileOutcome::Refused;
            return result;
        }
        fileRead_ = true;
    }
    patchLoaded_ = true;
    return result;
}

void PatchCodeFiles::writePatch() {
    if (!t_.connectedI2c()) return;
    WorkingCopy& work = t_.state().work;
    PatchHeader header;
    PatchCode code;
    std::copy(work.patchHeader().begin(), work.patchHeader().end(), header.begin());
    std::copy(work.patchCode().begin(), work.patchCode().end(), code.begin());
    CheckEEPatchCodeSection(header, code);
    std::copy(header.begin(), header.end(), work.patchHeader().begin());
    // Both blocks are compared with what the mouse holds after the restart that follows.
    t_.writeAndVerifyLater(region::kPatchHeader.offset, work.patchHeader());
    t_.writeAndVerifyLater(region::kPatchCode.offset, work.patchCode());
}

bool PatchCodeFiles::programPatch() {
    if (!t_.mouseOpen() || !patchLoaded_) return false;
    Transfer::Flow flow(t_);
    if (!flow.entered()) return false;
    TransferView& view = t_.view();
    t_.discovery().StopDevTimer();
    view.showCoveringLabels();
    view.showSplash();
    if (fileRead_ && t_.connectedI2c()) {
        WorkingCopy& work = t_.state().work;
        std::copy(loadedHeader_.begin(), loadedHeader_.end(), work.patchHeader().begin());
        std::copy(loadedCode_.begin(), loadedCode_.end(), work.patchCode().begin());
    }
    writePatch();
    t_.restartAndRefind();
    return true;
}

FileResult PatchCodeFiles::patchInOneStep(const ChoosePath& choose) {
    Transfer::Flow flow(t_);
    if (!flow.entered()) return {FileOutcome::Busy, {}, "another transfer is running"};
    TransferView& view = t_.view();
    view.hideOpenMenus();
    const auto chosen = choose();
    if (!chosen) return {FileOutcome::Cancelled, {}, {}};
    FileResult result{FileOutcome::Done, *chosen, {}};
    if (!patchSized(*chosen, result.detail)) {
        result.outcome = FileOutcome::WrongSize;
        return result;
    }
    view.showSplash();
    if (t_.connectedI2c() && !readInto(*chosen, result.detail)) {
        view.hideSplash();
        view.showMessageText(kLoadBinErrorText);
        result.outcome = FileOutcome::Refused;
        return result;
    }
    // As for "Program": with the presence poll running, the restart would pass for a
    // removed mouse (its message, the no-device state) and the mouse would be read twice; the
    // covering labels keep the pages from sending to the restarting mouse.
    t_.discovery().StopDevTimer();
    view.showCoveringLabels();
    writePatch();
    t_.restartAndRefind();
    return result;
}

}  // namespace nivra
