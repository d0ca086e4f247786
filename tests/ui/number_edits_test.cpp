// THexEdit and TIntEdit: what typing accepts and how values read and show.
#include "qt_app.h"

#include "ui/number_edits.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

TEST(NumberEdits, HexValuesReadAndShow) {
    struct Case { long long value; const char* text; };
    const Case shown[] = {{0, ""}, {-5, ""}, {1, "1"}, {15, "F"}, {16, "10"}, {255, "FF"}, {4096, "1000"}};
    for (const Case& c : shown) EXPECT_EQ(hex_text::textOf(c.value), QLatin1String(c.text)) << c.value;
    EXPECT_EQ(hex_text::valueOf(QString()), 0);
    EXPECT_EQ(hex_text::valueOf(QStringLiteral("ff")), 255);
    EXPECT_EQ(hex_text::valueOf(QStringLiteral("1A2b")), 0x1A2B);
    EXPECT_EQ(int_text::textOf(0), QString());
    EXPECT_EQ(int_text::textOf(1200), QStringLiteral("1200"));
    EXPECT_EQ(int_text::valueOf(QStringLiteral("0042")), 42);
    // Pasted text is not filtered: reading stops at the first stranger and never overflows.
    EXPECT_EQ(hex_text::valueOf(QStringLiteral("12g4")), 0x12);
    EXPECT_EQ(int_text::valueOf(QStringLiteral("99999999999999999999999")), 0x7FFFFFFFFFFFFFFFLL);
}

TEST(NumberEdits, TypingIsFilteredByKind) {
    qtApp();
    THexEdit hex;
    QTest::keyClicks(&hex, QStringLiteral("1gAz-f"));
    EXPECT_EQ(hex.text(), QStringLiteral("1Af"));
    QTest::keyClick(&hex, Qt::Key_Backspace);
    EXPECT_EQ(hex.text(), QStringLiteral("1A"));
    EXPECT_EQ(hex.value(), 0x1A);
    hex.setValue(255);
    EXPECT_EQ(hex.text(), QStringLiteral("FF"));
    hex.setValue(0);
    EXPECT_TRUE(hex.text().isEmpty());
    EXPECT_EQ(hex.value(), 0);

    hex.setIsFilter(false);
    QTest::keyClicks(&hex, QStringLiteral("g"));
    EXPECT_EQ(hex.text(), QStringLiteral("g"));

    TIntEdit dec;
    QTest::keyClicks(&dec, QStringLiteral("-12a3+"));
    EXPECT_EQ(dec.text(), QStringLiteral("123"));
    EXPECT_EQ(dec.value(), 123);

    // Keys that type no character edit as in any edit, whatever the filter. On X11 the
    // Delete key carries the control character DEL as its text, Escape ESC.
    const auto press = [](QLineEdit* edit, Qt::Key key, const char16_t* text) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString::fromUtf16(text));
        QApplication::sendEvent(edit, &event);
    };
    hex.setIsFilter(true);
    for (QLineEdit* edit : {static_cast<QLineEdit*>(&dec), static_cast<QLineEdit*>(&hex)}) {
        const char* kind = edit == &dec ? "TIntEdit" : "THexEdit";
        edit->setText(QStringLiteral("123"));
        QTest::keyClick(edit, Qt::Key_Home);
        press(edit, Qt::Key_Delete, u"\x7f");
        EXPECT_EQ(edit->text(), QStringLiteral("23")) << kind;
        press(edit, Qt::Key_End, u"");
        press(edit, Qt::Key_Backspace, u"\b");
        EXPECT_EQ(edit->text(), QStringLiteral("2")) << kind;
    }
}

}  // namespace
}  // namespace nivra::ui::test
