// Moving the configuration between the mouse and the working copy: the whole-image read,
// the restores of the built-in images and of the defaults, the write-backs the editors
// call, the live-write rule, and the restart and re-find that follows a whole-image write.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/backup_sink.h"
#include "device/clock.h"
#include "device/discovery.h"
#include "device/link.h"
#include "device/transfer_view.h"
#include "image/image.h"
#include "device/image_state.h"
#include "image/types.h"
#include "image/working_copy.h"

namespace nivra {

// All calls run on the UI thread. The flows that write the whole image end in a restart of
// the mouse; the whole-image read that follows the re-find (started by the discovery's
// MouseAccepted event, which the owner forwards to onMouseAccepted()) brings the UI back.
class Transfer {
public:
    // Waits of the restart and re-find, in 10 ms steps on the injectable clock.
    static constexpr Clock::Duration kBeforeRestart{1010};
    static constexpr Clock::Duration kAfterRestart1{6010};
    static constexpr Clock::Duration kAfterRestart2{10010};

    // `state` holds the program's one transfer buffer and working copy; `backups` may be
    // null (no backups kept).
    Transfer(Link& link, Discovery& discovery, Clock& clock, ImageState& state, TransferView& view,
             BackupSink* backups = nullptr);

    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    // --- Flags -------------------------------------------------------------------------
    // The busy flag: set while a transfer or a refresh from an image runs. Editors send
    // nothing while it is set; the write-backs and live writes below refuse then too.
    bool busy() const { return busy_; }
    void setBusy(bool busy);
    // The no-device flag: set by the no-device state, cleared by a whole-image read and at
    // the start of the device-gone handling. The page buttons do nothing while it is set.
    bool noDevice() const { return noDevice_; }
    void setNoDevice(bool noDevice) { noDevice_ = noDevice; }
    // True while one of the flows below runs; a second flow started meanwhile (a click that
    // arrives during a wait) does nothing.
    bool flowRunning() const { return flowDepth_ > 0; }

    // The inputs of the default generators: the connected mouse's memory type (from the
    // discovery), the LED type and the package choice of the image state.
    DefaultInputs defaultInputs();

    // Both handles of the mouse are open.
    bool mouseOpen() const;
    // The connected mouse's memory type is "I2C": every read and write of its
    // configuration memory requires it. Copies the discovery's memory type into the state.
    bool connectedI2c();

    // --- Whole image ---------------------------------------------------------------------
    // The discovery accepted a mouse (its MouseAccepted event): a new connection starts (its own
    // backup file), then the whole-image read.
    void onMouseAccepted();
    // The whole-image read: reads the whole image into the transfer buffer, distributes it and refreshes
    // the UI. True when the mouse accepted the read. It counts as a running flow: no other
    // flow starts while it runs.
    bool readWholeImage();
    // Distributes the transfer buffer into the working copy (with repairs and the macro
    // list hooks), with the connected memory type.
    SectionRepairs distributeTransferBuffer();
    // DataBufToUI: the LED type taken from user byte 165 and the
    // package choice shown for that type (RGB LED for RGB, A-Tech LED otherwise), then the
    // window sets every control (TForm1.RefreshUI).
    void DataBufToUI();

    // InitNoDevice, the image part of the no-device state: with the busy flag set, built-in
    // image 1 goes into the transfer buffer and is distributed (when built-in image 1 is an
    // I2C image), then DataBufToUI; the no-device flag is set. The window then shows the
    // first page and resets the page buttons.
    void InitNoDevice();

    // Restores of built-in image 1..3: the image is distributed, shown and written whole,
    // then the mouse restarts. The no-mouse message when no mouse is open.
    void DefaultParameterConfirm1() { DefaultParameterConfirm(1); }
    void DefaultParameterConfirm2() { DefaultParameterConfirm(2); }
    void DefaultParameterConfirm3() { DefaultParameterConfirm(3); }
    void DefaultParameterConfirm(int n);

    // The full default restore of the engineer page: the result picture hidden,
    // TLDefaultParameter when a mouse is open, the result picture shown again.
    void restoreDefaults();
    // Every section from its default generator, the device macro area zeroed, the fire
    // macros reset to "Macro1".."Macro10"; the patch code and reserved block kept. Written
    // whole when the mouse is I2C, then the mouse restarts.
    void TLDefaultParameter();

    // Writes the whole transfer buffer to the mouse (when I2C) and restarts it: the end of
    // every whole-image write.
    bool writeTransferBuffer();

    // --- Write-backs the editors call --------------------------------------------------------
    // CommitProfileSections: the three profile sections with fresh check bytes as one
    // 147-byte block at 192, the user section read back, then 0x0F and the mode byte sent
    // to 164 so the mouse re-selects its profile. False (nothing sent) while busy.
    bool CommitProfileSections();
    // The same with the 12-byte identity and fire-key block written after the profiles.
    bool CommitProfileAndFireKeySections();
    // RefreshProfileParameter: the 28 bytes of the user section read back into the working
    // copy. The working copy changes only when the mouse accepted the read.
    bool RefreshProfileParameter();
    // The profile re-selection that ends the profile write-back: the user section read back,
    // then 0x0F and the mode byte sent to 164. False (nothing sent) while busy.
    bool reselectProfile();

    // The live-write rule: the `count` bytes (1..4) of the working copy at `offset` (vendor or
    // user section) sent at once, three or fewer in form 0, four in form 1; no check byte.
    // False (nothing sent) while busy or for a field outside the two sections.
    bool liveWrite(std::size_t offset, std::size_t count);
    // Whole-section live writes: the check byte recomputed in the working copy, then the
    // section sent in 3-byte pieces (55 reports for the vendor section, 10 for the user
    // section). False (nothing sent) while busy.
    bool liveWriteVendorSection();
    bool liveWriteUserSection();

    // --- Restart -----------------------------------------------------------------------------
    // Stops the presence poll (when the caller has not), waits 1.01 s, sends restart,
    // waits 6.01 s and 10.01 s, then ReFindDev. When no
    // whole-image read followed (the mouse did not come back, or came back unaccepted) the
    // presence poll is started again, the splash hidden and the busy flag cleared, so the
    // program is not left blocked.
    void restartAndRefind();

    // --- For the file flows --------------------------------------------------------------------
    Link& link() { return link_; }
    Discovery& discovery() { return discovery_; }
    TransferView& view() { return view_; }
    ImageState& state() { return state_; }
    BackupSink* backups() { return backups_; }
    // Number of whole-image reads run so far (readWholeImage calls, accepted by the mouse or not).
    std::size_t readRuns() const { return readRuns_; }
    // The last whole-image read was accepted by the mouse (its block read command went through).
    bool lastReadAccepted() const { return lastReadAccepted_; }
    // The last whole-image read was accepted and every one of its data reports answered.
    bool lastReadComplete() const { return lastReadComplete_; }
    // The open mouse's configuration was not handed over whole (its read failed twice): the
    // working copy does not hold it, so no edit may be made on it (ReadIncomplete was told).
    bool imageIncomplete() const { return imageIncomplete_ && mouseOpen(); }

    // What the read after the last whole-image write found: whether the mouse was read back
    // whole, and the sections whose bytes differ from what was written. A write flow
    // succeeded only when ok().
    struct WriteVerification {
        bool readBack = false;
        std::vector<std::string> differing;   // section names ("profile 2", "device macros")
        bool ok() const { return readBack && differing.empty(); }
        std::string sections() const;         // "profile 2, device macros"
    };
    const WriteVerification& lastVerification() const { return verification_; }
    // The result of the last backup attempt: empty when it worked or none was made.
    const std::string& lastBackupError() const { return lastBackupError_; }

    // Marks a flow as running for its lifetime; entered() is false when another flow runs.
    class Flow {
    public:
        explicit Flow(Transfer& t) : t_(t), entered_(t.flowDepth_ == 0) { ++t_.flowDepth_; }
        ~Flow() { --t_.flowDepth_; }
        Flow(const Flow&) = delete;
        Flow& operator=(const Flow&) = delete;
        bool entered() const { return entered_; }

    private:
        Transfer& t_;
        bool entered_;
    };

    // Block write of `bytes` at image offset `offset`, remembered to be compared with the
    // image read after the restart that follows. False when the mouse did not take every
    // report.
    bool writeAndVerifyLater(std::size_t offset, std::span<const std::uint8_t> bytes);

private:
    bool writeProfiles(bool withIdentity);
    void verifyWrittenImage(bool readBack);
    void keepBackup();
    void syncMemoryType();
    SectionRepairs distribute(bool showPatchCheck);

    Link& link_;
    Discovery& discovery_;
    Clock& clock_;
    ImageState& state_;
    TransferView& view_;
    BackupSink* backups_;

    bool busy_ = false;
    bool noDevice_ = false;
    int flowDepth_ = 0;
    std::size_t readRuns_ = 0;
    bool lastReadAccepted_ = false;
    bool lastReadComplete_ = false;
    bool imageIncomplete_ = false;
    std::string lastBackupError_;
    // The bytes written since the last restart, position by position (nullopt: not written).
    std::vector<std::optional<std::uint8_t>> written_;
    WriteVerification verification_;
};

}  // namespace nivra
