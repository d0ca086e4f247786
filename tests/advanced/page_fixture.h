// The Advanced page on its own, skinned with the built-in tables for a language, bound to the
// models of an AdvancedRig and a pointer store in a folder of the caller's choice.
#pragma once

#include "settings/pointer_settings.h"
#include "ui/advanced_page.h"
#include "ui/skin_button.h"
#include "ui/table_skin.h"

#include <QLabel>

namespace nivra::testing {

// The built-in skin with the bar style chosen by the caller.
class StyledSkin : public ui::TableSkin {
public:
    explicit StyledSkin(int dpiLedStatus) : dpiLedStatus_(dpiLedStatus) {}
    ui::GlobalLayout globalLayout() const override {
        ui::GlobalLayout g = TableSkin::globalLayout();
        g.dpiLedStatus = dpiLedStatus_;
        return g;
    }

private:
    int dpiLedStatus_;
};

// Start pictures, then the layout pass of `language` with the Advanced page in view.
inline void skinPage(ui::TableSkin& skin, ui::AdvancedPage& page, int language) {
    for (const auto& [name, pictureName] : skin.startPictures())
        for (QLabel* l : page.findChildren<QLabel*>(name)) ui::setSkinPicture(l, skin, pictureName);
    skin.applyLanguage(language, skin::Page::Advanced, {});
    for (const auto& [name, c] : skin.layout())
        for (QWidget* w : page.findChildren<QWidget*>(name)) ui::applyControlSkin(w, c, skin);
    page.finishLayout();
    page.refresh();
    page.resize(page.background()->size());
}

}  // namespace nivra::testing
