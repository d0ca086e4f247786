// Skin of the shipped program over the built-in resources.
#include "ui/table_skin.h"

#include "skin/engineer_captions.h"
#include "skin/language_table.h"
#include "skin/resources.h"

namespace nivra::ui {

TableSkin::TableSkin() {
    if (!skin::builtInLanguages()) tableError_ = skin::builtInLanguages().error();
}

QPixmap TableSkin::picture(const QString& name) const {
    auto it = pictures_.find(name);
    if (it == pictures_.end()) it = pictures_.insert(name, QPixmap::fromImage(skin::resourcePicture(name)));
    return *it;
}

std::vector<ControlSkin> TableSkin::startPictures() const { return {}; }

GlobalLayout TableSkin::globalLayout() const { return global_; }

QString TableSkin::applyLanguage(int language) {
    language_ = language;
    return tableError_;
}

QString TableSkin::text(const QString& id) const {
    const auto& set = skin::builtInLanguages();
    return set ? set->table(language_).text(id) : QString();
}

std::vector<ControlSkin> TableSkin::dialogLayout(int) const { return {}; }

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
