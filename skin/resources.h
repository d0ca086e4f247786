// Resources built into the program (pictures, layout and language tables, built-in images),
// looked up by name without regard to letter case.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>

#include <optional>

namespace nivra::skin {

// A resource's name is its file name up to the first dot: "resources/pictures/SetS_01.png"
// is "SetS_01", "resources/layout/ORG1.ini" is "ORG1". Lookups ignore letter case, so
// "NIVRADATA_CFG1" and "NivraData_Cfg1" name the same resource.

// The Qt resource path (":/nivra/...") of a resource, or an empty string when there is none.
QString resourcePath(const QString& name);

// The bytes of a resource, or nothing when there is none.
std::optional<QByteArray> resource(const QString& name);

// A picture resource decoded; a null image when the resource is missing or not a picture.
QImage resourcePicture(const QString& name);

// A picture resource's size read from its header (without decoding it); an invalid size
// when the resource is missing or not a picture.
QSize resourcePictureSize(const QString& name);

// The names of every resource, as spelled by their files, sorted without regard to case.
QStringList resourceNames();

// Names that more than one file claims (ignoring case); empty when every name is unique.
QStringList resourceNameClashes();

}  // namespace nivra::skin
