// Patch code from a file: "Load BIN" then "Program" on the update page, and the engineer
// page's one-step Load Patch Code. Both write the patch-code header (with a fresh check)
// and the patch code, then restart the mouse.
#pragma once

#include "device/transfer.h"
#include "files/config_file.h"
#include "files/profile_files.h"

namespace nivra {

class PatchCodeFiles {
public:
    explicit PatchCodeFiles(Transfer& transfer) : t_(transfer) {}

    // Opening the update page: the no-mouse message without a mouse (false); false with nothing done
    // in the no-device state; otherwise the patch-loaded flag is cleared and the window
    // shows the update page (true).
    bool openUpdatePage();
    // "Load BIN": the open dialog; a file of exactly 528 bytes is read (when the mouse is
    // I2C) and sets the patch-loaded flag. The file's header and code are held here until
    // "Program": a whole-image read meanwhile does not swap them for the mouse's own, and
    // the full default restore does not write a patch that was never programmed. A file of
    // another size (a configuration file, say) is refused as WrongSize, an unreadable one
    // with "Loading .bin is error!"; either sends nothing and leaves nothing loaded.
    FileResult loadPatchFile(const ChoosePath& choose);
    // "Program": nothing without a mouse or before "Load BIN"; otherwise the loaded
    // header and code go into the patch-code copies, the header is rebuilt from the code,
    // both are written, and the mouse restarted.
    bool programPatch();
    // The engineer page's Load Patch Code: choose, read, check and write in one step, then restart (with the
    // presence poll stopped and the pages covered, as for "Program"). A file that cannot be
    // loaded is refused as for "Load BIN": nothing written, no restart.
    // The file's size is checked before anything else: a patch file holds exactly 528 bytes.
    FileResult patchInOneStep(const ChoosePath& choose);

    bool patchLoaded() const { return patchLoaded_; }

private:
    // Writes the header (after CheckEEPatchCodeSection) and the code when the mouse is I2C.
    void writePatch();
    bool readInto(const std::string& path, std::string& detail);
    // False when the file can be read and does not hold exactly 528 bytes.
    static bool patchSized(const std::string& path, std::string& detail);

    Transfer& t_;
    bool patchLoaded_ = false;
    // The file read by "Load BIN" (when the mouse was I2C), for "Program".
    bool fileRead_ = false;
    PatchHeader loadedHeader_{};
    PatchCode loadedCode_{};
};

}  // namespace nivra
