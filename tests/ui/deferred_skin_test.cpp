// Work a control's skin leaves for when the control is shown: sizing a caption to its text,
// and a line edit's font.
#include "qt_app.h"

#include "ui/skin_button.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

struct Host {
    Host() { page.resize(400, 300); }
    QApplication& app = qtApp();  // before the page
    QWidget page;
};

TEST(FitToText, ACaptionOutOfViewIsSizedWhenShownUnlessGivenASizeMeanwhile) {
    Host h;
    auto* fitted = new QLabel(QStringLiteral("A caption of some length"), &h.page);
    auto* sized = new QLabel(QStringLiteral("Another caption"), &h.page);
    auto* laidOver = new QLabel(QStringLiteral("Over a picture"), &h.page);
    for (QLabel* l : {fitted, sized, laidOver}) l->resize(10, 10);
    for (QLabel* l : {fitted, sized, laidOver}) fitToText(l);
    // Nothing is measured while the page is out of view.
    EXPECT_EQ(fitted->size(), QSize(10, 10));
    sized->resize(80, 20);
    cancelFitToText(laidOver);  // placed over its picture at the size it had
    h.page.show();
    EXPECT_EQ(fitted->size(), fitted->sizeHint());
    EXPECT_EQ(sized->size(), QSize(80, 20));
    EXPECT_EQ(laidOver->size(), QSize(10, 10));
    // In view, the fit is made at once.
    fitted->setText(QStringLiteral("Short"));
    fitToText(fitted);
    EXPECT_EQ(fitted->size(), fitted->sizeHint());
}

TEST(SetFontWhenShown, ALineEditOutOfViewGetsItsFontWhenShownOtherControlsAtOnce) {
    Host h;
    auto* edit = new QLineEdit(QStringLiteral("123"), &h.page);
    auto* label = new QLabel(QStringLiteral("abc"), &h.page);
    QFont big = edit->font();
    big.setPointSize(big.pointSize() + 7);
    QFont bigger = big;
    bigger.setBold(true);
    setFontWhenShown(edit, big);
    setFontWhenShown(label, big);
    EXPECT_EQ(label->font(), big);
    EXPECT_NE(edit->font(), big);
    EXPECT_EQ(skinFontOf(edit), big);
    setFontWhenShown(edit, bigger);  // a second pass before the edit is shown wins
    h.page.show();
    EXPECT_EQ(edit->font(), bigger);
    EXPECT_EQ(skinFontOf(edit), bigger);
    setFontWhenShown(edit, big);  // in view: at once
    EXPECT_EQ(edit->font(), big);
    // Hidden and shown again without an event loop in between: the font waiting then is
    // the one it gets.
    h.page.hide();
    setFontWhenShown(edit, bigger);
    EXPECT_EQ(skinFontOf(edit), bigger);
    EXPECT_EQ(edit->font(), big);
    h.page.show();
    EXPECT_EQ(edit->font(), bigger);
}

}  // namespace
}  // namespace nivra::ui::test
