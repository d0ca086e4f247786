// Skin of the shipped program over the built-in resources.
#include "ui/table_skin.h"

#include "skin/engineer_captions.h"
#include "skin/language_table.h"
#include "skin/resources.h"

namespace nivra::ui {

TableSkin::TableSkin() {
    const auto global = skin::LoadGlobalLayout();
    if (global) global_ = *global;
    else tableError_ = global.error();
    if (!skin::builtInLanguages()) tableError_ = skin::builtInLanguages().error();
}

QPixmap TableSkin::picture(const QString& name) const {
    auto it = pictures_.find(name);
    if (it == pictures_.end()) it = pictures_.insert(name, QPixmap::fromImage(skin::resourcePicture(name)));
    return *it;
}

void TableSkin::releaseUnusedPictures() {
    // A picture only this cache holds is shown by no control.
    pictures_.removeIf([](const QHash<QString, QPixmap>::iterator& it) { return it.value().isDetached(); });
}

QSize TableSkin::pictureSize(const QString& name) const { return skin::resourcePictureSize(name); }

QString TableSkin::applyLanguage(int language, skin::Page page, const std::array<QString, 12>& keyCaptions) {
    language_ = language;
    skin::SkinState state;
    state.page = page;
    state.keyCaptions = keyCaptions;
    state.global = global_;
    skin::SkinResult result = skin::ApplySkinAndLanguage(language, state);
    if (!result.ok()) return result.error;
    result_ = std::move(result);
    return {};
}

QString TableSkin::text(const QString& id) const {
    const auto& set = skin::builtInLanguages();
    return set ? set->table(language_).text(id) : QString();
}

ControlSkinMap TableSkin::dialogLayout(int formNumber) const {
    skin::SkinResult r = skin::ApplyDialogSkin(static_cast<skin::Dialog>(formNumber), language_);
    if (!r.ok()) {
        qWarning("nivra: dialog skin stopped: %s", qPrintable(r.error));
        return {};
    }
    return r.controls;
}

QString TableSkin::fontName() const {
    const auto& set = skin::builtInLanguages();
    return set ? set->table(language_).fontFamily() : QString();
}

QString TableSkin::title() const {
    const auto& set = skin::builtInLanguages();
    return set ? set->table(language_).title() : QString();
}

QString TableSkin::engineerCaption(int row) const { return skin::EngineerCaption(row); }

QString TableSkin::engineerFont() const { return skin::engineerFontFamily(skin::engineerColumn()); }

}  // namespace nivra::ui
