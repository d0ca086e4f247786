#include "settings/lighting.h"

#include <algorithm>

namespace nivra {

namespace lighting {
namespace {
constexpr int kRgbCodes[] = {0, 1, 2, 3, 4, 5};
constexpr int kSyncCodes[] = {0, 1, 2};
constexpr int kZkCodes[] = {0, 1, 2, 4, 5};
constexpr int kCpiBreath = 5;
}  // namespace

std::span<const int> effectCodes(LedType type) {
    switch (type) {
        case LedType::Rgb: return kRgbCodes;
        case LedType::Sync: return kSyncCodes;
        case LedType::Nt: return kZkCodes;
        case LedType::None: break;
    }
    return {};
}

int itemOfCode(LedType type, int code) {
    const auto codes = effectCodes(type);
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

bool hasEffect(LedType type, int code) { return itemOfCode(type, code) >= 0; }

int codeOfItem(LedType type, int item) {
    const auto codes = effectCodes(type);
    return item >= 0 && item < static_cast<int>(codes.size()) ? codes[static_cast<std::size_t>(item)] : -1;
}

int effectCaptionRow(LedType type, int code) {
    if (!hasEffect(type, code)) return -1;
    if (code == 0) return 21;  // "Off" for every type
    switch (type) {
        case LedType::Rgb: return 21 + code;      // Random, Sequence, Fixed, Blend, CPI Breath
        case LedType::Sync: return 26 + code;     // Sync Breath, Sync No-breath
        case LedType::Nt: return code <= 2 ? 28 + code : 27 + code;  // Random, Blend, Fixed, CPI Breath
        case LedType::None: break;
    }
    return -1;
}

std::uint8_t typeEnableMask(LedType type) {
    std::uint8_t mask = 0;
    for (int code : effectCodes(type)) mask = static_cast<std::uint8_t>(mask | (1u << code));
    return mask;
}

int startCode(LedType type) {
    switch (type) {
        case LedType::Rgb: return kCpiBreath;
        case LedType::Sync: return 2;
        case LedType::Nt: return 4;
        case LedType::None: break;
    }
    return 0;
}

std::uint8_t lightingByte(LedType type, int zkLedCount, int code) {
    const int c = code & 0x0F;
    switch (type) {
        case LedType::Sync: return static_cast<std::uint8_t>(0x40 + c);
        case LedType::Nt: {
            const int count = std::clamp(zkLedCount, 1, kMaxZkLeds);
            return static_cast<std::uint8_t>(0x80 + 16 * (count - 1) + c);
        }
        case LedType::Rgb:
        case LedType::None: break;
    }
    return static_cast<std::uint8_t>(c);
}

int zkLedCountOf(std::uint8_t byte165) {
    return ledTypeFromByte(byte165) == LedType::Nt ? ((byte165 >> 4) & 0x07) + 1 : 0;
}

int speedBarPosition(int stepDelay) {
    if (stepDelay <= 5) return 1;
    return std::min(kSpeedBarSegments, (stepDelay - 1) / 5 + 1);
}

std::string_view typeWord(LedType type) {
    switch (type) {
        case LedType::Rgb: return "RGB";
        case LedType::Sync: return "Sync";
        case LedType::Nt: return "ZK";
        case LedType::None: break;
    }
    return "";
}

}  // namespace lighting

BreathingField breathingField(Breathing which) {
    switch (which) {
        case Breathing::Lower: return {offset::kBreathLower, 65535};
        case Breathing::Upper: return {offset::kBreathUpper, 65535};
        case Breathing::LowerDelay: return {offset::kBreathLowerTime, 4094};
        case Breathing::UpperDelay: return {offset::kBreathUpperTime, 65535};
    }
    return {offset::kBreathLower, 65535};
}

BitField ledOptionField(LedOption option) {
    switch (option) {
        case LedOption::Package: return field::kPackage;
        case LedOption::LEDCtrl0: return field::kLEDCtrl0;
        case LedOption::LEDCtrl1: return field::kLEDCtrl1;
        case LedOption::LEDModeFuse: return field::kLEDModeFuse;
        case LedOption::LEDPower: return field::kLEDPower;
    }
    return field::kPackage;
}

LightingView decodeLighting(const Image& img, LedType current) {
    using namespace lighting;
    LightingView v;
    const std::uint8_t b165 = img[offset::kLedByte];
    v.type = current == LedType::None ? ledTypeFromByte(b165) : current;
    v.zkLedCount = v.type == LedType::Nt ? ((b165 >> 4) & 0x07) + 1 : 0;
    v.modeCode = b165 & 0x0F;
    v.enableMask = img[offset::kModeEnableMask];
    for (int code = 0; code < kEffectButtons; ++code) {
        const auto i = static_cast<std::size_t>(code);
        v.boxShown[i] = hasEffect(v.type, code);
        // A mask bit without an effect of the type has no button to show.
        v.effectShown[i] = v.boxShown[i] && (v.enableMask & (1u << code));
    }
    v.selectedItem = itemOfCode(v.type, v.modeCode);
    v.currentButton = v.modeCode < kEffectButtons ? v.modeCode + 1 : 0;
    v.speedBarEnabled = v.modeCode != kCpiBreath;
    v.stepDelay = img[offset::kBreathStepTime];
    v.speedBar = speedBarPosition(v.stepDelay);
    v.coloursShown = v.type != LedType::Sync;
    for (int n = 1; n <= kUserColours; ++n) v.colours[static_cast<std::size_t>(n - 1)] = colour(img, n);
    for (int n = 1; n <= kCpiColours; ++n) v.cpiColours[static_cast<std::size_t>(n - 1)] = cpiColour(img, n);
    const Breathing fields[] = {Breathing::Lower, Breathing::Upper, Breathing::LowerDelay, Breathing::UpperDelay};
    for (std::size_t i = 0; i < 4; ++i) v.breathing[i] = be16(img, breathingField(fields[i]).offset);
    const LedOption options[] = {LedOption::Package, LedOption::LEDCtrl0, LedOption::LEDCtrl1, LedOption::LEDModeFuse,
                                 LedOption::LEDPower};
    for (std::size_t i = 0; i < 5; ++i) v.options[i] = getField(img, ledOptionField(options[i]));
    v.ledInit = {img[offset::kLedInit0], img[offset::kLedInit1]};
    return v;
}

// ---------------------------------------------------------------------------- model

namespace {
// The bytes the lighting views show: byte 5, byte 7, 40..110 and 165.
bool touchesLighting(std::size_t offset, std::size_t count) {
    const auto overlaps = [&](std::size_t first, std::size_t last) { return offset <= last && offset + count > first; };
    return overlaps(5, 5) || overlaps(7, 7) || overlaps(offset::kLedInit0, offset::kCpiColours + 3 * kCpiColours - 1) ||
           overlaps(offset::kLedByte, offset::kLedByte);
}
}  // namespace

LightingModel::LightingModel(ImageEditor& editor, QObject* parent) : QObject(parent), editor_(editor) {
    connect(&editor_, &ImageEditor::bytesChanged, this, [this](EditRegion, std::size_t offset, std::size_t count) {
        if (touchesLighting(offset, count)) emit changed();
    });
    connect(&editor_, &ImageEditor::imageReplaced, this, [this] {
        rememberZkCount();
        emit changed();
    });
    rememberZkCount();
}

// The ZK LED count last seen in the image: the count a switch back to ZK offers.
void LightingModel::rememberZkCount() {
    const int count = lighting::zkLedCountOf(editor_.work().bytes[offset::kLedByte]);
    if (count > 0) lastZkCount_ = count;
}

LightingView LightingModel::view() const { return decodeLighting(editor_.work().bytes, editor_.state().led); }

LedType LightingModel::type() const { return view().type; }

EditResult LightingModel::writeMode(int code) {
    const LedType t = type();
    const int count = t == LedType::Nt ? view().zkLedCount : lastZkCount_;
    return editor_.setByte(offset::kLedByte, lighting::lightingByte(t, count, code));
}

EditResult LightingModel::cb_LEDModeChange(LedType newType) {
    if (editor_.busy()) return EditResult::whileBusy();
    if (newType == LedType::None || newType == type() || !editor_.mouseOpen()) return EditResult::refused();
    // The ZK count the starting effect keeps: the one in use, or the one last shown.
    const int zkCount = type() == LedType::Nt ? view().zkLedCount : lastZkCount_;
    editor_.setLedType(newType);
    editor_.setPackageChoice(packageChoiceForLedType(newType));
    emit changed();
    // Every effect of the type ticked: the mask, then the starting effect.
    editor_.setByte(offset::kModeEnableMask, lighting::typeEnableMask(newType));
    editor_.setByte(offset::kLedByte, lighting::lightingByte(newType, zkCount, lighting::startCode(newType)));
    return editor_.rebuildDefaults();
}

EditResult LightingModel::cb_LEDNumChange(int item) {
    if (type() != LedType::Nt || item < 0 || item >= kMaxZkLeds) return EditResult::refused();
    const int code = view().modeCode;
    const EditResult r = editor_.setByte(offset::kLedByte, lighting::lightingByte(LedType::Nt, item + 1, code));
    if (r.changed()) lastZkCount_ = item + 1;
    return r;
}

EditResult LightingModel::cb_BreModeChange(int item) {
    const LightingView v = view();
    const int code = lighting::codeOfItem(v.type, item);
    if (code < 0 || !v.effectShown[static_cast<std::size_t>(code)]) return EditResult::refused();  // "------"
    return writeMode(code);
}

EditResult LightingModel::TLRefreshBreathMode(int box, bool ticked) {
    const LightingView v = view();
    if (box < 0 || box >= kEffectButtons || !v.boxShown[static_cast<std::size_t>(box)]) return EditResult::refused();
    std::uint8_t mask = v.enableMask;
    mask = ticked ? static_cast<std::uint8_t>(mask | (1u << box)) : static_cast<std::uint8_t>(mask & ~(1u << box));
    // Only the type's own boxes count; the bits of the others are cleared.
    mask &= lighting::typeEnableMask(v.type);
    EditResult r = editor_.setByte(offset::kModeEnableMask, mask);
    if (!r.changed()) return r;
    // The effect in use lost its place in the list: the lowest enabled one takes over.
    if (v.selectedItem < 0 || (mask & (1u << v.modeCode))) return r;
    for (int code : lighting::effectCodes(v.type))
        if (mask & (1u << code)) return r += writeMode(code);
    return r;  // every effect disabled: the effect stays as it is
}

EditResult LightingModel::RGBMode_OnClick(int button) {
    const LightingView v = view();
    if (button < 1 || button > kEffectButtons || !v.effectShown[static_cast<std::size_t>(button - 1)])
        return EditResult::refused();
    const std::uint8_t b165 = editor_.work().bytes[offset::kLedByte];
    return editor_.setByte(offset::kLedByte, static_cast<std::uint8_t>((b165 & 0xF0) | (button - 1)));
}

EditResult LightingModel::FallTime_OnClick(int segment) {
    if (segment < 1 || segment > kSpeedBarSegments || !view().speedBarEnabled) return EditResult::refused();
    return editor_.setByte(offset::kBreathStepTime, static_cast<std::uint8_t>(lighting::stepDelayOfSegment(segment)));
}

EditResult LightingModel::clampAndWrite(std::size_t offset, int value, int max, int& shown) {
    shown = std::clamp(value, 0, max);
    return editor_.setByte(offset, static_cast<std::uint8_t>(shown));
}

int LightingModel::edt_StepTimeChange(int value) {
    int shown = 0;
    clampAndWrite(offset::kBreathStepTime, value, 255, shown);
    return shown;
}

int LightingModel::breathingChange(Breathing which, int value) {
    const BreathingField f = breathingField(which);
    const int shown = std::clamp(value, 0, f.max);
    editor_.setBe16(f.offset, static_cast<std::uint16_t>(shown));
    return shown;
}

int LightingModel::colourComponentChange(int n, int component, int value) {
    if (n < 1 || n > kUserColours || component < 0 || component > 2) return 0;
    int shown = 0;
    clampAndWrite(offset::kColours + 3 * static_cast<std::size_t>(n - 1) + static_cast<std::size_t>(component), value,
                  255, shown);
    return shown;
}

int LightingModel::cpiColourComponentChange(int level, int component, int value) {
    if (level < 1 || level > kCpiColours || component < 0 || component > 2) return 0;
    int shown = 0;
    clampAndWrite(offset::kCpiColours + 3 * static_cast<std::size_t>(level - 1) + static_cast<std::size_t>(component),
                  value, 255, shown);
    return shown;
}

EditResult LightingModel::lbl_ColClick(int n, Rgb c) {
    if (editor_.busy()) return EditResult::whileBusy();
    if (n < 1 || n > kUserColours || !view().coloursShown) return EditResult::refused();
    const std::size_t at = offset::kColours + 3 * static_cast<std::size_t>(n - 1);
    const std::uint8_t rgb[3] = {c.r, c.g, c.b};
    EditResult r;
    r.outcome = EditResult::Outcome::Applied;
    // The three edits take the colour first; an edit whose text does not change writes nothing.
    for (std::size_t i = 0; i < 3; ++i)
        if (editor_.work().bytes[at + i] != rgb[i]) r += editor_.setByte(at + i, rgb[i]);
    return r += editor_.setBytes(at, rgb);
}

EditResult LightingModel::ledOptionChange(LedOption option, int item) {
    const BitField f = ledOptionField(option);
    if (item < 0 || item >= (1 << f.width)) return EditResult::refused();
    const EditResult r = editor_.setField(f, static_cast<std::uint8_t>(item));
    if (!r.changed()) return r;
    // The package shown is what the default generators use for bytes 40-41.
    if (option == LedOption::Package) {
        editor_.setPackageChoice(packageChoiceFromItem(item));
        emit changed();
    }
    return r;
}

int LightingModel::edt_LEDInitChange(int n, int value) {
    if (n < 0 || n > 1) return 0;
    int shown = 0;
    clampAndWrite(n == 0 ? offset::kLedInit0 : offset::kLedInit1, value, 255, shown);
    return shown;
}

}  // namespace nivra
