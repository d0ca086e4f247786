// Patch code from a file: "Load BIN" then "Program" on the update page, and the engineer
// page's one-step Load Patch Code. Both write the patch-code header (with a fresh check)
// and the patch code, then restart the mouse.
#pragma once

#include "device/transfer.h"
#include "files/profile_files.h"

namespace nivra {

class PatchCodeFiles {
public:
    explicit PatchCodeFiles(Transfer& transfer) : t_(transfer) {}

    // Btn_Update_0Click's checks: "Str022" without a mouse (false); false with nothing done
    // in the no-device state; otherwise the patch-loaded flag is cleared and the window
    // shows the update page (true).
    bool Btn_Update_0Click();
    // Btn_LoadBINClick: the open dialog; a file of at least 528 bytes goes into the
    // patch-code header and patch-code copies (when the mouse is I2C) and sets the
    // patch-loaded flag. A shorter or unreadable file is refused with
    // "Loading .bin is error!" and changes nothing.
    FileResult Btn_LoadBINClick();
    // Btn_ProgramClick: nothing without a mouse or before "Load BIN"; otherwise the header
    // rebuilt from the code, both written, and the mouse restarted.
    bool Btn_ProgramClick();
    // Btn_PatchCodeClick: choose, read, check and write in one step, then restart. A file
    // that cannot be loaded is refused as for "Load BIN": nothing written, no restart.
    FileResult Btn_PatchCodeClick();

    bool patchLoaded() const { return patchLoaded_; }

private:
    // Writes the header (after CheckEEPatchCodeSection) and the code when the mouse is I2C.
    void writePatch();
    bool readInto(const std::string& path, std::string& detail);

    Transfer& t_;
    bool patchLoaded_ = false;
};

}  // namespace nivra
