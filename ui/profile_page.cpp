// The profile page.
#include "ui/profile_page.h"

#include "settings/profile_model.h"
#include "ui/assembly_dialog.h"
#include "ui/function_menu.h"
#include "ui/skin_port.h"

#include <QMouseEvent>

#include <algorithm>

namespace nivra::ui {

ProfilePage::ProfilePage(const SkinPort& skin, QWidget* parent) : SkinPage(1, skin, parent) {
    build();
    finishLayout();
}

ProfilePage::ProfilePage(const SkinPort& skin, ButtonModel& buttons, ProfileModel& profiles, QWidget* parent)
    : SkinPage(1, skin, parent), buttons_(&buttons), profiles_(&profiles) {
    build();
    menu_ = new FunctionMenu(this, skin_);
    QObject::connect(menu_, &FunctionMenu::leafChosen, this, [this](int id) { KeyStatusOnClick(id); });
    QObject::connect(menu_, &FunctionMenu::assemblyChosen, this, [this] { Key_AssemblyClick(); });
    QObject::connect(menu_, &FunctionMenu::macroChosen, this, [this](int slot) { LB_NameClick(slot); });
    QObject::connect(menu_, &FunctionMenu::fireMacroPageChosen, this, [this] {
        if (onFireMacroPage) onFireMacroPage();
    });

    // The blocking layer keeps the page from being used while the combination dialog is open.
    block_ = new CoverLabel(this);
    block_->setObjectName(QStringLiteral("Img_AssemblyBlock"));
    block_->hide();
    // The combination dialog is built when it is first opened (assemblyDialog()).
    dialogParent_ = parent ? parent : this;

    for (int k = 1; k <= 12; ++k) key(k)->onClick = [this, k] { ShowPnlMain_OnClick(k); };
    QObject::connect(buttons_, &ButtonModel::keysChanged, this, [this] { RefreshProfileKeys(); });
    QObject::connect(profiles_, &ProfileModel::changed, this, [this] { RefreshComboKeys(); });
    if (panel()) panel()->installEventFilter(this);
    finishLayout();
    RefreshProfileKeys();
    RefreshComboKeys();
}

void ProfilePage::build() {
    addPanel();
    for (int k = 1; k <= 12; ++k) keys_[static_cast<std::size_t>(k - 1)] = addButton(QStringLiteral("Key%1").arg(k), ButtonKind::C);
    for (int t = 1; t <= 8; ++t) {
        addLabel(QStringLiteral("Img_ComboKey%1").arg(t));
        QLabel* toggle = addLabel(QStringLiteral("IB_ComboKey%1").arg(t));
        toggle->installEventFilter(this);
    }
}

void ProfilePage::hideAllMenus() {
    if (onHideAllMenu) onHideAllMenu();
    else if (menu_) menu_->HideAllMenu();
}

void ProfilePage::ShowPnlMain_OnClick(int k) {
    if (!buttons_) return;
    hideAllMenus();
    if (mayEdit && !mayEdit()) return;
    buttons_->selectLabel(k);
    MenuOffer offer{ButtonView::User, buttons_->profileShown(), profiles_->layout().gdEnable,
                    !buttons_->deviceMacros().empty()};
    QStringList names;
    for (const DeviceMacroEntry& m : buttons_->deviceMacros()) names << QString::fromStdString(m.name);
    const QLabel* label = key(k)->label();
    menu_->open(label->geometry().center(), offer, names);
}

void ProfilePage::KeyStatusOnClick(int menuId) {
    hideAllMenus();
    const AssignResult r = buttons_->KeyStatusOnClick(menuId);
    const std::string_view id = messageIdOf(r);
    if (!id.empty() && onMessage) onMessage(QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size())));
}

void ProfilePage::Key_AssemblyClick() {
    hideAllMenus();
    if (!buttons_->Key_AssemblyClick()) return;
    block_->show();
    block_->raise();
    assemblyDialog()->open();
}

AssemblyDialog* ProfilePage::assemblyDialog() {
    if (!assembly_ && dialogParent_) {  // the page of the window (with its models) has one
        assembly_ = new AssemblyDialog(skin_, dialogParent_);
        assembly_->onConfirm = [this](const ButtonCode& code) { buttons_->ApplyAssemblyKey(code); };
        assembly_->onFinished = [this] { block_->hide(); };
    }
    return assembly_;
}

void ProfilePage::LB_NameClick(int slotIndex) {
    hideAllMenus();
    buttons_->LB_NameClick(slotIndex);
}

void ProfilePage::IB_ComboKeyClick(int toggle) {
    hideAllMenus();
    if (mayEdit && !mayEdit()) return;
    profiles_->IB_ComboKeyClick(toggle);
}

void ProfilePage::RefreshProfileKeys() {
    if (!buttons_) return;
    const std::array<std::string, 12> names = buttons_->keyNames(buttons_->profileShown());
    for (int k = 1; k <= 12; ++k) key(k)->label()->setText(QString::fromStdString(names[static_cast<std::size_t>(k - 1)]));
}

void ProfilePage::RefreshComboKeys() {
    if (!profiles_) return;
    // The layout pass decided which toggles the layout keys enable; the model adds the
    // Game Mode rule of toggle 8.
    ProfileLayout layout;
    layout.gdEnable = skin_.globalLayout().gunDisplay;
    const auto& controls = skin_.layout();
    for (int t = 1; t <= 7; ++t) {
        auto it = controls.find(QStringLiteral("IB_ComboKey%1").arg(t));
        layout.comboKeyEnable[static_cast<std::size_t>(t - 1)] = it != controls.end() && it->second.visible.value_or(false);
    }
    layout.comboKeyEnable[7] = skin_.comboKey8Enabled();
    if (layout.gdEnable != profiles_->layout().gdEnable || layout.comboKeyEnable != profiles_->layout().comboKeyEnable) {
        profiles_->setLayout(layout);  // emits changed, which comes back here
        return;
    }
    for (int t = 1; t <= 8; ++t) {
        auto* picture = findChild<QLabel*>(QStringLiteral("Img_ComboKey%1").arg(t));
        auto* label = findChild<QLabel*>(QStringLiteral("IB_ComboKey%1").arg(t));
        const bool shown = profiles_->toggleShown(t);
        setSkinPicture(picture, skin_, profiles_->toggleLit(t) ? QStringLiteral("CbS_E") : QStringLiteral("CbS_D"));
        picture->setVisible(shown);
        label->setVisible(shown);
        // The caption sits beside its picture, as tall as its text, and takes the clicks.
        label->adjustSize();
        label->resize(label->width(), std::max(label->height(), picture->height() + 4));
    }
}

bool ProfilePage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease || !buttons_) return SkinPage::eventFilter(watched, event);
    if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
    if (watched == panel()) {
        hideAllMenus();
        return false;
    }
    const QString name = watched->objectName();
    if (name.startsWith(QLatin1String("IB_ComboKey"))) {
        IB_ComboKeyClick(name.mid(11).toInt());
        return true;
    }
    return false;
}

}  // namespace nivra::ui
