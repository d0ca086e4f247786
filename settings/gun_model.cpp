#include "settings/gun_model.h"

#include "settings/button_model.h"
#include "settings/lighting.h"
#include "settings/profile_model.h"

#include <algorithm>
#include <optional>

namespace nivra {

namespace {

constexpr std::array<int, kGuns> kFirstSlot{0, 1, 2, 3, 4, 5, 7};
constexpr std::array<int, kGuns> kColumns{1, 1, 1, 1, 1, 2, 3};
constexpr std::array<std::uint8_t, kGuns> kNibble{0, 1, 2, 3, 4, 5, 7};
constexpr std::uint8_t kKeepLeftBit = 0x10;

std::size_t gunIndex(int gun) { return static_cast<std::size_t>(std::clamp(gun, 1, kGuns) - 1); }
std::size_t paramIndex(GunParam p) { return static_cast<std::size_t>(p); }

// An edit's text as a number: optional "-" and digits; nullopt for empty or anything else.
// Long inputs are held to a value beyond every limit.
std::optional<long> number(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    const bool negative = text.startsWith(QLatin1Char('-'));
    const QString digits = negative ? text.mid(1) : text;
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c.isDigit(); }))
        return std::nullopt;
    const long v = digits.size() > 9 ? 1000000000L : digits.toLong();
    return negative ? -v : v;
}

// The limit of a move value or an offset: -128..127 alone and together with the other one.
int limitWithPartner(long value, int partner) {
    int v = static_cast<int>(std::clamp(value, -128L, 127L));
    if (v + partner >= 128) v = 127 - partner;
    if (v + partner < -128) v = -128 - partner;
    return v;
}

// What the edit shows: the typed text when the limits kept the value, else the value.
QString shown(const QString& typed, std::optional<long> parsed, long value) {
    return parsed && *parsed == value ? typed : QString::number(value);
}

std::size_t offsetByte(Axis axis, int slot) {
    return (axis == Axis::X ? offset::kXOffsets : offset::kYOffsets) + static_cast<std::size_t>(slot);
}

}  // namespace

int gunFirstSlot(int gun) { return kFirstSlot[gunIndex(gun)]; }
int gunColumns(int gun) { return kColumns[gunIndex(gun)]; }
std::uint8_t gunNibble(int gun) { return kNibble[gunIndex(gun)]; }

GunModel::GunModel(ImageEditor& editor, ButtonModel& buttons, ProfileModel& profiles, LightingModel& lighting,
                   QObject* parent)
    : QObject(parent), editor_(editor), buttons_(buttons), profiles_(profiles), lighting_(lighting) {
    connect(&editor_, &ImageEditor::imageReplaced, this, [this] {
        remember();
        fill();
    });
    connect(&editor_, &ImageEditor::bytesChanged, this, &GunModel::onBytesChanged);
    remember();
    fill();
}

void GunModel::setLayout(const GunLayout& layout) {
    layout_.gun6Modes = std::clamp(layout.gun6Modes, 1, 2);
    layout_.gun7Modes = std::clamp(layout.gun7Modes, 1, 3);
    emit changed();
}

// ---------------------------------------------------------------- what the page shows

bool GunModel::modeImageShown(int image) const {
    if (gun_ == 6) return image == 1 || image == 2;
    if (gun_ == 7) return image >= 3 && image <= 5;
    return false;
}

QString GunModel::text(int column, GunParam p) const {
    if (column < 1 || column > kGunColumns) return QString();
    return col(column).texts[paramIndex(p)];
}

bool GunModel::has(int column, GunParam p) const {
    if (!editable(column)) return false;
    const macro::GunParams& g = col(column).params;
    switch (p) {
        case GunParam::Count: return g.countAt.has_value();
        case GunParam::X:
        case GunParam::Y: return g.moveAt.has_value();
        case GunParam::Time: return g.timeAt.has_value();
        case GunParam::XOffset:
        case GunParam::YOffset: return true;
    }
    return false;
}

macro::GunParams GunModel::params(int column) const {
    return column >= 1 && column <= kGunColumns ? col(column).params : macro::GunParams{};
}

Rgb GunModel::colour(int column) const {
    if (!editable(column)) return Rgb{};
    const std::size_t at = offset::kColours + 3 * static_cast<std::size_t>(slot(column));
    const Image& b = editor_.work().bytes;
    return Rgb{b[at], b[at + 1], b[at + 2]};
}

std::uint8_t GunModel::modes(int gun) const {
    if (gun == 6) return static_cast<std::uint8_t>(layout_.gun6Modes);
    if (gun == 7) return static_cast<std::uint8_t>(layout_.gun7Modes);
    return 1;
}

ButtonCode GunModel::gunCode(int gun) const {
    return ButtonCode{{static_cast<std::uint8_t>(CodeType::GunKey),
                       static_cast<std::uint8_t>((keepLeft_ ? kKeepLeftBit : 0) + gunNibble(gun)), modes(gun),
                       profiles_.gunComboByte()}};
}

bool GunModel::editable(int column) const { return column >= 1 && column <= columns(); }

int GunModel::offsetOf(int column, Axis axis) const {
    return signedByte(editor_.work().bytes[offsetByte(axis, slot(column))]);
}

std::size_t GunModel::bodyOffset(int column) const {
    return region::kFireMacroBlock.offset + kFireMacroCount * kFireMacroNameSize +
           kFireMacroBodySize * static_cast<std::size_t>(slot(column));
}

// ---------------------------------------------------------------- opening and selecting

void GunModel::open() {
    // The offsets and the profile byte as the mouse holds them now.
    editor_.RefreshProfileParameter();
    remember();
    selectGun(1);
}

void GunModel::remember() {
    const WorkingCopy& work = editor_.work();
    remembered_.names = work.fireMacroNames;
    remembered_.bodies = work.fireMacroBodies;
    std::copy_n(work.bytes.begin() + static_cast<std::ptrdiff_t>(offset::kXOffsets), remembered_.offsets.size(),
                remembered_.offsets.begin());
}

void GunModel::selectGun(int gun) {
    gun_ = static_cast<int>(gunIndex(gun)) + 1;
    fill();
}

void GunModel::fill() {
    filling_ = true;
    const WorkingCopy& work = editor_.work();
    for (int c = 1; c <= kGunColumns; ++c) {
        Column& column = col(c);
        column.texts.fill(QStringLiteral("0"));
        column.params = {};
        if (!editable(c)) continue;
        column.params = macro::readGunParams(work.fireMacroBodies[static_cast<std::size_t>(slot(c))]);
        const macro::GunParams& g = column.params;
        column.texts[paramIndex(GunParam::Count)] = QString::number(g.count);
        column.texts[paramIndex(GunParam::X)] = QString::number(g.x);
        column.texts[paramIndex(GunParam::Y)] = QString::number(g.y);
        column.texts[paramIndex(GunParam::Time)] = QString::number(g.time);
        column.texts[paramIndex(GunParam::XOffset)] = QString::number(offsetOf(c, Axis::X));
        column.texts[paramIndex(GunParam::YOffset)] = QString::number(offsetOf(c, Axis::Y));
    }
    filling_ = false;
    emit changed();
}

// ---------------------------------------------------------------- column edits

void GunModel::writeBody(int column, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
    FireMacroBody& body = editor_.workForEdit().fireMacroBodies[static_cast<std::size_t>(slot(column))];
    std::copy(bytes.begin(), bytes.end(), body.begin() + static_cast<std::ptrdiff_t>(at));
    col(column).params = macro::readGunParams(body);
    ownEdit_ = true;
    editor_.touched(bodyOffset(column) + at, bytes.size());
    ownEdit_ = false;
}

void GunModel::setCount(int column, const QString& text) {
    if (filling_ || !editable(column) || editor_.busy()) return;
    const std::optional<long> v = number(text);
    const long count = std::clamp(v.value_or(0), 0L, 255L);
    col(column).texts[paramIndex(GunParam::Count)] = shown(text, v, count);
    if (const auto at = col(column).params.countAt) writeBody(column, *at, {static_cast<std::uint8_t>(count)});
    emit changed();
}

void GunModel::setMove(int column, Axis axis, const QString& text) {
    if (filling_ || !editable(column) || editor_.busy()) return;
    const GunParam p = axis == Axis::X ? GunParam::X : GunParam::Y;
    QString& t = col(column).texts[paramIndex(p)];
    if (text == QLatin1String("-")) {
        t = text;
        emit changed();
        return;
    }
    const std::optional<long> v = number(text);
    const int value = limitWithPartner(v.value_or(0), offsetOf(column, axis));
    t = shown(text, v, value);
    if (const auto at = col(column).params.moveAt)
        writeBody(column, *at + (axis == Axis::X ? 0 : 1), {static_cast<std::uint8_t>(value & 0xFF)});
    emit changed();
}

void GunModel::setOffset(int column, Axis axis, const QString& text) {
    if (filling_ || !editable(column) || editor_.busy()) return;
    const GunParam p = axis == Axis::X ? GunParam::XOffset : GunParam::YOffset;
    QString& t = col(column).texts[paramIndex(p)];
    if (text == QLatin1String("-")) {
        t = text;
        emit changed();
        return;
    }
    const std::optional<long> v = number(text);
    const macro::GunParams& g = col(column).params;
    const int partner = axis == Axis::X ? g.x : g.y;
    const int value = limitWithPartner(v.value_or(0), partner);
    t = shown(text, v, value);
    ownEdit_ = true;
    editor_.setByte(offsetByte(axis, slot(column)), static_cast<std::uint8_t>(value & 0xFF), Write::None);
    ownEdit_ = false;
    emit changed();
}

void GunModel::setTime(int column, const QString& text) {
    if (filling_ || !editable(column) || editor_.busy()) return;
    const std::optional<long> v = number(text);
    const long time = std::clamp(v.value_or(0), 0L, 65535L);
    col(column).texts[paramIndex(GunParam::Time)] = shown(text, v, time);
    if (const auto at = col(column).params.timeAt)
        writeBody(column, *at, {static_cast<std::uint8_t>(time >> 8), static_cast<std::uint8_t>(time & 0xFF)});
    emit changed();
}

bool GunModel::chooseColour(int column, Rgb c) {
    if (!editable(column) || editor_.busy()) return false;
    const int n = slot(column) + 1;
    const Rgb now = colour(column);
    const std::array<std::pair<std::uint8_t, std::uint8_t>, 3> parts{{{now.r, c.r}, {now.g, c.g}, {now.b, c.b}}};
    // Each of the LED colour's three edits takes its component; an unchanged one writes nothing.
    for (std::size_t i = 0; i < parts.size(); ++i)
        if (parts[i].first != parts[i].second) lighting_.colourComponentChange(n, static_cast<int>(i), parts[i].second);
    emit changed();
    return true;
}

void GunModel::toggleKeepLeft() {
    keepLeft_ = !keepLeft_;
    emit changed();
}

// ---------------------------------------------------------------- Confirm and Cancel

EditResult GunModel::confirm() {
    confirmOk_ = false;
    // While a transfer runs the page closes and nothing changes: the working copy is being
    // replaced or written, and an edit made now would be lost or sent half.
    if (editor_.busy()) {
        emit closed();
        return EditResult::whileBusy();
    }
    // The gun's code goes on the edited button only while Game Mode is shown and the page was
    // opened for one of its buttons: a selection left on another profile (the command line's
    // column edits select nothing) changes no button.
    const ButtonRef edited = buttons_.selection();
    if (buttons_.profileShown() == 2 && !edited.isSlot() && edited.profile == 2)
        buttons_.setButtonCode(2, edited.key, gunCode(gun_), Write::None);
    // The fire macros into the fire macro area.
    rebuildFireMacroBlock(editor_.workForEdit());
    editor_.touched(region::kFireMacroBlock.offset, region::kFireMacroBlock.length);
    remember();

    // The ten LED colours, the user section (it carries the X/Y offsets), then for an I2C
    // mouse the profiles, the fire-key block and the fire macro area; the profile re-selection.
    EditResult result;
    result.outcome = EditResult::Outcome::Applied;
    result.copyChanged = true;
    for (std::size_t n = 0; n < 10; ++n) {
        const std::size_t at = offset::kColours + 3 * n;
        const Image& b = editor_.work().bytes;
        const std::uint8_t rgb[3] = {b[at], b[at + 1], b[at + 2]};
        result += editor_.setBytes(at, rgb, Write::Live);
    }
    result += editor_.write(Write::UserSection);
    for (int p = 1; p <= 3; ++p) setSectionCheckByte(editor_.workForEdit().profile(p));
    constexpr Region kProfiles{region::kProfile1.offset, region::kProfile3.end() - region::kProfile1.offset};
    // The blocks go only to an I2C mouse; for any other the block write is no part of the change.
    for (Region r : {kProfiles, region::kIdentity, region::kFireMacroBlock})
        if (const EditResult block = editor_.writeBlock(r.offset, r.length); block.changed()) result += block;
    result += editor_.reselectProfile();
    confirmOk_ = result.applied();
    emit closed();
    return result;
}

void GunModel::cancel() {
    if (!editor_.busy()) {
        WorkingCopy& work = editor_.workForEdit();
        work.fireMacroNames = remembered_.names;
        work.fireMacroBodies = remembered_.bodies;
        ownEdit_ = true;
        editor_.touched(region::kFireMacroNames.offset, kFireMacroCount * (kFireMacroNameSize + kFireMacroBodySize));
        editor_.setBytes(offset::kXOffsets, remembered_.offsets, Write::None);
        ownEdit_ = false;
        fill();
    }
    emit closed();
}

// ---------------------------------------------------------------- engineer offsets

int GunModel::offsetAt(const Image& image, Axis axis, int k) {
    return signedByte(image[offsetByte(axis, std::clamp(k, 1, 10) - 1)]);
}

QString GunModel::setEngineerOffset(Axis axis, int k, const QString& text) {
    if (k < 1 || k > 10) return text;
    if (text == QLatin1String("-")) return text;
    if (editor_.busy()) return QString::number(offsetAt(editor_.work().bytes, axis, k));
    const std::optional<long> v = number(text);
    const int value = static_cast<int>(std::clamp(v.value_or(0), -128L, 127L));
    editor_.setByte(offsetByte(axis, k - 1), static_cast<std::uint8_t>(value & 0xFF), Write::Live);
    return shown(text, v, value);
}

// ---------------------------------------------------------------- other editors' changes

void GunModel::onBytesChanged(EditRegion region, std::size_t offset, std::size_t count) {
    if (ownEdit_ || filling_) return;
    const std::size_t end = offset + count;
    // The fire macro editor changed a fire macro, or the engineer tab or a read-back an
    // offset: the columns show the new values.
    // A whole new set of fire macros (an imported file, written to the mouse at once) is
    // what Cancel goes back to from now on.
    if (region == EditRegion::FireMacros && offset <= region::kFireMacroNames.offset &&
        end >= region::kFireMacroNames.offset + kFireMacroCount * (kFireMacroNameSize + kFireMacroBodySize))
        remember();
    const bool bodies = region == EditRegion::FireMacros;
    const bool offsets = region == EditRegion::User && offset < offset::kYOffsets + 10 && end > offset::kXOffsets;
    if (!bodies && !offsets) return;
    if (bodies) {
        fill();
        return;
    }
    for (int c = 1; c <= columns(); ++c) {
        for (Axis a : {Axis::X, Axis::Y}) {
            QString& t = col(c).texts[paramIndex(a == Axis::X ? GunParam::XOffset : GunParam::YOffset)];
            if (number(t).value_or(0) != offsetOf(c, a)) t = QString::number(offsetOf(c, a));
        }
    }
    emit changed();
}

}  // namespace nivra
