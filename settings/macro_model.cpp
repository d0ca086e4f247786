#include "settings/macro_model.h"

#include "files/file_bytes.h"
#include "image/code_texts.h"
#include "macro/listing.h"
#include "settings/macro_key_binding.h"

#include <algorithm>

namespace nivra {

using namespace nivra::macro;

namespace {
QString qs(const std::string& s) { return QString::fromStdString(s); }
constexpr char kContentError[] = "Macro Content Error";
constexpr char kLoadError[] = "Loading .bin is error!";

// The low byte of an X/Y value text, when it is a number (a lone "-" is none).
std::optional<std::uint8_t> axisByte(const std::string& text) {
    const std::optional<long long> v = numberOf(ruleAxisText(text));
    if (!v) return std::nullopt;
    return static_cast<std::uint8_t>(static_cast<std::int8_t>(*v));
}

using SlotBytes = std::array<std::uint8_t, 4>;
std::array<SlotBytes, kComboKeyCount> comboSlotBytes(const WorkingCopy& work) {
    std::array<SlotBytes, kComboKeyCount> out{};
    for (std::size_t n = 0; n < kComboKeyCount; ++n)
        std::copy_n(work.bytes.begin() + static_cast<std::ptrdiff_t>(comboKeyOffset(static_cast<int>(n + 1))), 4,
                    out[n].begin());
    return out;
}

std::uint8_t repeatByte(const std::string& text) {
    return static_cast<std::uint8_t>(numberOf(ruleRepeatText(text)).value_or(1));
}
}  // namespace

MacroModel::MacroModel(ImageEditor& editor, Transfer& transfer, std::filesystem::path libraryFile, QObject* parent)
    : QObject(parent), editor_(editor), transfer_(transfer), library_(std::move(libraryFile)) {
    ReadAndRefreshMacro3740();
}

// ------------------------------------------------------------------ device macros

bool MacroModel::deviceReady() const { return editor_.state().deviceMemory == MemoryType::I2C; }

void MacroModel::ReadAndRefreshMacro3740() {
    device_.ReadAndRefreshMacro3740(editor_.work().deviceMacros());
    storeArea();
    if (devSel_ && *devSel_ >= device_.count()) devSel_.reset();
    emit changed();
}

void MacroModel::storeArea() {
    auto area = editor_.workForEdit().deviceMacros();
    std::copy(device_.area().begin(), device_.area().end(), area.begin());
    editor_.touched(kAreaOffset, kAreaSize);
}

void MacroModel::writeArea() {
    editor_.writeBlock(kAreaOffset, 256);
    editor_.writeBlock(kAreaOffset + 256, 256);
    transfer_.view().hideSplash();
}

void MacroModel::Btn_AddMacroClick() {
    if (!libSel_ || editor_.busy()) return;
    emit hidePopups();
    clearListing();
    const LibraryRecord& r = library_.record(*libSel_);
    for (std::size_t k = 0; k < kDeviceSlots; ++k) {
        if (device_.slot(k).name == r.name) {
            emit message(QStringLiteral("Str106"));
            emit changed();
            return;
        }
    }
    if (!deviceReady() || device_.count() >= kDeviceSlots) {
        emit changed();
        return;
    }
    switch (device_.add(r.name, r.code)) {
    case AddResult::Added:
        storeArea();
        Btn_SaveMacroClick();
        break;
    case AddResult::TooLong:
        emit message(QStringLiteral("Str103"));
        break;
    case AddResult::BadName:
        emit message(QStringLiteral("Str820"));
        break;
    case AddResult::Exists:
    case AddResult::Full:
        break;
    }
    emit changed();
}

void MacroModel::Btn_SaveMacroClick() {
    if (editor_.busy()) return;
    Discovery& discovery = transfer_.discovery();
    const bool polling = discovery.devTimerRunning();
    discovery.StopDevTimer();
    transfer_.view().showCoveringLabels();
    transfer_.view().showSplash();
    RefreshMacroAddr(editor_, device_);
    WorkingCopy& work = editor_.workForEdit();
    for (int p = 1; p <= 3; ++p) setSectionCheckByte(work.profile(p));
    editor_.touched(region::kProfile1.offset, region::kProfile3.end() - region::kProfile1.offset);
    if (deviceReady()) {
        editor_.writeBlock(region::kProfile1.offset, region::kProfile3.end() - region::kProfile1.offset);
        writeArea();
    }
    transfer_.view().hideSplash();
    transfer_.view().hideCoveringLabels();
    if (polling) discovery.StartDevTimer();
}

void MacroModel::Btn_DelMacroClick() {
    if (!devSel_ || editor_.busy()) return;
    emit hidePopups();
    clearListing();
    const std::size_t k = *devSel_;
    if (deviceReady()) {
        const std::vector<KeyBinding> bound = InitKeysParameters(editor_, device_);
        const auto slotsBefore = comboSlotBytes(editor_.work());
        device_.remove(k);
        storeArea();
        RefreshKeysParameters(editor_, bound, device_);
        editor_.CommitProfileSections();
        // The combo key slots live in the vendor section: each re-pointed one is sent with
        // the four-byte live write, as an assignment to a slot is.
        const auto slotsAfter = comboSlotBytes(editor_.work());
        for (std::size_t n = 0; n < kComboKeyCount; ++n) {
            if (slotsAfter[n] == slotsBefore[n]) continue;
            editor_.setComboKeyCode(static_cast<int>(n + 1), slotsAfter[n], Write::Live);
        }
        writeArea();
    }
    const std::size_t n = device_.count();
    devSel_ = n == 0 ? std::nullopt : std::optional<std::size_t>(k > 0 ? std::min(k - 1, n - 1) : 0);
    emit changed();
}

void MacroModel::importBaseMacroFile(const std::string& path) {
    if (editor_.busy() || !deviceReady()) return;
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!readWholeFile(path, bytes, &error, kAreaSize)) {
        emit messageText(qs(error));
        return;
    }
    // A file shorter than the area would leave part of the old area behind.
    if (bytes.size() < kAreaSize) {
        emit messageText(QLatin1String(kLoadError));
        return;
    }
    Discovery& discovery = transfer_.discovery();
    const bool polling = discovery.devTimerRunning();
    discovery.StopDevTimer();
    transfer_.view().showSplash();
    Area area{};
    std::copy_n(bytes.begin(), kAreaSize, area.begin());
    device_.ReadAndRefreshMacro3740(area);
    devSel_.reset();
    clearListing();
    storeArea();
    writeArea();
    if (polling) discovery.StartDevTimer();
    emit changed();
}

bool MacroModel::exportBaseMacroFile(const std::string& path) {
    emit hidePopups();
    if (!deviceReady()) return false;
    std::string error;
    if (!writeWhole(path, editor_.work().deviceMacros(), &error)) {
        emit messageText(qs(error));
        return false;
    }
    return true;
}

// ------------------------------------------------------------------ library

bool MacroModel::libraryResult(LibraryResult r) {
    switch (r) {
    case LibraryResult::Done: return true;
    case LibraryResult::Exists: emit message(QStringLiteral("Str106")); break;
    case LibraryResult::BadFile: emit messageText(QLatin1String(kLoadError)); break;
    case LibraryResult::BadName: emit message(QStringLiteral("Str820")); break;
    case LibraryResult::FileError:
    case LibraryResult::Damaged: emit messageText(qs(library_.error())); break;
    case LibraryResult::Ignored: break;
    }
    return false;
}

bool MacroModel::CheckPCMacro() {
    const bool ok = libraryResult(library_.CheckPCMacro());
    if (libSel_ && *libSel_ >= library_.count()) libSel_.reset();
    emit changed();
    return ok;
}

bool MacroModel::replaceLibraryWithDefault() {
    clearListing();
    libSel_.reset();
    const bool ok = libraryResult(library_.replaceWithDefault());
    emit changed();
    return ok;
}

bool MacroModel::Btn_NewMacroClick() {
    emit hidePopups();
    if (!newMacroEnabled()) return false;
    clearListing();
    nameDialog_ = NameDialog::New;
    locked_ = true;
    emit changed();
    return true;
}

bool MacroModel::Btn_NewNameClick() {
    if (!libSel_) return false;
    emit hidePopups();
    nameDialog_ = NameDialog::Rename;
    locked_ = true;
    emit changed();
    return true;
}

void MacroModel::ApplyMacroName(const std::string& name) {
    const NameDialog purpose = nameDialog_;
    nameDialog_ = NameDialog::None;
    locked_ = false;
    if (purpose == NameDialog::New) {
        const std::size_t n = library_.count();
        if (libraryResult(library_.newMacro(name))) {
            libSel_ = n;
            devSel_.reset();
            showLibraryListing();
        }
    } else if (purpose == NameDialog::Rename && libSel_) {
        libraryResult(library_.rename(*libSel_, name));
    }
    emit changed();
}

void MacroModel::closeDialog() {
    nameDialog_ = NameDialog::None;
    editRow_.reset();
    locked_ = false;
    emit changed();
}

void MacroModel::Btn_DelPCMacroClick() {
    if (!libSel_) return;
    emit hidePopups();
    clearListing();
    const std::size_t s = *libSel_;
    libraryResult(library_.remove(s));
    const std::size_t n = library_.count();
    libSel_ = n == 0 ? std::nullopt : std::optional<std::size_t>(s > 0 ? std::min(s - 1, n - 1) : 0);
    emit changed();
}

void MacroModel::importOneFile(const std::string& path) {
    if (!importOneEnabled()) return;
    emit hidePopups();
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!readWholeFile(path, bytes, &error, kRecordSize)) {
        emit messageText(qs(error));
        return;
    }
    clearListing();
    const std::size_t n = library_.count();
    if (libraryResult(library_.importOne(bytes))) {
        libSel_ = n;
        devSel_.reset();
        showLibraryListing();
    }
    emit changed();
}

void MacroModel::importAllFile(const std::string& path) {
    emit hidePopups();
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!readWholeFile(path, bytes, &error, kLibrarySize)) {
        emit messageText(qs(error));
        return;
    }
    clearListing();
    libraryResult(library_.importAll(bytes));
    libSel_.reset();
    emit changed();
}

bool MacroModel::exportOneFile(const std::string& path) {
    if (!libSel_) return false;
    emit hidePopups();
    std::string error;
    if (!writeWhole(path, library_.recordBytes(*libSel_), &error)) {
        emit messageText(qs(error));
        return false;
    }
    return true;
}

bool MacroModel::exportAllFile(const std::string& path) {
    emit hidePopups();
    std::string error;
    if (!writeWhole(path, library_.bytes(), &error)) {
        emit messageText(qs(error));
        return false;
    }
    return true;
}

// ------------------------------------------------------------------ selection and listing

void MacroModel::clearListing() {
    listing_.clear();
    rowSel_.reset();
}

void MacroModel::showLibraryListing() {
    clearListing();
    if (!libSel_) return;
    BuiltListing b = library_.listing(*libSel_);
    if (b.lines.empty()) return;
    listing_ = std::move(b.lines);
    delayMode_ = b.mode;
    if (b.mode == DelayMode::Default) delayText_ = std::to_string(b.defaultDelay);
}

void MacroModel::LB_PCMacroNameClick(std::optional<std::size_t> row) {
    emit hidePopups();
    devSel_.reset();
    libSel_ = (row && *row < library_.count()) ? row : std::nullopt;
    showLibraryListing();
    emit changed();
}

void MacroModel::LB_MacroNameClick(std::optional<std::size_t> row) {
    emit hidePopups();
    libSel_.reset();
    clearListing();
    devSel_ = (row && *row < device_.count()) ? row : std::nullopt;
    if (devSel_ && device_.macroLength(*devSel_) > 1) {
        BuiltListing b = BuildMacroListing(device_.code(*devSel_), device_.macroLength(*devSel_));
        listing_ = std::move(b.lines);
        delayMode_ = b.mode;
        if (b.mode == DelayMode::Default) delayText_ = std::to_string(b.defaultDelay);
    }
    emit changed();
}

void MacroModel::selectListingRow(std::optional<std::size_t> row) {
    rowSel_ = (row && *row + 1 < listing_.size()) ? row : std::nullopt;
    emit changed();
}

std::vector<std::string> MacroModel::listingRows() const {
    if (listing_.size() <= 1) return {};
    return {listing_.begin() + 1, listing_.end()};
}

bool MacroModel::editEnabled() const {
    return rowSel_ && *rowSel_ + 1 < listing_.size() && lineKind(listing_[*rowSel_ + 1]) != '8';
}

void MacroModel::setListing(Listing listing) {
    listing_ = std::move(listing);
    if (rowSel_ && *rowSel_ + 1 >= listing_.size()) rowSel_.reset();
    emit changed();
}

void MacroModel::clearForRecording() {
    clearListing();
    if (libSel_) library_.clearCode(*libSel_);
    emit changed();
}

void MacroModel::insertRecordedLine(std::size_t line, const std::string& text) {
    listing_.insert(listing_.begin() + static_cast<std::ptrdiff_t>(std::min(line, listing_.size())), text);
    emit changed();
}

bool MacroModel::commitListing() {
    if (!libSel_) return false;
    // An edit that makes the macro longer than its slot cannot be stored: say so and show
    // the macro as the library keeps it, so the listing never shows what the file lacks.
    if (CompileMacroListing(listing_).size() > kSlotSize) {
        const std::optional<std::size_t> row = rowSel_;
        emit message(QStringLiteral("Str103"));
        showLibraryListing();
        rowSel_ = (row && *row + 1 < listing_.size()) ? row : std::nullopt;
        emit changed();
        return false;
    }
    return libraryResult(library_.storeListing(*libSel_, listing_));
}

std::size_t MacroModel::compiledLength() const { return CompileMacroListing(listing_).size(); }

// ------------------------------------------------------------------ editing

MacroEditDialog MacroModel::Btn_EditClick() {
    if (!libSel_ || !rowSel_ || *rowSel_ + 1 >= listing_.size()) return MacroEditDialog::None;
    emit hidePopups();
    editRow_ = rowSel_;
    editKind_ = lineKind(listing_[*rowSel_ + 1]);
    MacroEditDialog d = MacroEditDialog::None;
    switch (editKind_) {
    case '0': d = MacroEditDialog::Delay; break;
    case '1':
    case '2': d = MacroEditDialog::Key; break;
    case '3': d = MacroEditDialog::Move; break;
    case '7': d = MacroEditDialog::Repeat; break;
    default: break;
    }
    locked_ = d != MacroEditDialog::None;
    if (!locked_) editRow_.reset();
    emit changed();
    return d;
}

void MacroModel::confirmDelayEdit(const std::string& text) {
    if (editRow_ && !text.empty() && *editRow_ + 1 < listing_.size())
        listing_[*editRow_ + 1] = "0 " + ruleDelayText(text);
    if (editRow_) {
        rowSel_ = editRow_;
        commitListing();
    }
    closeDialog();
}

void MacroModel::confirmKeyEdit(const std::string& name, std::uint8_t usage) {
    if (editRow_ && !name.empty() && *editRow_ + 1 < listing_.size())
        listing_[*editRow_ + 1] = capturedKeyLine(editKind_ == '1', name, usage);
    if (editRow_) {
        rowSel_ = editRow_;
        commitListing();
    }
    closeDialog();
}

void MacroModel::confirmMoveEdit(const std::string& x, const std::string& y) {
    const auto bx = x.empty() ? std::nullopt : axisByte(x);
    const auto by = y.empty() ? std::nullopt : axisByte(y);
    if (editRow_ && bx && by && *editRow_ + 1 < listing_.size() && lineKind(listing_[*editRow_ + 1]) == '3')
        listing_[*editRow_ + 1] = moveLine(*bx, *by);
    if (editRow_) {
        rowSel_ = editRow_;
        commitListing();
    }
    closeDialog();
}

void MacroModel::confirmRepeatEdit(const std::string& text) {
    if (editRow_ && !text.empty() && *editRow_ + 1 < listing_.size() && lineKind(listing_[*editRow_ + 1]) == '7')
        listing_[*editRow_ + 1] = loopStartLine(repeatByte(text));
    if (editRow_) {
        rowSel_ = editRow_;
        commitListing();
    }
    closeDialog();
}

void MacroModel::Btn_DelClick() {
    if (!libSel_ || !rowSel_) return;
    emit hidePopups();
    const DeleteResult r = deleteRow(listing_, *rowSel_);
    if (r.contentError) {
        emit messageText(QLatin1String(kContentError));
        emit changed();
        return;
    }
    rowSel_ = r.select;
    commitListing();
    emit changed();
}

void MacroModel::Btn_InsertClick(int topRow) {
    if (!libSel_ || !rowSel_ || insertOpen_) return;
    emit hidePopups();
    locked_ = true;
    insertOpen_ = true;
    savedTop_ = topRow;
    savedRow_ = rowSel_;
    insertItem_ = InsertItem::DelayFront;
    emit changed();
}

void MacroModel::setInsertItem(InsertItem item) {
    insertItem_ = item;
    if (item == InsertItem::KeyFront || item == InsertItem::KeyBack) insertDelayMode_ = DelayMode::Record;
    emit changed();
}

std::size_t MacroModel::insertBudgetStart() const { return compiledLength() - 1; }

void MacroModel::setInsertTexts(const std::string& delay, const std::string& x, const std::string& y,
                                const std::string& repeat) {
    insertDelay_ = delay;
    insertX_ = x;
    insertY_ = y;
    insertRepeat_ = repeat;
}

void MacroModel::closeInsertPanel() {
    insertOpen_ = false;
    locked_ = false;
}

void MacroModel::Btn_OKClick() {
    if (!insertOpen_) return;
    if (insertItem_ == InsertItem::KeyFront || insertItem_ == InsertItem::KeyBack) {
        commitListing();
        closeInsertPanel();
        emit changed();
        return;
    }
    if (!rowSel_ || *rowSel_ + 1 >= listing_.size()) return;
    std::string line;
    bool before = true;
    switch (insertItem_) {
    case InsertItem::DelayFront:
    case InsertItem::DelayBack:
        line = "0 " + ruleDelayText(insertDelay_);
        before = insertItem_ == InsertItem::DelayFront;
        break;
    case InsertItem::MoveFront:
    case InsertItem::MoveBack: {
        const auto x = axisByte(insertX_);
        const auto y = axisByte(insertY_);
        if (!x || !y) return;  // a lone "-" is no value
        line = moveLine(*x, *y);
        before = insertItem_ == InsertItem::MoveFront;
        break;
    }
    case InsertItem::RepeatStart: line = loopStartLine(repeatByte(insertRepeat_)); break;
    case InsertItem::RepeatStop:
        line = loopEndLine();
        before = false;
        break;
    default: return;
    }
    if (!insertFits(compiledLength(), lineKind(line))) {
        emit message(QStringLiteral("Str103"));
        return;
    }
    const std::size_t row = *rowSel_ + (before ? 0 : 1);
    listing_.insert(listing_.begin() + static_cast<std::ptrdiff_t>(row + 1), line);
    commitListing();
    rowSel_ = row;
    closeInsertPanel();
    emit changed();
}

void MacroModel::Btn_CancelClick() {
    if (!insertOpen_) return;
    library_.CheckPCMacro();
    closeInsertPanel();
    showLibraryListing();
    rowSel_ = (savedRow_ && *savedRow_ + 1 < listing_.size()) ? savedRow_ : std::nullopt;
    emit changed();
}

void MacroModel::setDelayText(const std::string& text) {
    delayText_ = ruleDelayText(text);
    emit changed();
}

}  // namespace nivra
