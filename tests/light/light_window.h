// The Breathing Light page as the window lays it out, on the lighting model of a connected
// simulated mouse. Shared by the page test and the preview program.
#pragma once

#include "settings/lighting.h"
#include "tests/transfer/transfer_rig.h"
#include "ui/light_page.h"
#include "ui/skin_button.h"
#include "ui/skin_port.h"
#include "ui/table_skin.h"

namespace nivra::testing {

// Built-in image 1 with another lighting byte and enable mask, check bytes made valid.
inline Image imageWithLighting(std::uint8_t byte165, std::uint8_t mask) {
    Image img = builtinImage(1);
    img[offset::kLedByte] = byte165;
    img[offset::kModeEnableMask] = mask;
    img[region::kVendor.end() - 1] = sectionCheckByte(std::span(img.data(), region::kVendor.length));
    img[region::kUser.end() - 1] = sectionCheckByte(std::span(img.data() + region::kUser.offset, region::kUser.length));
    return img;
}

struct LightWindow {
    explicit LightWindow(const Image& memory, int language = 3) : rig(memory) {
        rig.connect();
        page.resizeToWindow(QSize(1030, 662));
        for (const auto& [name, picture] : skin.startPictures())
            for (QLabel* l : page.findChildren<QLabel*>(name)) ui::setSkinPicture(l, skin, picture);
        setLanguage(language);
        page.attach(model);
        rig.mark();
    }

    // The layout pass of a language, as the window applies it, and the page's own part.
    void setLanguage(int language) {
        skin.applyLanguage(language, Page::Light, {});
        for (const auto& [name, c] : skin.layout())
            for (QWidget* w : page.findChildren<QWidget*>(name)) ui::applyControlSkin(w, c, skin);
        ui::setSkinPicture(page.background(), skin, QStringLiteral("L%1_BackGround").arg(language));
        ui::setSkinPicture(page.panel(), skin, QStringLiteral("L%1_Back3").arg(language));
        page.finishLayout();
        page.applyLanguage(language);
    }

    template <typename W = QWidget>
    W* find(const QString& name) const { return page.findChild<W*>(name); }

    Rig rig;
    ImageEditor& editor{rig.editor()};
    LightingModel model{editor};
    ui::TableSkin skin;
    ui::LightPage page{skin, nullptr};
};

}  // namespace nivra::testing
