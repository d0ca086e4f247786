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

TableSkin::~TableSkin() = default;

void TableSkin::prefetchPictures(const QStringList& names, const QString& shapeOf, QRgb transparent) {
    struct Job {
        QString name;
        bool shape;
        std::promise<Decoded> done;
    };
    std::vector<Job> jobs;
    for (const QString& name : names) {
        const QString key = name.toLower();
        if (pending_.count(key) || pictures_.contains(name)) continue;
        Job job{name, key == shapeOf.toLower(), {}};
        pending_.emplace(key, job.done.get_future());
        jobs.push_back(std::move(job));
    }
    if (jobs.empty()) return;
    // One thread decodes them in turn, so that the thread building the window keeps a core of
    // its own. It touches nothing but the pictures' bytes and the images it makes.
    decoder_ = std::async(std::launch::async, [jobs = std::move(jobs), transparent]() mutable {
        for (Job& job : jobs) {
            Decoded d;
            d.image = skin::resourcePicture(job.name);
            if (job.shape && !d.image.isNull()) {
                d.shape = d.image.createMaskFromColor(transparent, Qt::MaskInColor);
                d.transparent = transparent;
            }
            job.done.set_value(std::move(d));
        }
    });
}

TableSkin::Decoded TableSkin::takePending(const QString& key) const {
    const auto it = pending_.find(key);
    if (it == pending_.end()) return {};
    Decoded d = it->second.get();
    pending_.erase(it);
    if (!d.shape.isNull()) shapes_[key] = {d.transparent, d.shape};
    return d;
}

QPixmap TableSkin::picture(const QString& name) const {
    auto it = pictures_.find(name);
    if (it == pictures_.end()) {
        QImage image = takePending(name.toLower()).image;
        if (image.isNull()) image = skin::resourcePicture(name);
        it = pictures_.insert(name, QPixmap::fromImage(std::move(image)));
    }
    return *it;
}

QImage TableSkin::pictureShape(const QString& name, QRgb transparent) const {
    const QString key = name.toLower();
    if (pending_.count(key)) picture(name);
    const auto it = shapes_.find(key);
    if (it != shapes_.end() && it->second.first == transparent) return it->second.second;
    QImage shape = picture(name).toImage().createMaskFromColor(transparent, Qt::MaskInColor);
    shapes_[key] = {transparent, shape};
    return shape;
}

void TableSkin::releaseUnusedPictures() {
    // A picture only this cache holds is shown by no control.
    pictures_.removeIf([](const QHash<QString, QPixmap>::iterator& it) { return it.value().isDetached(); });
    // The shapes of pictures no longer shown. (Prefetched pictures stay until asked for:
    // they are the start page's, which the window shows first.)
    for (auto it = shapes_.begin(); it != shapes_.end();) {
        bool shown = false;
        for (auto p = pictures_.cbegin(); p != pictures_.cend() && !shown; ++p) shown = p.key().toLower() == it->first;
        it = shown ? std::next(it) : shapes_.erase(it);
    }
}

QSize TableSkin::pictureSize(const QString& name) const {
    // Read from the header once per name: a layout pass asks for hundreds of them.
    auto it = sizes_.constFind(name);
    if (it == sizes_.constEnd()) it = sizes_.insert(name, skin::resourcePictureSize(name));
    return *it;
}

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
