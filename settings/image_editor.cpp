#include "settings/image_editor.h"

#include <algorithm>

namespace nivra {

EditRegion editRegionOf(std::size_t offset) {
    auto in = [offset](Region r) { return offset >= r.offset && offset < r.end(); };
    if (in(region::kVendor)) return EditRegion::Vendor;
    if (in(region::kUser)) return EditRegion::User;
    if (offset >= region::kProfile1.offset && offset < region::kProfile3.end()) return EditRegion::Profiles;
    if (in(region::kIdentity)) return EditRegion::Identity;
    if (in(region::kDeviceMacros)) return EditRegion::DeviceMacros;
    if (in(region::kFireMacroBlock)) return EditRegion::FireMacros;
    return EditRegion::Other;
}

ImageEditor::ImageEditor(ImageState& state, Transfer& transfer, QObject* parent)
    : QObject(parent), state_(state), transfer_(transfer) {}

namespace {
EditResult busyResult() { return EditResult::whileBusy(); }
EditResult outOfRange() { return EditResult::refused(); }
}  // namespace

// Counts the reports of one edit and turns them and its outcome into its result.
class ImageEditor::Counting {
public:
    explicit Counting(ImageEditor& editor) : editor_(editor), tally_(editor.transfer_.link()) {}
    // `delivered`: the write the edit called for went through whole (or none was needed).
    EditResult result(bool copyChanged, bool delivered) const {
        editor_.note(delivered);
        EditResult r;
        r.outcome = delivered ? EditResult::Outcome::Applied : EditResult::Outcome::Refused;
        r.copyChanged = copyChanged;
        r.reportsSent = tally_.sent();
        r.reportsAccepted = tally_.accepted();
        return r;
    }

private:
    ImageEditor& editor_;
    Link::Tally tally_;
};

EditResult ImageEditor::setByte(std::size_t offset, std::uint8_t value, Write how) {
    const std::uint8_t b[1] = {value};
    return setBytes(offset, b, how);
}

EditResult ImageEditor::setBytes(std::size_t offset, std::span<const std::uint8_t> bytes, Write how) {
    if (busy()) return busyResult();
    if (bytes.empty() || offset + bytes.size() > kImageSize) return outOfRange();
    std::copy(bytes.begin(), bytes.end(), state_.work.bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return finish(offset, bytes.size(), how);
}

EditResult ImageEditor::setField(BitField f, std::uint8_t value, Write how) {
    if (busy()) return busyResult();
    if (f.offset >= kImageSize) return outOfRange();
    nivra::setField(state_.work.bytes, f, value);
    return finish(f.offset, 1, how);
}

EditResult ImageEditor::setBe16(std::size_t offset, std::uint16_t value, Write how) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)};
    return setBytes(offset, b, how);
}

EditResult ImageEditor::setButtonCode(int profile, int key, std::span<const std::uint8_t, 4> code, Write how) {
    if (profile < 1 || profile > 3 || key < 1 || key > static_cast<int>(kKeysPerProfile)) return outOfRange();
    return setBytes(buttonCodeOffset(profile, key), code, how);
}

EditResult ImageEditor::setComboKeyCode(int n, std::span<const std::uint8_t, 4> code, Write how) {
    if (n < 1 || n > static_cast<int>(kComboKeyCount)) return outOfRange();
    return setBytes(comboKeyOffset(n), code, how);
}

void ImageEditor::touched(std::size_t offset, std::size_t count) {
    if (count == 0 || offset >= kImageSize) return;
    emit bytesChanged(editRegionOf(offset), offset, std::min(count, kImageSize - offset));
}

EditResult ImageEditor::write(Write how) {
    if (busy()) return busyResult();
    return carryOut(how);
}

// The write `how` of what the working copy holds now. The working copy counts as changed:
// the edits made with Write::None before it are what it carries.
EditResult ImageEditor::carryOut(Write how) {
    const Counting count(*this);
    bool ok = false;
    switch (how) {
    case Write::None: ok = true; break;
    case Write::Live: ok = false; break;  // a live write needs the bytes: use the setters
    case Write::VendorSection: ok = transfer_.liveWriteVendorSection(); break;
    case Write::UserSection: ok = transfer_.liveWriteUserSection(); break;
    case Write::Profiles: ok = transfer_.CommitProfileSections(); break;
    case Write::ProfilesAndFireKeys: ok = transfer_.CommitProfileAndFireKeySections(); break;
    }
    const EditResult r = count.result(true, ok);
    // The profile commit reads the user section back.
    if (how == Write::Profiles || how == Write::ProfilesAndFireKeys)
        emit bytesChanged(EditRegion::User, region::kUser.offset, region::kUser.length);
    return r;
}

EditResult ImageEditor::reselectProfile() {
    if (busy()) return busyResult();
    const Counting count(*this);
    const EditResult r = count.result(true, transfer_.reselectProfile());
    emit bytesChanged(EditRegion::User, region::kUser.offset, region::kUser.length);
    return r;
}

EditResult ImageEditor::RefreshProfileParameter() {
    if (busy()) return busyResult();
    const Counting count(*this);
    const EditResult r = count.result(true, transfer_.RefreshProfileParameter());
    emit bytesChanged(EditRegion::User, region::kUser.offset, region::kUser.length);
    return r;
}

EditResult ImageEditor::finish(std::size_t offset, std::size_t count, Write how) {
    if (how == Write::Live) {
        const Counting counting(*this);
        // One report carries at most four bytes; longer edits go in 4-byte pieces.
        bool ok = true;
        for (std::size_t at = 0; at < count; at += 4)
            ok = transfer_.liveWrite(offset + at, std::min<std::size_t>(4, count - at)) && ok;
        const EditResult r = counting.result(true, ok);
        touched(offset, count);
        return r;
    }
    touched(offset, count);
    return carryOut(how);
}

EditResult ImageEditor::rebuildDefaults() {
    if (busy()) return busyResult();
    if (!transfer_.mouseOpen()) return outOfRange();
    Transfer::Flow flow(transfer_);
    if (!flow.entered()) return busyResult();
    const Counting count(*this);
    const std::size_t readsBefore = transfer_.readRuns();
    transfer_.TLDefaultParameter();
    // The mouse came back from its restart, was read whole and holds what was written.
    const EditResult r = count.result(true, transfer_.readRuns() > readsBefore && transfer_.lastVerification().ok());
    announceImageReplaced();
    return r;
}

EditResult ImageEditor::writeBlock(std::size_t offset, std::size_t length) {
    if (busy()) return busyResult();
    if (length == 0 || length > 0xFFFF || offset + length > kImageSize) return outOfRange();
    if (!transfer_.connectedI2c()) return outOfRange();
    const Counting count(*this);
    return count.result(true, transfer_.link().WriteBlock(static_cast<std::uint16_t>(offset), static_cast<std::uint16_t>(length),
                                                          std::span<const std::uint8_t>(state_.work.bytes).subspan(offset, length)));
}

void ImageEditor::announceImageReplaced() { emit imageReplaced(); }

void ImageEditor::note(bool ok) {
    lastWriteOk_ = ok;
    if (ok) return;
    for (WriteCheck* c = check_; c; c = c->outer_) ++c->failed_;
}

ImageEditor::WriteCheck::WriteCheck(ImageEditor& editor) : editor_(editor), outer_(editor.check_) {
    editor_.check_ = this;
}

ImageEditor::WriteCheck::~WriteCheck() { editor_.check_ = outer_; }

}  // namespace nivra
