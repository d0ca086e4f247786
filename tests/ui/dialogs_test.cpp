// The window's dialogs: the small dialog pattern, the message dialog, the password prompt
// and the loading splash.
#include "fakes.h"
#include "qt_app.h"

#include "ui/desktop.h"
#include "ui/loading_splash.h"
#include "ui/number_edits.h"
#include "ui/small_dialog.h"
#include "ui/table_skin.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace nivra::ui::test {
namespace {

TEST(SmallDialog, OpensEmptyCentredOnTheMainWindowAndHandsOverItsText) {
    qtApp();
    TableSkin skin;
    skin.applyLanguage(3, skin::Page::Macro, {});
    QWidget main;
    main.setGeometry(100, 50, 1030, 662);
    main.show();
    SmallDialog dlg(5, skin, &main);
    QLineEdit* edit = dlg.findChild<QLineEdit*>(QStringLiteral("Edt_EditTime"));
    ASSERT_NE(edit, nullptr);
    edit->setText(QStringLiteral("stale"));
    QStringList handed;
    int closed = 0;
    dlg.onConfirm = [&](const QStringList& texts) { handed = texts; };
    dlg.onClosed = [&] { ++closed; };

    dlg.open();
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(dlg.size(), skin.picture(QStringLiteral("Msg")).size());
    EXPECT_EQ(dlg.pos(), SmallDialog::placeFor(main.frameGeometry(), dlg.size()));
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("lbl_Title"))->text(), QStringLiteral("Input Delay Time"));
    EXPECT_EQ(edit->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);

    QTest::keyClicks(edit, QStringLiteral("12x5"));  // the delay edit takes digits only
    EXPECT_EQ(edit->text(), QStringLiteral("125"));
    QTest::mouseClick(dlg.findChild<QWidget*>(QStringLiteral("IB_Cancel")), Qt::LeftButton);  // "Clear"
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_TRUE(dlg.isVisible());

    QTest::keyClicks(edit, QStringLiteral("40"));
    QTest::mouseClick(dlg.findChild<QWidget*>(QStringLiteral("IB_Confirm")), Qt::LeftButton);
    EXPECT_EQ(handed, QStringList{QStringLiteral("40")});
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    dlg.open();
    QTest::mouseClick(dlg.findChild<QWidget*>(QStringLiteral("IB_Close")), Qt::LeftButton);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("Img_Close"))->property("skinPicture").toString(), "ExitS_03");
}

TEST(SmallDialog, EachFormHasItsEditsAndTheKeyDialogItsModifierBoxes) {
    qtApp();
    FakeSkin skin;
    QWidget main;
    // typed: what typing "-1x2" leaves in each edit (names and keys are free text).
    struct Case { int form; QStringList edits; const char* typed; };
    const Case cases[] = {
        {2, {QStringLiteral("Edt_Assembly")}, "-1x2"},  {3, {QStringLiteral("Edt_MacroName")}, "-1x2"},
        {4, {QStringLiteral("Edt_EditKey")}, "-1x2"},   {5, {QStringLiteral("Edt_EditTime")}, "12"},
        {6, {QStringLiteral("Edt_EditX"), QStringLiteral("Edt_EditY")}, "-12"}, {7, {QStringLiteral("Edt_EditTime")}, "12"},
    };
    for (const Case& c : cases) {
        SmallDialog dlg(c.form, skin, &main);
        for (QLineEdit* e : dlg.edits()) {
            QTest::keyClicks(e, QStringLiteral("-1x2"));
            EXPECT_EQ(e->text(), QLatin1String(c.typed)) << e->objectName().toStdString();
        }
        EXPECT_EQ(dlg.objectName(), QStringLiteral("TForm%1").arg(c.form));
        QStringList names;
        for (QLineEdit* e : dlg.edits()) names << e->objectName();
        EXPECT_EQ(names, c.edits) << c.form;
        EXPECT_EQ(dlg.findChild<QWidget*>(QStringLiteral("CB_Ctrl")) != nullptr, c.form == 2) << c.form;
        EXPECT_TRUE(dlg.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    }
}

TEST(Desktop, MessageDialogHasNoIconOneOkButtonAndTheTableFont) {
    qtApp();
    QtDesktop desktop;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = true;
        EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
        EXPECT_EQ(box->text(), QStringLiteral("Finding the specified device"));
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->font().family(), QStringLiteral("DejaVu Sans"));
        box->buttons().front()->click();
    });
    desktop.message(nullptr, QStringLiteral("Finding the specified device"), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(seen);
}

TEST(Desktop, PasswordPromptHidesWhatIsTypedAndCancelGivesNothing) {
    qtApp();
    QtDesktop desktop;
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->objectName(), QStringLiteral("dlgPass"));
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Password"));
        EXPECT_EQ(dlg->labelText(), QStringLiteral("PASSWORD:"));
        EXPECT_EQ(dlg->textEchoMode(), QLineEdit::Password);
        auto* edit = dlg->findChild<QLineEdit*>();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit), int('*'));
        // Wide enough for the title the desktop shows ("Password" and the program's name).
        EXPECT_GT(dlg->minimumWidth(), QFontMetrics(dlg->font()).horizontalAdvance(
                                           QStringLiteral("Password \u2014 ") + QGuiApplication::applicationDisplayName()));
        dlg->setTextValue(QStringLiteral("QorvinTek"));
        dlg->accept();
    });
    EXPECT_EQ(desktop.password(nullptr, {}), std::optional<QString>(QStringLiteral("QorvinTek")));
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    EXPECT_EQ(desktop.password(nullptr, {}), std::nullopt);
}

// The question before replacing the mouse's configuration: Cancel is the default and answers
// no; only OK agrees.
TEST(Desktop, ConfirmationDefaultsToCancelAndOnlyOkAgrees) {
    qtApp();
    QtDesktop desktop;
    for (bool ok : {false, true}) {
        QTimer::singleShot(0, [ok] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Cancel));
            EXPECT_EQ(box->text(), QStringLiteral("Restore built-in configuration 2?"));
            EXPECT_EQ(box->informativeText(), QStringLiteral("This replaces the whole configuration."));
            box->button(ok ? QMessageBox::Ok : QMessageBox::Cancel)->click();
        });
        EXPECT_EQ(desktop.confirm(nullptr, QStringLiteral("Restore built-in configuration 2?"),
                                  QStringLiteral("This replaces the whole configuration."), {}),
                  ok);
    }
}

TEST(LoadingSplash, SitsCentredAndFortyPixelsBelowTheMiddleAndAnimates) {
    qtApp();
    // The animation's 206 x 196 box; the text panel below it widens the window evenly.
    const QPoint disc(LoadingSplash::placeFor(QRect(100, 50, 1030, 662)) +
                      QPoint((LoadingSplash::kWidth - LoadingSplash::kDiscWidth) / 2, 0));
    EXPECT_EQ(disc, QPoint(100 + 412, 50 + 233 + 40));
    LoadingSplash splash;
    EXPECT_EQ(splash.size(), QSize(LoadingSplash::kWidth, LoadingSplash::kHeight));
    EXPECT_EQ(LoadingSplash::kDiscWidth, 206);
    EXPECT_EQ(LoadingSplash::kDiscHeight, 196);
    // Without a text only the disc is drawn; with one the panel below it too.
    EXPECT_FALSE(splash.mask().contains(QPoint(5, LoadingSplash::kHeight - 10)));
    splash.setText(QStringLiteral("Loading a.bin"), QStringLiteral("The mouse restarts: 12 s"));
    EXPECT_TRUE(splash.mask().contains(QPoint(5, LoadingSplash::kHeight - 10)));
    EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
    const int first = splash.frame();
    for (int i = 0; i < 12; ++i) splash.advance();
    EXPECT_EQ(splash.frame(), first);  // an endless loop of twelve frames
    splash.advance();
    EXPECT_NE(splash.frame(), first);
}

}  // namespace
}  // namespace nivra::ui::test
