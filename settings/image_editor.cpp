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

bool ImageEditor::setByte(std::size_t offset, std::uint8_t value, Write how) {
    const std::uint8_t b[1] = {value};
    return setBytes(offset, b, how);
}

bool ImageEditor::setBytes(std::size_t offset, std::span<const std::uint8_t> bytes, Write how) {
    if (busy() || bytes.empty() || offset + bytes.size() > kImageSize) return false;
    std::copy(bytes.begin(), bytes.end(), state_.work.bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return finish(offset, bytes.size(), how);
}

bool ImageEditor::setField(BitField f, std::uint8_t value, Write how) {
    if (busy() || f.offset >= kImageSize) return false;
    nivra::setField(state_.work.bytes, f, value);
    return finish(f.offset, 1, how);
}

bool ImageEditor::setBe16(std::size_t offset, std::uint16_t value, Write how) {
    const std::uint8_t b[2] = {static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF)};
    return setBytes(offset, b, how);
}

bool ImageEditor::setButtonCode(int profile, int key, std::span<const std::uint8_t, 4> code, Write how) {
    if (profile < 1 || profile > 3 || key < 1 || key > static_cast<int>(kKeysPerProfile)) return false;
    return setBytes(buttonCodeOffset(profile, key), code, how);
}

bool ImageEditor::setComboKeyCode(int n, std::span<const std::uint8_t, 4> code, Write how) {
    if (n < 1 || n > static_cast<int>(kComboKeyCount)) return false;
    return setBytes(comboKeyOffset(n), code, how);
}

void ImageEditor::touched(std::size_t offset, std::size_t count) {
    if (count == 0 || offset >= kImageSize) return;
    emit bytesChanged(editRegionOf(offset), offset, std::min(count, kImageSize - offset));
}

bool ImageEditor::write(Write how) {
    if (busy()) return false;
    switch (how) {
    case Write::None: lastWriteOk_ = true; break;
    case Write::Live: note(false); break;  // a live write needs the bytes: use the setters
    case Write::VendorSection: note(transfer_.liveWriteVendorSection()); break;
    case Write::UserSection: note(transfer_.liveWriteUserSection()); break;
    case Write::Profiles: note(transfer_.CommitProfileSections()); break;
    case Write::ProfilesAndFireKeys: note(transfer_.CommitProfileAndFireKeySections()); break;
    }
    // The profile commit reads the user section back.
    if (how == Write::Profiles || how == Write::ProfilesAndFireKeys)
        emit bytesChanged(EditRegion::User, region::kUser.offset, region::kUser.length);
    return true;
}

bool ImageEditor::reselectProfile() {
    if (busy()) return false;
    note(transfer_.reselectProfile());
    emit bytesChanged(EditRegion::User, region::kUser.offset, region::kUser.length);
    return true;
}

bool ImageEditor::RefreshProfileParameter() {
    if (busy()) return false;
    note(transfer_.RefreshProfileParameter());
    emit bytesChanged(EditRegion::User, region::kUser.offset, region::kUser.length);
    return true;
}

bool ImageEditor::finish(std::size_t offset, std::size_t count, Write how) {
    if (how == Write::Live) {
        // One report carries at most four bytes; longer edits go in 4-byte pieces.
        bool ok = true;
        for (std::size_t at = 0; at < count; at += 4)
            ok = transfer_.liveWrite(offset + at, std::min<std::size_t>(4, count - at)) && ok;
        note(ok);
        touched(offset, count);
        return true;
    }
    touched(offset, count);
    write(how);
    return true;
}

bool ImageEditor::rebuildDefaults() {
    if (busy() || !transfer_.mouseOpen()) return false;
    Transfer::Flow flow(transfer_);
    if (!flow.entered()) return false;
    const std::size_t readsBefore = transfer_.readRuns();
    transfer_.TLDefaultParameter();
    // The mouse came back from its restart, was read whole and holds what was written.
    note(transfer_.readRuns() > readsBefore && transfer_.lastVerification().ok());
    announceImageReplaced();
    return true;
}

bool ImageEditor::writeBlock(std::size_t offset, std::size_t length) {
    if (busy() || length == 0 || length > 0xFFFF || offset + length > kImageSize) return false;
    if (!transfer_.connectedI2c()) return false;
    note(transfer_.link().WriteBlock(static_cast<std::uint16_t>(offset), static_cast<std::uint16_t>(length),
                                     std::span<const std::uint8_t>(state_.work.bytes).subspan(offset, length)));
    return true;
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
