#include "settings/button_model.h"

#include "image/code_texts.h"
#include "settings/macro_key_binding.h"

namespace nivra {

std::string_view messageIdOf(AssignResult r) { return r == AssignResult::RefusedKeepLeft ? "Str108" : ""; }

namespace {
constexpr ButtonCode kLeftKey{{0x01, 0x01, 0x00, 0x00}};
}  // namespace

ButtonModel::ButtonModel(ImageEditor& editor, QObject* parent) : QObject(parent), editor_(editor) {
    connect(&editor_, &ImageEditor::bytesChanged, this, [this](EditRegion region, std::size_t offset, std::size_t count) {
        const bool comboSlots = offset < kComboKeyOffset + 4 * kComboKeyCount && offset + count > kComboKeyOffset;
        // Names of macro keys and fire keys follow the macro area and the fire-key block.
        if (region == EditRegion::Profiles || region == EditRegion::DeviceMacros || region == EditRegion::Identity ||
            comboSlots)
            emit keysChanged();
    });
    connect(&editor_, &ImageEditor::imageReplaced, this, [this] { emit keysChanged(); });
}

void ButtonModel::setLanguage(LanguageLookup language) {
    language_ = std::move(language);
    emit keysChanged();
}

void ButtonModel::setGunKeyList(std::optional<std::array<ButtonCode, 10>> list) {
    gunKeyList_ = list;
    emit keysChanged();
}

NameInputs ButtonModel::nameInputs() const {
    NameInputs in = nameInputsFromImage(editor_.work().bytes, namingMemory(editor_.state()));
    in.language = language_;
    in.gunKeyList = gunKeyList_;
    return in;
}

std::vector<DeviceMacroEntry> ButtonModel::deviceMacros() const {
    std::vector<DeviceMacroEntry> out;
    for (const DeviceMacroEntry& m : nameInputs().deviceMacros)
        if (m.present) out.push_back(m);
    return out;
}

ButtonCode ButtonModel::code(int profile, int key) const {
    if (profile < 1 || profile > 3 || key < 1 || key > 12) return {};
    return codeFromBytes(std::span(editor_.work().bytes).subspan(buttonCodeOffset(profile, key), 4));
}

ButtonCode ButtonModel::slotCode(int slot) const {
    if (slot < 1 || slot > static_cast<int>(kComboKeyCount)) return {};
    return codeFromBytes(std::span(editor_.work().bytes).subspan(comboKeyOffset(slot), 4));
}

ButtonCode ButtonModel::codeAt(ButtonRef ref) const { return ref.isSlot() ? slotCode(ref.key) : code(ref.profile, ref.key); }

CodeName ButtonModel::name(int profile, int key) const { return NameOfCode(code(profile, key), nameInputs()); }
CodeName ButtonModel::slotName(int slot) const { return NameOfCode(slotCode(slot), nameInputs()); }
CodeName ButtonModel::nameAt(ButtonRef ref) const { return NameOfCode(codeAt(ref), nameInputs()); }

std::array<std::string, 12> ButtonModel::keyNames(int profile) const {
    std::array<std::string, 12> out;
    const NameInputs in = nameInputs();
    for (int k = 1; k <= 12; ++k) out[static_cast<std::size_t>(k - 1)] = NameOfCode(code(profile, k), in).text;
    return out;
}

int ButtonModel::countNamed(int profile, std::string_view nameId) const {
    const NameInputs in = nameInputs();
    int n = 0;
    for (int k = 1; k <= 12; ++k)
        if (NameOfCode(code(profile, k), in).id == nameId) ++n;
    return n;
}

bool ButtonModel::isOnlyLeftKey(int profile, int key) const {
    return code(profile, key) == kLeftKey && countNamed(profile, key_name::kLeft) == 1;
}

void ButtonModel::setProfileShown(int profile) {
    if (profile < 1 || profile > 3) return;
    profileShown_ = profile;
    emit selectionChanged();
    emit keysChanged();
}

void ButtonModel::selectLabel(int key) {
    if (key < 1 || key > 12) return;
    view_ = ButtonView::User;
    selection_ = {profileShown_, key};
    emit selectionChanged();
}

void ButtonModel::selectEngineer(ButtonRef ref) {
    const bool ok = ref.isSlot() ? (ref.key >= 1 && ref.key <= static_cast<int>(kComboKeyCount))
                                 : (ref.profile >= 1 && ref.profile <= 3 && ref.key >= 1 && ref.key <= 12);
    if (!ok) return;
    view_ = ButtonView::Engineer;
    selection_ = ref;
    emit selectionChanged();
}

int ButtonModel::aimLevel(int profile) const {
    const int p = profile >= 1 && profile <= 3 ? profile : profileShown_;
    const NameInputs in = nameInputs();
    int level = 0;
    for (int k = 1; k <= 12; ++k) {
        const ButtonCode c = code(p, k);
        if (NameOfCode(c, in).id == key_name::kAim) level = c[1];
    }
    return level <= 11 ? level : 0;
}

MenuCodeInputs ButtonModel::menuInputs(bool editingSlot, int profile) const {
    MenuCodeInputs in;
    in.combo = encoding_.combo;
    in.aimLevel = aimLevel(editingSlot ? 0 : profile);
    const NameInputs names = nameInputsFromImage(editor_.work().bytes, namingMemory(editor_.state()));
    in.fireKeys = names.fireKeys;
    in.memory = namingMemory(editor_.state());
    in.editingComboSlot = editingSlot;
    in.extended = encoding_.extended;
    in.extended.syncLed = editor_.state().led == LedType::Sync;
    return in;
}

std::string ButtonModel::codeForMenu(int menuId, bool editingSlot, int profile) const {
    return CodeForMenuFunction(menuId, menuInputs(editingSlot, profile));
}

bool ButtonModel::keepsLeftKey(ButtonRef ref, const ButtonCode& code) const {
    if (ref.isSlot() || ref.profile != 1) return true;  // only profile 1 must keep a Left Key
    for (int k = 1; k <= 12; ++k) {
        const ButtonCode c = k == ref.key ? code : this->code(1, k);
        if (c == kLeftKey) return true;
    }
    return false;
}

AssignResult ButtonModel::store(ButtonRef ref, const ButtonCode& c) {
    if (editor_.busy()) return AssignResult::Busy;
    if (ref.isSlot()) {
        // The slot is sent at once with the four-byte live write, then the profiles commit.
        if (!editor_.setComboKeyCode(ref.key, c.bytes, Write::Live)) return AssignResult::Ignored;
        editor_.CommitProfileSections();
        return AssignResult::Done;
    }
    return editor_.setButtonCode(ref.profile, ref.key, c.bytes, Write::Profiles) ? AssignResult::Done
                                                                                 : AssignResult::Ignored;
}

AssignResult ButtonModel::assignMenuFunction(ButtonRef ref, int menuId) {
    if (editor_.busy()) return AssignResult::Busy;
    // The code is made for the button's own profile (its AIM level), not the one shown.
    const std::optional<ButtonCode> c = parseCodeText(codeForMenu(menuId, ref.isSlot(), ref.profile));
    if (!c) return AssignResult::NoCode;
    return assignCode(ref, *c);
}

AssignResult ButtonModel::assignCode(ButtonRef ref, const ButtonCode& c) {
    if (editor_.busy()) return AssignResult::Busy;
    if (!keepsLeftKey(ref, c)) return AssignResult::RefusedKeepLeft;
    return store(ref, c);
}

AssignResult ButtonModel::bindDeviceMacro(ButtonRef ref, int slotIndex) {
    if (editor_.busy()) return AssignResult::Busy;
    if (!ref.isSlot() && isOnlyLeftKey(ref.profile, ref.key)) return AssignResult::Ignored;
    const NameInputs in = nameInputs();
    if (slotIndex < 0 || slotIndex >= static_cast<int>(kDeviceMacroSlots)) return AssignResult::Ignored;
    const DeviceMacroEntry& m = in.deviceMacros[static_cast<std::size_t>(slotIndex)];
    if (!m.present) return AssignResult::Ignored;
    if (in.memory != MemoryType::I2C) return AssignResult::NoCode;
    return store(ref, ButtonCode{{0x10, static_cast<std::uint8_t>(m.bodyAddress >> 8),
                                  static_cast<std::uint8_t>(m.bodyAddress & 0xFF), 0x00}});
}

AssignResult ButtonModel::LB_ScriptClick(int entry) {
    if (editor_.busy()) return AssignResult::Busy;
    // Gun key list entries go to engineer profile buttons only.
    if (selection_.isSlot() || !gunKeyList_ || entry < 0) return AssignResult::Ignored;
    int seen = 0;
    for (const ButtonCode& c : *gunKeyList_) {
        if (c == ButtonCode{}) continue;
        if (seen++ == entry) return store(selection_, c);
    }
    return AssignResult::Ignored;
}

bool ButtonModel::assemblyOpensFor(ButtonRef ref) const {
    return ref.isSlot() || ref.profile != 1 || !isOnlyLeftKey(1, ref.key);
}

AssignResult ButtonModel::applyAssemblyKey(ButtonRef ref, const ButtonCode& c) { return store(ref, c); }

EditResult ButtonModel::setButtonCode(int profile, int key, const ButtonCode& c, Write how) {
    return editor_.setButtonCode(profile, key, c.bytes, how);
}

EditResult ButtonModel::setSlotCode(int slot, const ButtonCode& c, Write how) {
    return editor_.setComboKeyCode(slot, c.bytes, how);
}

}  // namespace nivra
