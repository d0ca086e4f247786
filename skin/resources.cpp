// Lookup of the built-in resources by case-insensitive name.
#include "skin/resources.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QResource>
#include <QSysInfo>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include <png.h>

namespace nivra::skin {

namespace {

struct ResourceIndex {
    QHash<QString, QString> pathByKey;  // lower-case name -> ":/nivra/..." path
    QStringList names;
    QStringList clashes;
};

QString nameOf(const QString& path) {
    const QString file = QFileInfo(path).fileName();
    const qsizetype dot = file.indexOf(u'.');
    return dot < 0 ? file : file.left(dot);
}

ResourceIndex buildIndex() {
    ResourceIndex index;
    QStringList paths;
    QDirIterator it(QStringLiteral(":/nivra"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) paths << it.next();
    // Sorted so that a clash resolves the same way on every run.
    paths.sort();
    for (const QString& path : paths) {
        const QString name = nameOf(path);
        const QString key = name.toLower();
        if (index.pathByKey.contains(key)) {
            if (!index.clashes.contains(name, Qt::CaseInsensitive)) index.clashes << name;
            continue;
        }
        index.pathByKey.insert(key, path);
        index.names << name;
    }
    std::sort(index.names.begin(), index.names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return index;
}

const ResourceIndex& index() {
    static const ResourceIndex built = buildIndex();
    return built;
}

}  // namespace

QString resourcePath(const QString& name) {
    return index().pathByKey.value(name.toLower());
}

std::optional<QByteArray> resource(const QString& name) {
    const QString path = resourcePath(name);
    if (path.isEmpty()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return file.readAll();
}

namespace {

// Pictures are PNG files, decoded here with libpng directly: Qt's image reader asks every
// installed image format plugin (GIF, ICO, JPEG ...) about each file before its own PNG
// reader, which loads those plugins and their libraries into a program that has no use for
// them.

// The bytes of a resource without copying them when the resource is stored uncompressed.
QByteArray resourceBytes(const QString& path) {
    const QResource r(path);
    if (!r.isValid()) return {};
    if (r.compressionAlgorithm() == QResource::NoCompression)
        return QByteArray::fromRawData(reinterpret_cast<const char*>(r.data()), static_cast<qsizetype>(r.size()));
    return r.uncompressedData();
}

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Width and height from the PNG header (the IHDR chunk that must come first).
QSize pngSize(const QByteArray& bytes) {
    if (bytes.size() < 24 || std::memcmp(bytes.constData(), kPngSignature, sizeof kPngSignature) != 0 ||
        std::memcmp(bytes.constData() + 12, "IHDR", 4) != 0)
        return {};
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
    auto be32 = [b](int at) {
        return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) |
               std::uint32_t{b[at + 3]};
    };
    const std::uint32_t width = be32(16), height = be32(20);
    // Far above any picture of the program; it keeps the sizes within QSize.
    constexpr std::uint32_t kLargest = 1u << 15;
    if (width == 0 || height == 0 || width > kLargest || height > kLargest) return {};
    return {static_cast<int>(width), static_cast<int>(height)};
}

QImage decodePng(const QByteArray& bytes) {
    if (!pngSize(bytes).isValid()) return {};
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&png, bytes.constData(), static_cast<std::size_t>(bytes.size()))) return {};
    const bool alpha = (png.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    // QImage's 32-bit formats are 0xAARRGGBB words; an opaque picture gets 0xFF in the A byte.
    png.format = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? PNG_FORMAT_BGRA : PNG_FORMAT_ARGB;
    QImage image(static_cast<int>(png.width), static_cast<int>(png.height),
                 alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull() ||
        !png_image_finish_read(&png, nullptr, image.bits(), static_cast<png_int_32>(image.bytesPerLine()), nullptr)) {
        png_image_free(&png);
        return {};
    }
    return image;
}

}  // namespace

QImage resourcePicture(const QString& name) {
    const QString path = resourcePath(name);
    if (path.isEmpty()) return QImage();
    return decodePng(resourceBytes(path));
}

QSize resourcePictureSize(const QString& name) {
    const QString path = resourcePath(name);
    return path.isEmpty() ? QSize() : pngSize(resourceBytes(path));
}

QStringList resourceNames() { return index().names; }

QStringList resourceNameClashes() { return index().clashes; }

}  // namespace nivra::skin
