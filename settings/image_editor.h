// The one path from an edit to the working copy and the mouse. Every editor model changes
// the configuration through this class: the working copy first, then the write the edit
// calls for (a live write of the changed bytes, a whole-section write, or the profile
// commit). The busy gate lives here: while a transfer or a refresh from the image runs,
// an edit changes nothing and sends nothing.
#pragma once

#include "device/transfer.h"
#include "image/code_texts.h"
#include "image/fields.h"
#include "image/image.h"
#include "image/working_copy.h"

#include <QObject>

#include <cstddef>
#include <cstdint>
#include <span>

namespace nivra {

// Which write follows an edit of the working copy.
enum class Write {
    None,                 // working copy only (the caller commits later)
    Live,                 // the changed bytes at once (vendor or user section, 1..4 bytes per report)
    VendorSection,        // the vendor section with a fresh check byte, in 3-byte pieces
    UserSection,          // the user section with a fresh check byte, in 3-byte pieces
    Profiles,             // CommitProfileSections
    ProfilesAndFireKeys,  // CommitProfileAndFireKeySections
};

// What one edit did, returned with the call.
struct EditResult {
    enum class Outcome {
        Applied,  // the working copy took the edit, and the mouse every report of its write
        Busy,     // a transfer or a refresh runs: nothing changed, nothing sent
        Refused,  // not taken whole: an edit out of range (nothing changed), or a write that
                  // the mouse, or its absence, did not take (the working copy holds the edit)
    };
    Outcome outcome = Outcome::Refused;
    bool copyChanged = false;        // the working copy holds the edit
    std::size_t reportsSent = 0;     // feature reports the edit sent or asked for
    std::size_t reportsAccepted = 0; // of those, the ones the mouse took

    bool applied() const { return outcome == Outcome::Applied; }
    bool busy() const { return outcome == Outcome::Busy; }
    // The edit reached the working copy (whatever became of its write): what a view that
    // shows the working copy must follow.
    bool changed() const { return copyChanged; }
    // In a condition: changed(). Whether the mouse took it is applied().
    explicit operator bool() const { return copyChanged; }

    // One change made of several edits: it changed the copy when any did, it was applied
    // only when each was, busy when one was; the reports add up.
    EditResult& operator+=(const EditResult& next) {
        if (next.outcome == Outcome::Busy || outcome == Outcome::Busy) outcome = Outcome::Busy;
        else if (next.outcome == Outcome::Refused) outcome = Outcome::Refused;
        copyChanged = copyChanged || next.copyChanged;
        reportsSent += next.reportsSent;
        reportsAccepted += next.reportsAccepted;
        return *this;
    }
    // An edit out of range or of nothing: Refused, nothing changed, nothing sent.
    static EditResult refused() { return {}; }
    // An edit made while busy: nothing changed, nothing sent.
    static EditResult whileBusy() {
        EditResult r;
        r.outcome = Outcome::Busy;
        return r;
    }
};

// The regions an editor listens to.
enum class EditRegion { Vendor, User, Profiles, Identity, DeviceMacros, FireMacros, Other };
EditRegion editRegionOf(std::size_t offset);

class ImageEditor : public QObject {
    Q_OBJECT
public:
    ImageEditor(ImageState& state, Transfer& transfer, QObject* parent = nullptr);

    const WorkingCopy& work() const { return state_.work; }
    const ImageState& state() const { return state_; }
    // Set while a transfer or a refresh from the image runs, and while the open mouse's
    // configuration was not read whole (the working copy is not the mouse's): edits are
    // refused then.
    bool busy() const { return transfer_.busy() || transfer_.imageIncomplete(); }

    // --- Edits. Each returns what it did: Busy, changing nothing, while busy; otherwise the
    // working copy takes the value and `how` is carried out, Applied when the mouse took
    // every report of it (Refused as well when no mouse is open).
    EditResult setByte(std::size_t offset, std::uint8_t value, Write how = Write::Live);
    EditResult setBytes(std::size_t offset, std::span<const std::uint8_t> bytes, Write how = Write::Live);
    EditResult setField(BitField f, std::uint8_t value, Write how = Write::Live);
    EditResult setBe16(std::size_t offset, std::uint16_t value, Write how = Write::Live);
    // Button k (1..12) of profile p (1..3); combo key n (1..9). Four code bytes.
    EditResult setButtonCode(int profile, int key, std::span<const std::uint8_t, 4> code, Write how = Write::None);
    EditResult setComboKeyCode(int n, std::span<const std::uint8_t, 4> code, Write how = Write::None);
    // Several edits made with Write::None, then one write.
    EditResult write(Write how);
    EditResult CommitProfileSections() { return write(Write::Profiles); }
    EditResult CommitProfileAndFireKeySections() { return write(Write::ProfilesAndFireKeys); }
    // The profile re-selection alone (the user section read back, then 0x0F and the mode
    // byte to 164), for a caller that wrote the blocks before it with writeBlock().
    EditResult reselectProfile();
    // RefreshProfileParameter: the user section read back from the mouse into the working
    // copy (unchanged when the read fails). False, reading nothing, while busy.
    EditResult RefreshProfileParameter();

    // A mutable view for edits the typed setters above do not cover (macro areas, fire
    // macros). The caller reports what it changed with touched(); nothing is sent.
    WorkingCopy& workForEdit() { return state_.work; }
    void touched(std::size_t offset, std::size_t count);

    // Whether the mouse accepted the last write call (every report of it).
    bool lastWriteOk() const { return lastWriteOk_; }

    // Tallies every write and read-back the editor makes while it lives (nested checks each
    // see all of them), so a caller that makes several edits for one change learns whether
    // every report of that change was accepted, not only the last one.
    class WriteCheck {
    public:
        explicit WriteCheck(ImageEditor& editor);
        ~WriteCheck();
        WriteCheck(const WriteCheck&) = delete;
        WriteCheck& operator=(const WriteCheck&) = delete;
        // Every write made since the check began was accepted (true when none was made).
        bool allAccepted() const { return failed_ == 0; }
        std::size_t failedWrites() const { return failed_; }

    private:
        friend class ImageEditor;
        ImageEditor& editor_;
        WriteCheck* outer_;
        std::size_t failed_ = 0;
    };

    // --- The lighting type change. Both handles of the mouse are open.
    bool mouseOpen() const { return transfer_.mouseOpen(); }
    // The program state the default generators read: the current LED controller type and
    // the LED package shown. Changes nothing in the image and sends nothing.
    void setLedType(LedType led) { state_.led = led; }
    void setPackageChoice(PackageChoice package) { state_.package = package; }
    // The full default rebuild (TLDefaultParameter): the working copy from the defaults of
    // the current type and package, written whole when the mouse is I2C, then the restart
    // and re-read; imageReplaced() follows. False, doing nothing, while busy, while another
    // transfer runs or without a mouse.
    EditResult rebuildDefaults();
    // A block write of bytes [offset, offset + length) of the working copy as they stand
    // (the device macro area in its two 256-byte halves, the profile sections without the
    // profile re-selection). The mouse's memory must be "I2C". False, sending nothing,
    // while busy, for a range outside the image or another memory type; lastWriteOk()
    // tells whether the mouse accepted it.
    EditResult writeBlock(std::size_t offset, std::size_t length);

    // Called by the session after the working copy was replaced (a whole-image read, a
    // restore, the no-device image): every model refreshes from the working copy.
    void announceImageReplaced();

signals:
    // Bytes [offset, offset + count) of the working copy changed through this editor.
    void bytesChanged(nivra::EditRegion region, std::size_t offset, std::size_t count);
    // The whole working copy was replaced.
    void imageReplaced();

private:
    class Counting;
    EditResult finish(std::size_t offset, std::size_t count, Write how);
    EditResult carryOut(Write how);
    // Records the outcome of one write call: lastWriteOk() and every open WriteCheck.
    void note(bool ok);

    ImageState& state_;
    Transfer& transfer_;
    bool lastWriteOk_ = false;
    WriteCheck* check_ = nullptr;   // the innermost open WriteCheck
};

}  // namespace nivra
