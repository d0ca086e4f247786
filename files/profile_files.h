// Profile files: Save Profile (a fresh whole-image read written to a file), Load Profile
// (a configuration file written whole to the mouse) and Export All (the device macro area).
#pragma once

#include <string>

#include "device/transfer.h"

namespace nivra {

// How a file flow ended; `detail` says why for the failures (for logs and nivractl).
enum class FileOutcome {
    Done,         // the file was written, or the image written to the mouse
    Cancelled,    // the dialog was cancelled
    Busy,         // another flow was running: nothing asked, nothing done
    NoMouse,      // no mouse open: the no-mouse message was shown
    Refused,      // the file cannot be loaded: "Loading .bin is error!" was shown, nothing sent
    NotRead,      // the mouse refused the whole-image read, or is not I2C: no file written
    WriteFailed,  // the file could not be written; any old file of that name is unchanged
    WrongSize,    // the file is not of its kind's exact size: nothing loaded, nothing sent
};

struct FileResult {
    FileOutcome outcome = FileOutcome::Done;
    std::string path;
    std::string detail;
    bool ok() const { return outcome == FileOutcome::Done; }
};

class ProfileFiles {
public:
    explicit ProfileFiles(Transfer& transfer) : t_(transfer) {}

    // `choose` is asked for the file where the flow shows its dialog (the window appends
    // ".bin" and asks before replacing a file).
    // Save Profile: the no-mouse message without a mouse; otherwise the save dialog, a fresh
    // whole-image read, and the 2048 bytes of the transfer buffer written atomically.
    FileResult saveProfile(const ChoosePath& choose);
    // Load Profile: the no-mouse message without a mouse; otherwise the open dialog; a file that is
    // not a whole I2C image (shorter than 2048 bytes, or byte 495 not 0xE0) is refused with
    // "Loading .bin is error!"; an accepted one goes through writeLoadedImage().
    FileResult loadProfile(const ChoosePath& choose);
    // Distributes the transfer buffer, shows it, writes it whole and restarts the mouse.
    void writeLoadedImage();
    // Export All: the save dialog, then the 512-byte device macro area copy written
    // atomically.
    FileResult exportDeviceMacros(const ChoosePath& choose);

private:
    Transfer& t_;
};

}  // namespace nivra
