// Lookup of the built-in resources by case-insensitive name.
#include "skin/resources.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QMutex>

#include <algorithm>

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
// Pictures are PNG files: naming the format lets Qt use its built-in reader without asking
// every image format plugin whether it knows the file.
QImageReader pictureReader(const QString& path) {
    return QImageReader(path, QByteArrayLiteral("png"));
}
}  // namespace

QImage resourcePicture(const QString& name) {
    const QString path = resourcePath(name);
    if (path.isEmpty()) return QImage();
    return pictureReader(path).read();
}

QSize resourcePictureSize(const QString& name) {
    // The resources never change: each header is read once.
    static QMutex mutex;
    static QHash<QString, QSize> sizes;
    const QString path = resourcePath(name);
    if (path.isEmpty()) return QSize();
    const QMutexLocker lock(&mutex);
    auto it = sizes.constFind(path);
    if (it == sizes.constEnd()) it = sizes.insert(path, pictureReader(path).size());
    return *it;
}

QStringList resourceNames() { return index().names; }

QStringList resourceNameClashes() { return index().clashes; }

}  // namespace nivra::skin
