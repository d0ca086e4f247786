#include "settings/cpi_model.h"

#include "image/code_texts.h"
#include "image/codes.h"

#include <algorithm>

namespace nivra {

namespace {

constexpr std::array<int, 4> kRates{125, 250, 500, 1000};  // bits 5..4 of byte 4: 00 .. 11
constexpr std::uint8_t kAimKeyType = 0x05;

}  // namespace

const CpiOptionItems& cpiOptionItems(CpiOption o) {
    static const CpiOptionItems indication{field::kCPIIndication,
                                           {QStringLiteral("No Indication"), QStringLiteral("Fade "),
                                            QStringLiteral("Flash")},
                                           {0b01, 0b10, 0b11, 0b11}};
    static const CpiOptionItems set{field::kCPISet,
                                    {QStringLiteral("800,1200,1600,2400"), QStringLiteral("600,1200,2400,4800"),
                                     QStringLiteral("1000,2400,3200,6000"), QStringLiteral("400,800,1600,2400")},
                                    {0b11, 0b10, 0b01, 0b00}};
    static const CpiOptionItems level{field::kCPILevel,
                                      {QStringLiteral("1st"), QStringLiteral("2nd"), QStringLiteral("3rd"),
                                       QStringLiteral("4th")},
                                      {0b00, 0b11, 0b10, 0b01}};
    static const CpiOptionItems prescale{field::kCPIPrescaleSel,
                                         {QStringLiteral("1.00x"), QStringLiteral("1.12x"), QStringLiteral("1.25x"),
                                          QStringLiteral("1.33x")},
                                         {0b11, 0b01, 0b10, 0b00}};
    switch (o) {
    case CpiOption::Indication: return indication;
    case CpiOption::Set: return set;
    case CpiOption::Level: return level;
    case CpiOption::Prescale: break;
    }
    return prescale;
}

CpiModel::CpiModel(ImageEditor& editor, Restart restart, QObject* parent)
    : QObject(parent), editor_(editor), restart_(std::move(restart)) {
    values_.fill(kCpiNotSet);
    connect(&editor_, &ImageEditor::imageReplaced, this, &CpiModel::refresh);
    connect(&editor_, &ImageEditor::bytesChanged, this, &CpiModel::onBytesChanged);
    refresh();
}

int CpiModel::levelValue(int level) const {
    if (level < 1 || level > kMaxCpiLevels) return -1;
    const std::uint8_t v = values_[static_cast<std::size_t>(level - 1)];
    return v < kCpiValues.size() ? v : -1;
}

Rgb CpiModel::levelColour(int level) const {
    if (level < 1 || level > kMaxCpiLevels) return {};
    return cpiColour(editor_.work().bytes, level);
}

int CpiModel::reportRate() const { return kRates[getField(editor_.work().bytes, field::kRepRate)]; }

int CpiModel::optionItem(CpiOption o) const {
    const CpiOptionItems& items = cpiOptionItems(o);
    const std::uint8_t bits = getField(editor_.work().bytes, items.field);
    for (int i = 0; i < items.items.size(); ++i)
        if (items.bits[static_cast<std::size_t>(i)] == bits) return i;
    return 0;  // CPI Indication 00 shows as "No Indication"
}

QStringList CpiModel::currentLevelItems() const {
    QStringList items;
    for (int n = 1; n <= count_; ++n) items << QStringLiteral("CPI%1").arg(n);
    return items;
}

// ---------------------------------------------------------------- levels

void CpiModel::clickLevel(int n) {
    if (editor_.busy() || n < 1 || n > kMaxCpiLevels) return;
    const bool enabled = levelEnabled(n);
    int c = count_;
    if (enabled && c == 1) return;  // the only enabled level stays
    if (!enabled && levelEnabled(n - 1)) {
        c += 1;
    } else if (enabled && (n == kMaxCpiLevels || !levelEnabled(n + 1))) {
        c -= 1;
    } else {
        return;  // neither the next level to enable nor the last one to disable
    }
    // The highest enabled level ends up marked in effect either way.
    markLevelCount(c);
}

void CpiModel::setLevelCount(int c) {
    if (editor_.busy() || c < 1 || c > kMaxCpiLevels) return;
    markLevelCount(c);
}

void CpiModel::markLevelCount(int c) {
    count_ = c;
    current_ = c;
    editor_.setByte(offset::kCpiLevelCount, static_cast<std::uint8_t>(c - 1));
    // The display marks level c as in effect; the mouse is told the same so that it never
    // runs on a level the page shows as disabled.
    editor_.setByte(offset::kCurrentCpi, static_cast<std::uint8_t>(c - 1));
    emit changed();
}

void CpiModel::setLevelValue(int n, int index) {
    if (editor_.busy() || n < 1 || n > kMaxCpiLevels || index < 0 || index >= static_cast<int>(kCpiValues.size()))
        return;
    values_[static_cast<std::size_t>(n - 1)] = static_cast<std::uint8_t>(index);
    writePairByte(n);
    // The mouse takes up a new value when its level in effect changes: away and back.
    const auto inEffect = static_cast<std::uint8_t>(current_ - 1);
    editor_.setByte(offset::kCurrentCpi, inEffect == 0 ? 1 : inEffect - 1);
    editor_.setByte(offset::kCurrentCpi, inEffect);
    emit changed();
}

void CpiModel::writePairByte(int n) {
    const std::size_t k = static_cast<std::size_t>(n - 1) / 2;
    const std::uint8_t odd = values_[2 * k] & 0x0F;
    const std::uint8_t even = values_[2 * k + 1] & 0x0F;
    editor_.setByte(offset::kCpiNibbles + k, static_cast<std::uint8_t>(even << 4 | odd));
}

void CpiModel::setCurrentLevel(int n) {
    if (editor_.busy() || !levelEnabled(n)) return;
    current_ = n;
    editor_.setByte(offset::kCurrentCpi, static_cast<std::uint8_t>(n - 1));
    emit changed();
}

// ---------------------------------------------------------------- colours

void CpiModel::chooseLevelColour(int n, Rgb c) {
    if (editor_.busy() || n < 1 || n > kMaxCpiLevels) return;
    // The dialog's colour goes into the three colour edits, each of which writes its byte,
    // and then the three bytes are sent together.
    setLevelColourComponent(n, 0, c.r);
    setLevelColourComponent(n, 1, c.g);
    setLevelColourComponent(n, 2, c.b);
    const std::uint8_t rgb[3] = {c.r, c.g, c.b};
    editor_.setBytes(offset::kCpiColours + 3 * static_cast<std::size_t>(n - 1), rgb);
    emit changed();
}

int CpiModel::setLevelColourComponent(int n, int component, int value) {
    if (editor_.busy() || n < 1 || n > kMaxCpiLevels || component < 0 || component > 2 || value < 0) return -1;
    value = std::min(value, 255);
    editor_.setByte(offset::kCpiColours + 3 * static_cast<std::size_t>(n - 1) + static_cast<std::size_t>(component),
                    static_cast<std::uint8_t>(value));
    emit changed();
    return value;
}

// ---------------------------------------------------------------- AIM

int CpiModel::profileShown() const {
    const int p = getField(editor_.work().bytes, field::kCurrentMode);
    return p <= 2 ? p + 1 : 1;
}

bool CpiModel::isAimKey(int profile, int key) const {
    const NameInputs in = nameInputsFromImage(editor_.work().bytes, editor_.state().systemMemory);
    const auto at = editor_.work().bytes.begin() + static_cast<std::ptrdiff_t>(buttonCodeOffset(profile, key));
    return NameOfCode(codeFromBytes(std::span<const std::uint8_t>(at, 4)), in).id == "Str260";
}

// The AIM level of the last AIM key of `profile`; -1 for a level byte of 0xFF.
int CpiModel::aimOfProfile(int profile, bool* found) const {
    int aim = 0;
    *found = false;
    for (int k = 1; k <= static_cast<int>(kKeysPerProfile); ++k) {
        if (!isAimKey(profile, k)) continue;
        *found = true;
        const std::uint8_t level = editor_.work().bytes[buttonCodeOffset(profile, k) + 1];
        aim = level == 0xFF ? -1 : level;
    }
    return aim;
}

bool CpiModel::setAimLevel(int index, bool fromEngineer) {
    if (editor_.busy() || index < 0 || index >= static_cast<int>(kCpiValues.size())) return false;
    const int engineerBefore = engineerAim_;
    aim_ = index;
    engineerAim_ = index;
    bool found = false;
    for (int p = 1; p <= 3; ++p) {
        for (int k = 1; k <= static_cast<int>(kKeysPerProfile); ++k) {
            if (!isAimKey(p, k)) continue;
            found = true;
            const std::uint8_t code[4] = {kAimKeyType, static_cast<std::uint8_t>(index), 0x00, 0x00};
            editor_.setButtonCode(p, k, code, Write::None);
        }
    }
    if (found) {
        editor_.CommitProfileSections();
        emit changed();
        return true;
    }
    if (fromEngineer) {
        engineerAim_ = engineerBefore;
        emit changed();
        emit plainMessage(QString::fromLatin1(kNoAimKeyEngineerText));
    } else {
        aim_ = 0;
        engineerAim_ = 0;
        emit changed();
        emit message(QStringLiteral("Str105"));
    }
    return false;
}

void CpiModel::RefreshAIMKey() {
    bool found = false;
    aim_ = aimOfProfile(profileShown(), &found);
    emit changed();
}

void CpiModel::TLRefreshAIMKey(int profile) {
    int aim = 0;
    for (int p : {1, 2, 3, profile}) {
        if (p < 1 || p > 3) continue;
        bool found = false;
        const int a = aimOfProfile(p, &found);
        if (found) aim = a;
    }
    engineerAim_ = aim < 0 ? 0 : aim;
    emit changed();
}

// ---------------------------------------------------------------- report rate, options

void CpiModel::setReportRate(int hz) {
    const auto it = std::find(kRates.begin(), kRates.end(), hz);
    if (editor_.busy() || it == kRates.end()) return;
    editor_.setField(field::kRepRate, static_cast<std::uint8_t>(it - kRates.begin()));
    emit changed();
    if (hz == lastKnownRate_) return;
    lastKnownRate_ = hz;
    // The new rate takes effect after a restart; the page takes no clicks until it is over.
    restarting_ = true;
    emit changed();
    if (restart_) restart_();
    restarting_ = false;
    emit changed();
}

void CpiModel::setOption(CpiOption o, int item) {
    const CpiOptionItems& items = cpiOptionItems(o);
    if (editor_.busy() || item < 0 || item >= items.items.size()) return;
    editor_.setField(items.field, items.bits[static_cast<std::size_t>(item)]);
    emit changed();
}

// ---------------------------------------------------------------- refreshes

void CpiModel::refresh() {
    const Image& img = editor_.work().bytes;
    count_ = cpiLevelCount(img);
    for (int n = 1; n <= kMaxCpiLevels; ++n) values_[static_cast<std::size_t>(n - 1)] = cpiNibble(img, n);
    const std::uint8_t inEffect = img[offset::kCurrentCpi];
    current_ = inEffect < kMaxCpiLevels ? inEffect + 1 : 1;
    lastKnownRate_ = reportRate();
    profileSeen_ = profileShown();
    bool found = false;
    aim_ = aimOfProfile(profileSeen_, &found);
    TLRefreshAIMKey(profileSeen_);  // emits changed()
}

void CpiModel::RefreshCurrentDPIStatus(std::uint8_t level) {
    if (level >= kMaxCpiLevels) return;
    current_ = level + 1;
    emit changed();
}

void CpiModel::onBytesChanged(EditRegion region, std::size_t offset, std::size_t count) {
    // The AIM level shown follows the profile shown.
    if (region != EditRegion::User || offset > offset::kModeByte || offset + count <= offset::kModeByte) return;
    if (profileShown() == profileSeen_) return;
    profileSeen_ = profileShown();
    RefreshAIMKey();
}

}  // namespace nivra
