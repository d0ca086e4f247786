// Input filters and value conversions of the number edits.
#include "ui/number_edits.h"

#include <QKeyEvent>

#include <algorithm>

namespace nivra::ui {

namespace {
constexpr QChar kBackspace(u'\b');

// Keys that only edit or move always pass, as do shortcuts: those without text and those
// whose text is control characters only (Delete brings DEL, Escape ESC, Enter CR on X11);
// none of them puts a character into the edit.
bool isEditingKey(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) return true;
    const QString text = event->text();
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

bool typedAccepted(const QKeyEvent* event, bool (*accepts)(QChar)) {
    if (isEditingKey(event)) return true;
    for (QChar c : event->text())
        if (!accepts(c)) return false;
    return true;
}

// Reads digits of a base as far as they go; the value saturates rather than overflowing.
long long readDigits(const QString& text, int base) {
    long long v = 0;
    constexpr long long kMax = 0x7FFFFFFFFFFFFFFFLL;
    for (QChar c : text) {
        const int d = QString(c).toInt(nullptr, base == 16 ? 16 : 10);
        const bool isDigit = base == 16 ? hex_text::accepts(c) && c != kBackspace
                                        : int_text::accepts(c) && c != kBackspace;
        if (!isDigit) break;
        if (v > (kMax - d) / base) return kMax;
        v = v * base + d;
    }
    return v;
}
}  // namespace

bool hex_text::accepts(QChar c) {
    return c == kBackspace || QStringView(u"0123456789abcdefABCDEF").contains(c);
}
long long hex_text::valueOf(const QString& text) { return readDigits(text, 16); }
QString hex_text::textOf(long long v) {
    if (v <= 0) return {};
    return QString::number(v, 16).toUpper();
}

bool int_text::accepts(QChar c) {
    return c == kBackspace || QStringView(u"0123456789").contains(c);
}
long long int_text::valueOf(const QString& text) { return readDigits(text, 10); }
QString int_text::textOf(long long v) {
    if (v <= 0) return {};
    return QString::number(v);
}

THexEdit::THexEdit(QWidget* parent) : TSPITEdit(parent) {}

void THexEdit::keyPressEvent(QKeyEvent* event) {
    if (filter_ && !typedAccepted(event, hex_text::accepts)) {
        event->accept();
        return;
    }
    TSPITEdit::keyPressEvent(event);
}

TIntEdit::TIntEdit(QWidget* parent) : TSPITEdit(parent) {}

void TIntEdit::keyPressEvent(QKeyEvent* event) {
    if (!typedAccepted(event, int_text::accepts)) {
        event->accept();
        return;
    }
    TSPITEdit::keyPressEvent(event);
}

}  // namespace nivra::ui
