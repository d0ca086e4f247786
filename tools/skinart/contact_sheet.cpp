// contactsheet: lays every PNG of a folder out at its own size, each with its name and size
// beneath, on a checkerboard so that alpha and the see-through colour stay visible.
#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Item {
    QString name;
    QImage image;
    QPoint at;
};

// Larger pictures first, then by name, so the shelves fill evenly.
bool before(const Item& a, const Item& b) {
    if (a.image.height() != b.image.height()) return a.image.height() > b.image.height();
    QCollator c;
    c.setNumericMode(true);
    return c.compare(a.name, b.name) < 0;
}

void checkerboard(QPainter& p, const QRect& r) {
    const int s = 8;
    p.save();
    p.setClipRect(r);
    for (int y = r.top(); y < r.bottom(); y += s) {
        for (int x = r.left(); x < r.right(); x += s) {
            const bool dark = ((x - r.left()) / s + (y - r.top()) / s) % 2;
            p.fillRect(QRect(x, y, s, s), dark ? QColor(86, 90, 96) : QColor(110, 114, 120));
        }
    }
    p.restore();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: contactsheet PICTURES_DIR OUT.png [SCALE MAX_SIDE]\n"
                             "  SCALE MAX_SIDE: only pictures whose sides are at most MAX_SIDE, enlarged SCALE times\n");
        return 2;
    }
    const int scale = argc == 5 ? std::max(1, std::atoi(argv[3])) : 1;
    const int maxSide = argc == 5 ? std::atoi(argv[4]) : 1 << 20;
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    std::vector<Item> items;
    for (const QFileInfo& fi : dir.entryInfoList({QStringLiteral("*.png")}, QDir::Files)) {
        QImage img(fi.filePath());
        if (img.isNull()) {
            std::fprintf(stderr, "contactsheet: cannot read %s\n", qPrintable(fi.filePath()));
            return 1;
        }
        if (img.width() > maxSide || img.height() > maxSide) continue;
        if (scale > 1) img = img.scaled(img.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        items.push_back({fi.completeBaseName(), img, {}});
    }
    if (items.empty()) {
        std::fprintf(stderr, "contactsheet: no pictures in %s\n", argv[1]);
        return 1;
    }
    std::sort(items.begin(), items.end(), before);

    const int margin = 24, gap = 18, label = 20, maxWidth = 2200;
    int x = margin, y = margin, shelf = 0, width = 0;
    for (Item& it : items) {
        const int w = std::max(it.image.width(), 120);
        if (x + w > maxWidth - margin && x > margin) {
            x = margin;
            y += shelf + label + gap;
            shelf = 0;
        }
        it.at = QPoint(x, y);
        x += w + gap;
        shelf = std::max(shelf, it.image.height());
        width = std::max(width, x);
    }
    const int height = y + shelf + label + margin;

    QImage sheet(std::max(width, 400) + margin - gap, height, QImage::Format_RGB32);
    sheet.fill(QColor(30, 32, 36));
    QPainter p(&sheet);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(12);
    p.setFont(f);
    for (const Item& it : items) {
        const QRect r(it.at, it.image.size());
        checkerboard(p, r);
        p.drawImage(it.at, it.image);
        p.setPen(QColor(70, 76, 84));
        p.drawRect(r.adjusted(-1, -1, 0, 0));
        p.setPen(QColor(220, 226, 232));
        p.drawText(QPoint(r.left(), r.bottom() + 15),
                   QStringLiteral("%1  %2x%3").arg(it.name).arg(it.image.width() / scale).arg(it.image.height() / scale));
    }
    p.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "contactsheet: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%zu pictures, sheet %dx%d\n", items.size(), sheet.width(), sheet.height());
    return 0;
}
