// appicon OUT_DIR NAME SIZE...: writes the application icon as the desktop's icon theme lays it
// out, OUT_DIR/scalable/apps/NAME.svg and OUT_DIR/<SIZE>x<SIZE>/apps/NAME.png.
#include "ui/app_icon.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <cstdio>

namespace {
bool writeFile(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() &&
           file.flush();
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: appicon OUT_DIR NAME SIZE...\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QString svg = out + QStringLiteral("/scalable/apps/%1.svg").arg(name);
    if (!writeFile(svg, nivra::ui::appIconSvg().toUtf8())) {
        std::fprintf(stderr, "appicon: cannot write %s\n", qPrintable(svg));
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            std::fprintf(stderr, "appicon: bad size %s\n", argv[i]);
            return 2;
        }
        const QString png = out + QStringLiteral("/%1x%1/apps/%2.png").arg(size).arg(name);
        if (!QDir().mkpath(QFileInfo(png).path()) || !nivra::ui::appIconImage(size).save(png, "PNG")) {
            std::fprintf(stderr, "appicon: cannot write %s\n", qPrintable(png));
            return 1;
        }
    }
    return 0;
}
