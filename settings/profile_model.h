// Profiles and modes: the page state and the profile in effect, the engineer's profile
// choice and profile-key settings, the ways the mouse switches Office/Game Mode by itself
// (the gaming-mode switch method with combo key slots 2 and 4, the gun-key switch, the
// LED-mode chord), the user toggles 1..8, the combination-enable lists, and the settings
// derived from the image after each read. Button rewrites go through the ButtonModel.
#pragma once

#include "settings/button_model.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace nivra {

// The layout keys that shape this part of the page.
struct ProfileLayout {
    bool gdEnable = false;                // "GD_Enable" is 1: the gun entries in Game Mode
    std::array<bool, 8> comboKeyEnable{};  // "ComboKey1_Enable".."ComboKey8_Enable"
};

// cb_ChangeFireFun items.
enum class SwitchMethod : int { None = 0, Middle, CpiLoop, CpiUp, CpiDown, BackRight, ForwardRight };

// The seven engineer combination-enable lists of gbComboEn.
enum class ComboList : int { Mid = 0, Back, Forward, Cpi, CpiUp, CpiDown, Gun };

// "none", "middle", "cpi-loop", "cpi-up", "cpi-down", "back-right", "forward-right".
std::string_view switchMethodWord(SwitchMethod m);
std::optional<SwitchMethod> switchMethodFromWord(std::string_view word);

// The switch settings an image carries: found from the buttons' combination-enable bytes
// and the combo key slots 2 and 4 (later findings win, profiles 1..3 in order).
struct SwitchSettings {
    SwitchMethod method = SwitchMethod::None;
    bool gunSwitch = false;
    bool ledChord = false;
    std::uint8_t gunCombo = 0;  // byte 3 of the last gun or fire-macro button
    ComboEnableBytes combo;     // the engineer lists as the image shows them
};
SwitchSettings deriveSwitchSettings(const Image& work, const NameInputs& names);

class ProfileModel : public QObject {
    Q_OBJECT
public:
    ProfileModel(ImageEditor& editor, ButtonModel& buttons, QObject* parent = nullptr);

    void setLayout(const ProfileLayout& layout);
    const ProfileLayout& layout() const { return layout_; }

    // --- Page state ------------------------------------------------------------------
    int profileShown() const { return buttons_.profileShown(); }
    // Btn_Main_0Click / Btn_Switch_0Click / Btn_Fixed_0Click: show profile 1..3 and make it
    // the one in effect (167, 168, 169, 170, then 164, each a live write). False, doing
    // nothing, while busy. The caller checks that a mouse is there first.
    bool showProfile(int profile);
    // RefreshCurrentProfileStatus: the mouse's profile key changed the profile; the page
    // follows the mode byte read from the mouse, with no write.
    void RefreshCurrentProfileStatus(std::uint8_t modeByte);
    // Game Mode with "GD_Enable" 1 offers the gun entries of the function menu.
    bool offersGunEntries() const { return profileShown() == 2 && layout_.gdEnable; }

    // --- Engineer profile settings -----------------------------------------------------
    int profileItem() const { return profileItem_; }            // cb_Profile 0..2
    int profileColourItem() const { return profileColourItem_; }  // cb_ProfileColor 0..10
    int btnEftItem() const { return btnEftItem_; }              // cb_BtnEFT 0..1
    // cb_ProfileChange: makes a profile the one in effect without changing the page.
    bool cb_ProfileChange(int profileItem, int colourItem);
    // cb_Profile1ColorChange..: colour choice 0..10 of profile 1..3; rewrites the profile
    // keys that select that profile.
    bool setProfileColour(int profile, int choice);
    int profileColour(int profile) const;
    // cb_RTZChange (cb_RTZ, cb_AXY, cb_CC) and edt_OffSetChange: rewrite every profile key.
    bool setProfileKeyFlags(bool returnToZero, bool adjustXY, bool changeColor);
    bool setOffset(unsigned offset);  // above 0xFFF counts as 0xFFF
    unsigned offset() const { return buttons_.encoding().extended.offset; }
    const ExtendedProfileInputs& extended() const { return buttons_.encoding().extended; }

    // --- Switches ------------------------------------------------------------------------
    SwitchMethod switchMethod() const { return method_; }
    bool gunSwitch() const { return gunSwitch_; }
    bool ledChord() const { return ledChord_; }
    // Byte 3 of the last gun or fire-macro button found by the last derivation.
    std::uint8_t gunComboByte() const { return gunCombo_; }
    // cb_ChangeFireFunChange, cb_IsGunFireModeClick, cb_ChangeLEDModeFunChange. Each writes
    // the vendor section and commits the profiles. False while busy (or, for the gun-key
    // switch, while the fire-key guard is set).
    bool setSwitchMethod(SwitchMethod m);
    bool setGunSwitch(bool on, bool fireKeyGuard = false);
    bool setLedChord(bool on);

    // --- User toggles 1..8 -----------------------------------------------------------------
    bool toggleShown(int t) const;
    bool toggleLit(int t) const;
    // IB_ComboKey1Click..: acts only when the profile shown has a button of the toggle's
    // kind (toggle 8: Game Mode shown and a gun or fire-macro button in profile 2).
    bool IB_ComboKeyClick(int t);

    // --- Combination-enable lists (TLRefreshComboEn) -----------------------------------------
    int comboEnableItem(ComboList list) const;
    bool TLRefreshComboEn(ComboList list, int item);

    // --- User section bits ----------------------------------------------------------------
    bool keepProfileInfo() const;
    bool profileLedFlash() const;
    EditResult cb_KeepProfileInfoChange(bool on);
    EditResult cb_ProfileLEDFlashChange(bool on);
    bool cb_BtnEFTChange(int item);

    // Every setting above derived from the working copy (after each read of the image).
    void deriveFromImage();

    // The switch code of combo key slots 2 and 4: 07 D1 F0 + the offset's low byte.
    ButtonCode switchCode() const;

signals:
    void changed();

private:
    // Rewrites every button of the six kinds (in `profiles`) with its combination-enable
    // byte from `bytes`, and byte 3 of the gun buttons with `gunByte` when given. Working
    // copy only.
    void rewriteKinds(const std::array<std::uint8_t, 6>& bytes, std::optional<std::uint8_t> gunByte,
                      int firstProfile = 1, int lastProfile = 3, bool kindsToo = true);
    void rewriteBackward(std::uint8_t byte3);
    void applyMethod(SwitchMethod m);
    bool finishSwitch();
    bool rewriteProfileKeys(int onlyProfile);  // 0: keys of all three profiles
    std::uint8_t colourCode() const;
    bool hasKind(int profile, int kind) const;
    bool hasGunButton(int profile) const;

    ImageEditor& editor_;
    ButtonModel& buttons_;
    ProfileLayout layout_;
    int profileItem_ = 0;
    int profileColourItem_ = 0;
    int btnEftItem_ = 0;
    SwitchMethod method_ = SwitchMethod::None;
    bool gunSwitch_ = false;
    bool ledChord_ = false;
    std::uint8_t gunCombo_ = 0;
};

}  // namespace nivra
