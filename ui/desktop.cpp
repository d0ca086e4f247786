// Qt's own dialogs for the window: message dialog, password prompt, file dialogs.
#include "ui/desktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>
#include <QWindow>

#include <algorithm>

namespace nivra::ui {

namespace {

// The width a dialog needs for the window manager to show its whole title: the title as the
// desktop shows it (Qt adds the application's name) in a bold face, and room for the title
// bar's icon and buttons.
int widthForTitle(const QWidget& dialog, const QString& title) {
    const QString name = QGuiApplication::applicationDisplayName();
    QString shown = title;
    if (shown.isEmpty()) shown = name;
    else if (!name.isEmpty() && !shown.endsWith(name)) shown += QStringLiteral(" \u2014 ") + name;
    QFont bold = dialog.font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(shown) + 130;
}

// A message box's text is at least this wide, and wide enough for its title.
QString messageBoxSheet(const QWidget& box, const QString& title, int minimum) {
    const int width = std::max(minimum, widthForTitle(box, title) - 60);
    return QStringLiteral("QLabel#qt_msgbox_label { min-width: %1px; }").arg(width);
}

}  // namespace

QString withBinExtension(const QString& path) {
    if (path.endsWith(QLatin1String(".bin"), Qt::CaseInsensitive)) return path;
    return path + QLatin1String(".bin");
}

void QtDesktop::message(QWidget* parent, const QString& text, const QString& fontName) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("FormMessagDialog"));
    // A short message ("Finding the specified device") would otherwise get a box barely
    // wider than its text.
    QFont font = box.font();
    if (!fontName.isEmpty()) font.setFamily(fontName);
    box.setFont(font);
    box.setStyleSheet(QStringLiteral("QMessageBox { border: 1px solid rgb(48, 56, 68); }"
                                     "QLabel#qt_msgbox_label { min-height: 40px; }") +
                      messageBoxSheet(box, QString(), 300));
    box.exec();
}

void QtDesktop::plainMessage(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parent);
    box.setStyleSheet(messageBoxSheet(box, QString(), 0));
    box.exec();
}

std::optional<QString> QtDesktop::password(QWidget* parent, const QString& fontName) {
    QInputDialog dlg(parent);
    dlg.setObjectName(QStringLiteral("dlgPass"));
    dlg.setWindowTitle(QStringLiteral("Password"));
    dlg.setLabelText(QStringLiteral("PASSWORD:"));
    dlg.setTextEchoMode(QLineEdit::Password);
    // What is typed shows as "*", not as the style's bullet.
    if (auto* edit = dlg.findChild<QLineEdit*>())
        edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    QFont font = dlg.font();
    if (!fontName.isEmpty()) font.setFamily(fontName);
    dlg.setFont(font);
    dlg.setMinimumWidth(widthForTitle(dlg, dlg.windowTitle()));
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.textValue();
}

std::optional<QString> QtDesktop::openFile(QWidget* parent, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtDesktop::saveFile(QWidget* parent, const QString& filter) {
    QFileDialog dlg(parent, QString(), QString(), filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setDefaultSuffix(QStringLiteral("bin"));  // so the overwrite question sees the final name
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return dlg.selectedFiles().front();
}

bool QtDesktop::confirmOverwrite(QWidget* parent, const QString& path) {
    const auto answer = QMessageBox::question(
        parent, QString(),
        QFileDialog::tr("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(path).fileName()),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

bool QtDesktop::confirm(QWidget* parent, const QString& question, const QString& detail, const QString& fontName) {
    QMessageBox box(QMessageBox::Question, QGuiApplication::applicationDisplayName(), question,
                    QMessageBox::Ok | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("FormConfirmDialog"));
    box.setInformativeText(detail);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    box.setStyleSheet(QStringLiteral("QMessageBox { border: 1px solid rgb(48, 56, 68); }"
                                     "QLabel#qt_msgbox_informativelabel { min-width: 380px; }"));
    QFont font = box.font();
    if (!fontName.isEmpty()) font.setFamily(fontName);
    box.setFont(font);
    return box.exec() == QMessageBox::Ok;
}

void QtDesktop::openUrl(const QString& address) { QDesktopServices::openUrl(QUrl(address)); }

bool QtDesktop::startSystemMove(QWidget* window) {
    QWindow* handle = window->windowHandle();
    return handle && handle->startSystemMove();
}

}  // namespace nivra::ui
