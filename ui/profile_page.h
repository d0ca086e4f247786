// The profile page (gbPage1) shown for Office, Game and Third Mode: the twelve key labels
// over the mouse picture of its panel Img_P1 and the eight mode toggles.
#pragma once

#include "ui/skin_page.h"

#include <array>

namespace nivra::ui {

class ProfilePage : public SkinPage {
public:
    ProfilePage(const SkinPort& skin, QWidget* parent);
    SkinButton* key(int k) const { return keys_.at(static_cast<std::size_t>(k - 1)); }  // 1..12

private:
    std::array<SkinButton*, 12> keys_{};
};

}  // namespace nivra::ui
