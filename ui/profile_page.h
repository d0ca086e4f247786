// The profile page (gbPage1) shown for Office, Game and Third Mode: the twelve key labels
// over the mouse picture of its panel Img_P1, the function menu they open, the combination
// dialog TForm2 and the eight mode toggles. A thin view of the button and profile models:
// each handler calls one model method; the labels and toggles refresh from the models.
#pragma once

#include "ui/skin_page.h"

#include <array>
#include <functional>

namespace nivra {
class ButtonModel;
class ProfileModel;
}  // namespace nivra

namespace nivra::ui {

class AssemblyDialog;
class CoverLabel;
class FunctionMenu;

class ProfilePage : public SkinPage {
public:
    // The page without models (labels keep what the window puts on them).
    ProfilePage(const SkinPort& skin, QWidget* parent);
    // The page bound to its models. The window connects its hideAllMenus signal to menu().
    ProfilePage(const SkinPort& skin, ButtonModel& buttons, ProfileModel& profiles, QWidget* parent);

    SkinButton* key(int k) const { return keys_.at(static_cast<std::size_t>(k - 1)); }  // 1..12
    FunctionMenu* menu() const { return menu_; }
    AssemblyDialog* assemblyDialog();  // built on first use

    // Handlers.
    void ShowPnlMain_OnClick(int key);
    void KeyStatusOnClick(int menuId);
    void Key_AssemblyClick();
    void LB_NameClick(int slotIndex);
    void IB_ComboKeyClick(int toggle);
    // RefreshProfile1Keys..RefreshProfile3Keys for the profile shown.
    void RefreshProfileKeys();
    // RefreshComboKey1..RefreshComboKey8: pictures "CbS_E"/"CbS_D" and visibility.
    void RefreshComboKeys();

    // Set by the window: HideAllMenu (every menu of the window; without it the page closes
    // its own), a message id for the message dialog ("Str108"), the gun page.
    std::function<void()> onHideAllMenu;
    std::function<void(const QString& id)> onMessage;
    std::function<void()> onFireMacroPage;
    // Asked before a key's menu opens or a toggle changes: false refuses the edit (the
    // window then says why: no mouse).
    std::function<bool()> mayEdit;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void hideAllMenus();

    std::array<SkinButton*, 12> keys_{};
    ButtonModel* buttons_ = nullptr;
    ProfileModel* profiles_ = nullptr;
    FunctionMenu* menu_ = nullptr;
    AssemblyDialog* assembly_ = nullptr;
    QWidget* dialogParent_ = nullptr;
    CoverLabel* block_ = nullptr;
};

}  // namespace nivra::ui
