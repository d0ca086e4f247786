// The profile page on a window-sized host with the shipped skin, bound to the button and
// profile models over the simulated mouse.
#pragma once

#include "settings/profile_model.h"
#include "tests/buttons/fixture.h"
#include "ui/function_menu.h"
#include "ui/profile_page.h"
#include "ui/table_skin.h"

#include <QWidget>

namespace nivra::testing {

struct PageHost {
    explicit PageHost(int language = 3) : buttons(rig.editor), profiles(rig.editor, buttons) {
        buttons.setLanguage([this](std::string_view id) {
            return skin.text(QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size()))).toStdString();
        });
        const QSize size = skin.picture(QStringLiteral("L1_BackGround")).size();
        host.resize(size);
        page = new ui::ProfilePage(skin, buttons, profiles, &host);
        page->onMessage = [this](const QString& id) { messages << id; };
        page->resizeToWindow(size);
        applyLanguage(language);
    }
    // What the window's language pass does for this page.
    void applyLanguage(int language) {
        std::array<QString, 12> captions;
        skin.applyLanguage(language, Page::Office, captions);
        for (const auto& [name, c] : skin.layout())
            for (QWidget* w : host.findChildren<QWidget*>(name)) ui::applyControlSkin(w, c, skin);
        setSkinPicture(page->background(), skin, QStringLiteral("L%1_BackGround").arg(language));
        if (page->panel()) setSkinPicture(page->panel(), skin, QStringLiteral("L%1_Back1").arg(language));
        page->finishLayout();
        page->RefreshProfileKeys();
        page->RefreshComboKeys();
    }

    EditorRig rig;
    ui::TableSkin skin;
    ButtonModel buttons;
    ProfileModel profiles;
    QWidget host;
    ui::ProfilePage* page = nullptr;
    QStringList messages;
};

}  // namespace nivra::testing
