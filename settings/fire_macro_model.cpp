#include "settings/fire_macro_model.h"

#include "files/file_bytes.h"
#include "image/fields.h"
#include "macro/listing.h"
#include "macro/macro_name.h"

#include <algorithm>

namespace nivra {

using namespace nivra::macro;

namespace {
constexpr char kContentError[] = "Macro Content Error";
constexpr char kNoFireMacroFile[] = "Str791";
constexpr std::size_t kPassword = 5;  // every fifth double-click asks
constexpr std::string_view kRevealPassword = "QorvinTek";

std::size_t bodyOffset(std::size_t i) { return offset::kFireMacroBodies + kFireMacroBodySize * i; }
std::size_t nameOffset(std::size_t i) { return offset::kFireMacroNames + kFireMacroNameSize * i; }
}  // namespace

FireMacroModel::FireMacroModel(ImageEditor& editor, Transfer& transfer, QObject* parent)
    : QObject(parent), editor_(editor), transfer_(transfer) {
    connect(&editor_, &ImageEditor::imageReplaced, this, &FireMacroModel::refreshFromWork);
    connect(&editor_, &ImageEditor::bytesChanged, this, [this](EditRegion region, std::size_t, std::size_t) {
        if (region == EditRegion::FireMacros && !selfEdit_) refreshFromWork();
    });
    refreshFromWork();
}

// ------------------------------------------------------------------ names and listing

std::vector<std::string> FireMacroModel::RefreshFireMacroName() const {
    std::vector<std::string> rows(kFireMacroCount);
    for (std::size_t i = 0; i < kFireMacroCount; ++i) rows[i] = fireMacroNameText(editor_.work().fireMacroNames[i]);
    return rows;
}

std::size_t FireMacroModel::length(std::size_t index) const {
    return index < kFireMacroCount ? fireMacroLength(editor_.work().fireMacroBodies[index]) : 0;
}

void FireMacroModel::LB_FireMacroNameClick(std::optional<std::size_t> index) {
    if (recording_ || insertOpen_) return;
    sel_ = index && *index < kFireMacroCount ? index : std::nullopt;
    showSelected();
    emit changed();
}

void FireMacroModel::showSelected() {
    emit hidePopups();
    listing_.clear();
    rowSel_.reset();
    if (!sel_ || length(*sel_) <= 1) return;
    listing_ = BuildFireMacroListing(editor_.work().fireMacroBodies[*sel_]);
}

std::vector<std::string> FireMacroModel::listingRows() const {
    if (listing_.size() <= 1) return {};
    return {listing_.begin() + 1, listing_.end()};
}

void FireMacroModel::selectListingRow(std::optional<std::size_t> row) {
    rowSel_ = row && *row + 1 < listing_.size() ? row : std::nullopt;
    emit changed();
}

void FireMacroModel::refreshFromWork() {
    if (recording_) return;
    if (insertOpen_) insertOpen_ = false;
    const std::optional<std::size_t> row = rowSel_;
    showSelected();
    if (row && *row + 1 < listing_.size()) rowSel_ = row;
    emit changed();
}

bool FireMacroModel::compileIntoSelected() {
    if (!sel_) return false;
    FireMacroBody& body = editor_.workForEdit().fireMacroBodies[*sel_];
    if (!CompileFireMacroListing(listing_, body)) return false;
    selfEdit_ = true;
    editor_.touched(bodyOffset(*sel_), kFireMacroBodySize);
    selfEdit_ = false;
    return true;
}

// ------------------------------------------------------------------ rename

bool FireMacroModel::Btn_NewFireNameClick() {
    if (!sel_ || recording_ || editor_.busy()) return false;
    emit hidePopups();
    return true;
}

void FireMacroModel::ApplyMacroName(const std::string& name) {
    if (!sel_ || name.empty() || editor_.busy()) return;
    const std::vector<std::string> rows = RefreshFireMacroName();
    if (std::find(rows.begin(), rows.end(), name) != rows.end()) {
        emit message(QStringLiteral("Str106"));
        return;
    }
    const NameBytes bytes = nameBytes(name);
    storeName(*sel_, bytes);
    emit changed();
}

void FireMacroModel::storeName(std::size_t index, const FireMacroName& name) {
    editor_.workForEdit().fireMacroNames[index] = name;
    selfEdit_ = true;
    editor_.touched(nameOffset(index), kFireMacroNameSize);
    selfEdit_ = false;
}

// ------------------------------------------------------------------ delete and insert

void FireMacroModel::Btn_FireDelClick() {
    if (!sel_ || !rowSel_ || recording_ || insertOpen_ || editor_.busy()) return;
    emit hidePopups();
    // A press goes with its release and a release with its press, as on the macro page.
    const DeleteResult r = deleteRow(listing_, *rowSel_);
    if (r.contentError) {
        emit messageText(QLatin1String(kContentError));
        return;
    }
    rowSel_ = r.select;
    compileIntoSelected();  // a shorter listing always fits
    emit changed();
}

void FireMacroModel::Btn_FireInsertClick(int topRow) {
    if (!sel_ || !rowSel_ || recording_ || insertOpen_ || editor_.busy()) return;
    emit hidePopups();
    savedTop_ = topRow;
    savedRow_ = rowSel_;
    insertItem_ = FireInsertItem::DelayFront;
    insertOpen_ = true;
    emit changed();
}

void FireMacroModel::setInsertItem(FireInsertItem item) {
    insertItem_ = item;
    emit changed();
}

void FireMacroModel::Btn_FireOKClick() {
    if (!insertOpen_) return;
    if (!rowSel_ || !sel_ || editor_.busy()) {
        insertOpen_ = false;
        emit changed();
        return;
    }
    const std::size_t row = *rowSel_ + (fireInsertAfter(insertItem_) ? 1 : 0);
    Listing next = listing_;
    next.insert(next.begin() + static_cast<std::ptrdiff_t>(row + 1), fireInsertLine(insertItem_, insertTexts_));
    if (fireListingLength(next) > kFireMacroBodySize) {
        emit message(QStringLiteral("Str103"));
        return;
    }
    insertOpen_ = false;
    listing_ = std::move(next);
    compileIntoSelected();
    rowSel_ = row;
    emit changed();
}

void FireMacroModel::Btn_FireCancelClick() {
    if (!insertOpen_) return;
    insertOpen_ = false;
    showSelected();
    if (savedRow_ && *savedRow_ + 1 < listing_.size()) rowSel_ = savedRow_;
    emit changed();
}

// ------------------------------------------------------------------ delay mode

void FireMacroModel::setFireDelayMode(DelayMode mode) {
    delayMode_ = mode;
    emit changed();
}

void FireMacroModel::setFireDelayText(const std::string& text) {
    delayText_ = ruleDelayText(text);
    emit changed();
}

RecordDelay FireMacroModel::recordDelay() const {
    RecordDelay d;
    d.value = static_cast<unsigned>(numberOf(delayText_).value_or(50));
    switch (delayMode_) {
    case DelayMode::Record: d.mode = RecordDelayMode::Record; break;
    case DelayMode::Default: d.mode = RecordDelayMode::Default; break;
    case DelayMode::None: d.mode = RecordDelayMode::None; break;
    }
    return d;
}

// ------------------------------------------------------------------ recording

bool FireMacroModel::startRecording() {
    if (!sel_ || recording_ || insertOpen_ || editor_.busy()) return false;
    emit hidePopups();
    recording_ = true;
    listing_.clear();
    rowSel_.reset();
    editor_.workForEdit().fireMacroBodies[*sel_].fill(0);
    selfEdit_ = true;
    editor_.touched(bodyOffset(*sel_), kFireMacroBodySize);
    selfEdit_ = false;
    emit changed();
    return true;
}

void FireMacroModel::insertRecordedLine(std::size_t line, const std::string& text) {
    if (!recording_) return;
    line = std::min(line, listing_.size());
    listing_.insert(listing_.begin() + static_cast<std::ptrdiff_t>(line), text);
    emit changed();
}

void FireMacroModel::stopRecording() {
    if (!recording_) return;
    recording_ = false;
    // The recorder's budget keeps the listing within the slot; were it ever longer, the
    // fire macro keeps its zero bytes rather than spill into the next slot.
    if (!compileIntoSelected()) emit message(QStringLiteral("Str103"));
    emit changed();
}

// ------------------------------------------------------------------ file

bool FireMacroModel::Btn_ImportGunMacroClick(const std::string& path) {
    if (editor_.busy() || recording_) return false;
    emit hidePopups();
    // A file that cannot be read is told as such (with the reason); one that can be read
    // but holds no fire macros gets the editor's own message.
    std::string error;
    const std::optional<std::vector<std::uint8_t>> bytes = readFileBytes(path, kFireMacroFileSize + 1, &error);
    if (!bytes) {
        emit messageText(QString::fromStdString(error));
        return false;
    }
    const std::optional<FireMacroSet> set = readFireMacroFile(*bytes);
    if (!set) {
        emit message(QLatin1String(kNoFireMacroFile));
        return false;
    }
    Discovery& discovery = transfer_.discovery();
    const bool polling = discovery.devTimerRunning();
    discovery.StopDevTimer();
    transfer_.view().showSplash();
    WorkingCopy& work = editor_.workForEdit();
    work.fireMacroNames = set->names;
    work.fireMacroBodies = set->bodies;
    rebuildFireMacroBlock(work);
    selfEdit_ = true;
    editor_.touched(offset::kFireMacroNames, kFireMacroFileSize);
    selfEdit_ = false;
    if (editor_.state().deviceMemory == MemoryType::I2C)
        editor_.writeBlock(region::kFireMacroBlock.offset, region::kFireMacroBlock.length);
    transfer_.view().hideSplash();
    if (polling) discovery.StartDevTimer();
    insertOpen_ = false;
    showSelected();
    emit changed();
    return true;
}

bool FireMacroModel::exportFireMacroFile(const std::string& path) {
    emit hidePopups();
    const FireMacroSet set{editor_.work().fireMacroNames, editor_.work().fireMacroBodies};
    const auto bytes = fireMacroFileBytes(set);
    std::string error;
    if (!writeFileAtomically(path, bytes, &error)) {
        emit messageText(QString::fromStdString(error));
        return false;
    }
    return true;
}

// ------------------------------------------------------------------ reveal

void FireMacroModel::attachReveal(bool* revealFlag, int* doubleClicks) {
    reveal_ = revealFlag ? revealFlag : &ownReveal_;
    clicks_ = doubleClicks ? doubleClicks : &ownClicks_;
}

FireRevealStep FireMacroModel::Img_Base_6DblClick() {
    if (*reveal_) {
        *reveal_ = false;
        hideEditor();
        return FireRevealStep::Hidden;
    }
    ++*clicks_;
    return *clicks_ % static_cast<int>(kPassword) == 0 ? FireRevealStep::AskPassword : FireRevealStep::None;
}

void FireMacroModel::passwordEntered(const std::optional<std::string>& text) {
    if (!text || *text != kRevealPassword) return;
    *reveal_ = true;
    shown_ = true;
    emit changed();
}

void FireMacroModel::hideEditor() {
    const bool wasShown = shown_;
    shown_ = false;
    if (insertOpen_) Btn_FireCancelClick();
    emit hidePopups();
    if (wasShown || recording_) emit editorHidden();
    emit changed();
}

}  // namespace nivra
