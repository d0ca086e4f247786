// Desktop services of the window: modal dialogs, file dialogs and opening an address.
// QtDesktop shows Qt's own dialogs; tests put a recording fake in its place.
#pragma once

#include <QFont>
#include <QString>

#include <optional>

class QWidget;

namespace nivra::ui {

class Desktop {
public:
    virtual ~Desktop() = default;
    // The message dialog: no icon, one OK button, font family fontName.
    virtual void message(QWidget* parent, const QString& text, const QString& fontName) = 0;
    // A plain message box with an empty caption.
    virtual void plainMessage(QWidget* parent, const QString& text) = 0;
    // The password prompt dlgPass; empty when cancelled.
    virtual std::optional<QString> password(QWidget* parent, const QString& fontName) = 0;
    // File dialogs; empty when cancelled. The save dialog asks before overwriting.
    virtual std::optional<QString> openFile(QWidget* parent, const QString& filter) = 0;
    virtual std::optional<QString> saveFile(QWidget* parent, const QString& filter) = 0;
    virtual bool confirmOverwrite(QWidget* parent, const QString& path) = 0;
    // A question before an action that cannot be undone, in the message dialog's style:
    // true for OK, false for Cancel (the default) or a closed box.
    virtual bool confirm(QWidget* parent, const QString& text, const QString& fontName) = 0;
    virtual void openUrl(const QString& address) = 0;
    // Hands a pointer drag of the frameless window to the window manager; false where the
    // platform cannot, and the window then follows the pointer itself.
    virtual bool startSystemMove(QWidget* window) = 0;
};

class QtDesktop : public Desktop {
public:
    void message(QWidget* parent, const QString& text, const QString& fontName) override;
    void plainMessage(QWidget* parent, const QString& text) override;
    std::optional<QString> password(QWidget* parent, const QString& fontName) override;
    std::optional<QString> openFile(QWidget* parent, const QString& filter) override;
    std::optional<QString> saveFile(QWidget* parent, const QString& filter) override;
    bool confirmOverwrite(QWidget* parent, const QString& path) override;
    bool confirm(QWidget* parent, const QString& text, const QString& fontName) override;
    void openUrl(const QString& address) override;
    bool startSystemMove(QWidget* window) override;
};

// The filters of the configuration and patch file dialogs.
inline const char* const kLoadFilter = "LoadFile (*.bin)";
inline const char* const kSaveFilter = "SaveFile (*.bin)";

// The chosen name with the extension ".bin" appended unless it already has it.
QString withBinExtension(const QString& path);

}  // namespace nivra::ui
