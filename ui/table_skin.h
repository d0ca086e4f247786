// The skin of the shipped program: pictures and tables built into the program, and the
// layout pass over them.
#pragma once

#include "ui/skin_port.h"

#include <QHash>

#include <future>
#include <map>
#include <utility>
#include <vector>

namespace nivra::ui {

class TableSkin : public SkinPort {
public:
    TableSkin();
    ~TableSkin() override;

    // Decoded pictures are kept for the controls that share them until they are let go.
    QPixmap picture(const QString& name) const override;
    QSize pictureSize(const QString& name) const override;  // from the picture's header
    void releaseUnusedPictures() override;
    // Decodes the pictures in turn on a thread of its own, and works out the shape of
    // `shapeOf` there too.
    void prefetchPictures(const QStringList& names, const QString& shapeOf, QRgb transparent) override;
    QImage pictureShape(const QString& name, QRgb transparent) const override;
    std::map<QString, QString> startPictures() const override { return skin::LoadStartPictures(); }
    GlobalLayout globalLayout() const override { return global_; }
    QString applyLanguage(int language, skin::Page page, const std::array<QString, 12>& keyCaptions) override;
    const ControlSkinMap& layout() const override { return result_.controls; }
    QString text(const QString& id) const override;
    ControlSkinMap dialogLayout(int formNumber) const override;
    QString fontName() const override;
    bool comboKey8Enabled() const override { return result_.values.comboKey8Enabled; }
    QString title() const override;
    QString engineerCaption(int row) const override;
    QString engineerFont() const override;

    // Why the built-in tables could not be read; empty when they were.
    const QString& tableError() const { return tableError_; }

private:
    int language_ = 1;
    skin::SkinResult result_;
    GlobalLayout global_;
    QString tableError_;
    mutable QHash<QString, QPixmap> pictures_;
    mutable QHash<QString, QSize> sizes_;  // picture sizes by name, from the headers
    // Pictures being decoded (prefetchPictures); taken over by picture() when asked for.
    struct Decoded {
        QImage image;
        QImage shape;
        QRgb transparent = 0;
    };
    mutable std::map<QString, std::future<Decoded>> pending_;
    std::future<void> decoder_;  // waited for when the skin goes
    mutable std::map<QString, std::pair<QRgb, QImage>> shapes_;  // by lower-case picture name
    Decoded takePending(const QString& key) const;
};

}  // namespace nivra::ui
