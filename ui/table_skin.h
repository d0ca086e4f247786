// The skin of the shipped program: pictures and tables built into the program, and the
// layout pass over them.
#pragma once

#include "ui/skin_port.h"

#include <QHash>

namespace nivra::ui {

class TableSkin : public SkinPort {
public:
    TableSkin();

    QPixmap picture(const QString& name) const override;
    std::vector<ControlSkin> startPictures() const override;
    GlobalLayout globalLayout() const override;
    QString applyLanguage(int language) override;
    std::vector<ControlSkin> layout() const override { return layout_; }
    QString text(const QString& id) const override;
    std::vector<ControlSkin> dialogLayout(int formNumber) const override;
    QString fontName() const override;
    QString title() const override;
    QString engineerCaption(int row) const override;
    QString engineerFont() const override;

    // Why the built-in tables could not be read; empty when they were.
    const QString& tableError() const { return tableError_; }

private:
    int language_ = 1;
    std::vector<ControlSkin> layout_;
    GlobalLayout global_;
    QString tableError_;
    mutable QHash<QString, QPixmap> pictures_;
};

}  // namespace nivra::ui
