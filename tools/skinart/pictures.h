// The skin's pictures by resource name, each drawn by a function of ours.
#pragma once

#include <QImage>
#include <QString>

#include <functional>
#include <vector>

namespace skinart {

struct PictureEntry {
    QString name;  // resource name, as the file is called (without ".png")
    int width;
    int height;
    std::function<QImage()> draw;
};

// Every picture of the skin, in the order the contact sheet shows them.
std::vector<PictureEntry> allPictures();

// Controls and small parts (pictures.cpp).
void addControlPictures(std::vector<PictureEntry>& out);
// Backgrounds and page panels of one picture set "L1".."L3" (panels.cpp).
void addPanelPictures(std::vector<PictureEntry>& out, const QString& set);

}  // namespace skinart
