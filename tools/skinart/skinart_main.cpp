// skinart: draws every picture of the skin into OUT/pictures and writes the layout tables
// into OUT/layout (OUT is the project's resources folder). With --check it writes nothing and
// reports where the files under OUT differ from what it would write.
#include "tools/skinart/layout_tables.h"
#include "tools/skinart/pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(bytes);
    return f.commit();
}

// Pictures drawn with text may differ by a few antialiased pixels between font builds; a
// real change of the art moves far more.
bool nearlyEqual(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    qint64 differing = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col) {
            const int d = std::max({std::abs(qRed(p[col]) - qRed(q[col])), std::abs(qGreen(p[col]) - qGreen(q[col])),
                                    std::abs(qBlue(p[col]) - qBlue(q[col])), std::abs(qAlpha(p[col]) - qAlpha(q[col]))});
            differing += d > 24;
        }
    }
    return differing * 100 <= qint64(x.width()) * x.height();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const bool check = argc == 3 && QByteArray(argv[1]) == "--check";
    if (argc != 2 && !check) {
        std::fprintf(stderr, "usage: skinart [--check] RESOURCES_DIR\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[argc - 1]));
    if (!check && (!root.mkpath(QStringLiteral("pictures")) || !root.mkpath(QStringLiteral("layout")))) {
        std::fprintf(stderr, "skinart: cannot create folders under %s\n", argv[argc - 1]);
        return 1;
    }
    int failures = 0;
    for (const auto& entry : skinart::allPictures()) {
        const QImage img = entry.draw();
        const QString path = root.filePath(QStringLiteral("pictures/%1.png").arg(entry.name));
        if (img.width() != entry.width || img.height() != entry.height) {
            std::fprintf(stderr, "skinart: %s drawn %dx%d, must be %dx%d\n", qPrintable(entry.name), img.width(),
                         img.height(), entry.width, entry.height);
            ++failures;
        } else if (check) {
            if (!nearlyEqual(img, QImage(path))) {
                std::fprintf(stderr, "skinart: %s differs from what skinart draws\n", qPrintable(path));
                ++failures;
            }
        } else {
            QSaveFile f(path);
            if (!f.open(QIODevice::WriteOnly) || !img.save(&f, "PNG", 9) || !f.commit()) {
                std::fprintf(stderr, "skinart: cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
    }
    const auto table = [&](const QString& name, const QByteArray& text) {
        const QString path = root.filePath(QStringLiteral("layout/%1.ini").arg(name));
        if (check) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly) || f.readAll() != text) {
                std::fprintf(stderr, "skinart: %s differs from what skinart writes\n", qPrintable(path));
                ++failures;
            }
        } else if (!writeFile(path, text)) {
            std::fprintf(stderr, "skinart: cannot write table %s\n", qPrintable(name));
            ++failures;
        }
    };
    table(QStringLiteral("ORG"), skinart::globalLayoutTable());
    for (int lang = 1; lang <= 3; ++lang) table(QStringLiteral("ORG%1").arg(lang), skinart::languageLayoutTable(lang));
    return failures == 0 ? 0 : 1;
}
