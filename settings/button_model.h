// The button assignment model: the 36 button codes and nine combo key slots with their
// names, the selection the function menu acts on, the keep-a-left-key rule, the function
// menu's leaves, device-macro binding and the combination dialog's result. Every edit goes
// through the ImageEditor; views (the profile page, the engineer page, nivractl) refresh
// from keysChanged().
#pragma once

#include "image/codes.h"
#include "settings/image_editor.h"

#include <QObject>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace nivra {

enum class ButtonView { User, Engineer };

// What the function menu acts on: a button (profile 1..3, key 1..12) or a combo key slot
// (profile 0, key = slot 1..9).
struct ButtonRef {
    int profile = 1;
    int key = 1;
    bool isSlot() const { return profile == 0; }
    static ButtonRef slot(int n) { return {0, n}; }
    friend bool operator==(const ButtonRef&, const ButtonRef&) = default;
};

// The outcome of an assignment.
enum class AssignResult {
    Done,
    RefusedKeepLeft,  // "Str108" "Please keep a Left Key" (menu functions only)
    Ignored,          // a rule said nothing happens (no message)
    NoCode,           // the entry gives no code here (Fire Macro Key without "I2C")
    Busy,             // a transfer or a refresh from the image runs: nothing changed
};

// Message id of a refusal the caller shows; "" when none.
std::string_view messageIdOf(AssignResult r);

// Engineer-side settings that encoding reads: the combination-enable lists and the
// extended profile-key inputs.
struct ButtonEncodingSettings {
    ComboEnableBytes combo;        // cb_MidCom .. cb_CPIDCom
    std::uint8_t gunCombo = 0;     // cb_GunCom
    ExtendedProfileInputs extended{false, false, false, {0, 0, 0}, 0x20, false};
};

// Name ids of the button kinds the rules look for.
namespace key_name {
inline constexpr std::string_view kLeft = "Str210";
inline constexpr std::string_view kMiddle = "Str212";
inline constexpr std::string_view kBackward = "Str213";
inline constexpr std::string_view kForward = "Str214";
inline constexpr std::string_view kDpiLoop = "Str221";
inline constexpr std::string_view kDpiUp = "Str222";
inline constexpr std::string_view kDpiDown = "Str223";
inline constexpr std::string_view kAim = "Str260";
inline constexpr std::string_view kLedMode = "Str261";
inline constexpr std::string_view kKeyOff = "Str277";
inline constexpr std::string_view kOffice = "Str251";
inline constexpr std::string_view kGame = "Str252";
inline constexpr std::string_view kThird = "Str253";
}  // namespace key_name

class ButtonModel : public QObject {
    Q_OBJECT
public:
    explicit ButtonModel(ImageEditor& editor, QObject* parent = nullptr);

    ImageEditor& editor() { return editor_; }

    // --- Naming context ------------------------------------------------------------
    // The active language table (names given as language ids are looked up through it).
    void setLanguage(LanguageLookup language);
    // The ten codes of the gun key list file when it is present.
    void setGunKeyList(std::optional<std::array<ButtonCode, 10>> list);
    const std::optional<std::array<ButtonCode, 10>>& gunKeyList() const { return gunKeyList_; }
    NameInputs nameInputs() const;
    // The device macros of the working copy's macro area (slot index = list index).
    std::vector<DeviceMacroEntry> deviceMacros() const;

    // --- Codes and names ---------------------------------------------------------------
    ButtonCode code(int profile, int key) const;
    ButtonCode slotCode(int slot) const;
    ButtonCode codeAt(ButtonRef ref) const;
    std::string codeText(ButtonRef ref) const { return nivra::codeText(codeAt(ref)); }
    CodeName name(int profile, int key) const;
    CodeName slotName(int slot) const;
    CodeName nameAt(ButtonRef ref) const;
    // RefreshProfile1Keys..: the twelve display texts of a profile.
    std::array<std::string, 12> keyNames(int profile) const;
    // Buttons of a profile whose name has language id `nameId`.
    int countNamed(int profile, std::string_view nameId) const;
    // The button is the only Left Key of its profile.
    bool isOnlyLeftKey(int profile, int key) const;

    // --- Selection -----------------------------------------------------------------------
    // The profile the user view shows (the page state, 1..3); button edits act on it.
    int profileShown() const { return profileShown_; }
    void setProfileShown(int profile);
    ButtonView view() const { return view_; }
    ButtonRef selection() const { return selection_; }
    // ShowPnlMain_OnClick: key label k (1..12) of the profile shown.
    void selectLabel(int key);
    // TLShowPnlMain_OnClick: an engineer profile button or combo key slot.
    void selectEngineer(ButtonRef ref);

    // --- Encoding --------------------------------------------------------------------------
    ButtonEncodingSettings& encoding() { return encoding_; }
    const ButtonEncodingSettings& encoding() const { return encoding_; }
    // The current AIM level: byte 1 of the last AIM key of `profile` (1..3; 0: the profile
    // shown), 0 when none.
    int aimLevel(int profile = 0) const;
    // The inputs of the menu's codes for a button of `profile` (0: the profile shown; a slot
    // uses the profile shown).
    MenuCodeInputs menuInputs(bool editingSlot, int profile = 0) const;
    std::string codeForMenu(int menuId, bool editingSlot, int profile = 0) const;

    // --- Edits -----------------------------------------------------------------------------
    // KeyStatusOnClick: the leaf `menuId` assigned to the selection.
    AssignResult KeyStatusOnClick(int menuId) { return assignMenuFunction(selection_, menuId); }
    // The same on any button or slot: the keep-a-left-key rule for profile 1, store, then
    // the write (four-byte live write for a slot) and CommitProfileSections.
    AssignResult assignMenuFunction(ButtonRef ref, int menuId);
    // Any code on a button, with the keep-a-left-key rule alone (the engineer's "code:").
    AssignResult assignCode(ButtonRef ref, const ButtonCode& code);
    // LB_NameClick: device macro `slotIndex` (0..14) bound to the selection.
    AssignResult LB_NameClick(int slotIndex) { return bindDeviceMacro(selection_, slotIndex); }
    AssignResult bindDeviceMacro(ButtonRef ref, int slotIndex);
    // LB_ScriptClick: the i-th (0-based) non-empty gun key list entry bound to an engineer
    // profile button.
    AssignResult LB_ScriptClick(int entry);
    // Key_AssemblyClick: whether the combination dialog opens for the selection.
    bool Key_AssemblyClick() const { return assemblyOpensFor(selection_); }
    bool assemblyOpensFor(ButtonRef ref) const;
    // ApplyAssemblyKey: the dialog's code on the selection (no keep-a-left-key rule).
    AssignResult ApplyAssemblyKey(const ButtonCode& code) { return applyAssemblyKey(selection_, code); }
    AssignResult applyAssemblyKey(ButtonRef ref, const ButtonCode& code);

    // Simple setters for the other editors' rules (AIM keys, fire keys, profile switches):
    // the code stored with `how` (CommitProfileSections by default). No rule applies.
    EditResult setButtonCode(int profile, int key, const ButtonCode& code, Write how = Write::Profiles);
    EditResult setSlotCode(int slot, const ButtonCode& code, Write how = Write::Live);
    EditResult CommitProfileSections() { return editor_.CommitProfileSections(); }

signals:
    // Codes or names changed (an edit, a new image, the language, the page shown).
    void keysChanged();
    // The selection or the profile shown changed.
    void selectionChanged();

private:
    AssignResult store(ButtonRef ref, const ButtonCode& code);
    bool keepsLeftKey(ButtonRef ref, const ButtonCode& code) const;

    ImageEditor& editor_;
    LanguageLookup language_;
    std::optional<std::array<ButtonCode, 10>> gunKeyList_;
    ButtonEncodingSettings encoding_;
    int profileShown_ = 1;
    ButtonView view_ = ButtonView::User;
    ButtonRef selection_{1, 1};
};

}  // namespace nivra
