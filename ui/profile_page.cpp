// The profile page.
#include "ui/profile_page.h"

namespace nivra::ui {

ProfilePage::ProfilePage(const SkinPort& skin, QWidget* parent) : SkinPage(1, skin, parent) {
    addPanel();
    for (int k = 1; k <= 12; ++k) keys_[static_cast<std::size_t>(k - 1)] = addButton(QStringLiteral("Key%1").arg(k), ButtonKind::C);
    for (int t = 1; t <= 8; ++t) {
        addLabel(QStringLiteral("Img_ComboKey%1").arg(t));
        addLabel(QStringLiteral("IB_ComboKey%1").arg(t));
    }
    finishLayout();
}

}  // namespace nivra::ui
