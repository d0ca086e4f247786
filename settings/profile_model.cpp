#include "settings/profile_model.h"

#include "image/code_texts.h"
#include "image/fields.h"

#include <algorithm>

namespace nivra {

namespace {
constexpr int kSlotTwoButton = 2;   // combo key slot of the two-button chords
constexpr int kSlotLongPress = 4;   // combo key slot of the long-press switches
constexpr ButtonCode kLedModeCode{{0x0E, 0x00, 0x00, 0x00}};
// The code of each kind with combination-enable byte 0.
constexpr std::array<ButtonCode, 6> kKindCodes{{
    {{0x01, 0x04, 0x00, 0x00}}, {{0x01, 0x08, 0x00, 0x00}}, {{0x01, 0x10, 0x00, 0x00}},
    {{0x09, 0x00, 0x00, 0x00}}, {{0x09, 0x01, 0x00, 0x00}}, {{0x09, 0x02, 0x00, 0x00}},
}};
constexpr std::array<std::string_view, 6> kKindNames{key_name::kMiddle, key_name::kBackward, key_name::kForward,
                                                     key_name::kDpiLoop, key_name::kDpiUp, key_name::kDpiDown};

// The combination-enable byte a method puts on its kind.
std::uint8_t methodByte(SwitchMethod m) {
    switch (m) {
        case SwitchMethod::None: return 0x00;
        case SwitchMethod::BackRight:
        case SwitchMethod::ForwardRight: return 0x02;
        default: return 0x08;
    }
}
bool usesSlotTwo(SwitchMethod m) { return m == SwitchMethod::BackRight || m == SwitchMethod::ForwardRight; }

// The six kinds the switch settings rewrite, in the order of their codes.
enum Kind { KMiddle = 0, KBackward, KForward, KDpiLoop, KDpiUp, KDpiDown, KCount };

int kindOf(const CodeName& name) {
    for (int k = 0; k < KCount; ++k)
        if (name.id == kKindNames[static_cast<std::size_t>(k)]) return k;
    return -1;
}

// Gun keys named by the gun table or the gun key list ("Str600".., "Fire Macro1"..); the
// fire-macro-off code shares the type but is no gun.
bool isGunButton(const ButtonCode& code, const CodeName& name) {
    return code.typeByte() == static_cast<std::uint8_t>(CodeType::GunKey) && !name.empty() && name.id != "Str266";
}

ButtonCode codeIn(const Image& work, int profile, int key) {
    return codeFromBytes(std::span(work).subspan(buttonCodeOffset(profile, key), 4));
}

constexpr std::array<std::string_view, 7> kMethodWords{"none", "middle", "cpi-loop", "cpi-up", "cpi-down", "back-right",
                                                       "forward-right"};
}  // namespace

std::string_view switchMethodWord(SwitchMethod m) { return kMethodWords[static_cast<std::size_t>(m)]; }

std::optional<SwitchMethod> switchMethodFromWord(std::string_view word) {
    for (std::size_t i = 0; i < kMethodWords.size(); ++i)
        if (kMethodWords[i] == word) return static_cast<SwitchMethod>(i);
    return std::nullopt;
}

SwitchSettings deriveSwitchSettings(const Image& work, const NameInputs& in) {
    const auto slotCode = [&](int n) { return codeFromBytes(std::span(work).subspan(comboKeyOffset(n), 4)); };
    const std::string slot2 = NameOfCode(slotCode(kSlotTwoButton), in).id;
    const std::string slot4 = NameOfCode(slotCode(kSlotLongPress), in).id;
    const bool slot2Switch = slot2 == key_name::kGame;
    const bool slot4Switch = slot4 == key_name::kGame;
    SwitchSettings s;
    bool backwardChord = false;
    auto find = [&](std::uint8_t b3, std::uint8_t want, std::uint8_t& list, bool slot, SwitchMethod m) {
        if (b3 != want) return;
        list = want;
        if (slot) s.method = m;
    };
    for (int p = 1; p <= 3; ++p) {
        for (int k = 1; k <= 12; ++k) {
            const ButtonCode c = codeIn(work, p, k);
            const CodeName name = NameOfCode(c, in);
            const std::uint8_t b3 = c[3];
            switch (kindOf(name)) {
                case KMiddle: find(b3, 0x08, s.combo.middle, slot4Switch, SwitchMethod::Middle); break;
                case KBackward:
                    if (b3 == 0x02) backwardChord = true;
                    find(b3, 0x02, s.combo.backward, slot2Switch, SwitchMethod::BackRight);
                    break;
                case KForward: find(b3, 0x02, s.combo.forward, slot2Switch, SwitchMethod::ForwardRight); break;
                case KDpiLoop: find(b3, 0x08, s.combo.cpiLoop, slot4Switch, SwitchMethod::CpiLoop); break;
                case KDpiUp: find(b3, 0x08, s.combo.cpiUp, slot4Switch, SwitchMethod::CpiUp); break;
                case KDpiDown: find(b3, 0x08, s.combo.cpiDown, slot4Switch, SwitchMethod::CpiDown); break;
                default:
                    if (!isGunButton(c, name)) break;
                    if (b3 != 0x00 && (slot2Switch || slot4Switch)) s.gunSwitch = true;
                    if (b3 == 0x00 || (p == 1 && !slot2Switch && !slot4Switch)) s.gunSwitch = false;
                    s.gunCombo = b3;
                    break;
            }
        }
    }
    s.ledChord = backwardChord && slot2 == key_name::kLedMode;
    return s;
}

ProfileModel::ProfileModel(ImageEditor& editor, ButtonModel& buttons, QObject* parent)
    : QObject(parent), editor_(editor), buttons_(buttons) {
    connect(&editor_, &ImageEditor::imageReplaced, this, [this] { deriveFromImage(); });
    deriveFromImage();
}

void ProfileModel::setLayout(const ProfileLayout& layout) {
    layout_ = layout;
    emit changed();
}

// ------------------------------------------------------------------ kinds

bool ProfileModel::hasKind(int profile, int kind) const {
    const NameInputs in = buttons_.nameInputs();
    for (int k = 1; k <= 12; ++k)
        if (kindOf(NameOfCode(buttons_.code(profile, k), in)) == kind) return true;
    return false;
}

bool ProfileModel::hasGunButton(int profile) const {
    const NameInputs in = buttons_.nameInputs();
    for (int k = 1; k <= 12; ++k) {
        const ButtonCode c = buttons_.code(profile, k);
        if (isGunButton(c, NameOfCode(c, in))) return true;
    }
    return false;
}

void ProfileModel::rewriteKinds(const std::array<std::uint8_t, 6>& bytes, std::optional<std::uint8_t> gunByte,
                                int firstProfile, int lastProfile, bool kindsToo) {
    const NameInputs in = buttons_.nameInputs();
    for (int p = firstProfile; p <= lastProfile; ++p) {
        for (int k = 1; k <= 12; ++k) {
            ButtonCode c = buttons_.code(p, k);
            const CodeName name = NameOfCode(c, in);
            const int kind = kindOf(name);
            if (kindsToo && kind >= 0) {
                c = kKindCodes[static_cast<std::size_t>(kind)];
                c.bytes[3] = bytes[static_cast<std::size_t>(kind)];
            } else if (gunByte && isGunButton(c, name)) {
                c.bytes[3] = *gunByte;
            } else {
                continue;
            }
            buttons_.setButtonCode(p, k, c, Write::None);
        }
    }
}

void ProfileModel::rewriteBackward(std::uint8_t byte3) {
    const NameInputs in = buttons_.nameInputs();
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= 12; ++k)
            if (NameOfCode(buttons_.code(p, k), in).id == key_name::kBackward)
                buttons_.setButtonCode(p, k, ButtonCode{{0x01, 0x08, 0x00, byte3}}, Write::None);
}

ButtonCode ProfileModel::switchCode() const {
    return ButtonCode{{0x07, 0xD1, 0xF0, static_cast<std::uint8_t>(offset() & 0xFF)}};
}

// ------------------------------------------------------------------ page

std::uint8_t ProfileModel::colourCode() const { return profileColourCode(profileColourItem_); }

bool ProfileModel::showProfile(int profile) {
    if (profile < 1 || profile > 3 || editor_.busy()) return false;
    const bool gd = profile == 2 && layout_.gdEnable;
    const std::uint8_t eft = static_cast<std::uint8_t>(btnEftItem_ + (gd ? 4 : 0));
    const std::uint8_t mode = profile == 2 ? (gd ? 0xF1 : static_cast<std::uint8_t>(colourCode() + 1))
                                           : static_cast<std::uint8_t>(colourCode() + profile - 1);
    const bool game = profile == 2;
    editor_.setByte(offset::kButtonFlash, eft, Write::Live);
    editor_.setByte(offset::kGameModeA, game ? 15 : 0, Write::Live);
    editor_.setByte(offset::kGameModeB, 0, Write::Live);
    editor_.setByte(offset::kGameOffset, game ? 32 : 0, Write::Live);
    editor_.setByte(offset::kModeByte, mode, Write::Live);
    profileItem_ = profile - 1;
    buttons_.setProfileShown(profile);
    constexpr std::uint8_t kPageModeByte[3] = {0x00, 0xF1, 0x02};
    editor_.setByte(offset::kModeByte, kPageModeByte[profile - 1], Write::None);
    emit changed();
    return true;
}

void ProfileModel::RefreshCurrentProfileStatus(std::uint8_t modeByte) {
    const int nibble = modeByte & 0x0F;
    if (nibble > 2) return;
    // The working copy keeps what the mouse reported; nothing is written.
    editor_.setByte(offset::kModeByte, modeByte, Write::None);
    profileItem_ = nibble;
    buttons_.setProfileShown(nibble + 1);
    emit changed();
}

// ------------------------------------------------------------------ engineer profile settings

bool ProfileModel::cb_ProfileChange(int profileItem, int colourItem) {
    if (profileItem < 0 || profileItem > 2 || colourItem < 0 || colourItem > kFixedColorChoice || editor_.busy())
        return false;
    profileItem_ = profileItem;
    profileColourItem_ = colourItem;
    const bool game = profileItem == 1;
    const bool gd = game && layout_.gdEnable;
    editor_.setByte(offset::kButtonFlash, static_cast<std::uint8_t>(btnEftItem_ + (gd ? 4 : 0)), Write::Live);
    editor_.setByte(offset::kGameModeA, game ? 15 : 0, Write::Live);
    editor_.setByte(offset::kGameModeB, 0, Write::Live);
    editor_.setByte(offset::kGameOffset, game ? static_cast<std::uint8_t>(offset() & 0xFF) : 0, Write::Live);
    const std::uint8_t colour = colourItem == 0 ? 0 : colourCode();
    editor_.setByte(offset::kModeByte, static_cast<std::uint8_t>(profileItem + colour), Write::Live);
    emit changed();
    return true;
}

int ProfileModel::profileColour(int profile) const {
    if (profile < 1 || profile > 3) return 0;
    return buttons_.encoding().extended.colourChoice[static_cast<std::size_t>(profile - 1)];
}

bool ProfileModel::rewriteProfileKeys(int onlyProfile) {
    if (editor_.busy()) return false;
    const NameInputs in = buttons_.nameInputs();
    ExtendedProfileInputs ext = buttons_.encoding().extended;
    ext.syncLed = false;  // the colour controls give the colour here
    constexpr std::array<std::string_view, 3> kKeys{key_name::kOffice, key_name::kGame, key_name::kThird};
    for (int p = 1; p <= 3; ++p) {
        for (int k = 1; k <= 12; ++k) {
            const CodeName name = NameOfCode(buttons_.code(p, k), in);
            for (int sel = 0; sel < 3; ++sel) {
                if (name.id != kKeys[static_cast<std::size_t>(sel)]) continue;
                if (onlyProfile != 0 && onlyProfile != sel + 1) continue;
                buttons_.setButtonCode(p, k, extendedProfileCode(sel, ext), Write::None);
            }
        }
    }
    editor_.CommitProfileSections();
    emit changed();
    return true;
}

bool ProfileModel::setProfileColour(int profile, int choice) {
    if (profile < 1 || profile > 3 || choice < 0 || choice > kFixedColorChoice || editor_.busy()) return false;
    buttons_.encoding().extended.colourChoice[static_cast<std::size_t>(profile - 1)] = choice;
    return rewriteProfileKeys(profile);
}

bool ProfileModel::setProfileKeyFlags(bool returnToZero, bool adjustXY, bool changeColor) {
    if (editor_.busy()) return false;
    ExtendedProfileInputs& ext = buttons_.encoding().extended;
    ext.returnToZero = returnToZero;
    ext.adjustXY = adjustXY;
    ext.changeColor = changeColor;
    return rewriteProfileKeys(0);
}

bool ProfileModel::setOffset(unsigned value) {
    if (editor_.busy()) return false;
    buttons_.encoding().extended.offset = std::min(value, 0xFFFu);
    return rewriteProfileKeys(0);
}

// ------------------------------------------------------------------ switches

void ProfileModel::applyMethod(SwitchMethod m) {
    // Slot 2 is shared with the LED-mode chord: a two-button method turns the chord off.
    if (usesSlotTwo(m)) ledChord_ = false;
    const ButtonCode none{};
    // While the chord stays on it keeps slot 2 and the Backward buttons' 0x02.
    buttons_.setSlotCode(kSlotTwoButton, usesSlotTwo(m) ? switchCode() : (ledChord_ ? kLedModeCode : none), Write::None);
    const bool longPress = m != SwitchMethod::None && !usesSlotTwo(m);
    buttons_.setSlotCode(kSlotLongPress, longPress ? switchCode() : none, Write::None);
    std::array<std::uint8_t, KCount> bytes{};
    switch (m) {
        case SwitchMethod::Middle: bytes[KMiddle] = 0x08; break;
        case SwitchMethod::CpiLoop: bytes[KDpiLoop] = 0x08; break;
        case SwitchMethod::CpiUp: bytes[KDpiUp] = 0x08; break;
        case SwitchMethod::CpiDown: bytes[KDpiDown] = 0x08; break;
        case SwitchMethod::BackRight: bytes[KBackward] = 0x02; break;
        case SwitchMethod::ForwardRight: bytes[KForward] = 0x02; break;
        case SwitchMethod::None: break;
    }
    if (ledChord_) bytes[KBackward] = 0x02;
    rewriteKinds(bytes, gunSwitch_ ? methodByte(m) : std::uint8_t{0});
    method_ = m;
}

bool ProfileModel::finishSwitch() {
    editor_.write(Write::VendorSection);
    editor_.CommitProfileSections();
    emit changed();
    return true;
}

bool ProfileModel::setSwitchMethod(SwitchMethod m) {
    if (static_cast<int>(m) < 0 || static_cast<int>(m) > 6 || editor_.busy()) return false;
    applyMethod(m);
    return finishSwitch();
}

bool ProfileModel::setGunSwitch(bool on, bool fireKeyGuard) {
    if (fireKeyGuard || editor_.busy()) return false;
    gunSwitch_ = on;
    rewriteKinds({}, on ? methodByte(method_) : std::uint8_t{0}, 1, 3, false);
    return finishSwitch();
}

bool ProfileModel::setLedChord(bool on) {
    if (editor_.busy()) return false;
    // The state in force: nothing to change. Clearing slot 2 and the Backward bytes for an
    // "off" that is already off would destroy a two-button switch that uses them.
    if (on == ledChord_) return true;
    if (on && usesSlotTwo(method_)) {
        // The chord takes slot 2: the two-button method gives way to "No", its buttons too.
        ledChord_ = false;
        applyMethod(SwitchMethod::None);
    }
    ledChord_ = on;
    buttons_.setSlotCode(kSlotTwoButton, on ? kLedModeCode : ButtonCode{}, Write::None);
    rewriteBackward(on ? 0x02 : 0x00);
    return finishSwitch();
}

// ------------------------------------------------------------------ toggles

bool ProfileModel::toggleShown(int t) const {
    if (t < 1 || t > 8 || !layout_.comboKeyEnable[static_cast<std::size_t>(t - 1)]) return false;
    return t != 8 || offersGunEntries();
}

bool ProfileModel::toggleLit(int t) const {
    if (t == 1) return ledChord_;
    if (t >= 2 && t <= 7) return static_cast<int>(method_) == t - 1;
    if (t == 8) return gunSwitch_;
    return false;
}

bool ProfileModel::IB_ComboKeyClick(int t) {
    if (t < 1 || t > 8 || editor_.busy()) return false;
    constexpr int kToggleKind[8] = {KBackward, KMiddle, KDpiLoop, KDpiUp, KDpiDown, KBackward, KForward, -1};
    const int shown = profileShown();
    if (t == 8) {
        if (shown != 2 || !hasGunButton(2)) return false;
        gunSwitch_ = !gunSwitch_;
        rewriteKinds({}, gunSwitch_ ? methodByte(method_) : std::uint8_t{0}, 2, 2, false);
        return finishSwitch();
    }
    if (!hasKind(shown, kToggleKind[t - 1])) return false;
    if (t == 1) return setLedChord(!ledChord_);
    const auto m = static_cast<SwitchMethod>(t - 1);
    return setSwitchMethod(method_ == m ? SwitchMethod::None : m);
}

// ------------------------------------------------------------------ combination-enable lists

int ProfileModel::comboEnableItem(ComboList list) const {
    const ButtonEncodingSettings& e = buttons_.encoding();
    const std::uint8_t bytes[7] = {e.combo.middle, e.combo.backward, e.combo.forward, e.combo.cpiLoop,
                                   e.combo.cpiUp,  e.combo.cpiDown,  e.gunCombo};
    return comboEnableItemOfByte(bytes[static_cast<int>(list)]);
}

bool ProfileModel::TLRefreshComboEn(ComboList list, int item) {
    if (item < 0 || item > 8 || editor_.busy()) return false;
    ButtonEncodingSettings& e = buttons_.encoding();
    std::uint8_t* bytes[7] = {&e.combo.middle, &e.combo.backward, &e.combo.forward, &e.combo.cpiLoop,
                              &e.combo.cpiUp,  &e.combo.cpiDown,  &e.gunCombo};
    *bytes[static_cast<int>(list)] = comboEnableByteOfItem(item);
    rewriteKinds({e.combo.middle, e.combo.backward, e.combo.forward, e.combo.cpiLoop, e.combo.cpiUp, e.combo.cpiDown},
                 e.gunCombo);
    editor_.CommitProfileSections();
    emit changed();
    return true;
}

// ------------------------------------------------------------------ user section bits

bool ProfileModel::keepProfileInfo() const { return getField(editor_.work().bytes, field::kKeepProfileInfo) != 0; }
bool ProfileModel::profileLedFlash() const { return getField(editor_.work().bytes, field::kProfileLEDFlash) != 0; }

EditResult ProfileModel::cb_KeepProfileInfoChange(bool on) {
    const EditResult r = editor_.setField(field::kKeepProfileInfo, on ? 1 : 0, Write::Live);
    emit changed();
    return r;
}

EditResult ProfileModel::cb_ProfileLEDFlashChange(bool on) {
    const EditResult r = editor_.setField(field::kProfileLEDFlash, on ? 1 : 0, Write::Live);
    emit changed();
    return r;
}

bool ProfileModel::cb_BtnEFTChange(int item) {
    if (item < 0 || item > 1 || editor_.busy()) return false;
    btnEftItem_ = item;
    editor_.setByte(offset::kButtonFlash, static_cast<std::uint8_t>(item), Write::Live);
    emit changed();
    return true;
}

// ------------------------------------------------------------------ derived from the image

void ProfileModel::deriveFromImage() {
    const Image& img = editor_.work().bytes;
    const NameInputs in = buttons_.nameInputs();
    const SwitchSettings derived = deriveSwitchSettings(img, in);
    method_ = derived.method;
    gunSwitch_ = derived.gunSwitch;
    ledChord_ = derived.ledChord;
    gunCombo_ = derived.gunCombo;
    ButtonEncodingSettings& e = buttons_.encoding();
    e.combo = derived.combo;
    e.gunCombo = 0;

    // Engineer controls of the user section and the profile keys' colours.
    const std::uint8_t eft = img[offset::kButtonFlash];
    btnEftItem_ = eft < 2 ? eft : eft - 4;
    if (btnEftItem_ < 0 || btnEftItem_ > 1) btnEftItem_ = 0;
    const std::uint8_t mode = img[offset::kModeByte];
    if ((mode & 0x0F) <= 2) profileItem_ = mode & 0x0F;
    profileColourItem_ = profileColourChoice(mode & 0xF0).value_or(0);
    for (int p = 1; p <= 3; ++p)
        for (int k = 1; k <= 12; ++k) {
            const CodeName name = NameOfCode(buttons_.code(p, k), in);
            const ButtonCode c = buttons_.code(p, k);
            if (name.profileColourChoice && c[1] != 0x00) e.extended.colourChoice[c[1] & 0x03] = *name.profileColourChoice;
        }
    // The page of the profile in effect.
    if ((mode & 0x0F) <= 2) buttons_.setProfileShown((mode & 0x0F) + 1);
    emit changed();
}

}  // namespace nivra
