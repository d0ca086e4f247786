#include "ui/connection_footer.h"

#include "ui/skin_port.h"

namespace nivra::ui {

namespace {
const QColor kGood(60, 200, 90);
const QColor kWait(240, 180, 40);
const QColor kBad(220, 70, 60);
}  // namespace

FooterLine connectionFooterLine(const ConnectionFacts& facts, const SkinPort& skin) {
    FooterLine line;
    if (facts.restarting) {
        line.text = skin.text(QStringLiteral("Str920"));
        line.dot = kWait;
    } else if (facts.open) {
        const QString ids = QStringLiteral("%1:%2")
                                .arg(facts.vendorId, 4, 16, QLatin1Char('0'))
                                .arg(facts.productId, 4, 16, QLatin1Char('0'))
                                .toUpper();
        if (facts.reading) {
            line.text = skin.text(QStringLiteral("Str883")).arg(ids);
            line.dot = kWait;
        } else {
            line.text = skin.text(QStringLiteral("Str880")).arg(facts.name, ids, facts.memoryType);
            line.dot = kGood;
        }
    } else if (!facts.deniedPath.isEmpty()) {
        line.text = skin.text(QStringLiteral("Str882"));
        line.tip = skin.text(QStringLiteral("Str790")).arg(facts.deniedPath);
        line.dot = kBad;
    } else {
        line.text = skin.text(QStringLiteral("Str881"));
        line.dot = kBad;
    }
    if (line.tip.isEmpty()) line.tip = line.text;
    return line;
}

}  // namespace nivra::ui
