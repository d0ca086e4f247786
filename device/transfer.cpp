// The configuration transfers: whole-image read, restores, write-backs, live writes and the
// restart and re-find.
#include "device/transfer.h"

#include <algorithm>
#include <cstdio>

#include "image/builtin.h"
#include "image/defaults.h"

namespace nivra {

namespace {

constexpr std::uint8_t kModeByteOffset = 164;     // user byte 164: mode and mode colour
constexpr std::uint8_t kReselectProfile = 0x0F;   // sent before the mode byte to re-select it
constexpr std::size_t kLiveWriteEnd = region::kUser.end();  // set bytes reach the two sections only

std::string hex4(std::uint8_t high, std::uint8_t low) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02X%02X", high, low);
    return buf;
}

}  // namespace

Transfer::Transfer(Link& link, Discovery& discovery, Clock& clock, ImageState& state, TransferView& view,
                   BackupSink* backups)
    : link_(link), discovery_(discovery), clock_(clock), state_(state), view_(view), backups_(backups) {}

void Transfer::setBusy(bool busy) {
    if (busy_ == busy) return;
    busy_ = busy;
    view_.busyChanged(busy);
}

void Transfer::syncMemoryType() { state_.deviceMemory = discovery_.connectedMemoryType(); }

DefaultInputs Transfer::defaultInputs() {
    syncMemoryType();
    return state_.defaultInputs();
}

bool Transfer::mouseOpen() const { return link_.commandHandleValid() && link_.replyHandleValid(); }

bool Transfer::connectedI2c() {
    syncMemoryType();
    return state_.deviceMemory == MemoryType::I2C;
}

// --- Whole image ------------------------------------------------------------------------

void Transfer::onMouseAccepted() {
    if (backups_) backups_->beginConnection();
    readWholeImage();
}

bool Transfer::readWholeImage() {
    // A flow like the others: a click handled while its splash lets the UI run starts
    // nothing. It also runs as the last step of a flow (the read after a restart, Save
    // Profile's fresh read), so it does not wait for the flow it is part of.
    Flow flow(*this);
    ++readRuns_;
    setBusy(true);
    discovery_.StopDevTimer();
    view_.showCoveringLabels();
    view_.showSplash();

    view_.rebuildPcMacroList();

    bool read = false;
    lastReadComplete_ = false;
    imageIncomplete_ = false;
    if (connectedI2c()) {
        // Read into a buffer of its own: a read that lost reports must not replace the
        // transfer buffer, whose failed positions would hold 0xFF, not the mouse's bytes.
        Image fresh = state_.transfer;
        ReadResult r = link_.ReadBlock(0, static_cast<std::uint16_t>(kImageSize), fresh, Splash::With);
        // One lost report is read again with the whole image, once.
        if (!r.complete()) r = link_.ReadBlock(0, static_cast<std::uint16_t>(kImageSize), fresh, Splash::With);
        read = r.accepted;
        lastReadComplete_ = r.complete();
        imageIncomplete_ = !lastReadComplete_;
        if (lastReadComplete_) {
            state_.transfer = fresh;
            distribute(/*showPatchCheck=*/true);
            keepBackup();
        } else {
            // Nothing read from a failed report is shown or edited as the mouse's: the working
            // copy keeps what it held, and edits are refused until a whole read succeeds.
            view_.showMessage(TransferMessage::ReadIncomplete);
        }
    }

    DataBufToUI();
    view_.refreshPointerSettings();
    view_.showFirstAndModePage();
    noDevice_ = false;

    view_.hideSplash();
    discovery_.StartDevTimer();
    view_.hideCoveringLabels();
    setBusy(false);
    lastReadAccepted_ = read;
    return read;
}

SectionRepairs Transfer::distributeTransferBuffer() { return distribute(false); }

SectionRepairs Transfer::distribute(bool showPatchCheck) {
    DistributeHooks hooks;
    hooks.deviceMacrosCopied = [this](WorkingCopy&) { view_.deviceMacroAreaChanged(); };
    // The patch-code header is copied before the fire-macro block, so its check is shown
    // before the fire-macro names are rebuilt.
    hooks.fireMacroNamesCopied = [this, showPatchCheck](WorkingCopy& work) {
        if (showPatchCheck) {
            const auto header = work.patchHeader();
            view_.showPatchCheck(hex4(header[6], header[7]));
        }
        view_.fireMacroNamesChanged();
    };
    return distributeImage(state_.transfer, state_.work, defaultInputs(), hooks);
}

void Transfer::DataBufToUI() {
    const bool wasBusy = busy_;
    setBusy(true);
    nivra::DataBufToUI(state_, [this] {
        // The refresh shows the package of the LED type, which the default generators use.
        state_.package = packageChoiceForLedType(state_.led);
        view_.refreshUI();
    });
    setBusy(wasBusy);
}

void Transfer::keepBackup() {
    lastBackupError_.clear();
    if (!backups_) return;
    // A read that returned nothing but 0xFF (an erased memory or a mouse that stopped
    // answering) holds no configuration worth keeping and would push out one that does.
    if (std::all_of(state_.transfer.begin(), state_.transfer.end(), [](std::uint8_t b) { return b == 0xFF; }))
        return;
    const Connection c = discovery_.connection();
    BackupIds ids;
    ids.vendorId = static_cast<std::uint16_t>(c.vendorId);
    ids.productId = static_cast<std::uint16_t>(c.productId);
    ids.manufacturer = state_.transfer[region::kIdentity.offset];
    ids.product = state_.transfer[region::kIdentity.offset + 1];
    backups_->keep(state_.transfer, ids, &lastBackupError_);
}

void Transfer::InitNoDevice() {
    imageIncomplete_ = false;
    setBusy(true);
    if (discovery_.config().systemMemoryType == MemoryType::I2C) {
        state_.transfer = builtinImage(1);
        view_.clearDeviceMacroTexts();
        distribute(false);
    }
    DataBufToUI();
    setBusy(false);
    noDevice_ = true;
}

// --- Restores -------------------------------------------------------------------------------

void Transfer::DefaultParameterConfirm(int n) {
    if (n < 1 || n > kBuiltinImageCount) return;
    Flow flow(*this);
    if (!flow.entered()) return;
    if (!mouseOpen()) {
        view_.noMouseOpen();
        return;
    }
    setBusy(true);
    view_.hideOpenMenus();
    view_.openMainModePage();
    discovery_.StopDevTimer();
    view_.showCoveringLabels();
    view_.showSplash();

    if (connectedI2c()) {
        state_.transfer = builtinImage(n);
        view_.clearDeviceMacroTexts();
        distribute(false);
    }

    view_.showSplash();
    DataBufToUI();

    if (connectedI2c()) writeAndVerifyLater(0, state_.transfer);
    restartAndRefind();
}

void Transfer::restoreDefaults() {
    Flow flow(*this);
    if (!flow.entered()) return;
    view_.setResultImageVisible(false);
    if (!mouseOpen()) return;
    TLDefaultParameter();
    view_.setResultImageVisible(true);
}

void Transfer::TLDefaultParameter() {
    discovery_.StopDevTimer();
    setBusy(true);
    view_.hideOpenMenus();
    view_.setEngineerButtonsEnabled(false);
    view_.showSplash();

    defaultWorkingSections(state_.work, defaultInputs());
    DataBufToUI();

    if (connectedI2c()) {
        WorkingCopy& work = state_.work;
        std::fill(work.deviceMacros().begin(), work.deviceMacros().end(), std::uint8_t{0});
        view_.deviceMacroAreaChanged();
        defaultFireMacros(work.fireMacroNames, work.fireMacroBodies);
        rebuildFireMacroBlock(work);
        view_.fireMacroNamesChanged();
        // The patch-code header and code and the reserved block go out as their copies hold them.
        assembleImage(work, state_.transfer);
        writeAndVerifyLater(0, state_.transfer);
    }

    view_.setEngineerButtonsEnabled(true);
    restartAndRefind();
}

bool Transfer::writeTransferBuffer() {
    bool ok = false;
    if (connectedI2c()) ok = writeAndVerifyLater(0, state_.transfer);
    restartAndRefind();
    return ok;
}

bool Transfer::writeAndVerifyLater(std::size_t offset, std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || offset + bytes.size() > kImageSize) return false;
    if (written_.empty()) written_.assign(kImageSize, std::nullopt);
    for (std::size_t i = 0; i < bytes.size(); ++i) written_[offset + i] = bytes[i];
    return link_.WriteBlock(static_cast<std::uint16_t>(offset), static_cast<std::uint16_t>(bytes.size()), bytes);
}

namespace {
// The section an image position belongs to, for the messages of a failed write.
const char* sectionName(std::size_t at) {
    struct Named {
        Region region;
        const char* name;
    };
    static constexpr Named kSections[] = {
        {region::kVendor, "vendor section"},     {region::kUser, "user section"},
        {region::kProfile1, "profile 1"},        {region::kProfile2, "profile 2"},
        {region::kProfile3, "profile 3"},        {region::kReserved, "reserved block"},
        {region::kSpare1, "spare block"},        {region::kIdentity, "identity and fire keys"},
        {region::kDeviceMacros, "device macros"}, {region::kPatchHeader, "patch header"},
        {region::kPatchCode, "patch code"},      {region::kFireMacroNames, "fire macro names"},
        {region::kFireMacroBodies, "fire macros"}, {region::kSpare2, "last spare block"},
    };
    for (const Named& s : kSections)
        if (at >= s.region.offset && at < s.region.end()) return s.name;
    return "image";
}
}  // namespace

std::string Transfer::WriteVerification::sections() const {
    std::string out;
    for (const std::string& s : differing) out += (out.empty() ? "" : ", ") + s;
    return out;
}

void Transfer::verifyWrittenImage(bool readBack) {
    verification_ = {};
    verification_.readBack = readBack;
    if (readBack) {
        for (std::size_t i = 0; i < written_.size(); ++i) {
            if (!written_[i] || *written_[i] == state_.transfer[i]) continue;
            const std::string name = sectionName(i);
            if (verification_.differing.empty() || verification_.differing.back() != name)
                verification_.differing.push_back(name);
        }
        if (!verification_.differing.empty()) view_.showMessage(TransferMessage::WriteNotKept, verification_.sections());
    }
    written_.clear();
}

// --- Write-backs ----------------------------------------------------------------------------

bool Transfer::CommitProfileSections() { return writeProfiles(false); }

bool Transfer::CommitProfileAndFireKeySections() { return writeProfiles(true); }

bool Transfer::writeProfiles(bool withIdentity) {
    if (busy_) return false;
    bool ok = true;
    WorkingCopy& work = state_.work;
    if (connectedI2c()) {
        for (int p = 1; p <= 3; ++p) setSectionCheckByte(work.profile(p));
        constexpr std::size_t kProfilesLength = region::kProfile3.end() - region::kProfile1.offset;
        static_assert(kProfilesLength == 147);
        ok = link_.WriteBlock(static_cast<std::uint16_t>(region::kProfile1.offset), kProfilesLength,
                              std::span<const std::uint8_t>(work.bytes.data() + region::kProfile1.offset,
                                                            kProfilesLength)) &&
             ok;
        if (withIdentity) {
            ok = link_.WriteBlock(static_cast<std::uint16_t>(region::kIdentity.offset),
                                  static_cast<std::uint16_t>(region::kIdentity.length), work.identity()) &&
                 ok;
        }
    }
    ok = reselectProfile() && ok;
    view_.hideSplash();
    return ok;
}

bool Transfer::reselectProfile() {
    if (busy_) return false;
    bool ok = RefreshProfileParameter();
    ok = link_.SetBytes(kModeByteOffset, kReselectProfile, 0, 0, 1) && ok;
    ok = link_.SetBytes(kModeByteOffset, state_.work.bytes[kModeByteOffset], 0, 0, 1) && ok;
    return ok;
}

bool Transfer::RefreshProfileParameter() {
    // Read into a buffer of its own: a refused read would otherwise leave 0xFF over the
    // whole working user section, and the mode byte sent next would be 0xFF.
    // A read whose data reports failed (the mouse unplugged mid-way) holds 0xFF as well.
    std::array<std::uint8_t, region::kUser.length> user;
    const bool ok = link_.GetBytes(static_cast<std::uint16_t>(region::kUser.offset),
                                   static_cast<std::uint8_t>(region::kUser.length), user)
                        .complete();
    if (ok) std::copy(user.begin(), user.end(), state_.work.user().begin());
    return ok;
}

bool Transfer::liveWrite(std::size_t offset, std::size_t count) {
    if (busy_) return false;
    if (count < 1 || count > 4 || offset + count > kLiveWriteEnd) return false;
    const std::uint8_t* b = state_.work.bytes.data() + offset;
    const auto at = static_cast<std::uint8_t>(offset);
    if (count == 4) return link_.SetBytes4(at, b[0], b[1], b[2], b[3]);
    return link_.SetBytes(at, b[0], count > 1 ? b[1] : 0, count > 2 ? b[2] : 0, static_cast<std::uint8_t>(count));
}

bool Transfer::liveWriteVendorSection() {
    if (busy_) return false;
    setSectionCheckByte(state_.work.vendor());
    const bool ok = link_.SetBytesChunked(static_cast<std::uint8_t>(region::kVendor.offset), state_.work.vendor());
    view_.hideSplash();
    return ok;
}

bool Transfer::liveWriteUserSection() {
    if (busy_) return false;
    setSectionCheckByte(state_.work.user());
    const bool ok = link_.SetBytesChunked(static_cast<std::uint8_t>(region::kUser.offset), state_.work.user());
    view_.hideSplash();
    return ok;
}

// --- Restart ----------------------------------------------------------------------------------

void Transfer::restartAndRefind() {
    const std::size_t readsBefore = readRuns_;
    // The flows stop the presence poll before they write; a caller that did not (a lone
    // restart) would have the poll take the restarting mouse for a removed one. The
    // whole-image read that ends the re-find, or the fallback below, starts it again.
    discovery_.StopDevTimer();
    clock_.waitFor(kBeforeRestart);
    link_.SendCommand(static_cast<std::uint8_t>(protocol::Command::Restart));
    clock_.waitFor(kAfterRestart1);
    clock_.waitFor(kAfterRestart2);
    discovery_.ReFindDev();
    // What was written is compared with what the mouse holds after its restart.
    verifyWrittenImage(readRuns_ > readsBefore && lastReadComplete_);
    if (readRuns_ == readsBefore) {
        // The mouse did not come back, or came back and was not accepted: nothing will read
        // the image and undo the transfer's blocking, so undo it here.
        discovery_.StartDevTimer();
        view_.hideSplash();
        setBusy(false);
    }
}

}  // namespace nivra
